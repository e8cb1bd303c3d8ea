#include "platform/FileWriteBack.h"

#include <QFile>

#ifdef __linux__
#include <fcntl.h>
#endif

namespace platform {

void startWriteBack(QFile& file)
{
#ifdef __linux__
    const int fd = file.handle();
    if (fd >= 0)
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(file);
#endif
}

} // namespace platform
