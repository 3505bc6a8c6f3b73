#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>

// Holder of the alarm-state enumeration.
class CAlarm : public QObject
{
    Q_OBJECT
public:
    enum class AlarmState
    {
        Off = 1,
        Notification = 2,
        Audio = 3,
        FlagNotification = 4
    };
    Q_ENUM(AlarmState)

    explicit CAlarm(QObject* parent = nullptr);
};

Q_DECLARE_METATYPE(QList<CAlarm::AlarmState>)
