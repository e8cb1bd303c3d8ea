#include "ui/ConfigNameListDialog.h"

#include "platform/OperatorDialogs.h"
#include "subjects/NameListFile.h"
#include "ui/MainWindowOwner.h"
#include "ui_ConfigNameListDialog.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>

namespace {

const char* const NameFileFilter = QT_TRANSLATE_NOOP("ConfigNameListDialog", "Text (*.txt *.csv)");

} // namespace

ConfigNameListDialog::ConfigNameListDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::ConfigNameListDialog)
{
    ui->setupUi(this);
    // Enter ends an edit in place; it must not also press a button.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    ui->nameListWidget->viewport()->installEventFilter(this);
    connect(ui->nameListWidget, &QListWidget::currentRowChanged, this, &ConfigNameListDialog::updateButtons);
    updateButtons();
}

ConfigNameListDialog::~ConfigNameListDialog() = default;

void ConfigNameListDialog::openEditor()
{
    show();
    raise();
    activateWindow();
    loadNames();
}

void ConfigNameListDialog::loadNames()
{
    ui->nameListWidget->clear();
    if (controller) {
        for (const QString& name : controller->SubjectNames())
            appendName(name);
    }
    updateButtons();
}

void ConfigNameListDialog::appendName(const QString& name)
{
    auto* item = new QListWidgetItem(name);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable); // editable only once Edit starts an edit
    ui->nameListWidget->addItem(item);
}

void ConfigNameListDialog::editItem(QListWidgetItem* item)
{
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    ui->nameListWidget->editItem(item);
}

// The new name is selected and opened for typing, so that Edit afterwards means it too.
void ConfigNameListDialog::on_newPushButton_clicked()
{
    appendName(tr("New subject"));
    QListWidgetItem* item = ui->nameListWidget->item(ui->nameListWidget->count() - 1);
    ui->nameListWidget->setCurrentItem(item);
    editItem(item);
}

void ConfigNameListDialog::on_editPushButton_clicked()
{
    if (QListWidgetItem* item = ui->nameListWidget->currentItem())
        editItem(item);
}

void ConfigNameListDialog::on_nameListWidget_itemDoubleClicked(QListWidgetItem* item)
{
    if (item)
        editItem(item);
}

void ConfigNameListDialog::on_deletePushButton_clicked()
{
    delete ui->nameListWidget->currentItem();
    updateButtons();
}

void ConfigNameListDialog::on_upPushButton_clicked()
{
    moveCurrentName(-1);
}

void ConfigNameListDialog::on_downPushButton_clicked()
{
    moveCurrentName(+1);
}

void ConfigNameListDialog::moveCurrentName(int step)
{
    QListWidget* list = ui->nameListWidget;
    const int row = list->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list->count())
        return;
    list->insertItem(target, list->takeItem(row));
    list->setCurrentRow(target);
}

void ConfigNameListDialog::on_importListPushButton_clicked()
{
    const QString path = platform::dialogs().openFileName(this, tr("Select file containing list of names"),
                                                          QString(), tr(NameFileFilter));
    if (path.isEmpty())
        return;
    const NameListRead read = readNameListFile(path);
    if (!read.error.isEmpty()) {
        warn(nameListReadFailedText(path, read.error));
        return;
    }
    for (const QString& name : read.text.lines)
        appendName(name);
    const QString note = nameListImportNoteText(path, read.text);
    if (!note.isEmpty())
        warn(note);
}

void ConfigNameListDialog::on_exportNamesListPushButton_clicked()
{
    const QString chosen = platform::dialogs().saveFileName(this, tr("Select filename to save list of names"),
                                                            QString(), tr(NameFileFilter));
    if (chosen.isEmpty())
        return;
    const QString path = withTextSuffix(chosen);
    // The file dialog asked about the file chosen, not about the one the ".txt" rule makes of it.
    if (path != chosen && QFileInfo::exists(path)) {
        const auto answer = platform::dialogs().message(
            QMessageBox::Question, this, tr("Export list"),
            tr("\"%1\" already exists. Do you want to replace it?").arg(QDir::toNativeSeparators(path)),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    const QString error = writeNameListFile(path, workingNames());
    if (!error.isEmpty())
        warn(nameListWriteFailedText(path, error));
}

void ConfigNameListDialog::on_closePushButton_clicked()
{
    if (controller)
        controller->SetSubjectNames(workingNames());
    close();
}

void ConfigNameListDialog::on_cancelPushButton_clicked()
{
    close();
}

QStringList ConfigNameListDialog::workingNames() const
{
    QStringList names;
    for (int row = 0; row < ui->nameListWidget->count(); ++row)
        names << ui->nameListWidget->item(row)->text();
    return names;
}

// Names are reordered by dragging inside the list; a drag from another view of this program (a
// gate of the sequence editor) would be moved out of it, so it is refused.
bool ConfigNameListDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->source() && drop->source() != ui->nameListWidget) {
            drop->ignore();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ConfigNameListDialog::updateButtons()
{
    const bool chosen = ui->nameListWidget->currentItem() != nullptr;
    ui->editPushButton->setEnabled(chosen);
    ui->deletePushButton->setEnabled(chosen);
    ui->upPushButton->setEnabled(chosen);
    ui->downPushButton->setEnabled(chosen);
}

void ConfigNameListDialog::warn(const QString& text)
{
    platform::dialogs().message(QMessageBox::Warning, this, tr("Configure Name List"), text);
}
