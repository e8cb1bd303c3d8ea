#include "platform/DescriptorWrite.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform {

int writeAllBytes(int descriptor, const QByteArray& bytes)
{
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        next += written;
        left -= written;
    }
    return 0;
}

QString systemErrorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace platform
