#pragma once

#include "../support/PluginFolders.h"
#include "app/CCore.h"

#include <QTemporaryDir>

#include <memory>

// The program's core on the real plug-in libraries of the build (simulated probe
// and stage, manual mapper and trigger) in a program folder and a settings folder
// of their own. Built fresh by each test function, so one failure cannot leak into
// the next; `start` waits for the simulated probe's first list. The core stops
// in the program's order as it goes.
struct RealPlugins
{
    PluginFolders folders;
    QTemporaryDir data;
    std::unique_ptr<CCore> core;
    CSettings* settings = nullptr;
    CPluginsManager* plugins = nullptr;
    CInstrumentSupervisor* supervisor = nullptr;
    COperationsManager* operations = nullptr;

    bool start()
    {
        if (!folders.copy("instrument", "libSimulatedProbe.so", "instrument") ||
            !folders.copy("mapper", "libStepmate.so", "mapper") ||
            !folders.copy("mapper", "libSimulatedStage.so", "mapper") ||
            !folders.copy("trigger", "libClickfire.so", "trigger"))
            return false;
        core = std::make_unique<CCore>(folders.program(), data.path());
        settings = &core->Settings();
        plugins = &core->Plugins();
        supervisor = &core->Supervisor();
        operations = &core->Operations();
        core->Start();
        return core->WaitForInstruments(3000);
    }

    QSharedPointer<CInstrument> probe() const
    {
        const QList<QSharedPointer<CInstrument>> all = supervisor->AvailableInstruments();
        return all.isEmpty() ? nullptr : all.first();
    }
};
