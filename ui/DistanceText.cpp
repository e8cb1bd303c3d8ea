#include "ui/DistanceText.h"

#include <QLocale>

std::optional<double> ParseDistanceMetres(const QString& text, const QLocale& locale)
{
    QString number = text.trimmed();
    // A full stop is a decimal point everywhere; where it groups digits, "1.500" reads as 1.5.
    number.replace(QLatin1Char('.'), locale.decimalPoint());
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool isNumber = false;
    const double metres = strict.toDouble(number, &isNumber);
    // Written so that NaN fails too.
    if (!isNumber || !(metres >= 0.0 && metres <= MaxDistanceMetres))
        return std::nullopt;
    return metres + 0.0; // no "-0"
}
