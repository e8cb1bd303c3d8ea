#include "ui/SerialLinkDialogs.h"

#include "platform/OperatorDialogs.h"
#include "ui/SerialPortDialog.h"

SerialLinkDialogs::SerialLinkDialogs() = default;
SerialLinkDialogs::~SerialLinkDialogs() = default;

void SerialLinkDialogs::ShowLinkWarning(const QString& text)
{
    platform::dialogs().message(QMessageBox::Warning, nullptr, QString(), text);
}

void SerialLinkDialogs::ShowPortDialog(CSerialLink& link, const QString& title)
{
    std::unique_ptr<SerialPortDialog>& dialog = dialogs[&link];
    if (!dialog)
        dialog = std::make_unique<SerialPortDialog>(link);
    const bool alreadyShown = dialog->isVisible();
    dialog->GetDataFromComPort();
    dialog->show();
    dialog->setWindowTitle(title);
    if (alreadyShown) {
        // Possibly behind the main window by now.
        dialog->raise();
        dialog->activateWindow();
    }
}

SerialPortDialog* SerialLinkDialogs::DialogOf(const CSerialLink& link) const
{
    const auto it = dialogs.find(&link);
    return it == dialogs.end() ? nullptr : it->second.get();
}
