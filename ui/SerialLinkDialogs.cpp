#include "ui/SerialLinkDialogs.h"

#include "platform/OperatorDialogs.h"

void SerialLinkDialogs::ShowLinkWarning(const QString& text)
{
    platform::dialogs().message(QMessageBox::Warning, nullptr, QString(), text);
}

void SerialLinkDialogs::ShowPortDialog(CSerialLink& link, const QString& title)
{
    // No port dialog in this build yet: the link keeps the settings it was given.
    Q_UNUSED(link);
    Q_UNUSED(title);
}
