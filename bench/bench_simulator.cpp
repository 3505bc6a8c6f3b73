// The simulated probe at 100 kHz: the cost of building one second of signal
// (100 blocks of 1,000 samples), which is the share of a core the driver thread
// needs for it.
#include "plugins/simulatedprobe/CSimulatedAcquisition.h"

#include <QCoreApplication>
#include <QDateTime>

#include <benchmark/benchmark.h>

namespace
{
void BM_SimulatedSecondAt100kHz(benchmark::State& state)
{
    CSimulatedAcquisition acquisition([](QSharedPointer<CMeasureBlock>) {});
    CSimulatedAcquisition::Settings settings;
    settings.acquisitionRate = 100000;
    settings.blockSize = 1000;
    const qint64 startNs = QDateTime::currentMSecsSinceEpoch() * 1000000LL;
    double time = 0;
    for (auto _ : state)
    {
        for (int b = 0; b < 100; ++b)
        {
            benchmark::DoNotOptimize(acquisition.MakeBlock(settings, time, startNs + qint64(time * 1e9)));
            time += 0.01;
        }
    }
    // Seconds of CPU per second of signal, in percent of one core.
    state.counters["core_percent"] = benchmark::Counter(
        double(state.iterations()) / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SimulatedSecondAt100kHz)->Unit(benchmark::kMillisecond);
} // namespace
