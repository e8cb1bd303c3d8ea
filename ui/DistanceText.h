#pragma once

#include <QString>

#include <optional>

class QLocale;

// A course distance as the operator types it: metres from 0 to MaxDistanceMetres, with the
// locale's decimal separator or a full stop, blanks around allowed, no digit grouping. Nothing
// else is a distance.
constexpr double MaxDistanceMetres = 100000.0;
std::optional<double> ParseDistanceMetres(const QString& text, const QLocale& locale);

// A number of the windows' own (not the report table's): the display locale's decimal separator,
// no digit grouping, so "12,345" in German and "12.345" in English.
QString DisplayNumber(double value, int decimals);
QString DisplaySeconds(qint64 ms);
