#pragma once

#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QString>

class CInstrument;

// Hands out the instruments that one driver currently sees.
class CInstrumentListProvider : public QObject
{
    Q_OBJECT
public:
    explicit CInstrumentListProvider(QObject* parent = nullptr);

public slots:
    virtual QList<QSharedPointer<CInstrument>> GetInstrumentList() = 0;
    virtual void SetSerialPortSettings(QString port, int baudRate);

signals:
    void InstrumentListUpdated();
};
