// Session files against other programs and the disk: pruning leaves a session another recorder
// is writing, goes by when files were written rather than by their names, and a write that runs
// out of room is reported by its cause.
#include "devices/CGateSystem.h"
#include "devices/session/SessionRecorder.h"
#include "platform/FakeClock.h"
#include "support/FakeFtdiDevices.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingGateOwner.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using Aged = QList<QPair<QString, qint64>>; // file name, seconds from now to its last write
Q_DECLARE_METATYPE(Aged)

class SessionFaultsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;
    const QDateTime newStart = QDateTime(QDate(2026, 5, 2), QTime(8, 0));

    static void writeSession(const QString& path, qint64 secondsFromNow)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(QByteArray(1000, 'x')), qint64(1000));
        QVERIFY(file.flush()); // a later flush would set the time again
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(secondsFromNow),
                                 QFileDevice::FileModificationTime));
    }

private slots:
    void aSessionBeingWrittenIsNeverPruned()
    {
        const QString folder = scratch.filePath(QStringLiteral("shared"));
        SessionRecorder first;
        QVERIFY(first.Start(folder, QDateTime(QDate(2026, 5, 1), QTime(8, 0))));
        QFile grown(first.FileName());
        QVERIFY(grown.open(QIODevice::Append));
        grown.write(QByteArray(3000, 'x')); // the first program has recorded a while
        grown.close();
        writeSession(folder + QStringLiteral("/2026-04-30_08-00-00.session"), -3600);

        SessionRecorder second; // another Swiftlane on the same data folder
        second.SetFolderLimit(1000);
        QVERIFY(second.Start(folder, newStart));
        QVERIFY(QFileInfo::exists(first.FileName()));
        QVERIFY(QFileInfo::exists(second.FileName()));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/2026-04-30_08-00-00.session")));
    }

    // Each old session holds 1000 bytes; the limit keeps the new session and one of them.
    void theSessionsWrittenLongestAgoGoFirst_data()
    {
        QTest::addColumn<Aged>("sessions");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("named by a clock set ahead, written an hour ago")
            << Aged{{"2099-01-01_00-00-00.session", -3600}, {"2026-05-01_08-00-00.session", -60}}
            << QStringList{"2026-05-01_08-00-00.session", "2026-05-02_08-00-00.session"};
        QTest::newRow("written at a time still to come")
            << Aged{{"2026-05-01_08-00-00.session", 3600 * 24 * 365}, {"2026-04-01_08-00-00.session", -60}}
            << QStringList{"2026-04-01_08-00-00.session", "2026-05-02_08-00-00.session"};
        QTest::newRow("names in the same order as the writes")
            << Aged{{"2026-04-01_08-00-00.session", -7200}, {"2026-04-02_08-00-00.session", -60}}
            << QStringList{"2026-04-02_08-00-00.session", "2026-05-02_08-00-00.session"};
    }
    void theSessionsWrittenLongestAgoGoFirst()
    {
        QFETCH(Aged, sessions);
        QFETCH(QStringList, kept);
        const QString folder = scratch.filePath(QTest::currentDataTag());
        QVERIFY(QDir().mkpath(folder));
        for (const auto& [name, age] : sessions)
            writeSession(folder + QLatin1Char('/') + name, age);
        SessionRecorder recorder;
        recorder.SetFolderLimit(1500);
        QVERIFY(recorder.Start(folder, newStart));
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*.session")}, QDir::Files, QDir::Name), kept);
    }

    // A write cut short by the limit sets no error itself; the message must still give the cause.
    void aWriteOutOfRoomIsReportedByItsCause()
    {
        platform::FakeClock clock;
        platform::FakeFtdiDevices devices;
        devices.addDevice("Swiftlane gate adapter", "SL000001", 0x121);
        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        SessionRecorder recorder;
        QStringList messages;
        recorder.SetFailureHandler([&](const QString& message) { messages << message; });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Gate session recording has stopped"));
        {
            FileSizeLimit full(1500);
            QVERIFY(recorder.Start(scratch.filePath(QStringLiteral("full"))));
            gates.SetStreamTap(&recorder);
            for (int tick = 1; tick <= 120; ++tick) {
                clock.advance(25);
                devices.pushIncoming("SL000001", QByteArray("$PSTS,1234,1,1,0,0*2C\r\n"));
                gates.Poll();
            }
        }
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(QStringLiteral(": File too large.")), qPrintable(messages[0]));
    }
};

QTEST_GUILESS_MAIN(SessionFaultsTest)
#include "test_session_faults.moc"
