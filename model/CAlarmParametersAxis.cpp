#include "model/CAlarmParametersAxis.h"

#include "model/TesvanaSetter.h"

CAlarmParametersAxis::CAlarmParametersAxis(QObject* parent) : CAlarmParametersState(parent) {}

TESVANA_SETTER(CAlarmParametersAxis, CAxis::AxisType, Axis)
