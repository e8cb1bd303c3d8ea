#pragma once

#include <QLoggingCategory>

// The program's trace lines (sentences decoded, runs started and finished, files opened). Off by
// default so a normal run keeps the console quiet; "swiftlane --verbose" or
// QT_LOGGING_RULES="swiftlane.trace=true" turns them on. Use as qCDebug(swiftlaneTrace, "SR startrun").
Q_DECLARE_LOGGING_CATEGORY(swiftlaneTrace)
