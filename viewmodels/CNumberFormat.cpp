#include "viewmodels/CNumberFormat.h"

#include "compute/CEngineeringNotation.h"

#include <cmath>

QString CNumberFormat::field(double value, const QString& unit, int digits) const
{
    return CEngineeringNotation::Format(value, unit, digits);
}

QString CNumberFormat::number(double value, int digits) const
{
    const double magnitude = std::fabs(value);
    if (std::isfinite(value) && (value == 0 || (magnitude >= 1e-3 && magnitude < 1e6)))
        return CEngineeringNotation::Fixed(value, digits);
    return CEngineeringNotation::Format(value, QString(), digits);
}
