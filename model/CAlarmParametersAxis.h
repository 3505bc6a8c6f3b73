#pragma once

#include "model/CAlarmParametersState.h"
#include "model/CAxis.h"

// An alarm that watches one field quantity.
class CAlarmParametersAxis : public CAlarmParametersState
{
    Q_OBJECT
    Q_PROPERTY(CAxis::AxisType Axis READ Axis WRITE setAxis NOTIFY AxisChanged)
public:
    explicit CAlarmParametersAxis(QObject* parent = nullptr);

    CAxis::AxisType Axis() const { return m_Axis; }
    void setAxis(CAxis::AxisType value);

signals:
    void AxisChanged(CAxis::AxisType value);

private:
    CAxis::AxisType m_Axis = CAxis::AxisType::B;
};
