#pragma once

#include "devices/sim/PtyAdapter.h"

#include <QStringList>

#include <functional>

namespace sim {

// An RFID reader on a pseudo-terminal, linked in the virtual serial folder so the port dialog
// lists it by its device path. Answers every scan request "r" with the next tag of its list (from
// the first again after the last) and a CR LF.
class RfidReaderSim
{
public:
    using Log = std::function<void(const QString&)>;

    RfidReaderSim(const QString& name, const QStringList& tags, Log log = {},
                  const QString& folder = QString());

    bool Plug(QString* error = nullptr) { return terminal.Plug(error); }
    void Unplug() { terminal.Unplug(); }
    // Answers the requests that have arrived; never waits.
    void Poll();
    // For poll(): the terminal while somebody has it open, else -1 (a hung-up terminal would wake
    // poll() at once, forever).
    int WaitFd() const { return terminal.HasReader() ? terminal.Fd() : -1; }

    QString DevicePath() const { return terminal.DevicePath(); }
    QString LinkPath() const { return terminal.LinkPath(); }

private:
    PtyAdapter terminal;
    QStringList tags;
    int next = 0;
    Log log;
};

} // namespace sim
