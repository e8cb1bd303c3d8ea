#include "platform/WholeWrites.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Unbuffered: what a failed write leaves behind is then on disk, where cutting through the
// descriptor removes it, and not in a buffer that QFileDevice::resize or close would try to flush.
constexpr QIODevice::OpenMode WholeWriteMode = QIODevice::WriteOnly | QIODevice::Unbuffered;

std::int64_t SizeOf(int descriptor)
{
    struct stat info = {};
    return ::fstat(descriptor, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

// Checked afterwards as well: a cut that did not happen must not pass for one that did.
bool CutBack(int descriptor, std::int64_t size)
{
    int result = 0;
    do
        result = ::ftruncate(descriptor, static_cast<off_t>(size));
    while (result != 0 && errno == EINTR);
    return result == 0 && SizeOf(descriptor) == size;
}

bool WriteAll(QFile& file, const QByteArray& bytes)
{
    return file.write(bytes) == bytes.size();
}

} // namespace

AppendResult appendWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(WholeWriteMode | QIODevice::Append | QIODevice::ExistingOnly))
        return AppendResult::NotWritten;
    const std::int64_t end = SizeOf(file.handle());
    if (end < 0)
        return AppendResult::NotWritten;
    if (WriteAll(file, bytes))
        return AppendResult::Appended;
    return CutBack(file.handle(), end) ? AppendResult::NotWritten : AppendResult::LeftCut;
}

bool createWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(WholeWriteMode | QIODevice::NewOnly))
        return false;
    if (WriteAll(file, bytes))
        return true;
    CutBack(file.handle(), 0); // in case the file cannot be removed: at least nothing cut stays
    file.remove();
    return false;
}

} // namespace platform
