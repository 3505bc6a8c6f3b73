#include "plugins/simulatedprobe/CSimulatedAcquisition.h"

#include "compute/FieldStatistics.h"

#include <QDateTime>
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
    QMutexLocker lock(&m_Mutex);
    m_Settings = settings;
    m_Wake.wakeAll();
}

CSimulatedAcquisition::Settings CSimulatedAcquisition::GetSettings() const
{
    QMutexLocker lock(&m_Mutex);
    return m_Settings;
}

void CSimulatedAcquisition::Trigger()
{
    QMutexLocker lock(&m_Mutex);
    ++m_PendingTriggers;
    m_Wake.wakeAll();
}

void CSimulatedAcquisition::RequestStop()
{
    QMutexLocker lock(&m_Mutex);
    m_StopRequested = true;
    m_Wake.wakeAll();
}

void CSimulatedAcquisition::PrepareStart()
{
    QMutexLocker lock(&m_Mutex);
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

QSharedPointer<CMeasureBlock> CSimulatedAcquisition::l_MakeBlock(const Settings& settings, double startTime,
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

    for (int i = 0; i < n; ++i)
    {
        const double t = startTime + i / rate;
        const CSimulatedField::Vector b =
            m_Field.Sample(t, settings.position, settings.averaging, settings.bias);
        const double magnitude = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
        QSharedPointer<CFieldIntensityResult> sample(new CFieldIntensityResult());
        const qint64 epochNs = startEpochNs + qint64(std::llround(i / rate * 1e9));
        sample->Timestamp = QDateTime::fromMSecsSinceEpoch(epochNs / 1000000);
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
    double nextBlockTime = 0.0; // seconds since the start, continuous modes

    for (;;)
    {
        Settings settings;
        double startTime = 0.0;
        {
            QMutexLocker lock(&m_Mutex);
            if (m_StopRequested)
                return;
            settings = m_Settings;
            if (settings.mode == CTrigger::TriggerMode::EXTERNAL)
            {
                if (m_PendingTriggers == 0)
                {
                    m_Wake.wait(&m_Mutex, 50);
                    continue;
                }
                --m_PendingTriggers;
                startTime = clock.nsecsElapsed() * 1e-9;
            }
            else
            {
                const double rate = std::clamp(settings.acquisitionRate, 1e-3, MaxAcquisitionRate);
                const double duration = std::clamp(settings.blockSize, 1, MaxBlockSize) / rate;
                const double now = clock.nsecsElapsed() * 1e-9;
                // A block is delivered when its last sample has been "measured".
                if (now < nextBlockTime + duration)
                {
                    const double wait = std::min(0.05, nextBlockTime + duration - now);
                    m_Wake.wait(&m_Mutex, std::max<unsigned long>(1, (unsigned long)(wait * 1000.0)));
                    continue;
                }
                startTime = nextBlockTime;
                // After a long pause (or a change of rate) the clock restarts from now.
                nextBlockTime = now - nextBlockTime > 2.0 * duration + 1.0 ? now : nextBlockTime + duration;
            }
        }
        const qint64 startEpochNs = epochStartNs + qint64(startTime * 1e9);
        m_Deliver(l_MakeBlock(settings, startTime, startEpochNs));
        // Immediate mode: one acquisition per start.
        if (settings.mode == CTrigger::TriggerMode::IMMEDIATE)
            return;
    }
}
