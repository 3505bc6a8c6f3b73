#include "model/CPosition.h"

CPosition::CPosition(QObject* parent) : QObject(parent) {}

CPosition::CPosition(double x, double y, double z) : QObject(nullptr), m_X(x), m_Y(y), m_Z(z) {}

CPosition::CPosition(const CPosition& other)
    : QObject(nullptr), m_X(other.m_X), m_Y(other.m_Y), m_Z(other.m_Z)
{
}

CPosition& CPosition::operator=(const CPosition& other)
{
    m_X = other.m_X;
    m_Y = other.m_Y;
    m_Z = other.m_Z;
    return *this;
}

bool CPosition::operator==(const CPosition& other) const
{
    return m_X == other.m_X && m_Y == other.m_Y && m_Z == other.m_Z;
}

void CPosition::setX(double value)
{
    m_X = value;
    emit XChanged(value);
}

void CPosition::setY(double value)
{
    m_Y = value;
    emit YChanged(value);
}

void CPosition::setZ(double value)
{
    m_Z = value;
    emit ZChanged(value);
}
