#include "platform/DataFolder.h"

#include <QStandardPaths>

namespace platform {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString dataPath(const QString& backslashSuffix)
{
    QString suffix = backslashSuffix;
    suffix.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return dataFolder() + suffix;
}

} // namespace platform
