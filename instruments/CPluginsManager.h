#pragma once

#include <QList>
#include <QObject>

class CSettings;
class CInstrumentPlugin;
class CMapperPlugin;
class CTriggerPlugin;

// Finds, loads and owns the instrument, mapper and trigger plug-ins.
class CPluginsManager : public QObject
{
    Q_OBJECT
public:
    CPluginsManager(CSettings& settings, QObject* parent = nullptr);
    ~CPluginsManager() override;

    void Initialize();
    void Finalize();

    const QList<CInstrumentPlugin*>& GetInstrumentPlugins() const { return m_InstrumentPlugins; }
    const QList<CMapperPlugin*>& GetMapperPlugins() const { return m_MapperPlugins; }
    const QList<CTriggerPlugin*>& GetTriggerPlugins() const { return m_TriggerPlugins; }

private:
    void l_LoadInstrumentPlugins();
    void l_LoadMapperPlugins();
    void l_LoadTriggerPlugins();

    CSettings& m_Settings;
    QList<CInstrumentPlugin*> m_InstrumentPlugins;
    QList<CMapperPlugin*> m_MapperPlugins;
    QList<CTriggerPlugin*> m_TriggerPlugins;
};
