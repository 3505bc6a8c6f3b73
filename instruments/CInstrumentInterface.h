#pragma once

#include <QObject>

// Holder of the enumeration of how an instrument is attached.
class CInstrumentInterface : public QObject
{
    Q_OBJECT
public:
    enum Interface
    {
        Unknown = 1,
        USB = 2,
        Ethernet = 3,
        Serial = 4
    };
    Q_ENUM(Interface)

    explicit CInstrumentInterface(QObject* parent = nullptr);
};
