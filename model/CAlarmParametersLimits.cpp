#include "model/CAlarmParametersLimits.h"

#include "model/TesvanaSetter.h"

CAlarmParametersLimits::CAlarmParametersLimits(QObject* parent) : CAlarmParametersAxis(parent) {}

TESVANA_SETTER(CAlarmParametersLimits, double, Minimum)
TESVANA_SETTER(CAlarmParametersLimits, double, Maximum)
TESVANA_SETTER(CAlarmParametersLimits, CUnits::UnitType, DisplayAlarmUnits)
