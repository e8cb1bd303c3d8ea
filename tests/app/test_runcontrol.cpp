// Runs driven end to end through the controller and the main window: gate sentences in, report
// table and report file out.
#include "support/ControllerHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTest>

namespace {
const QString Header =
    QStringLiteral("Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Checkpoint_3,Distance,Speed\n");
}

class RunControlTest : public QObject
{
    Q_OBJECT

private:
    // A started harness with the 4-gate sequence "Sprint", all gates reporting ready.
    std::unique_ptr<ControllerHarness> connected(const QStringList& subjects = {QStringLiteral("Ann")})
    {
        auto h = std::make_unique<ControllerHarness>();
        h->writeSequence(QStringLiteral("Sprint"), {0, 1, 2, 3}, 30.0);
        h->start();
        h->setSubjects(subjects);
        h->status(500);
        h->tick();
        return h;
    }

    // Ann's run finished with auto-advance on and Bob next in the list.
    std::unique_ptr<ControllerHarness> annFinishedWithAutoAdvance()
    {
        auto h = connected({QStringLiteral("Ann"), QStringLiteral("Bob")});
        h->controller->MainWindow()
            .findChild<QCheckBox*>(QStringLiteral("autoAdvSubjectCheckBox"))
            ->setChecked(true);
        h->clickStart();
        runThrough(*h);
        return h;
    }

    // Start gate at 1000, status at 1500 and 2500, then gates 1..3 at 3200, 4200, 5000.
    void runThrough(ControllerHarness& h)
    {
        h.event(1000, 0);
        h.tick();
        h.status(1500);
        h.tick();
        h.status(2500);
        h.tick();
        h.event(3200, 1);
        h.tick();
        h.event(4200, 2);
        h.status(4300);
        h.tick();
        h.event(5000, 3);
        h.tick();
    }

private Q_SLOTS:
    void fullRunReachesTableAndReportFile()
    {
        auto h = connected();
        QCOMPARE(h->connectionText(), QStringLiteral("Connected"));
        QCOMPARE(h->statusText(), QStringLiteral(" Idle"));

        h->clickStart();
        QCOMPARE(h->dialogs.calls.size(), std::size_t(0));
        QCOMPARE(h->statusText(), QStringLiteral(" Idle")); // refreshed on the next tick
        h->tick();
        QCOMPARE(h->statusText(), QStringLiteral(" Waiting for start gate"));
        QCOMPARE(h->table()->rowCount(), 1);

        h->event(1000, 0);
        h->status(1500);
        h->tick();
        QCOMPARE(h->statusText(), QStringLiteral(" Running"));
        QCOMPARE(h->lastTableRow().value(0), QStringLiteral("Ann"));
        QCOMPARE(h->lastTableRow().value(1), QStringLiteral("0.500")); // live total, updated each tick

        h->status(2500);
        h->tick();
        h->event(3200, 1);
        h->tick();
        QCOMPARE(h->lastTableRow().value(2), QStringLiteral("2.200"));
        h->event(4200, 2);
        h->event(5000, 3);
        h->tick();

        const QStringList finalRow = {"Ann", "4.000", "2.200", "1.000", "0.800", "30.000", "7.500"};
        QCOMPARE(h->lastTableRow(), finalRow);
        QCOMPARE(h->table()->rowCount(), 1);
        QCOMPARE(h->statusText(), QStringLiteral(" Idle"));
        QCOMPARE(h->reportFiles(), QStringList{QStringLiteral("Swiftlane_Sprint_1.csv")});
        QCOMPARE(h->readReport(QStringLiteral("Swiftlane_Sprint_1.csv")),
                 Header + QStringLiteral("Ann,4.000,2.200,1.000,0.800,30.000,7.500\n"));
    }

