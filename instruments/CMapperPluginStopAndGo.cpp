#include "instruments/CMapperPluginStopAndGo.h"

CMapperPluginStopAndGo::CMapperPluginStopAndGo(QObject* parent) : CMapperPlugin(StopAndGo, parent) {}

CMapperPluginStopAndGo* CMapperPluginStopAndGo::From(CMapperPlugin* plugin)
{
    if (!plugin || plugin->GetKind() != StopAndGo || !plugin->inherits("CMapperPluginStopAndGo"))
        return nullptr;
    return static_cast<CMapperPluginStopAndGo*>(plugin);
}
