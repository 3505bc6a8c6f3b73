#include "instruments/CMapperPluginStopAndGo.h"

CMapperPluginStopAndGo::CMapperPluginStopAndGo(QObject* parent) : CMapperPlugin(StopAndGo, parent) {}
