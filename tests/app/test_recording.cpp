// Session recording in the application: a recorded run times again to the same report line, and
// a sessions folder that cannot be written costs one message, never a run.
#include "support/ControllerHarness.h"
#include "support/TestFiles.h"
#include "tools/replay/SessionReplay.h"

#include <QTest>

class RecordingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aRecordedRunTimesAgainToTheSameReportLine()
    {
        auto h = ControllerHarness::connected();
        h->controller->StartRecording();
        h->status(500);
        h->tick();
        h->clickStart();
        h->event(1000, 0);
        h->tick();
        h->status(1500);
        h->status(2500);
        h->event(3200, 1);
        h->tick(3);
        h->passAll(3000); // the sentences of gates 0 and 1 go by, 2 and 3 pass at 5000 and 6000
        const QString live = h->readReport(QStringLiteral("Swiftlane_Sprint_1.csv"));
        QVERIFY(live.endsWith(QStringLiteral("\nAnn,5.000,2.200,1.800,1.000,30.000,6.000\n")));
        const QString sessionPath = h->controller->Recorder().FileName();
        QTemporaryDir replayData;
        QVERIFY(QFile::copy(h->runsFolder() + "Sprint.run", replayData.filePath("Sprint.run")));
        h->controller.reset(); // writes the rest of the session
        const auto session = session::ReadSessionFile(sessionPath);
        QVERIFY(session && !session->records.empty());
        h.reset();

        qputenv("XDG_DATA_HOME", replayData.path().toUtf8());
        SessionReplay replay(replayData.filePath("Sprint.run"));
        replay.Play(session->records);
        QCOMPARE(QString::fromUtf8(replay.ReportText()), QString(live).replace("\nAnn,", "\nRun 1,"));
    }

    void aSessionsFolderThatCannotBeWrittenCostsOneMessageAndNoRun()
    {
        auto h = ControllerHarness::connected();
        QVERIFY(WriteAll(QDir::cleanPath(SLMain::SessionsFolder()), {})); // a file where the folder should be
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Gate session recording has stopped"));
        h->controller->StartRecording();
        QVERIFY(h->dialogs.calls.empty()); // never from inside the tick
        QCoreApplication::processEvents();
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
        h->clickStart();
        h->passAll();
        QCoreApplication::processEvents();
        QCOMPARE(h->lastTableRow().value(1), QStringLiteral("3.000"));
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
    }
};

QTEST_MAIN(RecordingTest)
#include "test_recording.moc"
