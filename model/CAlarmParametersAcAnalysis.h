#pragma once

#include "model/CAlarmParametersAxis.h"

// Alarm of the AC analysis page; its limits come from the limits file.
class CAlarmParametersAcAnalysis : public CAlarmParametersAxis
{
    Q_OBJECT
public:
    explicit CAlarmParametersAcAnalysis(QObject* parent = nullptr);
};
