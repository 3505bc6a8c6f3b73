#pragma once

#include "instruments/CPlugin.h"

class CInstrumentListProvider;

// Root object of an instrument driver library. It adds no meta-object data:
// the program reaches it through CPlugin and the one operation below.
class CInstrumentPlugin : public CPlugin
{
public:
    explicit CInstrumentPlugin(QObject* parent = nullptr) : CPlugin(parent) {}

    virtual CInstrumentListProvider* GetInstrumentListProvider() = 0;
};
