#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

namespace KVL
{
// Unit codes of the probe's unit-conversion computations: T, mT, µT, nT, G,
// kG, mG, MHzp, A/m, kA/m, mA/m, ADC.
enum eZRQ5520Units
{
    eTesla = 0,
    eMilliTesla = 1,
    eMicroTesla = 2,
    eNanoTesla = 3,
    eGauss = 4,
    eKiloGauss = 5,
    eMilliGauss = 6,
    eMegaHertzProton = 7,
    eAmperePerMeter = 8,
    eKiloAmperePerMeter = 9,
    eMilliAmperePerMeter = 10,
    eAdc = 11,
    eZRQ5520UnitsCount = 12
};
} // namespace KVL

// Holder of the unit enumeration, so that its names are known to the meta-object system.
class CUnits : public QObject
{
    Q_OBJECT
public:
    enum class UnitType
    {
        TESLA = 1,
        MILLI_TESLA = 2,
        MICRO_TESLA = 3,
        NANO_TESLA = 4,
        GAUSS = 5,
        KILO_GAUSS = 6,
        MILLI_GAUSS = 7,
        MEGA_HERTZ_PROTON = 8,
        AMPERE_PER_METER = 9,
        KILO_AMPERE_PER_METER = 10,
        MILLI_AMPERE_PER_METER = 11,
        ADC = 12,
        HZ = 13,
        DEGREE = 14,
        DECIBEL = 15,
        PERCENT = 16,
        UNKNOWN = 17
    };
    Q_ENUM(UnitType)

    explicit CUnits(QObject* parent = nullptr);
};

Q_DECLARE_METATYPE(QList<CUnits::UnitType>)

QString CUnitsToQString(CUnits::UnitType unit);
CUnits::UnitType QStringToCUnits(const QString& text);
CUnits::UnitType ConvertUnitsToUncertaintyUnits(CUnits::UnitType unit);
KVL::eZRQ5520Units ConvertUnitsToZRQ5520(CUnits::UnitType unit);
CUnits::UnitType ConvertUnitsFromZRQ5520(KVL::eZRQ5520Units code);
// A unit of the field (tesla to milliampere per metre): one that converts to
// another and that exposure limits can be compared in; not ADC counts, Hz, %, dB or unknown.
bool IsFieldUnit(CUnits::UnitType unit);
