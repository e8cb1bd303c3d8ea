// The device links on fake devices: gate sentences decoded from a byte stream (checksums written
// out), the memory of FTDI devices seen before, the link's read store, adapter detection, bursts,
// reconnection; gate session files, and the recorder on the gate poll: what it keeps, what it
// prunes, how it fails; RFID replies becoming tags across ticks on a fake COM port, and a flooding
// reader on a real terminal.
#include "devices/CGateSystem.h"
#include "devices/CRFIDScanner.h"
#include "devices/CSerialLinkSL.h"
#include "devices/FtdiDatabase.h"
#include "devices/RfidTagOwner.h"
#include "devices/session/SessionFormat.h"
#include "devices/session/SessionRecorder.h"
#include "platform/FakeClock.h"
#include "support/FakeComPort.h"
#include "support/FakeFtdiDevices.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingGateOwner.h"
#include "support/TestFiles.h"
#include "support/TestSentences.h"

#include <QtTest>

#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <stdlib.h>
#include <unistd.h>

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

QByteArray readOnce(CSerialLink& link, int max = 256)
{
    unsigned char buffer[256];
    return QByteArray(reinterpret_cast<const char*>(buffer), link.Read(buffer, max));
}

// Description, serial number and location id of one listed device per entry.
using DeviceList = QList<std::tuple<QByteArray, QByteArray, std::uint32_t>>;

using Listing = QList<QPair<unsigned, QString>>; // location id, serial number

Listing patched(const Listing& listing)
{
    std::vector<platform::FtDeviceListInfoNode> nodes(static_cast<std::size_t>(listing.size()));
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        nodes[i].LocId = listing[qsizetype(i)].first;
        std::strncpy(nodes[i].SerialNumber, listing[qsizetype(i)].second.toLatin1().constData(), 15);
    }
    PatchFtdiDeviceList(nodes.data(), static_cast<int>(nodes.size()));
    Listing result;
    for (const auto& node : nodes)
        result << qMakePair(unsigned(node.LocId), QString::fromLatin1(node.SerialNumber));
    return result;
}

using Chunks = QList<QByteArray>;

struct RecordingTagOwner : RfidTagOwner
{
    void OnRFIDTag(const QString& tag) override { tags << tag; }
    QStringList tags;
};

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    return text.mid(text.indexOf("VmRSS:") + 6).trimmed().split(' ').first().toLong();
}

void tick(CRFIDScanner& scanner, platform::FakeClock& clock, int count = 1)
{
    for (int i = 0; i < count; ++i) {
        QCoreApplication::processEvents(); // a real port reads between ticks
        scanner.Poll();
        clock.advance(25); // the controller's tick
    }
}

} // namespace

