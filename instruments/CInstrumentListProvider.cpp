#include "instruments/CInstrumentListProvider.h"

CInstrumentListProvider::CInstrumentListProvider(QObject* parent) : QObject(parent) {}

// The drivers' contract: plug-ins built against it override this very signature.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
void CInstrumentListProvider::SetSerialPortSettings(QString, int) {}
