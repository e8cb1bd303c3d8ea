#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a text file the operator chose (a name list, a tag/name list), or why they could
// not be read: a pipe, socket or device is refused before it is opened (opening a pipe would hold
// up the window until something writes to it), and a file over MaxBytes is refused unread.
struct OperatorTextFile
{
    // Larger files are no lists of names or tags; reading one would stall the window.
    static constexpr qint64 MaxBytes = 16 * 1024 * 1024;

    QByteArray bytes;
    QString error; // empty when the bytes were read
};

// `kind` names the list in the size message: "a list of names".
OperatorTextFile readOperatorTextFile(const QString& path, const QString& kind);
