// The controller's frame: gate flags, the start after the first paint, the end of the program,
// and the console and command line, which belong to the person at the terminal.
#include "app/CommandLine.h"
#include "support/ControllerHarness.h"
#include "support/FileSizeLimit.h"
#include "support/PipeRescue.h"
#include "support/TestFiles.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <optional>
#include <sys/stat.h>

namespace {

QStringList* captured = nullptr;

// Everything written to the console while a controller with no gate adapter attached starts, runs
// a second of ticks and ends. The headless platform's own remark on showing a window is left out.
QStringList consoleOfASecondWithoutAdapter()
{
    QStringList lines;
    captured = &lines;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            if (text != QLatin1String("This plugin does not support propagateSizeHints()"))
                captured->append(text);
        });
    {
        ControllerHarness h(false);
        h.start();
        h.tick(1000 / SLMain::TickIntervalMs);
    }
    qInstallMessageHandler(previous);
    captured = nullptr;
    return lines;
}

// The four gates' flags as "1" and "0", gate 0 first.
QString flags(ControllerHarness& h, bool ready)
{
    bool f[4];
    ready ? h.controller->GetGateReady(f[0], f[1], f[2], f[3])
          : h.controller->GetGatePresent(f[0], f[1], f[2], f[3]);
    return QString("%1%2%3%4").arg(f[0]).arg(f[1]).arg(f[2]).arg(f[3]);
}

} // namespace

class ControllerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Present flags stick; ready flags follow the last status and the events of gates 0 to 3. An
    // event of any other gate still reaches the engine, which times it when the sequence names it.
    void gateFlagsAndEvents()
    {
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Far"), {0, 7}, 10.0);
        h.start();
        h.setSubjects({QStringLiteral("Ann")});
        h.status(100, true, true, true, false);
        h.tick();
        h.status(200, true, true, false, false);
        h.tick();
        QCOMPARE(flags(h, false), QStringLiteral("1110"));
        QCOMPARE(flags(h, true), QStringLiteral("1100"));
        h.clickStart();
        h.event(250, 0, false);
        h.event(1750, 7, true);
        h.tick();
        QCOMPARE(flags(h, true), QStringLiteral("0100"));
        QVERIFY(!h.controller->GetSequenceRun().IsRunning());
        QCOMPARE(h.lastTableRow().mid(0, 2), (QStringList{"Ann", "1.500"}));
    }

    // The device scan and the runs folder wait for the window's first frame, or for its deadline
    // when the window never paints, or for a tick that comes first; none of them starts twice (an
    // open link opened again would warn the operator).
    void startFinishesOnceAfterTheFirstPaint_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("first paint") << "paint";
        QTest::newRow("window never painted") << "hidden";
        QTest::newRow("tick before the paint") << "tick";
    }
    void startFinishesOnceAfterTheFirstPaint()
    {
        QFETCH(QString, trigger);
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Sprint"), {0, 1}, 30.0);
        h.controller = std::make_unique<SLMain>(); // as main starts it: Init() alone
        h.controller->Init();
        SLMainWindow& window = h.controller->MainWindow();
        QVERIFY(!h.controller->StartupFinished() && !h.controller->TickTimer().isActive());
        QCOMPARE(h.devices.createListCalls + h.runCombo()->count(), 0);
        if (trigger == QLatin1String("hidden"))
            window.hide();
        if (trigger == QLatin1String("tick")) {
            h.status(100);
            h.tick();
            QCOMPARE(h.connectionText(), QStringLiteral("Connected"));
        }
        if (trigger != QLatin1String("hidden"))
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(h.controller->StartupFinished());
        QTest::qWait(50);
        h.controller->FinishStartup();
        QVERIFY(h.controller->GetGateSystem().IsLinkOpen() && h.controller->TickTimer().isActive());
        QCOMPARE(h.devices.createListCalls, 1);
        QCOMPARE(h.runCombo()->count(), 1);
        QVERIFY(h.dialogs.calls.empty());
    }

    // Rows that could not reach the reports folder during the session are saved at the end, before
    // anything else, and the operator is told where they are, or that they could not be saved.
    void waitingRowsAreSavedAtTheEndAndTheOperatorTold_data()
    {
        QTest::addColumn<bool>("byExitButton");
        QTest::addColumn<bool>("temporaryFolderFull");
        QTest::newRow("exit button") << true << false;
        QTest::newRow("window closed, temporary folder full") << false << true;
    }
    void waitingRowsAreSavedAtTheEndAndTheOperatorTold()
    {
        QFETCH(bool, byExitButton);
        QFETCH(bool, temporaryFolderFull);
        ControllerHarness h;
        const QDir temp(h.dataDir.filePath(QStringLiteral("tmp")));
        QVERIFY(temp.mkpath(QStringLiteral(".")));
        const QByteArray oldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        const auto restoreTemp = qScopeGuard([&] { qputenv("TMPDIR", oldTemp); });
        QVERIFY(QDir().mkpath(h.dataDir.path() + QStringLiteral("/Swiftlane")));
        QVERIFY(WriteAll(h.reportsFolder().chopped(1), {})); // a file where the reports folder should be
        h.writeSequence(QStringLiteral("Sprint"), {0, 1}, 30.0);
        h.start();
        h.startPastTheStartGate();
        h.event(3200, 1);
        h.tick();
        QCoreApplication::processEvents(); // the warning of the run itself
        h.dialogs.calls.clear();
        {
            std::optional<FileSizeLimit> full;
            if (temporaryFolderFull)
                full.emplace(20);
            if (byExitButton)
                QCOMPARE(h.endProgram(QStringLiteral("Exit button")), 0);
            else
                h.controller.reset();
        }
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        const QString text = h.dialogs.calls[0].text;
        const QStringList kept = temp.entryList(QDir::Files);
        QCOMPARE(kept.size(), temporaryFolderFull ? 0 : 1);
        const QString expected = temporaryFolderFull ? QStringLiteral("could not be saved")
                                                     : QDir::toNativeSeparators(temp.filePath(kept.value(0)));
        QVERIFY2(text.contains(expected), qPrintable(text));
        if (!temporaryFolderFull)
            QCOMPARE(ReadAll(temp.filePath(kept[0])),
                     "Report,Subject_Name,Total_Time,Checkpoint_1,Distance,Speed\n"
                     "Swiftlane_Sprint,Ann,2.200,2.200,30.000,13.636\n");
    }

    // Only a regular file (or none) is replaced by the configuration: a named pipe there would hold
    // up the end of the program for good.
    void configurationIsNotWrittenIntoAPipe()
    {
        ControllerHarness h;
        const QString path = h.dataDir.path() + QStringLiteral("/Swiftlane.cfg");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        PipeRescue rescue(path, std::chrono::seconds(2));
        h.start();
        h.controller.reset();
        QVERIFY(!rescue.Stop());
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    }

    // Silent unless asked; the same second with --verbose shows the adapter search on every tick.
    void consoleSilentUnlessVerbose()
    {
        QVERIFY(ApplyCommandLine({QStringLiteral("swiftlane")}).recording);
        const QStringList quiet = consoleOfASecondWithoutAdapter();
        QVERIFY2(quiet.isEmpty(), qPrintable(quiet.join(QLatin1Char('|'))));
        ApplyCommandLine({QStringLiteral("swiftlane"), QStringLiteral("--verbose")});
        const QStringList lines = consoleOfASecondWithoutAdapter();
        QLoggingCategory::setFilterRules(QString());
        QVERIFY2(lines.count(QStringLiteral("ft_status = 0\n")) >= 1000 / SLMain::TickIntervalMs,
                 qPrintable(lines.join(QLatin1Char('|'))));
        const CommandLineOptions both = ApplyCommandLine(
            {QStringLiteral("swiftlane"), QStringLiteral("--rfid"), QStringLiteral("--no-recording")});
        QVERIFY(both.rfid && !both.recording);
    }

    // --help and --version answer on a machine without a display, as the man page build and a
    // terminal over ssh need.
    void answersWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("--help with a Qt option") << QStringList{"-style", "fusion", "--help"} << "Usage: ";
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
    }
};

QTEST_MAIN(ControllerTest)
#include "test_controller.moc"
