#pragma once

#include <QLoggingCategory>

// Turns the program's trace lines on for a scope, for tests that check their texts.
struct TraceOn
{
    TraceOn() { QLoggingCategory::setFilterRules(QStringLiteral("swiftlane.trace=true")); }
    ~TraceOn() { QLoggingCategory::setFilterRules(QString()); }
    TraceOn(const TraceOn&) = delete;
    TraceOn& operator=(const TraceOn&) = delete;
};
