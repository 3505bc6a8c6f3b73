#pragma once

#include "instruments/CMapperPlugin.h"

// A mapper that is told where to go and reports Ready() when it is there.
class CMapperPluginStopAndGo : public CMapperPlugin
{
    Q_OBJECT
public:
    // The plug-in as this kind, or null. A plug-in object comes from another library:
    // qobject_cast compares meta-objects, and each library has its own copy of the base
    // classes', so the check goes by the kind number and the class names of the object's chain.
    static CMapperPluginStopAndGo* From(CMapperPlugin* plugin);

    explicit CMapperPluginStopAndGo(QObject* parent = nullptr);

public slots:
    virtual void MoveTo(const CPosition& position, const COrientation& orientation) = 0;

signals:
    void Ready();
    // The mapper cannot go on (a drive fault, a lost connection): the run must stop.
    void Failed(QString reason);
};
