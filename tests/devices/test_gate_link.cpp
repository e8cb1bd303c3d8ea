// The gate link on fake devices: sentences decoded from a byte stream (checksums written out), the
// memory of FTDI devices seen before, the link's read store, adapter detection, bursts, reconnection.
#include "devices/CGateSystem.h"
#include "devices/CSerialLinkSL.h"
#include "devices/FtdiDatabase.h"
#include "platform/FakeClock.h"
#include "support/FakeComPort.h"
#include "support/FakeFtdiDevices.h"
#include "support/RecordingGateOwner.h"
#include "support/TestSentences.h"

#include <QtTest>

#include <cstring>

namespace {

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

} // namespace

class TestGateLink : public QObject
{
    Q_OBJECT

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
};

QTEST_GUILESS_MAIN(TestGateLink)
#include "test_gate_link.moc"
