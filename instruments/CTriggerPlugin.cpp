#include "instruments/CTriggerPlugin.h"

CTriggerPlugin::CTriggerPlugin(QObject* parent) : CPlugin(parent) {}
