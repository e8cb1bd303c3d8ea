// Gate session files, and the recorder on the gate poll: what it keeps, what it prunes, how it fails.
#include "devices/CGateSystem.h"
#include "devices/session/SessionFormat.h"
#include "devices/session/SessionRecorder.h"
#include "platform/FakeClock.h"
#include "support/FakeFtdiDevices.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingGateOwner.h"
#include "support/TestFiles.h"
#include "support/TestSentences.h"

#include <QtTest>

#include <numeric>

using session::Record;
using session::RecordKind;

namespace {

namespace ts = testsentences;

// The gate system on a fake adapter, plugged in before it looks, its reads recorded.
struct RecordedGates
{
    static constexpr const char* Serial = "SL000001";
    explicit RecordedGates(std::uint32_t locId)
        : gates((devices.addDevice("Swiftlane gate adapter", Serial, locId), &owner))
    {
    }
    bool Start(const QString& folder)
    {
        const bool started = recorder.Start(folder, QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
        gates.SetStreamTap(started ? &recorder : nullptr);
        return started;
    }
    void Poll(std::uint32_t afterMs, const QByteArray& bytes = {})
    {
        clock.advance(afterMs);
        devices.pushIncoming(Serial, bytes);
        gates.Poll();
    }
    platform::FakeClock clock;
    platform::FakeFtdiDevices devices;
    RecordingGateOwner owner;
    CGateSystem gates;
    SessionRecorder recorder;
};

} // namespace

class TestSessionRecording : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    // Every record is one line: a byte of the data can never end it early or change it. Each
    // malformed line is skipped and counted. A power cut can end the file anywhere inside the record
    // being written; it reads to the last whole one.
    void recordsSurviveARoundTripAndACut()
    {
        QByteArray everyByte(256, '\0');
        std::iota(everyByte.begin(), everyByte.end(), '\0');
        const std::vector<Record> records = {{0, RecordKind::Read, everyByte},
                                             {5, RecordKind::Read, "\\x41\\r\\n\\\\ \\"},
                                             {6, RecordKind::Read, "  $PS  "}, // blanks at both ends
                                             {70000000123, RecordKind::Close, {}}};
        QByteArray text = session::FileHeader(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
        for (const Record& record : records)
            text += session::EncodeRecord(record);
        QCOMPARE(text.count('\n'), qsizetype(records.size()) + 2);
        const session::ParsedSession parsed = session::ParseSession(text);
        QVERIFY(parsed.records == records && parsed.malformedLines == 0 && !parsed.cutLastLine);
        const QByteArrayList malformed = {"10 read ab\\q", "10 read ab\\x4",    "10 read ab\\", // escapes
                                          "10 read ",      "read abc",          "-5 read abc",
                                          "10 write abc",  QByteArray(12, '\0')}; // zeros of a power cut
        text += malformed.join('\n') + '\n';
        std::vector<Record> withLast = records;
        withLast.push_back({80000000000, RecordKind::Read, "\x01\\$PEVT,1,0,1*00\r\n"});
        const QByteArray last = session::EncodeRecord(withLast.back());
        for (int cut = 1; cut <= last.size(); ++cut) {
            const session::ParsedSession cutShort = session::ParseSession(text + last.left(cut));
            const bool whole = cut == last.size();
            QVERIFY2(cutShort.records == (whole ? withLast : records) && cutShort.cutLastLine != whole &&
                         cutShort.malformedLines == 8,
                     qPrintable(QStringLiteral("cut after %1 bytes").arg(cut)));
        }
    }

    // The recorder on the real poll: what each read gave, when, and the adapter going and coming.
    void recordsEveryReadWithItsTimeAndTheLinkChanges()
    {
        RecordedGates rig(0x1A2B);
        QVERIFY(rig.Start(scratch.filePath("roundtrip")));
        const QByteArray burst = ts::event(100, 0) + ts::event(150, 1) + "$PEV";
        rig.Poll(25, burst);
        rig.Poll(25);
        rig.Poll(75, "T,200,2,1*0A\r\n");
        rig.devices.unplug(RecordedGates::Serial);
        rig.Poll(25);
        rig.devices.plugIn(RecordedGates::Serial);
        rig.Poll(5000);
        rig.Poll(25, ts::event(300, 3));
        for (int tick = 0; tick < 40; ++tick) // a crash loses at most the last second: no flush here
            rig.Poll(25);

        const auto parsed = session::ReadSessionFile(rig.recorder.FileName());
        QVERIFY(parsed);
        const std::vector<Record> expected = {
            {25000, RecordKind::Open, "USB1A2B"},           {25000, RecordKind::Read, burst},
            {125000, RecordKind::Read, "T,200,2,1*0A\r\n"}, {150000, RecordKind::Close, {}},
            {5150000, RecordKind::Open, "USB1A2B"},         {5175000, RecordKind::Read, ts::event(300, 3)}};
        QVERIFY(parsed->records == expected);
    }

    // Another Swiftlane on the same data folder prunes; the first one's session stays.
    void aSessionBeingWrittenIsNeverPruned()
    {
        const QString folder = scratch.filePath("shared");
        SessionRecorder first, second;
        QVERIFY(first.Start(folder, QDateTime(QDate(2026, 5, 1), QTime(8, 0))));
        QVERIFY(WriteAll(first.FileName(), QByteArray(3000, 'x'))); // it has recorded a while
        writeSession(folder + "/2026-04-30_08-00-00.session", -3600);
        second.SetFolderLimit(1000);
        QVERIFY(second.Start(folder, QDateTime(QDate(2026, 5, 2), QTime(8, 0))));
        QCOMPARE(QDir(folder).entryList({"*.session"}, QDir::Files, QDir::Name),
                 QStringList({"2026-05-01_08-00-00.session", "2026-05-02_08-00-00.session"}));
    }

    // The limit keeps the new session and one old one: the one written last, not the one named last
    // nor the one written at a time still to come. Other files neither count nor go.
    void theSessionsWrittenLongestAgoGoFirst()
    {
        const QString folder = scratch.filePath("prune");
        QVERIFY(QDir().mkpath(folder) && WriteAll(folder + "/notes.txt", QByteArray(5000, 'x')));
        writeSession(folder + "/2099-01-01_00-00-00.session", -3600); // named by a clock set ahead
        writeSession(folder + "/2026-05-01_08-00-00.session", 3600 * 24 * 365);
        writeSession(folder + "/2026-04-01_08-00-00.session", -60);
        SessionRecorder recorder;
        recorder.SetFolderLimit(1500);
        QVERIFY(recorder.Start(folder, QDateTime(QDate(2026, 5, 2), QTime(8, 0))));
        QCOMPARE(QDir(folder).entryList({"*.session"}, QDir::Files, QDir::Name),
                 QStringList({"2026-04-01_08-00-00.session", "2026-05-02_08-00-00.session"}));
        QVERIFY(QFileInfo::exists(folder + "/notes.txt"));
    }

    void timingGoesOnWhenRecordingFails()
    {
        QVERIFY(WriteAll(scratch.filePath("blocker"), {}));
        // limit 0: the folder cannot be made; otherwise files cannot grow past `limit` bytes (a full disk).
        for (const auto& [folder, limit] :
             {std::pair{scratch.filePath("blocker/Sessions"), 0}, {scratch.filePath("full"), 1500}})
            QVERIFY2((RecordingFails(folder, limit), !QTest::currentTestFailed()), qPrintable(folder));
    }

private:
    void RecordingFails(const QString& folder, int limit)
    {
        RecordedGates rig(0x121);
        QStringList messages;
        rig.recorder.SetFailureHandler([&](const QString& message) { messages << message; });
        const FileSizeLimit fullDisk(limit > 0 ? rlim_t(limit) : RLIM_INFINITY);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Gate session recording has stopped"));
        rig.Start(folder);
        QByteArray records = "25000 open USB121\n"; // written out by hand, CR and LF escaped
        for (int tick = 1; tick <= 400; ++tick) {
            rig.Poll(25, ts::event(std::uint32_t(tick * 25), tick % 4));
            records += QByteArray::number(tick * 25000) + " read " +
                       ts::event(std::uint32_t(tick * 25), tick % 4).chopped(2) + "\\r\\n\n";
        }
        QCOMPARE(messages.size(), 1);
        QVERIFY(!rig.recorder.IsRecording());
        QCOMPARE(rig.owner.calls.size(), qsizetype(400));
        if (limit > 0) {
            // A write cut short by the limit sets no error itself; the message still gives the cause.
            QVERIFY2(messages[0].contains(": File too large."), qPrintable(messages[0]));
            // What did reach the file is whole records in order, then at most one cut line.
            const QByteArray text = ReadAll(rig.recorder.FileName());
            const QByteArray body = text.mid(text.indexOf("\n", text.indexOf("# started")) + 1);
            QVERIFY2(body.size() > 100 && records.startsWith(body), body.constData());
        }
    }

    static void writeSession(const QString& path, qint64 secondsFromNow)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(1000, 'x')) == 1000);
        QVERIFY(file.flush()); // a later flush would set the time again
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(secondsFromNow),
                                 QFileDevice::FileModificationTime));
    }
};

QTEST_GUILESS_MAIN(TestSessionRecording)
#include "test_session_recording.moc"
