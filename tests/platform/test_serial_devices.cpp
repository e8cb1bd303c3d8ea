// USB location ids read from device paths, virtual adapters in their folder, a real COM port on
// the simulated RFID reader.
#include "devices/sim/PtyAdapter.h"
#include "devices/sim/RfidReaderSim.h"
#include "platform/ComPort.h"
#include "platform/FtdiDevices.h"
#include "platform/VirtualAdapters.h"

#include <QtTest>

class TestSerialDevices : public QObject
{
    Q_OBJECT

    QTemporaryDir adapterFolder;

private slots:
    void initTestCase()
    {
        QVERIFY(adapterFolder.isValid());
        qputenv("SWIFTLANE_ADAPTER_DIR", adapterFolder.path().toLocal8Bit());
    }

    // -1: a hashed id, non-zero, apart from every digit id, and not shared with the neighbouring socket.
    void usbLocIds()
    {
        const QList<QPair<QByteArray, qint64>> cases = {
            {"/sys/devices/pci0:00/usb1/1-2/1-2.1/1-2.1:1.0/ttyUSB0", 0x121}, // a digit each
            {"usb7/7-1.2.3.4.5.6.7:1.0/ttyUSB0", 0x71234567},                 // 8 digits, bus 7
            {"/sys/devices/a-b:c/usb2/2-1/2-1:1.0/ttyUSB0", 0x21},            // look-alike first
            {"usb1/1-16/1-16:1.0/ttyUSB0", -1},                               // port 16
            {"usb16/16-1/16-1:1.0/ttyUSB0", -1},                              // bus 16
            {"usb8/8-1.2.3.4.5.6.7:1.0/ttyUSB0", -1},                         // 8 digits, bus 8
            {"/sys/devices/pnp0/00:04/tty/ttyS0", 0}};                        // no interface
        for (const auto& [path, expected] : cases) {
            const std::uint32_t id = platform::usbLocIdFromDevicePath(path.toStdString());
            const std::uint32_t neighbour =
                platform::usbLocIdFromDevicePath(QByteArray(path).replace("-1", "-2").toStdString());
            QVERIFY2(expected >= 0 ? id == expected : id >= 0x80000000u && id != neighbour, path.constData());
        }
    }

    // A link is an adapter only if it leads to a terminal and any lock beside it is still held: a
    // terminal number freed by a killed simulator may belong to any program by now.
    void listingAndPlugRespectTheOwnersLock()
    {
        const QString folder = adapterFolder.path();
        sim::PtyAdapter foreign("OTHER"), owned("OWNED");
        QVERIFY(foreign.Plug() && owned.Plug());
        const auto link = [&](const char* name, const QString& target, bool lockFile) {
            QFile::link(target, folder + "/" + name);
            if (lockFile)
                QVERIFY(QFile(platform::virtualAdapterLockPath(folder, name)).open(QIODevice::WriteOnly));
        };
        link("HANDMADE", foreign.DevicePath(), false); // another tool's link: no lock file
        link("NULLDEV", "/dev/null", false);
        link("STALE", foreign.DevicePath(), true); // its owner died, the number was reused
        const auto names = [] {
            QStringList listed;
            for (const auto& adapter : platform::listVirtualAdapters())
                listed << adapter.name;
            return listed;
        };
        QCOMPARE(names(), QStringList({"HANDMADE", "OTHER", "OWNED"}));

        QVERIFY(!sim::PtyAdapter("OWNED").Plug()); // its owner lives
        QVERIFY(!sim::PtyAdapter("HANDMADE").Plug());
        sim::PtyAdapter replacement("STALE");
        QVERIFY(replacement.Plug());
        QCOMPARE(QFileInfo(folder + "/STALE").symLinkTarget(), replacement.DevicePath());
        QCOMPARE(names(), QStringList({"HANDMADE", "OTHER", "OWNED", "STALE"}));

        replacement.Unplug();
        QVERIFY(!QFileInfo::exists(replacement.LockPath()));
    }

    // COM ports count from 1, the system's serial devices from 0.
    void comNamesOpenTheSystemsSerialDevices()
    {
        const std::pair<QString, QString> names[] = {{"COM1", "/dev/ttyS0"},
                                                     {"com12", "/dev/ttyS11"},
                                                     {"/dev/ttyUSB3", "/dev/ttyUSB3"},
                                                     {"COM0", ""},
                                                     {"COM01", ""},
                                                     {"ttyS0", ""},
                                                     {"COM1x", ""}};
        for (const auto& [name, device] : names)
            QVERIFY2(platform::comDevicePath(name) == device, qPrintable(name));
    }

    // The simulated RFID reader answers each "r" with the next tag, from the first again after the
    // last, and ignores anything else; the port hands its bytes over raw (no line-end translation).
    // A hung-up terminal reports errors in a hot loop; the port closes on the first one.
    void comPortReadsBytesAndClosesOnceOnHangUp()
    {
        sim::RfidReaderSim reader("READER1", {"04A3B2C1", "77"}, {}, adapterFolder.filePath("serial"));
        QVERIFY(reader.Plug());
        std::unique_ptr<platform::ComPort> port = platform::createComPort();
        QVERIFY(port->open(reader.DevicePath()) && port->applySettings(platform::LineSettings{}));
        QCOMPARE(port->write("rxrr", 4), 4);
        QByteArray answers;
        char buffer[64];
        QTRY_VERIFY_WITH_TIMEOUT(
            (reader.Poll(),
             answers.append(buffer, std::max(0, port->read(buffer, sizeof buffer))).size() >= 24),
            2000);
        QCOMPARE(answers, QByteArray("04A3B2C1\r\n77\r\n04A3B2C1\r\n"));
        reader.Unplug();
        QTRY_VERIFY_WITH_TIMEOUT(!port->isOpen(), 2000);
        QCOMPARE(port->read(buffer, sizeof buffer), -1);
    }
};

QTEST_GUILESS_MAIN(TestSerialDevices)
#include "test_serial_devices.moc"
