#pragma once

#include "instruments/CInstrumentPlugin.h"
#include "plugins/simulatedprobe/CSimulatedProbeProvider.h"

// Root object of the simulated probe driver.
class CSimulatedProbePlugin : public CInstrumentPlugin
{
public:
    CSimulatedProbePlugin();

    void Start() override;
    void Stop() override;
    CInstrumentListProvider* GetInstrumentListProvider() override;

private:
    CSimulatedProbeProvider m_Provider;
};
