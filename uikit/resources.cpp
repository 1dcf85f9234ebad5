#include "resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must stand outside any namespace.
void initVorkleResources() {
    Q_INIT_RESOURCE(resources);
}
