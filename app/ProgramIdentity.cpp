#include "app/ProgramIdentity.h"

#include <QCoreApplication>

namespace programidentity {

void Apply()
{
    QCoreApplication::setOrganizationName(Organisation);
    QCoreApplication::setApplicationName(Application);
    QCoreApplication::setApplicationVersion(Version);
}

} // namespace programidentity
