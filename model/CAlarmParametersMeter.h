#pragma once

#include "model/CAlarmParametersLimits.h"

// Alarm of the meter page.
class CAlarmParametersMeter : public CAlarmParametersLimits
{
    Q_OBJECT
public:
    explicit CAlarmParametersMeter(QObject* parent = nullptr);
};
