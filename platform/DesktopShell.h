#pragma once

#include <QString>

namespace platform {

// Opens a folder or file with the desktop's default handler.
class DesktopShell
{
public:
    virtual ~DesktopShell() = default;
    // False when the desktop could not hand it to a program.
    virtual bool open(const QString& path) = 0;
};

DesktopShell& shell();
// Installs a replacement (not owned); nullptr restores the desktop's handler.
void setShell(DesktopShell* replacement);

} // namespace platform
