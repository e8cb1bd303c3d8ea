#pragma once

#include <QListWidget>

class QTreeWidgetItem;

// The palette of the four gates. Whatever is dropped on it (a gate dragged back out of a
// sequence), it shows exactly the four gates again afterwards.
class GateListWidget : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int GateCount = 4;

    explicit GateListWidget(QWidget* parent = nullptr);

    void fillGates();

    // "Gate 1" to "Gate 4" for the 0-based gate numbers 0 to 3.
    static QString gateText(unsigned gate);
    static QListWidgetItem* makeGateItem(unsigned gate);
    static QTreeWidgetItem* makeSequenceItem(unsigned gate);

protected:
    void dropEvent(QDropEvent* event) override;
    // Dragging a gate out copies it: a drop elsewhere must never take one out of the palette.
    void startDrag(Qt::DropActions supportedActions) override;
};
