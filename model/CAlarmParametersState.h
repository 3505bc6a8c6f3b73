#pragma once

#include "model/CAlarm.h"

#include <QObject>

// Common part of every alarm: what it does when its limit is crossed.
class CAlarmParametersState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CAlarm::AlarmState State READ State WRITE setState NOTIFY StateChanged)
public:
    explicit CAlarmParametersState(QObject* parent = nullptr);

    CAlarm::AlarmState State() const { return m_State; }
    void setState(CAlarm::AlarmState value);

signals:
    void StateChanged(CAlarm::AlarmState value);

private:
    CAlarm::AlarmState m_State = CAlarm::AlarmState::Off;
};
