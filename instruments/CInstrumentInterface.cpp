#include "instruments/CInstrumentInterface.h"

CInstrumentInterface::CInstrumentInterface(QObject* parent) : QObject(parent) {}
