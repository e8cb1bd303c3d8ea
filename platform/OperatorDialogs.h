#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace platform {

// Every question or message put to the operator goes through here, so tests can answer without a
// person. The real implementation runs the modal Qt dialogs.
class OperatorDialogs
{
public:
    virtual ~OperatorDialogs() = default;

    // A modal message box; returns the button pressed.
    virtual QMessageBox::StandardButton
    message(QMessageBox::Icon icon, QWidget* parent, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) = 0;

    // Empty result: cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;

    // *ok is false when cancelled.
    virtual QString text(QWidget* parent, const QString& title, const QString& label, const QString& initial,
                         bool* ok) = 0;
};

OperatorDialogs& dialogs();
// Installs a replacement (not owned); nullptr restores the real dialogs.
void setDialogs(OperatorDialogs* replacement);

} // namespace platform
