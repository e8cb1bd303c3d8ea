// The controller's frame: gate flags and connection, the configuration file, the end of the program.
#include "support/ControllerHarness.h"

#include "platform/Process.h"

#include <QFile>
#include <QTest>

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
        int code = -1;
        platform::setExitHandler([](int c) { throw ExitCalled{c}; });
        try {
            QMetaObject::invokeMethod(&h.controller->MainWindow(), "on_exitPushButton_clicked");
        } catch (const ExitCalled& exit) {
            code = exit.code;
        }
        platform::setExitHandler(nullptr);
        QCOMPARE(code, 0);
        QCOMPARE(readFile(h.dataDir.path() + QStringLiteral("/Swiftlane.cfg")), ExpectedConfig);
    }
};

QTEST_MAIN(ControllerTest)
#include "test_controller.moc"
