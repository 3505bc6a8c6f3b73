#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>

// Holder of the enumeration of watched field quantities.
class CAxis : public QObject
{
    Q_OBJECT
public:
    enum class AxisType
    {
        B = 1,
        BBprime = 2,
        Bx = 3,
        By = 4,
        Bz = 5,
        dB = 6
    };
    Q_ENUM(AxisType)

    explicit CAxis(QObject* parent = nullptr);
};

Q_DECLARE_METATYPE(QList<CAxis::AxisType>)
