#pragma once

#include "devices/SerialLinkUi.h"

#include <map>
#include <memory>

class SerialPortDialog;

// The application's side of the serial links: their warnings as message boxes, and one port dialog
// per link, made on first use and kept for the next. Must outlive the links' last use of it; the
// dialogs never touch their link on their own, so being destroyed after it is harmless.
class SerialLinkDialogs : public SerialLinkUi
{
public:
    SerialLinkDialogs();
    ~SerialLinkDialogs() override;
    SerialLinkDialogs(const SerialLinkDialogs&) = delete;
    SerialLinkDialogs& operator=(const SerialLinkDialogs&) = delete;

    void ShowLinkWarning(const QString& text) override;
    void ShowPortDialog(CSerialLink& link, const QString& title) override;

    // The link's dialog, or null before its first showing.
    SerialPortDialog* DialogOf(const CSerialLink& link) const;

private:
    std::map<const CSerialLink*, std::unique_ptr<SerialPortDialog>> dialogs;
};
