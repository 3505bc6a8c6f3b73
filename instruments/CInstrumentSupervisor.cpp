#include "instruments/CInstrumentSupervisor.h"

#include "app/LogCategories.h"
#include "instruments/CInstrument.h"
#include "instruments/CInstrumentListProvider.h"

#include <QDebug>

CInstrumentSupervisor::CInstrumentSupervisor(CSettings& settings, QObject* parent)
    : QObject(parent), m_ConnectionPageSettings(settings)
{
}

void CInstrumentSupervisor::setHasActiveInstrument(bool value)
{
    if (m_HasActiveInstrument == value)
        return;
    m_HasActiveInstrument = value;
    emit HasActiveInstrumentChanged(value);
}

void CInstrumentSupervisor::AddInstrumentListProvider(CInstrumentListProvider* provider)
{
    if (!provider)
        return;
    m_Providers.append(provider);
    // Automatic connection: a provider that emits from its own thread is
    // refreshed queued on this one.
    connect(provider, &CInstrumentListProvider::InstrumentListUpdated, this,
            &CInstrumentSupervisor::RefreshAvailableInstruments);
}

void CInstrumentSupervisor::RefreshAvailableInstruments()
{
    m_AvailableInstruments.clear();
    for (CInstrumentListProvider* provider : qAsConst(m_Providers))
        m_AvailableInstruments.append(provider->GetInstrumentList());

    if (m_HasActiveInstrument)
    {
        const QSharedPointer<CInstrument> active = m_ActiveInstrument.toStrongRef();
        if (!active || !m_AvailableInstruments.contains(active))
            ClearActiveInstrument();
    }
    emit AvailableInstrumentUpdated();
}

void CInstrumentSupervisor::l_DisconnectActive()
{
    const QSharedPointer<CInstrument> active = m_ActiveInstrument.toStrongRef();
    if (active)
    {
        try
        {
            active->Disconnect();
        }
        catch (...)
        {
            qCWarning(lcInstruments) << "Error occured when disconnecting the instrument.";
        }
    }
    m_ActiveInstrument.clear();
    setHasActiveInstrument(false);
}

void CInstrumentSupervisor::SetActiveInstrument(const QSharedPointer<CInstrument>& instrument)
{
    const QSharedPointer<CInstrument> previous = m_ActiveInstrument.toStrongRef();
    if (previous && previous != instrument)
        l_DisconnectActive();

    m_ActiveInstrument = instrument;
    if (!instrument)
    {
        setHasActiveInstrument(false);
        return;
    }

    bool connected = false;
    try
    {
        connected = instrument->Connect();
    }
    catch (...)
    {
        setHasActiveInstrument(false);
        instrument->setIsConnected(false);
        m_ActiveInstrument.clear();
        qCWarning(lcInstruments) << "Error occured when connecting the instrument.";
        return;
    }
    if (!connected)
    {
        setHasActiveInstrument(false);
        instrument->setIsConnected(false);
        m_ActiveInstrument.clear();
        return;
    }
    setHasActiveInstrument(!m_ActiveInstrument.isNull());
}

void CInstrumentSupervisor::ClearActiveInstrument()
{
    l_DisconnectActive();
}

QSharedPointer<CInstrument> CInstrumentSupervisor::GetDefaultInstrument() const
{
    for (const QSharedPointer<CInstrument>& instrument : m_AvailableInstruments)
    {
        // An empty remembered serial number means "no default": it must not pick
        // an instrument that happens to report no serial number.
        if (instrument && !m_ConnectionPageSettings.SerialNumber.isEmpty() &&
            instrument->SerialNumber() == m_ConnectionPageSettings.SerialNumber)
            return instrument;
    }
    return QSharedPointer<CInstrument>();
}

void CInstrumentSupervisor::SetSerialPortSettings(const QString& port, int baudRate)
{
    for (CInstrumentListProvider* provider : qAsConst(m_Providers))
        provider->SetSerialPortSettings(port, baudRate);
}

bool CInstrumentSupervisor::SaveConnectionSettings(const QString& serialPort, const QString& baudRate,
                                                   const QString& name, const QString& serialNumber)
{
    return m_ConnectionPageSettings.SaveConnectionSettings(serialPort, baudRate, name, serialNumber);
}
