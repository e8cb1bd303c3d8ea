#include "devices/CGateSystem.h"
#include "devices/GateSentence.h"
#include "platform/FakeClock.h"
#include "support/FakeFtdiDevices.h"
#include "support/RecordingGateOwner.h"

#include <QtTest>

namespace {

QStringList debugLines;

void recordDebug(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg)
        debugLines << text;
}

QByteArray signedSentence(const QByteArray& body)
{
    return QByteArray::fromStdString(WithChecksum(body.toStdString()));
}

} // namespace

class TestGateSentences : public QObject
{
    Q_OBJECT

private:
    platform::FakeFtdiDevices noDevices;
    RecordingGateOwner owner;

    void feed(CGateSystem& gates, const QByteArray& bytes)
    {
        gates.AssembleBytes(reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
    }

private slots:
    void init()
    {
        owner.clear();
        debugLines.clear();
        qInstallMessageHandler(recordDebug);
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

    void checksumAndFormatting()
    {
        QCOMPARE(SentenceChecksum("$PSTS,1234,1,1,0,0*2C"), std::string("2C"));
        QCOMPARE(SentenceChecksum("$PEVT,102,2,1*0B"), std::string("0B"));
        QCOMPARE(SentenceChecksum("$*00"), std::string("00"));
        QCOMPARE(SentenceChecksum(""), std::string("00"));
        const bool flags[4] = {true, true, false, false};
        QCOMPARE(FormatStatusSentence(1234, flags), std::string("$PSTS,1234,1,1,0,0*2C"));
        QCOMPARE(FormatEventSentence(102, 2, true), std::string("$PEVT,102,2,1*0B"));
    }

    void numberFields_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<uint>("value");
        QTest::newRow("plain") << QByteArray("1234") << 1234u;
        QTest::newRow("leading blanks") << QByteArray("  \t42") << 42u;
        QTest::newRow("trailing text") << QByteArray("12x3") << 12u;
        QTest::newRow("plus sign") << QByteArray("+7") << 7u;
        QTest::newRow("minus sign wraps") << QByteArray("-1") << 0xFFFFFFFFu;
        QTest::newRow("not a number") << QByteArray("abc") << 0u;
        QTest::newRow("sign alone") << QByteArray("-") << 0u;
        QTest::newRow("empty") << QByteArray() << 0u;
    }
    void numberFields()
    {
        QFETCH(QByteArray, field);
        QFETCH(uint, value);
        QCOMPARE(ReadSentenceNumber(field.toStdString()), value);
    }

    void streams_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("debug");

        const QString decoding = " Decoding PEVT ";
        QTest::newRow("status") << QByteArray("$PSTS,1234,1,1,0,0*2C\r\n")
                                << QStringList{"status 1234", "gates 1100"} << QStringList{};
        QTest::newRow("lower-case checksum")
            << QByteArray("$PSTS,1234,1,1,0,0*2c\r\n") << QStringList{} << QStringList{};
        QTest::newRow("event") << QByteArray("$PEVT,102,2,1*0B\r\n") << QStringList{"event 2 102 1"}
                               << QStringList{decoding};
        QTest::newRow("event wrong checksum") << QByteArray("$PEVT,102,2,1*0A\r\n") << QStringList{}
                                              << QStringList{decoding, " checksum failed"};
        QTest::newRow("dollar restarts") << QByteArray("$PS$PSTS,1234,1,1,0,0*2C")
                                         << QStringList{"status 1234", "gates 1100"} << QStringList{};
        QTest::newRow("empty field changes checksum")
            << QByteArray("$PSTS,1234,,1,1,0,0*2C") << QStringList{} << QStringList{};
        QTest::newRow("flag 2 is true")
            << signedSentence("$PSTS,5,2,0,0,1") << QStringList{"status 5", "gates 1001"} << QStringList{};
        QTest::newRow("gate out of range")
            << signedSentence("$PEVT,9,7,0") << QStringList{"event 7 9 0"} << QStringList{decoding};
        QTest::newRow("master gate") << signedSentence("$PEVT,65535,0,1") << QStringList{"event 0 65535 1"}
                                     << QStringList{decoding};
        QTest::newRow("tag with extra characters")
            << signedSentence("$PSTSX,1234,1,1,0,0") << QStringList{} << QStringList{};
        QTest::newRow("too few event fields")
            << signedSentence("$PEVT,102,2") << QStringList{} << QStringList{decoding};
        QTest::newRow("too few status fields")
            << signedSentence("$PSTS,1,1,1,1") << QStringList{} << QStringList{};
        QTest::newRow("unknown tag") << signedSentence("$GPGGA,1,2") << QStringList{} << QStringList{};
        QTest::newRow("noise around sentences")
            << QByteArray("\r\nxx*\r\n$PSTS,1234,1,1,0,0*2C junk $PEVT,102,2,1*0B\r\n")
            << QStringList{"status 1234", "gates 1100", "event 2 102 1"} << QStringList{decoding};
        QTest::newRow("longest kept sentence")
            << signedSentence("$PSTS," + QByteArray(107, ' ') + "1234,1,1,0,0")
            << QStringList{"status 1234", "gates 1100"} << QStringList{};
        QTest::newRow("over-long sentence dropped")
            << signedSentence("$PSTS," + QByteArray(108, ' ') + "1234,1,1,0,0") << QStringList{}
            << QStringList{};
        QTest::newRow("unterminated noise then valid")
            << QByteArray("$") + QByteArray(1000, 'A') + "*2C\r\n$PEVT,102,2,1*0B"
            << QStringList{"event 2 102 1"} << QStringList{decoding};
    }
    void streams()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, debug);
        CGateSystem gates(&owner);
        debugLines.clear(); // the link's own detection lines
        feed(gates, stream);
        QCOMPARE(owner.describe(), calls);
        QCOMPARE(debugLines, debug);
    }

    void sentenceSplitAnywhereIsDecodedOnceWhenComplete()
    {
        const QByteArray stream = "$PEVT,102,2,1*0B\r\n";
        for (int split = 1; split < stream.size(); ++split) {
            owner.clear();
            CGateSystem gates(&owner);
            feed(gates, stream.left(split));
            const bool completeInFirst = split >= stream.indexOf('*') + 3;
            QCOMPARE(owner.calls.size(), completeInFirst ? 1u : 0u);
            feed(gates, stream.mid(split));
            QCOMPARE(owner.describe(), QStringList{"event 2 102 1"});
        }
    }

    void statusUpdatesLastStatusTimeOnlyWhenValid()
    {
        platform::FakeClock clock(5000);
        CGateSystem gates(&owner);
        feed(gates, "$PSTS,1234,1,1,0,0*2c\r\n");
        QCOMPARE(gates.LastStatusTime(), 0u);
        clock.advance(25);
        feed(gates, "$PSTS,1234,1,1,0,0*2C\r\n");
        QCOMPARE(gates.LastStatusTime(), 5025u);
    }

    void longBurstLosesNothing()
    {
        QByteArray stream;
        QStringList expected;
        for (int i = 0; i < 200; ++i) {
            stream += signedSentence("$PEVT," + QByteArray::number(i) + ",1,1") + "\r\n";
            expected << QString("event 1 %1 1").arg(i);
        }
        CGateSystem gates(&owner);
        feed(gates, stream);
        QCOMPARE(owner.describe(), expected);
    }
};

QTEST_GUILESS_MAIN(TestGateSentences)
#include "test_gate_sentences.moc"
