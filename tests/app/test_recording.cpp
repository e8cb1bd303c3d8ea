// Session recording in the application: a recorded run times again to the same report line, and
// a sessions folder that cannot be written costs one message, never a run.
#include "support/ControllerHarness.h"
#include "tools/replay/SessionReplay.h"

#include <QDir>
#include <QTest>

class RecordingTest : public QObject
{
    Q_OBJECT

    static std::unique_ptr<ControllerHarness> started()
    {
        auto h = std::make_unique<ControllerHarness>();
        h->writeSequence(QStringLiteral("Sprint"), {0, 1, 2, 3}, 30.0);
        h->start();
        h->setSubjects({QStringLiteral("Ann")});
        return h;
    }

private Q_SLOTS:
    void aRecordedRunTimesAgainToTheSameReportLine()
    {
        auto h = started();
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
        const QString sequencePath = h->runsFolder() + QStringLiteral("Sprint.run");
        QTemporaryDir replayData;
        QVERIFY(QFile::copy(sequencePath, replayData.filePath("Sprint.run")));
        h->controller.reset(); // writes the rest of the session
        const auto session = session::ReadSessionFile(sessionPath);
        QVERIFY(session && !session->records.empty());
        h.reset();

        qputenv("XDG_DATA_HOME", replayData.path().toUtf8());
        SessionReplay replay(replayData.filePath("Sprint.run"));
        replay.Play(session->records);
        QCOMPARE(QString::fromUtf8(replay.ReportText()),
                 QString(live).replace(QStringLiteral("\nAnn,"), QStringLiteral("\nRun 1,")));
    }

    void aSessionsFolderThatCannotBeWrittenCostsOneMessageAndNoRun()
    {
        auto h = started();
        QFile blocker(QDir::cleanPath(SLMain::SessionsFolder()));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Gate session recording has stopped"));
        h->controller->StartRecording();
        QVERIFY(h->dialogs.calls.empty()); // never from inside the tick
        QCoreApplication::processEvents();
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
        h->status(500);
        h->tick();
        h->clickStart();
        h->passAll();
        QCoreApplication::processEvents();
        QCOMPARE(h->lastTableRow(),
                 QStringList({"Ann", "3.000", "1.000", "1.000", "1.000", "30.000", "10.000"}));
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
    }
};

QTEST_MAIN(RecordingTest)
#include "test_recording.moc"
