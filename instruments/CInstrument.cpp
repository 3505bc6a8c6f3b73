#include "instruments/CInstrument.h"

#include "model/TesvanaSetter.h"

CInstrument::CInstrument(QObject* parent) : QObject(parent) {}

CInstrument::~CInstrument() = default;

TESVANA_SETTER(CInstrument, const QString&, Name)
TESVANA_SETTER(CInstrument, CInstrumentInterface::Interface, Interface)
TESVANA_SETTER(CInstrument, const QString&, StatusString)
TESVANA_SETTER(CInstrument, const QStringList&, MessagesHistory)
TESVANA_SETTER(CInstrument, const QString&, LastMessage)
TESVANA_SETTER(CInstrument, int, ErrorCode)
TESVANA_SETTER(CInstrument, const QString&, RessourceName)
TESVANA_SETTER(CInstrument, const QString&, SerialNumber)
TESVANA_SETTER(CInstrument, const QDateTime&, CalibrationDate)
TESVANA_SETTER(CInstrument, const QDateTime&, ManufacturingDate)
TESVANA_SETTER(CInstrument, const QString&, Manufacturer)
TESVANA_SETTER(CInstrument, const QString&, Model)
TESVANA_SETTER(CInstrument, const QString&, ElectronicsVersion)
TESVANA_SETTER(CInstrument, const QString&, ProbeVersion)
TESVANA_SETTER(CInstrument, const QString&, FirmwareVersion)
TESVANA_SETTER(CInstrument, const QList<float>&, RangeList)
TESVANA_SETTER(CInstrument, const QList<CUnits::UnitType>&, UnitList)
TESVANA_SETTER(CInstrument, const QStringList&, DivisorList)
TESVANA_SETTER(CInstrument, const QList<CTrigger::TriggerMode>&, TriggerList)
TESVANA_SETTER(CInstrument, bool, IsRunning)
TESVANA_SETTER(CInstrument, bool, IsConnected)
TESVANA_SETTER(CInstrument, CMeasurementParameters*, MeasurementParameters)
