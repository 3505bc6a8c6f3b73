#include "viewmodels/CNumberFormat.h"

#include "compute/CEngineeringNotation.h"

QString CNumberFormat::field(double value, const QString& unit, int digits) const
{
    return CEngineeringNotation::Format(value, unit, digits);
}

QString CNumberFormat::number(double value, int digits) const
{
    return CEngineeringNotation::Format(value, QString(), digits);
}

QString CNumberFormat::fixed(double value, int digits) const
{
    return CEngineeringNotation::Fixed(value, digits);
}
