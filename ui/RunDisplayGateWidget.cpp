#include "ui/RunDisplayGateWidget.h"

#include "ui_RunDisplayGateWidget.h"

#include <QPalette>

namespace {

QPalette panelPalette()
{
    const QColor green(0, 255, 0);
    const QColor grey(120, 120, 120);
    QPalette palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, green);
        palette.setColor(group, QPalette::Midlight, green);
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Window, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::WindowText, grey);
    palette.setColor(QPalette::Disabled, QPalette::Midlight, green);
    palette.setColor(QPalette::Disabled, QPalette::Base, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::Window, Qt::black);
    return palette;
}

QString secondsText(double seconds)
{
    return QString::number(seconds, 'f', 3);
}

} // namespace

RunDisplayGateWidget::RunDisplayGateWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::RunDisplayGateWidget)
{
    ui->setupUi(this);
    setPalette(panelPalette());
}

RunDisplayGateWidget::~RunDisplayGateWidget()
{
    delete ui;
}

void RunDisplayGateWidget::SetGateIndex(int value)
{
    position = value;
    ui->checkPointLabel->setText(value == 0 ? QStringLiteral("Start Point")
                                            : QStringLiteral("Checkpoint %1").arg(value));
}

QString RunDisplayGateWidget::CheckpointText() const
{
    return ui->checkPointLabel->text();
}

void RunDisplayGateWidget::SetTime(double seconds)
{
    const QString text = secondsText(seconds);
    if (text == timeShown)
        return;
    timeShown = text;
    ui->timeLcdNumber->display(text);
}

void RunDisplayGateWidget::SetBest(double seconds)
{
    const QString text = secondsText(seconds);
    if (text == bestShown)
        return;
    bestShown = text;
    ui->bestTimeLcdNumber->display(text);
}

void RunDisplayGateWidget::Highlight()
{
    if (highlighted)
        return;
    highlighted = true;
    // Only the two roles are resolved, so every other colour still comes from the dialog.
    QPalette palette;
    palette.setColor(QPalette::WindowText, Qt::yellow);
    palette.setColor(QPalette::Midlight, Qt::yellow);
    setPalette(palette);
}
