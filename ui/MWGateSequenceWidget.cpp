#include "ui/MWGateSequenceWidget.h"

#include "ui/LampPixmap.h"
#include "ui/Resources.h"
#include "ui_MWGateSequenceWidget.h"

#include <QPixmap>

MWGateSequenceWidget::MWGateSequenceWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::MWGateSequenceWidget)
{
    ui->setupUi(this);
    EnsureResources();
    lampPassed = QPixmap(":/LED/LED_Square_Blue_On");
    lampAwaited = QPixmap(":/LED/LED_Square_Orange_On");
    lampOff = QPixmap(":/LED/LED_Square_Black_Off");
    ShowLamp(ui->lampLabel, lampOff);
}

MWGateSequenceWidget::~MWGateSequenceWidget() = default;

void MWGateSequenceWidget::SetCheckpointIndex(int position)
{
    ui->checkpointGroupBox->setTitle(position == 0 ? tr("Start point") : tr("Checkpoint %1").arg(position));
}

void MWGateSequenceWidget::SetGateNumber(int number)
{
    ui->gateNumLabel->setText(tr("Gate %1").arg(number));
    gateNumber = number;
    nameLamp();
}

// What the colour says, for a screen reader.
void MWGateSequenceWidget::nameLamp()
{
    const QString name = lampState == Passed    ? tr("Gate %1 passed")
                         : lampState == Awaited ? tr("Gate %1 next")
                                                : tr("Gate %1 ahead");
    ui->lampLabel->setAccessibleName(name.arg(gateNumber));
}

void MWGateSequenceWidget::SetLampState(int state)
{
    if (state == lampState)
        return;
    switch (state) {
    case Passed:
        ShowLamp(ui->lampLabel, lampPassed);
        break;
    case Awaited:
        ShowLamp(ui->lampLabel, lampAwaited);
        break;
    case Ahead:
        ShowLamp(ui->lampLabel, lampOff);
        break;
    default:
        return;
    }
    lampState = state;
    nameLamp();
}
