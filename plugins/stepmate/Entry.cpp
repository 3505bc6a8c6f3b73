#include "plugins/stepmate/CStepmate.h"

extern "C" __attribute__((visibility("default"))) CMapperPlugin* CreateMapperPlugin()
{
    return new CStepmate();
}
