#include "ui/RunDisplayGateWidget.h"

#include "ui/FontFitter.h"

#include "ui_RunDisplayGateWidget.h"

#include <QEvent>
#include <QLCDNumber>
#include <QPalette>

#include <algorithm>

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

// The title and its labels may grow to half again their form sizes in a wide panel.
constexpr qreal largestTitleScale = 1.5;

// Keeps an LCD as tall as its width lets its digits be, so the digits grow with the panel's width
// while the row stays no taller than they need.
class DigitHeightKeeper : public QObject
{
public:
    explicit DigitHeightKeeper(QLCDNumber* lcd) : QObject(lcd), lcd(lcd) { lcd->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == lcd && event->type() == QEvent::Resize) {
            // The toolkit's segment length: the width holds the digits plus the decimal point's room.
            const int pointRoom = lcd->smallDecimalPoint() ? 2 : 1;
            // Widths are taken in steps of 8 px, so that panels a pixel apart keep the same height.
            const int width = lcd->width() / 8 * 8;
            const int segmentLength = width * 5 / (lcd->digitCount() * (5 + pointRoom) + pointRoom);
            lcd->setMinimumHeight(std::max(12, segmentLength * 12 / 5 + 1));
        }
        return false;
    }

private:
    QLCDNumber* lcd;
};

} // namespace

RunDisplayGateWidget::RunDisplayGateWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::RunDisplayGateWidget)
{
    ui->setupUi(this);
    setPalette(panelPalette());
    titleFitter = new FontFitter(ui->checkPointLabel, 2, largestTitleScale,
                                 [this] { return ui->checkPointLabel->text(); }, {ui->label, ui->label_2});
    new DigitHeightKeeper(ui->timeLcdNumber);
    new DigitHeightKeeper(ui->bestTimeLcdNumber);
    // The awaited panel's time changes on every tick: an LCD that fills its own background spares
    // repainting the frame behind it.
    ui->timeLcdNumber->setAutoFillBackground(true);
    ui->bestTimeLcdNumber->setAutoFillBackground(true);
    // At a passage every panel gets a new title: labels that fill their own (black) background spare
    // repainting the panel's frame and the dialog behind them.
    for (QLabel* label : {ui->checkPointLabel, ui->label, ui->label_2})
        label->setAutoFillBackground(true);
}

RunDisplayGateWidget::~RunDisplayGateWidget() = default;

void RunDisplayGateWidget::SetGateIndex(int value)
{
    position = value;
    ui->checkPointLabel->setText(value == 0 ? tr("Start Point") : tr("Checkpoint %1").arg(value));
    // The smallest panel still shows the whole title, in any language.
    ui->checkPointLabel->setMinimumWidth(titleFitter->SmallestTextWidth());
    titleFitter->Refit();
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

void RunDisplayGateWidget::ClearHighlight()
{
    if (!highlighted)
        return;
    highlighted = false;
    setPalette(panelPalette());
}
