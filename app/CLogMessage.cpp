#include "app/CLogMessage.h"

CLogMessage::CLogMessage(QObject* parent) : QObject(parent) {}

void CLogMessage::setLevel(eLevel value)
{
    if (m_Level == value)
        return;
    m_Level = value;
    emit LevelChanged(value);
}

void CLogMessage::setTimestamp(const QDateTime& value)
{
    if (m_Timestamp == value)
        return;
    m_Timestamp = value;
    emit TimestampChanged(value);
}

void CLogMessage::setMessage(const QString& value)
{
    if (m_Message == value)
        return;
    m_Message = value;
    emit MessageChanged(value);
}
