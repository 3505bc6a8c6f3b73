#include "model/CBoundedParm.h"

#include <cmath>

CBoundedParm::CBoundedParm(QObject* parent) : QObject(parent) {}

void CBoundedParm::setMin(double value)
{
    if (m_Min == value)
        return;
    m_Min = value;
    emit MinChanged(value);
}

void CBoundedParm::setMax(double value)
{
    if (m_Max == value)
        return;
    m_Max = value;
    emit MaxChanged(value);
}

void CBoundedParm::setDefault(double value)
{
    if (m_Default == value)
        return;
    m_Default = value;
    emit DefaultChanged(value);
}

bool CBoundedParm::Allows(double value) const
{
    return std::isfinite(value) && (m_Max <= m_Min || (value >= m_Min && value <= m_Max));
}
