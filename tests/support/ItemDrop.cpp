#include "support/ItemDrop.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPersistentModelIndex>

#include <memory>

Qt::DropAction dropItems(QAbstractItemView* source, const QModelIndexList& indexes, QAbstractItemView* target,
                         QPoint position, Qt::DropAction proposed)
{
    const std::unique_ptr<QMimeData> mime(source->model()->mimeData(indexes));
    const bool move = proposed == Qt::MoveAction;
    const Qt::DropActions offered = move ? Qt::CopyAction | Qt::MoveAction : Qt::CopyAction;
    // Without a drag in progress the proposed action follows the modifiers: Shift proposes a move.
    const Qt::KeyboardModifiers modifiers = move ? Qt::ShiftModifier : Qt::NoModifier;
    QDragEnterEvent enter(position, offered, mime.get(), Qt::LeftButton, modifiers);
    QDragMoveEvent over(position, offered, mime.get(), Qt::LeftButton, modifiers);
    QDropEvent drop(QPointF(position), offered, mime.get(), Qt::LeftButton, modifiers);
    for (QDropEvent* event : {static_cast<QDropEvent*>(&enter), static_cast<QDropEvent*>(&over), &drop}) {
        QApplication::sendEvent(target->viewport(), event);
        if (!event->isAccepted())
            return Qt::IgnoreAction;
    }
    if (drop.dropAction() == Qt::MoveAction) {
        QList<QPersistentModelIndex> moved(indexes.begin(), indexes.end());
        for (const QPersistentModelIndex& index : moved)
            source->model()->removeRow(index.row(), index.parent());
    }
    return drop.dropAction();
}
