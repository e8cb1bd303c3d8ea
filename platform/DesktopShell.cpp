#include "platform/DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {
namespace {

class QtShell : public DesktopShell
{
public:
    bool open(const QString& path) override { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
};

QtShell qtShell;
DesktopShell* current = &qtShell;

} // namespace

DesktopShell& shell()
{
    return *current;
}

void setShell(DesktopShell* replacement)
{
    current = replacement ? replacement : &qtShell;
}

} // namespace platform
