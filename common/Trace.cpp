#include "common/Trace.h"

Q_LOGGING_CATEGORY(swiftlaneTrace, "swiftlane.trace", QtInfoMsg)
