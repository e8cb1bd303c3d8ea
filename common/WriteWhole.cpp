#include "common/WriteWhole.h"

bool WriteWhole(QFileDevice& file, const QByteArray& bytes)
{
    // A write that stops short (the disk filled up) is tried again for the rest, which fails and
    // says why.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}
