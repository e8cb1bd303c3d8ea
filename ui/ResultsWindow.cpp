#include "ui/ResultsWindow.h"

#include "platform/OperatorDialogs.h"
#include "results/ReportImport.h"
#include "results/ResultsExport.h"
#include "results/ResultsQueries.h"
#include "results/ResultsStore.h"
#include "ui/DistanceText.h"
#include "ui/ResultsRunsModel.h"
#include "ui_ResultsWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLocale>
#include <QTimer>

namespace {

const char* const AllAthletes = QT_TRANSLATE_NOOP("ResultsWindow", "(all athletes)");
const char* const AllCourses = QT_TRANSLATE_NOOP("ResultsWindow", "(all courses)");
// "From" at this date means no lower bound.
const QDate EarliestDate(2000, 1, 1);

QString SignedSeconds(std::int64_t ms)
{
    return (ms > 0 ? QStringLiteral("+") : QString()) + DisplaySeconds(ms);
}

void FillTable(QTableWidget* table, const QStringList& header, const std::vector<QStringList>& rows)
{
    table->clear();
    table->setColumnCount(static_cast<int>(header.size()));
    table->setHorizontalHeaderLabels(header);
    table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column)
            table->setItem(row, column,
                           new QTableWidgetItem(rows[static_cast<std::size_t>(row)].value(column)));
    }
    table->resizeColumnsToContents();
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setStretchLastSection(true);
}

// Keeps the choice when the list is filled again; an entry that is gone falls back to "all".
void FillChoice(QComboBox* box, const QString& all, const QStringList& names)
{
    const QString chosen = box->currentIndex() > 0 ? box->currentText() : QString();
    box->clear();
    box->addItem(all);
    box->addItems(names);
    const int index = chosen.isEmpty() ? 0 : box->findText(chosen);
    box->setCurrentIndex(index < 0 ? 0 : index);
}

} // namespace

ResultsWindow::ResultsWindow(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ResultsWindow>()), model(new ResultsRunsModel(this))
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    ui->runsTableView->setModel(model);
    ui->runsTableView->setSortingEnabled(true);
    ui->runsTableView->horizontalHeader()->setSortIndicator(runcolumn::StartUtcMs, Qt::DescendingOrder);
    ui->runsTableView->verticalHeader()->hide();
    // Column widths from the first rows only: a large history must not be read to size them.
    ui->runsTableView->horizontalHeader()->setResizeContentsPrecision(50);
    // Compact rows: more runs at a glance.
    ui->runsTableView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    const QDate today = QDate::currentDate();
    ui->fromDateEdit->setMinimumDate(EarliestDate);
    ui->fromDateEdit->setSpecialValueText(tr("(any)"));
    ui->fromDateEdit->setDate(today);
    ui->toDateEdit->setMinimumDate(EarliestDate);
    ui->toDateEdit->setDate(today);

    const auto filterChanged = [this] {
        if (!filling)
            applyFilter();
    };
    connect(ui->athleteComboBox, &QComboBox::currentIndexChanged, this, filterChanged);
    connect(ui->courseComboBox, &QComboBox::currentIndexChanged, this, filterChanged);
    connect(ui->fromDateEdit, &QDateEdit::dateChanged, this, filterChanged);
    connect(ui->toDateEdit, &QDateEdit::dateChanged, this, filterChanged);
    connect(ui->bestPerAthleteCheckBox, &QCheckBox::toggled, this, filterChanged);
    connect(ui->showSimulatedCheckBox, &QCheckBox::toggled, this, filterChanged);
    // Return after typing a reason marks the run; anywhere else it is Close's key.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || now->window() != this)
            return;
        const bool typingReason = ui->reasonComboBox->isAncestorOf(now) || now == ui->reasonComboBox;
        ui->markInvalidPushButton->setDefault(typingReason);
        ui->closePushButton->setDefault(!typingReason);
    });
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::openOn(ResultsStore& value, const QString& folder)
{
    store = &value;
    reportsFolder = folder;
    store->Open();
    model->setDatabase(store->Database());
    refreshAll();
    show();
    raise();
    activateWindow();
}

