#pragma once

#include <QDialog>

#include <memory>

class QListWidgetItem;
class MainWindowOwner;

namespace Ui {
class ConfigNameListDialog;
}

// The name list editor: edits a working copy of the subject list, which replaces the list only
// when the operator leaves with Close. Modeless; created once and shown again.
class ConfigNameListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConfigNameListDialog(QWidget* parent = nullptr);
    ~ConfigNameListDialog() override;
    ConfigNameListDialog(const ConfigNameListDialog&) = delete;
    ConfigNameListDialog& operator=(const ConfigNameListDialog&) = delete;

    void setController(MainWindowOwner* value) { controller = value; }

    void openEditor();
    void loadNames();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void on_newPushButton_clicked();
    void on_editPushButton_clicked();
    void on_nameListWidget_itemDoubleClicked(QListWidgetItem* item);
    void on_deletePushButton_clicked();
    void on_upPushButton_clicked();
    void on_downPushButton_clicked();
    void on_importListPushButton_clicked();
    void on_exportNamesListPushButton_clicked();
    void on_closePushButton_clicked();
    void on_cancelPushButton_clicked();

private:
    void appendName(const QString& name);
    void editItem(QListWidgetItem* item);
    void moveCurrentName(int step);
    QStringList workingNames() const;
    void updateButtons();
    void warn(const QString& text);

    std::unique_ptr<Ui::ConfigNameListDialog> ui;
    MainWindowOwner* controller = nullptr;
};
