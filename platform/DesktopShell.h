#pragma once

#include <QString>

namespace platform {

// Opens a folder or file with the desktop's default handler. The result is not reported.
class DesktopShell
{
public:
    virtual ~DesktopShell() = default;
    virtual void open(const QString& path) = 0;
};

DesktopShell& shell();
// Installs a replacement (not owned); nullptr restores the desktop's handler.
void setShell(DesktopShell* replacement);

} // namespace platform
