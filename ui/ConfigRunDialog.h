#pragma once

#include "timing/GateSequence.h"

#include <QDialog>

#include <QModelIndex>
#include <QStringList>

#include <memory>

class QListWidgetItem;
class QMimeData;
class MainWindowOwner;

namespace Ui {
class ConfigRunDialog;
}

// The gate sequence editor: lists the saved sequences, edits one (name, distance, gates in order)
// and saves it as a ".run" file in the runs folder. Modeless; created once and shown again.
class ConfigRunDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConfigRunDialog(QWidget* parent = nullptr);
    ~ConfigRunDialog() override;
    ConfigRunDialog(const ConfigRunDialog&) = delete;
    ConfigRunDialog& operator=(const ConfigRunDialog&) = delete;

    void setController(MainWindowOwner* value) { controller = value; }

    void openEditor();
    void loadSequence(const QString& path);

    // True when every item the drag carries is one of the four gates.
    static bool carriesOnlyGates(const QMimeData* mime);

public Q_SLOTS:
    // The title bar's close: unsaved changes are saved, discarded or kept on asking.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape is the Close button's key: it also refreshes the main window's list.
    void keyPressEvent(QKeyEvent* event) override;

private Q_SLOTS:
    void on_newRunPushButton_clicked();
    void on_loadPushButton_clicked();
    void on_runListWidget_itemDoubleClicked(QListWidgetItem* item);
    void on_deleteRunPushButton_clicked();
    void on_runSavePushButton_clicked();
    void on_runAvailableGateListWidget_doubleClicked(const QModelIndex& index);
    void on_addPushButton_clicked();
    void on_removePushButton_clicked();
    void on_upPushButton_clicked();
    void on_downPushButton_clicked();
    void on_closePushButton_clicked();

private:
    void showSequence();
    void collectSequence();
    bool saveEditedSequence();
    QString saveRefusal() const;
    QStringList shownState() const;
    bool mayLeave();
    void fillSequenceList();
    void moveCurrentGate(int step);
    void keepDroppedGatesFlat(const QModelIndex& parent, int first, int last);
    void updateButtons();
    void warn(const QString& text);
    bool mayReplace(const QString& path);

    std::unique_ptr<Ui::ConfigRunDialog> ui;
    MainWindowOwner* controller = nullptr;
    GateSequence editedSequence;
    QString loadedPath; // the file editedSequence came from or was last saved to; empty for a new one
    QStringList savedState; // what the widgets showed when last loaded or saved
};
