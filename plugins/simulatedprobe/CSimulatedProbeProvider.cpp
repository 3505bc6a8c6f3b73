#include "plugins/simulatedprobe/CSimulatedProbeProvider.h"

#include "app/LogCategories.h"
#include "plugins/simulatedprobe/CSimulatedProbe.h"

#include <QDebug>
#include <QTimer>

CSimulatedProbeProvider::CSimulatedProbeProvider(QObject* parent)
    : CInstrumentListProvider(parent), m_Probe(new CSimulatedProbe())
{
    connect(m_Probe.data(), &CSimulatedProbe::Lost, this, &CSimulatedProbeProvider::l_Vanish);
}

void CSimulatedProbeProvider::l_Vanish()
{
    if (!m_Present)
        return;
    m_Present = false;
    emit InstrumentListUpdated();
}

CSimulatedProbeProvider::~CSimulatedProbeProvider()
{
    Shutdown();
}

void CSimulatedProbeProvider::Announce()
{
    // As a real bus scan would: the probe shows up a moment after the start.
    QTimer::singleShot(100, this, [this] {
        m_Present = true;
        emit InstrumentListUpdated();
        const int vanishAfterMs = CSimulatedFailures::Current().vanishAfterMs;
        if (vanishAfterMs > 0)
            QTimer::singleShot(vanishAfterMs, this, &CSimulatedProbeProvider::l_Vanish);
    });
}

void CSimulatedProbeProvider::Shutdown()
{
    if (m_Probe)
        m_Probe->Shutdown();
}

QList<QSharedPointer<CInstrument>> CSimulatedProbeProvider::GetInstrumentList()
{
    if (!m_Present)
        return {};
    return {m_Probe};
}

void CSimulatedProbeProvider::SetSerialPortSettings(QString port, int baudRate)
{
    qCDebug(lcInstruments).noquote() << QStringLiteral("Simulated probe: serial port ") + port +
                                            QStringLiteral(" at ") + QString::number(baudRate) +
                                            QStringLiteral(" baud (not used: no hardware)");
}
