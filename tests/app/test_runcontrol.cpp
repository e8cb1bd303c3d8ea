// Runs driven end to end through the controller and the main window: gate sentences in, report
// table and report file out; the questions that guard a run in progress, and auto-advance.
#include "support/ControllerHarness.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

namespace {

// One notch down, delivered through the window as the window system delivers it.
void wheelOver(QWidget* widget)
{
    QWidget* window = widget->window();
    const QPointF at = widget->mapTo(window, widget->rect().center());
    QWheelEvent wheel(at, window->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->windowHandle(), &wheel);
}

QCheckBox* autoAdvance(ControllerHarness& h)
{
    return h.child<QCheckBox>("autoAdvSubjectCheckBox");
}

QWidget* window(ControllerHarness& h)
{
    return &h.controller->MainWindow();
}

} // namespace

class RunControlTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fullRunReachesTableAndReportFile()
    {
        auto h = ControllerHarness::connected();
        QCOMPARE(h->connectionText(), QStringLiteral("Connected"));
        h->clickStart();
        h->tick();
        QCOMPARE(h->statusText(), QStringLiteral(" Waiting for start gate"));
        h->event(1000, 0);
        h->status(1500);
        h->tick();
        QCOMPARE(h->lastTableRow().mid(0, 2), (QStringList{"Ann", "0.500"})); // live total, each tick
        h->event(3200, 1);
        h->event(4200, 2);
        h->event(5000, 3);
        h->tick();
        QCOMPARE(h->lastTableRow(),
                 (QStringList{"Ann", "4.000", "2.200", "1.000", "0.800", "30.000", "7.500"}));
        QCOMPARE(h->table()->rowCount(), 1);
        QCOMPARE(h->statusText(), QStringLiteral(" Idle"));
        QCOMPARE(h->reportFiles(), QStringList{QStringLiteral("Swiftlane_Sprint_1.csv")});
        QCOMPARE(
            h->readReport(QStringLiteral("Swiftlane_Sprint_1.csv")),
            QStringLiteral("Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Checkpoint_3,Distance,Speed\n"
                           "Ann,4.000,2.200,1.000,0.800,30.000,7.500\n"));
        QVERIFY(h->dialogs.calls.empty());
    }

    void refusedStartsExplainWhy_data()
    {
        const QString noSubject = QStringLiteral("Please enter a subject name\n");
        const QString notReady =
            QStringLiteral("Some gates in the gate sequence are either not ready or not present");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QList<int>>("gates");
        QTest::addColumn<bool>("gate2Ready");
        QTest::addColumn<QString>("message"); // empty: the run starts
        QTest::newRow("no subject, gate not ready")
            << "" << QList<int>{0, 2} << false << noSubject + notReady;
        QTest::newRow("no subject") << "" << QList<int>{0, 2} << true << noSubject;
        QTest::newRow("gate not ready") << "Ann" << QList<int>{0, 2} << false << notReady;
        QTest::newRow("unready gate not in the sequence") << "Ann" << QList<int>{0, 1} << false << "";
        QTest::newRow("sequence without gates") << "Ann" << QList<int>{} << true << notReady;
        QTest::newRow("blank subject passes") << "  " << QList<int>{0, 2} << true << "";
    }
    void refusedStartsExplainWhy()
    {
        QFETCH(QString, subject);
        QFETCH(QList<int>, gates);
        QFETCH(bool, gate2Ready);
        QFETCH(QString, message);
        auto h = ControllerHarness::connected({subject}, gates);
        h->status(600, true, true, gate2Ready, true);
        h->tick();
        h->clickStart();
        QCOMPARE(h->controller->GetSequenceRun().IsRunning(), message.isEmpty());
        QCOMPARE(h->table()->rowCount(), message.isEmpty() ? 1 : 0);
        QCOMPARE(h->dialogs.calls.size(), std::size_t(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty())
            QCOMPARE(h->dialogs.calls[0].text, message);
    }

    // Ok answers the run it was asked about: here that run finishes while the question is open and
    // auto-advance starts Bob's, which the answer must leave alone.
    void okAfterTheRunFinishedKeepsItsResult()
    {
        auto h = ControllerHarness::connected({QStringLiteral("Ann"), QStringLiteral("Bob")});
        autoAdvance(*h)->setChecked(true);
        h->clickStart();
        h->event(1000, 0);
        h->event(3000, 1);
        h->event(4000, 2);
        h->tick();
        h->dialogs.whileOpen = [&h] { // the finish, then the countdown of 5 s runs out
            h->event(5000, 3);
            for (int i = 0; i < 203; ++i) {
                h->status(5000 + 25 * i);
                h->tick();
            }
        };
        h->clickStart(); // answered Ok
        QCOMPARE(h->controller->GetSequenceRun().SubjectName(), QStringLiteral("Bob"));
        QVERIFY(h->controller->GetSequenceRun().IsRunning());
        QCOMPARE(h->table()->rowCount(), 2);
        QVERIFY(h->readReport(QStringLiteral("Swiftlane_Sprint_1.csv"))
                    .endsWith(QStringLiteral("Ann,4.000,2.000,1.000,1.000,30.000,7.500\n")));
    }

    // Neither a wheel nor a programmatic change reaches the engine while a run is in progress; the
    // abort question defaults to No, and No keeps the run.
    void sequenceBoxIsLockedWhileARunIsInProgress_data()
    {
        QTest::addColumn<bool>("finish");
        QTest::newRow("run finishes") << true;
        QTest::newRow("run is aborted") << false;
    }
    void sequenceBoxIsLockedWhileARunIsInProgress()
    {
        QFETCH(bool, finish);
        auto h = ControllerHarness::connected();
        h->writeSequence(QStringLiteral("Two"), {0, 1}, 10.0);
        h->controller->MainWindow().refreshRunList();
        const SequenceRun& engine = h->controller->GetSequenceRun();
        QComboBox* box = h->runCombo();
        h->clickStart();
        QVERIFY(!box->isEnabled()); // already while waiting for the start gate
        h->event(1000, 0);
        h->tick();
        wheelOver(box);
        box->setCurrentIndex(1);
        h->tick();
        QCOMPARE(engine.Sequence().Name(), QStringLiteral("Sprint"));
        QCOMPARE(box->currentText(), QStringLiteral("Sprint"));
        QCOMPARE(h->table()->columnCount(), 7);
        h->dialogs.buttonAnswers = {QMessageBox::No};
        h->clickStart();
        QCOMPARE(h->dialogs.calls.back().buttons, QMessageBox::Ok | QMessageBox::No);
        QCOMPARE(h->dialogs.calls.back().defaultButton, QMessageBox::No);
        QVERIFY(engine.IsRunning());
        QCOMPARE(engine.CurrentGateIndex(), 1);
        QCOMPARE(h->table()->rowCount(), 1);

        if (finish)
            h->passAll();
        else
            h->clickStart(); // answered Ok
        h->tick();
        QVERIFY(!engine.IsRunning());
        QVERIFY(box->isEnabled());
        QCOMPARE(h->table()->rowCount(), finish ? 1 : 0);
        QCOMPARE(h->reportFiles().size(), finish ? 1 : 0);
        wheelOver(box); // an idle box follows the wheel
        QCOMPARE(box->currentText(), QStringLiteral("Two"));
        QCOMPARE(engine.GateCount(), 2);
    }

    // Ending during a run asks, No being the default and keeping the run; otherwise nothing is asked.
    void endingTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("duringRun");
        for (const QString how : {"title bar", "Exit action", "Exit button"}) {
            QTest::newRow(qPrintable(how + ", run in progress")) << how << true;
            QTest::newRow(qPrintable(how + ", no run")) << how << false;
        }
    }
    void endingTheProgram()
    {
        QFETCH(QString, how);
        QFETCH(bool, duringRun);
        auto h = ControllerHarness::connected();
        h->clickStart();
        if (duringRun) {
            h->event(1000, 0);
            h->tick();
        } else {
            h->passAll();
        }
        h->dialogs.buttonAnswers = {QMessageBox::No}; // would keep the program if asked
        QCOMPARE(h->endProgram(how, duringRun), duringRun ? -1 : 0);
        QCOMPARE(h->dialogs.calls.size(), std::size_t(duringRun ? 1 : 0));
        if (!duringRun) {
            if (how != QLatin1String("title bar")) // the process ends without the controller's destructor
                QVERIFY(QFile::exists(h->dataDir.filePath(QStringLiteral("Swiftlane.cfg"))));
            return;
        }
        QCOMPARE(h->dialogs.calls[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(h->dialogs.calls[0].defaultButton, QMessageBox::No);
        QCOMPARE(h->dialogs.calls[0].parent, window(*h));
        QVERIFY(window(*h)->isVisible()); // the run goes on, timed as before
        h->event(2000, 1);
        h->event(3000, 2);
        h->tick();
        QCOMPARE(h->lastTableRow().mid(0, 4), (QStringList{"Ann", "2.000", "1.000", "1.000"}));
        h->dialogs.buttonAnswers = {QMessageBox::Yes};
        QCOMPARE(h->endProgram(how), 0);
    }

    // Ann finishes with auto-advance on and Bob next; one second into the countdown the operator
    // may start by hand or uncheck the box. The countdown shows whole seconds left; the subject box
    // shows Bob from the finish on, so a start by hand times Bob.
    void countdown_data()
    {
        const QString waiting = QStringLiteral(" Waiting for start gate");
        QTest::addColumn<QString>("interruption");
        QTest::addColumn<QString>("secondsShown");
        QTest::addColumn<QString>("subject"); // whose run is in progress or was last
        QTest::addColumn<QString>("shown");   // in the subject box
        QTest::addColumn<QString>("status");
        QTest::newRow("runs out") << ""
                                  << "543210"
                                  << "Bob" << "Bob" << waiting;
        QTest::newRow("start by hand") << "start"
                                       << "54"
                                       << "Bob" << "Bob" << waiting;
        QTest::newRow("box unchecked") << "uncheck"
                                       << "54"
                                       << "Ann" << "Bob" << QStringLiteral(" Idle");
    }
    void countdown()
    {
        QFETCH(QString, interruption);
        QFETCH(QString, secondsShown);
        QFETCH(QString, subject);
        QFETCH(QString, shown);
        QFETCH(QString, status);
        auto h = ControllerHarness::connected({QStringLiteral("Ann"), QStringLiteral("Bob")});
        autoAdvance(*h)->setChecked(true);
        h->clickStart();
        h->passAll();
        QString seconds;
        for (int i = 0; i < 300; ++i) { // 7.5 s, well past the countdown
            if (i == 40 && interruption == QLatin1String("start"))
                h->clickStart();
            if (i == 40 && interruption == QLatin1String("uncheck"))
                autoAdvance(*h)->click();
            const QString text = h->statusText();
            if (text.startsWith(QLatin1String(" About to start in ")) && !seconds.endsWith(text.back()))
                seconds += text.back();
            h->status(6000 + 25 * i);
            h->tick();
            if (i == 199) // exactly 5000 ms after the finish: not yet
                QCOMPARE(h->controller->CountdownArmed(), interruption.isEmpty());
        }
        QCOMPARE(seconds, secondsShown);
        QCOMPARE(h->statusText(), status);
        QCOMPARE(h->subjectCombo()->currentText(), shown);
        QCOMPARE(h->controller->GetSequenceRun().SubjectName(), subject);
        QCOMPARE(h->table()->rowCount(), interruption == QLatin1String("uncheck") ? 1 : 2);
        QVERIFY(h->dialogs.calls.empty());

        // Bob is the last of the list: his finish arms no countdown.
        autoAdvance(*h)->setChecked(true);
        if (!h->controller->GetSequenceRun().IsRunning())
            h->clickStart();
        h->passAll(20000);
        QVERIFY(!h->controller->CountdownArmed());
    }

    // The box would run a nested event loop inside the gate poll that finished the run.
    void unwrittenReportIsToldOnceTheTickHasReturned()
    {
        auto h = ControllerHarness::connected();
        QVERIFY(QDir(h->reportsFolder()).removeRecursively());
        QVERIFY(WriteAll(h->reportsFolder().chopped(1), {})); // a file where the folder should be
        h->clickStart();
        h->passAll();
        QVERIFY(!h->controller->GetSequenceRun().IsRunning());
        QVERIFY(h->dialogs.calls.empty());
        QCoreApplication::processEvents();
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
        QVERIFY(h->dialogs.calls[0].text.contains(QDir::toNativeSeparators(h->reportsFolder())));
    }

    // The report buttons hand paths to the desktop; where it has no handler, the operator is told
    // where to look instead (%1: the reports folder).
    void reportButtons_data()
    {
        const QByteArray folder = "on_openReportFolderButton_clicked", view = "on_viewReportButton_clicked";
        const QString report = QStringLiteral("%1Swiftlane_Sprint_1.csv");
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<bool>("afterARun");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("handed");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder") << folder << false << true << "%1"
                                << "";
        QTest::newRow("no report yet") << view << false << true << ""
                                       << "";
        QTest::newRow("report") << view << true << true << report << "";
        QTest::newRow("folder, no handler") << folder << false << false << "%1"
                                            << "The desktop could not open the reports folder. It is:\n%1";
        QTest::newRow("no report yet, no handler")
            << view << false << false << ""
            << "No report has been written yet. Reports are kept in:\n%1";
        QTest::newRow("report, no handler")
            << view << true << false << report << "The desktop could not open the report. It is:\n" + report;
    }
    void reportButtons()
    {
        QFETCH(QByteArray, slot);
        QFETCH(bool, afterARun);
        QFETCH(bool, opens);
        QFETCH(QString, handed);
        QFETCH(QString, message);
        auto h = ControllerHarness::connected();
        if (afterARun) {
            h->clickStart();
            h->passAll();
        }
        h->shell.opens = opens;
        QMetaObject::invokeMethod(window(*h), slot.constData());
        QCOMPARE(h->shell.opened.size(), 1);
        QCOMPARE(QDir::cleanPath(h->shell.opened[0]), QDir::cleanPath(handed.arg(h->reportsFolder())));
        QCOMPARE(h->dialogs.calls.size(), std::size_t(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty())
            QCOMPARE(h->dialogs.calls[0].text, message.arg(QDir::toNativeSeparators(h->reportsFolder())));
    }
};

QTEST_MAIN(RunControlTest)
#include "test_runcontrol.moc"