void ResultsWindow::historyChanged()
{
    if (!store || !isVisible() || refreshQueued)
        return;
    refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued = false;
        refreshAll();
    });
}

void ResultsWindow::refreshAll()
{
    if (!store)
        return;
    if (!store->IsOpen() && store->Open())
        model->setDatabase(store->Database());
    refreshChoices();
    applyFilter();
    refreshSessionList();
}

RunFilter ResultsWindow::currentFilter() const
{
    RunFilter filter = model->filter();
    filter.athlete = ui->athleteComboBox->currentIndex() > 0 ? ui->athleteComboBox->currentText() : QString();
    filter.course = ui->courseComboBox->currentIndex() > 0 ? ui->courseComboBox->currentText() : QString();
    filter.from = ui->fromDateEdit->date() == EarliestDate ? QDate() : ui->fromDateEdit->date();
    // Up to today means up to now, also when the window stays open past midnight.
    filter.to = ui->toDateEdit->date() >= QDate::currentDate() ? QDate() : ui->toDateEdit->date();
    filter.bestPerAthlete = ui->bestPerAthleteCheckBox->isChecked();
    filter.showSimulated = ui->showSimulatedCheckBox->isChecked();
    return filter;
}

void ResultsWindow::applyFilter()
{
    if (!store)
        return;
    model->setFilter(currentFilter());
    QHeaderView* header = ui->runsTableView->horizontalHeader();
    for (int column : {runcolumn::Id, runcolumn::UtcOffsetS, runcolumn::Status})
        ui->runsTableView->setColumnHidden(column, true);
    ui->runsTableView->setColumnHidden(runcolumn::Simulated, !ui->showSimulatedCheckBox->isChecked());
    header->setSectionResizeMode(QHeaderView::Interactive);
    ui->runsTableView->resizeColumnsToContents();
    header->setStretchLastSection(true);
    refreshAthleteView();
    refreshStatus();
}

void ResultsWindow::refreshChoices()
{
    const QSqlDatabase db = store->Database();
    filling = true;
    FillChoice(ui->athleteComboBox, tr(AllAthletes), results::AthleteNames(db));
    FillChoice(ui->courseComboBox, tr(AllCourses), results::CourseNames(db));
    filling = false;
}

void ResultsWindow::refreshStatus()
{
    QString text = model->rowCount() == 1 ? tr("1 run") : tr("%1 runs").arg(model->rowCount());
    if (model->canFetchMore())
        text = tr("More than %1 runs").arg(model->rowCount());
    if (store && store->IsReadOnly())
        text += tr(" - read-only: ") + store->LastError();
    else if (store && !store->IsOpen())
        text = tr("The results history cannot be opened: ") + store->LastError();
    ui->statusLabel->setText(text);
    const bool writable = store && store->IsOpen() && !store->IsReadOnly();
    ui->markInvalidPushButton->setEnabled(writable);
    ui->restorePushButton->setEnabled(writable);
    ui->importReportsPushButton->setEnabled(writable);
    ui->importFilePushButton->setEnabled(writable);
}

void ResultsWindow::refreshAthleteView()
{
    const RunFilter filter = currentFilter();
    if (filter.athlete.isEmpty() || filter.course.isEmpty()) {
        ui->personalBestLabel->setText(tr("Choose an athlete and a course above."));
        FillTable(ui->athleteSessionsTable, {}, {});
        return;
    }
    const results::AthleteHistory history =
        results::AthleteOnCourse(store->Database(), filter.athlete, filter.course, filter.showSimulated);
    if (history.personalBestMs)
        ui->personalBestLabel->setText(
            tr("%1 on %2: personal best %3 s on %4")
                .arg(filter.athlete, filter.course, DisplaySeconds(*history.personalBestMs),
                     history.personalBestStart.toString(QStringLiteral("yyyy-MM-dd"))));
    else
        ui->personalBestLabel->setText(tr("%1 has no valid run on %2.").arg(filter.athlete, filter.course));
    std::vector<QStringList> rows;
    for (auto it = history.sessions.rbegin(); it != history.sessions.rend(); ++it)
        rows.push_back({it->sessionStart.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                        DisplaySeconds(it->bestMs), QString::number(it->attempts),
                        it->changeMs ? SignedSeconds(*it->changeMs) : QString()});
    FillTable(ui->athleteSessionsTable, {tr("Session"), tr("Best (s)"), tr("Runs"), tr("Change (s)")}, rows);
}

