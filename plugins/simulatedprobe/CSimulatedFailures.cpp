#include "plugins/simulatedprobe/CSimulatedFailures.h"

#include <QtGlobal>

namespace
{
int number(const char* name)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : 0;
}
} // namespace

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
