// The device link on fake devices: the serial link's buffers, sentence assembly and decoding,
// adapter detection, reading bursts and reconnection.
#include "devices/CByteRing.h"
#include "devices/CGateSystem.h"
#include "devices/GateSentence.h"
#include "platform/FakeClock.h"
#include "platform/FtdiDevices.h"
#include "support/FakeComPort.h"
#include "support/FakeFtdiDevices.h"
#include "support/RecordingGateOwner.h"
#include "support/TraceOn.h"

#include <QtTest>

namespace {

QByteArray pattern(int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char(i % 251);
    return bytes;
}

QByteArray readOnce(CSerialLink& link, int max = 256)
{
    unsigned char buffer[256];
    return QByteArray(reinterpret_cast<const char*>(buffer), link.Read(buffer, max));
}

QStringList traced;

void recordTrace(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QByteArray(context.category) == "swiftlane.trace")
        traced << text;
}

struct Listed
{
    const char* description;
    const char* serial;
    std::uint32_t locId;
};
using DeviceList = std::vector<Listed>;

} // namespace

Q_DECLARE_METATYPE(DeviceList)

class TestGateLink : public QObject
{
    Q_OBJECT

    platform::FakeComPorts ports;
    platform::FakeFtdiDevices ftdi;

    // Opens `link` on a fresh COM port or FTDI device; returns what that device has received.
    QByteArray& openLink(CSerialLink& link, bool useFtdi)
    {
        QByteArray* incoming = nullptr;
        if (useFtdi) {
            link.SetFtdiSerial("FT1");
            incoming = &ftdi.addDevice("Adapter", "FT1", 0x11).incoming;
        } else {
            link.SetPortName("COM3");
            incoming = &ports.addPort("COM3").incoming;
        }
        if (!link.Open(false))
            qFatal("the fake device did not open");
        return *incoming;
    }

private slots:
    void init()
    {
        ftdi.clearDevices();
        ftdi.createListStatus = ftdi.getListStatus = ftdi.resetStatus = platform::FT_OK;
    }

    void comWritesReachThePortAndTheQueueDrains()
    {
        CSerialLink link;
        openLink(link, false);
        platform::FakeComPortState& port = ports.addPort("COM3");
        port.writeLimit = 0; // the driver takes nothing for now
        const QByteArray data = pattern(300);
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
        QCOMPARE(link.Write(bytes, 300), 256);
        QCOMPARE(link.Write(bytes, 10), 0);
        port.writeLimit = 100;
        readOnce(link);
        QCOMPARE(port.sent, data.left(100));
        port.writeLimit = -1;
        readOnce(link);
        QCOMPARE(link.Write(bytes + 256, 44), 44);
        QCOMPARE(port.sent, data);
    }

    void readKeepsWhatDoesNotFit_data()
    {
        QTest::addColumn<bool>("useFtdi");
        QTest::newRow("COM") << false;
        QTest::newRow("FTDI") << true;
    }
    void readKeepsWhatDoesNotFit()
    {
        QFETCH(bool, useFtdi);
        CSerialLink link;
        QByteArray& incoming = openLink(link, useFtdi);
        const QByteArray data = pattern(700);
        const TraceOn trace;
        incoming = data.left(100);
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        readOnce(link, 0); // stored, not handed out
        incoming += data.mid(100);
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        QCOMPARE(readOnce(link, 10), data.left(10));
        QCOMPARE(link.ReceiveCount(), 245);
        QByteArray all = data.left(10);
        for (QByteArray chunk = readOnce(link); !chunk.isEmpty(); chunk = readOnce(link))
            all += chunk;
        QCOMPARE(all, data);
    }

    // The device's reset is the last step of an open. A handle left by a failed reset is closed
    // by the next attempt, so retries never pile up handles.
    void ftdiFailedOpenLeaksNoHandle()
    {
        ftdi.addDevice("Adapter", "FT1", 0x11);
        ftdi.resetStatus = platform::FT_IO_ERROR;
        {
            CSerialLink link;
            link.SetFtdiSerial("FT1");
            QVERIFY(!link.Open(false));
            QVERIFY(!link.Open(false));
            QCOMPARE(ftdi.openHandleCount(), 1);
            ftdi.resetStatus = platform::FT_OK;
            QVERIFY(link.Open(false));
            QCOMPARE(ftdi.openHandleCount(), 1);
        }
        QCOMPARE(ftdi.openHandleCount(), 0);
    }

