// The main window's side of what is kept between starts: subject choice, auto-advance, the chosen
// sequence and the geometries of the window and its dialogs.
#include "ui/SLMainWindow.h"

#include "ui/ConfigNameListDialog.h"
#include "ui/ConfigRunDialog.h"
#include "ui/RunDisplayDialog.h"
#include "ui_SLMainWindow.h"

int SLMainWindow::currentSubjectIndex() const
{
    return ui->subjectNameComboBox->currentIndex();
}

void SLMainWindow::setCurrentSubject(int index, const QString& text)
{
    QComboBox* box = ui->subjectNameComboBox;
    if (index >= 0 && index < box->count())
        box->setCurrentIndex(index);
    // A name typed but not in the list is kept as typed.
    if (box->currentText() != text)
        box->setEditText(text);
}

void SLMainWindow::setAutoAdvance(bool on)
{
    ui->autoAdvSubjectCheckBox->setChecked(on);
}

bool SLMainWindow::chooseSequence(const QString& path)
{
    const int index = ui->runComboBox->findData(path);
    if (index < 0 || runInProgress())
        return false;
    ui->runComboBox->setCurrentIndex(index);
    return true;
}

QHash<QString, QByteArray> SLMainWindow::windowGeometries() const
{
    QHash<QString, QByteArray> geometries = keptGeometries;
    const QWidget* const windows[] = {this, runDisplay, gateSequenceEditor, nameListEditor};
    for (const QWidget* window : windows) {
        if (window)
            geometries.insert(window->objectName(), window->saveGeometry());
    }
    return geometries;
}

void SLMainWindow::setKeptGeometries(const QHash<QString, QByteArray>& geometries)
{
    keptGeometries = geometries;
    restoreKeptGeometry(this);
}

void SLMainWindow::restoreKeptGeometry(QWidget* window)
{
    const auto kept = keptGeometries.constFind(window->objectName());
    if (kept != keptGeometries.cend())
        window->restoreGeometry(kept.value());
}
