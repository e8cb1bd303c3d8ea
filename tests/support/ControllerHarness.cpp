#include "support/ControllerHarness.h"

#include "support/TestSentences.h"
#include "timing/GateSequence.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
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

ControllerHarness::~ControllerHarness()
{
    controller.reset();
}

QString ControllerHarness::runsFolder() const
{
    return dataDir.path() + QStringLiteral("/Swiftlane/Runs/");
}

QString ControllerHarness::reportsFolder() const
{
    return dataDir.path() + QStringLiteral("/Swiftlane/Reports/");
}

void ControllerHarness::writeSequence(const QString& name, const std::vector<int>& gates, double distance)
{
    GateSequence sequence;
    sequence.SetName(name);
    sequence.SetTotalDistance(distance);
    for (std::size_t i = 0; i < gates.size(); ++i)
        sequence.InsertGate(static_cast<unsigned>(i), gates[i]);
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

void ControllerHarness::startPastTheStartGate(const QString& subject)
{
    setSubjects({subject});
    status(500);
    tick();
    clickStart();
    event(1000, 0);
    tick();
}

void ControllerHarness::clickStart()
{
    auto* button = controller->MainWindow().findChild<QPushButton*>(QStringLiteral("startRunPushButton"));
    QTest::mouseClick(button, Qt::LeftButton);
}

QTableWidget* ControllerHarness::table() const
{
    return controller->MainWindow().findChild<QTableWidget*>(QStringLiteral("reportTableWidget"));
}

QComboBox* ControllerHarness::runCombo() const
{
    return controller->MainWindow().findChild<QComboBox*>(QStringLiteral("runComboBox"));
}

QComboBox* ControllerHarness::subjectCombo() const
{
    return controller->MainWindow().findChild<QComboBox*>(QStringLiteral("subjectNameComboBox"));
}

QString ControllerHarness::statusText() const
{
    return controller->MainWindow().findChild<QLabel*>(QStringLiteral("runStatusLabel"))->text();
}

QString ControllerHarness::connectionText() const
{
    return controller->MainWindow().findChild<QLabel*>(QStringLiteral("gateStatusLabel"))->text();
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

QStringList ControllerHarness::reportFiles() const
{
    return QDir(reportsFolder()).entryList(QDir::Files, QDir::Name);
}

QString ControllerHarness::readReport(const QString& fileName) const
{
    QFile file(reportsFolder() + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}
