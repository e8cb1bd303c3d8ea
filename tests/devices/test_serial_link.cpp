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
    QString text(QWidget*, const QString&, const QString&, const QString&, bool*) override { return {}; }
    QStringList boxes;
};

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

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

    RecordingDialogs dialogs;
    platform::FakeComPorts ports;
    platform::FakeFtdiDevices ftdi;

    // An open link of the given kind whose device receives into *incoming.
    void openLink(CSerialLink& link, bool useFtdi, QByteArray** incoming)
    {
        if (useFtdi) {
            ftdi.clearDevices();
            link.SetFtdiSerial("FT1");
            *incoming = &ftdi.addDevice("Adapter", "FT1", 0x11).incoming;
        } else {
            ports.addPort("COM3") = platform::FakeComPortState{};
            *incoming = &ports.port("COM3")->incoming;
            link.SetPortName("COM3");
        }
        QVERIFY(link.Open(false));
    }

private slots:
    void init() { dialogs.boxes.clear(); }

    // Bulk and single-byte operations keep the same bytes as a queue of size - 2 that drops its oldest.
    void ringMatchesBoundedQueue()
    {
        for (int size : {3, 64, 256}) {
            CByteRing ring;
            ring.Init(size);
            std::deque<unsigned char> model;
            unsigned char next = 0;
            for (int step = 0; step < 400; ++step) {
                const int amount = (step * 7919) % (size + 60);
                unsigned char bytes[320];
                if (step % 3 == 2) {
                    const int got = ring.PopAll(bytes, amount);
                    QCOMPARE(got, std::min(amount, int(model.size())));
                    for (int i = 0; i < got; ++i, model.pop_front())
                        QCOMPARE(bytes[i], model.front());
                    continue;
                }
                for (int i = 0; i < amount; ++i) {
                    bytes[i] = next++;
                    model.push_back(bytes[i]);
                }
                for (int i = 0; step % 3 == 1 && i < amount; ++i)
                    ring.Push(bytes[i]);
                if (step % 3 == 0)
                    ring.PushAll(bytes, amount);
                while (int(model.size()) > size - 2)
                    model.pop_front();
                QCOMPARE(ring.Count(), int(model.size()));
            }
            for (unsigned char b = 0; ring.Pop(b); model.pop_front())
                QCOMPARE(b, model.front());
            QVERIFY(model.empty());
        }
    }

    void unknownLinkKindIsInert()
    {
        CSerialLink link;
        link.linkKind = 2;
        const unsigned char data[] = {'r'};
        QVERIFY(!link.Open(true));
        QVERIFY(!link.IsOpen());
        QCOMPARE(link.Write(data, 1), 0);
        QCOMPARE(readOnce(link), QByteArray());
        QCOMPARE(dialogs.boxes, QStringList{});
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
        if (exists)
            ports.addPort("COM9").failSettings = true;
        CSerialLink link;
        link.SetPortName("COM9");
        QVERIFY(!link.Open(showError));
        QVERIFY(!link.IsOpen());
        QCOMPARE(link.PortName(), QString());
        QCOMPARE(dialogs.boxes, boxes);
        QVERIFY(!exists || !ports.port("COM9")->open);
    }

    void openOnOpenLinkWarnsAndKeepsPort()
    {
        CSerialLink link;
        QByteArray* incoming = nullptr;
        openLink(link, false, &incoming);
        QVERIFY(link.Open(false));
        QCOMPARE(dialogs.boxes, QStringList{"COM3 already open!"});
        QCOMPARE(ports.port("COM3")->openCount, 1);
    }

    void comWritesReachThePortAndTheQueueDrains()
    {
        CSerialLink link;
        QByteArray* incoming = nullptr;
        openLink(link, false, &incoming);
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
        QByteArray* incoming = nullptr;
        openLink(link, useFtdi, &incoming);
        const QByteArray data = pattern(700);
        *incoming = data.left(100);
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        readOnce(link, 0); // stored, not handed out
        *incoming += data.mid(100);
        QTest::ignoreMessage(QtDebugMsg, "Q exceeds buffer\n");
        QCOMPARE(readOnce(link, 10), data.left(10));
        QCOMPARE(link.ReceiveCount(), 245);
        QByteArray all = data.left(10);
        for (QByteArray chunk = readOnce(link); !chunk.isEmpty(); chunk = readOnce(link))
            all += chunk;
        QCOMPARE(all, data);
    }

    void ftdiOpenPassesSettings_data()
    {
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<int>("parity");
        QTest::addColumn<QList<int>>("sent"); // word length, stop bits, parity
        QTest::newRow("7E2") << 7 << 2 << 2 << QList<int>{7, 2, 2};
        QTest::newRow("6 bits, 1.5 stop, parity 5") << 6 << 1 << 5 << QList<int>{7, 0, 0};
    }
    void ftdiOpenPassesSettings()
    {
        QFETCH(int, dataBits);
        QFETCH(int, stopBits);
        QFETCH(int, parity);
        QFETCH(QList<int>, sent);
        CSerialLink link;
        link.dataBits = std::uint8_t(dataBits);
        link.stopBits = std::uint8_t(stopBits);
        link.parity = std::int8_t(parity);
        QByteArray* incoming = nullptr;
        openLink(link, true, &incoming);
        QCOMPARE((QList<int>{int(ftdi.lastWordLength), int(ftdi.lastStopBits), int(ftdi.lastParity)}), sent);
        const QByteArray data = pattern(8193);
        QCOMPARE(link.Write(reinterpret_cast<const unsigned char*>(data.constData()), 8193), 1);
    }

    void ftdiFailedOpenLeaksNoHandle()
    {
        ftdi.clearDevices();
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

    void deviceGoneClosesLink_data() { readKeepsWhatDoesNotFit_data(); }
    void deviceGoneClosesLink()
    {
        QFETCH(bool, useFtdi);
        CSerialLink link;
        QByteArray* incoming = nullptr;
        openLink(link, useFtdi, &incoming);
        *incoming = "abc";
        if (useFtdi)
            ftdi.unplug("FT1");
        else
            ports.port("COM3")->failed = true;
        QCOMPARE(readOnce(link), QByteArray());
        QVERIFY(!link.IsOpen());
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_serial_link.moc"