    void refusedStartsExplainWhy_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("slave2Ready");
        QTest::addColumn<QString>("message");
        QTest::newRow("no subject, gate not ready")
            << QString() << false
            << QStringLiteral("Please enter a subject name\nSome gates in the gate sequence are either not "
                              "ready or not present");
        QTest::newRow("no subject") << QString() << true << QStringLiteral("Please enter a subject name\n");
        QTest::newRow("gate not ready")
            << QStringLiteral("Ann") << false
            << QStringLiteral("Some gates in the gate sequence are either not ready or not present");
        QTest::newRow("blank subject passes") << QStringLiteral("  ") << true << QString();
    }

    void refusedStartsExplainWhy()
    {
        QFETCH(QString, subject);
        QFETCH(bool, slave2Ready);
        QFETCH(QString, message);
        auto h = connected({subject});
        h->status(600, true, true, slave2Ready, true);
        h->tick();
        h->clickStart();
        if (message.isEmpty()) {
            QVERIFY(h->controller->GetSequenceRun().IsRunning());
            QCOMPARE(h->dialogs.calls.size(), std::size_t(0));
            return;
        }
        QVERIFY(!h->controller->GetSequenceRun().IsRunning());
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
        QCOMPARE(h->dialogs.calls[0].title, QStringLiteral("Problem starting run"));
        QCOMPARE(h->dialogs.calls[0].text, message);
        QCOMPARE(h->dialogs.calls[0].parent, static_cast<QWidget*>(&h->controller->MainWindow()));
        QCOMPARE(h->table()->rowCount(), 0);
    }

    void emptyRunsFolderRefusesEveryStart()
    {
        ControllerHarness h;
        h.start();
        h.setSubjects({QStringLiteral("Ann")});
        h.status(500);
        h.tick();
        h.clickStart();
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        QVERIFY(!h.controller->GetSequenceRun().IsRunning());
    }

    void abortQuestionOkAbortsNoContinues()
    {
        auto h = connected();
        h->clickStart();
        h->event(1000, 0);
        h->tick();

        h->dialogs.buttonAnswers.push_back(QMessageBox::No);
        h->clickStart();
        const auto& question = h->dialogs.calls.back();
        QCOMPARE(question.title, QStringLiteral("Run in Progress"));
        QCOMPARE(question.text, QStringLiteral("Do you wish to abort the current run ?"));
        QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::No);
        QCOMPARE(question.defaultButton, QMessageBox::No);
        QVERIFY(h->controller->GetSequenceRun().IsRunning());
        QCOMPARE(h->controller->GetSequenceRun().CurrentGateIndex(), 1);
        QCOMPARE(h->table()->rowCount(), 1);

        h->dialogs.buttonAnswers.push_back(QMessageBox::Ok);
        h->clickStart();
        QVERIFY(!h->controller->GetSequenceRun().IsRunning());
        QCOMPARE(h->table()->rowCount(), 0);
        h->tick();
        QCOMPARE(h->statusText(), QStringLiteral(" Idle"));
        QVERIFY(h->reportFiles().isEmpty());
    }

    void okAfterTheRunFinishedKeepsItsResult()
    {
        auto h = connected();
        h->clickStart();
        h->event(1000, 0);
        h->event(3000, 1);
        h->event(4000, 2);
        h->tick();
        // The finish arrives while the abort question is open.
        h->dialogs.whileOpen = [&h] {
            h->event(5000, 3);
            h->tick();
        };
        h->dialogs.buttonAnswers.push_back(QMessageBox::Ok);
        h->clickStart();
        QCOMPARE(h->table()->rowCount(), 1);
        QCOMPARE(h->lastTableRow().value(1), QStringLiteral("4.000"));
        QVERIFY(h->readReport(QStringLiteral("Swiftlane_Sprint_1.csv"))
                    .endsWith(QStringLiteral("Ann,4.000,2.000,1.000,1.000,30.000,7.500\n")));
    }

    void autoAdvanceCountsDownAndStartsTheNextSubject()
    {
        auto h = annFinishedWithAutoAdvance();
        QVERIFY(h->controller->CountdownArmed());

        QStringList seen;
        for (int i = 0; i < 205; ++i) { // ~5.1 s of ticks
            seen << h->statusText();
            h->status(6000 + 25 * i);
            h->tick();
        }
        seen.removeDuplicates();
        const QStringList expected = {
            " About to start in 5", " About to start in 4", " About to start in 3",   " About to start in 2",
            " About to start in 1", " About to start in 0", " Waiting for start gate"};
        QCOMPARE(seen, expected);
        QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Bob"));
        QCOMPARE(h->controller->GetSequenceRun().SubjectName(), QStringLiteral("Bob"));
        QCOMPARE(h->table()->rowCount(), 2);
        QVERIFY(!h->controller->CountdownArmed());

        // Bob is the last subject: his finish arms no countdown.
        runThrough(*h);
        QVERIFY(!h->controller->CountdownArmed());
        QCOMPARE(h->statusText(), QStringLiteral(" Idle"));
    }

    void startingByHandDisarmsTheCountdown()
    {
        auto h = annFinishedWithAutoAdvance();
        QVERIFY(h->controller->CountdownArmed());
        h->tick(40);
        h->clickStart(); // Bob, shown since Ann's finish, by hand
        QVERIFY(!h->controller->CountdownArmed());
        for (int i = 0; i < 300; ++i) {
            h->status(7000 + 25 * i);
            h->tick();
        }
        QCOMPARE(h->dialogs.calls.size(), std::size_t(0));
        QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Bob"));
        QVERIFY(h->controller->GetSequenceRun().IsRunning());
    }

    void refillingTheRunListKeepsARunInProgress()
    {
        auto h = std::make_unique<ControllerHarness>();
        h->writeSequence(QStringLiteral("b"), {0, 1}, 10.0);
        h->writeSequence(QStringLiteral("A"), {0, 1, 2, 3}, 30.0);
        h->start();
        QCOMPARE(h->runCombo()->count(), 2);
        QCOMPARE(h->runCombo()->itemText(0), QStringLiteral("A")); // case is ignored in the order
        h->runCombo()->setCurrentIndex(1);
        QCOMPARE(h->controller->GetSequenceRun().GateCount(), 2);
        h->startPastTheStartGate();

        h->controller->MainWindow().refreshRunList();
        QVERIFY(h->controller->GetSequenceRun().IsRunning());
        QCOMPARE(h->controller->GetSequenceRun().GateCount(), 2);
        QCOMPARE(h->runCombo()->currentText(), QStringLiteral("b"));
        QCOMPARE(h->table()->rowCount(), 1);
        h->event(2000, 1);
        h->tick();
        QCOMPARE(h->reportFiles(), QStringList{QStringLiteral("Swiftlane_b_1.csv")});

        // With no run in progress the refill selects the first sequence again.
        h->controller->MainWindow().refreshRunList();
        QCOMPARE(h->runCombo()->currentIndex(), 0);
        QCOMPARE(h->controller->GetSequenceRun().GateCount(), 4);
        QCOMPARE(h->table()->rowCount(), 0);
    }

    // The box would run a nested event loop inside the gate poll that finished the run.
    void unwrittenReportIsToldOnceTheTickHasReturned()
    {
        auto h = connected();
        const QString folder = h->reportsFolder();
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(QDir::cleanPath(folder)); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        h->clickStart();
        runThrough(*h);
        QVERIFY(!h->controller->GetSequenceRun().IsRunning());
        QCOMPARE(h->dialogs.calls.size(), std::size_t(0));
        QCoreApplication::processEvents();
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
        QCOMPARE(h->dialogs.calls[0].title, QStringLiteral("Report not written"));
        QCOMPARE(h->dialogs.calls[0].parent, nullptr);
        QVERIFY(h->dialogs.calls[0].text.contains(QDir::toNativeSeparators(folder)));
    }

    void reportButtonsHandPathsToTheDesktop()
    {
        auto h = connected();
        QMetaObject::invokeMethod(&h->controller->MainWindow(), "on_viewReportButton_clicked");
        QMetaObject::invokeMethod(&h->controller->MainWindow(), "on_openReportFolderButton_clicked");
        QCOMPARE(h->shell.opened.size(), 2);
        QCOMPARE(h->shell.opened[0], QString()); // no report yet this session
        QCOMPARE(QDir(h->shell.opened[1]).absolutePath(), QDir(h->reportsFolder()).absolutePath());
        h->clickStart();
        runThrough(*h);
        QMetaObject::invokeMethod(&h->controller->MainWindow(), "on_viewReportButton_clicked");
        QCOMPARE(h->shell.opened.last(), h->reportsFolder() + QStringLiteral("Swiftlane_Sprint_1.csv"));
        QCOMPARE(h->dialogs.calls.size(), std::size_t(0));
    }

    // Where the desktop has no handler the operator is told where to look instead.
    void pathsTheDesktopCannotOpenAreShown_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<bool>("afterARun");
        QTest::addColumn<QString>("text");
        QTest::newRow("reports folder") << QByteArray("on_openReportFolderButton_clicked") << false
                                        << QStringLiteral("The desktop could not open the reports folder. "
                                                          "It is:\n%1");
        QTest::newRow("report") << QByteArray("on_viewReportButton_clicked") << true
                                << QStringLiteral("The desktop could not open the report. It is:\n%1"
                                                  "Swiftlane_Sprint_1.csv");
        QTest::newRow("no report yet") << QByteArray("on_viewReportButton_clicked") << false
                                       << QStringLiteral("No report has been written yet. Reports are kept "
                                                         "in:\n%1");
    }
    void pathsTheDesktopCannotOpenAreShown()
    {
        QFETCH(QByteArray, button);
        QFETCH(bool, afterARun);
        QFETCH(QString, text);
        auto h = connected();
        if (afterARun) {
            h->clickStart();
            runThrough(*h);
        }
        h->shell.opens = false;
        QMetaObject::invokeMethod(&h->controller->MainWindow(), button.constData());
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
        QCOMPARE(h->dialogs.calls[0].text, text.arg(QDir::toNativeSeparators(h->reportsFolder())));
        QCOMPARE(h->dialogs.calls[0].parent, static_cast<QWidget*>(&h->controller->MainWindow()));
    }
};

QTEST_MAIN(RunControlTest)
#include "test_runcontrol.moc"
