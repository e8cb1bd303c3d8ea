#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Writes that land whole or leave the file as it was: a report row cut short on a full disk would
// still read as numbers ("12.34" for "12.345").

enum class AppendResult
{
    Appended,
    NotWritten, // the file is as it was
    LeftCut,    // the write failed and the file could not be cut back: it ends in part of the bytes
};

// Appends to an existing file; never creates one.
AppendResult appendWhole(const QString& path, const QByteArray& bytes);

// Makes a new file holding exactly the bytes; never opens an existing one. A failure leaves no file.
bool createWhole(const QString& path, const QByteArray& bytes);

} // namespace platform
