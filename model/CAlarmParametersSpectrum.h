#pragma once

#include "model/CAlarmParametersState.h"

// Alarm of the spectrum page; its limits come from the limits file.
class CAlarmParametersSpectrum : public CAlarmParametersState
{
    Q_OBJECT
public:
    explicit CAlarmParametersSpectrum(QObject* parent = nullptr);
};
