#include "plugins/clickfire/CClickfire.h"

extern "C" __attribute__((visibility("default"))) CTriggerPlugin* CreateTriggerPlugin()
{
    return new CClickfire();
}
