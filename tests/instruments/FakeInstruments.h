#pragma once

#include "instruments/CInstrument.h"
#include "instruments/CInstrumentListProvider.h"

#include <stdexcept>

// An instrument whose Connect() and Disconnect() the test decides.
class FakeInstrument : public CInstrument
{
    Q_OBJECT
public:
    enum Behaviour
    {
        Succeed,
        Refuse,
        Throw
    };

    FakeInstrument(const QString& name, const QString& serial, Behaviour connect = Succeed,
                   Behaviour disconnect = Succeed)
        : m_ConnectBehaviour(connect), m_DisconnectBehaviour(disconnect)
    {
        setName(name);
        setSerialNumber(serial);
    }

    int connects = 0;
    int disconnects = 0;
    QStringList* journal = nullptr;

public slots:
    void SendTrigger() override {}
    bool Connect() override
    {
        ++connects;
        if (journal)
            *journal << "connect " + SerialNumber();
        if (m_ConnectBehaviour == Throw)
            throw std::runtime_error("link lost");
        if (m_ConnectBehaviour == Refuse)
            return false;
        setIsConnected(true);
        return true;
    }
    void Disconnect() override
    {
        ++disconnects;
        if (journal)
            *journal << "disconnect " + SerialNumber();
        setIsConnected(false);
        if (m_DisconnectBehaviour == Throw)
            throw std::runtime_error("port busy");
    }
    void StartMeasurement() override { setIsRunning(true); }
    void StopMeasurement() override { setIsRunning(false); }
    void CalibrateZeroOffset(bool = false) override {}
    void RestoreZeroOffsetToFactory() override {}

private:
    Behaviour m_ConnectBehaviour;
    Behaviour m_DisconnectBehaviour;
};

// A provider whose list the test sets.
class FakeProvider : public CInstrumentListProvider
{
    Q_OBJECT
public:
    QList<QSharedPointer<CInstrument>> instruments;
    QStringList serialSettings;

    void setList(const QList<QSharedPointer<CInstrument>>& list)
    {
        instruments = list;
        emit InstrumentListUpdated();
    }

public slots:
    QList<QSharedPointer<CInstrument>> GetInstrumentList() override { return instruments; }
    void SetSerialPortSettings(QString port, int baudRate) override
    {
        serialSettings << port + "@" + QString::number(baudRate);
    }
};
