#pragma once

#include "model/CAlarmParametersAxis.h"
#include "model/CUnits.h"

// An alarm with its own minimum and maximum, in DisplayAlarmUnits.
class CAlarmParametersLimits : public CAlarmParametersAxis
{
    Q_OBJECT
    Q_PROPERTY(double Minimum READ Minimum WRITE setMinimum NOTIFY MinimumChanged)
    Q_PROPERTY(double Maximum READ Maximum WRITE setMaximum NOTIFY MaximumChanged)
    Q_PROPERTY(CUnits::UnitType DisplayAlarmUnits READ DisplayAlarmUnits WRITE setDisplayAlarmUnits NOTIFY
                   DisplayAlarmUnitsChanged)
public:
    explicit CAlarmParametersLimits(QObject* parent = nullptr);

    double Minimum() const { return m_Minimum; }
    double Maximum() const { return m_Maximum; }
    CUnits::UnitType DisplayAlarmUnits() const { return m_DisplayAlarmUnits; }
    void setMinimum(double value);
    void setMaximum(double value);
    void setDisplayAlarmUnits(CUnits::UnitType value);

signals:
    void MinimumChanged(double value);
    void MaximumChanged(double value);
    void DisplayAlarmUnitsChanged(CUnits::UnitType value);

private:
    double m_Minimum = 0.0;
    double m_Maximum = 0.0;
    CUnits::UnitType m_DisplayAlarmUnits = CUnits::UnitType::TESLA;
};
