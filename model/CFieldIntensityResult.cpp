#include "model/CFieldIntensityResult.h"

#include <limits>

CFieldIntensityResult::CFieldIntensityResult(QObject* parent)
    : CTimestampableResult(parent), m_dBConverted(std::numeric_limits<tFlux>::quiet_NaN())
{
}

float CFieldIntensityResult::Quantity(int index) const
{
    switch (index)
    {
    case 0:
        return B();
    case 1:
        return BBprime();
    case 2:
        return Bx();
    case 3:
        return By();
    default:
        return Bz();
    }
}

// Setters store and emit on every call: samples are filled once by their
// creator, and no comparison is needed for NaN values.
void CFieldIntensityResult::setBx(tFlux value)
{
    m_Bx = value;
    emit BxChanged(value);
}

void CFieldIntensityResult::setBy(tFlux value)
{
    m_By = value;
    emit ByChanged(value);
}

void CFieldIntensityResult::setBz(tFlux value)
{
    m_Bz = value;
    emit BzChanged(value);
}

void CFieldIntensityResult::setB(tFlux value)
{
    m_B = value;
    emit BChanged(value);
}

void CFieldIntensityResult::setdB(tFlux value)
{
    m_dB = value;
    emit dBChanged(value);
}

void CFieldIntensityResult::setBBprime(tFlux value)
{
    m_BBprime = value;
    emit BBprimeChanged(value);
}

void CFieldIntensityResult::setdBConverted(tFlux value)
{
    m_dBConverted = value;
    emit dBConvertedChanged(value);
}

void CFieldIntensityResult::setTemperature(quint16 value)
{
    m_Temperature = value;
    emit TemperatureChanged(value);
}
