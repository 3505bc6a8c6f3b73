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

void BM_LivePath(benchmark::State& state)
{
    const int samples = int(state.range(0));
    QTemporaryDir dir;
    CSettings settings(QString(), nullptr, dir.path());
    settings.setMeasurementMaxMeasurementCount(120000);
    CPluginsManager plugins(settings);
    CInstrumentSupervisor supervisor(settings);
    QSharedPointer<CInstrument> instrument(new BenchInstrument());
    supervisor.SetActiveInstrument(instrument);
    COperationsManager operations(settings, plugins, supervisor);
    COperationMeasure* measure = operations.MeasureOperation();
    operations.setActiveOperation(measure);
    measure->RecordingManager()->ResetRecord();

    std::vector<QSharedPointer<CMeasureBlock>> pool;
    for (int i = 0; i < 8; ++i)
        pool.push_back(makeBlock(samples));
    auto* source = static_cast<BenchInstrument*>(instrument.data());
    std::size_t next = 0;
    for (auto _ : state)
    {
        source->deliver(pool[next]);
        next = (next + 1) % pool.size();
    }
    state.counters["samples_per_s"] =
        benchmark::Counter(double(samples), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["blocks_kept"] = double(measure->RecordingManager()->NumBlocks());
}
BENCHMARK(BM_LivePath)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The same with a new block each time, as in a run: building the samples and,
// once the data set is full, releasing the oldest blocks are included.
void BM_LivePathFreshBlocks(benchmark::State& state)
{
    const int samples = int(state.range(0));
    QTemporaryDir dir;
    CSettings settings(QString(), nullptr, dir.path());
    settings.setMeasurementMaxMeasurementCount(120000);
    CPluginsManager plugins(settings);
    CInstrumentSupervisor supervisor(settings);
    QSharedPointer<CInstrument> instrument(new BenchInstrument());
    supervisor.SetActiveInstrument(instrument);
    COperationsManager operations(settings, plugins, supervisor);
    operations.setActiveOperation(operations.MeasureOperation());
    auto* source = static_cast<BenchInstrument*>(instrument.data());
    for (auto _ : state)
        source->deliver(makeBlock(samples));
    state.counters["samples_per_s"] =
        benchmark::Counter(double(samples), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LivePathFreshBlocks)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    CMetaTypes::Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
