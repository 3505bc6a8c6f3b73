#pragma once

#include "instruments/CPlugin.h"

#include <QString>

// A plug-in that produces trigger events for external-trigger acquisitions.
class CTriggerPlugin : public CPlugin
{
    Q_OBJECT
public:
    explicit CTriggerPlugin(QObject* parent = nullptr);

    QString GetName() const { return m_Name; }

public slots:
    virtual void Close() = 0;

signals:
    void Trigger();

protected:
    QString m_Name;
};
