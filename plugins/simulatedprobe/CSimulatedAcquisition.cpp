#include "plugins/simulatedprobe/CSimulatedAcquisition.h"

#include "app/LogCategories.h"
#include "compute/FieldStatistics.h"

#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <limits>

CSimulatedAcquisition::CSimulatedAcquisition(std::function<void(QSharedPointer<CMeasureBlock>)> deliver,
                                             QObject* parent)
    : QThread(parent), m_Deliver(std::move(deliver))
{
}

CSimulatedAcquisition::~CSimulatedAcquisition()
{
    RequestStop();
    wait();
}

void CSimulatedAcquisition::SetSettings(const Settings& settings)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Settings = settings;
    m_Wake.notify_all();
}

CSimulatedAcquisition::Settings CSimulatedAcquisition::GetSettings() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Settings;
}

void CSimulatedAcquisition::Trigger()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    ++m_PendingTriggers;
    m_Wake.notify_all();
}

void CSimulatedAcquisition::RequestStop()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_StopRequested = true;
    m_Wake.notify_all();
}

void CSimulatedAcquisition::PrepareStart()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_StopRequested = false;
    m_PendingTriggers = 0;
}

double CSimulatedAcquisition::FactorFromTesla(CUnits::UnitType units)
{
    if (units == CUnits::UnitType::ADC)
        return 1e6;
    const KVL::eZRQ5520Units code = ConvertUnitsToZRQ5520(units);
    return KVL::UnitsConversionFactor(KVL::eTesla, code);
}

QSharedPointer<CMeasureBlock> CSimulatedAcquisition::MakeBlock(const Settings& settings, double startTime,
                                                               qint64 startEpochNs)
{
    const int n = std::clamp(settings.blockSize, 1, MaxBlockSize);
    const double rate = std::clamp(settings.acquisitionRate, 1e-3, MaxAcquisitionRate);
    const double factor = FactorFromTesla(settings.units);
    QSharedPointer<CMeasureBlock> block(new CMeasureBlock());
    block->Results.reserve(n);
    const double duration = n / rate;
    const CSimulatedField::Vector first = CSimulatedField::Clean(startTime, settings.position);
    const CSimulatedField::Vector last = CSimulatedField::Clean(startTime + duration, settings.position);
    const CSimulatedField::Vector derivative = {
        (last[0] - first[0]) / duration, (last[1] - first[1]) / duration, (last[2] - first[2]) / duration};
    block->Bprime.setX(derivative[0] * factor);
    block->Bprime.setY(derivative[1] * factor);
    block->Bprime.setZ(derivative[2] * factor);

    // A local-time conversion costs microseconds (the zone file is consulted each
    // time): one at each end of the block, and when both ends share their UTC
    // offset, every sample shows its wall-clock time through that fixed offset.
    const qint64 firstMs = startEpochNs / 1000000;
    const qint64 lastMs = (startEpochNs + qint64(std::llround((n - 1) / rate * 1e9))) / 1000000;
    const int offset = QDateTime::fromMSecsSinceEpoch(firstMs).offsetFromUtc();
    const bool oneOffset = QDateTime::fromMSecsSinceEpoch(lastMs).offsetFromUtc() == offset;

    for (int i = 0; i < n; ++i)
    {
        const double t = startTime + i / rate;
        const CSimulatedField::Vector b =
            m_Field.Sample(t, settings.position, settings.averaging, settings.bias);
        const double magnitude = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
        QSharedPointer<CFieldIntensityResult> sample = QSharedPointer<CFieldIntensityResult>::create();
        const qint64 epochNs = startEpochNs + qint64(std::llround(i / rate * 1e9));
        sample->Timestamp = oneOffset
                                ? QDateTime::fromMSecsSinceEpoch(epochNs / 1000000, Qt::OffsetFromUTC, offset)
                                : QDateTime::fromMSecsSinceEpoch(epochNs / 1000000);
        sample->TimestampNanosecond = quint64(epochNs % 1000000000LL);
        sample->setBx(float(b[0] * factor));
        sample->setBy(float(b[1] * factor));
        sample->setBz(float(b[2] * factor));
        sample->setB(float(magnitude * factor));
        sample->setdB(float((1e-4 * magnitude + 10e-9) * factor));
        const double along =
            magnitude > 0 ? (b[0] * derivative[0] + b[1] * derivative[1] + b[2] * derivative[2]) / magnitude
                          : 0.0;
        sample->setBBprime(float(along * factor));
        sample->setTemperature(quint16(31000 + std::lround(40.0 * std::sin(t / 300.0))));
        block->Results.append(sample);
    }
    block->setComment(QString());
    return block;
}

