#pragma once

class QFile;

namespace platform {

// Asks the system to start writing the file's cached data to the disk, without waiting for it, so
// that a power cut loses little of what was already written.
void startWriteBack(QFile& file);

} // namespace platform
