#include "devices/sim/PtyAdapter.h"

#include "platform/VirtualAdapters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sim {
namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

// False when the lock file was removed or replaced by its previous owner between open and flock.
bool IsStillAt(int fd, const QByteArray& path)
{
    struct stat opened = {}, named = {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A listing holds a shared lock for a moment, so a held lock is tried a few times before giving up.
constexpr int LockAttempts = 20;
constexpr useconds_t LockRetryUs = 2000;

} // namespace

PtyAdapter::PtyAdapter(const QString& adapterName, const QString& adapterFolder)
    : name(adapterName), folder(adapterFolder.isEmpty() ? platform::virtualAdapterFolder() : adapterFolder)
{
}

PtyAdapter::~PtyAdapter()
{
    Unplug();
}

QString PtyAdapter::LinkPath() const
{
    return folder + QLatin1Char('/') + name;
}

QString PtyAdapter::LockPath() const
{
    return platform::virtualAdapterLockPath(folder, name);
}

bool PtyAdapter::Plug(QString* error)
{
    if (IsPlugged())
        return true;
    if (!QDir().mkpath(folder)) {
        setError(error, QStringLiteral("cannot create the adapter folder %1").arg(folder));
        return false;
    }
    bool ownerGone = false;
    if (!TakeLock(&ownerGone, error))
        return false;
    if (!OpenTerminal(error) || !MakeLink(ownerGone, error)) {
        CloseTerminal();
        ReleaseLock();
        return false;
    }
    return true;
}

void PtyAdapter::Unplug()
{
    if (!IsPlugged())
        return;
    const QFileInfo link(LinkPath());
    if (link.isSymLink() && link.symLinkTarget() == devicePath)
        QFile::remove(LinkPath());
    CloseTerminal();
    ReleaseLock(); // last, so that a listed link always has its lock held
}

// *ownerGone: the lock file was there already, so whoever made it died without cleaning up.
bool PtyAdapter::TakeLock(bool* ownerGone, QString* error)
{
    const QByteArray path = QFile::encodeName(LockPath());
    for (int attempt = 0; attempt < LockAttempts; ++attempt) {
        bool created = true;
        int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) {
            created = false;
            fd = ::open(path.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        }
        if (fd < 0 && errno == ENOENT)
            continue; // its owner removed it just now
        if (fd < 0) {
            setError(error, systemError("adapter lock file"));
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && IsStillAt(fd, path)) {
            lockFd = fd;
            *ownerGone = !created;
            return true;
        }
        ::close(fd);
        ::usleep(LockRetryUs);
    }
    setError(error, QStringLiteral("%1 is already in use").arg(LinkPath()));
    return false;
}

void PtyAdapter::ReleaseLock()
{
    if (lockFd < 0)
        return;
    QFile::remove(LockPath()); // while still held, so nobody takes a lock on a file about to go
    ::close(lockFd);
    lockFd = -1;
}

bool PtyAdapter::OpenTerminal(QString* error)
{
    masterFd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (masterFd < 0) {
        setError(error, systemError("posix_openpt"));
        return false;
    }
    const char* slave = nullptr;
    if (::grantpt(masterFd) != 0 || ::unlockpt(masterFd) != 0 || !(slave = ::ptsname(masterFd))) {
        setError(error, systemError("pseudo-terminal set-up"));
        CloseTerminal();
        return false;
    }
    devicePath = QFile::decodeName(slave);
    termios mode = {};
    if (::tcgetattr(masterFd, &mode) == 0) {
        ::cfmakeraw(&mode);
        ::tcsetattr(masterFd, TCSANOW, &mode);
    }
    // Opening and closing the slave once puts the master into the hung-up state until a reader
    // opens it, which is how HasReader tells whether anyone listens.
    const int probe = ::open(slave, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (probe >= 0)
        ::close(probe);
    return true;
}

bool PtyAdapter::MakeLink(bool ownerGone, QString* error)
{
    const QFileInfo existing(LinkPath());
    // exists() follows the link. A live target with no dead owner is another tool's adapter; with
    // a dead owner the terminal number may have been reused by an unrelated program.
    if (existing.exists() && (!ownerGone || !existing.isSymLink())) {
        setError(error, QStringLiteral("%1 is already in use").arg(LinkPath()));
        return false;
    }
    if (existing.isSymLink())
        QFile::remove(LinkPath()); // stale, left behind by a simulator that was killed
    if (::symlink(QFile::encodeName(devicePath).constData(), QFile::encodeName(LinkPath()).constData()) !=
        0) {
        setError(error, systemError("symlink"));
        return false;
    }
    return true;
}

void PtyAdapter::CloseTerminal()
{
    if (masterFd >= 0)
        ::close(masterFd);
    masterFd = -1;
    devicePath.clear();
}

bool PtyAdapter::HasReader() const
{
    if (!IsPlugged())
        return false;
    pollfd state = {masterFd, POLLOUT, 0};
    if (::poll(&state, 1, 0) < 0)
        return false;
    return (state.revents & POLLHUP) == 0;
}

int PtyAdapter::Write(const QByteArray& bytes)
{
    if (bytes.isEmpty() || !HasReader())
        return 0;
    const ssize_t written = ::write(masterFd, bytes.constData(), static_cast<size_t>(bytes.size()));
    return written > 0 ? static_cast<int>(written) : 0;
}

QByteArray PtyAdapter::ReadAvailable()
{
    QByteArray bytes;
    if (!IsPlugged())
        return bytes;
    char chunk[256];
    for (;;) {
        // Non-blocking: fails with EAGAIN when nothing is there, and with EIO while nobody has the
        // device open.
        const ssize_t got = ::read(masterFd, chunk, sizeof chunk);
        if (got <= 0)
            break;
        bytes.append(chunk, static_cast<qsizetype>(got));
    }
    return bytes;
}

} // namespace sim
