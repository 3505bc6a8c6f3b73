#pragma once

#include "instruments/CMapperPlugin.h"

// A mapper that tells the program where to take each measurement.
class CMapperPluginOnTheFly : public CMapperPlugin
{
    Q_OBJECT
public:
    explicit CMapperPluginOnTheFly(QObject* parent = nullptr);

signals:
    void Acquire(CPosition position, COrientation orientation);
};
