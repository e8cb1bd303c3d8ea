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

const QStringList runHeader =
    QStringLiteral("Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed").split(',');
const QByteArray runHeaderLine = "Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n";

QStringList RunRow(const QString& subject)
{
    return QStringList{subject} + QStringLiteral("3.200,2.200,1.000,32.000,10.000").split(',');
}
QByteArray RunLine(const char* subject)
{
    return subject + QByteArray(",3.200,2.200,1.000,32.000,10.000\n");
}

} // namespace

class ReportFileTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dataHome;
    QString reports;

    // Points the data folder at a regular file, so the reports folder cannot be made.
    QString BlockDataFolder()
    {
        const QString blocker = dataHome->filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create the blocking file");
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
        return blocker;
    }

private slots:
    void init()
    {
        dataHome = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome->path()));
        reports = dataHome->path() + QStringLiteral("/Swiftlane/Reports/");
    }

    void numberedFilesNeverOverwritten_data()
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
    void numberedFilesNeverOverwritten()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, opened);
        QVERIFY(QDir().mkpath(reports));
        for (const QString& name : existing) {
            QFile file(reports + name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old\n") == 4);
        }
        ReportFile report;
        QCOMPARE(report.ReportFolder(), reports);
        QVERIFY(report.ReportFileName().isEmpty());
        report.SetBaseName(QStringLiteral("Swiftlane_Run"));
        report.SetHeader(runHeader);
        QTest::ignoreMessage(QtDebugMsg, "Adding report entry");
        QTest::ignoreMessage(QtDebugMsg, "Opening report file");
        report.AddEntry(RunRow(QStringLiteral("Ann")));
        report.AddEntry(RunRow(QStringLiteral("Bo")));
        QCOMPARE(report.ReportFileName(), reports + opened);
        QCOMPARE(ReadAll(reports + opened), runHeaderLine + RunLine("Ann") + RunLine("Bo"));
        for (const QString& name : existing)
            QCOMPARE(ReadAll(reports + name), QByteArray("old\n"));
    }

    void fieldsQuotedOnlyWhenNeeded_data()
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
    void fieldsQuotedOnlyWhenNeeded()
    {
        QFETCH(QString, subject);
        QFETCH(QByteArray, field);
        ReportFile report;
        report.SetHeader(runHeader);
        report.AddEntry(RunRow(subject));
        QCOMPARE(ReadAll(report.ReportFileName()), runHeaderLine + RunLine(field.constData()));
    }

    void rowsKeptWhileTheFolderCannotBeWritten()
    {
        FakeDialogs dialogs;
        const QString blocker = BlockDataFolder();
        ReportFile report;
        report.SetHeader(runHeader);
        report.AddEntry(RunRow(QStringLiteral("Ann")));
        report.AddEntry(RunRow(QStringLiteral("Bo")));
        QCOMPARE(report.PendingRowCount(), 2);
        QVERIFY(report.ReportFileName().isEmpty());
        QCOMPARE(dialogs.calls.size(), std::size_t(1)); // told once
        const FakeDialogs::Call& warning = dialogs.calls.front();
        QVERIFY(warning.icon == QMessageBox::Warning && warning.parent == nullptr);
        QCOMPARE(warning.title, QStringLiteral("Report not written"));
        QVERIFY(warning.text.contains(QDir::toNativeSeparators(report.ReportFolder())));

        QVERIFY(QFile::remove(blocker));
        report.AddEntry(RunRow(QStringLiteral("Cy")));
        QCOMPARE(report.PendingRowCount(), 0);
        QCOMPARE(ReadAll(report.ReportFileName()),
                 runHeaderLine + RunLine("Ann") + RunLine("Bo") + RunLine("Cy"));
        QCOMPARE(dialogs.calls.size(), std::size_t(1));
    }

    void otherSequenceGetsItsOwnFile()
    {
        FakeDialogs dialogs;
        const QString blocker = BlockDataFolder();
        ReportFile report;
        report.SetBaseName(QStringLiteral("Swiftlane_Run"));
        report.SetHeader(runHeader);
        report.AddEntry(RunRow(QStringLiteral("Ann"))); // kept
        QVERIFY(QFile::remove(blocker));
        const QString folder = report.ReportFolder();

        report.SetBaseName(QStringLiteral("Swiftlane_One"));
        report.SetHeader(QStringLiteral("Subject_Name,Total_Time,Distance,Speed").split(','));
        report.AddEntry(QStringLiteral("Bo,0.000,5.000,0.000").split(','));
        QCOMPARE(report.ReportFileName(), folder + QStringLiteral("Swiftlane_One_1.csv"));
        QCOMPARE(ReadAll(report.ReportFileName()),
                 QByteArray("Subject_Name,Total_Time,Distance,Speed\nBo,0.000,5.000,0.000\n"));
        QCOMPARE(ReadAll(folder + QStringLiteral("Swiftlane_Run_1.csv")), runHeaderLine + RunLine("Ann"));

        report.SetBaseName(QStringLiteral("Swiftlane_Run")); // same name, other header: next number
        report.SetHeader(QStringLiteral("Subject_Name,Total_Time,Checkpoint_1,Distance,Speed").split(','));
        report.AddEntry(QStringLiteral("Cy,1.000,1.000,0.000,0.000").split(','));
        QCOMPARE(report.ReportFileName(), folder + QStringLiteral("Swiftlane_Run_2.csv"));
    }
};

QTEST_GUILESS_MAIN(ReportFileTest)
#include "test_report_file.moc"
