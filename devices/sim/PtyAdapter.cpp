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

bool PtyAdapter::Plug(QString* error)
{
    if (IsPlugged())
        return true;
    if (!OpenTerminal(error))
        return false;
    if (!MakeLink(error)) {
        CloseTerminal();
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

bool PtyAdapter::MakeLink(QString* error)
{
    if (!QDir().mkpath(folder)) {
        setError(error, QStringLiteral("cannot create the adapter folder %1").arg(folder));
        return false;
    }
    const QFileInfo existing(LinkPath());
    if (existing.exists()) { // follows the link: another adapter of that name is attached
        setError(error, QStringLiteral("%1 is already in use").arg(LinkPath()));
        return false;
    }
    if (existing.isSymLink())
        QFile::remove(LinkPath()); // dangling, left behind by a simulator that was killed
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

} // namespace sim
