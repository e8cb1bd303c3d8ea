// The Results window driven as an operator would, through the main window's menu and the dialog
// seam: today's runs first, personal bests marked, invalid runs greyed, exports and imports.
#include "results/RunFilter.h"
#include "support/ControllerHarness.h"
#include "support/ResultsRecords.h"
#include "ui/ResultsRunsModel.h"
#include "ui/ResultsWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace resultsrecords;

class ResultsWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ControllerHarness> h;

    // Today: Ann 3.200 and 3.100 (her best), Bob 3.300; two weeks ago Ann ran 3.000.
    void StoreHistory()
    {
        ResultsStore& store = h->controller->Results().Store();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const auto at = [&](RunRecord run, qint64 secondsAgo) {
            run.startUtc = now.addSecs(-secondsAgo);
            run.utcOffsetSeconds = now.toLocalTime().offsetFromUtc();
            QVERIFY(store.Store(run));
        };
        at(Run("Ann", "", {2000, 1000}), 14 * 24 * 3600);
        at(Run("Ann", "", {2200, 1000}), 3);
        at(Run("Ann", "", {2100, 1000}), 2);
        at(Run("Bob", "", {2300, 1000}), 1);
    }
    ResultsWindow* OpenByShortcut()
    {
        QAction* action = h->controller->MainWindow().findChild<QAction*>("actionResults");
        if (!action || action->shortcut() != QKeySequence("Ctrl+R"))
            return nullptr;
        action->trigger();
        return h->controller->MainWindow().resultsWindow();
    }
    template <typename T> T* Child(ResultsWindow* window, const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // The rows shown as "athlete total [PB] [grey]", in the table's order.
    static QStringList Shown(ResultsWindow* window)
    {
        ResultsRunsModel* model = window->runsModel();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            QString text = model->index(row, runcolumn::Athlete).data().toString() + ' ' +
                           model->index(row, runcolumn::TotalMs).data().toString();
            if (model->index(row, runcolumn::PersonalBest).data().toString() == "PB")
                text += " PB";
            if (model->index(row, runcolumn::Athlete).data(Qt::ForegroundRole).isValid())
                text += " grey";
            rows << text;
        }
        return rows;
    }
    static void Select(ResultsWindow* window, const QString& athlete, const QString& total)
    {
        ResultsRunsModel* model = window->runsModel();
        auto* view = window->findChild<QTableView*>("runsTableView");
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, runcolumn::Athlete).data().toString() == athlete &&
                model->index(row, runcolumn::TotalMs).data().toString() == total)
                view->selectRow(row);
        }
    }

private slots:
    void init()
    {
        h = std::make_unique<ControllerHarness>();
        h->writeSequence("Sprint", {0, 1, 2}, 30.0);
        h->start();
        StoreHistory();
    }
    void cleanup() { h.reset(); }

    void opensOnTodayWithBestsMarked()
    {
        ResultsWindow* window = OpenByShortcut();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(Shown(window), (QStringList{"Bob 3.300 PB", "Ann 3.100", "Ann 3.200"}));
        QTest::mouseClick(Child<QPushButton>(window, "allDatesPushButton"), Qt::LeftButton);
        QCOMPARE(Shown(window), (QStringList{"Bob 3.300 PB", "Ann 3.100", "Ann 3.200", "Ann 3.000 PB"}));
        Child<QCheckBox>(window, "bestPerAthleteCheckBox")->setChecked(true);
        QCOMPARE(Shown(window), (QStringList{"Bob 3.300 PB", "Ann 3.000 PB"}));
    }

    void markInvalidAndRestore()
    {
        ResultsWindow* window = OpenByShortcut();
        QVERIFY(window);
        QTest::mouseClick(Child<QPushButton>(window, "allDatesPushButton"), Qt::LeftButton);
        Select(window, "Ann", "3.000");
        Child<QComboBox>(window, "reasonComboBox")->setCurrentText("   ");
        QTest::mouseClick(Child<QPushButton>(window, "markInvalidPushButton"), Qt::LeftButton);
        QCOMPARE(h->dialogs.calls.size(), 1u); // no reason given: asked for one, nothing marked
        QCOMPARE(Shown(window).last(), "Ann 3.000 PB");

        Child<QComboBox>(window, "reasonComboBox")->setCurrentText("slipped");
        QTest::mouseClick(Child<QPushButton>(window, "markInvalidPushButton"), Qt::LeftButton);
        // Still listed, grey; Ann's best is now today's 3.100.
        QCOMPARE(Shown(window), (QStringList{"Bob 3.300 PB", "Ann 3.100 PB", "Ann 3.200", "Ann 3.000 grey"}));
        QCOMPARE(window->runsModel()->index(3, runcolumn::Reason).data().toString(), "slipped");

        QTest::mouseClick(Child<QPushButton>(window, "restorePushButton"), Qt::LeftButton);
        QCOMPARE(Shown(window), (QStringList{"Bob 3.300 PB", "Ann 3.100", "Ann 3.200", "Ann 3.000 PB"}));
    }

    // The file dialog asked about "results"; the ".csv" file made of it exists, so the window asks.
    void exportReplacesOnlyAfterTheQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("kept") << int(QMessageBox::No) << false;
        QTest::newRow("replaced") << int(QMessageBox::Yes) << true;
    }
    void exportReplacesOnlyAfterTheQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, replaced);
        ResultsWindow* window = OpenByShortcut();
        QVERIFY(window);
        const QString chosen = h->dataDir.filePath("results");
        QFile old(chosen + ".csv");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        h->dialogs.fileAnswers.push_back(chosen);
        h->dialogs.buttonAnswers.push_back(QMessageBox::StandardButton(answer));
        QTest::mouseClick(Child<QPushButton>(window, "exportCsvPushButton"), Qt::LeftButton);
        QCOMPARE(h->dialogs.calls.size(), 1u);
        QVERIFY(h->dialogs.calls.front().text.contains("already exists"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray content = old.readAll();
        QCOMPARE(content == "old", !replaced);
        if (replaced)
            QCOMPARE(content.count('\n'), 4); // the header and today's three runs
    }

    void importReportFilesOnce()
    {
        ResultsWindow* window = OpenByShortcut();
        QVERIFY(window);
        QFile report(h->reportsFolder() + "Swiftlane_Hill_1.csv");
        QVERIFY(report.open(QIODevice::WriteOnly));
        report.write(
            "Subject_Name,Total_Time,Checkpoint_1,Distance,Speed\nCy,4.000,4.000,20.000,5.000\nbad row\n");
        report.close();
        QTest::mouseClick(Child<QPushButton>(window, "importReportsPushButton"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(window, "importReportsPushButton"), Qt::LeftButton);
        QCOMPARE(h->dialogs.calls.size(), 2u);
        QVERIFY(h->dialogs.calls[0].text.contains("1 run(s) added, 0 already"));
        QVERIFY(h->dialogs.calls[0].text.contains("Swiftlane_Hill_1.csv, row 3"));
        QVERIFY(h->dialogs.calls[1].text.contains("0 run(s) added, 1 already"));
        QVERIFY(Child<QComboBox>(window, "courseComboBox")->findText("Hill") > 0);
    }

    // A run finished while the window is open shows up without the operator asking.
    void newRunShowsUp()
    {
        ResultsWindow* window = OpenByShortcut();
        QVERIFY(window);
        h->startPastTheStartGate("Dee");
        h->event(3000, 1);
        h->event(4000, 2);
        h->tick();
        QCoreApplication::processEvents();
        QVERIFY(Shown(window).contains("Dee 3.000 PB"));
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "test_results_window.moc"
