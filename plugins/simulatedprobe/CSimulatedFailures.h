#pragma once

// Failure switches of the simulated probe, all off by default, so that every
// failure path of the program can be driven without hardware. They are read from
// the environment each time they matter, so a test sets them just before the step
// it exercises:
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

    static CSimulatedFailures FromEnvironment();
};
