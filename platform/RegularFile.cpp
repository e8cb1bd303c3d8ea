#include "platform/RegularFile.h"

#include <QCoreApplication>

#include <QFile>

#include <sys/stat.h>

namespace platform {

QString notRegularFileReason(const QString& path)
{
    struct stat info = {};
    // stat follows links: a link to a pipe is a pipe.
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    if (S_ISREG(info.st_mode))
        return QString();
    if (S_ISDIR(info.st_mode))
        return QCoreApplication::translate("RegularFile", "it is a folder");
    if (S_ISFIFO(info.st_mode))
        return QCoreApplication::translate("RegularFile", "it is a named pipe, not a file");
    if (S_ISSOCK(info.st_mode))
        return QCoreApplication::translate("RegularFile", "it is a socket, not a file");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return QCoreApplication::translate("RegularFile", "it is a device, not a file");
    return QCoreApplication::translate("RegularFile", "it is not a regular file");
}

} // namespace platform
