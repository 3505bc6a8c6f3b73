#include "model/CAlarmParametersAcAnalysis.h"

CAlarmParametersAcAnalysis::CAlarmParametersAcAnalysis(QObject* parent) : CAlarmParametersAxis(parent) {}