void CSimulatedAcquisition::run()
{
    QElapsedTimer clock;
    clock.start();
    const qint64 epochStartNs = QDateTime::currentMSecsSinceEpoch() * 1000000LL;
    // Read under the lock as everywhere: the GUI thread may set new settings meanwhile.
    const Settings first = GetSettings();
    double pacedRate = first.acquisitionRate;
    int pacedBlockSize = first.blockSize;
    CTrigger::TriggerMode pacedMode = first.mode;
    // Continuous modes: the next block's time counted in whole samples from an origin (in
    // nanoseconds since the start) at one rate, so that every block starts on the sampling
    // period to the nanosecond however long it runs; a sum of seconds drifts ("…11.400999999").
    qint64 originNs = 0;
    qint64 samplesSinceOrigin = 0;
    double originRate = std::clamp(first.acquisitionRate, 1e-3, MaxAcquisitionRate);
    const auto atSample = [&](qint64 samples) {
        return originNs + qint64(std::llround(double(samples) * 1e9 / originRate));
    };

    for (;;)
    {
        Settings settings;
        qint64 startNs = 0;
        {
            std::unique_lock<std::mutex> lock(m_Mutex);
            if (m_StopRequested)
                return;
            settings = m_Settings;
            if (settings.mode == CTrigger::TriggerMode::EXTERNAL)
            {
                if (m_PendingTriggers == 0)
                {
                    m_Wake.wait_for(lock, std::chrono::milliseconds(50));
                    continue;
                }
                --m_PendingTriggers;
                pacedMode = settings.mode;
                startNs = clock.nsecsElapsed();
            }
            else
            {
                const double rate = std::clamp(settings.acquisitionRate, 1e-3, MaxAcquisitionRate);
                const int samples = std::clamp(settings.blockSize, 1, MaxBlockSize);
                if (rate != originRate)
                {
                    // A new rate counts from where the old one left off.
                    originNs = atSample(samplesSinceOrigin);
                    samplesSinceOrigin = 0;
                    originRate = rate;
                }
                const qint64 nextNs = atSample(samplesSinceOrigin);
                const qint64 endNs = atSample(samplesSinceOrigin + samples);
                const qint64 nowNs = clock.nsecsElapsed();
                // A block is delivered when its last sample has been "measured".
                if (nowNs < endNs)
                {
                    const qint64 waitMs = std::min<qint64>(50, (endNs - nowNs) / 1000000);
                    m_Wake.wait_for(lock, std::chrono::milliseconds(std::max<qint64>(1, waitMs)));
                    continue;
                }
                startNs = nextNs;
                // Far behind, the clock restarts from now: after a change of pace that is
                // expected; otherwise the machine could not keep up, and the signal skipped
                // is said once each time it happens.
                const bool paceChanged = settings.acquisitionRate != pacedRate ||
                                         settings.blockSize != pacedBlockSize || pacedMode != settings.mode;
                pacedRate = settings.acquisitionRate;
                pacedBlockSize = settings.blockSize;
                pacedMode = settings.mode;
                const qint64 durationNs = endNs - nextNs;
                if (nowNs - nextNs > 2 * durationNs + 1000000000LL)
                {
                    const double skipped = double(nowNs - endNs) * 1e-9;
                    if (!paceChanged)
                        qCWarning(lcInstruments).noquote()
                            << QStringLiteral(
                                   "Simulated probe could not keep up: skipped %1 s of signal (%2 samples)")
                                   .arg(skipped, 0, 'f', 3)
                                   .arg(qint64(std::llround(skipped * rate)));
                    originNs = nowNs;
                    samplesSinceOrigin = 0;
                }
                else
                    samplesSinceOrigin += samples;
            }
        }
        m_Deliver(MakeBlock(settings, double(startNs) * 1e-9, epochStartNs + startNs));
        // Immediate mode: one acquisition per start.
        if (settings.mode == CTrigger::TriggerMode::IMMEDIATE)
            return;
    }
}
