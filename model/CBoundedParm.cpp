#include "model/CBoundedParm.h"

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
