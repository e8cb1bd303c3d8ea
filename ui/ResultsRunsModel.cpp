#include "ui/ResultsRunsModel.h"

#include "results/ResultsQueries.h"
#include "ui/DistanceText.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QSqlQuery>
#include <QStringList>

ResultsRunsModel::ResultsRunsModel(QObject* parent) : QSqlQueryModel(parent) {}

void ResultsRunsModel::setFilter(const RunFilter& value)
{
    current = value;
    refresh();
}

void ResultsRunsModel::refresh()
{
    if (!db.isOpen()) { // no history yet, or one that cannot be opened: nothing to show
        clear();
        return;
    }
    const results::SqlText text = results::RunsQuery(current);
    QSqlQuery query(db);
    query.prepare(text.sql);
    for (const QVariant& value : text.values)
        query.addBindValue(value);
    query.exec();
    setQuery(std::move(query));
}

void ResultsRunsModel::sort(int column, Qt::SortOrder order)
{
    current.sortColumn = column;
    current.sortOrder = order;
    refresh();
}

QVariant ResultsRunsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index);
    case Qt::TextAlignmentRole:
        switch (index.column()) {
        case runcolumn::Distance:
        case runcolumn::TotalMs:
        case runcolumn::Speed:
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
        }
    case Qt::ForegroundRole:
        if (!isValidAt(index.row()))
            return QBrush(QColor(0x9a, 0x9a, 0x9a));
        return {};
    case Qt::BackgroundRole:
        if (isPersonalBestAt(index.row()))
            return QBrush(QColor(0xff, 0xe8, 0x9c));
        return {};
    case Qt::FontRole:
        if (isPersonalBestAt(index.row())) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (!isValidAt(index.row())) {
            QFont dim;
            dim.setItalic(true);
            return dim;
        }
        return {};
    default:
        return QSqlQueryModel::data(index, role);
    }
}

QVariant ResultsRunsModel::displayText(const QModelIndex& index) const
{
    const QVariant value = QSqlQueryModel::data(index, Qt::DisplayRole);
    switch (index.column()) {
    case runcolumn::StartUtcMs: {
        const int offset = QSqlQueryModel::data(index.siblingAtColumn(runcolumn::UtcOffsetS)).toInt();
        return results::LocalStart(value.toLongLong(), offset)
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case runcolumn::TotalMs:
        return DisplaySeconds(value.toLongLong());
    case runcolumn::Distance:
    case runcolumn::Speed:
        return DisplayNumber(value.toDouble(), 3);
    case runcolumn::SplitsMs: {
        QStringList splits;
        for (const QString& ms : value.toString().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            splits << DisplaySeconds(ms.toLongLong());
        return splits.join(QStringLiteral("  "));
    }
    case runcolumn::Status:
        return value.toString() == QLatin1String("valid") ? QString() : tr("invalid");
    case runcolumn::Simulated:
        return value.toBool() ? tr("simulated") : QString();
    case runcolumn::PersonalBest:
        return value.toBool() ? tr("PB") : QString();
    default:
        return value;
    }
}

QVariant ResultsRunsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QSqlQueryModel::headerData(section, orientation, role);
    static const char* const names[runcolumn::Count] = {
        QT_TR_NOOP("Id"),          QT_TR_NOOP("Start"),        QT_TR_NOOP("Offset"), QT_TR_NOOP("Athlete"),
        QT_TR_NOOP("Course"),      QT_TR_NOOP("Total (s)"),    QT_TR_NOOP("Best"),   QT_TR_NOOP("Splits (s)"),
        QT_TR_NOOP("Speed (m/s)"), QT_TR_NOOP("Distance (m)"), QT_TR_NOOP("Status"), QT_TR_NOOP("Reason"),
        QT_TR_NOOP("Simulated"),   QT_TR_NOOP("Note")};
    if (section >= 0 && section < runcolumn::Count)
        return tr(names[section]);
    return {};
}

std::optional<std::int64_t> ResultsRunsModel::runIdAt(int row) const
{
    const QVariant id = QSqlQueryModel::data(index(row, runcolumn::Id));
    if (!id.isValid())
        return std::nullopt;
    return id.toLongLong();
}

bool ResultsRunsModel::isValidAt(int row) const
{
    return QSqlQueryModel::data(index(row, runcolumn::Status)).toString() != QLatin1String("invalid");
}

bool ResultsRunsModel::isPersonalBestAt(int row) const
{
    return QSqlQueryModel::data(index(row, runcolumn::PersonalBest)).toBool();
}
