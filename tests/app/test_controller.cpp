// The controller's frame: gate flags and connection, the configuration file, the end of the program.
#include "support/ControllerHarness.h"

#include "platform/Process.h"
#include "support/FileSizeLimit.h"
#include "support/PipeRescue.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

#include <optional>
#include <sys/stat.h>

namespace {
const QByteArray ExpectedConfig =
    "<?xml version=\"1.0\" ?>\n<Configuration>\n    <SLMain />\n</Configuration>\n";

struct ExitCalled
{
    int code;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs ExitApplication() through the window's "Exit" button; returns the exit code.
int clickExit(ControllerHarness& h)
{
    int code = -1;
    platform::setExitHandler([](int c) { throw ExitCalled{c}; });
    try {
        QMetaObject::invokeMethod(&h.controller->MainWindow(), "on_exitPushButton_clicked");
    } catch (const ExitCalled& exit) {
        code = exit.code;
    }
    platform::setExitHandler(nullptr);
    return code;
}

// The controller as main starts it: Init() alone, the rest left to the window's first paint.
void initOnly(ControllerHarness& h)
{
    h.writeSequence(QStringLiteral("Sprint"), {0, 1}, 30.0);
    h.controller = std::make_unique<SLMain>();
    h.controller->Init();
}

// What FinishStartup brings: the adapter found and open, the run list filled (with the first
// sequence loaded) and the tick running.
void verifyStarted(ControllerHarness& h)
{
    QVERIFY(h.controller->StartupFinished());
    QVERIFY(h.controller->GetGateSystem().IsLinkOpen());
    QCOMPARE(h.devices.createListCalls, 1);
    QCOMPARE(h.runCombo()->count(), 1);
    QCOMPARE(h.controller->GetSequenceRun().Sequence().Name(), QStringLiteral("Sprint"));
    QVERIFY(h.controller->TickTimer().isActive());
    QVERIFY(h.dialogs.calls.empty());
}

} // namespace

class ControllerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gateFlagsArePresentStickyAndReadyAsLastReported()
    {
        ControllerHarness h;
        h.start();
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
        // An event sets the readiness of gates 0..3 only; others still reach the engine.
        h.event(250, 0, false);
        h.event(260, 7, true);
        h.tick();
        h.controller->GetGateReady(r[0], r[1], r[2], r[3]);
        QCOMPARE(std::vector<bool>(r, r + 4), (std::vector<bool>{false, true, false, false}));
    }

    // The device scan and the runs folder wait for the window's first frame, and no tick runs
    // before them.
    void startFinishesAfterTheFirstPaint()
    {
        ControllerHarness h;
        initOnly(h);
        SLMainWindow& window = h.controller->MainWindow();
        QVERIFY(window.isVisible());
        QCOMPARE(h.connectionText(), QStringLiteral("Not connected"));
        QVERIFY(!h.controller->StartupFinished());
        QCOMPARE(h.devices.createListCalls, 0);
        QVERIFY(!h.controller->GetGateSystem().IsLinkOpen());
        QCOMPARE(h.runCombo()->count(), 0);
        QVERIFY(!h.controller->TickTimer().isActive());

        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(h.controller->StartupFinished());
        verifyStarted(h);
    }

    void startFinishesWhenTheWindowNeverPaints()
    {
        ControllerHarness h;
        initOnly(h);
        h.controller->MainWindow().hide();
        QTRY_VERIFY(h.controller->StartupFinished());
        verifyStarted(h);
    }

    // A tick ahead of the first paint finishes the start itself; the paint then starts nothing
    // twice (an open link opened again would warn the operator).
    void tickBeforeTheFirstPaintFinishesTheStartOnce()
    {
        ControllerHarness h;
        initOnly(h);
        h.status(100);
        h.tick();
        QCOMPARE(h.connectionText(), QStringLiteral("Connected"));
        verifyStarted(h);
        QVERIFY(QTest::qWaitForWindowExposed(&h.controller->MainWindow()));
        QTest::qWait(50);
        h.controller->FinishStartup();
        verifyStarted(h);
    }

    // The gate link's warnings reach the operator as a box without parent or title, with one Ok.
    void gateLinkWarningsReachTheOperator()
    {
        ControllerHarness h;
        h.start();
        CSerialLink& link = h.controller->GetGateSystem().Link();
        QVERIFY(link.IsOpen());
        QVERIFY(link.Open(false));
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        const FakeDialogs::Call& box = h.dialogs.calls[0];
        QCOMPARE(box.parent, nullptr);
        QCOMPARE(box.title, QString());
        QCOMPARE(box.text, QStringLiteral("USB121 already open!"));
        QCOMPARE(box.buttons, QMessageBox::Ok);
    }

    void configurationIsWrittenAtTheEnd()
    {
        ControllerHarness h;
        const QString path = h.dataDir.path() + QStringLiteral("/Swiftlane.cfg");
        QFile junk(path);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not xml <<<");
        junk.close();
        h.start(); // a malformed file is ignored
        QVERIFY(QFile::exists(h.runsFolder()));
        h.controller.reset();
        QCOMPARE(readFile(path), ExpectedConfig);
    }

    void exitSavesAndEndsWithCodeZero()
    {
        ControllerHarness h;
        h.start();
        QCOMPARE(clickExit(h), 0);
        QCOMPARE(readFile(h.dataDir.path() + QStringLiteral("/Swiftlane.cfg")), ExpectedConfig);
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
        // A regular file where the reports folder should be.
        QVERIFY(QDir().mkpath(h.dataDir.path() + QStringLiteral("/Swiftlane")));
        QFile blocker(h.reportsFolder().chopped(1));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        h.writeSequence(QStringLiteral("Sprint"), {0, 1}, 30.0);
        h.start();
        h.setSubjects({QStringLiteral("Ann")});
        h.status(500);
        h.tick();
        h.clickStart();
        h.event(1000, 0);
        h.event(3200, 1);
        h.tick();
        QCoreApplication::processEvents(); // the warning of the run itself
        h.dialogs.calls.clear();
        {
            std::optional<FileSizeLimit> full;
            if (temporaryFolderFull)
                full.emplace(20);
            if (byExitButton)
                QCOMPARE(clickExit(h), 0);
            else
                h.controller.reset();
        }
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        QCOMPARE(h.dialogs.calls[0].title, QStringLiteral("Report not written"));
        const QString text = h.dialogs.calls[0].text;
        const QStringList kept = temp.entryList(QDir::Files);
        if (temporaryFolderFull) {
            QCOMPARE(kept, QStringList());
            QVERIFY2(text.contains(QStringLiteral("could not be saved")), qPrintable(text));
        } else {
            QCOMPARE(kept.size(), 1);
            QVERIFY2(text.contains(QDir::toNativeSeparators(temp.filePath(kept[0]))), qPrintable(text));
            QCOMPARE(readFile(temp.filePath(kept[0])),
                     "Report,Subject_Name,Total_Time,Checkpoint_1,Distance,Speed\n"
                     "Swiftlane_Sprint,Ann,2.200,2.200,30.000,13.636\n");
        }
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
};

QTEST_MAIN(ControllerTest)
#include "test_controller.moc"
