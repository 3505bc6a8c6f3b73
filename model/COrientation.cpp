#include "model/COrientation.h"

COrientation::COrientation(QObject* parent) : QObject(parent) {}

COrientation::COrientation(double roll, double pitch, double yaw)
    : QObject(nullptr), m_Roll(roll), m_Pitch(pitch), m_Yaw(yaw)
{
}

COrientation::COrientation(const COrientation& other)
    : QObject(nullptr), m_Roll(other.m_Roll), m_Pitch(other.m_Pitch), m_Yaw(other.m_Yaw)
{
}

COrientation& COrientation::operator=(const COrientation& other)
{
    m_Roll = other.m_Roll;
    m_Pitch = other.m_Pitch;
    m_Yaw = other.m_Yaw;
    return *this;
}

bool COrientation::operator==(const COrientation& other) const
{
    return m_Roll == other.m_Roll && m_Pitch == other.m_Pitch && m_Yaw == other.m_Yaw;
}

void COrientation::setRoll(double value)
{
    m_Roll = value;
    emit RollChanged(value);
}

void COrientation::setPitch(double value)
{
    m_Pitch = value;
    emit PitchChanged(value);
}

void COrientation::setYaw(double value)
{
    m_Yaw = value;
    emit YawChanged(value);
}
