#pragma once

#include <QPixmap>
#include <QWidget>

#include <memory>

namespace Ui {
class MWGateSequenceWidget;
}

// One tile of the gate sequence strip: the gate's place in the sequence, its number and a lamp
// telling whether the subject has passed it, is running towards it, or still has it ahead.
class MWGateSequenceWidget : public QWidget
{
    Q_OBJECT

public:
    enum LampState
    {
        Passed = 0,
        Awaited = 1,
        Ahead = 2
    };

    explicit MWGateSequenceWidget(QWidget* parent = nullptr);
    ~MWGateSequenceWidget() override;
    MWGateSequenceWidget(const MWGateSequenceWidget&) = delete;
    MWGateSequenceWidget& operator=(const MWGateSequenceWidget&) = delete;

    void SetCheckpointIndex(int position);
    void SetGateNumber(int number);
    // Any value other than a LampState leaves the lamp as it is.
    void SetLampState(int state);
    int LampStateShown() const { return lampState; }

private:
    void nameLamp();

    std::unique_ptr<Ui::MWGateSequenceWidget> ui;
    QPixmap lampPassed;
    QPixmap lampAwaited;
    QPixmap lampOff;
    // Re-setting an unchanged pixmap would repaint the tile on every tick.
    int lampState = Ahead;
    int gateNumber = 0;
};
