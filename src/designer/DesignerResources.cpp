#include "DesignerResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares its function in the enclosing namespace: it must be the global one.
static void InitIcons() {
    Q_INIT_RESOURCE(icons);
}

void InitDesignerResources() {
    static const bool done = (InitIcons(), true);
    Q_UNUSED(done);
}
