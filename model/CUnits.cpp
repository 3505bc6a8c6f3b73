#include "model/CUnits.h"

#include <QHash>

namespace
{
// Index = enumerator value; 0 names no unit.
const QString& unitText(int value)
{
    static const QString texts[] = {
        QString(),
        QStringLiteral("T"),
        QStringLiteral("mT"),
        QStringLiteral("\u00B5T"),
        QStringLiteral("nT"),
        QStringLiteral("G"),
        QStringLiteral("kG"),
        QStringLiteral("mG"),
        QStringLiteral("MHzp"),
        QStringLiteral("A/m"),
        QStringLiteral("kA/m"),
        QStringLiteral("mA/m"),
        QStringLiteral("ADC"),
        QStringLiteral("Hz"),
        QStringLiteral("\u00B0"),
        QStringLiteral("dB"),
        QStringLiteral("%"),
        QStringLiteral(" "),
    };
    static const QString empty;
    if (value < 1 || value > 17)
        return empty;
    return texts[value];
}
} // namespace

CUnits::CUnits(QObject* parent) : QObject(parent) {}

QString CUnitsToQString(CUnits::UnitType unit)
{
    return unitText(static_cast<int>(unit));
}

CUnits::UnitType QStringToCUnits(const QString& text)
{
    // UNKNOWN's single space is deliberately not matched.
    for (int value = 1; value <= 16; ++value)
    {
        if (text == unitText(value))
            return static_cast<CUnits::UnitType>(value);
    }
    return CUnits::UnitType::UNKNOWN;
}

CUnits::UnitType ConvertUnitsToUncertaintyUnits(CUnits::UnitType unit)
{
    using U = CUnits::UnitType;
    static const QHash<int, U> table = {
        {int(U::TESLA), U::MILLI_TESLA},
        {int(U::MILLI_TESLA), U::MILLI_TESLA},
        {int(U::MICRO_TESLA), U::MICRO_TESLA},
        {int(U::GAUSS), U::MILLI_GAUSS},
        {int(U::KILO_GAUSS), U::MILLI_GAUSS},
        {int(U::MILLI_GAUSS), U::MILLI_GAUSS},
        {int(U::MEGA_HERTZ_PROTON), U::MEGA_HERTZ_PROTON},
        {int(U::AMPERE_PER_METER), U::MILLI_AMPERE_PER_METER},
        {int(U::KILO_AMPERE_PER_METER), U::MILLI_AMPERE_PER_METER},
        {int(U::MILLI_AMPERE_PER_METER), U::MILLI_AMPERE_PER_METER},
        {int(U::ADC), U::ADC},
        {int(U::PERCENT), U::PERCENT},
        {int(U::UNKNOWN), U::PERCENT},
    };
    return table.value(int(unit), unit);
}

KVL::eZRQ5520Units ConvertUnitsToZRQ5520(CUnits::UnitType unit)
{
    const int value = static_cast<int>(unit);
    if (value >= 2 && value <= 12)
        return static_cast<KVL::eZRQ5520Units>(value - 1);
    return KVL::eTesla;
}

CUnits::UnitType ConvertUnitsFromZRQ5520(KVL::eZRQ5520Units code)
{
    const int value = static_cast<int>(code);
    if (value >= 1 && value <= 11)
        return static_cast<CUnits::UnitType>(value + 1);
    return CUnits::UnitType::TESLA;
}

bool IsFieldUnit(CUnits::UnitType unit)
{
    const int value = static_cast<int>(unit);
    return value >= static_cast<int>(CUnits::UnitType::TESLA) &&
           value <= static_cast<int>(CUnits::UnitType::MILLI_AMPERE_PER_METER);
}