class TestDeviceLinks : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    // Whole, then one byte per poll: a sentence cut anywhere decodes the same.
    void sentences()
    {
        const QStringList status = {"status 1234", "gates 1100"}, event = {"event 2 102 1"}, none;
        const QByteArray eventSentence = "$PEVT,102,2,1*0B\r\n";
        const std::pair<QByteArray, QStringList> cases[] = {
            {"$PEVT,4294967295,3,1*34", {"event 3 4294967295 1"}}, // the largest numbers
            {"$PEVT,102,2,1\xff*F4", event},                       // a high byte in a field
            {"$PSTS,1234,1,1,0,0*2c\r\n", none},                   // a lower-case checksum
            {"$PEVT,102,2,1*0A\r\n", none},                        // a wrong checksum
            {"$PS$PSTS,1234,1,1,0,0*2C", status},                  // a dollar restarts
            // An empty field, a star in the body or an extra field, each with a checksum that
            // matches, must not shift the fields.
            {"$PEVT,,2,1,5*21", none},
            {"$PEVT,102,2,1**21", none},
            {"$PSTS,1234,1,1,0,0,9*39", none},
            {"$PSTS, -1,2,x,+0,7z*08", {"status 4294967295", "gates 1001"}}, // odd numbers
            {"$PSTSX,1234,1,1,0,0*74", none},                                // a tag with extra characters
            {"$PEVT,102,2*16$PSTS,1,1,1,1*04", none},                        // too few fields
            {QByteArray("\r\nxx*\r\n$PSTS,1234,1,1,0,0*2C $GPGGA,1*00\0\xff\x80*\0", 45) + eventSentence,
             status + event}, // noise, NUL and high bytes around sentences
            // Blanks before a number are skipped, so they make a sentence of any length; past 128
            // bytes it is dropped rather than grown without bound. 6 + 108 + 15 = 129 bytes; an even
            // number of blanks cancels in the checksum, an odd number turns 2C into 0C.
            {"$PSTS," + QByteArray(108, ' ') + "1234,1,1,0,0*2C" + eventSentence, event},
            {"$PSTS," + QByteArray(107, ' ') + "1234,1,1,0,0*0C" + eventSentence, status + event}};
        for (const auto& [stream, calls] : cases) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(stream.constData());
            for (int chunk : {int(stream.size()), 1}) {
                RecordingGateOwner owner;
                CGateSystem gates(&owner);
                for (int at = 0; at < stream.size(); at += chunk)
                    gates.AssembleBytes(bytes + at, std::min(chunk, int(stream.size()) - at));
                QVERIFY2(
                    owner.calls == calls,
                    (stream.toPercentEncoding() + " gave " + owner.calls.join('|').toUtf8()).constData());
            }
        }
    }

    // Earlier listings are patched in order (they fill the memory); the last one is checked. The
    // memory lives as long as the gate link, works outside it, and cuts long serials to fit.
    void listingsArePatchedFromMemory()
    {
        using L = Listing;
        const std::tuple<QList<L>, L, L> cases[] = {
            // unknown nodes take the last unmatched entries, newest first
            {{{{0x11, "A"}, {0x12, "B"}, {0x13, "C"}}},
             {{0x13, "C"}, {0, ""}, {0, ""}},
             {{0x13, "C"}, {0x12, "B"}, {0x11, "A"}}},
            {{{{0x11, "A"}}}, {{0, ""}, {0, ""}}, {{0x11, "A"}, {0, ""}}}, // more unknown than remembered
            {{{{0x11, "A"}}, {{0x22, "A"}}}, {{0, ""}, {0, ""}}, {{0x22, "A"}, {0, ""}}}, // serial moved
            {{{{0x11, ""}}}, {{0, ""}}, {{0, ""}}},           // no serial: not remembered
            {{{{0x11, "A"}}}, {{0x33, "B"}}, {{0x33, "B"}}}}; // ids left as listed
        for (const auto& [earlier, now, shown] : cases) {
            InitFtdiDatabase();
            for (const Listing& listing : earlier)
                patched(listing);
            QCOMPARE(patched(now), shown);
            EmptyFtdiDatabase();
        }
        platform::FakeFtdiDevices devices;
        RememberFtdiDevice(0x11, QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
        QCOMPARE(patched({{0, ""}}), (Listing{{0x11, "ABCDEFGHIJKLMNO"}}));
        {
            CSerialLinkSL gateLink;
            patched({{0x121, "SL1"}});
            QCOMPARE(patched({{0, ""}}), (Listing{{0x121, "SL1"}}));
        }
        QCOMPARE(patched({{0, ""}}), (Listing{{0, ""}})); // emptied with the link
    }

    // On FTDI a handle left by a failed reset (the last step of an open) is closed by the next
    // attempt. Bytes that do not fit the reader's buffer wait in the link.
    void openRetriesLeakNoHandleAndReadsKeepWhatDoesNotFit()
    {
        platform::FakeComPorts ports;
        platform::FakeFtdiDevices ftdi;
        for (const bool useFtdi : {false, true}) {
            CSerialLink link;
            useFtdi ? link.SetFtdiSerial("FT1") : link.SetPortName("COM4");
            QByteArray& incoming =
                useFtdi ? ftdi.addDevice("Adapter", "FT1", 0x11).incoming : ports.addPort("COM4").incoming;
            ftdi.resetStatus = platform::FT_IO_ERROR;
            QVERIFY(useFtdi != (link.Open(false) || link.Open(false)));
            QCOMPARE(ftdi.openHandleCount(), int(useFtdi));
            ftdi.resetStatus = platform::FT_OK;
            QVERIFY(link.IsOpen() || link.Open(false));
            QCOMPARE(ftdi.openHandleCount(), int(useFtdi));
            QByteArray data; // a period of 251 shows a chunk handed out twice or skipped
            for (int i = 0; i < 700; ++i)
                data += char(i % 251);
            incoming = data.left(100);
            readOnce(link, 0); // stored, not handed out
            incoming += data.mid(100);
            QByteArray all = readOnce(link, 10);
            QCOMPARE(all, data.left(10));
            for (QByteArray chunk = readOnce(link); !chunk.isEmpty(); chunk = readOnce(link))
                all += chunk;
            QCOMPARE(all, data);
        }
        QCOMPARE(ftdi.openHandleCount(), 0);
    }

    void autoDetect()
    {
        const DeviceList adapter = {{"Swiftlane", "SL1", 0x121}};
        // The devices; the failing call (1: creating the list, 2: reading it); serial number and port
        // name found, no serial: nothing found.
        const std::tuple<DeviceList, int, QString> cases[] = {
            {{}, 0, " COM1"},
            {{{"Swiftlane", "0", 0}, {"x SWIFTLANE", "1", 0x1A2B}},
             0,
             "1 USB1A2B"}, // any case, id 0 passed over
            {{{"M", "M", 1}, {"swiftlane", "A", 2}, {"Swiftlane", "B", 3}}, 0, "A USB2"}, // the first match
            {adapter, 1, " COM1"},
            {adapter, 2, " COM1"}};
        for (const auto& [devices, failingCall, found] : cases)
            QVERIFY2((AutoDetect(devices, failingCall, found), !QTest::currentTestFailed()),
                     qPrintable(found));
    }

private:
    static void AutoDetect(const DeviceList& devices, int failingCall, const QString& found)
    {
        platform::FakeFtdiDevices ftdi;
        CSerialLinkSL link; // nothing attached yet: stays closed
        link.SetPortName("COM1");
        for (const auto& [description, serialNumber, locId] : devices)
            ftdi.addDevice(description.toStdString(), serialNumber.toStdString(), locId);
        ftdi.createListStatus = failingCall == 1 ? platform::FT_IO_ERROR : platform::FT_OK;
        ftdi.getListStatus = failingCall == 2 ? platform::FT_OTHER_ERROR : platform::FT_OK;
        const bool ftdiFound = !found.startsWith(' ');
        QCOMPARE(link.AutoDetect(), ftdiFound);
        QCOMPARE(link.FtdiSerial() + ' ' + link.PortName(), found);
        QCOMPARE(link.linkKind, int(ftdiFound ? CSerialLink::FtdiLink : CSerialLink::ComLink));
        QVERIFY(!link.IsOpen());
    }

private slots:

    // Device list reads: none until 4000 ms (across the tick count's wrap) after the last status, then
    // one a tick until open again. A burst larger than the poll's ring then arrives whole.
    void reconnectsFourSecondsAfterLastStatusThenReadsABurst()
    {
        platform::FakeClock clock(0xFFFFF000);
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Swiftlane", "SL1", 0x121);
        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        QVERIFY(gates.IsLinkOpen()); // found and opened at construction
        ftdi.pushIncoming("SL1", "$PSTS,1234,1,1,0,0*2C\r\n");
        gates.Poll();
        QCOMPARE(gates.LastStatusTime(), 0xFFFFF000u);
        const auto listsAfter = [&](std::uint32_t ms) {
            clock.advance(ms);
            const int before = ftdi.createListCalls;
            gates.Poll();
            return ftdi.createListCalls - before;
        };
        ftdi.unplug("SL1");
        QCOMPARE(listsAfter(0), 0);
        QVERIFY(!gates.IsLinkOpen());
        QCOMPARE(listsAfter(4000), 0);
        QCOMPARE(listsAfter(25), 1);
        ftdi.plugIn("SL1");
        QCOMPARE(listsAfter(25), 1);
        QVERIFY(gates.IsLinkOpen());
        QCOMPARE(listsAfter(25), 0);
        QCOMPARE(ftdi.openHandleCount(), 1);

        QStringList expected = {"status 1234", "gates 1100"};
        for (int i = 0; i < 60; ++i) {
            ftdi.pushIncoming("SL1", testsentences::event(std::uint32_t(i), i % 4, i % 2));
            expected << QString("event %1 %2 %3").arg(i % 4).arg(i).arg(i % 2);
        }
        for (int poll = 0; poll < 10; ++poll)
            gates.Poll();
        QCOMPARE(owner.calls, expected);
    }

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

    // The limit keeps the new session and one old one: the one written last, not the one named last
    // nor the one written at a time still to come. Other files neither count nor go, and a session
    // another Swiftlane on the same folder is still writing stays, however old and over the limit.
    void theSessionsWrittenLongestAgoGoFirst()
    {
        const QString folder = scratch.filePath("prune");
        QVERIFY(QDir().mkpath(folder) && WriteAll(folder + "/notes.txt", QByteArray(5000, 'x')));
        SessionRecorder first, recorder;
        QVERIFY(first.Start(folder, QDateTime(QDate(2026, 5, 1), QTime(7, 0))));
        writeSession(first.FileName(), -7200);
        writeSession(folder + "/2099-01-01_00-00-00.session", -3600); // named by a clock set ahead
        writeSession(folder + "/2026-05-01_08-00-00.session", 3600 * 24 * 365);
        writeSession(folder + "/2026-04-01_08-00-00.session", -60);
        recorder.SetFolderLimit(1500);
        QVERIFY(recorder.Start(folder, QDateTime(QDate(2026, 5, 2), QTime(8, 0))));
        QCOMPARE(QDir(folder).entryList({"*.session"}, QDir::Files, QDir::Name),
                 QStringList({"2026-04-01_08-00-00.session", "2026-05-01_07-00-00.session",
                              "2026-05-02_08-00-00.session"}));
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

private slots:
    // Each chunk arrives just before one poll; then the reader stays quiet for 200 ms. A scan request
    // reaches the reader only while the port is open.
    void repliesBecomeTags()
    {
        const QByteArray longest(62, 'B');
        const std::pair<Chunks, QStringList> cases[] = {
            {{"AA\nBB\rCC\n"}, {"AA", "BB", "CC"}},         // LF or CR ends a reply, several in one read
            {{" \t \r\n 04A3 \t\r\n"}, {"04A3"}},           // a blank line skipped, blanks trimmed
            {{longest + "\r\n"}, {QString(longest)}},       // 62 bytes fit
            {{QByteArray(70, 'A') + "\r\nOK\r\n"}, {"OK"}}, // 70 bytes dropped, the next kept
            {{QByteArray(40, 'A'), QByteArray(23, 'A') + "\n"}, {}}, // 63 bytes over two polls dropped
            // At 9600 baud a reply without a line end may pause between polls; past 100 ms of quiet it ends.
            {{"04A3", "", "", "", "B2C1"}, {"04A3B2C1"}},
            {{"04A3", "", "", "", "", "B2C1"}, {"04A3", "B2C1"}},
            {{QByteArray(70, 'A')}, {}}}; // 70 bytes without a line end dropped
        for (const auto& [chunks, tags] : cases) {
            platform::FakeClock clock;
            platform::FakeComPorts ports;
            RecordingTagOwner owner;
            CRFIDScanner scanner(&owner);
            scanner.RequestScan(); // closed: nothing, no message
            platform::FakeComPortState& port = ports.addPort("COM1");
            scanner.Link().SetPortName("COM1");
            QVERIFY(scanner.Link().Open(false));
            scanner.RequestScan();
            for (const QByteArray& chunk : chunks) {
                port.incoming += chunk;
                tick(scanner, clock);
            }
            tick(scanner, clock, 8);
            QCOMPARE(owner.tags, tags);
            scanner.Link().Close();
            scanner.RequestScan();
            QCOMPARE(port.sent, QByteArray("r"));
        }
    }

    // A flooding reader: the memory the real port holds stays bounded, a later tag arrives in a second.
    void aFloodKeepsMemoryFlatAndATagAfterItArrives()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        platform::FakeClock clock;
        RecordingTagOwner owner;
        CRFIDScanner scanner(&owner);
        scanner.Link().SetPortName(QString::fromLocal8Bit(::ptsname(master)));
        QVERIFY(scanner.Link().Open(false));
        tick(scanner, clock);
        constexpr qint64 FloodBytes = 32LL * 1024 * 1024;
        const QByteArray chunk(64 * 1024, 'x');
        const long before = residentKiB();
        qint64 flooded = 0;
        for (int round = 0; round < 200000 && flooded < FloodBytes; ++round) {
            for (ssize_t written; (written = ::write(master, chunk.constData(), size_t(chunk.size()))) > 0;)
                flooded += written;
            tick(scanner, clock);
        }
        const long after = residentKiB();
        QVERIFY2(flooded >= FloodBytes, qPrintable(QString::number(flooded)));
#ifdef __SANITIZE_ADDRESS__
        const bool memoryFigureCounts = false; // freed memory waits in the sanitizer's quarantine
#else
        const bool memoryFigureCounts = true;
#endif
        QVERIFY2(!memoryFigureCounts || after - before < 4 * 1024,
                 qPrintable(QStringLiteral("%1 -> %2 KiB").arg(before).arg(after)));
        // The reader falls quiet for 200 ms, then answers a scan: within a second (40 ticks).
        tick(scanner, clock, 8);
        QCOMPARE(::write(master, "04A3B2C1\r\n", 10), ssize_t(10));
        for (int i = 0; i < 40 && owner.tags.isEmpty(); ++i) {
            QThread::msleep(1);
            tick(scanner, clock);
        }
        QCOMPARE(owner.tags, QStringList{"04A3B2C1"});
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(TestDeviceLinks)
#include "test_device_links.moc"
