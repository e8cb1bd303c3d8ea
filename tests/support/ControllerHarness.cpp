#include "support/ControllerHarness.h"

#include "platform/Process.h"
#include "support/TestSentences.h"
#include "timing/GateSequence.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTest>

ControllerHarness::ControllerHarness(bool withAdapter)
{
    qputenv("XDG_DATA_HOME", dataDir.path().toUtf8());
    // The program's QSettings too, never the user's; its controller takes the place when made.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       dataDir.path() + QStringLiteral("/config"));
    QDir().mkpath(runsFolder());
    if (withAdapter)
        devices.addDevice("Swiftlane gate adapter", AdapterSerial, 0x121);
}

std::unique_ptr<ControllerHarness> ControllerHarness::connected(const QStringList& subjects,
                                                                const QList<int>& gates)
{
    auto h = std::make_unique<ControllerHarness>();
    h->writeSequence(QStringLiteral("Sprint"), gates, 30.0);
    h->start();
    h->setSubjects(subjects);
    h->status(500);
    h->tick();
    return h;
}

void ControllerHarness::writeSequence(const QString& name, const QList<int>& gates, double distance)
{
    GateSequence sequence;
    sequence.SetName(name);
    sequence.SetTotalDistance(distance);
    for (int gate : gates)
        sequence.InsertGate(static_cast<unsigned>(sequence.GateCount()), gate);
    QVERIFY(sequence.Save(runsFolder() + name + QStringLiteral(".run")));
}

void ControllerHarness::start(bool rfidControls)
{
    controller = std::make_unique<SLMain>();
    controller->Init(rfidControls);
    // Everything the first paint would start, before the test goes on.
    controller->FinishStartup();
}

void ControllerHarness::status(std::uint32_t deviceTime, bool g0, bool g1, bool g2, bool g3)
{
    devices.pushIncoming(AdapterSerial, testsentences::status(deviceTime, g0, g1, g2, g3));
}

void ControllerHarness::event(std::uint32_t deviceTime, int gate, bool state)
{
    devices.pushIncoming(AdapterSerial, testsentences::event(deviceTime, gate, state));
}

void ControllerHarness::tick(int count)
{
    for (int i = 0; i < count; ++i) {
        clock.advance(SLMain::TickIntervalMs);
        controller->OnTimer();
    }
}

void ControllerHarness::setSubjects(const QStringList& names)
{
    controller->SetSubjectNames(names);
    subjectCombo()->setCurrentIndex(0);
}

void ControllerHarness::clickStart()
{
    QTest::mouseClick(child<QPushButton>("startRunPushButton"), Qt::LeftButton);
}

void ControllerHarness::startPastTheStartGate(const QString& subject)
{
    setSubjects({subject});
    status(500);
    tick();
    clickStart();
    event(1000, 0);
    tick();
}

void ControllerHarness::passAll(std::uint32_t from)
{
    const GateSequence& sequence = controller->GetSequenceRun().Sequence();
    for (unsigned k = 0; sequence.GateNumberAt(k); ++k)
        event(from + 1000 * k, static_cast<int>(*sequence.GateNumberAt(k)));
    tick();
}

namespace {
struct ExitCalled
{
    int code;
};
} // namespace

int ControllerHarness::endProgram(const QString& how, bool refusalExpected)
{
    SLMainWindow& window = controller->MainWindow();
    if (how == QLatin1String("title bar")) {
        QCloseEvent close;
        QApplication::sendEvent(window.windowHandle(), &close);
        return window.isVisible() ? -1 : 0;
    }
    int code = -1;
    platform::setExitHandler([](int exitCode) { throw ExitCalled{exitCode}; });
    const bool action = how == QLatin1String("Exit action");
    try {
        if (refusalExpected && action)
            child<QAction>("actionExit")->trigger();
        else if (refusalExpected)
            QTest::mouseClick(child<QPushButton>("exitPushButton"), Qt::LeftButton);
        else
            QMetaObject::invokeMethod(&window,
                                      action ? "on_actionExit_triggered" : "on_exitPushButton_clicked",
                                      Qt::DirectConnection);
    } catch (const ExitCalled& exit) {
        code = exit.code;
    }
    platform::setExitHandler(nullptr);
    return code;
}

QStringList ControllerHarness::lastTableRow() const
{
    QStringList row;
    const int last = table()->rowCount() - 1;
    for (int column = 0; last >= 0 && column < table()->columnCount(); ++column) {
        const QTableWidgetItem* item = table()->item(last, column);
        row << (item ? item->text() : QString());
    }
    return row;
}

QString ControllerHarness::readReport(const QString& fileName) const
{
    QFile file(reportsFolder() + fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
