// USB location ids read from device paths, virtual adapters in their folder, a real COM port.
#include "devices/sim/PtyAdapter.h"
#include "platform/ComPort.h"
#include "platform/FtdiDevices.h"
#include "platform/VirtualAdapters.h"

#include <QTemporaryDir>
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

    void usbLocIds_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<qint64>("expected"); // -1: a hashed id
        QTest::newRow("digit each") << QByteArray("/sys/devices/pci0:00/usb1/1-2/1-2.1/1-2.1:1.0/ttyUSB0")
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

    // A link counts as an adapter only if it leads to a terminal and, where a lock file says who
    // made it, that program still holds the lock; a terminal number freed by a killed simulator
    // may belong to any program by now.
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
        for (const char* name : {"HANDMADE", "NULLDEV"})
            QFile::remove(folder + "/" + name);
    }

    void comPortReadsBytesAndClosesOnceOnHangUp()
    {
        sim::PtyAdapter adapter("PTY1");
        QVERIFY(adapter.Plug());
        std::unique_ptr<platform::ComPort> port = platform::createComPort();
        QVERIFY(port->open(adapter.DevicePath()));
        QVERIFY(port->applySettings(platform::LineSettings{}));
        QCOMPARE(adapter.Write("$PSTS,1\r\n"), 9);
        QByteArray got;
        char buffer[64];
        QTRY_VERIFY_WITH_TIMEOUT(
            got.append(buffer, std::max(0, port->read(buffer, sizeof buffer))).size() >= 9, 2000);
        QCOMPARE(got, QByteArray("$PSTS,1\r\n")); // raw: no line-end translation

        // A hung-up terminal reports errors in a hot loop; only the event loop runs here, and the
        // port must close on the first one.
        adapter.Unplug();
        QTRY_VERIFY_WITH_TIMEOUT(!port->isOpen(), 2000);
        QCOMPARE(port->read(buffer, sizeof buffer), -1);
    }
};

QTEST_GUILESS_MAIN(TestSerialDevices)
#include "test_serial_devices.moc"
