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
    const Qt::DropActions offered =
        proposed == Qt::MoveAction ? Qt::CopyAction | Qt::MoveAction : Qt::CopyAction;
    // Without a drag in progress the proposed action follows the modifiers: Shift proposes a move.
    const Qt::KeyboardModifiers modifiers = proposed == Qt::MoveAction ? Qt::ShiftModifier : Qt::NoModifier;
    QWidget* viewport = target->viewport();

    QDragEnterEvent enter(position, offered, mime.get(), Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDragMoveEvent move(position, offered, mime.get(), Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &move);
    if (!move.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent drop(QPointF(position), offered, mime.get(), Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &drop);
    if (!drop.isAccepted())
        return Qt::IgnoreAction;

    if (drop.dropAction() == Qt::MoveAction) {
        QList<QPersistentModelIndex> moved;
        for (const QModelIndex& index : indexes)
            moved << QPersistentModelIndex(index);
        for (const QPersistentModelIndex& index : moved)
            source->model()->removeRow(index.row(), index.parent());
    }
    return drop.dropAction();
}