void ResultsWindow::refreshSessionList()
{
    const QVariant chosen = ui->sessionComboBox->currentData();
    filling = true;
    ui->sessionComboBox->clear();
    for (const results::SessionInfo& session : results::Sessions(store->Database())) {
        QString text = session.start.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        if (session.source != QLatin1String("live"))
            text += tr(" (from %1)").arg(session.source);
        text += tr(", %1 run(s)").arg(session.runs);
        ui->sessionComboBox->addItem(text, static_cast<qlonglong>(session.id));
    }
    const int index = chosen.isValid() ? ui->sessionComboBox->findData(chosen) : -1;
    ui->sessionComboBox->setCurrentIndex(index < 0 ? 0 : index);
    filling = false;
    refreshSessionView();
}

void ResultsWindow::on_sessionComboBox_currentIndexChanged(int)
{
    if (!filling)
        refreshSessionView();
}

void ResultsWindow::refreshSessionView()
{
    std::vector<QStringList> ranking;
    std::vector<QStringList> splits;
    const QVariant session = ui->sessionComboBox->currentData();
    if (store && session.isValid()) {
        const results::SessionSummary summary = results::SessionResults(
            store->Database(), session.toLongLong(), ui->showSimulatedCheckBox->isChecked());
        for (const results::RankedAthlete& entry : summary.ranking)
            ranking.push_back({entry.rank > 0 ? QString::number(entry.rank) : QString(), entry.athlete,
                               entry.course,
                               entry.bestMs ? DisplaySeconds(*entry.bestMs) : tr("no valid run"),
                               QString::number(entry.attempts)});
        for (const results::BestSplit& best : summary.bestSplits)
            splits.push_back({best.course, QString::number(best.checkpoint), DisplaySeconds(best.ms),
                              best.athletes.join(QStringLiteral(", "))});
    }
    FillTable(ui->rankingTable, {tr("Rank"), tr("Athlete"), tr("Course"), tr("Best (s)"), tr("Runs")},
              ranking);
    FillTable(ui->bestSplitsTable, {tr("Course"), tr("Checkpoint"), tr("Best split (s)"), tr("By")}, splits);
}

std::optional<std::int64_t> ResultsWindow::selectedRunId() const
{
    const QModelIndexList rows = ui->runsTableView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return model->runIdAt(rows.front().row());
}

void ResultsWindow::selectRunOf(std::int64_t runId)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->runIdAt(row) == runId) {
            ui->runsTableView->selectRow(row);
            return;
        }
    }
}

void ResultsWindow::on_markInvalidPushButton_clicked()
{
    const auto runId = selectedRunId();
    const QString reason = ui->reasonComboBox->currentText().trimmed();
    if (!runId) {
        warn(tr("Mark invalid"), tr("Select the run to mark invalid first."));
        return;
    }
    if (reason.isEmpty()) {
        warn(tr("Mark invalid"), tr("Choose or type the reason the run is invalid."));
        return;
    }
    if (!store->MarkInvalid(*runId, reason)) {
        warn(tr("Mark invalid"), tr("The run could not be marked: %1").arg(store->LastError()));
        return;
    }
    refreshAll();
    selectRunOf(*runId);
}

