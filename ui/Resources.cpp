#include "ui/Resources.h"

#include <QtGlobal>

static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

void EnsureResources()
{
    static const bool done = (initResources(), true);
    Q_UNUSED(done);
}
