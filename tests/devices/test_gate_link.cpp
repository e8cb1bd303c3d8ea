#include "devices/CGateSystem.h"
#include "devices/GateSentence.h"
#include "platform/FakeClock.h"
#include "support/FakeFtdiDevices.h"
#include "support/RecordingGateOwner.h"

#include <QtTest>

namespace {

struct Listed
{
    const char* description;
    const char* serial;
    std::uint32_t locId;
};
using DeviceList = std::vector<Listed>;

QStringList debugLines;

void recordDebug(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg)
        debugLines << text;
}

} // namespace

Q_DECLARE_METATYPE(DeviceList)

class TestGateLink : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        debugLines.clear();
        qInstallMessageHandler(recordDebug);
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

    void autoDetect_data()
    {
        QTest::addColumn<DeviceList>("devices");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("portName");
        QTest::newRow("no devices") << DeviceList{} << false << QString() << QString("COM1");
        QTest::newRow("product word in capitals")
            << DeviceList{{"SWIFTLANE gate adapter", "SL0001", 0x1A2B}} << true << "SL0001"
            << "USB1A2B";
        QTest::newRow("other devices only")
            << DeviceList{{"USB Serial", "A1", 0x11}, {"Cable", "A2", 0x12}} << false << QString() << "COM1";
        QTest::newRow("location id 0 passed over")
            << DeviceList{{"Swiftlane", "SL0", 0}, {"x swiftlane y", "SL1", 0x121}} << true << "SL1"
            << "USB121";
        QTest::newRow("only at location id 0")
            << DeviceList{{"Swiftlane", "SL0", 0}} << false << QString() << "COM1";
        QTest::newRow("first match wins")
            << DeviceList{{"Modem", "M", 0x1}, {"Swiftlane A", "SLA", 0x2}, {"Swiftlane B", "SLB", 0x3}}
            << true << "SLA"
            << "USB2";
    }
    void autoDetect()
    {
        QFETCH(DeviceList, devices);
        QFETCH(bool, found);
        QFETCH(QString, serial);
        QFETCH(QString, portName);
        platform::FakeFtdiDevices ftdi;
        CSerialLinkSL link; // nothing attached yet: stays closed and unchanged
        link.SetPortName("COM1");
        for (const Listed& device : devices)
            ftdi.addDevice(device.description, device.serial, device.locId);
        QCOMPARE(link.AutoDetect(), found);
        QCOMPARE(link.FtdiSerial(), serial);
        QCOMPARE(link.PortName(), portName);
        QCOMPARE(link.linkKind, int(found ? CSerialLink::FtdiLink : CSerialLink::ComLink));
        QVERIFY(!link.IsOpen());
    }

    void failingListCallsLeaveLinkUnchanged()
    {
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Swiftlane", "SL1", 0x121);
        ftdi.createListStatus = platform::FT_IO_ERROR;
        CSerialLinkSL link;
        QVERIFY(!link.IsOpen());
        QCOMPARE(link.FtdiSerial(), QString());
        QCOMPARE(debugLines, QStringList{"ft_status = 4\n"});
        ftdi.createListStatus = platform::FT_OK;
        ftdi.getListStatus = platform::FT_OTHER_ERROR;
        QVERIFY(!link.AutoDetect());
        QCOMPARE(link.FtdiSerial(), QString());
        QCOMPARE(link.linkKind, int(CSerialLink::ComLink));
    }

    void reconnectsFourSecondsAfterLastStatus_data()
    {
        QTest::addColumn<uint>("start");
        QTest::newRow("plain") << 100000u;
        QTest::newRow("tick count wraps") << 0xFFFFF000u;
    }
    void reconnectsFourSecondsAfterLastStatus()
    {
        QFETCH(uint, start);
        platform::FakeClock clock(start);
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Swiftlane", "SL1", 0x121);
        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        QVERIFY(gates.IsLinkOpen()); // found and opened at construction
        QCOMPARE(ftdi.lastBaudRate, 9600u);
        ftdi.pushIncoming("SL1", "$PSTS,1234,1,1,0,0*2C\r\n");
        gates.Poll();
        QCOMPARE(gates.LastStatusTime(), start);

        ftdi.unplug("SL1");
        gates.Poll();
        QVERIFY(!gates.IsLinkOpen());
        const int listsBefore = ftdi.createListCalls;
        clock.advance(4000);
        gates.Poll();
        QCOMPARE(ftdi.createListCalls, listsBefore);
        for (int tick = 1; tick <= 3; ++tick) {
            clock.advance(25);
            gates.Poll();
            QCOMPARE(ftdi.createListCalls, listsBefore + tick);
        }
        ftdi.plugIn("SL1");
        clock.advance(25);
        gates.Poll();
        QVERIFY(gates.IsLinkOpen());
        const int listsWhenOpen = ftdi.createListCalls;
        for (int tick = 0; tick < 5; ++tick) {
            clock.advance(25);
            gates.Poll();
        }
        QCOMPARE(ftdi.createListCalls, listsWhenOpen);
        QCOMPARE(ftdi.openHandleCount(), 1);
    }

    void closedComLinkSwitchesToTheAdapter()
    {
        platform::FakeClock clock;
        platform::FakeFtdiDevices ftdi;
        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        gates.Link().SetPortName("COM4"); // closed after a failed start
        ftdi.addDevice("Swiftlane", "SL1", 0x121);
        gates.Poll();
        QVERIFY(gates.IsLinkOpen());
        QCOMPARE(gates.Link().PortName(), QString("USB121"));
    }

    void burstsArriveWholeOverSeveralPolls()
    {
        platform::FakeClock clock;
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Swiftlane", "SL1", 0x121);
        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        QStringList expected;
        QByteArray burst;
        for (int i = 0; i < 60; ++i) {
            burst += QByteArray::fromStdString(FormatEventSentence(std::uint32_t(i), i % 4, i % 2)) + "\r\n";
            expected << QString("event %1 %2 %3").arg(i % 4).arg(i).arg(i % 2);
        }
        for (int poll = 0; poll < 4; ++poll) { // faster than one poll takes
            ftdi.pushIncoming("SL1", burst.mid(poll * 300, 300));
            gates.Poll();
        }
        for (int poll = 0; poll < 5; ++poll)
            gates.Poll();
        QCOMPARE(owner.describe(), expected);
    }
};

QTEST_GUILESS_MAIN(TestGateLink)
#include "test_gate_link.moc"
