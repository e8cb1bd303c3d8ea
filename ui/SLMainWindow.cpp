#include "ui/SLMainWindow.h"

#include "timing/SequenceListing.h"
#include "timing/SequenceRun.h"
#include "ui/ConfigNameListDialog.h"
#include "ui/ConfigRunDialog.h"
#include "ui/LampPixmap.h"
#include "ui/LayoutCleanup.h"
#include "ui/MWGateSequenceWidget.h"
#include "ui/MainWindowOwner.h"
#include "ui/Resources.h"
#include "ui/ResultsWindow.h"
#include "ui/RunDisplayDialog.h"
#include "ui_SLMainWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidgetItem>

#include <algorithm>

namespace {

const char* const ConnectedText = QT_TRANSLATE_NOOP("SLMainWindow", "Connected");
const char* const NotConnectedText = QT_TRANSLATE_NOOP("SLMainWindow", "Not connected");
constexpr int AwaitedTileMargin = 50;

void setTextIfChanged(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace

SLMainWindow::SLMainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::SLMainWindow)
{
    EnsureResources();
    ui->setupUi(this);
    lampGreen = QPixmap(":/LED/LED_Circle_Green_On");
    lampRed = QPixmap(":/LED/LED_Circle_Red_On");
    lampGrey = QPixmap(":/LED/LED_Circle_Grey_Off");
    ui->statusBar->hide();
    // The status bar only appears while it has a note to show.
    connect(ui->statusBar, &QStatusBar::messageChanged, this,
            [this](const QString& message) { ui->statusBar->setVisible(!message.isEmpty()); });
    fitGateStatusRow();
    // The strip scrolls at most gate passages. A scroll bar that fills its own background spares
    // repainting the two group boxes and the frame behind it each time; the style paints over
    // the whole bar anyway.
    ui->runGateSequenceScrollArea->horizontalScrollBar()->setAutoFillBackground(true);
}

// Without this the lamps move sideways whenever the connection text changes width, and at the
// window's minimum size the form's minimum heights (too small for today's taller titles) cut them.
void SLMainWindow::fitGateStatusRow()
{
    QLabel* status = ui->gateStatusLabel;
    const QString designText = status->text();
    int width = 0;
    for (const char* text : {ConnectedText, NotConnectedText}) {
        status->setText(tr(text));
        width = std::max(width, status->sizeHint().width());
    }
    status->setText(designText);
    status->setFixedWidth(width);
    // Inner boxes first: the frame's need follows from theirs.
    QWidget* const lampRow[] = {ui->gate1GroupBox, ui->gate2GroupBox, ui->gate3GroupBox, ui->gate4GroupBox,
                                ui->frame};
    for (QWidget* widget : lampRow) {
        widget->ensurePolished();
        widget->setMinimumHeight(std::max(widget->minimumHeight(), widget->minimumSizeHint().height()));
    }
}

SLMainWindow::~SLMainWindow() = default;

void SLMainWindow::showAndRefresh()
{
    show();
    refreshRunList();
    refreshStatus();
}

void SLMainWindow::hideRfidControls()
{
    ui->actionImport_RFID_Tag_Names->setVisible(false);
    ui->actionRFID_Scanning->setVisible(false);
    ui->RFIDScanButton->hide();
    ui->centralWidget->layout()->update();
}

// Runs on every tick: everything below only touches a widget whose value changed, so an idle
// window is not repainted.
void SLMainWindow::refreshStatus()
{
    if (!controller)
        return;
    refreshConnectionText();
    refreshGateLamps();
    refreshRunProgress();
    refreshSequenceChoice();
    refreshRunActions();
    const bool scannerOpen = controller->IsRfidScannerOpen();
    if (ui->RFIDScanButton->isEnabled() != scannerOpen)
        ui->RFIDScanButton->setEnabled(scannerOpen);
    if (!ui->viewReportButton->isEnabled())
        ui->viewReportButton->setEnabled(true);
    if (runDisplay)
        runDisplay->Update();
}

void SLMainWindow::refreshConnectionText()
{
    setTextIfChanged(ui->gateStatusLabel,
                     tr(controller->GatesConnected() ? ConnectedText : NotConnectedText));
}

void SLMainWindow::refreshGateLamps()
{
    bool present[4] = {};
    bool ready[4] = {};
    controller->GetGatePresent(present[0], present[1], present[2], present[3]);
    controller->GetGateReady(ready[0], ready[1], ready[2], ready[3]);
    for (int gate = 0; gate < 4; ++gate)
        showLamp(gate, !present[gate] ? &lampGrey : ready[gate] ? &lampGreen : &lampRed);
}

void SLMainWindow::showLamp(int gate, const QPixmap* lamp)
{
    if (lampShown[gate] == lamp)
        return;
    QLabel* const labels[4] = {ui->gate1LampLabel, ui->gate2LampLabel, ui->gate3LampLabel,
                               ui->gate4LampLabel};
    ShowLamp(labels[gate], *lamp);
    // What the colour says, for a screen reader; the lamps are numbered as the gates are elsewhere.
    labels[gate]->setAccessibleName(lamp == &lampGreen ? tr("Gate %1 ready").arg(gate + 1)
                                                       : tr("Gate %1 not ready").arg(gate + 1));
    lampShown[gate] = lamp;
}

void SLMainWindow::refreshRunProgress()
{
    if (!controller)
        return;
    setTextIfChanged(ui->runStatusLabel, controller->RunStateText());
    refreshStripLamps();
}

void SLMainWindow::refreshStripLamps()
{
    if (!stripLayout)
        return;
    const int awaited = controller->GetSequenceRun().CurrentGateIndex();
    const int tileCount = stripLayout->count() - 1; // the last item is the closing stretch
    for (int position = 0; position < tileCount; ++position) {
        auto* tile = qobject_cast<MWGateSequenceWidget*>(stripLayout->itemAt(position)->widget());
        if (!tile)
            continue;
        if (position < awaited) {
            tile->SetLampState(MWGateSequenceWidget::Passed);
        } else if (position == awaited) {
            tile->SetLampState(MWGateSequenceWidget::Awaited);
            ui->runGateSequenceScrollArea->ensureWidgetVisible(tile, AwaitedTileMargin, AwaitedTileMargin);
        } else {
            tile->SetLampState(MWGateSequenceWidget::Ahead);
        }
    }
}

// Choosing a sequence loads it into the engine, which drops a run in progress.
void SLMainWindow::refreshSequenceChoice()
{
    ui->runComboBox->setEnabled(!runInProgress());
}

// Start only starts and Stop only stops, so that a key pressed twice never undoes itself.
void SLMainWindow::refreshRunActions()
{
    const bool running = runInProgress();
    if (ui->actionStart_run->isEnabled() == running)
        ui->actionStart_run->setEnabled(!running);
    if (ui->actionStop_run->isEnabled() != running)
        ui->actionStop_run->setEnabled(running);
}

bool SLMainWindow::runInProgress() const
{
    return controller && controller->GetSequenceRun().IsRunning();
}

void SLMainWindow::showRunningSequence()
{
    const QSignalBlocker blocker(ui->runComboBox);
    ui->runComboBox->setCurrentIndex(ui->runComboBox->findData(selectedRunPath));
}

void SLMainWindow::refreshRunList()
{
    if (!controller)
        return;
    const std::vector<ListedSequence> sequences = ListSequences(controller->RunsFolder());
    if (!controller->GetSequenceRun().IsRunning()) {
        // Qt reports the emptied list (-1) and the first entry as index changes, which load them.
        ui->runComboBox->clear();
        for (const ListedSequence& sequence : sequences)
            ui->runComboBox->addItem(sequence.name, sequence.path);
        return;
    }
    // A run is in progress: reloading its sequence would drop it, so the list is rebuilt without
    // telling the controller and shows the running sequence.
    const QSignalBlocker blocker(ui->runComboBox);
    ui->runComboBox->clear();
    int runningEntry = -1;
    for (const ListedSequence& sequence : sequences) {
        if (runningEntry < 0 && sequence.path == selectedRunPath)
            runningEntry = ui->runComboBox->count();
        ui->runComboBox->addItem(sequence.name, sequence.path);
    }
    // The running sequence's file may be gone or renamed: the box still names what is running.
    if (runningEntry < 0) {
        runningEntry = ui->runComboBox->count();
        ui->runComboBox->addItem(controller->GetSequenceRun().Sequence().Name(), selectedRunPath);
    }
    ui->runComboBox->setCurrentIndex(runningEntry);
}

void SLMainWindow::onSequenceChanged()
{
    buildSequenceStrip();
    setupReportTable();
}

void SLMainWindow::buildSequenceStrip()
{
    QWidget* content = ui->scrollAreaWidgetContents;
    DeleteLayoutAndWidgets(content);
    stripLayout = new QHBoxLayout;
    if (controller) {
        const SequenceRun& run = controller->GetSequenceRun();
        for (int position = 0; position < run.GateCount(); ++position) {
            auto* tile = new MWGateSequenceWidget;
            tile->SetCheckpointIndex(position);
            tile->SetGateNumber(run.GateNumberAt(static_cast<unsigned>(position)).value_or(0) + 1);
            stripLayout->addWidget(tile);
        }
    }
    stripLayout->addStretch(1);
    content->setLayout(stripLayout);
}

void SLMainWindow::setupReportTable()
{
    const int gateCount = controller ? controller->GetSequenceRun().GateCount() : 0;
    QStringList labels{tr("Subject Name"), tr("Total Time")};
    for (int checkpoint = 1; checkpoint < gateCount; ++checkpoint)
        labels << tr("Checkpoint %1").arg(checkpoint);
    labels << tr("Distance") << tr("Speed");

    QTableWidget* table = ui->reportTableWidget;
    table->setRowCount(0);
    table->setColumnCount(gateCount + 3);
    table->setHorizontalHeaderLabels(labels);
    // Columns share the table's width, so a 4-gate run shows every column without scrolling; the
    // minimum keeps "Checkpoint 10" and a time readable, with a scroll bar for long sequences.
    table->horizontalHeader()->setMinimumSectionSize(84);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->horizontalHeader()->show();
}

void SLMainWindow::appendReportRow(const QStringList& row)
{
    QTableWidget* table = ui->reportTableWidget;
    const int last = table->rowCount();
    table->insertRow(last);
    writeRow(last, row);
    table->scrollToBottom();
}

void SLMainWindow::updateLastReportRow(const QStringList& row)
{
    const int count = ui->reportTableWidget->rowCount();
    if (count > 0)
        writeRow(count - 1, row);
}

void SLMainWindow::writeRow(int row, const QStringList& entries)
{
    QTableWidget* table = ui->reportTableWidget;
    const int columns = std::min<int>(entries.size(), table->columnCount());
    for (int column = 0; column < columns; ++column) {
        QTableWidgetItem* cell = table->item(row, column);
        if (!cell) {
            table->setItem(row, column, new QTableWidgetItem(entries[column]));
        } else if (cell->text() != entries[column]) {
            cell->setText(entries[column]);
        }
    }
}

void SLMainWindow::removeLastReportRow()
{
    const int count = ui->reportTableWidget->rowCount();
    if (count > 0)
        ui->reportTableWidget->removeRow(count - 1);
}

QString SLMainWindow::currentSubjectText() const
{
    return ui->subjectNameComboBox->currentText();
}

bool SLMainWindow::autoAdvanceChecked() const
{
    return ui->autoAdvSubjectCheckBox->isChecked();
}

bool SLMainWindow::hasNextSubject() const
{
    const int current = ui->subjectNameComboBox->currentIndex();
    return current >= 0 && current + 1 < ui->subjectNameComboBox->count();
}

bool SLMainWindow::selectNextSubject()
{
    if (!hasNextSubject())
        return false;
    ui->subjectNameComboBox->setCurrentIndex(ui->subjectNameComboBox->currentIndex() + 1);
    return true;
}

void SLMainWindow::addSubjectName(const QString& name)
{
    ui->subjectNameComboBox->addItem(name);
}

QStringList SLMainWindow::subjectNames() const
{
    QStringList names;
    for (int i = 0; i < ui->subjectNameComboBox->count(); ++i)
        names << ui->subjectNameComboBox->itemText(i);
    return names;
}

void SLMainWindow::setSubjectNames(const QStringList& names)
{
    ui->subjectNameComboBox->clear();
    ui->subjectNameComboBox->addItems(names);
}

QString SLMainWindow::runPathAt(int index) const
{
    return index < 0 ? QString() : ui->runComboBox->itemData(index, Qt::UserRole).toString();
}

void SLMainWindow::closeEvent(QCloseEvent* event)
{
    // Closing the window ends the program.
    if (controller && !controller->ConfirmExit())
        event->ignore();
    else
        event->accept();
}

void SLMainWindow::on_actionExit_triggered()
{
    if (controller)
        controller->ExitApplication();
}

void SLMainWindow::on_actionAbout_triggered()
{
    if (controller)
        controller->ShowAbout();
}

void SLMainWindow::on_actionResults_triggered()
{
    if (controller)
        controller->ShowResults();
}

void SLMainWindow::on_actionRFID_Scanning_triggered()
{
    if (controller)
        controller->SetupRfidConnection();
}

void SLMainWindow::on_actionImport_Name_List_triggered()
{
    if (controller)
        controller->ImportNameList();
}

void SLMainWindow::on_actionImport_RFID_Tag_Names_triggered()
{
    if (controller)
        controller->ImportRFIDTagNames();
}

void SLMainWindow::on_exitPushButton_clicked()
{
    if (controller)
        controller->ExitApplication();
}

void SLMainWindow::on_RFIDScanButton_clicked()
{
    if (controller)
        controller->RequestRfidScan();
}

void SLMainWindow::on_openReportFolderButton_clicked()
{
    if (controller)
        controller->OpenReportsFolder();
}

void SLMainWindow::on_viewReportButton_clicked()
{
    if (controller)
        controller->ViewReport();
}

void SLMainWindow::on_actionSwiftlane_Connection_triggered()
{
    if (controller)
        controller->SetupGateConnection();
}

void SLMainWindow::on_raceViewPushButton_clicked()
{
    if (!runDisplay) {
        runDisplay = new RunDisplayDialog(this);
        runDisplay->setRun(controller ? &controller->GetSequenceRun() : nullptr);
        runDisplay->setWindowFlags(Qt::Window);
        restoreKeptGeometry(runDisplay);
    }
    runDisplay->ShowRaceView();
}

void SLMainWindow::on_actionConfigure_Runs_triggered()
{
    if (controller)
        controller->SetupGateSequences();
}

void SLMainWindow::openGateSequenceEditor()
{
    if (!gateSequenceEditor) {
        gateSequenceEditor = new ConfigRunDialog(this);
        gateSequenceEditor->setController(controller);
        restoreKeptGeometry(gateSequenceEditor);
    }
    gateSequenceEditor->openEditor();
    const int current = ui->runComboBox->currentIndex();
    if (current >= 0)
        gateSequenceEditor->loadSequence(runPathAt(current));
}

void SLMainWindow::openResultsWindow(ResultsStore& store, const QString& reportsFolder)
{
    if (!results)
        results = new ResultsWindow(this);
    results->openOn(store, reportsFolder);
}

void SLMainWindow::resultsChanged()
{
    if (results)
        results->historyChanged();
}

void SLMainWindow::openNameListEditor()
{
    if (!nameListEditor) {
        nameListEditor = new ConfigNameListDialog(this);
        nameListEditor->setController(controller);
        restoreKeptGeometry(nameListEditor);
    }
    nameListEditor->openEditor();
}

void SLMainWindow::showStatusNote(const QString& text)
{
    constexpr int NoteMs = 10000;
    ui->statusBar->showMessage(text, NoteMs);
}

void SLMainWindow::showRunNote(const QString& text)
{
    if (!text.isEmpty())
        ui->statusBar->showMessage(text);
    else if (!runNote.isEmpty() && ui->statusBar->currentMessage() == runNote)
        ui->statusBar->clearMessage();
    runNote = text;
}

void SLMainWindow::on_runComboBox_currentIndexChanged(int index)
{
    // The box is disabled during a run, but a change made by code still arrives here.
    if (runInProgress()) {
        showRunningSequence();
        return;
    }
    selectedRunPath = runPathAt(index);
    if (controller)
        controller->SelectRun(selectedRunPath);
}

void SLMainWindow::on_startRunPushButton_clicked()
{
    if (!controller)
        return;
    controller->SetSubjectName(currentSubjectText());
    controller->StartOrAbortRun();
    refreshSequenceChoice(); // now, not on the next tick
    refreshRunActions();
}

// A run started by the countdown leaves the actions enabled until the next refresh, so each checks
// the run itself.
void SLMainWindow::on_actionStart_run_triggered()
{
    if (!runInProgress())
        on_startRunPushButton_clicked();
}

void SLMainWindow::on_actionStop_run_triggered()
{
    if (!runInProgress())
        return;
    controller->StartOrAbortRun(); // asks before aborting, as the button does
    refreshSequenceChoice();
    refreshRunActions();
}

// These act during a run too, as the subject box does: the box names who runs next, and the
// running run keeps the subject it was started with.
void SLMainWindow::on_actionPrevious_subject_triggered()
{
    stepSubject(-1);
}

void SLMainWindow::on_actionNext_subject_triggered()
{
    stepSubject(1);
}

// Through the current index, as a choice made with the mouse, so the controller hears of it.
void SLMainWindow::stepSubject(int step)
{
    QComboBox* box = ui->subjectNameComboBox;
    const int target = box->currentIndex() + step;
    if (target >= 0 && target < box->count())
        box->setCurrentIndex(target);
}

void SLMainWindow::on_subjectNameComboBox_editTextChanged(const QString& arg1)
{
    Q_UNUSED(arg1);
    if (controller)
        controller->SetSubjectName(currentSubjectText());
}

void SLMainWindow::on_configNameListPushButton_clicked()
{
    openNameListEditor();
}

void SLMainWindow::on_configGateSeqPushButton_clicked()
{
    on_actionConfigure_Runs_triggered();
}

void SLMainWindow::on_actionSetup_subject_names_triggered()
{
    on_configNameListPushButton_clicked();
}

void SLMainWindow::on_actionExport_list_of_names_triggered()
{
    if (controller)
        controller->ExportNameList();
}

void SLMainWindow::on_autoAdvSubjectCheckBox_toggled(bool checked)
{
    if (!checked && controller)
        controller->CancelCountdown();
}
