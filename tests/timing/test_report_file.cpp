#include "TimingTestFiles.h"
#include "timing/ReportFile.h"
#include "timing/ReportFileUi.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct RecordingReportUi : ReportFileUi
{
    void ShowReportWarning(const QString& text) override { warnings << text; }
    QStringList warnings;
};

} // namespace

class ReportFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dataHome;
    const QByteArray headerLine = "Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n";
    const QStringList header = QString(headerLine).trimmed().split(',');
    static QStringList Row(const QString& subject)
    {
        return {subject, "3.200", "2.200", "1.000", "32.000", "10.000"};
    }
    static QByteArray Line(const QByteArray& field) { return field + ",3.200,2.200,1.000,32.000,10.000\n"; }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path())); }

    void numberedFilesFillTheFirstGap()
    {
        const QString reports = dataHome.path() + "/Swiftlane/Reports/";
        QVERIFY(QDir().mkpath(reports) && WriteAll(reports + "Swiftlane_Run_2.csv", "old\n"));
        for (const char* expected : {"Swiftlane_Run_1.csv", "Swiftlane_Run_3.csv"}) {
            ReportFile report;
            report.SetBaseName("Swiftlane_Run");
            report.SetHeader(header);
            report.AddEntry(Row("Ann"));
            report.AddEntry(Row("Bo"));
            QCOMPARE(report.ReportFileName(), reports + expected);
            QCOMPARE(ReadAll(report.ReportFileName()), headerLine + Line("Ann") + Line("Bo"));
        }
        QCOMPARE(ReadAll(reports + "Swiftlane_Run_2.csv"), "old\n");
    }

    void fieldsQuotedOnlyWhenNeeded()
    {
        ReportFile report;
        report.SetHeader(header);
        for (const char* subject : {"Zo\u00eb Lee", "Lee, Ann", "Ann \"Flash\"", "Ann\nLee", "Ann\rLee"})
            report.AddEntry(Row(subject));
        QCOMPARE(ReadAll(report.ReportFileName()), headerLine + Line("Zo\u00eb Lee") + Line("\"Lee, Ann\"") +
                                                       Line("\"Ann \"\"Flash\"\"\"") + Line("\"Ann\nLee\"") +
                                                       Line("\"Ann\rLee\""));
    }

    // Rows that cannot be written are kept, each for the file of its own sequence.
    void rowsKeptUntilTheFolderCanBeWritten()
    {
        RecordingReportUi ui;
        // A regular file where the data folder should be: the reports folder cannot be made.
        const QString blocker = dataHome.filePath("blocker");
        QVERIFY(WriteAll(blocker, ""));
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
        ReportFile report;
        report.SetUi(&ui);
        const QString folder = report.ReportFolder();
        report.SetBaseName("Swiftlane_Run");
        report.SetHeader(header);
        report.AddEntry(Row("Ann"));
        report.AddEntry(Row("Bo"));
        QCOMPARE(report.PendingRowCount(), 2);
        QCOMPARE(ui.warnings.size(), 1); // told once
        QVERIFY(ui.warnings[0].contains(QDir::toNativeSeparators(folder)));

        QVERIFY(QFile::remove(blocker));
        report.SetBaseName("Swiftlane_One");
        report.SetHeader({"Subject_Name", "Total_Time"});
        report.AddEntry({"Cy", "1.000"});
        QCOMPARE(report.PendingRowCount(), 0);
        QCOMPARE(ReadAll(folder + "Swiftlane_Run_1.csv"), headerLine + Line("Ann") + Line("Bo"));
        QCOMPARE(ReadAll(folder + "Swiftlane_One_1.csv"), "Subject_Name,Total_Time\nCy,1.000\n");
        report.SetBaseName("Swiftlane_Run"); // same name, other header: a new file
        report.AddEntry({"Dy", "1.000"});
        QCOMPARE(report.ReportFileName(), folder + "Swiftlane_Run_2.csv");
        QCOMPARE(ui.warnings.size(), 1);
    }

    // Rows still unwritable when the program ends go to the temporary folder, not nowhere.
    void rowsStillKeptAtTheEndGoToTheTemporaryFolder()
    {
        QTemporaryDir temp;
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        const QString blocker = dataHome.filePath("blocker2");
        QVERIFY(WriteAll(blocker, ""));
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
        {
            ReportFile report;
            report.SetBaseName("Swiftlane_Run");
            report.SetHeader(header);
            report.AddEntry(Row("Ann"));
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
        const QStringList kept = QDir(temp.path()).entryList({"Swiftlane_unwritten_*.csv"});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(ReadAll(temp.filePath(kept[0])), headerLine + Line("Ann"));
    }
};

QTEST_GUILESS_MAIN(ReportFileTest)
#include "test_report_file.moc"
