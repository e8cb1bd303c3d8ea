#include "platform/OperatorDialogs.h"

#include <QFileDialog>
#include <QInputDialog>

namespace platform {
namespace {

class QtDialogs : public OperatorDialogs
{
public:
    QMessageBox::StandardButton message(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        QMessageBox box(icon, title, text, buttons, parent);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse); // paths shown can be copied
        if (defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(defaultButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }

    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    }

    QString text(QWidget* parent, const QString& title, const QString& label, const QString& initial,
                 bool* ok) override
    {
        return QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, ok);
    }
};

QtDialogs qtDialogs;
OperatorDialogs* current = &qtDialogs;

} // namespace

OperatorDialogs& dialogs()
{
    return *current;
}

void setDialogs(OperatorDialogs* replacement)
{
    current = replacement ? replacement : &qtDialogs;
}

} // namespace platform
