#include "instruments/CPluginsManager.h"

#include "app/CSettings.h"
#include "app/LogCategories.h"
#include "instruments/CInstrumentPlugin.h"
#include "instruments/CMapperPlugin.h"
#include "instruments/CTriggerPlugin.h"

#include <QDebug>
#include <QDir>
#include <QLibrary>

namespace
{
// Loads every regular file of `folder` and calls `entryPoint` in each; returns
// how many libraries loaded. `verbose` selects info lines (instrument drivers)
// over debug lines (mapper and trigger plug-ins).
template <typename Plugin>
int loadFolder(const QString& folder, const char* entryPoint, const char* missingEntryMessage, bool verbose,
               QList<Plugin*>& into)
{
    using Factory = Plugin* (*)();
    const QDir dir(folder);
    int loaded = 0;
    const QStringList files = dir.entryList(QDir::Files, QDir::Type);
    for (const QString& fileName : files)
    {
        // The library object is discarded after each file; the code stays loaded.
        QLibrary library(folder + QLatin1Char('/') + fileName);
        if (!library.load())
        {
            if (verbose)
                qCInfo(lcInstruments).noquote() << library.errorString();
            else
                qCDebug(lcInstruments).noquote() << library.errorString();
            continue;
        }
        if (verbose)
            qCInfo(lcInstruments) << "library" << fileName << "loaded";
        else
            qCDebug(lcInstruments) << "library" << fileName << "loaded";
        ++loaded;
        const auto factory = reinterpret_cast<Factory>(library.resolve(entryPoint));
        if (!factory)
        {
            qCDebug(lcInstruments) << missingEntryMessage;
            continue;
        }
        if (Plugin* plugin = factory())
            into.append(plugin);
    }
    return loaded;
}

template <typename Plugin> void stopAndRelease(QList<Plugin*>& plugins)
{
    for (Plugin* plugin : plugins)
    {
        plugin->Stop();
        plugin->deleteLater();
    }
    plugins.clear();
}
} // namespace

CPluginsManager::CPluginsManager(CSettings& settings, QObject* parent) : QObject(parent), m_Settings(settings)
{
}

CPluginsManager::~CPluginsManager()
{
    // Normally emptied by Finalize(); objects still held here were never
    // started by a shutdown sequence, but they are still ours to release.
    qDeleteAll(m_InstrumentPlugins);
    qDeleteAll(m_MapperPlugins);
    qDeleteAll(m_TriggerPlugins);
}

void CPluginsManager::Initialize()
{
    l_LoadInstrumentPlugins();
    l_LoadMapperPlugins();
    l_LoadTriggerPlugins();
}

void CPluginsManager::Finalize()
{
    stopAndRelease(m_InstrumentPlugins);
    stopAndRelease(m_MapperPlugins);
    stopAndRelease(m_TriggerPlugins);
}

void CPluginsManager::l_LoadInstrumentPlugins()
{
    const QString folder = m_Settings.InstrumentDriverPluginsPath();
    qCInfo(lcInstruments).noquote() << QStringLiteral("Loading Instrument plugin in ") + folder;
    int loaded = 0;
    if (QDir(folder).exists())
        loaded = loadFolder<CInstrumentPlugin>(folder, "CreateInstrumentPlugin",
                                               "Could not create instrument plugin from the loaded library",
                                               true, m_InstrumentPlugins);
    if (loaded == 0)
        qCWarning(lcInstruments) << "Unable to load any instrument plugins";
}

void CPluginsManager::l_LoadMapperPlugins()
{
    const QString folder = m_Settings.MapperPluginsPath();
    if (!QDir(folder).exists())
        return;
    loadFolder<CMapperPlugin>(folder, "CreateMapperPlugin",
                              "Could not create mapper plugin from the loaded library", false,
                              m_MapperPlugins);
}

void CPluginsManager::l_LoadTriggerPlugins()
{
    const QString folder = m_Settings.TriggerPluginsPath();
    if (!QDir(folder).exists())
        return;
    loadFolder<CTriggerPlugin>(folder, "CreateTriggerPlugin",
                               "Could not create trigger plugin from the loaded library", false,
                               m_TriggerPlugins);
}
