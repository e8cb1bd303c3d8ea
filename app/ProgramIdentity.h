#pragma once

#include <QString>

// The names the program goes by: Qt's application identity, which also places its QSettings file
// ($XDG_CONFIG_HOME/Swiftlane/swiftlane.conf) and gives "--version" its line.
namespace programidentity {

inline const QString Organisation = QStringLiteral("Swiftlane");
inline const QString Application = QStringLiteral("swiftlane");
inline const QString Version = QString::number(SWIFTLANE_VERSION);

// Sets them on QCoreApplication; works before any application object exists.
void Apply();

} // namespace programidentity
