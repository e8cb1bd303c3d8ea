#pragma once

#include <QString>

namespace platform {

// Advisory locks between programs sharing a data folder: a file being written holds its lock for
// as long as it is open, so another program can tell it is in use before removing it.

// Takes the lock on an open file's descriptor without waiting; false when another holds it. The
// lock goes when the descriptor is closed.
bool lockOpenFile(int descriptor);

// True when some open descriptor, in this program or another, holds the lock on the file.
bool isFileLocked(const QString& path);

} // namespace platform
