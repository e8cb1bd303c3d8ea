// The gate link on fake devices: the link's read store, adapter detection, bursts, reconnection.
#include "devices/CGateSystem.h"
#include "platform/FakeClock.h"
#include "support/FakeComPort.h"
#include "support/FakeFtdiDevices.h"
#include "support/RecordingGateOwner.h"
#include "support/TestSentences.h"

#include <QtTest>

namespace {

QByteArray readOnce(CSerialLink& link, int max = 256)
{
    unsigned char buffer[256];
    return QByteArray(reinterpret_cast<const char*>(buffer), link.Read(buffer, max));
}

// Description, serial number and location id of one listed device per entry.
using DeviceList = QList<std::tuple<QByteArray, QByteArray, std::uint32_t>>;

} // namespace

Q_DECLARE_METATYPE(DeviceList)

class TestGateLink : public QObject
{
    Q_OBJECT

private slots:
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

    void autoDetect_data()
    {
        QTest::addColumn<DeviceList>("devices");
        QTest::addColumn<int>("failingCall"); // 0: none, 1: creating the list, 2: reading it
        QTest::addColumn<QString>("found");   // serial number and port name; no serial: nothing found
        const DeviceList adapter = {{"Swiftlane", "SL1", 0x121}};
        QTest::newRow("no devices") << DeviceList{} << 0 << " COM1";
        QTest::newRow("any case, id 0 passed over")
            << DeviceList{{"Swiftlane", "0", 0}, {"x SWIFTLANE", "1", 0x1A2B}} << 0 << "1 USB1A2B";
        QTest::newRow("first match") << DeviceList{{"M", "M", 1},
                                                   {"swiftlane", "A", 2},
                                                   {"Swiftlane", "B", 3}}
                                     << 0 << "A USB2";
        QTest::newRow("creating the list fails") << adapter << 1 << " COM1";
        QTest::newRow("reading the list fails") << adapter << 2 << " COM1";
    }
    void autoDetect()
    {
        QFETCH(DeviceList, devices);
        QFETCH(int, failingCall);
        QFETCH(QString, found);
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
