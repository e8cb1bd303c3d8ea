#include "ui/RunDisplayDialog.h"

#include "timing/SequenceRun.h"
#include "ui/FontFitter.h"
#include "ui/LayoutCleanup.h"
#include "ui/RunDisplayGateWidget.h"
#include "ui_RunDisplayDialog.h"

#include <QHBoxLayout>
#include <QPalette>
#include <QSpacerItem>

#include <algorithm>

namespace {

constexpr int maxPanels = 3;

QPalette displayPalette()
{
    const QColor green(0, 255, 0);
    const QColor grey(120, 120, 120);
    QPalette palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            palette.setColor(group, role, Qt::black);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, green);
    }
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(QPalette::Disabled, role, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, green);
    palette.setColor(QPalette::Disabled, QPalette::Text, grey);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, grey);
    return palette;
}

} // namespace

RunDisplayDialog::RunDisplayDialog(QWidget* parent) : QDialog(parent), ui(new Ui::RunDisplayDialog)
{
    ui->setupUi(this);
    setPalette(displayPalette());
    QPalette subjectPalette = ui->subjectNameLineEdit->palette();
    subjectPalette.setColor(ui->subjectNameLineEdit->backgroundRole(), Qt::black);
    ui->subjectNameLineEdit->setPalette(subjectPalette);
    // A short name grows up to half again the form's size in a wide window; the padding covers the
    // line edit's frame and text margins.
    nameFitter =
        new FontFitter(ui->subjectNameLineEdit, 12, 1.5, [this] { return ui->subjectNameLineEdit->text(); });
    // The running total changes on every tick; an LCD that fills its own background spares
    // repainting the group box behind it each time.
    ui->timerlcdNumber->setAutoFillBackground(true);
}

RunDisplayDialog::~RunDisplayDialog() = default;

void RunDisplayDialog::ShowRaceView()
{
    show();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
    RebuildGatePanels();
    // Fill the new panels now rather than on the next tick.
    UpdateGatePanels();
}

void RunDisplayDialog::Update()
{
    const SequenceRun* engine = run();
    if (!isVisible() || !engine)
        return;
    const QString subject = engine->SubjectName();
    if (ui->subjectNameLineEdit->text() != subject) {
        ui->subjectNameLineEdit->setText(subject);
        nameFitter->Refit();
        // A name too long even for the smallest font shows its beginning, not its end.
        ui->subjectNameLineEdit->setCursorPosition(0);
    }
    const QString total = QString::number(engine->TotalTime(), 'f', 3);
    if (total != totalShown) {
        totalShown = total;
        ui->timerlcdNumber->display(total);
    }
    if (engine->CurrentGateIndex() != lastGateIndex) {
        RebuildGatePanels();
        lastGateIndex = engine->CurrentGateIndex();
    }
    UpdateGatePanels();
}

void RunDisplayDialog::PanelRange(int gateCount, int currentGateIndex, int& first, int& end)
{
    first = currentGateIndex <= 0 ? 1 : std::max(1, currentGateIndex - 2);
    end = std::min(gateCount, first + maxPanels);
}

// Re-assigns the panels rather than making new ones: a passage then costs a few texts, not the
// layout of freshly built widgets.
void RunDisplayDialog::RebuildGatePanels()
{
    if (!panelSlots[0])
        CreatePanelSlots();
    int first = 1;
    int end = 1;
    if (const SequenceRun* engine = run())
        PanelRange(engine->GateCount(), engine->CurrentGateIndex(), first, end);
    const int shown = std::max(0, end - first);
    for (int slot = 0; slot < maxPanels; ++slot) {
        RunDisplayGateWidget* panel = panelSlots[slot];
        if (slot < shown)
            panel->SetGateIndex(first + slot);
        panel->setVisible(slot < shown);
    }
    if (shown != panelsShown) {
        for (int slot = 0; slot < maxPanels; ++slot) {
            if (slot < shown)
                emptySlotSpacers[slot]->changeSize(0, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
            else
                emptySlotSpacers[slot]->changeSize(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum);
        }
        ui->otherGatesFrame->layout()->invalidate();
        panelsShown = shown;
    }
}

void RunDisplayDialog::CreatePanelSlots()
{
    DeleteLayoutAndWidgets(ui->otherGatesFrame);
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    // Panels as tall as their contents, level with the total, rather than columns of empty space.
    layout->setAlignment(Qt::AlignVCenter);
    for (RunDisplayGateWidget*& panel : panelSlots) {
        panel = new RunDisplayGateWidget;
        layout->addWidget(panel);
        panel->hide();
    }
    // Spacers after the panels, as wide as the unused slots need (all of them until a panel shows).
    for (QSpacerItem*& spacer : emptySlotSpacers) {
        spacer = new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum);
        layout->addItem(spacer);
    }
    panelsShown = 0;
    ui->otherGatesFrame->setLayout(layout);
}

void RunDisplayDialog::UpdateGatePanels()
{
    const SequenceRun* engine = run();
    if (!engine)
        return;
    for (RunDisplayGateWidget* panel : Panels()) {
        double time = 0.0;
        double best = 0.0;
        engine->GetGateTimes(static_cast<unsigned>(panel->GateIndex()), time, best);
        panel->SetTime(time);
        panel->SetBest(best);
        // Set, not cleared and set again: the awaited gate usually keeps its slot from one passage
        // to the next, and a palette change repaints the whole panel.
        if (panel->GateIndex() == engine->CurrentGateIndex())
            panel->Highlight();
        else
            panel->ClearHighlight();
    }
}

std::vector<RunDisplayGateWidget*> RunDisplayDialog::Panels() const
{
    return {panelSlots.begin(), panelSlots.begin() + panelsShown};
}

QString RunDisplayDialog::SubjectText() const
{
    return ui->subjectNameLineEdit->text();
}
