#include "timing/ReportFileNames.h"

#include <QFile>

namespace {

constexpr qsizetype MaxFileNameBytes = 255;

bool IsUnsafe(char32_t c)
{
    return c == U'/' || QChar::category(c) == QChar::Other_Control;
}

} // namespace

QString ReportFileNameFor(const QString& baseName, int number)
{
    const QString suffix = QLatin1Char('_') + QString::number(number) + QStringLiteral(".csv");
    qsizetype bytesLeft = MaxFileNameBytes - QFile::encodeName(suffix).size();
    QString safe;
    // No character takes less than one byte, nor more than two UTF-16 units.
    for (char32_t c : baseName.left(2 * MaxFileNameBytes).toUcs4()) {
        const QString character = IsUnsafe(c) ? QStringLiteral("_") : QString::fromUcs4(&c, 1);
        bytesLeft -= QFile::encodeName(character).size();
        if (bytesLeft < 0)
            break;
        safe += character;
    }
    return safe + suffix;
}
