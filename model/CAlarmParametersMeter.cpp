#include "model/CAlarmParametersMeter.h"

CAlarmParametersMeter::CAlarmParametersMeter(QObject* parent) : CAlarmParametersLimits(parent) {}
