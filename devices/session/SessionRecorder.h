#pragma once

#include "devices/GateStreamTap.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <cstdint>
#include <functional>

// Appends what the gate link reads to a session file in a sessions folder, one file per start.
// Records are collected in memory and written about once a second, so a tick never waits for the
// disk. When the folder or the disk fails, recording stops for good with one message; timing is
// not disturbed.
class SessionRecorder : public GateStreamTap
{
public:
    static constexpr std::int64_t FlushIntervalUs = 1000000;
    static constexpr qint64 DefaultFolderLimit = 500LL * 1024 * 1024;

    using FailureHandler = std::function<void(const QString& message)>;

    SessionRecorder() = default;
    ~SessionRecorder() override;
    SessionRecorder(const SessionRecorder&) = delete;
    SessionRecorder& operator=(const SessionRecorder&) = delete;

    void SetFolderLimit(qint64 bytes) { folderLimit = bytes; }
    void SetFailureHandler(FailureHandler handler) { onFailure = std::move(handler); }

    // Creates the folder and a new session file named by `started`, then removes the oldest
    // sessions that take the folder past its limit. False (with the message given) on failure.
    bool Start(const QString& folder, const QDateTime& started = QDateTime::currentDateTime());
    bool IsRecording() const { return file.isOpen(); }
    QString FileName() const { return file.fileName(); }

    void OnGateRead(const CSerialLink& link, const unsigned char* bytes, int count) override;
    // Writes what is collected; also called at the end of the program.
    void Flush();

    // Removes the oldest session files until the rest fit in `limit` bytes; never one in use.
    static void PruneFolder(const QString& folder, qint64 limit);
    static QString SessionFileName(const QDateTime& started);

private:
    std::int64_t NowUs() const;
    void Append(const QByteArray& bytes);
    void Fail(const QString& why);

    QFile file;
    QByteArray pending;
    qint64 folderLimit = DefaultFolderLimit;
    FailureHandler onFailure;
    std::int64_t startCounter = 0;
    std::int64_t lastFlushUs = 0;
    bool linkWasOpen = false;
};
