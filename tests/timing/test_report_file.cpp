#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "timing/ReportFile.h"
#include "timing/ReportFileUi.h"

#include <QtTest>

#include <optional>
#include <tuple>

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
    QTemporaryDir temp;
    int folders = 0;
    const QByteArray headerLine = "Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n";
    const QStringList header = QString(headerLine).trimmed().split(',');
    static QStringList Row(const QString& subject)
    {
        return {subject, "3.200", "2.200", "1.000", "32.000", "10.000"};
    }
    static QByteArray Line(const QByteArray& field) { return field + ",3.200,2.200,1.000,32.000,10.000\n"; }

    // A data folder of its own for each case; returns its reports folder.
    QString FreshDataFolder()
    {
        const QString data = dataHome.filePath(QString::number(++folders));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        return data + "/Swiftlane/Reports/";
    }
    // A data folder whose reports folder cannot be made: a regular file stands where it would go.
    void BlockedDataFolder()
    {
        const QString blocker = dataHome.filePath("blocker" + QString::number(++folders));
        WriteAll(blocker, "");
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
    }
    static QStringList Files(const QString& folder) { return QDir(folder).entryList(QDir::Files); }
    void StartRunSequence(ReportFile& report)
    {
        report.SetBaseName("Swiftlane_Run");
        report.SetHeader(header);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dataHome.isValid() && temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
    }

    // The first free number; nothing that stands in the folder is reopened or written over, not even a
    // link to nowhere. The sequence name may hold anything; the file name must still be one the folder
    // can take.
    void numbering()
    {
        const QString runner = QString::fromUtf8("\xf0\x9f\x8f\x83"); // outside the BMP: two UTF-16 units
        // 'f' file, 'l' dangling link, 'd' folder, then the name. 255 bytes at most: "Swiftlane_" and
        // "_1.csv" take 16.
        const std::tuple<QString, QStringList, QString> cases[] = {
            {"Run", {}, "Swiftlane_Run_1.csv"},
            {"Run", {"fSwiftlane_Run_2.csv"}, "Swiftlane_Run_1.csv"},
            {"Run", {"fSwiftlane_Run_1.csv", "fSwiftlane_Run_2.csv"}, "Swiftlane_Run_3.csv"},
            {"Run", {"lSwiftlane_Run_1.csv"}, "Swiftlane_Run_2.csv"},
            {"Run", {"dSwiftlane_Run_1.csv"}, "Swiftlane_Run_2.csv"},
            {"Run", {"fSwiftlane_Run 2_1.csv"}, "Swiftlane_Run_1.csv"},
            {"100/200 m", {}, "Swiftlane_100_200 m_1.csv"},
            {QString("a\tb\nc") + QChar(0) + "d\x7f" + QChar(0x85) + "e", {}, "Swiftlane_a_b_c_d__e_1.csv"},
            {u8"Zo\u00eb's 30 m \\ \u2014 *?", {}, u8"Swiftlane_Zo\u00eb's 30 m \\ \u2014 *?_1.csv"},
            {QString(300, 'x'), {}, "Swiftlane_" + QString(239, 'x') + "_1.csv"},
            {QString(200, QChar(0xe9)), {}, "Swiftlane_" + QString(119, QChar(0xe9)) + "_1.csv"},
            {runner.repeated(100), {}, "Swiftlane_" + runner.repeated(59) + "_1.csv"}};
        for (const auto& [sequence, taken, chosen] : cases) {
            const QString reports = FreshDataFolder();
            QVERIFY(QDir().mkpath(reports));
            for (const QString& entry : taken) {
                const QString path = reports + entry.mid(1);
                QVERIFY(entry[0] == 'f'   ? WriteAll(path, "old\n")
                        : entry[0] == 'l' ? QFile::link(reports + "nowhere", path)
                                          : QDir().mkdir(path));
            }
            ReportFile report;
            report.SetBaseName("Swiftlane_" + sequence);
            report.SetHeader(header);
            report.AddEntry(Row("Ann"));
            report.AddEntry(Row("Bo"));
            QCOMPARE(report.ReportFileName(), reports + chosen);
            QCOMPARE(ReadAll(reports + chosen), headerLine + Line("Ann") + Line("Bo"));
            for (const QString& entry : taken)
                QCOMPARE(ReadAll(reports + entry.mid(1)), entry[0] == 'f' ? "old\n" : "");
        }
    }

    // A disk that fills up in the middle of a row: the file keeps whole rows only, the row waits for
    // its own file, no other numbered file appears, and the file of another sequence is still written.
    void fullDisk()
    {
        for (const bool fileExists : {true, false}) {
            const QString folder = FreshDataFolder();
            ReportFile report;
            StartRunSequence(report);
            QByteArray written;
            if (fileExists) {
                report.AddEntry(Row("Ann"));
                written = headerLine + Line("Ann");
            }
            {
                // One byte short of a 35-byte row; the 33-byte file of the One sequence fits.
                FileSizeLimit full(static_cast<rlim_t>(written.size()) + 34);
                report.AddEntry(Row("Bo"));
                report.AddEntry(Row("Cy"));
                QCOMPARE(Files(folder), fileExists ? QStringList{"Swiftlane_Run_1.csv"} : QStringList{});
                QCOMPARE(ReadAll(folder + "Swiftlane_Run_1.csv"), written);
                report.SetBaseName("Swiftlane_One");
                report.SetHeader({"Subject_Name", "Total_Time"});
                report.AddEntry({"Ey", "1.000"});
                QCOMPARE(report.PendingRowCount(), 2);
                QCOMPARE(ReadAll(folder + "Swiftlane_One_1.csv"), "Subject_Name,Total_Time\nEy,1.000\n");
            }
            report.AddEntry({"Fy", "2.000"}); // the rows that waited go to their own file at the next chance
            QCOMPARE(report.PendingRowCount(), 0);
            QCOMPARE(Files(folder), (QStringList{"Swiftlane_One_1.csv", "Swiftlane_Run_1.csv"}));
            QCOMPARE(ReadAll(folder + "Swiftlane_Run_1.csv"),
                     headerLine + written.mid(headerLine.size()) + Line("Bo") + Line("Cy"));
        }
    }

    // Fields are quoted only when they need it. Deleted or moved while the program runs: the next
    // row goes to a file made again in its place.
    void reportFileGoneIsMadeAgain()
    {
        const QString folder = FreshDataFolder();
        ReportFile report;
        StartRunSequence(report);
        for (const char* subject : {"Zo\u00eb Lee", "Lee, Ann", "Ann \"Flash\"", "Ann\nLee", "Ann\rLee"})
            report.AddEntry(Row(subject));
        const QString path = report.ReportFileName();
        QCOMPARE(ReadAll(path), headerLine + Line("Zo\u00eb Lee") + Line("\"Lee, Ann\"") +
                                    Line("\"Ann \"\"Flash\"\"\"") + Line("\"Ann\nLee\"") +
                                    Line("\"Ann\rLee\""));
        QVERIFY(QFile::remove(path));
        report.AddEntry(Row("Bo"));
        QCOMPARE(ReadAll(path), headerLine + Line("Bo"));
        QVERIFY(QFile::rename(path, folder + "kept.csv"));
        report.AddEntry(Row("Cy"));
        QCOMPARE(ReadAll(folder + "kept.csv"), headerLine + Line("Bo"));
        QCOMPARE(ReadAll(path), headerLine + Line("Cy"));
        QCOMPARE(report.ReportFileName(), path);
        QVERIFY(QFile::remove(path) && QDir().mkdir(path)); // a folder took its name: the next number
        report.AddEntry(Row("Dy"));
        QCOMPARE(report.ReportFileName(), folder + "Swiftlane_Run_2.csv");
        QCOMPARE(ReadAll(folder + "Swiftlane_Run_2.csv"), headerLine + Line("Dy"));
    }

    // Rows that cannot be written are kept, each with the report (and so the sequence) it belongs to, and
    // the operator is told once. Those still kept when the program ends go to the temporary folder;
    // when it is full too, nothing claims to hold them: they go to the error output, the last place left.
    void rowsStillKeptAtTheEndGoToTheTemporaryFolder()
    {
        const QByteArray rows = "Report," + headerLine + "Swiftlane_Run," + Line("Ann") + "Report," +
                                headerLine + "Swiftlane_One," + Line("Bo") +
                                "Report,Subject_Name,Total_Time\nSwiftlane_One,Cy,1.000\n";
        for (const bool temporaryFolderFull : {false, true}) {
            const QString told = temporaryFolderFull ? "could not be saved in .* either; here they are:\n" +
                                                           QRegularExpression::escape(rows) + "$"
                                                     : "are in ";
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Results that could not be written to the "
                                                                  "reports folder \\(3\\) " +
                                                                  told));
            RecordingReportUi ui;
            BlockedDataFolder();
            {
                std::optional<FileSizeLimit> full;
                if (temporaryFolderFull)
                    full.emplace(20);
                ReportFile report;
                report.SetUi(&ui);
                StartRunSequence(report);
                report.AddEntry(Row("Ann"));
                report.SetBaseName("Swiftlane_One");
                report.AddEntry(Row("Bo"));
                report.SetHeader({"Subject_Name", "Total_Time"}); // same name, other header: another report
                report.AddEntry({"Cy", "1.000"});
                QCOMPARE(report.PendingRowCount(), 3);
                QCOMPARE(ui.warnings.size(), 1);
                QVERIFY(ui.warnings[0].contains(QDir::toNativeSeparators(report.ReportFolder())));
            }
            const QStringList kept = Files(temp.path());
            QCOMPARE(kept.size(), temporaryFolderFull ? 0 : 1);
            for (const QString& file : kept) {
                QVERIFY(file.startsWith("Swiftlane_unwritten_"));
                QCOMPARE(ReadAll(temp.filePath(file)), rows);
                QVERIFY(QFile::remove(temp.filePath(file)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(ReportFileTest)
#include "test_report_file.moc"
