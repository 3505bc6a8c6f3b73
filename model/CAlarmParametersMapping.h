#pragma once

#include "model/CAlarmParametersLimits.h"

// Alarm of the mapping page.
class CAlarmParametersMapping : public CAlarmParametersLimits
{
    Q_OBJECT
public:
    explicit CAlarmParametersMapping(QObject* parent = nullptr);
};
