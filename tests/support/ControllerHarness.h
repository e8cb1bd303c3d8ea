#pragma once

#include "app/SLMain.h"
#include "platform/DesktopShell.h"
#include "platform/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtdiDevices.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QStringList>
#include <QTableWidget>
#include <QTemporaryDir>

#include <memory>

// Records what is handed to the desktop's "open" and answers whether the desktop opened it.
class FakeShell : public platform::DesktopShell
{
public:
    FakeShell() { platform::setShell(this); }
    ~FakeShell() override { platform::setShell(nullptr); }
    bool open(const QString& path) override
    {
        opened << path;
        return opens;
    }
    QStringList opened;
    bool opens = true;
};

// A controller on a temporary data folder, a fake clock and one fake gate adapter, driven tick by
// tick with gate sentences as the adapter would send them.
class ControllerHarness
{
public:
    static constexpr const char* AdapterSerial = "SL000001";

    explicit ControllerHarness(bool withAdapter = true);
    ~ControllerHarness() { controller.reset(); }

    // Started with the sequence "Sprint" over `gates` (30 m) selected, `subjects` listed and every
    // gate reporting ready.
    static std::unique_ptr<ControllerHarness> connected(const QStringList& subjects = {QStringLiteral("Ann")},
                                                        const QList<int>& gates = {0, 1, 2, 3});

    QString runsFolder() const { return dataDir.path() + QStringLiteral("/Swiftlane/Runs/"); }
    QString reportsFolder() const { return dataDir.path() + QStringLiteral("/Swiftlane/Reports/"); }
    void writeSequence(const QString& name, const QList<int>& gates, double distance);

    // Constructs the controller, runs Init() and finishes the start at once, without a paint.
    void start(bool rfidControls = false);

    void status(std::uint32_t deviceTime, bool g0 = true, bool g1 = true, bool g2 = true, bool g3 = true);
    void event(std::uint32_t deviceTime, int gate, bool state = true);
    void tick(int count = 1);

    void setSubjects(const QStringList& names);
    void clickStart();
    // With the gates ready, starts a run for `subject` and passes the start gate at device time 1000.
    void startPastTheStartGate(const QString& subject = QStringLiteral("Ann"));
    // Passes every gate of the selected sequence in order, one second apart from device time
    // `from`, and ticks once.
    void passAll(std::uint32_t from = 1000);
    // Ends the program by "title bar", "Exit action" or "Exit button"; returns the exit code, 0 for
    // a window that closed, -1 while the program goes on. The ending is caught by throwing from the
    // exit seam, which must not unwind through Qt's frames (built without exception support, they
    // would leak), so only an ending expected to be refused goes through the real action and
    // button; otherwise the slot they are connected to is called.
    int endProgram(const QString& how, bool refusalExpected = false);

    template <typename Widget> Widget* child(const char* name) const
    {
        return controller->MainWindow().findChild<Widget*>(QString::fromLatin1(name));
    }
    QTableWidget* table() const { return child<QTableWidget>("reportTableWidget"); }
    QComboBox* runCombo() const { return child<QComboBox>("runComboBox"); }
    QComboBox* subjectCombo() const { return child<QComboBox>("subjectNameComboBox"); }
    QString statusText() const { return child<QLabel>("runStatusLabel")->text(); }
    QString connectionText() const { return child<QLabel>("gateStatusLabel")->text(); }
    QStringList lastTableRow() const;
    QStringList reportFiles() const { return QDir(reportsFolder()).entryList(QDir::Files, QDir::Name); }
    QString readReport(const QString& fileName) const;

    QTemporaryDir dataDir;
    platform::FakeClock clock;
    platform::FakeFtdiDevices devices;
    FakeDialogs dialogs;
    FakeShell shell;
    std::unique_ptr<SLMain> controller;
};
