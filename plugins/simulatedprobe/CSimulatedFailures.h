#pragma once

// Failure switches of the simulated probe, all off by default, so that every
// failure path of the program can be driven without hardware. They are read each
// time they matter, so a test sets them just before the step it exercises: tests
// through the typed entry point InjectSimulatedProbeFailures of the loaded plug-in,
// manual runs through the environment:
//   TESVANA_SIM_REFUSE_CONNECT=1     connecting fails
//   TESVANA_SIM_LOSE_AFTER_BLOCKS=N  after N blocks of a run the probe delivers no more
//                                    and leaves the instrument list (lost mid-acquisition)
//   TESVANA_SIM_VANISH_AFTER_MS=N    the probe leaves the instrument list N ms after it appeared
//   TESVANA_SIM_OLD_CALIBRATION=1    the calibration date is more than a year old
//   TESVANA_SIM_NAN_BLOCK=K          the K-th block of each run carries NaN samples
struct CSimulatedFailures
{
    bool refuseConnect = false;
    int loseAfterBlocks = 0;
    int vanishAfterMs = 0;
    bool oldCalibration = false;
    int nanBlock = 0;

    // The failures in force: those injected, else the environment's.
    static CSimulatedFailures Current();
    // From now on `failures` (copied); null goes back to the environment.
    static void Inject(const CSimulatedFailures* failures);
    static CSimulatedFailures FromEnvironment();
};

// The plug-in's typed failure switch, resolved by name in the loaded library (Inject).
extern "C" __attribute__((visibility("default"))) void
InjectSimulatedProbeFailures(const CSimulatedFailures* failures);
