// Sentences decoded from a byte stream, whole and one byte per poll. Checksums are written out.
#include "devices/CGateSystem.h"
#include "support/RecordingGateOwner.h"

#include <QtTest>

using Bytes = QByteArray;

class TestGateSentence : public QObject
{
    Q_OBJECT

private slots:
    // Whole, then one byte per poll: a sentence cut anywhere decodes the same.
    void sentences_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("calls");
        const QStringList status = {"status 1234", "gates 1100"}, event = {"event 2 102 1"}, none;
        const QByteArray eventSentence = "$PEVT,102,2,1*0B\r\n";
        QTest::newRow("largest numbers")
            << Bytes("$PEVT,4294967295,3,1*34") << QStringList{"event 3 4294967295 1"};
        QTest::newRow("high byte in a field") << Bytes("$PEVT,102,2,1\xff*F4") << event;
        QTest::newRow("lower-case checksum") << Bytes("$PSTS,1234,1,1,0,0*2c\r\n") << none;
        QTest::newRow("wrong checksum") << Bytes("$PEVT,102,2,1*0A\r\n") << none;
        QTest::newRow("dollar restarts") << Bytes("$PS$PSTS,1234,1,1,0,0*2C") << status;
        // An empty field with a checksum that matches must not shift the fields after it.
        QTest::newRow("empty field, matching checksum") << Bytes("$PEVT,,2,1,5*21") << none;
        QTest::newRow("star in the body, matching checksum") << Bytes("$PEVT,102,2,1**21") << none;
        QTest::newRow("extra field, matching checksum") << Bytes("$PSTS,1234,1,1,0,0,9*39") << none;
        QTest::newRow("odd numbers") << Bytes("$PSTS, -1,2,x,+0,7z*08")
                                     << QStringList{"status 4294967295", "gates 1001"};
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
};

QTEST_GUILESS_MAIN(TestGateSentence)
#include "test_gate_sentence.moc"
