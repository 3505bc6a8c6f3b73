#pragma once

#include "../support/PluginFolders.h"
#include "app/CSettings.h"
#include "instruments/CInstrumentListProvider.h"
#include "instruments/CInstrumentPlugin.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"
#include "operations/COperationsManager.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

// The program's core on the real plug-in libraries of the build (simulated probe
// and stage, manual mapper and trigger) in a program folder and a settings folder
// of their own. Built fresh by each test function, so one failure cannot leak into
// the next; `instrumentsListed` waits for the simulated probe's first list.
struct RealPlugins
{
    PluginFolders folders;
    QTemporaryDir data;
    std::unique_ptr<CSettings> settings;
    std::unique_ptr<CPluginsManager> plugins;
    std::unique_ptr<CInstrumentSupervisor> supervisor;
    std::unique_ptr<COperationsManager> operations;

    bool start()
    {
        if (!folders.copy("instrument", "libSimulatedProbe.so", "instrument") ||
            !folders.copy("mapper", "libStepmate.so", "mapper") ||
            !folders.copy("mapper", "libSimulatedStage.so", "mapper") ||
            !folders.copy("trigger", "libClickfire.so", "trigger"))
            return false;
        settings = std::make_unique<CSettings>(folders.program(), nullptr, data.path());
        plugins = std::make_unique<CPluginsManager>(*settings);
        plugins->Initialize();
        supervisor = std::make_unique<CInstrumentSupervisor>(*settings);
        QSignalSpy listed(supervisor.get(), &CInstrumentSupervisor::AvailableInstrumentUpdated);
        for (CInstrumentPlugin* plugin : plugins->GetInstrumentPlugins())
        {
            plugin->Start();
            supervisor->AddInstrumentListProvider(plugin->GetInstrumentListProvider());
        }
        operations = std::make_unique<COperationsManager>(*settings, *plugins, *supervisor);
        return listed.wait(3000) && !supervisor->AvailableInstruments().isEmpty();
    }

    QSharedPointer<CInstrument> probe() const
    {
        const QList<QSharedPointer<CInstrument>> all = supervisor->AvailableInstruments();
        return all.isEmpty() ? nullptr : all.first();
    }

    // In the program's shutdown order.
    ~RealPlugins()
    {
        operations.reset();
        if (supervisor)
            supervisor->ClearActiveInstrument();
        if (plugins)
            plugins->Finalize();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        supervisor.reset();
        plugins.reset();
    }
};
