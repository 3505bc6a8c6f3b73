#include "model/CAlarmParametersSpectrum.h"

CAlarmParametersSpectrum::CAlarmParametersSpectrum(QObject* parent) : CAlarmParametersState(parent) {}
