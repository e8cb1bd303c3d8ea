#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Writes all the bytes to an open descriptor, going on after a short write; returns 0 or the
// system's error code. A short write on a full disk sets no error, so a plain write would be
// reported as "Unknown error": going on gets the real code (ENOSPC, EFBIG).
int writeAllBytes(int descriptor, const QByteArray& bytes);

// The system's text for an error code: "No space left on device" for ENOSPC.
QString systemErrorText(int code);

} // namespace platform
