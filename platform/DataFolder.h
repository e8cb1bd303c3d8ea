#pragma once

#include <QString>

namespace platform {

// The per-user data folder (QStandardPaths::GenericDataLocation, which honours XDG_DATA_HOME).
QString dataFolder();

// The data folder followed by a suffix written with backslashes ("\\Swiftlane\\Runs\\"), turned
// into a path with "/" separators.
QString dataPath(const QString& backslashSuffix);

} // namespace platform
