#pragma once

#include "model/CUnits.h"

#include <QObject>

// One entry of a limits file: the exposure limit that holds up to a frequency.
class FrequencyRange : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double UpperFrequencyLimitValue READ UpperFrequencyLimitValue WRITE setUpperFrequencyLimitValue
                   NOTIFY UpperFrequencyLimitValueChanged)
    Q_PROPERTY(CUnits::UnitType UpperFrequencyLimitUnit READ UpperFrequencyLimitUnit WRITE
                   setUpperFrequencyLimitUnit NOTIFY UpperFrequencyLimitUnitChanged)
    Q_PROPERTY(double ExposureLimitValue READ ExposureLimitValue WRITE setExposureLimitValue NOTIFY
                   ExposureLimitValueChanged)
    Q_PROPERTY(CUnits::UnitType ExposureLimitUnit READ ExposureLimitUnit WRITE setExposureLimitUnit NOTIFY
                   ExposureLimitUnitChanged)
public:
    explicit FrequencyRange(QObject* parent = nullptr);

    double UpperFrequencyLimitValue() const { return m_UpperFrequencyLimitValue; }
    CUnits::UnitType UpperFrequencyLimitUnit() const { return m_UpperFrequencyLimitUnit; }
    double ExposureLimitValue() const { return m_ExposureLimitValue; }
    CUnits::UnitType ExposureLimitUnit() const { return m_ExposureLimitUnit; }

    void setUpperFrequencyLimitValue(double value);
    void setUpperFrequencyLimitUnit(CUnits::UnitType value);
    void setExposureLimitValue(double value);
    void setExposureLimitUnit(CUnits::UnitType value);

signals:
    void UpperFrequencyLimitValueChanged(double value);
    void UpperFrequencyLimitUnitChanged(CUnits::UnitType value);
    void ExposureLimitValueChanged(double value);
    void ExposureLimitUnitChanged(CUnits::UnitType value);

private:
    double m_UpperFrequencyLimitValue = 0;
    CUnits::UnitType m_UpperFrequencyLimitUnit = CUnits::UnitType::HZ;
    double m_ExposureLimitValue = 0;
    CUnits::UnitType m_ExposureLimitUnit = CUnits::UnitType::TESLA;
};
