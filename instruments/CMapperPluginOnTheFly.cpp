#include "instruments/CMapperPluginOnTheFly.h"

CMapperPluginOnTheFly::CMapperPluginOnTheFly(QObject* parent) : CMapperPlugin(OnTheFly, parent) {}

CMapperPluginOnTheFly* CMapperPluginOnTheFly::From(CMapperPlugin* plugin)
{
    if (!plugin || plugin->GetKind() != OnTheFly || !plugin->inherits("CMapperPluginOnTheFly"))
        return nullptr;
    return static_cast<CMapperPluginOnTheFly*>(plugin);
}
