#include "plugins/simulatedprobe/CSimulatedProbePlugin.h"

#include "app/LogCategories.h"
#include "model/CMetaTypes.h"

#include <QDebug>

CSimulatedProbePlugin::CSimulatedProbePlugin() {}

void CSimulatedProbePlugin::Start()
{
    qCDebug(lcInstruments) << "Simulated probe driver started";
    m_Provider.Announce();
}

void CSimulatedProbePlugin::Stop()
{
    qCDebug(lcInstruments) << "Simulated probe driver stopped";
    m_Provider.Shutdown();
}

CInstrumentListProvider* CSimulatedProbePlugin::GetInstrumentListProvider()
{
    return &m_Provider;
}

extern "C" __attribute__((visibility("default"))) CInstrumentPlugin* CreateInstrumentPlugin()
{
    CMetaTypes::Register();
    return new CSimulatedProbePlugin();
}
