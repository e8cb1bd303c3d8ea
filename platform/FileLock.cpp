#include "platform/FileLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

int tryLock(int descriptor)
{
    int result = 0;
    do
        result = ::flock(descriptor, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result;
}

} // namespace

bool lockOpenFile(int descriptor)
{
    return descriptor >= 0 && tryLock(descriptor) == 0;
}

bool isFileLocked(const QString& path)
{
    // flock locks belong to the open file description, so a fresh descriptor conflicts with every
    // holder, this program's own included.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool locked = tryLock(descriptor) != 0 && errno == EWOULDBLOCK;
    ::close(descriptor);
    return locked;
}

} // namespace platform
