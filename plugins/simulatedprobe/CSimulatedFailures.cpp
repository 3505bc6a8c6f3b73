#include "plugins/simulatedprobe/CSimulatedFailures.h"

#include <QtGlobal>

#include <mutex>

namespace
{
int number(const char* name)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : 0;
}

// Set by a test's thread, read by the probe's: under a lock.
std::mutex s_Lock;
bool s_Injected = false;
CSimulatedFailures s_Failures;
} // namespace

CSimulatedFailures CSimulatedFailures::Current()
{
    {
        const std::lock_guard<std::mutex> lock(s_Lock);
        if (s_Injected)
            return s_Failures;
    }
    return FromEnvironment();
}

void CSimulatedFailures::Inject(const CSimulatedFailures* failures)
{
    const std::lock_guard<std::mutex> lock(s_Lock);
    s_Injected = failures != nullptr;
    s_Failures = failures ? *failures : CSimulatedFailures();
}

void InjectSimulatedProbeFailures(const CSimulatedFailures* failures)
{
    CSimulatedFailures::Inject(failures);
}

CSimulatedFailures CSimulatedFailures::FromEnvironment()
{
    CSimulatedFailures failures;
    failures.refuseConnect = number("TESVANA_SIM_REFUSE_CONNECT") != 0;
    failures.loseAfterBlocks = number("TESVANA_SIM_LOSE_AFTER_BLOCKS");
    failures.vanishAfterMs = number("TESVANA_SIM_VANISH_AFTER_MS");
    failures.oldCalibration = number("TESVANA_SIM_OLD_CALIBRATION") != 0;
    failures.nanBlock = number("TESVANA_SIM_NAN_BLOCK");
    return failures;
}
