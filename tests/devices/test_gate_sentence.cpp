// The sentence protocol on its own: the frame check, the two parsers, and the assembler against
// the assembly rule written out byte by byte. Checksums are written out, never computed here.
#include "devices/CGateSystem.h"
#include "devices/GateSentence.h"
#include "devices/GateSystemOwner.h"
#include "devices/SentenceAssembler.h"
#include "support/FakeFtdiDevices.h"

#include <QRandomGenerator>
#include <QtTest>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
} // namespace

// Counts every allocation of the program, so a test can tell that a stretch of code made none.
void* operator new(std::size_t size)
{
    ++allocations;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

Q_DECLARE_METATYPE(SentenceFault)

namespace {

QByteArray Bytes(const char* text)
{
    return QByteArray(text);
}

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// "1234 1100" for a status, "2 102 1" (gate, time, state) for an event.
QString Describe(const QByteArray& sentence, SentenceFault& fault)
{
    if (sentence.startsWith("$PSTS")) {
        StatusSentence status;
        fault = ParseStatusSentence(View(sentence), status);
        return QStringLiteral("%1 %2%3%4%5")
            .arg(status.deviceTime)
            .arg(status.gates[0])
            .arg(status.gates[1])
            .arg(status.gates[2])
            .arg(status.gates[3]);
    }
    EventSentence event;
    fault = ParseEventSentence(View(sentence), event);
    return QStringLiteral("%1 %2 %3").arg(event.gate).arg(event.deviceTime).arg(event.state);
}

// The assembly rule one byte at a time, kept as plain as possible to judge the assembler by.
QList<QByteArray> ReferenceSentences(const QByteArray& stream)
{
    QList<QByteArray> sentences;
    QByteArray sentence;
    bool inSentence = false;
    int checksumCharsLeft = 0;
    for (const char c : stream) {
        bool complete = false;
        if (c == '$') {
            checksumCharsLeft = 0;
            sentence.clear();
            inSentence = true;
        }
        if (inSentence || checksumCharsLeft != 0) {
            if (sentence.size() >= 128) {
                sentence.clear();
                inSentence = false;
                checksumCharsLeft = 0;
                continue;
            }
            sentence += c;
            if (checksumCharsLeft != 0 && --checksumCharsLeft == 0)
                complete = true;
        }
        if (c == '*') {
            inSentence = false;
            checksumCharsLeft = 2;
        }
        if (complete) {
            sentences << sentence;
            sentence.clear();
            inSentence = false;
            checksumCharsLeft = 0;
        }
    }
    return sentences;
}

// Sentences, pieces of them, marks in odd places, NUL and high bytes, and runs long enough to
// overflow a sentence.
QByteArray RandomStream(QRandomGenerator& random)
{
    static const QByteArray pieces[] = {
        "$PSTS,1234,1,1,0,0*2C\r\n",
        "$PEVT,102,2,1*0B\r\n",
        "$",
        "*",
        "**",
        "$PEVT,",
        ",",
        "0B",
        "2C",
        QByteArray("\0", 1),
        "\xff\x80",
        "\r\n",
        "1",
        "$PS",
        "*2",
    };
    QByteArray stream;
    const int count = random.bounded(1, 60);
    for (int i = 0; i < count; ++i) {
        if (random.bounded(20) == 0)
            stream += QByteArray(random.bounded(100, 300), ' ');
        else
            stream += pieces[random.bounded(int(std::size(pieces)))];
    }
    return stream;
}

// Keeps what it is given without allocating.
struct CountingOwner : GateSystemOwner
{
    void OnStatusTime(std::uint32_t) override { ++statuses; }
    void SetGateStatus(bool, bool, bool, bool) override {}
    void OnGateEvent(int, std::uint32_t, bool) override { ++events; }
    int statuses = 0;
    int events = 0;
};

} // namespace

class TestGateSentence : public QObject
{
    Q_OBJECT

private slots:
    void frame_data()
    {
        QTest::addColumn<QByteArray>("sentence");
        QTest::addColumn<QByteArray>("body"); // "-": rejected
        QTest::newRow("event") << Bytes("$PEVT,102,2,1*0B") << Bytes("PEVT,102,2,1");
        QTest::newRow("status") << Bytes("$PSTS,1234,1,1,0,0*2C") << Bytes("PSTS,1234,1,1,0,0");
        QTest::newRow("empty body") << Bytes("$*00") << Bytes("");
        QTest::newRow("high byte") << Bytes("$\xff*FF") << Bytes("\xff");
        QTest::newRow("two high bytes") << Bytes("$\xff\x01*FE") << Bytes("\xff\x01");
        QTest::newRow("last star ends the body") << Bytes("$PEVT,1*2*12") << Bytes("PEVT,1*2");
        QTest::newRow("doubled star") << Bytes("$PEVT,102,2,1**21") << Bytes("PEVT,102,2,1*");
        QTest::newRow("wrong digits") << Bytes("$PEVT,102,2,1*0A") << Bytes("-");
        QTest::newRow("lower-case digits") << Bytes("$PSTS,1234,1,1,0,0*2c") << Bytes("-");
        QTest::newRow("one digit") << Bytes("$PEVT,102,2,1*0") << Bytes("-");
        QTest::newRow("line end after the digits") << Bytes("$PEVT,102,2,1*0B\r") << Bytes("-");
        QTest::newRow("no dollar") << Bytes("PEVT,102,2,1*0B") << Bytes("-");
        QTest::newRow("no star") << Bytes("$PEVT,102,2,10B") << Bytes("-");
        QTest::newRow("star at the end") << Bytes("$PEVT,1*2*") << Bytes("-");
        QTest::newRow("too short") << Bytes("$*0") << Bytes("-");
        QTest::newRow("nothing") << Bytes("") << Bytes("-");
    }
    void frame()
    {
        QFETCH(QByteArray, sentence);
        QFETCH(QByteArray, body);
        const std::optional<std::string_view> checked = CheckedSentenceBody(View(sentence));
        QCOMPARE(checked ? QByteArray(checked->data(), qsizetype(checked->size())) : Bytes("-"), body);
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("sentence");
        QTest::addColumn<SentenceFault>("fault");
        QTest::addColumn<QString>("fields"); // checked only when the sentence is taken
        const SentenceFault ok = SentenceFault::None, frame = SentenceFault::Frame,
                            empty = SentenceFault::EmptyField, layout = SentenceFault::Layout;
        QTest::newRow("status") << Bytes("$PSTS,1234,1,1,0,0*2C") << ok << "1234 1100";
        QTest::newRow("status, all clear") << Bytes("$PSTS,0,0,0,0,0*18") << ok << "0 0000";
        QTest::newRow("status, odd numbers") << Bytes("$PSTS, -1,2,x,+0,7z*08") << ok << "4294967295 1001";
        QTest::newRow("status, lower case") << Bytes("$PSTS,1234,1,1,0,0*2c") << frame << "";
        QTest::newRow("status, empty field") << Bytes("$PSTS,1234,,1,1,0,0*00") << empty << "";
        QTest::newRow("status, extra field") << Bytes("$PSTS,1234,1,1,0,0,9*39") << layout << "";
        QTest::newRow("status, too few") << Bytes("$PSTS,1,1,1,1*04") << layout << "";
        QTest::newRow("status, longer tag") << Bytes("$PSTSX,1234,1,1,0,0*74") << layout << "";
        QTest::newRow("event") << Bytes("$PEVT,102,2,1*0B") << ok << "2 102 1";
        QTest::newRow("event at the clock's top") << Bytes("$PEVT,65535,0,0*0B") << ok << "0 65535 0";
        QTest::newRow("event, largest time") << Bytes("$PEVT,4294967295,3,1*34") << ok << "3 4294967295 1";
        QTest::newRow("event, gate out of range") << Bytes("$PEVT,9,7,0*05") << ok << "7 9 0";
        QTest::newRow("event, wrong checksum") << Bytes("$PEVT,102,2,1*0A") << frame << "";
        QTest::newRow("event, leading empty field") << Bytes("$PEVT,,2,1,5*21") << empty << "";
        QTest::newRow("event, trailing comma") << Bytes("$PEVT,102,2,1,*27") << empty << "";
        QTest::newRow("event, star in the body") << Bytes("$PEVT,102,2,1**21") << empty << "";
        QTest::newRow("event, too few") << Bytes("$PEVT,102,2*16") << layout << "";
    }
    void parse()
    {
        QFETCH(QByteArray, sentence);
        QFETCH(SentenceFault, fault);
        QFETCH(QString, fields);
        SentenceFault actual = SentenceFault::None;
        const QString described = Describe(sentence, actual);
        QCOMPARE(actual, fault);
        if (fault == SentenceFault::None)
            QCOMPARE(described, fields);
    }

    // An event is not a status and a status is not an event, whatever their checksums.
    void tagsAreNotInterchangeable()
    {
        StatusSentence status;
        EventSentence event;
        QCOMPARE(ParseStatusSentence("$PEVT,102,2,1*0B", status), SentenceFault::Layout);
        QCOMPARE(ParseEventSentence("$PSTS,1234,1,1,0,0*2C", event), SentenceFault::Layout);
    }

    // The longest sentence is taken whether it arrives whole or in pieces; one byte more and it is
    // dropped, and the next sentence is still taken.
    void longestSentence()
    {
        for (const int size : {127, 128, 129}) {
            const QByteArray sentence = "$" + QByteArray(size - 4, 'x') + "*00";
            const QByteArray stream = sentence + "$A*00";
            for (const int chunk : {int(stream.size()), 1, 100}) {
                SentenceAssembler assembler;
                QList<QByteArray> taken;
                for (qsizetype at = 0; at < stream.size(); at += chunk) {
                    const char* next = stream.constData() + at;
                    const char* end = next + std::min<qsizetype>(chunk, stream.size() - at);
                    while (const std::optional<std::string_view> whole = assembler.Next(next, end))
                        taken << QByteArray(whole->data(), qsizetype(whole->size()));
                }
                const QList<QByteArray> expected =
                    size <= 128 ? QList<QByteArray>{sentence, "$A*00"} : QList<QByteArray>{"$A*00"};
                QCOMPARE(taken, expected);
            }
        }
    }

    // Sentences whole and cut across reads, good and bad, cost no allocation once running.
    void receivingAllocatesNothing()
    {
        platform::FakeFtdiDevices noAdapter;
        CountingOwner owner;
        CGateSystem gates(&owner);
        QByteArray stream;
        for (int i = 0; i < 50; ++i)
            stream += "$PSTS,1234,1,1,0,0*2C\r\n$PEVT,102,2,1*0B\r\n$PEVT,,2,1,5*21\r\n$PEVT,102,2,1*0A";
        const auto* bytes = reinterpret_cast<const unsigned char*>(stream.constData());
        const long before = allocations;
        for (int at = 0; at < stream.size(); at += 7)
            gates.AssembleBytes(bytes + at, std::min(7, int(stream.size()) - at));
        QCOMPARE(allocations - before, 0L);
        QCOMPARE(owner.statuses, 50);
        QCOMPARE(owner.events, 50);
    }

    // The assembler copies and skips whole runs between marks; it must cut every stream, in any
    // chunking, exactly where the byte-by-byte rule does.
    void assemblerFollowsTheByteRule()
    {
        QRandomGenerator random(20261206);
        for (int trial = 0; trial < 500; ++trial) {
            const QByteArray stream = RandomStream(random);
            SentenceAssembler assembler;
            QList<QByteArray> sentences;
            for (qsizetype at = 0; at < stream.size();) {
                const qsizetype chunk = std::min<qsizetype>(random.bounded(1, 300), stream.size() - at);
                const char* next = stream.constData() + at;
                const char* end = next + chunk;
                while (const std::optional<std::string_view> sentence = assembler.Next(next, end))
                    sentences << QByteArray(sentence->data(), qsizetype(sentence->size()));
                QCOMPARE(next, end);
                at += chunk;
            }
            if (sentences != ReferenceSentences(stream))
                QFAIL(qPrintable("stream " + stream.toPercentEncoding()));
        }
    }
};

QTEST_GUILESS_MAIN(TestGateSentence)
#include "test_gate_sentence.moc"
