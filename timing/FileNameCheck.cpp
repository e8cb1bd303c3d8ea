#include "timing/FileNameCheck.h"

QString fileNameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("The name is empty.");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("The name \"%1\" is reserved for folders.").arg(name);
    if (name.contains(QLatin1Char('/')))
        return QStringLiteral("The name must not contain \"/\".");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("The name must not contain control characters such as line ends or tabs.");
    }
    return QString();
}