void ResultsWindow::on_restorePushButton_clicked()
{
    const auto runId = selectedRunId();
    if (!runId)
        return;
    if (!store->Restore(*runId)) {
        warn(tr("Restore"), tr("The run could not be restored: %1").arg(store->LastError()));
        return;
    }
    refreshAll();
    selectRunOf(*runId);
}

// The chosen path with the suffix; a file that exists is replaced only when the operator agrees.
QString ResultsWindow::exportPath(const QString& caption, const QString& filter, const QString& suffix)
{
    const QString folder = QFileInfo(reportsFolder).absolutePath();
    const QString chosen = platform::dialogs().saveFileName(
        this, caption, QDir(folder).filePath(QStringLiteral("Results") + suffix), filter);
    if (chosen.isEmpty())
        return {};
    const QString path = chosen.endsWith(suffix, Qt::CaseInsensitive) ? chosen : chosen + suffix;
    // The file dialog asked about the file chosen, not about the one the suffix makes of it.
    if (path != chosen && QFileInfo::exists(path)) {
        const auto answer = platform::dialogs().message(
            QMessageBox::Question, this, caption,
            tr("\"%1\" already exists. Do you want to replace it?").arg(QDir::toNativeSeparators(path)),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return {};
    }
    return path;
}

void ResultsWindow::on_exportCsvPushButton_clicked()
{
    exportShown(tr("Export results as CSV"), tr("CSV files (*.csv)"), QStringLiteral(".csv"),
                [](const QString& path, const std::vector<results::ExportRow>& rows, QString* error) {
                    return results::WriteResultsCsv(path, rows, QLocale(), error);
                });
}

void ResultsWindow::on_exportExcelPushButton_clicked()
{
    exportShown(tr("Export results as an Excel workbook"), tr("Excel workbooks (*.xlsx)"),
                QStringLiteral(".xlsx"),
                [](const QString& path, const std::vector<results::ExportRow>& rows, QString* error) {
                    return results::WriteResultsWorkbook(path, rows, error);
                });
}

// What the window shows, in the chosen file's format.
void ResultsWindow::exportShown(const QString& caption, const QString& filter, const QString& suffix,
                                const ExportWriter& write)
{
    const QString path = exportPath(caption, filter, suffix);
    if (path.isEmpty())
        return;
    QString error;
    const auto rows = results::ExportRows(store->Database(), currentFilter(), &error);
    if (!error.isEmpty() || !write(path, rows, &error))
        warn(tr("Export results"),
             tr("\"%1\" could not be written: %2").arg(QDir::toNativeSeparators(path), error));
}

void ResultsWindow::on_importReportsPushButton_clicked()
{
    import(results::ReportFilesIn(reportsFolder));
}

void ResultsWindow::on_importFilePushButton_clicked()
{
    const QString path = platform::dialogs().openFileName(this, tr("Import a report file"), reportsFolder,
                                                          tr("Swiftlane reports (Swiftlane_*.csv);;"
                                                             "CSV files (*.csv)"));
    if (!path.isEmpty())
        import({path});
}

void ResultsWindow::import(const QStringList& paths)
{
    const results::ImportSummary summary = results::ImportReports(*store, paths);
    refreshAll();
    platform::dialogs().message(QMessageBox::Information, this, tr("Import report files"),
                                results::DescribeImport(summary));
}

void ResultsWindow::on_todayPushButton_clicked()
{
    const QDate today = QDate::currentDate();
    filling = true;
    ui->fromDateEdit->setDate(today);
    ui->toDateEdit->setDate(today);
    filling = false;
    applyFilter();
}

void ResultsWindow::on_allDatesPushButton_clicked()
{
    filling = true;
    ui->fromDateEdit->setDate(EarliestDate);
    ui->toDateEdit->setDate(QDate::currentDate());
    filling = false;
    applyFilter();
}

void ResultsWindow::on_closePushButton_clicked()
{
    close();
}

void ResultsWindow::warn(const QString& title, const QString& text)
{
    platform::dialogs().message(QMessageBox::Warning, this, title, text);
}
