#pragma once

#include "results/RunFilter.h"

#include <QSqlDatabase>
#include <QSqlQueryModel>

#include <cstdint>
#include <optional>

// The runs of the Results window straight from an indexed query: rows are fetched as the view
// scrolls, never all copied. Times show in seconds with three decimals; personal bests are bold
// on a gold ground, invalid runs grey.
class ResultsRunsModel : public QSqlQueryModel
{
    Q_OBJECT

public:
    explicit ResultsRunsModel(QObject* parent = nullptr);

    void setDatabase(const QSqlDatabase& value) { db = value; }
    // Runs the query for the filter; its sort column and order are kept by sort().
    void setFilter(const RunFilter& value);
    const RunFilter& filter() const { return current; }
    void refresh();

    void sort(int column, Qt::SortOrder order) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    std::optional<std::int64_t> runIdAt(int row) const;
    bool isValidAt(int row) const;
    bool isPersonalBestAt(int row) const;

private:
    QVariant displayText(const QModelIndex& index) const;

    QSqlDatabase db;
    RunFilter current;
};
