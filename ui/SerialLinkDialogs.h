#pragma once

#include "devices/SerialLinkUi.h"

// The application's side of the serial links: their warnings as message boxes.
class SerialLinkDialogs : public SerialLinkUi
{
public:
    void ShowLinkWarning(const QString& text) override;
    void ShowPortDialog(CSerialLink& link, const QString& title) override;
};
