#include "platform/design_resources.h"

#include <QtGlobal>

void initDesignResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(design);
        return true;
    }();
    Q_UNUSED(registered);
}
