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
