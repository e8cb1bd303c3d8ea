#include "timing/FileNameCheck.h"

#include <QCoreApplication>

QString fileNameProblem(const QString& name)
{
    if (name.isEmpty())
        return QCoreApplication::translate("FileNameCheck", "The name is empty.");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QCoreApplication::translate("FileNameCheck", "The name \"%1\" is reserved for folders.")
            .arg(name);
    if (name.contains(QLatin1Char('/')))
        return QCoreApplication::translate("FileNameCheck", "The name must not contain \"/\".");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QCoreApplication::translate(
                "FileNameCheck", "The name must not contain control characters such as line ends or tabs.");
    }
    return QString();
}
