#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class FontFitter;
class QHBoxLayout;
class QSpacerItem;
class RunDisplayGateWidget;
class SequenceRun;

namespace Ui {
class RunDisplayDialog;
}

// The large run view, meant to be read from a distance: subject, running total and up to three
// checkpoint panels. A read-only view of the run engine, updated on the controller's tick.
class RunDisplayDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RunDisplayDialog(QWidget* parent = nullptr);
    ~RunDisplayDialog() override;
    RunDisplayDialog(const RunDisplayDialog&) = delete;
    RunDisplayDialog& operator=(const RunDisplayDialog&) = delete;

    void setRun(const SequenceRun* value) { runEngine = value; }

    void ShowRaceView();
    void Update();

    // Sequence positions [first, end) shown as panels for a sequence of gateCount gates while
    // position currentGateIndex is awaited (-1: no run).
    static void PanelRange(int gateCount, int currentGateIndex, int& first, int& end);

    std::vector<RunDisplayGateWidget*> Panels() const;
    QString SubjectText() const;
    QString TotalText() const { return totalShown; }

private:
    void RebuildGatePanels();
    void CreatePanelSlots();
    void UpdateGatePanels();
    const SequenceRun* run() const { return runEngine; }

    std::unique_ptr<Ui::RunDisplayDialog> ui;
    const SequenceRun* runEngine = nullptr;
    FontFitter* nameFitter;
    std::int32_t lastGateIndex = -1;
    // The total on show, so that an unchanged value is not repainted on every tick.
    QString totalShown;
    // Three panels made once and re-assigned as the run moves on; an unused one is hidden and
    // its spacer keeps the others at the width they have among three.
    std::array<RunDisplayGateWidget*, 3> panelSlots{};
    std::array<QSpacerItem*, 3> emptySlotSpacers{};
    int panelsShown = 0;
};
