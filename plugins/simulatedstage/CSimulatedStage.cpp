#include "plugins/simulatedstage/CSimulatedStage.h"

#include "app/LogCategories.h"

#include <QCoreApplication>
#include <QDebug>
#include <QVariantList>

#include <atomic>
#include <climits>
#include <cmath>

namespace
{
// Moves before the stage fails as injected by a test; NotInjected: the environment's.
constexpr int NotInjected = INT_MIN;
std::atomic<int> s_InjectedFailAfter{NotInjected};
} // namespace

void InjectSimulatedStageFailAfter(const int* moves)
{
    s_InjectedFailAfter = moves ? *moves : NotInjected;
}

CSimulatedStage::CSimulatedStage(QObject* parent) : CMapperPluginStopAndGo(parent)
{
    // The stage fails on its (N+1)th move, for trying a run whose mapper gives up: N from
    // a test's typed switch, else (manual runs) from TESVANA_SIM_STAGE_FAIL_AFTER=N.
    const int injected = s_InjectedFailAfter;
    bool ok = false;
    const int failAfter = qEnvironmentVariableIntValue("TESVANA_SIM_STAGE_FAIL_AFTER", &ok);
    m_FailAfterMoves = injected != NotInjected ? injected : ok ? failAfter : -1;
    m_Name = QStringLiteral("Simulated stage");
    m_Travel.setSingleShot(true);
    connect(&m_Travel, &QTimer::timeout, this, &CSimulatedStage::OnArrived);
}

CSimulatedStage::~CSimulatedStage() = default;

void CSimulatedStage::Start()
{
    qCDebug(lcInstruments) << "Simulated stage started";
    l_Publish();
}

void CSimulatedStage::Stop()
{
    qCDebug(lcInstruments) << "Simulated stage stopped";
    m_Travel.stop();
}

CPosition CSimulatedStage::CurrentPosition()
{
    return m_Position;
}

COrientation CSimulatedStage::CurrentOrientation()
{
    return m_Orientation;
}

void CSimulatedStage::Close()
{
    m_Travel.stop();
}

void CSimulatedStage::MoveTo(const CPosition& position, const COrientation& orientation)
{
    if (m_FailAfterMoves >= 0 && m_Moves++ >= m_FailAfterMoves)
    {
        emit Failed(QStringLiteral("Simulated stage: the drive stopped"));
        return;
    }
    m_Target = position;
    m_TargetOrientation = orientation;
    const double dx = position.X() - m_Position.X();
    const double dy = position.Y() - m_Position.Y();
    const double dz = position.Z() - m_Position.Z();
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    // Bounded, so that an absurd target still answers.
    const double ms = std::min(5000.0, SettlingMs + MsPerUnit * (std::isfinite(distance) ? distance : 0.0));
    m_Travel.start(int(ms));
}

void CSimulatedStage::OnArrived()
{
    m_Position = m_Target;
    m_Orientation = m_TargetOrientation;
    l_Publish();
    emit Ready();
}

void CSimulatedStage::l_Publish()
{
    if (qApp)
        qApp->setProperty("tesvanaSimulatedStagePosition",
                          QVariantList{m_Position.X(), m_Position.Y(), m_Position.Z()});
}

extern "C" __attribute__((visibility("default"))) CMapperPlugin* CreateMapperPlugin()
{
    return new CSimulatedStage();
}
