#pragma once

#include "instruments/CInstrumentListProvider.h"

class CSimulatedProbe;

// Offers the one simulated probe, shortly after the plug-in starts.
class CSimulatedProbeProvider : public CInstrumentListProvider
{
    Q_OBJECT
public:
    explicit CSimulatedProbeProvider(QObject* parent = nullptr);
    ~CSimulatedProbeProvider() override;

    void Announce();
    void Shutdown();

public slots:
    QList<QSharedPointer<CInstrument>> GetInstrumentList() override;
    void SetSerialPortSettings(QString port, int baudRate) override;

private:
    // The probe leaves the list, as an unplugged one would.
    void l_Vanish();

    QSharedPointer<CSimulatedProbe> m_Probe;
    bool m_Present = false;
};
