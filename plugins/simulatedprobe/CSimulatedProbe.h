#pragma once

#include "instruments/CInstrument.h"
#include "plugins/simulatedprobe/CSimulatedAcquisition.h"
#include "plugins/simulatedprobe/CSimulatedFailures.h"

#include <QPointer>
#include <QTimer>

#include <atomic>
#include <deque>
#include <mutex>

class CTriggerPlugin;

// A simulated three-axis probe: no hardware, realistic capabilities, blocks
// from an acquisition thread of its own. Named so nobody takes it for a real probe.
class CSimulatedProbe : public CInstrument
{
    Q_OBJECT
public:
    static constexpr double ImmediateRate = 1000.0;

    explicit CSimulatedProbe(QObject* parent = nullptr);
    ~CSimulatedProbe() override;

    // Stops acquiring for good (the plug-in is stopping).
    void Shutdown();
    CSimulatedAcquisition::Settings CurrentSettings() const { return m_Acquisition.GetSettings(); }

public slots:
    void SendTrigger() override;
    bool Connect() override;
    void Disconnect() override;
    void StartMeasurement() override;
    void StopMeasurement() override;
    void CalibrateZeroOffset(bool forceCalibration = false) override;
    void RestoreZeroOffsetToFactory() override;

signals:
    // The probe stopped answering mid-acquisition (a failure switch): it leaves the list.
    void Lost();

private slots:
    void OnParametersAssigned();
    void OnApplyConfigurationChanged(bool apply);
    void OnTriggerFired();
    void OnAcquisitionFinished();
    void OnStagePoll();
    // On the GUI thread: announces the blocks the acquisition thread left in the outbox.
    void l_DeliverQueued();

private:
    void l_Deliver(const QSharedPointer<CMeasureBlock>& block);
    void l_DropQueued();
    void l_Lose();
    void l_ReadParameters();
    void l_SetStatus(const QString& status);
    void l_ConnectTriggerPlugin();

    CSimulatedAcquisition m_Acquisition;
    QPointer<CMeasurementParameters> m_ConnectedParameters;
    QPointer<CTriggerPlugin> m_TriggerPlugin;
    QTimer m_StagePoll;
    CSimulatedField::Vector m_Bias = CSimulatedField::SensorBias();
    // Read at the start of each run; the count is the acquisition thread's.
    CSimulatedFailures m_RunFailures;
    std::atomic<int> m_BlocksOfRun{0};
    // Blocks pass from the acquisition thread to the GUI thread through this queue
    // under its own lock (a driver's hand-over that a thread checker can follow),
    // not as arguments of a queued signal.
    std::mutex m_OutboxMutex;
    std::deque<QSharedPointer<CMeasureBlock>> m_Outbox;
};
