#pragma once

#include <QByteArray>
#include <QHash>
#include <QMainWindow>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <memory>

class QCloseEvent;
class QHBoxLayout;
class QLabel;
class ConfigNameListDialog;
class ConfigRunDialog;
class MainWindowOwner;
class RunDisplayDialog;
class ResultsStore;
class ResultsWindow;

namespace Ui {
class SLMainWindow;
}

// The operator's window. Holds no timing logic: forwards every action to the controller and is
// refreshed by it on every tick.
class SLMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SLMainWindow(QWidget* parent = nullptr);
    ~SLMainWindow() override;

    void setController(MainWindowOwner* value) { controller = value; }

    void showAndRefresh();
    void hideRfidControls();
    void refreshStatus();
    void refreshRunProgress();
    void refreshRunList();
    void onSequenceChanged();

    void appendReportRow(const QStringList& row);
    void updateLastReportRow(const QStringList& row);
    void removeLastReportRow();

    QString currentSubjectText() const;
    bool autoAdvanceChecked() const;
    bool hasNextSubject() const;
    bool selectNextSubject();

    void addSubjectName(const QString& name);
    QStringList subjectNames() const;
    void setSubjectNames(const QStringList& names);

    void openGateSequenceEditor();
    void openNameListEditor();
    void openResultsWindow(ResultsStore& store, const QString& reportsFolder);
    // The results history has new runs.
    void resultsChanged();
    // A short note at the bottom of the window, gone after a few seconds.
    void showStatusNote(const QString& text);
    // A note about the run just finished, kept until the next run starts; empty text takes it away.
    // A note shown meanwhile replaces it.
    void showRunNote(const QString& text);

    // What the controller keeps between starts.
    int currentSubjectIndex() const;
    void setCurrentSubject(int index, const QString& text);
    void setAutoAdvance(bool on);
    QString chosenSequencePath() const { return selectedRunPath; }
    // False when the list has no such sequence or a run holds the current one.
    bool chooseSequence(const QString& path);
    // Geometries by window object name: this window's and those of the dialogs opened so far,
    // over the ones given to setKeptGeometries for dialogs not opened yet.
    QHash<QString, QByteArray> windowGeometries() const;
    // Restores this window's geometry at once, each dialog's when it is first made.
    void setKeptGeometries(const QHash<QString, QByteArray>& geometries);

    RunDisplayDialog* runDisplayDialog() const { return runDisplay; }
    ConfigRunDialog* gateSequenceEditorDialog() const { return gateSequenceEditor; }
    ConfigNameListDialog* nameListEditorDialog() const { return nameListEditor; }
    ResultsWindow* resultsWindow() const { return results; }

protected:
    void closeEvent(QCloseEvent* event) override;

private Q_SLOTS:
    void on_actionExit_triggered();
    void on_actionAbout_triggered();
    void on_actionResults_triggered();
    void on_actionRFID_Scanning_triggered();
    void on_actionImport_Name_List_triggered();
    void on_actionImport_RFID_Tag_Names_triggered();
    void on_exitPushButton_clicked();
    void on_RFIDScanButton_clicked();
    void on_openReportFolderButton_clicked();
    void on_viewReportButton_clicked();
    void on_actionSwiftlane_Connection_triggered();
    void on_raceViewPushButton_clicked();
    void on_actionConfigure_Runs_triggered();
    void on_runComboBox_currentIndexChanged(int index);
    void on_startRunPushButton_clicked();
    void on_subjectNameComboBox_editTextChanged(const QString& arg1);
    void on_configNameListPushButton_clicked();
    void on_configGateSeqPushButton_clicked();
    void on_actionSetup_subject_names_triggered();
    void on_actionExport_list_of_names_triggered();
    void on_autoAdvSubjectCheckBox_toggled(bool checked);
    void on_actionStart_run_triggered();
    void on_actionStop_run_triggered();
    void on_actionPrevious_subject_triggered();
    void on_actionNext_subject_triggered();

private:
    void fitGateStatusRow();
    void buildSequenceStrip();
    void setupReportTable();
    void refreshConnectionText();
    void refreshGateLamps();
    void refreshStripLamps();
    void refreshSequenceChoice();
    void refreshRunActions();
    void stepSubject(int step);
    bool runInProgress() const;
    void showRunningSequence();
    void showLamp(int gate, const QPixmap* lamp);
    QString runPathAt(int index) const;
    void writeRow(int row, const QStringList& entries);
    void restoreKeptGeometry(QWidget* window);

    std::unique_ptr<Ui::SLMainWindow> ui;
    MainWindowOwner* controller = nullptr;
    QPixmap lampGreen;
    QPixmap lampRed;
    QPixmap lampGrey;
    RunDisplayDialog* runDisplay = nullptr;
    ConfigRunDialog* gateSequenceEditor = nullptr;
    ConfigNameListDialog* nameListEditor = nullptr;
    ResultsWindow* results = nullptr;
    QHBoxLayout* stripLayout = nullptr;
    // What the lamps show, so that an unchanged lamp is not repainted on every tick.
    const QPixmap* lampShown[4] = {};
    // The path last handed to the controller's SelectRun: the sequence the engine holds.
    QString selectedRunPath;
    QString runNote;
    QHash<QString, QByteArray> keptGeometries;
};
