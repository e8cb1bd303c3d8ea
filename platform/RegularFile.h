#pragma once

#include <QString>

namespace platform {

// Why a file named by the operator or a command line must not be opened for reading: opening a
// named pipe blocks until something writes to it, and a device or socket is no file to read.
// Returns "it is a named pipe, not a file" and the like; empty for a regular file or for a path
// that does not exist (opening it then says why).
QString notRegularFileReason(const QString& path);

} // namespace platform
