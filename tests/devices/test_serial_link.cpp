#include "devices/CByteRing.h"
#include "devices/CSerialLink.h"
#include "platform/OperatorDialogs.h"
#include "support/FakeComPort.h"
#include "support/FakeFtdiDevices.h"

#include <QtTest>

#include <deque>

namespace {

// Answers every box with Ok and remembers its text.
class RecordingDialogs : public platform::OperatorDialogs
{
public:
    RecordingDialogs() { platform::setDialogs(this); }
    ~RecordingDialogs() override { platform::setDialogs(nullptr); }
    QMessageBox::StandardButton message(QMessageBox::Icon, QWidget*, const QString&, const QString& text,
                                        QMessageBox::StandardButtons, QMessageBox::StandardButton) override
    {
        boxes << text;
        return QMessageBox::Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString text(QWidget*, const QString&, const QString&, const QString&, bool* ok) override
    {
        *ok = false;
        return {};
    }
    QStringList boxes;
};

QByteArray pattern(int size, int offset = 0)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char((i + offset) % 251);
    return bytes;
}

QByteArray readOnce(CSerialLink& link, int max = 256)
{
    unsigned char buffer[256];
    const int n = link.Read(buffer, max);
    return QByteArray(reinterpret_cast<const char*>(buffer), n);
}

QByteArray readAll(CSerialLink& link)
{
    QByteArray all;
    for (QByteArray chunk = readOnce(link); !chunk.isEmpty(); chunk = readOnce(link))
        all += chunk;
    return all;
}

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private:
    RecordingDialogs dialogs;

    void openCom(CSerialLink& link, platform::FakeComPorts& ports, const QString& name)
    {
        ports.addPort(name);
        link.SetPortName(name);
        QVERIFY(link.Open(false));
    }

private slots:
    void init() { dialogs.boxes.clear(); }

