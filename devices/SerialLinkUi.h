#pragma once

#include <QString>

class CSerialLink;

// What a serial link asks of the person at the screen. The application provides it, so the link
// layer builds without Qt Widgets.
class SerialLinkUi
{
public:
    virtual ~SerialLinkUi() = default;

    // The link warning: no parent, empty title, one Ok button.
    virtual void ShowLinkWarning(const QString& text) = 0;

    // Shows the link's own port dialog, made on first use and kept for the next.
    virtual void ShowPortDialog(CSerialLink& link, const QString& title) = 0;
};
