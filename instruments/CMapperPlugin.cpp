#include "instruments/CMapperPlugin.h"

CMapperPlugin::CMapperPlugin(int kind, QObject* parent) : CPlugin(parent), m_Kind(kind) {}
