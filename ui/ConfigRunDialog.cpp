#include "ui/ConfigRunDialog.h"

#include "common/Trace.h"
#include "platform/OperatorDialogs.h"
#include "timing/FileNameCheck.h"
#include "timing/SequenceListing.h"
#include "ui/DistanceText.h"
#include "ui/GateListWidget.h"
#include "ui/MainWindowOwner.h"
#include "ui/SLMainWindow.h"
#include "ui_ConfigRunDialog.h"

#include <QDataStream>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QTreeWidgetItem>

#include <optional>

namespace {

const QString ItemListMimeType = QStringLiteral("application/x-qabstractitemmodeldatalist");

// Whole milliseconds within the range a sequence may hold; none for anything else.
std::optional<int> holdOffFromText(const QString& text)
{
    bool isNumber = false;
    const int ms = text.trimmed().toInt(&isNumber);
    if (!isNumber || ms < 0 || ms > GateSequence::MaxHoldOffMs)
        return std::nullopt;
    return ms;
}

} // namespace

ConfigRunDialog::ConfigRunDialog(QWidget* parent) : QDialog(parent), ui(new Ui::ConfigRunDialog)
{
    ui->setupUi(this);
    // Enter in the name or distance field must not press Delete or another button by accident.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    ui->runAvailableGateListWidget->viewport()->installEventFilter(this);
    ui->runGateSequenceTreeWidget->viewport()->installEventFilter(this);
    connect(ui->runGateSequenceTreeWidget->model(), &QAbstractItemModel::rowsInserted, this,
            &ConfigRunDialog::keepDroppedGatesFlat);
    connect(ui->runListWidget, &QListWidget::currentRowChanged, this, &ConfigRunDialog::updateButtons);
    connect(ui->runAvailableGateListWidget, &QListWidget::currentRowChanged, this,
            &ConfigRunDialog::updateButtons);
    connect(ui->runGateSequenceTreeWidget, &QTreeWidget::currentItemChanged, this,
            &ConfigRunDialog::updateButtons);
    editedSequence.Clear();
    updateButtons();
}

ConfigRunDialog::~ConfigRunDialog() = default;

void ConfigRunDialog::openEditor()
{
    ui->runAvailableGateListWidget->fillGates();
    editedSequence.Clear();
    loadedPath.clear();
    showSequence();
    fillSequenceList();
    show();
    raise();
    activateWindow();
}

void ConfigRunDialog::loadSequence(const QString& path)
{
    if (editedSequence.Load(path)) {
        loadedPath = path;
        showSequence();
    }
}

void ConfigRunDialog::showSequence()
{
    ui->runGateSequenceTreeWidget->clear();
    ui->runNameLineEdit->setText(editedSequence.Name());
    ui->distanceLineEdit->setText(QString::number(editedSequence.TotalDistance(), 'g', 6));
    ui->holdOffLineEdit->setText(QString::number(editedSequence.HoldOffMs()));
    for (int position = 0; position < editedSequence.GateCount(); ++position) {
        const int gate = editedSequence.GateNumberAt(static_cast<unsigned>(position)).value_or(0);
        ui->runGateSequenceTreeWidget->addTopLevelItem(
            GateListWidget::makeSequenceItem(static_cast<unsigned>(gate)));
    }
    savedState = shownState();
    updateButtons();
}

void ConfigRunDialog::collectSequence()
{
    const QString name = ui->runNameLineEdit->text();
    editedSequence.Clear();
    editedSequence.SetTotalDistance(
        ParseDistanceMetres(ui->distanceLineEdit->text(), QLocale()).value_or(0.0));
    editedSequence.SetName(name);
    editedSequence.SetHoldOffMs(
        holdOffFromText(ui->holdOffLineEdit->text()).value_or(GateSequence::DefaultHoldOffMs));
    QTreeWidget* tree = ui->runGateSequenceTreeWidget;
    for (int position = 0; position < tree->topLevelItemCount(); ++position) {
        const unsigned gate = tree->topLevelItem(position)->data(0, Qt::UserRole).toUInt();
        editedSequence.InsertGate(static_cast<unsigned>(position), static_cast<int>(gate));
    }
}

void ConfigRunDialog::fillSequenceList()
{
    ui->runListWidget->clear();
    if (!controller)
        return;
    for (const ListedSequence& sequence : ListSequences(controller->RunsFolder())) {
        auto* item = new QListWidgetItem(sequence.name);
        item->setData(Qt::UserRole, sequence.path);
        ui->runListWidget->addItem(item);
    }
    updateButtons();
}

void ConfigRunDialog::on_newRunPushButton_clicked()
{
    editedSequence.Clear();
    loadedPath.clear();
    showSequence();
}

