#include "model/CAlarmParametersMapping.h"

CAlarmParametersMapping::CAlarmParametersMapping(QObject* parent) : CAlarmParametersLimits(parent) {}
