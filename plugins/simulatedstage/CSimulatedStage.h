#pragma once

#include "instruments/CMapperPluginStopAndGo.h"

#include <QTimer>

// A simulated stop-and-go positioning stage: travels to each commanded point
// in a short, distance-dependent time, then reports Ready. It publishes where
// it holds the probe so that the simulated probe can add the field of the
// magnet under the grid.
class CSimulatedStage : public CMapperPluginStopAndGo
{
    Q_OBJECT
public:
    explicit CSimulatedStage(QObject* parent = nullptr);
    ~CSimulatedStage() override;

    // Milliseconds per unit of travel, plus a fixed settling time.
    static constexpr int SettlingMs = 30;
    static constexpr double MsPerUnit = 2.0;

public slots:
    void Start() override;
    void Stop() override;
    CPosition CurrentPosition() override;
    COrientation CurrentOrientation() override;
    void Close() override;
    void MoveTo(const CPosition& position, const COrientation& orientation) override;

private slots:
    void OnArrived();

private:
    void l_Publish();

    CPosition m_Position;
    COrientation m_Orientation;
    CPosition m_Target;
    COrientation m_TargetOrientation;
    QTimer m_Travel;
    int m_FailAfterMoves = -1;
    int m_Moves = 0;
};

// The stage's typed failure switch, resolved by name in the loaded library: from the next
// stage made, it fails after `*moves` moves (-1: never); null goes back to the environment.
extern "C" __attribute__((visibility("default"))) void InjectSimulatedStageFailAfter(const int* moves);
