#pragma once

#include "plugins/simulatedprobe/CSimulatedFailures.h"

#include <QLibrary>
#include <QString>

// The simulated probe's and stage's failures as a test sets them: typed, through the
// entry points of the plug-in libraries the program loaded (the environment variables
// are for manual runs). Back to none when it goes.
class SimulatedFailures
{
public:
    // `probe` and `stage`: the plug-in files the program loads (either may be empty).
    SimulatedFailures(const QString& probe, const QString& stage)
    {
        if (!probe.isEmpty())
            m_Probe = reinterpret_cast<ProbeSwitch>(QLibrary(probe).resolve("InjectSimulatedProbeFailures"));
        if (!stage.isEmpty())
            m_Stage = reinterpret_cast<StageSwitch>(QLibrary(stage).resolve("InjectSimulatedStageFailAfter"));
    }
    ~SimulatedFailures()
    {
        const CSimulatedFailures none;
        const int never = -1;
        if (m_Probe)
            m_Probe(&none);
        if (m_Stage)
            m_Stage(&never);
    }
    SimulatedFailures(const SimulatedFailures&) = delete;
    SimulatedFailures& operator=(const SimulatedFailures&) = delete;

    bool probeFound() const { return m_Probe != nullptr; }
    bool stageFound() const { return m_Stage != nullptr; }
    void probe(const CSimulatedFailures& failures) const { m_Probe(&failures); }
    void stageFailsAfter(int moves) const { m_Stage(&moves); }

private:
    using ProbeSwitch = void (*)(const CSimulatedFailures*);
    using StageSwitch = void (*)(const int*);
    ProbeSwitch m_Probe = nullptr;
    StageSwitch m_Stage = nullptr;
};
