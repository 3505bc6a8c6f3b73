#pragma once

#include "instruments/CConnectionPageSettings.h"
#include "instruments/CInstrument.h"

#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QWeakPointer>

class CInstrumentListProvider;
class CSettings;

// Gathers the instruments of every driver and owns the one active instrument:
// connects it when it becomes active, disconnects it when it is replaced or vanishes.
class CInstrumentSupervisor : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<QSharedPointer<CInstrument>> AvailableInstruments READ AvailableInstruments CONSTANT)
    Q_PROPERTY(bool HasActiveInstrument READ HasActiveInstrument WRITE setHasActiveInstrument NOTIFY
                   HasActiveInstrumentChanged)
    Q_PROPERTY(QWeakPointer<CInstrument> Instrument READ Instrument CONSTANT)
    Q_PROPERTY(CConnectionPageSettings* ConnectionPageSettings READ ConnectionPageSettings CONSTANT)
public:
    CInstrumentSupervisor(CSettings& settings, QObject* parent = nullptr);

    QList<QSharedPointer<CInstrument>> AvailableInstruments() const { return m_AvailableInstruments; }
    bool HasActiveInstrument() const { return m_HasActiveInstrument; }
    void setHasActiveInstrument(bool value);
    QWeakPointer<CInstrument> Instrument() const { return m_ActiveInstrument; }
    CConnectionPageSettings* ConnectionPageSettings() { return &m_ConnectionPageSettings; }

    void AddInstrumentListProvider(CInstrumentListProvider* provider);
    void SetActiveInstrument(const QSharedPointer<CInstrument>& instrument);
    void ClearActiveInstrument();
    QSharedPointer<CInstrument> GetDefaultInstrument() const;
    void SetSerialPortSettings(const QString& port, int baudRate);
    // False when the file could not be written.
    bool SaveConnectionSettings(const QString& serialPort, const QString& baudRate, const QString& name,
                                const QString& serialNumber);

public slots:
    void RefreshAvailableInstruments();

signals:
    void HasActiveInstrumentChanged(bool value);
    void AvailableInstrumentUpdated();

private:
    void l_DisconnectActive();

    QList<QSharedPointer<CInstrument>> m_AvailableInstruments;
    bool m_HasActiveInstrument = false;
    QWeakPointer<CInstrument> m_ActiveInstrument;
    CConnectionPageSettings m_ConnectionPageSettings;
    QList<CInstrumentListProvider*> m_Providers;
};

Q_DECLARE_METATYPE(QSharedPointer<CInstrument>)
Q_DECLARE_METATYPE(QWeakPointer<CInstrument>)
