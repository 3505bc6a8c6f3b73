#include "instruments/CMapperPlugin.h"

#include "instruments/CMapperPluginOnTheFly.h"
#include "instruments/CMapperPluginStopAndGo.h"

CMapperPlugin::CMapperPlugin(int kind, QObject* parent) : CPlugin(parent), m_Kind(kind) {}

CMapperPluginStopAndGo* CMapperPlugin::AsStopAndGo(CMapperPlugin* plugin)
{
    if (!plugin || plugin->m_Kind != StopAndGo || !plugin->inherits("CMapperPluginStopAndGo"))
        return nullptr;
    return static_cast<CMapperPluginStopAndGo*>(plugin);
}

CMapperPluginOnTheFly* CMapperPlugin::AsOnTheFly(CMapperPlugin* plugin)
{
    if (!plugin || plugin->m_Kind != OnTheFly || !plugin->inherits("CMapperPluginOnTheFly"))
        return nullptr;
    return static_cast<CMapperPluginOnTheFly*>(plugin);
}
