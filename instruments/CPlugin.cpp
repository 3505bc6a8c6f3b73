#include "instruments/CPlugin.h"

CPlugin::CPlugin(QObject* parent) : QObject(parent) {}

CPlugin::~CPlugin() = default;
