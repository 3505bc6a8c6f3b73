#include "model/CReplayParameters.h"

#include "model/TesvanaSetter.h"

CReplayParameters::CReplayParameters(QObject* parent) : QObject(parent) {}

TESVANA_SETTER(CReplayParameters, int, SelectedTimeWarpIndex)
TESVANA_SETTER(CReplayParameters, double, TimeWarp)
TESVANA_SETTER(CReplayParameters, int, StartingBlock)
TESVANA_SETTER(CReplayParameters, int, CurrentBlock)
TESVANA_SETTER(CReplayParameters, int, EndingBlock)
TESVANA_SETTER(CReplayParameters, bool, StepByStepMode)
