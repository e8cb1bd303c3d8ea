// The controller's frame: gate flags, the start after the first paint, the end of the program,
// and the console, which belongs to the person at the terminal.
#include "app/CommandLine.h"
#include "support/ControllerHarness.h"
#include "support/FileSizeLimit.h"
#include "support/PipeRescue.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
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
        bool p[4];
        bool r[4];
        h.status(100, true, true, true, false);
        h.tick();
        h.status(200, true, true, false, false);
        h.tick();
        h.controller->GetGatePresent(p[0], p[1], p[2], p[3]);
        h.controller->GetGateReady(r[0], r[1], r[2], r[3]);
        QCOMPARE(std::vector<bool>(p, p + 4), (std::vector<bool>{true, true, true, false}));
        QCOMPARE(std::vector<bool>(r, r + 4), (std::vector<bool>{true, true, false, false}));
        h.clickStart();
        h.event(250, 0, false);
        h.event(1750, 7, true);
        h.tick();
        h.controller->GetGateReady(r[0], r[1], r[2], r[3]);
        QCOMPARE(std::vector<bool>(r, r + 4), (std::vector<bool>{false, true, false, false}));
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
        QVERIFY(window.isVisible());
        QCOMPARE(h.connectionText(), QStringLiteral("Not connected"));
        QVERIFY(!h.controller->StartupFinished());
        QCOMPARE(h.devices.createListCalls, 0);
        QVERIFY(!h.controller->GetGateSystem().IsLinkOpen());
        QCOMPARE(h.runCombo()->count(), 0);
        QVERIFY(!h.controller->TickTimer().isActive());

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
        QVERIFY(h.controller->GetGateSystem().IsLinkOpen());
        QCOMPARE(h.devices.createListCalls, 1);
        QCOMPARE(h.runCombo()->count(), 1);
        QCOMPARE(h.controller->GetSequenceRun().Sequence().Name(), QStringLiteral("Sprint"));
        QVERIFY(h.controller->TickTimer().isActive());
        QVERIFY(h.dialogs.calls.empty());
    }

    // Rows that could not reach the reports folder during the session are saved at the end, before
    // anything else, and the operator is told where they are, or that they could not be saved.
    void waitingRowsAreSavedAtTheEndAndTheOperatorTold_data()
    {
        QTest::addColumn<bool>("byExitButton");
        QTest::addColumn<bool>("temporaryFolderFull");
        QTest::newRow("exit button") << true << false;
        QTest::newRow("window closed") << false << false;
        QTest::newRow("exit button, temporary folder full") << true << true;
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
        QFile blocker(h.reportsFolder().chopped(1)); // a file where the reports folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
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
        if (temporaryFolderFull)
            QVERIFY2(text.contains(QStringLiteral("could not be saved")), qPrintable(text));
        else
            QVERIFY2(text.contains(QDir::toNativeSeparators(temp.filePath(kept[0]))), qPrintable(text));
        QFile file(temp.filePath(kept.value(0)));
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                 temporaryFolderFull ? QByteArray()
                                     : "Report,Subject_Name,Total_Time,Checkpoint_1,Distance,Speed\n"
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
        ApplyCommandLine({QStringLiteral("swiftlane")});
        const QStringList quiet = consoleOfASecondWithoutAdapter();
        QVERIFY2(quiet.isEmpty(), qPrintable(quiet.join(QLatin1Char('|'))));
        ApplyCommandLine({QStringLiteral("swiftlane"), QStringLiteral("--verbose")});
        const QStringList lines = consoleOfASecondWithoutAdapter();
        QLoggingCategory::setFilterRules(QString());
        QVERIFY2(lines.count(QStringLiteral("ft_status = 0\n")) >= 1000 / SLMain::TickIntervalMs,
                 qPrintable(lines.join(QLatin1Char('|'))));
    }

    void optionsFromTheCommandLine()
    {
        const CommandLineOptions plain = ApplyCommandLine({QStringLiteral("swiftlane")});
        QVERIFY(plain.recording && !plain.rfid);
        const CommandLineOptions both = ApplyCommandLine(
            {QStringLiteral("swiftlane"), QStringLiteral("--rfid"), QStringLiteral("--no-recording")});
        QVERIFY(both.rfid && !both.recording);
    }
};

QTEST_MAIN(ControllerTest)
#include "test_controller.moc"
