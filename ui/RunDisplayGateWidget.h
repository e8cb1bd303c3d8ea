#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

namespace Ui {
class RunDisplayGateWidget;
}

// Scales the font of a one-line text widget, and of its companions alike, so that the text fills the
// widget's width: a long name or a narrow panel does not cut the text, a wide window shows it larger.
// Fonts stay between smallestPointSize and largestScale times their form sizes. Re-fits on resize;
// call Refit() after changing the text. padding: room the widget keeps beside its text.
class FontFitter : public QObject
{
public:
    FontFitter(QWidget* target, int padding, qreal largestScale, std::function<QString()> text,
               const std::vector<QWidget*>& companions = {});
    void Refit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Scaled
    {
        QWidget* widget;
        qreal formPointSize;
    };
    QWidget* target;
    int padding;
    qreal largestScale;
    std::function<QString()> text;
    std::vector<Scaled> scaled; // the target first
};

// One checkpoint panel of the run display: the split time at a sequence position and the best
// split seen there.
class RunDisplayGateWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RunDisplayGateWidget(QWidget* parent = nullptr);
    ~RunDisplayGateWidget() override;
    RunDisplayGateWidget(const RunDisplayGateWidget&) = delete;
    RunDisplayGateWidget& operator=(const RunDisplayGateWidget&) = delete;

    void SetGateIndex(int value);
    int GateIndex() const { return position; }
    void SetTime(double seconds);
    void SetBest(double seconds);
    void Highlight();
    bool IsHighlighted() const { return highlighted; }

    QString CheckpointText() const;
    QString TimeText() const { return timeShown; }
    QString BestText() const { return bestShown; }

private:
    Ui::RunDisplayGateWidget* ui;
    std::int32_t position = 0;
    FontFitter* titleFitter;
    // The values on show, so that an unchanged value is not repainted on every tick.
    QString timeShown;
    QString bestShown;
    bool highlighted = false;
};
