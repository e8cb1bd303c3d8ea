#include "ui/GateListWidget.h"

#include <QDropEvent>
#include <QTreeWidgetItem>

GateListWidget::GateListWidget(QWidget* parent) : QListWidget(parent)
{
    fillGates();
}

void GateListWidget::fillGates()
{
    clear();
    for (unsigned gate = 0; gate < GateCount; ++gate)
        addItem(makeGateItem(gate));
}

QString GateListWidget::gateText(unsigned gate)
{
    return tr("Gate %1").arg(gate + 1);
}

QListWidgetItem* GateListWidget::makeGateItem(unsigned gate)
{
    auto* item = new QListWidgetItem(gateText(gate));
    item->setData(Qt::UserRole, gate);
    return item;
}

QTreeWidgetItem* GateListWidget::makeSequenceItem(unsigned gate)
{
    auto* item = new QTreeWidgetItem(QStringList{gateText(gate)});
    item->setData(0, Qt::UserRole, gate);
    // A gate dropped onto this one lands before or after it, never inside it where it would vanish.
    item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);
    return item;
}

void GateListWidget::dropEvent(QDropEvent* event)
{
    QListWidget::dropEvent(event);
    fillGates();
}

void GateListWidget::startDrag(Qt::DropActions supportedActions)
{
    QListWidget::startDrag(supportedActions & Qt::CopyAction);
}
