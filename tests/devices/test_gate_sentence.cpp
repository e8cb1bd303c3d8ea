// The sentence protocol: sentences decoded from a byte stream, their trace lines, and the
// assembler against the assembly rule written out byte by byte. Checksums are written out.
#include "devices/CGateSystem.h"
#include "devices/SentenceAssembler.h"
#include "support/RecordingGateOwner.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

using Bytes = QByteArray;

QStringList traced;

void RecordTrace(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QByteArray(context.category) == "swiftlane.trace")
        traced << text;
}

// The assembly rule one byte at a time, kept as plain as possible to judge the assembler by.
QList<QByteArray> ReferenceSentences(const QByteArray& stream)
{
    QList<QByteArray> sentences;
    QByteArray sentence;
    bool inSentence = false;
    int checksumCharsLeft = 0;
    const auto reset = [&] { sentence.clear(), inSentence = false, checksumCharsLeft = 0; };
    for (const char c : stream) {
        if (c == '$')
            reset(), inSentence = true;
        if (inSentence || checksumCharsLeft != 0) {
            if (sentence.size() >= 128) {
                reset();
                continue;
            }
            sentence += c;
            if (checksumCharsLeft != 0 && --checksumCharsLeft == 0) {
                sentences << sentence;
                reset();
                continue;
            }
        }
        if (c == '*')
            inSentence = false, checksumCharsLeft = 2;
    }
    return sentences;
}

// Sentences, pieces of them, marks in odd places, NUL and high bytes, and runs long enough to
// overflow a sentence.
QByteArray RandomStream(QRandomGenerator& random)
{
    using namespace std::string_literals; // the pieces, split at "|", hold a NUL
    static const QByteArrayList pieces =
        QByteArray::fromStdString(
            "$PSTS,1234,1,1,0,0*2C\r\n|$PEVT,102,2,1*0B\r\n|$|*|**|$PEVT,|,|0B|2C|\0|\xff\x80|\r\n|1|$PS|*2"s)
            .split('|');
    QByteArray stream;
    const int count = random.bounded(1, 60);
    for (int i = 0; i < count; ++i) {
        if (random.bounded(20) == 0)
            stream += QByteArray(random.bounded(100, 300), ' ');
        else
            stream += pieces[random.bounded(int(pieces.size()))];
    }
    return stream;
}

} // namespace

class TestGateSentence : public QObject
{
    Q_OBJECT

private slots:
    // Through the gate system whole, then one byte per poll: a sentence cut anywhere decodes the
    // same. The calls it makes on its owner are the outcome; checksums are written out.
    void sentences_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("calls");
        const QStringList status = {"status 1234", "gates 1100"}, event = {"event 2 102 1"}, none;
        const QByteArray eventSentence = "$PEVT,102,2,1*0B\r\n";
        QTest::newRow("status") << Bytes("$PSTS,1234,1,1,0,0*2C\r\n") << status;
        QTest::newRow("event") << eventSentence << event;
        QTest::newRow("largest numbers")
            << Bytes("$PEVT,4294967295,3,1*34") << QStringList{"event 3 4294967295 1"};
        QTest::newRow("high byte in a field") << Bytes("$PEVT,102,2,1\xff*F4") << event;
        QTest::newRow("lower-case checksum") << Bytes("$PSTS,1234,1,1,0,0*2c\r\n") << none;
        QTest::newRow("wrong checksum") << Bytes("$PEVT,102,2,1*0A\r\n") << none;
        QTest::newRow("dollar restarts") << Bytes("$PS$PSTS,1234,1,1,0,0*2C") << status;
        // An empty field with a checksum that matches must not shift the fields after it.
        QTest::newRow("empty field, matching checksum") << Bytes("$PEVT,,2,1,5*21") << none;
        QTest::newRow("trailing comma, matching checksum") << Bytes("$PEVT,102,2,1,*27") << none;
        QTest::newRow("star in the body, matching checksum") << Bytes("$PEVT,102,2,1**21") << none;
        QTest::newRow("extra field, matching checksum") << Bytes("$PSTS,1234,1,1,0,0,9*39") << none;
        QTest::newRow("odd numbers") << Bytes("$PSTS, -1,2,x,+0,7z*08")
                                     << QStringList{"status 4294967295", "gates 1001"};
        // Handed on as sent; the controller ignores gates it does not have.
        QTest::newRow("gate out of range") << Bytes("$PEVT,9,7,0*05") << QStringList{"event 7 9 0"};
        QTest::newRow("tag with extra characters") << Bytes("$PSTSX,1234,1,1,0,0*74") << none;
        QTest::newRow("too few fields") << Bytes("$PEVT,102,2*16$PSTS,1,1,1,1*04") << none;
        QTest::newRow("noise, NUL and high bytes around sentences")
            << QByteArray("\r\nxx*\r\n$PSTS,1234,1,1,0,0*2C $GPGGA,1*00\0\xff\x80*\0", 45) + eventSentence
            << status + event;
        // Blanks before a number are skipped, so they make a sentence of any length; past 128
        // bytes it is dropped rather than grown without bound. 6 + 108 + 15 = 129 bytes; an even
        // number of blanks cancels in the checksum, an odd number turns 2C into 0C.
        QTest::newRow("129-byte sentence dropped, next decoded")
            << "$PSTS," + QByteArray(108, ' ') + "1234,1,1,0,0*2C" + eventSentence << event;
        QTest::newRow("128-byte sentence kept")
            << "$PSTS," + QByteArray(107, ' ') + "1234,1,1,0,0*0C" + eventSentence << status + event;
    }
    void sentences()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, calls);
        const auto* bytes = reinterpret_cast<const unsigned char*>(stream.constData());
        for (int chunk : {int(stream.size()), 1}) {
            RecordingGateOwner owner;
            CGateSystem gates(&owner);
            for (int at = 0; at < stream.size(); at += chunk)
                gates.AssembleBytes(bytes + at, std::min(chunk, int(stream.size()) - at));
            QCOMPARE(owner.calls, calls);
        }
    }

    // The trace lines a field engineer reads to tell line noise from a faulty gate; off unless asked.
    void traceLines_data()
    {
        QTest::addColumn<QByteArray>("sentence");
        QTest::addColumn<QStringList>("lines");
        const QString decoding = " Decoding PEVT ";
        QTest::newRow("taken") << Bytes("$PEVT,102,2,1*0B") << QStringList{decoding};
        QTest::newRow("wrong checksum")
            << Bytes("$PEVT,102,2,1*0A") << QStringList{decoding, " checksum failed"};
        QTest::newRow("empty field") << Bytes("$PEVT,,2,1,5*21") << QStringList{decoding, " empty field"};
        QTest::newRow("status, wrong checksum") << Bytes("$PSTS,1234,1,1,0,0*2c") << QStringList{};
    }
    void traceLines()
    {
        QFETCH(QByteArray, sentence);
        QFETCH(QStringList, lines);
        CGateSystem gates(nullptr);
        for (const bool on : {false, true}) {
            QLoggingCategory::setFilterRules(on ? "swiftlane.trace=true" : "");
            traced.clear();
            const QtMessageHandler previous = qInstallMessageHandler(RecordTrace);
            gates.AssembleBytes(reinterpret_cast<const unsigned char*>(sentence.constData()),
                                int(sentence.size()));
            qInstallMessageHandler(previous);
            QLoggingCategory::setFilterRules(QString());
            QCOMPARE(traced, on ? lines : QStringList());
        }
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
