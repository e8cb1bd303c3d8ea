// swiftlane --help and --version answer on a machine without a display, as the man page build and
// a terminal over ssh need.
#include "support/TestFiles.h"

#include <QFileInfo>
#include <QProcess>
#include <QtTest>

class CommandLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("--help") << QStringList{"--help"} << "Usage: ";
        QTest::newRow("-h") << QStringList{"-h"} << "Usage: ";
        QTest::newRow("--help with a Qt option") << QStringList{"-style", "fusion", "--help"} << "Usage: ";
        QTest::newRow("--version") << QStringList{"--version"}
                                   << QString("swiftlane %1").arg(SWIFTLANE_VERSION);
        QTest::newRow("-v") << QStringList{"-v"} << QString("swiftlane %1").arg(SWIFTLANE_VERSION);
    }
    void answersWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, firstLine);
        const QString simulator = GateSimProgram();
        if (simulator.isEmpty())
            QSKIP("the programs are not built");
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        program.setProcessEnvironment(environment);
        program.start(QFileInfo(simulator).absolutePath() + "/swiftlane", arguments);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(out.startsWith(firstLine), qPrintable(out));
        if (firstLine.startsWith("Usage")) {
            for (const char* option : {"--version", "--verbose", "--no-recording", "--rfid"})
                QVERIFY2(out.contains(option), option);
        }
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
