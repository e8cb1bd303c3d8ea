// The configuration file: one empty controller section, read at start and written at every end.
#include "app/SLMain.h"

#include "archive/QXmlArchive.h"
#include "platform/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

QString SLMain::ConfigPath()
{
    return platform::dataPath(QStringLiteral("\\Swiftlane.cfg"));
}

void SLMain::SaveConfig()
{
    // Opening anything else could block the end of the program for good (a named pipe waits for a reader).
    const QFileInfo target(ConfigPath());
    if (target.exists() && !target.isFile()) {
        qWarning("The configuration is not saved: %s is not a regular file",
                 qPrintable(QDir::toNativeSeparators(ConfigPath())));
        return;
    }
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