void ConfigRunDialog::on_loadPushButton_clicked()
{
    if (QListWidgetItem* item = ui->runListWidget->currentItem())
        loadSequence(item->data(Qt::UserRole).toString());
}

void ConfigRunDialog::on_runListWidget_itemDoubleClicked(QListWidgetItem* item)
{
    if (item)
        loadSequence(item->data(Qt::UserRole).toString());
}

void ConfigRunDialog::on_deleteRunPushButton_clicked()
{
    QListWidgetItem* item = ui->runListWidget->currentItem();
    if (!item)
        return;
    const QString path = item->data(Qt::UserRole).toString();
    const auto answer =
        platform::dialogs().message(QMessageBox::Question, this, tr("Confirm delete"),
                                    tr("Are you sure you wish to delete the selected gate sequence ?"),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    QFile::remove(path); // a file already gone ends like a removed one
    fillSequenceList();
}

void ConfigRunDialog::on_runSavePushButton_clicked()
{
    saveEditedSequence();
}

// A sequence that cannot time a run, or a distance that is not one, is not written at all.
QString ConfigRunDialog::saveRefusal() const
{
    const QString nameProblem = fileNameProblem(ui->runNameLineEdit->text());
    if (!nameProblem.isEmpty())
        return nameProblem;
    const QLocale locale;
    if (!ParseDistanceMetres(ui->distanceLineEdit->text(), locale))
        return tr("\"%1\" must be a number of metres from 0 to %2, such as 30 or %3.")
            .arg(ui->label_2->text(), locale.toString(MaxDistanceMetres, 'f', 0), locale.toString(12.5));
    if (!holdOffFromText(ui->holdOffLineEdit->text()))
        return tr("\"Hold-off (ms)\" must be a whole number of milliseconds from 0 to %1.")
            .arg(GateSequence::MaxHoldOffMs);
    if (ui->runGateSequenceTreeWidget->topLevelItemCount() < 2)
        return tr("A gate sequence needs at least two gates: the start and the finish.");
    return QString();
}

bool ConfigRunDialog::saveEditedSequence()
{
    qCDebug(swiftlaneTrace, "Save Button");
    const QString refusal = saveRefusal();
    if (!refusal.isEmpty()) {
        warn(tr("The gate sequence was not saved. ") + refusal);
        return false;
    }
    collectSequence();
    const QString folder = controller ? controller->RunsFolder() : QString();
    const QString path = folder + editedSequence.Name() + QStringLiteral(".run");
    qCDebug(swiftlaneTrace, "Saving Run as %s", qUtf8Printable(path));
    if (!mayReplace(path))
        return false;
    QDir().mkpath(folder); // the folder may have been removed since start-up
    QString error;
    const bool saved = editedSequence.Save(path, &error);
    if (saved) {
        qCDebug(swiftlaneTrace, "Run Saved :%s", qUtf8Printable(path));
        loadedPath = path;
        savedState = shownState();
    } else {
        qCDebug(swiftlaneTrace, "Run save failed :%s", qUtf8Printable(path));
        warn(tr("The gate sequence could not be saved to \"%1\": %2.")
                 .arg(QDir::toNativeSeparators(path), error));
    }
    fillSequenceList();
    return saved;
}

// Saving the sequence that was loaded (or last saved) under its own name replaces it as the
// operator means to; any other existing sequence of that name is replaced only when confirmed.
bool ConfigRunDialog::mayReplace(const QString& path)
{
    if (!QFileInfo(path).isFile() || QFileInfo(path) == QFileInfo(loadedPath))
        return true;
    const auto answer = platform::dialogs().message(
        QMessageBox::Question, this, tr("Confirm replace"),
        tr("A gate sequence named \"%1\" already exists. Do you want to replace it?")
            .arg(editedSequence.Name()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void ConfigRunDialog::on_runAvailableGateListWidget_doubleClicked(const QModelIndex& index)
{
    Q_UNUSED(index); // the gate added is the current one, as with the Add button
    on_addPushButton_clicked();
}

void ConfigRunDialog::on_addPushButton_clicked()
{
    QListWidgetItem* gateItem = ui->runAvailableGateListWidget->currentItem();
    if (!gateItem)
        return;
    QTreeWidgetItem* item = GateListWidget::makeSequenceItem(gateItem->data(Qt::UserRole).toUInt());
    QTreeWidget* tree = ui->runGateSequenceTreeWidget;
    QTreeWidgetItem* current = tree->currentItem();
    const int target = current ? tree->indexOfTopLevelItem(current) : -1;
    qCDebug(swiftlaneTrace, "TargetIDX:%d", target);
    // The current gate stays current, so gates added in a row each land right after it.
    if (target < 0)
        tree->addTopLevelItem(item);
    else
        tree->insertTopLevelItem(target + 1, item);
    updateButtons();
}

void ConfigRunDialog::on_removePushButton_clicked()
{
    delete ui->runGateSequenceTreeWidget->currentItem();
    updateButtons();
}

void ConfigRunDialog::on_upPushButton_clicked()
{
    moveCurrentGate(-1);
}

void ConfigRunDialog::on_downPushButton_clicked()
{
    moveCurrentGate(+1);
}

void ConfigRunDialog::moveCurrentGate(int step)
{
    QTreeWidget* tree = ui->runGateSequenceTreeWidget;
    QTreeWidgetItem* current = tree->currentItem();
    const int row = current ? tree->indexOfTopLevelItem(current) : -1;
    const int target = row + step;
    if (row < 0 || target < 0 || target >= tree->topLevelItemCount())
        return;
    tree->insertTopLevelItem(target, tree->takeTopLevelItem(row));
    tree->setCurrentItem(current);
}

void ConfigRunDialog::on_closePushButton_clicked()
{
    if (!mayLeave())
        return;
    if (auto* window = qobject_cast<SLMainWindow*>(parentWidget()))
        window->refreshRunList();
    QDialog::reject(); // asked already
}

void ConfigRunDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        ui->closePushButton->click();
    else
        QDialog::keyPressEvent(event);
}

void ConfigRunDialog::reject()
{
    if (mayLeave())
        QDialog::reject();
}

bool ConfigRunDialog::mayLeave()
{
    if (shownState() == savedState)
        return true;
    const auto answer = platform::dialogs().message(
        QMessageBox::Question, this, tr("Setup gate sequences"),
        tr("The gate sequence \"%1\" has changes that are not saved. Save them?")
            .arg(ui->runNameLineEdit->text()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveEditedSequence(); // a refused or failed save keeps the editor open
    return answer == QMessageBox::Discard;
}

// Name, distance and gates as shown, to tell whether anything changed since the last load or save.
QStringList ConfigRunDialog::shownState() const
{
    QStringList state{ui->runNameLineEdit->text(), ui->distanceLineEdit->text(), ui->holdOffLineEdit->text()};
    QTreeWidget* tree = ui->runGateSequenceTreeWidget;
    for (int position = 0; position < tree->topLevelItemCount(); ++position)
        state << tree->topLevelItem(position)->data(0, Qt::UserRole).toString();
    return state;
}

bool ConfigRunDialog::carriesOnlyGates(const QMimeData* mime)
{
    if (!mime || !mime->hasFormat(ItemListMimeType))
        return false;
    QByteArray encoded = mime->data(ItemListMimeType);
    QDataStream stream(&encoded, QIODevice::ReadOnly);
    bool any = false;
    while (!stream.atEnd()) {
        int row = 0;
        int column = 0;
        QMap<int, QVariant> roles;
        stream >> row >> column >> roles;
        bool isNumber = false;
        const unsigned gate = roles.value(Qt::UserRole).toUInt(&isNumber);
        if (stream.status() != QDataStream::Ok || !isNumber || gate >= GateListWidget::GateCount)
            return false;
        any = true;
    }
    return any;
}

// Only gates may be dropped on the palette or the sequence: a name dragged over from the name
// list would otherwise become a "gate" and be moved out of that list.
bool ConfigRunDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!carriesOnlyGates(drop->mimeData())) {
            drop->ignore();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Items made by a drop come with the default flags; give them the flags of every sequence gate.
void ConfigRunDialog::keepDroppedGatesFlat(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    QTreeWidget* tree = ui->runGateSequenceTreeWidget;
    for (int row = first; row <= last; ++row) {
        if (QTreeWidgetItem* item = tree->topLevelItem(row))
            item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);
    }
}

void ConfigRunDialog::updateButtons()
{
    const bool runChosen = ui->runListWidget->currentItem() != nullptr;
    const bool gateChosen = ui->runGateSequenceTreeWidget->currentItem() != nullptr;
    ui->deleteRunPushButton->setEnabled(runChosen);
    ui->loadPushButton->setEnabled(runChosen);
    ui->addPushButton->setEnabled(ui->runAvailableGateListWidget->currentItem() != nullptr);
    ui->removePushButton->setEnabled(gateChosen);
    ui->upPushButton->setEnabled(gateChosen);
    ui->downPushButton->setEnabled(gateChosen);
}

void ConfigRunDialog::warn(const QString& text)
{
    platform::dialogs().message(QMessageBox::Warning, this, tr("Setup gate sequences"), text);
}
