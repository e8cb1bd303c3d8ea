// RFID replies becoming tags across ticks on a fake COM port; a flooding reader on a real terminal.
#include "devices/CRFIDScanner.h"
#include "devices/RfidTagOwner.h"
#include "platform/FakeClock.h"
#include "support/FakeComPort.h"

#include <QtTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

using Chunks = QList<QByteArray>;

struct RecordingTagOwner : RfidTagOwner
{
    void OnRFIDTag(const QString& tag) override { tags << tag; }
    QStringList tags;
};

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    return text.mid(text.indexOf("VmRSS:") + 6).trimmed().split(' ').first().toLong();
}

} // namespace

class TestRfidScanner : public QObject
{
    Q_OBJECT

    platform::FakeClock clock;

    void tick(CRFIDScanner& scanner, int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            QCoreApplication::processEvents(); // a real port reads between ticks
            scanner.Poll();
            clock.advance(25); // the controller's tick
        }
    }

private slots:
    // Each chunk arrives just before one poll; then the reader stays quiet for 200 ms. A scan request
    // reaches the reader only while the port is open.
    void repliesBecomeTags()
    {
        const QByteArray longest(62, 'B');
        const std::pair<Chunks, QStringList> cases[] = {
            {{"AA\nBB\rCC\n"}, {"AA", "BB", "CC"}},         // LF or CR ends a reply, several in one read
            {{" \t \r\n 04A3 \t\r\n"}, {"04A3"}},           // a blank line skipped, blanks trimmed
            {{longest + "\r\n"}, {QString(longest)}},       // 62 bytes fit
            {{QByteArray(70, 'A') + "\r\nOK\r\n"}, {"OK"}}, // 70 bytes dropped, the next kept
            {{QByteArray(40, 'A'), QByteArray(23, 'A') + "\n"}, {}}, // 63 bytes over two polls dropped
            // At 9600 baud a reply without a line end may pause between polls; past 100 ms of quiet it ends.
            {{"04A3", "", "", "", "B2C1"}, {"04A3B2C1"}},
            {{"04A3", "", "", "", "", "B2C1"}, {"04A3", "B2C1"}},
            {{QByteArray(70, 'A')}, {}}}; // 70 bytes without a line end dropped
        for (const auto& [chunks, tags] : cases) {
            platform::FakeComPorts ports;
            RecordingTagOwner owner;
            CRFIDScanner scanner(&owner);
            scanner.RequestScan(); // closed: nothing, no message
            platform::FakeComPortState& port = ports.addPort("COM1");
            scanner.Link().SetPortName("COM1");
            QVERIFY(scanner.Link().Open(false));
            scanner.RequestScan();
            for (const QByteArray& chunk : chunks) {
                port.incoming += chunk;
                tick(scanner);
            }
            tick(scanner, 8);
            QCOMPARE(owner.tags, tags);
            scanner.Link().Close();
            scanner.RequestScan();
            QCOMPARE(port.sent, QByteArray("r"));
        }
    }

    // A flooding reader: the memory the real port holds stays bounded, a later tag arrives in a second.
    void aFloodKeepsMemoryFlatAndATagAfterItArrives()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        RecordingTagOwner owner;
        CRFIDScanner scanner(&owner);
        scanner.Link().SetPortName(QString::fromLocal8Bit(::ptsname(master)));
        QVERIFY(scanner.Link().Open(false));
        tick(scanner);
        constexpr qint64 FloodBytes = 32LL * 1024 * 1024;
        const QByteArray chunk(64 * 1024, 'x');
        const long before = residentKiB();
        qint64 flooded = 0;
        for (int round = 0; round < 200000 && flooded < FloodBytes; ++round) {
            for (ssize_t written; (written = ::write(master, chunk.constData(), size_t(chunk.size()))) > 0;)
                flooded += written;
            tick(scanner);
        }
        const long after = residentKiB();
        QVERIFY2(flooded >= FloodBytes, qPrintable(QString::number(flooded)));
#ifdef __SANITIZE_ADDRESS__
        const bool memoryFigureCounts = false; // freed memory waits in the sanitizer's quarantine
#else
        const bool memoryFigureCounts = true;
#endif
        QVERIFY2(!memoryFigureCounts || after - before < 4 * 1024,
                 qPrintable(QStringLiteral("%1 -> %2 KiB").arg(before).arg(after)));
        // The reader falls quiet for 200 ms, then answers a scan: within a second (40 ticks).
        tick(scanner, 8);
        QCOMPARE(::write(master, "04A3B2C1\r\n", 10), ssize_t(10));
        for (int i = 0; i < 40 && owner.tags.isEmpty(); ++i) {
            QThread::msleep(1);
            tick(scanner);
        }
        QCOMPARE(owner.tags, QStringList{"04A3B2C1"});
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(TestRfidScanner)
#include "test_rfid_scanner.moc"
