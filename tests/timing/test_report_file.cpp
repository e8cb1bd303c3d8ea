#include "support/FakeDialogs.h"
#include "timing/ReportFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QStringList threeGateHeader{QStringLiteral("Subject_Name"), QStringLiteral("Total_Time"),
                                  QStringLiteral("Checkpoint_1"), QStringLiteral("Checkpoint_2"),
                                  QStringLiteral("Distance"),     QStringLiteral("Speed")};
const QByteArray threeGateHeaderLine = "Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n";

QStringList RunRow(const QString& subject)
{
    return {subject,
            QStringLiteral("3.200"),
            QStringLiteral("2.200"),
            QStringLiteral("1.000"),
            QStringLiteral("32.000"),
            QStringLiteral("10.000")};
}

} // namespace

class ReportFileTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dataHome;
    QString reports;

    static void Prepare(ReportFile& report, const QString& base = QStringLiteral("Swiftlane_Run"),
                        const QStringList& header = threeGateHeader)
    {
        report.SetBaseName(base);
        report.SetHeader(header);
    }

private slots:
    void init()
    {
        dataHome = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome->path()));
        reports = dataHome->path() + QStringLiteral("/Swiftlane/Reports/");
    }

    void folderIsCreatedAtConstruction()
    {
        ReportFile report;
        QCOMPARE(report.ReportFolder(), reports);
        QVERIFY(QDir(reports).exists());
        QVERIFY(report.ReportFileName().isEmpty());
    }

    void firstRunOpensTheFirstNumberWithItsHeader()
    {
        ReportFile report;
        Prepare(report);
        QTest::ignoreMessage(QtDebugMsg, "Adding report entry");
        QTest::ignoreMessage(QtDebugMsg, "Opening report file");
        report.AddEntry(RunRow(QStringLiteral("Ann")));
        QCOMPARE(report.ReportFileName(), reports + QStringLiteral("Swiftlane_Run_1.csv"));
        report.AddEntry(RunRow(QStringLiteral("Bo")));
        QCOMPARE(ReadAll(report.ReportFileName()),
                 threeGateHeaderLine +
                     "Ann,3.200,2.200,1.000,32.000,10.000\nBo,3.200,2.200,1.000,32.000,10.000\n");
    }

    void existingNumbersAreSkipped_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("opened");
        QTest::newRow("none") << QStringList{} << QStringLiteral("Swiftlane_Run_1.csv");
        QTest::newRow("gap at one") << QStringList{QStringLiteral("Swiftlane_Run_2.csv")}
                                    << QStringLiteral("Swiftlane_Run_1.csv");
        QTest::newRow("one and two") << QStringList{QStringLiteral("Swiftlane_Run_1.csv"),
                                                    QStringLiteral("Swiftlane_Run_2.csv")}
                                     << QStringLiteral("Swiftlane_Run_3.csv");
        QTest::newRow("other sequence")
            << QStringList{QStringLiteral("Swiftlane_Other_1.csv")} << QStringLiteral("Swiftlane_Run_1.csv");
    }
    void existingNumbersAreSkipped()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, opened);
        QDir().mkpath(reports);
        for (const QString& name : existing) {
            QFile file(reports + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old\n");
        }
        ReportFile report;
        Prepare(report);
        report.AddEntry(RunRow(QStringLiteral("Ann")));
        QCOMPARE(report.ReportFileName(), reports + opened);
        for (const QString& name : existing)
            QCOMPARE(ReadAll(reports + name), QByteArray("old\n")); // never overwritten
    }

    void eachProgramLifetimeGetsItsOwnFile()
    {
        for (int lifetime = 1; lifetime <= 2; ++lifetime) {
            ReportFile report;
            Prepare(report);
            report.AddEntry(RunRow(QStringLiteral("Ann")));
            QCOMPARE(report.ReportFileName(), reports + QStringLiteral("Swiftlane_Run_%1.csv").arg(lifetime));
        }
    }

    void fieldsAreQuotedOnlyWhenNeeded_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain") << QStringLiteral("Ann Lee") << QByteArray("Ann Lee");
        QTest::newRow("comma") << QStringLiteral("Lee, Ann") << QByteArray("\"Lee, Ann\"");
        QTest::newRow("quote") << QStringLiteral("Ann \"Flash\"") << QByteArray("\"Ann \"\"Flash\"\"\"");
        QTest::newRow("line feed") << QStringLiteral("Ann\nLee") << QByteArray("\"Ann\nLee\"");
        QTest::newRow("carriage return") << QStringLiteral("Ann\rLee") << QByteArray("\"Ann\rLee\"");
        QTest::newRow("beyond latin-1")
            << QStringLiteral("Zo\u00eb \u6771") << QByteArray("Zo\xc3\xab \xe6\x9d\xb1");
    }
    void fieldsAreQuotedOnlyWhenNeeded()
    {
        QFETCH(QString, subject);
        QFETCH(QByteArray, field);
        ReportFile report;
        Prepare(report);
        report.AddEntry(RunRow(subject));
        QCOMPARE(ReadAll(report.ReportFileName()),
                 threeGateHeaderLine + field + ",3.200,2.200,1.000,32.000,10.000\n");
    }

    void rowsAreKeptWhileTheFolderCannotBeWritten()
    {
        FakeDialogs dialogs;
        const QString blocker = dataHome->path() + QStringLiteral("/blocker");
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocker)); // the reports folder runs through a file
        const QString blockedReports = blocker + QStringLiteral("/Swiftlane/Reports/");

        ReportFile report;
        Prepare(report);
        report.AddEntry(RunRow(QStringLiteral("Ann")));
        report.AddEntry(RunRow(QStringLiteral("Bo")));
        QCOMPARE(report.PendingRowCount(), 2);
        QVERIFY(report.ReportFileName().isEmpty());
        QCOMPARE(dialogs.calls.size(), std::size_t(1));
        const FakeDialogs::Call& warning = dialogs.calls.front();
        QCOMPARE(warning.icon, QMessageBox::Warning);
        QCOMPARE(warning.parent, nullptr);
        QCOMPARE(warning.title, QStringLiteral("Report not written"));
        QVERIFY(warning.text.contains(QDir::toNativeSeparators(blockedReports)));

        QVERIFY(QFile::remove(blocker)); // the operator frees the path
        report.AddEntry(RunRow(QStringLiteral("Cy")));
        QCOMPARE(report.PendingRowCount(), 0);
        QCOMPARE(report.ReportFileName(), blockedReports + QStringLiteral("Swiftlane_Run_1.csv"));
        QCOMPARE(ReadAll(report.ReportFileName()), threeGateHeaderLine +
                                                       "Ann,3.200,2.200,1.000,32.000,10.000\n"
                                                       "Bo,3.200,2.200,1.000,32.000,10.000\n"
                                                       "Cy,3.200,2.200,1.000,32.000,10.000\n");
        QCOMPARE(dialogs.calls.size(), std::size_t(1));
    }

    void anotherSequenceGetsItsOwnFile()
    {
        ReportFile report;
        Prepare(report);
        report.AddEntry(RunRow(QStringLiteral("Ann")));
        const QString first = report.ReportFileName();

        const QStringList oneGateHeader{QStringLiteral("Subject_Name"), QStringLiteral("Total_Time"),
                                        QStringLiteral("Distance"), QStringLiteral("Speed")};
        Prepare(report, QStringLiteral("Swiftlane_Short"), oneGateHeader);
        const QStringList shortRow{QStringLiteral("Bo"), QStringLiteral("0.000"), QStringLiteral("5.000"),
                                   QStringLiteral("0.000")};
        report.AddEntry(shortRow);
        QCOMPARE(report.ReportFileName(), reports + QStringLiteral("Swiftlane_Short_1.csv"));
        QCOMPARE(ReadAll(report.ReportFileName()), QByteArray("Subject_Name,Total_Time,Distance,Speed\n"
                                                              "Bo,0.000,5.000,0.000\n"));

        // Same name, other gates: a new numbered file of that name.
        Prepare(report, QStringLiteral("Swiftlane_Run"), threeGateHeader);
        report.AddEntry(RunRow(QStringLiteral("Cy")));
        QCOMPARE(report.ReportFileName(), reports + QStringLiteral("Swiftlane_Run_2.csv"));
        QCOMPARE(ReadAll(first), threeGateHeaderLine + "Ann,3.200,2.200,1.000,32.000,10.000\n");
    }

    void keptRowsLandUnderTheirOwnHeader()
    {
        FakeDialogs dialogs;
        const QString blocker = dataHome->path() + QStringLiteral("/blocker");
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
        ReportFile report;
        Prepare(report);
        report.AddEntry(RunRow(QStringLiteral("Ann")));
        QVERIFY(QFile::remove(blocker));
        const QStringList twoGateHeader{QStringLiteral("Subject_Name"), QStringLiteral("Total_Time"),
                                        QStringLiteral("Checkpoint_1"), QStringLiteral("Distance"),
                                        QStringLiteral("Speed")};
        Prepare(report, QStringLiteral("Swiftlane_Two"), twoGateHeader);
        report.AddEntry({QStringLiteral("Bo"), QStringLiteral("1.000"), QStringLiteral("1.000"),
                         QStringLiteral("5.000"), QStringLiteral("5.000")});
        const QString folder = blocker + QStringLiteral("/Swiftlane/Reports/");
        QCOMPARE(ReadAll(folder + QStringLiteral("Swiftlane_Run_1.csv")),
                 threeGateHeaderLine + "Ann,3.200,2.200,1.000,32.000,10.000\n");
        QCOMPARE(
            ReadAll(folder + QStringLiteral("Swiftlane_Two_1.csv")),
            QByteArray("Subject_Name,Total_Time,Checkpoint_1,Distance,Speed\nBo,1.000,1.000,5.000,5.000\n"));
    }
};

QTEST_GUILESS_MAIN(ReportFileTest)
#include "test_report_file.moc"
