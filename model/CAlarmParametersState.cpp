#include "model/CAlarmParametersState.h"

#include "model/TesvanaSetter.h"

CAlarmParametersState::CAlarmParametersState(QObject* parent) : QObject(parent) {}

TESVANA_SETTER(CAlarmParametersState, CAlarm::AlarmState, State)
