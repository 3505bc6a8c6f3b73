#include "instruments/CMapperPluginOnTheFly.h"

CMapperPluginOnTheFly::CMapperPluginOnTheFly(QObject* parent) : CMapperPlugin(OnTheFly, parent) {}
