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

QString DisplayNumber(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString DisplaySeconds(qint64 ms)
{
    return DisplayNumber(static_cast<double>(ms) / 1000.0, 3);
}
