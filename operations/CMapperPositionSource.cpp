#include "operations/CMapperPositionSource.h"

CMapperPositionSource::CMapperPositionSource(eType type, QObject* parent) : QObject(parent), m_Type(type) {}

QString CMapperPositionSource::Name() const
{
    switch (m_Type)
    {
    case Cartesian:
        return QStringLiteral("Cartesian");
    case File:
        return QStringLiteral("File");
    default:
        return QStringLiteral("Error");
    }
}

CMapperPositionSource::eType CMapperPositionSource::Name(const QString& name)
{
    const eType type = name == QLatin1String("Cartesian") ? Cartesian
                       : name == QLatin1String("File")    ? File
                                                          : None;
    if (type != m_Type)
    {
        m_Type = type;
        emit TypeChanged(type);
    }
    return m_Type;
}
