// The RFID scanner on a fake COM port: how the reader's replies become tags across ticks.
#include "devices/CRFIDScanner.h"
#include "devices/RfidTagOwner.h"
#include "platform/FakeClock.h"
#include "support/FakeComPort.h"

#include <QtTest>

namespace {

struct RecordingTagOwner : RfidTagOwner
{
    void OnRFIDTag(const QString& tag) override { tags << tag; }
    QStringList tags;
};

} // namespace

class TestRfidScanner : public QObject
{
    Q_OBJECT

    platform::FakeComPorts ports;
    platform::FakeClock clock;

    // A scanner opened on a fresh fake port; returns the port.
    platform::FakeComPortState& open(CRFIDScanner& scanner)
    {
        static int next = 1;
        const QString name = QStringLiteral("COM%1").arg(next++);
        platform::FakeComPortState& port = ports.addPort(name);
        scanner.Link().SetPortName(name);
        if (!scanner.Link().Open(false))
            qFatal("the fake port did not open");
        return port;
    }

    void tick(CRFIDScanner& scanner, int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            scanner.Poll();
            clock.advance(25); // the controller's tick
        }
    }

private slots:
    // Each chunk arrives just before one poll; then the reader stays quiet for 200 ms.
    void repliesBecomeTags_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QStringList>("tags");
        const QByteArray longest(62, 'B');
        QTest::newRow("split over two polls")
            << QList<QByteArray>{"04A3", "B2C1\r\n"} << QStringList{"04A3B2C1"};
        QTest::newRow("line end in the next poll")
            << QList<QByteArray>{"04A3B2C1", "\r\n"} << QStringList{"04A3B2C1"};
        QTest::newRow("LF alone or CR alone ends a reply, several in one read")
            << QList<QByteArray>{"AA\nBB\rCC\n"} << QStringList{"AA", "BB", "CC"};
        QTest::newRow("blanks only") << QList<QByteArray>{" \t \r\n"} << QStringList{};
        QTest::newRow("trimmed") << QList<QByteArray>{" 04A3 \t\r\n"} << QStringList{"04A3"};
        QTest::newRow("62 bytes fit") << QList<QByteArray>{longest + "\r\n"} << QStringList{QString(longest)};
        QTest::newRow("70 bytes dropped, next reply kept")
            << QList<QByteArray>{QByteArray(70, 'A') + "\r\nOK\r\n"} << QStringList{"OK"};
        QTest::newRow("63 bytes over two polls dropped")
            << QList<QByteArray>{QByteArray(40, 'A'), QByteArray(23, 'A') + "\n"} << QStringList{};
        QTest::newRow("70 bytes without line end dropped")
            << QList<QByteArray>{QByteArray(70, 'A')} << QStringList{};
    }
    void repliesBecomeTags()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QStringList, tags);
        RecordingTagOwner owner;
        CRFIDScanner scanner(&owner);
        platform::FakeComPortState& port = open(scanner);
        for (const QByteArray& chunk : chunks) {
            port.incoming += chunk;
            tick(scanner);
        }
        tick(scanner, 8);
        QCOMPARE(owner.tags, tags);
    }

    // At 9600 baud a reply without a line end may pause between polls; 100 ms of quiet ends it.
    void replyWithoutLineEndWaitsForQuiet()
    {
        RecordingTagOwner owner;
        CRFIDScanner scanner(&owner);
        platform::FakeComPortState& port = open(scanner);
        port.incoming = "04A3";
        tick(scanner, 3); // 75 ms of quiet so far
        port.incoming = "B2C1";
        tick(scanner, 4);
        QCOMPARE(owner.tags, QStringList{});
        tick(scanner);
        QCOMPARE(owner.tags, QStringList{"04A3B2C1"});
    }

    void scanRequestReachesTheReaderOnlyWhenOpen()
    {
        CRFIDScanner scanner(nullptr);
        scanner.RequestScan(); // closed: nothing, no message
        platform::FakeComPortState& port = open(scanner);
        scanner.RequestScan();
        scanner.Link().Close();
        scanner.RequestScan();
        QCOMPARE(port.sent, QByteArray("r"));
    }
};

QTEST_GUILESS_MAIN(TestRfidScanner)
#include "test_rfid_scanner.moc"
