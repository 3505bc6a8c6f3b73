#include "instruments/CInstrumentListProvider.h"

CInstrumentListProvider::CInstrumentListProvider(QObject* parent) : QObject(parent) {}

void CInstrumentListProvider::SetSerialPortSettings(QString, int) {}