    // 300 bytes without a pop leave the newest size - 2, oldest first, byte by byte or in bulk.
    void ringKeepsTheNewest()
    {
        const QByteArray data = pattern(300);
        for (int size : {256, 64}) {
            CByteRing single, bulk;
            single.Init(size);
            bulk.Init(size);
            for (char b : data)
                single.Push(static_cast<unsigned char>(b));
            bulk.PushAll(reinterpret_cast<const unsigned char*>(data.constData()), 300);
            QByteArray popped, bulkPopped(300, '\0');
            for (unsigned char b = 0; single.Pop(b);)
                popped += char(b);
            bulkPopped.truncate(bulk.PopAll(reinterpret_cast<unsigned char*>(bulkPopped.data()), 300));
            QCOMPARE(popped, data.right(size - 2));
            QCOMPARE(bulkPopped, data.right(size - 2));
        }
    }

    void usbLocIds_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<qint64>("expected"); // -1: a hashed id
        QTest::newRow("digit each") << QByteArray("/sys/devices/pci0000:00/usb1/1-2/1-2.1/1-2.1:1.0/ttyUSB0")
                                    << 0x121ll;
        QTest::newRow("8 digits, bus 7") << QByteArray("usb7/7-1.2.3.4.5.6.7:1.0/ttyUSB0") << 0x71234567ll;
        QTest::newRow("look-alike first")
            << QByteArray("/sys/devices/a-b:c/usb2/2-1/2-1:1.0/ttyUSB0") << 0x21ll;
        QTest::newRow("port 16") << QByteArray("usb1/1-16/1-16:1.0/ttyUSB0") << -1ll;
        QTest::newRow("bus 16") << QByteArray("usb16/16-1/16-1:1.0/ttyUSB0") << -1ll;
        QTest::newRow("8 digits, bus 8") << QByteArray("usb8/8-1.2.3.4.5.6.7:1.0/ttyUSB0") << -1ll;
        QTest::newRow("no interface") << QByteArray("/sys/devices/pnp0/00:04/tty/ttyS0") << 0ll;
    }

    // A hashed id is non-zero, apart from every digit id, and not shared with the neighbouring socket.
    void usbLocIds()
    {
        QFETCH(QByteArray, path);
        QFETCH(qint64, expected);
        const std::uint32_t id = platform::usbLocIdFromDevicePath(path.toStdString());
        if (expected >= 0)
            QCOMPARE(qint64(id), expected);
        else
            QVERIFY(id >= 0x80000000u &&
                    id != platform::usbLocIdFromDevicePath(path.replace("-1", "-2").toStdString()));
    }

    // Checksums are written out: a sentence built with the decoder's own checksum routine would
    // agree with any fault in it.
    void sentences_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("calls");
        const QStringList status = {"status 1234", "gates 1100"}, event = {"event 2 102 1"}, none;
        const QByteArray eventSentence = "$PEVT,102,2,1*0B\r\n";
        QTest::newRow("status") << QByteArray("$PSTS,1234,1,1,0,0*2C\r\n") << status;
        QTest::newRow("event") << eventSentence << event;
        QTest::newRow("largest numbers")
            << QByteArray("$PEVT,4294967295,3,1*34") << QStringList{"event 3 4294967295 1"};
        QTest::newRow("lower-case checksum") << QByteArray("$PSTS,1234,1,1,0,0*2c\r\n") << none;
        QTest::newRow("wrong checksum") << QByteArray("$PEVT,102,2,1*0A\r\n") << none;
        QTest::newRow("dollar restarts") << QByteArray("$PS$PSTS,1234,1,1,0,0*2C") << status;
        QTest::newRow("empty field, checksum of the sentence before it")
            << QByteArray("$PSTS,1234,,1,1,0,0*2C") << none;
        // An empty field with a checksum that matches must not shift the fields after it.
        QTest::newRow("empty field, matching checksum") << QByteArray("$PEVT,,2,1,5*21") << none;
        QTest::newRow("doubled comma, matching checksum") << QByteArray("$PSTS,1234,,1,1,0,0*00") << none;
        QTest::newRow("trailing comma, matching checksum") << QByteArray("$PEVT,102,2,1,*27") << none;
        QTest::newRow("star in the body, matching checksum") << QByteArray("$PEVT,102,2,1**21") << none;
        QTest::newRow("extra field, matching checksum") << QByteArray("$PSTS,1234,1,1,0,0,9*39") << none;
        QTest::newRow("odd numbers") << QByteArray("$PSTS, -1,2,x,+0,7z*08")
                                     << QStringList{"status 4294967295", "gates 1001"};
        // Handed on as sent; the controller ignores gates it does not have.
        QTest::newRow("gate out of range") << QByteArray("$PEVT,9,7,0*05") << QStringList{"event 7 9 0"};
        QTest::newRow("tag with extra characters") << QByteArray("$PSTSX,1234,1,1,0,0*74") << none;
        QTest::newRow("too few fields") << QByteArray("$PEVT,102,2*16$PSTS,1,1,1,1*04") << none;
        QTest::newRow("noise around sentences")
            << "\r\nxx*\r\n$PSTS,1234,1,1,0,0*2C junk $GPGGA,1*00 " + eventSentence << status + event;
        QTest::newRow("NUL and high bytes between sentences")
            << QByteArray("$PSTS,1234,1,1,0,0*2C\0\xff\x80*\0\0", 27) + eventSentence << status + event;
        // Blanks before a number are skipped, so they make a sentence of any length; past 128
        // bytes it is dropped rather than grown without bound. 108 blanks cancel in the checksum.
        QTest::newRow("over-long sentence dropped, next decoded")
            << "$PSTS," + QByteArray(108, ' ') + "1234,1,1,0,0*2C" + eventSentence << event;
        QTest::newRow("longest sentence kept")
            << "$PSTS," + QByteArray(106, ' ') + "1234,1,1,0,0*2C" + eventSentence << status + event;
    }
    void sentences()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, calls);
        const auto* bytes = reinterpret_cast<const unsigned char*>(stream.constData());
        // Whole, then one byte per poll: a sentence split anywhere decodes the same.
        for (int chunk : {int(stream.size()), 1}) {
            RecordingGateOwner owner;
            CGateSystem gates(&owner);
            for (int at = 0; at < stream.size(); at += chunk)
                gates.AssembleBytes(bytes + at, std::min(chunk, int(stream.size()) - at));
            QCOMPARE(owner.describe(), calls);
        }
    }

    void eventTraceLines_data()
    {
        QTest::addColumn<QByteArray>("sentence");
        QTest::addColumn<QStringList>("lines");
        const QString decoding = " Decoding PEVT ";
        QTest::newRow("taken") << QByteArray("$PEVT,102,2,1*0B") << QStringList{decoding};
        QTest::newRow("wrong checksum")
            << QByteArray("$PEVT,102,2,1*0A") << QStringList{decoding, " checksum failed"};
        QTest::newRow("empty field") << QByteArray("$PEVT,,2,1,5*21")
                                     << QStringList{decoding, " empty field"};
        QTest::newRow("too few fields") << QByteArray("$PEVT,102,2*16") << QStringList{decoding};
        QTest::newRow("status with wrong checksum") << QByteArray("$PSTS,1234,1,1,0,0*2c") << QStringList{};
    }
    void eventTraceLines()
    {
        QFETCH(QByteArray, sentence);
        QFETCH(QStringList, lines);
        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        traced.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordTrace);
        gates.AssembleBytes(reinterpret_cast<const unsigned char*>(sentence.constData()),
                            int(sentence.size()));
        QCOMPARE(traced, QStringList{}); // off unless asked for
        QLoggingCategory::setFilterRules("swiftlane.trace=true");
        gates.AssembleBytes(reinterpret_cast<const unsigned char*>(sentence.constData()),
                            int(sentence.size()));
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);
        QCOMPARE(traced, lines);
    }

    void autoDetect_data()
    {
        QTest::addColumn<DeviceList>("devices");
        QTest::addColumn<int>("failingCall"); // 0: none, 1: creating the list, 2: reading it
        QTest::addColumn<QString>("serial");  // empty: nothing found
        QTest::addColumn<QString>("portName");
        const DeviceList adapter = {{"Swiftlane", "SL1", 0x121}};
        QTest::newRow("no devices") << DeviceList{} << 0 << QString() << "COM1";
        QTest::newRow("capitals") << DeviceList{{"SWIFTLANE gate adapter", "SL1", 0x1A2B}} << 0 << "SL1"
                                  << "USB1A2B";
        QTest::newRow("location id 0 passed over")
            << DeviceList{{"Swiftlane", "SL0", 0}, {"x swiftlane y", "SL1", 0x121}} << 0 << "SL1"
            << "USB121";
        QTest::newRow("first match wins")
            << DeviceList{{"Modem", "M", 0x1}, {"Swiftlane A", "SLA", 0x2}, {"Swiftlane B", "SLB", 0x3}} << 0
            << "SLA"
            << "USB2";
        QTest::newRow("creating the list fails") << adapter << 1 << QString() << "COM1";
        QTest::newRow("reading the list fails") << adapter << 2 << QString() << "COM1";
    }
    void autoDetect()
    {
        QFETCH(DeviceList, devices);
        QFETCH(int, failingCall);
        QFETCH(QString, serial);
        QFETCH(QString, portName);
        CSerialLinkSL link; // nothing attached yet: stays closed
        link.SetPortName("COM1");
        for (const Listed& device : devices)
            ftdi.addDevice(device.description, device.serial, device.locId);
        ftdi.createListStatus = failingCall == 1 ? platform::FT_IO_ERROR : platform::FT_OK;
        ftdi.getListStatus = failingCall == 2 ? platform::FT_OTHER_ERROR : platform::FT_OK;
        QCOMPARE(link.AutoDetect(), !serial.isEmpty());
        QCOMPARE(link.FtdiSerial(), serial);
        QCOMPARE(link.PortName(), portName);
        QCOMPARE(link.linkKind, int(serial.isEmpty() ? CSerialLink::ComLink : CSerialLink::FtdiLink));
        QVERIFY(!link.IsOpen());
    }

    void reconnectsFourSecondsAfterLastStatus()
    {
        const std::uint32_t start = 0xFFFFF000; // the delay crosses the tick count's wrap
        platform::FakeClock clock(start);
        ftdi.addDevice("Swiftlane", "SL1", 0x121);
        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        QVERIFY(gates.IsLinkOpen()); // found and opened at construction
        ftdi.pushIncoming("SL1", "$PSTS,1234,1,1,0,0*2C\r\n");
        gates.Poll();
        QCOMPARE(gates.LastStatusTime(), start);

        // Device list reads a poll takes: none until 4000 ms after the last valid status, then one
        // every tick until the adapter is open again.
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
        QCOMPARE(listsAfter(25), 1);
        ftdi.plugIn("SL1");
        QCOMPARE(listsAfter(25), 1);
        QVERIFY(gates.IsLinkOpen());
        QCOMPARE(listsAfter(25), 0);
        QCOMPARE(ftdi.openHandleCount(), 1);
    }

    // A poll takes no more than its ring holds; the rest of a burst waits in the device.
    void burstsArriveWholeOverSeveralPolls()
    {
        ftdi.addDevice("Swiftlane", "SL1", 0x121);
        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        QStringList expected;
        for (int i = 0; i < 60; ++i) {
            ftdi.pushIncoming("SL1",
                              QByteArray::fromStdString(FormatEventSentence(i, i % 4, i % 2)) + "\r\n");
            expected << QString("event %1 %2 %3").arg(i % 4).arg(i).arg(i % 2);
        }
        for (int poll = 0; poll < 10; ++poll)
            gates.Poll();
        QCOMPARE(owner.describe(), expected);
    }
};

QTEST_GUILESS_MAIN(TestGateLink)
#include "test_gate_link.moc"
