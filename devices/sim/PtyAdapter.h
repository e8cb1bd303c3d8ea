#pragma once

#include <QByteArray>
#include <QString>

namespace sim {

// A simulated gate adapter: the master side of a pseudo-terminal, with a symbolic link to its
// slave side in the adapter folder so the application's device list finds it. Unplugging closes
// the terminal and removes the link, as pulling a USB adapter would. While plugged in it holds the
// lock beside the link; a link whose lock nobody holds was left by a program that died.
class PtyAdapter
{
public:
    // `name`: 1 to 15 letters or digits. `folder`: empty for the usual adapter folder.
    explicit PtyAdapter(const QString& name, const QString& folder = QString());
    ~PtyAdapter();
    PtyAdapter(const PtyAdapter&) = delete;
    PtyAdapter& operator=(const PtyAdapter&) = delete;

    // Opens a new pseudo-terminal and links it, replacing a stale link of that name. On failure
    // (also when another live adapter has the name) returns false and sets *error.
    bool Plug(QString* error = nullptr);
    void Unplug();
    bool IsPlugged() const { return masterFd >= 0; }

    // True while some program has the device open, so written bytes reach a reader.
    bool HasReader() const;
    // Writes what the terminal takes without waiting. Bytes written while nobody has the device
    // open are discarded, so a reader never sees old sentences; returns the number taken.
    int Write(const QByteArray& bytes);
    // What the program on the other side has written, without waiting.
    QByteArray ReadAvailable();
    // The terminal's own side, for poll(); -1 while unplugged.
    int Fd() const { return masterFd; }

    QString Name() const { return name; }
    QString LinkPath() const;
    QString LockPath() const;
    QString DevicePath() const { return devicePath; }

private:
    bool TakeLock(bool* ownerGone, QString* error);
    void ReleaseLock();
    bool OpenTerminal(QString* error);
    bool MakeLink(bool ownerGone, QString* error);
    void CloseTerminal();

    QString name;
    QString folder;
    QString devicePath;
    int masterFd = -1;
    int lockFd = -1;
};

} // namespace sim
