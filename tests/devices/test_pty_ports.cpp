#include "devices/CGateSystem.h"
#include "platform/ComPort.h"
#include "platform/FtdiDevices.h"
#include "platform/VirtualAdapters.h"
#include "support/RecordingGateOwner.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The master side of a pseudo-terminal; the test plays the device on it.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(ptsname(master));
    }
    ~PseudoTerminal() { hangUp(); }
    bool ok() const { return master >= 0 && !slave.isEmpty(); }
    void send(const QByteArray& bytes) const
    {
        QCOMPARE(::write(master, bytes.constData(), bytes.size()), bytes.size());
    }
    QByteArray receive(int timeoutMs) const
    {
        pollfd fd{master, POLLIN, 0};
        char buffer[256];
        if (::poll(&fd, 1, timeoutMs) <= 0)
            return {};
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        return n > 0 ? QByteArray(buffer, int(n)) : QByteArray();
    }
    void hangUp()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }

    int master = -1;
    QString slave;
};

// Polls `step` until it returns true or two seconds pass.
template <typename Step> bool within2s(Step step)
{
    QDeadlineTimer deadline(2000);
    while (!deadline.hasExpired()) {
        if (step())
            return true;
        QTest::qWait(5);
    }
    return step();
}

} // namespace

class TestPtyPorts : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir adapterDir;

private slots:
    void initTestCase()
    {
        QVERIFY(adapterDir.isValid());
        qputenv("SWIFTLANE_ADAPTER_DIR", adapterDir.path().toLocal8Bit());
    }

    void comPortCarriesBytesAndClosesOnHangUp()
    {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        std::unique_ptr<platform::ComPort> port = platform::createComPort();
        QVERIFY(port->open(pty.slave));
        QVERIFY(port->applySettings(platform::LineSettings{}));

        pty.send("$PSTS,1");
        QByteArray got;
        QVERIFY(within2s([&] {
            char buffer[64];
            const int n = port->read(buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, n);
            return got.size() >= 7;
        }));
        QCOMPARE(got, QByteArray("$PSTS,1"));

        QCOMPARE(port->write("r", 1), 1);
        QCOMPARE(pty.receive(2000), QByteArray("r"));

        pty.hangUp();
        char buffer[8];
        QVERIFY(within2s([&] { return port->read(buffer, sizeof buffer) < 0; }));
        QVERIFY(!port->isOpen());
        QCOMPARE(port->read(buffer, sizeof buffer), -1);
    }

    void hangUpWhileIdleClosesPort()
    {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        std::unique_ptr<platform::ComPort> port = platform::createComPort();
        QVERIFY(port->open(pty.slave));
        pty.hangUp();
        // Only the event loop runs here: the port must notice the hang-up and close.
        QVERIFY(within2s([&] { return !port->isOpen(); }));
    }

    void locIdFromUsbPath_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<uint>("locId");
        QTest::newRow("hub port")
            << QByteArray("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2.1/1-2.1:1.0/ttyUSB0") << 0x121u;
        QTest::newRow("root port") << QByteArray("/sys/devices/pci0000:00/0000:00:14.0/usb3/3-4/3-4:1.0")
                                   << 0x34u;
        QTest::newRow("not usb") << QByteArray("/sys/devices/platform/serial8250/tty/ttyS0") << 0u;
        QTest::newRow("port above 15") << QByteArray("/sys/devices/usb1/1-16/1-16:1.0") << 0u;
    }
    void locIdFromUsbPath()
    {
        QFETCH(QByteArray, path);
        QFETCH(uint, locId);
        QCOMPARE(platform::usbLocIdFromDevicePath(path.toStdString()), locId);
    }

    void emptyListIsNoError()
    {
        platform::FtdiDevices& ftdi = platform::ftdiDevices();
        std::uint32_t count = 99;
        QCOMPARE(ftdi.createDeviceInfoList(&count), platform::FT_OK);
        QCOMPARE(count, 0u); // no USB adapters on a build machine, no virtual ones in our folder
        platform::FtHandle handle = nullptr;
        QCOMPARE(ftdi.openBySerialNumber("NOSUCH", &handle), platform::FT_DEVICE_NOT_FOUND);
        QCOMPARE(ftdi.close(&count), platform::FT_INVALID_HANDLE);
    }

    void gateSystemReadsVirtualAdapterUntilItGoes()
    {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        const QString link = adapterDir.filePath("GATESIM7");
        QVERIFY(QFile::link(pty.slave, link));

        platform::FtdiDevices& ftdi = platform::ftdiDevices();
        std::uint32_t count = 0;
        QCOMPARE(ftdi.createDeviceInfoList(&count), platform::FT_OK);
        QCOMPARE(count, 1u);
        platform::FtDeviceListInfoNode node;
        QCOMPARE(ftdi.getDeviceInfoList(&node, &count), platform::FT_OK);
        QCOMPARE(QByteArray(node.SerialNumber), QByteArray("GATESIM7"));
        QCOMPARE(QByteArray(node.Description), QByteArray(platform::VirtualAdapterDescription));
        QCOMPARE(node.LocId, platform::virtualAdapterLocId("GATESIM7"));

        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        QVERIFY(gates.IsLinkOpen());
        pty.send("$PSTS,1234,1,1,0,0*2C\r\n$PEVT,102,2,1*0B\r\n");
        QVERIFY(within2s([&] {
            gates.Poll();
            return owner.calls.size() >= 3;
        }));
        QCOMPARE(owner.describe(), (QStringList{"status 1234", "gates 1100", "event 2 102 1"}));

        pty.hangUp();
        QVERIFY(within2s([&] {
            gates.Poll();
            return !gates.IsLinkOpen();
        }));
        QFile::remove(link);
    }
};

QTEST_GUILESS_MAIN(TestPtyPorts)
#include "test_pty_ports.moc"
