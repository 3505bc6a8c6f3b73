#pragma once

#include "app/CSettings.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"

#include <QTemporaryDir>

// An operation on the objects it is built on, without an instrument: a settings
// store in a folder of its own, the plug-in manager and the supervisor. Made
// fresh for each test function.
template <typename Operation> struct OperationCore
{
    QTemporaryDir dir;
    CSettings settings{"/p", nullptr, dir.path()};
    // Recordings are written to disk under the storage folder as they are measured: into
    // this test's own folder, gone with it.
    const bool storedHere = [this] {
        settings.setDefaultStoragePath(dir.path());
        return true;
    }();
    CPluginsManager plugins{settings};
    CInstrumentSupervisor supervisor{settings};
    Operation operation{settings, plugins, supervisor};
};
