#include "devices/CGateSystem.h"
#include "devices/GateSentence.h"
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

void feed(CGateSystem& gates, const QByteArray& bytes)
{
    gates.AssembleBytes(reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
}

} // namespace

class TestGateSentences : public QObject
{
    Q_OBJECT

    platform::FakeFtdiDevices noDevices;
    RecordingGateOwner owner;

private slots:
    void init()
    {
        owner.clear();
        qInstallMessageHandler(recordDebug);
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

    void formatting()
    {
        const bool flags[4] = {true, true, false, false};
        QCOMPARE(FormatStatusSentence(1234, flags), std::string("$PSTS,1234,1,1,0,0*2C"));
        QCOMPARE(FormatEventSentence(102, 2, true), std::string("$PEVT,102,2,1*0B"));
        QCOMPARE(SentenceChecksum("$*0"), std::string("00"));
    }

    void streams_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("debug");
        const QString decoding = " Decoding PEVT ";
        const QStringList status = {"status 1234", "gates 1100"};

        QTest::newRow("status") << QByteArray("$PSTS,1234,1,1,0,0*2C\r\n") << status << QStringList{};
        QTest::newRow("lower-case checksum")
            << QByteArray("$PSTS,1234,1,1,0,0*2c\r\n") << QStringList{} << QStringList{};
        QTest::newRow("event") << QByteArray("$PEVT,102,2,1*0B\r\n") << QStringList{"event 2 102 1"}
                               << QStringList{decoding};
        QTest::newRow("event wrong checksum") << QByteArray("$PEVT,102,2,1*0A\r\n") << QStringList{}
                                              << QStringList{decoding, " checksum failed"};
        QTest::newRow("dollar restarts") << QByteArray("$PS$PSTS,1234,1,1,0,0*2C") << status << QStringList{};
        QTest::newRow("empty field") << QByteArray("$PSTS,1234,,1,1,0,0*2C") << QStringList{}
                                     << QStringList{};
        QTest::newRow("odd numbers") << signedSentence("$PSTS, -1,2,x,+0,7z")
                                     << QStringList{"status 4294967295", "gates 1001"} << QStringList{};
        QTest::newRow("gate out of range")
            << signedSentence("$PEVT,9,7,0") << QStringList{"event 7 9 0"} << QStringList{decoding};
        QTest::newRow("tag with extra characters")
            << signedSentence("$PSTSX,1234,1,1,0,0") << QStringList{} << QStringList{};
        QTest::newRow("too few fields") << signedSentence("$PEVT,102,2") + signedSentence("$PSTS,1,1,1,1")
                                        << QStringList{} << QStringList{decoding};
        QTest::newRow("noise around sentences")
            << QByteArray("\r\nxx*\r\n$PSTS,1234,1,1,0,0*2C junk $GPGGA,1*00 $PEVT,102,2,1*0B\r\n")
            << status + QStringList{"event 2 102 1"} << QStringList{decoding};
        // Blanks before a number are skipped, so they make a valid sentence of any length.
        QTest::newRow("longest kept sentence")
            << signedSentence("$PSTS," + QByteArray(107, ' ') + "1234,1,1,0,0") << status << QStringList{};
        QTest::newRow("over-long sentence dropped")
            << signedSentence("$PSTS," + QByteArray(108, ' ') + "1234,1,1,0,0") << QStringList{}
            << QStringList{};
        QTest::newRow("unterminated noise, then valid")
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
            QCOMPARE(owner.calls.size(), split >= stream.indexOf('*') + 3 ? 1u : 0u);
            feed(gates, stream.mid(split));
            QCOMPARE(owner.describe(), QStringList{"event 2 102 1"});
        }
    }
};

QTEST_GUILESS_MAIN(TestGateSentences)
#include "test_gate_sentences.moc"
