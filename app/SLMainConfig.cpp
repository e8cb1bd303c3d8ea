// The configuration file: one empty controller section, read at start and written at every end.
#include "app/SLMain.h"

#include "archive/QXmlArchive.h"
#include "platform/DataFolder.h"

QString SLMain::ConfigPath()
{
    return platform::dataPath(QStringLiteral("\\Swiftlane.cfg"));
}

void SLMain::SaveConfig()
{
    QXmlArchive archive;
    archive.NewDocument();
    if (archive.AddSection("SLMain"))
        archive.LeaveSection();
    archive.SaveFile(ConfigPath());
}

void SLMain::LoadConfig()
{
    QXmlArchive archive;
    if (archive.LoadFile(ConfigPath()) && archive.GetSection("SLMain"))
        archive.LeaveSection();
}
