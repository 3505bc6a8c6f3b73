#include "app/CCore.h"

#include "instruments/CInstrumentPlugin.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

// The connections' context is the local event loop: they end with it, before what they capture.
// clazy:excludeall=lambda-in-connect

CCore::CCore(const QString& programFolder, const QString& settingsFolder)
    : m_Settings(programFolder, nullptr, settingsFolder), m_Plugins(m_Settings), m_Supervisor(m_Settings),
      m_Operations(m_Settings, m_Plugins, m_Supervisor)
{
}

CCore::~CCore()
{
    if (m_Started)
        Stop(ActiveOperation::Keep);
    // What the plug-ins and operations left to delete later still runs their code:
    // before the libraries go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void CCore::Start()
{
    m_Plugins.Initialize();
    for (CInstrumentPlugin* plugin : m_Plugins.GetInstrumentPlugins())
    {
        plugin->Start();
        m_Supervisor.AddInstrumentListProvider(plugin->GetInstrumentListProvider());
    }
    m_Started = true;
}

bool CCore::WaitForInstruments(int timeoutMs, const std::function<bool()>& enough, int settleMs)
{
    // The instrument asked for may have been listed while its driver started.
    if (!enough || !enough())
    {
        QEventLoop loop;
        QTimer settle;
        settle.setSingleShot(true);
        QObject::connect(&settle, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&m_Supervisor, &CInstrumentSupervisor::AvailableInstrumentUpdated, &loop, [&] {
            if (enough)
            {
                if (enough())
                    loop.quit();
            }
            else if (settleMs > 0)
                settle.start(settleMs);
            else
                loop.quit();
        });
        QTimer::singleShot(timeoutMs, Qt::CoarseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return !m_Supervisor.AvailableInstruments().isEmpty();
}

void CCore::Stop(ActiveOperation active)
{
    if (active == ActiveOperation::Leave)
        m_Operations.clearActiveOperation();
    m_Plugins.Finalize();
    m_Started = false;
}
