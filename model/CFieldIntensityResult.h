#pragma once

#include "model/CFluxList.h"
#include "model/CTimestampableResult.h"

#include <limits>

// One three-axis sample.
// Samples are filled once by their creator and never watched, so the setters only
// store (no change signals).
class CFieldIntensityResult : public CTimestampableResult
{
    Q_GADGET
    Q_PROPERTY(float Bx READ Bx WRITE setBx)
    Q_PROPERTY(float By READ By WRITE setBy)
    Q_PROPERTY(float Bz READ Bz WRITE setBz)
    Q_PROPERTY(float B READ B WRITE setB)
    Q_PROPERTY(float dB READ dB WRITE setdB)
    Q_PROPERTY(float BBprime READ BBprime WRITE setBBprime)
    Q_PROPERTY(float dBConverted READ dBConverted WRITE setdBConverted)
    Q_PROPERTY(quint16 Temperature READ Temperature WRITE setTemperature)
public:
    // The quantities the pages and the tool analyse, by index: 0 B, 1 B.B', 2 Bx, 3 By, 4 Bz.
    float Quantity(int index) const;

    tFlux Bx() const { return m_Bx; }
    tFlux By() const { return m_By; }
    tFlux Bz() const { return m_Bz; }
    tFlux B() const { return m_B; }
    tFlux dB() const { return m_dB; }
    tFlux BBprime() const { return m_BBprime; }
    tFlux dBConverted() const { return m_dBConverted; }
    quint16 Temperature() const { return m_Temperature; }

    void setBx(tFlux value) { m_Bx = value; }
    void setBy(tFlux value) { m_By = value; }
    void setBz(tFlux value) { m_Bz = value; }
    void setB(tFlux value) { m_B = value; }
    void setdB(tFlux value) { m_dB = value; }
    void setBBprime(tFlux value) { m_BBprime = value; }
    void setdBConverted(tFlux value) { m_dBConverted = value; }
    void setTemperature(quint16 value) { m_Temperature = value; }

private:
    tFlux m_Bx = 0;
    tFlux m_By = 0;
    tFlux m_Bz = 0;
    tFlux m_B = 0;
    tFlux m_dB = 0;
    tFlux m_BBprime = 0;
    tFlux m_dBConverted = std::numeric_limits<tFlux>::quiet_NaN();
    quint16 m_Temperature = 0;
};
