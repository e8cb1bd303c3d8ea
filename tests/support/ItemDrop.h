#pragma once

#include <QModelIndexList>
#include <QPoint>

class QAbstractItemView;

// Drops the items at `indexes` of `source` onto `target`'s viewport at `position` with real drag
// enter, move and drop events carrying the source view's own mime data. `proposed` is the action
// the drag offers (Move as when dragging inside the sequence, Copy as from the palette). When the
// drop is accepted as a move, the source rows are removed afterwards, as the source view does
// when its drag ends. Returns the accepted action, IgnoreAction when refused.
Qt::DropAction dropItems(QAbstractItemView* source, const QModelIndexList& indexes, QAbstractItemView* target,
                         QPoint position, Qt::DropAction proposed);
