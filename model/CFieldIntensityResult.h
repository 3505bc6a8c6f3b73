#pragma once

#include "model/CFluxList.h"
#include "model/CTimestampableResult.h"

// One three-axis sample.
class CFieldIntensityResult : public CTimestampableResult
{
    Q_OBJECT
    Q_PROPERTY(float Bx READ Bx WRITE setBx NOTIFY BxChanged)
    Q_PROPERTY(float By READ By WRITE setBy NOTIFY ByChanged)
    Q_PROPERTY(float Bz READ Bz WRITE setBz NOTIFY BzChanged)
    Q_PROPERTY(float B READ B WRITE setB NOTIFY BChanged)
    Q_PROPERTY(float dB READ dB WRITE setdB NOTIFY dBChanged)
    Q_PROPERTY(float BBprime READ BBprime WRITE setBBprime NOTIFY BBprimeChanged)
    Q_PROPERTY(float dBConverted READ dBConverted WRITE setdBConverted NOTIFY dBConvertedChanged)
    Q_PROPERTY(quint16 Temperature READ Temperature WRITE setTemperature NOTIFY TemperatureChanged)
public:
    explicit CFieldIntensityResult(QObject* parent = nullptr);

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

    void setBx(tFlux value);
    void setBy(tFlux value);
    void setBz(tFlux value);
    void setB(tFlux value);
    void setdB(tFlux value);
    void setBBprime(tFlux value);
    void setdBConverted(tFlux value);
    void setTemperature(quint16 value);

signals:
    void BxChanged(float value);
    void ByChanged(float value);
    void BzChanged(float value);
    void BChanged(float value);
    void dBChanged(float value);
    void BBprimeChanged(float value);
    void dBConvertedChanged(float value);
    void TemperatureChanged(quint16 value);

private:
    tFlux m_Bx = 0;
    tFlux m_By = 0;
    tFlux m_Bz = 0;
    tFlux m_B = 0;
    tFlux m_dB = 0;
    tFlux m_BBprime = 0;
    tFlux m_dBConverted;
    quint16 m_Temperature = 0;
};
