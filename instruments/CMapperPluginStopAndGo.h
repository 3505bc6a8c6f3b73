#pragma once

#include "instruments/CMapperPlugin.h"

// A mapper that is told where to go and reports Ready() when it is there.
class CMapperPluginStopAndGo : public CMapperPlugin
{
    Q_OBJECT
public:
    explicit CMapperPluginStopAndGo(QObject* parent = nullptr);

public slots:
    virtual void MoveTo(const CPosition& position, const COrientation& orientation) = 0;

signals:
    void Ready();
    // The mapper cannot go on (a drive fault, a lost connection): the run must stop.
    void Failed(QString reason);
};
