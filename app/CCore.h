#pragma once

#include "app/CSettings.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"
#include "operations/COperationsManager.h"

#include <functional>

// The program's core: the settings store, the plug-ins, the instrument supervisor and
// the operations. The window, the command-line tool and the tests stand on this one
// class, so they start and stop it in one order:
//   construction  settings, plug-in manager, supervisor, operations (nothing loaded);
//   Start()       the plug-ins loaded, the instrument drivers started and listed;
//   Stop()        the active operation left when asked (it saves its parameters),
//                 every plug-in stopped;
//   destruction   the posted deletions run, then operations, supervisor, plug-ins
//                 (their libraries unloaded last) and settings go, in that order.
class CCore
{
public:
    // `settingsFolder` empty: the program's own application-data folder.
    explicit CCore(const QString& programFolder, const QString& settingsFolder = QString());
    ~CCore();
    CCore(const CCore&) = delete;
    CCore& operator=(const CCore&) = delete;

    void Start();
    // Lets the drivers list their instruments: returns at the first list `enough`
    // accepts (without one, at the first list, or `settleMs` after the last one while
    // more come), at the latest after `timeoutMs`. True when an instrument is listed.
    bool WaitForInstruments(int timeoutMs, const std::function<bool()>& enough = {}, int settleMs = 0);
    enum class ActiveOperation
    {
        Leave, // the window: the operation saves its parameters as it is left
        Keep   // a script: its parameters must not become the window's next ones
    };
    void Stop(ActiveOperation active);

    CSettings& Settings() { return m_Settings; }
    CPluginsManager& Plugins() { return m_Plugins; }
    CInstrumentSupervisor& Supervisor() { return m_Supervisor; }
    COperationsManager& Operations() { return m_Operations; }

private:
    CSettings m_Settings;
    CPluginsManager m_Plugins;
    CInstrumentSupervisor m_Supervisor;
    COperationsManager m_Operations;
    bool m_Started = false;
};
