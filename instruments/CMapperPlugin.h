#pragma once

#include "instruments/CPlugin.h"
#include "model/COrientation.h"
#include "model/CPosition.h"

#include <QString>

// A plug-in that moves the probe, or reports where it is, during a mapping.
class CMapperPluginStopAndGo;
class CMapperPluginOnTheFly;

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

    // The kind of a plug-in object from another library. qobject_cast compares
    // meta-objects, and each library has its own copy of the base classes', so
    // the check goes by the kind number and the class names of the object's own chain.
    static CMapperPluginStopAndGo* AsStopAndGo(CMapperPlugin* plugin);
    static CMapperPluginOnTheFly* AsOnTheFly(CMapperPlugin* plugin);

public slots:
    virtual CPosition CurrentPosition() = 0;
    virtual COrientation CurrentOrientation() = 0;
    virtual void Close() = 0;

protected:
    int m_Kind;
    QString m_Name;
};
