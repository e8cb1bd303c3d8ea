#include "platform/VirtualAdapters.h"

#include "common/Fnv1a.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

bool isAdapterName(const QString& name)
{
    if (name.isEmpty() || name.size() > 15)
        return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
    });
}

// Other character devices such as /dev/null are no terminals; only the terminal layer can tell.
bool isTerminal(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal;
}

// A lock file that exists but that anybody may lock belongs to a program that is gone.
bool isOrphaned(const QString& folder, const QString& name)
{
    const int fd = ::open(QFile::encodeName(virtualAdapterLockPath(folder, name)).constData(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false; // no lock file: a link made by hand or by another tool
    const bool orphaned = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(fd); // also releases the shared lock
    return orphaned;
}

// $<variable>, else $XDG_RUNTIME_DIR/swiftlane/<leaf>, else /tmp/swiftlane-<uid>/<leaf>.
QString runtimeFolder(const char* variable, const QString& leaf)
{
    const QString own = qEnvironmentVariable(variable);
    if (!own.isEmpty())
        return own;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/swiftlane/") + leaf;
    return QStringLiteral("/tmp/swiftlane-%1/").arg(::getuid()) + leaf;
}

} // namespace

QString virtualAdapterLockPath(const QString& folder, const QString& name)
{
    return folder + QStringLiteral("/.") + name + QStringLiteral(".lock");
}

QString virtualAdapterFolder()
{
    return runtimeFolder("SWIFTLANE_ADAPTER_DIR", QStringLiteral("adapters"));
}

QString virtualSerialFolder()
{
    return runtimeFolder("SWIFTLANE_SERIAL_DIR", QStringLiteral("serial"));
}

std::vector<VirtualAdapter> listVirtualAdapters()
{
    return listVirtualTerminals(virtualAdapterFolder());
}

std::vector<VirtualAdapter> listVirtualTerminals(const QString& path)
{
    std::vector<VirtualAdapter> adapters;
    const QDir folder(path);
    if (!folder.exists())
        return adapters;
    // QDir::System keeps symbolic links whose target is missing or a device in the listing.
    const QFileInfoList entries =
        folder.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (!entry.isSymLink() || !isAdapterName(entry.fileName()))
            continue;
        // The lock is checked first so that a stale link's terminal is never opened.
        if (isOrphaned(path, entry.fileName()))
            continue;
        const QString target = entry.symLinkTarget();
        if (target.isEmpty() || !isTerminal(target))
            continue;
        adapters.push_back({entry.fileName(), target, virtualAdapterLocId(entry.fileName())});
    }
    return adapters;
}

std::uint32_t virtualAdapterLocId(const QString& name)
{
    // The top nibble keeps it apart from USB location ids and non-zero.
    const QByteArray bytes = name.toLatin1();
    const std::uint32_t hash =
        Fnv1a(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return 0xF0000000u | (hash & 0x0FFFFFFFu);
}

} // namespace platform
