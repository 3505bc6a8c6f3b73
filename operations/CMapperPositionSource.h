#pragma once

#include "model/COrientation.h"
#include "model/CPosition.h"

#include <QObject>

// Where a stop-and-go mapping goes next.
class CMapperPositionSource : public QObject
{
    Q_OBJECT
    Q_PROPERTY(eType Type READ Type NOTIFY TypeChanged)
public:
    enum eType
    {
        None = 0,
        Cartesian = 1,
        File = 2
    };
    Q_ENUM(eType)

    explicit CMapperPositionSource(eType type, QObject* parent = nullptr);

    eType Type() const { return m_Type; }
    // "Cartesian", "File", or "Error" for anything else.
    Q_INVOKABLE QString Name() const;
    // Sets the type from such a text; any other text gives None.
    eType Name(const QString& name);

    virtual void ResetPosition() = 0;
    virtual bool NextPosition(CPosition& position, COrientation& orientation) = 0;

signals:
    void TypeChanged(CMapperPositionSource::eType value);

private:
    eType m_Type;
};
