#include "model/CBprimeResult.h"

CBprimeResult::CBprimeResult(QObject* parent) : QObject(parent) {}

void CBprimeResult::setX(double value)
{
    m_X = value;
    emit XChanged(value);
}

void CBprimeResult::setY(double value)
{
    m_Y = value;
    emit YChanged(value);
}

void CBprimeResult::setZ(double value)
{
    m_Z = value;
    emit ZChanged(value);
}