    void ringKeepsNewestBytes_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("kept");
        QTest::newRow("256") << 256 << 254;
        QTest::newRow("64") << 64 << 62;
    }
    void ringKeepsNewestBytes()
    {
        QFETCH(int, size);
        QFETCH(int, kept);
        CByteRing ring;
        ring.Init(size);
        QCOMPARE(ring.FreeSpace(), kept);
        for (int i = 0; i < 300; ++i)
            ring.Push(static_cast<unsigned char>(i));
        QCOMPARE(ring.Count(), kept);
        QCOMPARE(ring.FreeSpace(), 0);
        unsigned char b = 0;
        for (int i = 300 - kept; i < 300; ++i) {
            QVERIFY(ring.Pop(b));
            QCOMPARE(b, static_cast<unsigned char>(i));
        }
        QVERIFY(!ring.Pop(b));
        ring.Free();
        ring.Push(1);
        QVERIFY(!ring.Pop(b));
        QCOMPARE(ring.FreeSpace(), 0);
    }

    // Bulk and single-byte operations must keep the same bytes as a queue that drops its oldest.
    void ringBulkOperationsMatchSingleBytes()
    {
        for (int size : {3, 16, 256}) {
            CByteRing ring;
            ring.Init(size);
            std::deque<unsigned char> model;
            unsigned char next = 0;
            for (int step = 0; step < 400; ++step) {
                const int amount = (step * 7919) % (size + 20);
                QByteArray chunk;
                for (int i = 0; i < amount; ++i)
                    chunk += char(next++);
                switch (step % 4) {
                case 0:
                    ring.PushAll(reinterpret_cast<const unsigned char*>(chunk.constData()), amount);
                    break;
                case 1:
                    for (char c : chunk)
                        ring.Push(static_cast<unsigned char>(c));
                    break;
                case 2: {
                    unsigned char out[300];
                    const int got = ring.PopAll(out, amount);
                    QCOMPARE(got, std::min<int>(amount, int(model.size())));
                    for (int i = 0; i < got; ++i, model.pop_front())
                        QCOMPARE(out[i], model.front());
                    continue;
                }
                default:
                    for (unsigned char b = 0; ring.Pop(b); model.pop_front())
                        QCOMPARE(b, model.front());
                    QVERIFY(model.empty());
                    continue;
                }
                for (char c : chunk)
                    model.push_back(static_cast<unsigned char>(c));
                while (int(model.size()) > size - 2)
                    model.pop_front();
                QCOMPARE(ring.Count(), int(model.size()));
            }
        }
    }

    void unknownLinkKindIsInert()
    {
        platform::FakeComPorts ports;
        CSerialLink link;
        link.linkKind = 2;
        const unsigned char data[] = {'r'};
        QVERIFY(!link.IsOpen());
        QVERIFY(!link.Open(true));
        QCOMPARE(link.Write(data, 1), 0);
        QCOMPARE(readOnce(link), QByteArray());
        QCOMPARE(dialogs.boxes, QStringList{});
        QCOMPARE(ports.created, 0);
    }

    void setFtdiSerialChoosesKind()
    {
        CSerialLink link;
        link.SetFtdiSerial("FT123");
        QCOMPARE(link.linkKind, int(CSerialLink::FtdiLink));
        link.SetFtdiSerial("");
        QCOMPARE(link.linkKind, int(CSerialLink::ComLink));
    }

    void comOpenFailure_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("showError");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("missing, quiet") << false << false << QStringList{};
        QTest::newRow("missing, shown") << false << true << QStringList{"Failed to open\nCom link COM9"};
        QTest::newRow("settings rejected") << true << true << QStringList{"Failed to open\nCom link COM9"};
    }
    void comOpenFailure()
    {
        QFETCH(bool, exists);
        QFETCH(bool, showError);
        QFETCH(QStringList, boxes);
        platform::FakeComPorts ports;
        if (exists)
            ports.addPort("COM9").failSettings = true;
        CSerialLink link;
        link.SetPortName("COM9");
        QVERIFY(!link.Open(showError));
        QVERIFY(!link.IsOpen());
        QCOMPARE(link.PortName(), QString());
        QCOMPARE(dialogs.boxes, boxes);
        if (exists)
            QVERIFY(!ports.port("COM9")->open);
    }

    void comOpenAppliesSettingsAndWarnsWhenAlreadyOpen()
    {
        platform::FakeComPorts ports;
        CSerialLink link;
        link.baudRate = 19200;
        link.parity = 2;
        link.dataBits = 7;
        link.stopBits = 2;
        link.xonXoff = 1;
        openCom(link, ports, "COM3");
        const platform::LineSettings& applied = ports.port("COM3")->settings;
        QCOMPARE(applied.baudRate, 19200u);
        QCOMPARE(applied.parity, std::int8_t(2));
        QCOMPARE(applied.dataBits, std::uint8_t(7));
        QCOMPARE(applied.stopBits, std::uint8_t(2));
        QVERIFY(applied.xonXoff);
        QVERIFY(link.Open(false));
        QCOMPARE(dialogs.boxes, QStringList{"COM3 already open!"});
        QCOMPARE(ports.port("COM3")->openCount, 1);
        link.Close();
        QVERIFY(!link.IsOpen());
        QVERIFY(!ports.port("COM3")->open);
    }

    void comWritesReachThePortAndTheQueueDrains()
    {
        platform::FakeComPorts ports;
        CSerialLink link;
        openCom(link, ports, "COM3");
        platform::FakeComPortState& port = *ports.port("COM3");
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
        QCOMPARE(port.sent, data.left(256));
        QCOMPARE(link.TransmitCount(), 0);
        QCOMPARE(link.Write(bytes + 256, 44), 44);
        QCOMPARE(port.sent, data);
    }

    void comReadKeepsWhatDoesNotFit()
    {
        platform::FakeComPorts ports;
        CSerialLink link;
        openCom(link, ports, "COM3");
        platform::FakeComPortState& port = *ports.port("COM3");
        const QByteArray data = pattern(300);
        port.incoming = data.left(100);
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        QCOMPARE(readOnce(link, 0), QByteArray()); // stored, not handed out
        QCOMPARE(link.ReceiveCount(), 100);
        port.incoming += data.mid(100);
        QCOMPARE(readOnce(link, 0), QByteArray());
        QCOMPARE(link.ReceiveCount(), 255);
        QCOMPARE(port.incoming.size(), 45);
        QCOMPARE(readAll(link), data);
    }

    void readSmallerThanStoreKeepsRest()
    {
        platform::FakeComPorts ports;
        CSerialLink link;
        openCom(link, ports, "COM3");
        platform::FakeComPortState& port = *ports.port("COM3");
        const QByteArray data = pattern(40);
        port.incoming = data.left(25);
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        QCOMPARE(readOnce(link, 10), data.left(10));
        port.incoming += data.mid(25);
        QCOMPARE(readOnce(link, 256), data.mid(10));
    }

    void comDeviceErrorClosesLink()
    {
        platform::FakeComPorts ports;
        CSerialLink link;
        openCom(link, ports, "COM3");
        ports.port("COM3")->failed = true;
        QCOMPARE(readOnce(link), QByteArray());
        QVERIFY(!link.IsOpen());
    }

    void ftdiOpenPassesSettings_data()
    {
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("wordLength");
        QTest::addColumn<int>("ftStopBits");
        QTest::addColumn<int>("ftParity");
        QTest::newRow("8N1") << 8 << 0 << 0 << 8 << 0 << 0;
        QTest::newRow("7E2") << 7 << 2 << 2 << 7 << 2 << 2;
        QTest::newRow("6 bits, 1.5 stop, space") << 6 << 1 << 4 << 7 << 0 << 4;
        QTest::newRow("parity out of range") << 8 << 0 << 5 << 8 << 0 << 0;
    }
    void ftdiOpenPassesSettings()
    {
        QFETCH(int, dataBits);
        QFETCH(int, stopBits);
        QFETCH(int, parity);
        QFETCH(int, wordLength);
        QFETCH(int, ftStopBits);
        QFETCH(int, ftParity);
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Adapter", "FT1", 0x11);
        CSerialLink link;
        link.SetFtdiSerial("FT1");
        link.baudRate = 115200;
        link.dataBits = std::uint8_t(dataBits);
        link.stopBits = std::uint8_t(stopBits);
        link.parity = std::int8_t(parity);
        QVERIFY(link.Open(true));
        QCOMPARE(ftdi.lastBaudRate, 115200u);
        QCOMPARE(int(ftdi.lastWordLength), wordLength);
        QCOMPARE(int(ftdi.lastStopBits), ftStopBits);
        QCOMPARE(int(ftdi.lastParity), ftParity);
    }

    void ftdiFailedOpenLeaksNoHandle()
    {
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Adapter", "FT1", 0x11);
        ftdi.resetStatus = platform::FT_IO_ERROR;
        {
            CSerialLink link;
            link.SetFtdiSerial("FT1");
            link.SetPortName("USB11");
            QVERIFY(!link.Open(true));
            QCOMPARE(dialogs.boxes, QStringList{"Failed to open\nCom link USB11"});
            QCOMPARE(link.PortName(), QString("USB11"));
            QVERIFY(!link.Open(false));
            QCOMPARE(ftdi.openHandleCount(), 1);
            ftdi.resetStatus = platform::FT_OK;
            QVERIFY(link.Open(false));
            QCOMPARE(ftdi.openHandleCount(), 1);
        }
        QCOMPARE(ftdi.openHandleCount(), 0);
    }

    void ftdiReadKeepsWhatDoesNotFit()
    {
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Adapter", "FT1", 0x11);
        CSerialLink link;
        link.SetFtdiSerial("FT1");
        QVERIFY(link.Open(false));
        const QByteArray data = pattern(700);
        ftdi.pushIncoming("FT1", data.left(155));
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        readOnce(link, 0);
        ftdi.pushIncoming("FT1", data.mid(155));
        readOnce(link, 0);
        QCOMPARE(link.ReceiveCount(), 255);
        QCOMPARE(readAll(link), data);
    }

    void ftdiWriteUsesLow13BitsOfLength()
    {
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Adapter", "FT1", 0x11);
        CSerialLink link;
        link.SetFtdiSerial("FT1");
        QVERIFY(link.Open(false));
        const QByteArray data = pattern(8193);
        QCOMPARE(link.Write(reinterpret_cast<const unsigned char*>(data.constData()), 8193), 1);
        QCOMPARE(ftdi.device("FT1")->written, data.left(1));
    }

    void ftdiUnplugClosesLink()
    {
        platform::FakeFtdiDevices ftdi;
        ftdi.addDevice("Adapter", "FT1", 0x11);
        CSerialLink link;
        link.SetFtdiSerial("FT1");
        QVERIFY(link.Open(false));
        ftdi.pushIncoming("FT1", "abc");
        ftdi.unplug("FT1");
        QCOMPARE(readOnce(link), QByteArray());
        QVERIFY(!link.IsOpen());
        ftdi.plugIn("FT1");
        QVERIFY(link.Open(false));
        QCOMPARE(ftdi.openHandleCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_serial_link.moc"
