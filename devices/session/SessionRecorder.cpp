#include "devices/session/SessionRecorder.h"

#include <QCoreApplication>

#include "devices/CSerialLink.h"
#include "devices/session/SessionFormat.h"
#include "platform/Clock.h"
#include "platform/DescriptorWrite.h"
#include "platform/FileLock.h"
#include "platform/FileWriteBack.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString SessionSuffix = QStringLiteral(".session");

} // namespace

SessionRecorder::~SessionRecorder()
{
    Flush();
}

QString SessionRecorder::SessionFileName(const QDateTime& started)
{
    return started.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + SessionSuffix;
}

bool SessionRecorder::Start(const QString& folder, const QDateTime& started)
{
    if (!QDir().mkpath(folder)) {
        Fail(QCoreApplication::translate("SessionRecorder", "the folder %1 cannot be created")
                 .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    // Two starts within a second get a file each.
    QString path = QDir(folder).filePath(SessionFileName(started));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(SessionFileName(started).chopped(SessionSuffix.size()) +
                                     QStringLiteral("_%1").arg(n) + SessionSuffix);
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        Fail(QCoreApplication::translate("SessionRecorder", "%1 cannot be created: %2")
                 .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    // Held while the file is open: another Swiftlane on the same folder then leaves it alone.
    platform::lockOpenFile(file.handle());
    PruneFolder(folder, folderLimit);
    startCounter = platform::clock().highResCounter();
    lastFlushUs = 0;
    linkWasOpen = false;
    pending = session::FileHeader(started);
    Flush();
    return IsRecording();
}

std::int64_t SessionRecorder::NowUs() const
{
    const platform::Clock& clock = platform::clock();
    const std::int64_t delta = clock.highResCounter() - startCounter;
    const std::int64_t frequency = clock.highResFrequency();
    // Whole seconds first, so the product cannot overflow however long the session lasts.
    return delta / frequency * 1000000 + delta % frequency * 1000000 / frequency;
}

void SessionRecorder::OnGateRead(const CSerialLink& link, const unsigned char* bytes, int count)
{
    if (!IsRecording())
        return;
    const std::int64_t now = NowUs();
    const bool open = link.IsOpen();
    // A read that closed the link may still have delivered bytes; they come before the close.
    if (open && !linkWasOpen)
        Append(session::EncodeRecord({now, session::RecordKind::Open, link.PortName().toUtf8()}));
    if (count > 0)
        Append(session::EncodeRecord(
            {now, session::RecordKind::Read, QByteArray(reinterpret_cast<const char*>(bytes), count)}));
    if (!open && linkWasOpen)
        Append(session::EncodeRecord({now, session::RecordKind::Close, {}}));
    linkWasOpen = open;
    if (now - lastFlushUs >= FlushIntervalUs) {
        lastFlushUs = now;
        Flush();
    }
}

void SessionRecorder::Append(const QByteArray& bytes)
{
    pending += bytes;
}

void SessionRecorder::Flush()
{
    if (!IsRecording() || pending.isEmpty())
        return;
    const int error = platform::writeAllBytes(file.handle(), pending);
    if (error != 0) {
        Fail(QCoreApplication::translate("SessionRecorder", "%1 cannot be written: %2")
                 .arg(QDir::toNativeSeparators(file.fileName()), platform::systemErrorText(error)));
        return;
    }
    pending.clear();
    platform::startWriteBack(file);
}

void SessionRecorder::Fail(const QString& why)
{
    file.close();
    pending.clear();
    pending.squeeze();
    const QString message =
        QCoreApplication::translate("SessionRecorder",
                                    "Gate session recording has stopped: %1.\n"
                                    "Timing goes on; this session is not recorded from here on.")
            .arg(why);
    qWarning("%s", qPrintable(message));
    if (onFailure)
        onFailure(message);
}

// Oldest first by the time the file was last written; a time still to come was written under a
// clock set ahead and says nothing about age, so such a file counts as the oldest. Files in use
// (locked by the recorder that writes them, in this program or another) are never removed.
void SessionRecorder::PruneFolder(const QString& folder, qint64 limit)
{
    QFileInfoList sessions = QDir(folder).entryInfoList({QStringLiteral("*") + SessionSuffix}, QDir::Files);
    const QDateTime now = QDateTime::currentDateTime().addSecs(60);
    const auto age = [&now](const QFileInfo& info) {
        const QDateTime written = info.lastModified();
        return written > now ? QDateTime::fromMSecsSinceEpoch(0) : written;
    };
    std::sort(sessions.begin(), sessions.end(), [&age](const QFileInfo& a, const QFileInfo& b) {
        const QDateTime left = age(a), right = age(b);
        return left != right ? left > right : a.fileName() > b.fileName(); // newest first
    });
    qint64 kept = 0;
    for (const QFileInfo& info : sessions) {
        const bool inUse = platform::isFileLocked(info.absoluteFilePath());
        kept += info.size();
        if (kept > limit && !inUse)
            QFile::remove(info.absoluteFilePath());
    }
}
