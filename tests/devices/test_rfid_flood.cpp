// An RFID reader that floods (a faulty reader, a wrong baud rate) through a real serial port on a
// pseudo-terminal: the memory the port holds stays bounded, and a tag sent after the flood is
// handed on within a second.
#include "devices/CRFIDScanner.h"
#include "devices/RfidTagOwner.h"
#include "platform/FakeClock.h"

#include <QCoreApplication>
#include <QFile>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

struct RecordingTagOwner : RfidTagOwner
{
    void OnRFIDTag(const QString& tag) override { tags << tag; }
    QStringList tags;
};

// Resident memory of this process in KiB, from /proc.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Writes as much as the terminal takes now; returns the bytes written.
qint64 writeWhatFits(int master, const QByteArray& bytes)
{
    qint64 total = 0;
    for (;;) {
        const ssize_t written = ::write(master, bytes.constData(), static_cast<size_t>(bytes.size()));
        if (written <= 0)
            return total;
        total += written;
    }
}

} // namespace

class RfidFloodTest : public QObject
{
    Q_OBJECT

private slots:
    void aFloodKeepsMemoryFlatAndATagAfterItArrives()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        platform::FakeClock clock;
        RecordingTagOwner owner;
        CRFIDScanner scanner(&owner);
        scanner.Link().SetPortName(QString::fromLocal8Bit(::ptsname(master)));
        QVERIFY(scanner.Link().Open(false));
        const auto tick = [&] {
            QCoreApplication::processEvents(); // the port's own reads between ticks
            scanner.Poll();
            clock.advance(25);
        };
        tick();

        // 32 MB of bytes that hold no line end, as fast as the terminal takes them.
        constexpr qint64 FloodBytes = 32LL * 1024 * 1024;
        const QByteArray chunk(64 * 1024, 'x');
        const long before = residentKiB();
        qint64 flooded = 0;
        for (int round = 0; round < 200000 && flooded < FloodBytes; ++round) {
            flooded += writeWhatFits(master, chunk);
            tick();
        }
        const long after = residentKiB();
        QVERIFY2(flooded >= FloodBytes, qPrintable(QString::number(flooded)));
        qInfo("resident memory %ld KiB before, %ld KiB after a %lld MB flood", before, after,
              flooded / (1024 * 1024));
        QVERIFY2(after - before < 4 * 1024,
                 qPrintable(QStringLiteral("%1 -> %2 KiB").arg(before).arg(after)));

        // The reader falls quiet for 200 ms, then answers a scan: within a second (40 ticks).
        for (int i = 0; i < 8; ++i)
            tick();
        QCOMPARE(::write(master, "04A3B2C1\r\n", 10), ssize_t(10));
        for (int i = 0; i < 40 && owner.tags.isEmpty(); ++i) {
            QThread::msleep(1);
            tick();
        }
        QCOMPARE(owner.tags, QStringList{"04A3B2C1"});
        scanner.Link().Close();
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(RfidFloodTest)
#include "test_rfid_flood.moc"
