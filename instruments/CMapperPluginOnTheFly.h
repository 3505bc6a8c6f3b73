#pragma once

#include "instruments/CMapperPlugin.h"

// A mapper that tells the program where to take each measurement.
class CMapperPluginOnTheFly : public CMapperPlugin
{
    Q_OBJECT
public:
    // The plug-in as this kind, or null. A plug-in object comes from another library:
    // qobject_cast compares meta-objects, and each library has its own copy of the base
    // classes', so the check goes by the kind number and the class names of the object's chain.
    static CMapperPluginOnTheFly* From(CMapperPlugin* plugin);

    explicit CMapperPluginOnTheFly(QObject* parent = nullptr);

signals:
    void Acquire(CPosition position, COrientation orientation);
};
