// Whose result is whose: the subject box is where the operator prepares the next athlete, while
// the live row, the report, the result row and the run view keep the name a run was started with.
#include "support/ControllerHarness.h"
#include "ui/RunDisplayDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

const QString Report = QStringLiteral("Swiftlane_Sprint_1.csv");

// The 3-gate sequence "Sprint" over 30 m, all gates ready, the given squad in the subject box.
std::unique_ptr<ControllerHarness> ready(const QStringList& squad)
{
    auto h = std::make_unique<ControllerHarness>();
    h->writeSequence(QStringLiteral("Sprint"), {0, 1, 2}, 30.0);
    h->start();
    h->setSubjects(squad);
    h->status(500);
    h->tick();
    return h;
}

// Gates 0, 1, 2 passed `from` ms on: splits 2.000 and 1.500, total 3.500, 30 m in 3.5 s = 8.571 m/s.
void runThrough(ControllerHarness& h, std::uint32_t from)
{
    h.event(from, 0);
    h.tick();
    h.event(from + 2000, 1);
    h.tick();
    h.event(from + 3500, 2);
    h.tick();
}

// Ticks with the gates reporting, as between runs: device times from `from` on, 25 ms apart.
void idle(ControllerHarness& h, int ticks, std::uint32_t from)
{
    for (int i = 0; i < ticks; ++i) {
        h.status(from + 25 * static_cast<std::uint32_t>(i));
        h.tick();
    }
}

void typeSubject(ControllerHarness& h, const QString& name)
{
    QLineEdit* edit = h.subjectCombo()->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, name);
}

QStringList reportNames(const ControllerHarness& h)
{
    QStringList names;
    const QStringList lines = h.readReport(Report).split('\n', Qt::SkipEmptyParts).mid(1);
    for (const QString& line : lines)
        names << line.section(',', 0, 0);
    return names;
}

} // namespace

class MainWindowSubjectsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameTypedMidRunStaysWithTheNextRun()
    {
        auto h = ready({QStringLiteral("Alpha Runner")});
        h->clickStart();
        h->event(1000, 0);
        h->tick();
        typeSubject(*h, QStringLiteral("Beta Next")); // getting the next athlete ready
        h->tick();
        QCOMPARE(h->lastTableRow().value(0), QStringLiteral("Alpha Runner")); // the live row
        h->event(3000, 1);
        h->tick();
        h->event(4500, 2);
        h->tick();

        const QStringList result = {"Alpha Runner", "3.500", "2.000", "1.500", "30.000", "8.571"};
        QCOMPARE(h->lastTableRow(), result);
        QVERIFY(
            h->readReport(Report).endsWith(QStringLiteral("Alpha Runner,3.500,2.000,1.500,30.000,8.571\n")));
        QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Beta Next"));

        h->clickStart(); // the name typed is the next run's
        QCOMPARE(h->lastTableRow().value(0), QStringLiteral("Beta Next"));
        QCOMPARE(h->table()->item(0, 0)->text(), QStringLiteral("Alpha Runner"));
    }

    // Three athletes, auto-advance on: the second started by hand during the countdown, the third
    // by the countdown. Each run is stored under the athlete who ran it.
    void startDuringTheCountdownTimesTheNextAthlete()
    {
        auto h = ready({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cleo")});
        h->controller->MainWindow().findChild<QCheckBox*>(QStringLiteral("autoAdvSubjectCheckBox"))->click();
        h->clickStart();
        runThrough(*h, 1000);
        QVERIFY(h->controller->CountdownArmed());
        QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Bob")); // at once, not after 5 s

        idle(*h, 40, 5000); // 1 s into the countdown
        h->clickStart();
        QVERIFY(!h->controller->CountdownArmed());
        QCOMPARE(h->lastTableRow().value(0), QStringLiteral("Bob"));
        runThrough(*h, 10000);
        QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Cleo"));

        idle(*h, 210, 14000); // 5.25 s: the countdown starts Cleo's run
        QVERIFY(h->controller->GetSequenceRun().IsRunning());
        runThrough(*h, 20000);
        QVERIFY(!h->controller->CountdownArmed()); // Cleo is the last
        QCOMPARE(reportNames(*h), (QStringList{"Ann", "Bob", "Cleo"}));
        QCOMPARE(h->table()->rowCount(), 3);
        QCOMPARE(h->dialogs.calls.size(), std::size_t(0));
    }

    // Between a finish and the next start the run view still shows the finished run: its name
    // with its times, whatever the subject box shows meanwhile.
    void runViewNamesTheRunItShows()
    {
        auto h = ready({QStringLiteral("Ann"), QStringLiteral("Bob")});
        h->controller->MainWindow().findChild<QPushButton*>(QStringLiteral("raceViewPushButton"))->click();
        RunDisplayDialog* view = h->controller->MainWindow().runDisplayDialog();
        h->clickStart();
        runThrough(*h, 1000);
        h->subjectCombo()->setCurrentIndex(1);
        typeSubject(*h, QStringLiteral("Bobby"));
        h->tick();
        QCOMPARE(view->SubjectText(), QStringLiteral("Ann"));
        QCOMPARE(view->TotalText(), QStringLiteral("3.500"));

        h->clickStart();
        h->tick();
        QCOMPARE(view->SubjectText(), QStringLiteral("Bobby"));
        QCOMPARE(view->TotalText(), QStringLiteral("0.000"));
    }
};

QTEST_MAIN(MainWindowSubjectsTest)
#include "test_main_window_subjects.moc"
