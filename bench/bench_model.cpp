// Cost of holding measurements: resident bytes per stored sample and the time
// to build a full measurement data set of 1000 blocks of 1000 samples.
#include "app/CSettings.h"
#include "model/CDataSetMeasurement.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <unistd.h>

namespace
{
long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

QSharedPointer<CMeasureBlock> makeBlock(int samples, const QDateTime& start)
{
    QSharedPointer<CMeasureBlock> block(new CMeasureBlock());
    block->Results.reserve(samples);
    for (int i = 0; i < samples; ++i)
    {
        QSharedPointer<CFieldIntensityResult> sample(new CFieldIntensityResult());
        sample->Timestamp = start;
        sample->TimestampNanosecond = quint64(i) * 1000;
        sample->setBx(1e-5f * float(i));
        sample->setBy(2e-5f);
        sample->setBz(3e-5f);
        sample->setB(4e-5f);
        sample->setdB(1e-7f);
        sample->setBBprime(0.5f);
        sample->setTemperature(31000);
        block->Results.append(sample);
    }
    return block;
}

void BM_FullMeasurementDataSet(benchmark::State& state)
{
    const int blocks = int(state.range(0));
    const int samples = int(state.range(1));
    QTemporaryDir dir;
    CSettings settings(QString(), nullptr, dir.path());
    settings.setMeasurementMaxMeasurementCount(quint64(blocks) * quint64(samples));
    const QDateTime start = QDateTime::currentDateTime();
    double bytesPerSample = 0;
    for (auto _ : state)
    {
        const long before = residentBytes();
        CDataSetMeasurement set(settings);
        for (int b = 0; b < blocks; ++b)
            set.AddMeasureBlock(makeBlock(samples, start));
        const long after = residentBytes();
        // Freed memory is reused by later iterations: the first one tells the true cost.
        bytesPerSample = std::max(bytesPerSample, double(after - before) / (double(blocks) * samples));
        benchmark::DoNotOptimize(set.ResultsCount());
        state.PauseTiming();
        set.Clear();
        state.ResumeTiming();
    }
    state.counters["bytes_per_sample"] = bytesPerSample;
    state.counters["samples_per_s"] =
        benchmark::Counter(double(blocks) * samples, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FullMeasurementDataSet)->Args({1000, 1000})->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
