// The Results window driven as an operator would, through the main window's menu and the dialog
// seam: a run marked invalid only with a reason, a file replaced only on Yes.
#include "support/ControllerHarness.h"
#include "support/ResultsRecords.h"
#include "ui/ResultsWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace resultsrecords;

class ResultsWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ControllerHarness> h;
    ResultsWindow* window = nullptr;

    template <typename T> T* Child(const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void Click(const char* button) { QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton); }
    QString Invalid()
    {
        return Scalar(h->controller->Results().Store(),
                      "SELECT IFNULL(group_concat(invalid_reason), '-') FROM runs");
    }

private slots:
    // Today: Ann 3.200 and 3.100, Bob 3.300; two weeks ago Ann ran 3.000. The window opens by Ctrl+R.
    void init()
    {
        h = std::make_unique<ControllerHarness>();
        h->writeSequence("Sprint", {0, 1, 2}, 30.0);
        h->start();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const auto& [athlete, first, secondsAgo] : {std::tuple{"Ann", 2000, 14 * 24 * 3600},
                                                         {"Ann", 2200, 3},
                                                         {"Ann", 2100, 2},
                                                         {"Bob", 2300, 1}}) {
            RunRecord run = Run(athlete, "", {first, 1000});
            run.startUtc = now.addSecs(-secondsAgo);
            run.utcOffsetSeconds = now.toLocalTime().offsetFromUtc();
            QVERIFY(h->controller->Results().Store().Store(run));
        }
        QAction* action = h->controller->MainWindow().findChild<QAction*>("actionResults");
        QVERIFY(action && action->shortcut() == QKeySequence("Ctrl+R"));
        action->trigger();
        window = h->controller->MainWindow().resultsWindow();
        QVERIFY(window && window->isVisible());
    }
    void cleanup() { h.reset(); }

    // A run is marked invalid only with a reason. Return in the reason box marks it as the button
    // beside the box does; it does not close the window or press another button.
    void marksInvalidOnlyWithAReason()
    {
        window->findChild<QTableView*>("runsTableView")->selectRow(0);
        QLineEdit* reason = Child<QComboBox>("reasonComboBox")->lineEdit();
        reason->setText("   ");
        Click("markInvalidPushButton");
        QCOMPARE(h->dialogs.calls.size(), 1u); // no reason given: asked for one, nothing marked
        QCOMPARE(Invalid(), "-");
        reason->setText("slipped");
        Click("markInvalidPushButton");
        QCOMPARE(Invalid(), "slipped");

        window->findChild<QTableView*>("runsTableView")->selectRow(1);
        QVERIFY(QTest::qWaitForWindowActive(window));
        reason->setFocus();
        reason->clear();
        QTest::keyClicks(reason, "false start");
        QTest::keyClick(reason, Qt::Key_Return);
        QStringList reasons = Invalid().split(',');
        reasons.sort();
        QCOMPARE(reasons, (QStringList{"false start", "slipped"}));
        QVERIFY(window->isVisible());
    }

    // The file dialog asked about "results"; the ".csv" file made of it exists, so the window asks.
    void exportReplacesOnlyAfterTheQuestion()
    {
        for (const bool replace : {false, true}) {
            h->dialogs.calls.clear();
            const QString chosen = h->dataDir.filePath("results");
            QFile old(chosen + ".csv");
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
            old.close();
            h->dialogs.fileAnswers.push_back(chosen);
            h->dialogs.buttonAnswers.push_back(replace ? QMessageBox::Yes : QMessageBox::No);
            Click("exportCsvPushButton");
            QCOMPARE(h->dialogs.calls.size(), 1u); // the question
            // Replaced: the header and today's three runs.
            const QByteArray content = old.open(QIODevice::ReadOnly) ? old.readAll() : "unreadable";
            QVERIFY(replace ? content.count('\n') == 4 : content == "old");
        }
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "test_results_window.moc"
