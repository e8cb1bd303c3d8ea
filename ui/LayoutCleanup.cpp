#include "ui/LayoutCleanup.h"

#include <QLayout>
#include <QWidget>

void DeleteLayoutAndWidgets(QWidget* owner)
{
    QLayout* old = owner->layout();
    if (!old)
        return;
    while (QLayoutItem* item = old->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    delete old;
}
