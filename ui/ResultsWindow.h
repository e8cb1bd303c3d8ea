#pragma once

#include "results/RunFilter.h"

#include <cstdint>
#include <optional>

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace results {
struct ExportRow;
}
class ResultsRunsModel;
class ResultsStore;

namespace Ui {
class ResultsWindow;
}

// The results history: runs with filters (today's by default), each athlete's progress on a course,
// a session's ranking; marking runs invalid; exports and the reading of report files.
class ResultsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ResultsWindow(QWidget* parent = nullptr);
    ~ResultsWindow() override;

    // Shows the history of `store`; report files are imported from `reportsFolder`.
    void openOn(ResultsStore& store, const QString& reportsFolder);
    // New runs were stored: shown after the current event, never inside the gate poll.
    void historyChanged();
    void refreshAll();

    RunFilter currentFilter() const;
    ResultsRunsModel* runsModel() const { return model; }

private Q_SLOTS:
    void on_markInvalidPushButton_clicked();
    void on_restorePushButton_clicked();
    void on_exportCsvPushButton_clicked();
    void on_exportExcelPushButton_clicked();
    void on_importReportsPushButton_clicked();
    void on_importFilePushButton_clicked();
    void on_todayPushButton_clicked();
    void on_allDatesPushButton_clicked();
    void on_closePushButton_clicked();
    void on_sessionComboBox_currentIndexChanged(int index);

private:
    void applyFilter();
    void refreshChoices();
    void refreshAthleteView();
    void refreshSessionList();
    void refreshSessionView();
    void refreshStatus();
    void selectRunOf(std::int64_t runId);
    std::optional<std::int64_t> selectedRunId() const;
    QString exportPath(const QString& caption, const QString& filter, const QString& suffix);
    using ExportWriter =
        std::function<bool(const QString&, const std::vector<results::ExportRow>&, QString*)>;
    void exportShown(const QString& caption, const QString& filter, const QString& suffix,
                     const ExportWriter& write);
    void import(const QStringList& paths);
    void warn(const QString& title, const QString& text);

    std::unique_ptr<Ui::ResultsWindow> ui;
    ResultsRunsModel* model = nullptr;
    ResultsStore* store = nullptr;
    QString reportsFolder;
    bool refreshQueued = false;
    bool filling = false; // the combo boxes are being filled: their signals change no filter
};
