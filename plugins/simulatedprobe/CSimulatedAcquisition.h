#pragma once

#include "model/CMeasureBlock.h"
#include "model/CTrigger.h"
#include "model/CUnits.h"
#include "plugins/simulatedprobe/CSimulatedField.h"

#include <QThread>

#include <condition_variable>
#include <mutex>

#include <functional>

// The acquisition thread of the simulated probe: builds blocks of samples
// paced by the clock (or one per trigger in external mode) and hands each to
// `deliver` from this thread.
class CSimulatedAcquisition : public QThread
{
    Q_OBJECT
public:
    struct Settings
    {
        double acquisitionRate = 20.0;
        int blockSize = 2;
        int averaging = 1;
        CUnits::UnitType units = CUnits::UnitType::TESLA;
        CTrigger::TriggerMode mode = CTrigger::TriggerMode::CONTINUOUS;
        CSimulatedField::Vector position = {0, 0, 0};
        CSimulatedField::Vector bias = CSimulatedField::SensorBias();
    };

    static constexpr int MaxBlockSize = 100000;
    static constexpr double MaxAcquisitionRate = 100000.0;

    explicit CSimulatedAcquisition(std::function<void(QSharedPointer<CMeasureBlock>)> deliver,
                                   QObject* parent = nullptr);
    ~CSimulatedAcquisition() override;

    void SetSettings(const Settings& settings);
    Settings GetSettings() const;
    void Trigger();
    void RequestStop();
    // Clears a previous stop request and pending triggers before the thread is started again.
    void PrepareStart();

    // Unit factor from tesla; raw converter counts are micro-tesla here.
    static double FactorFromTesla(CUnits::UnitType units);

    // The block whose first sample is `startTime` seconds into the signal, taken at
    // `startEpochNs` nanoseconds since the epoch.
    QSharedPointer<CMeasureBlock> MakeBlock(const Settings& settings, double startTime, qint64 startEpochNs);

protected:
    void run() override;

private:
    std::function<void(QSharedPointer<CMeasureBlock>)> m_Deliver;
    // Standard primitives rather than Qt's: ThreadSanitizer sees these (Qt's mutex is
    // built on futexes it cannot follow).
    mutable std::mutex m_Mutex;
    std::condition_variable m_Wake;
    Settings m_Settings;
    int m_PendingTriggers = 0;
    bool m_StopRequested = false;
    CSimulatedField m_Field;
};
