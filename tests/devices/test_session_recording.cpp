// Gate session files: the records survive a round trip byte for byte, a file cut anywhere reads
// up to its last whole record, and the recorder on the gate poll keeps chunks, gaps and link
// changes, prunes old sessions and stops alone when the disk or the folder fails.
#include "devices/CGateSystem.h"
#include "devices/session/SessionFormat.h"
#include "devices/session/SessionRecorder.h"
#include "platform/FakeClock.h"
#include "support/FakeFtdiDevices.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingGateOwner.h"
#include "support/TestFiles.h"
#include "support/TestSentences.h"

#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

using session::Record;
using session::RecordKind;

namespace {

QByteArray encodeAll(const std::vector<Record>& records)
{
    QByteArray text = session::FileHeader(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
    for (const Record& record : records)
        text += session::EncodeRecord(record);
    return text;
}

namespace ts = testsentences;

// The gate system on a fake adapter, its reads recorded into a session file.
struct RecordedGates
{
    static constexpr const char* Serial = "SL000001";

    // The adapter is plugged in before the gate system looks for it.
    explicit RecordedGates(std::uint32_t locId)
        : gates((devices.addDevice("Swiftlane gate adapter", Serial, locId), &owner))
    {
    }

    // Tapped only once recording has started; false when it could not.
    bool Start(const QString& folder, const QDateTime& at = QDateTime(QDate(2026, 5, 1), QTime(9, 0)))
    {
        const bool started = recorder.Start(folder, at);
        gates.SetStreamTap(started ? &recorder : nullptr);
        return started;
    }

    void Poll(std::uint32_t afterMs, const QByteArray& bytes = {})
    {
        clock.advance(afterMs);
        if (!bytes.isEmpty())
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

Q_DECLARE_METATYPE(std::vector<Record>)

class TestSessionRecording : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    void recordsSurviveARoundTrip_data()
    {
        QTest::addColumn<std::vector<Record>>("records");
        QByteArray everyByte(256, '\0');
        std::iota(everyByte.begin(), everyByte.end(), '\0');
        QTest::newRow("every byte value") << std::vector<Record>{{0, RecordKind::Read, everyByte}};
        QTest::newRow("escape look-alikes")
            << std::vector<Record>{{5, RecordKind::Read, "\\x41\\r\\n\\\\ \\"}, {6, RecordKind::Read, "x"}};
        QTest::newRow("blanks at both ends") << std::vector<Record>{{7, RecordKind::Read, "  $PS  "}};
        QTest::newRow("link changes and gaps")
            << std::vector<Record>{{0, RecordKind::Open, "USB1A2B"},
                                   {25013, RecordKind::Read, ts::event(1234, 0)},
                                   {70000000123, RecordKind::Read, ts::event(5000, 1)},
                                   {70000025000, RecordKind::Close, {}},
                                   {74000000000, RecordKind::Open, "/dev/pts/7 (SIM 1)"}};
    }
    void recordsSurviveARoundTrip()
    {
        QFETCH(std::vector<Record>, records);
        const QByteArray text = encodeAll(records);
        const session::ParsedSession parsed = session::ParseSession(text);
        QVERIFY(parsed.records == records);
        QCOMPARE(parsed.malformedLines, 0);
        QVERIFY(!parsed.cutLastLine);
        // Every record is one line: a byte of the data can never end it early.
        QCOMPARE(text.count('\n'), qsizetype(records.size()) + 2);
    }

    // A power cut can end the file anywhere inside the record being written.
    void aCutFileReadsUpToItsLastWholeRecord()
    {
        const std::vector<Record> whole = {{0, RecordKind::Open, "USB1"},
                                           {100, RecordKind::Read, "$PSTS\r\n"}};
        const QByteArray last = session::EncodeRecord({200, RecordKind::Read, "\x01\\$PEVT,1,0,1*00\r\n"});
        const QByteArray text = encodeAll(whole);
        for (int cut = 1; cut < last.size(); ++cut) {
            const session::ParsedSession parsed = session::ParseSession(text + last.left(cut));
            QVERIFY2(parsed.records == whole, qPrintable(QStringLiteral("cut after %1 bytes").arg(cut)));
            QVERIFY(parsed.cutLastLine);
            QCOMPARE(parsed.malformedLines, 0);
        }
    }

    void malformedLinesAreSkipped_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("unknown escape") << QByteArray("10 read ab\\q");
        QTest::newRow("cut escape") << QByteArray("10 read ab\\x4");
        QTest::newRow("lone backslash") << QByteArray("10 read ab\\");
        QTest::newRow("empty read") << QByteArray("10 read ");
        QTest::newRow("no time") << QByteArray("read abc");
        QTest::newRow("negative time") << QByteArray("-5 read abc");
        QTest::newRow("unknown kind") << QByteArray("10 write abc");
        QTest::newRow("zeros of a power cut") << QByteArray(12, '\0');
    }
    void malformedLinesAreSkipped()
    {
        QFETCH(QByteArray, line);
        const Record after{20, RecordKind::Read, "ok"};
        const session::ParsedSession parsed =
            session::ParseSession(line + '\n' + session::EncodeRecord(after));
        QCOMPARE(parsed.malformedLines, 1);
        QVERIFY(parsed.records == std::vector<Record>{after});
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
        rig.recorder.Flush();

        const auto parsed = session::ReadSessionFile(rig.recorder.FileName());
        QVERIFY(parsed);
        const std::vector<Record> expected = {
            {25000, RecordKind::Open, "USB1A2B"},           {25000, RecordKind::Read, burst},
            {125000, RecordKind::Read, "T,200,2,1*0A\r\n"}, {150000, RecordKind::Close, {}},
            {5150000, RecordKind::Open, "USB1A2B"},         {5175000, RecordKind::Read, ts::event(300, 3)}};
        QVERIFY(parsed->records == expected);
        QCOMPARE(QFileInfo(rig.recorder.FileName()).fileName(),
                 QStringLiteral("2026-05-01_09-00-00.session"));
    }

    // A crash loses at most the last second: older records are already in the file.
    void writesAboutOnceASecond()
    {
        RecordedGates rig(0x121);
        QVERIFY(rig.Start(scratch.filePath("cadence")));
        const qint64 headerSize = QFileInfo(rig.recorder.FileName()).size();
        int writes = 0;
        qint64 lastSize = headerSize;
        for (int tick = 1; tick <= 200; ++tick) { // 5 s of ticks, a sentence each
            rig.Poll(25, ts::event(tick, 0));
            const qint64 size = QFileInfo(rig.recorder.FileName()).size();
            writes += size != lastSize;
            lastSize = size;
            if (tick >= 40)
                QVERIFY2(size > headerSize + (tick - 40) * 20, qPrintable(QString::number(tick)));
        }
        QVERIFY2(writes >= 4 && writes <= 6, qPrintable(QString::number(writes)));
    }

    void theOldestSessionsGoWhenTheFolderPassesItsLimit()
    {
        const QString folder = scratch.filePath("prune");
        QVERIFY(QDir().mkpath(folder));
        const QStringList names = {"2026-01-01_08-00-00.session", "2026-01-02_08-00-00.session",
                                   "2026-01-03_08-00-00.session", "2026-01-03_08-00-00_2.session"};
        for (const QString& name : names)
            QVERIFY(WriteAll(folder + "/" + name, QByteArray(1000, 'x')));
        QVERIFY(WriteAll(folder + "/notes.txt", QByteArray(5000, 'x')));

        SessionRecorder recorder;
        recorder.SetFolderLimit(2500);
        QVERIFY(recorder.Start(folder, QDateTime(QDate(2026, 1, 4), QTime(8, 0))));
        QDir dir(folder);
        QCOMPARE(dir.entryList({"*.session"}, QDir::Files, QDir::Name),
                 QStringList({"2026-01-03_08-00-00.session", "2026-01-03_08-00-00_2.session",
                              "2026-01-04_08-00-00.session"}));
        QVERIFY(dir.exists("notes.txt"));
    }

    void aFolderThatCannotBeMadeLeavesTimingAlone()
    {
        QVERIFY(WriteAll(scratch.filePath("blocker"), {}));
        checkTimingGoesOnWhenRecordingFails(scratch.filePath("blocker/Sessions"), 0);
    }

    void aFullDiskStopsRecordingOnceAndLeavesTimingAlone()
    {
        checkTimingGoesOnWhenRecordingFails(scratch.filePath("full"), 1500);
    }

private:
    // limit 0: the folder fails at the start; otherwise files cannot grow past `limit` bytes.
    void checkTimingGoesOnWhenRecordingFails(const QString& folder, rlim_t limit)
    {
        RecordedGates rig(0x121);
        QStringList messages;
        rig.recorder.SetFailureHandler([&](const QString& message) { messages << message; });
        std::optional<FileSizeLimit> fullDisk;
        if (limit > 0)
            fullDisk.emplace(limit);
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
            // What did reach the file is whole records in order, then at most one cut line.
            const QByteArray text = ReadAll(rig.recorder.FileName());
            const QByteArray body = text.mid(text.indexOf("\n", text.indexOf("# started")) + 1);
            QVERIFY2(body.size() > 100 && records.startsWith(body), body.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestSessionRecording)
#include "test_session_recording.moc"
