#pragma once

#include <QFileInfo>
#include <QString>

// The simulator program CTest names in SWIFTLANE_GATESIM; empty when it is not built, so the test
// can skip rather than fail.
inline QString gateSimProgram()
{
    const QString program = qEnvironmentVariable("SWIFTLANE_GATESIM");
    return QFileInfo(program).isExecutable() ? program : QString();
}
