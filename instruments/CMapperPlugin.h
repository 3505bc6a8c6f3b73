#pragma once

#include "instruments/CPlugin.h"
#include "model/COrientation.h"
#include "model/CPosition.h"

#include <QString>

// A plug-in that moves the probe, or reports where it is, during a mapping.

class CMapperPlugin : public CPlugin
{
    Q_OBJECT
public:
    enum Kind
    {
        OnTheFly = 1,
        StopAndGo = 2
    };

    CMapperPlugin(int kind, QObject* parent = nullptr);

    int GetKind() const { return m_Kind; }
    QString GetName() const { return m_Name; }

public slots:
    virtual CPosition CurrentPosition() = 0;
    virtual COrientation CurrentOrientation() = 0;
    virtual void Close() = 0;

protected:
    int m_Kind;
    QString m_Name;
};
