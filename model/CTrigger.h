#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

// Holder of the trigger-mode enumeration.
class CTrigger : public QObject
{
    Q_OBJECT
public:
    enum class TriggerMode
    {
        CONTINUOUS = 1,
        IMMEDIATE = 2,
        TIMER = 3,
        EXTERNAL = 4
    };
    Q_ENUM(TriggerMode)

    explicit CTrigger(QObject* parent = nullptr);
};

Q_DECLARE_METATYPE(QList<CTrigger::TriggerMode>)

QString CTriggerToQString(CTrigger::TriggerMode mode);
CTrigger::TriggerMode QStringToCTrigger(const QString& text);
