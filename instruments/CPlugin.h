#pragma once

#include <QObject>

// Root of every plug-in object. Compiled from these same declarations into the
// program and into each plug-in library: class names, virtual order and signal
// signatures are the binary interface between them.
class CPlugin : public QObject
{
    Q_OBJECT
public:
    explicit CPlugin(QObject* parent = nullptr);
    ~CPlugin() override;

public slots:
    virtual void Start() = 0;
    virtual void Stop() = 0;
};
