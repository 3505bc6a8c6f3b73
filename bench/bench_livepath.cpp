// Cost per block of the live path: the instrument's signal, the measurement
// operation, its recorder and the data set, with the blocks already built
// (as the driver's thread builds them), for blocks of 10, 1,000 and 100,000 samples.
#include "app/CSettings.h"
#include "instruments/CInstrument.h"
#include "instruments/CInstrumentListProvider.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"
#include "model/CMetaTypes.h"
#include "operations/COperationsManager.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{
class BenchInstrument : public CInstrument
{
public:
    void SendTrigger() override {}
    bool Connect() override { return true; }
    void Disconnect() override {}
    void StartMeasurement() override {}
    void StopMeasurement() override {}
    void CalibrateZeroOffset(bool) override {}
    void RestoreZeroOffsetToFactory() override {}
    void deliver(const QSharedPointer<CMeasureBlock>& block) { emit OnNewMeasureBlock(block); }
};

QSharedPointer<CMeasureBlock> makeBlock(int samples)
{
    QSharedPointer<CMeasureBlock> block(new CMeasureBlock());
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < samples; ++i)
    {
        QSharedPointer<CFieldIntensityResult> s(new CFieldIntensityResult());
        s->Timestamp = now;
        s->setB(1e-5f);
        block->Results.append(s);
    }
    return block;
}

// The live path as the program wires it: a connected instrument and the active measurement operation.
struct LivePath
{
    QTemporaryDir dir;
    CSettings settings{QString(), nullptr, dir.path()};
    CPluginsManager plugins{settings};
    CInstrumentSupervisor supervisor{settings};
    QSharedPointer<CInstrument> instrument{new BenchInstrument()};
    COperationsManager operations{settings, plugins, supervisor};
    COperationMeasure* measure = operations.MeasureOperation();

    LivePath()
    {
        settings.setMeasurementMaxMeasurementCount(120000);
        supervisor.SetActiveInstrument(instrument);
        operations.setActiveOperation(measure);
    }
    void deliver(const QSharedPointer<CMeasureBlock>& block)
    {
        static_cast<BenchInstrument*>(instrument.data())->deliver(block);
    }
};

void BM_LivePath(benchmark::State& state)
{
    const int samples = int(state.range(0));
    LivePath path;
    path.measure->RecordingManager()->ResetRecord();
    std::vector<QSharedPointer<CMeasureBlock>> pool;
    for (int i = 0; i < 8; ++i)
        pool.push_back(makeBlock(samples));
    std::size_t next = 0;
    for (auto _ : state)
    {
        path.deliver(pool[next]);
        next = (next + 1) % pool.size();
    }
    state.counters["samples_per_s"] =
        benchmark::Counter(double(samples), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["blocks_kept"] = double(path.measure->RecordingManager()->NumBlocks());
}
BENCHMARK(BM_LivePath)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The same with a new block each time, as in a run: building the samples and,
// once the data set is full, releasing the oldest blocks are included.
void BM_LivePathFreshBlocks(benchmark::State& state)
{
    const int samples = int(state.range(0));
    LivePath path;
    for (auto _ : state)
        path.deliver(makeBlock(samples));
    state.counters["samples_per_s"] =
        benchmark::Counter(double(samples), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LivePathFreshBlocks)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
} // namespace
