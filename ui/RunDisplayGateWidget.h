#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

class FontFitter;

namespace Ui {
class RunDisplayGateWidget;
}

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
    // Back to the colours of a new panel, for a panel given another position.
    void ClearHighlight();
    bool IsHighlighted() const { return highlighted; }

    QString TimeText() const { return timeShown; }
    QString BestText() const { return bestShown; }

private:
    std::unique_ptr<Ui::RunDisplayGateWidget> ui;
    std::int32_t position = 0;
    FontFitter* titleFitter;
    // The values on show, so that an unchanged value is not repainted on every tick.
    QString timeShown;
    QString bestShown;
    bool highlighted = false;
};
