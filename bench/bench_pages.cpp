// Work per block on the GUI thread of the spectrum and AC analysis pages, for
// blocks of 1,000, 65,536 and 1,000,000 samples: the spectrum page (spectrum,
// peaks, downsampling, limit check) and the AC page (chart point of seven
// figures, band table of five quantities over ten bands). Also the spectrum
// computation alone, warm, and cold: run
//   build/bench/bench_pages --benchmark_filter=Cold
// in a fresh process, where no large allocation has happened yet.
#include "app/CSettings.h"
#include "compute/Spectrum.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"
#include "model/CMeasureBlock.h"
#include "operations/COperationMeasure.h"
#include "viewmodels/CAcAnalysisOperationViewModel.h"
#include "viewmodels/CFrequencyPeakListData.h"
#include "viewmodels/CFrequencyTableData.h"
#include "viewmodels/CSpectrumOperationViewModel.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

namespace
{
using KVL::Instrument::ZRQ5520Types::CFluxList;

CFluxList signal(std::size_t n)
{
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0.0f, 0.01f);
    CFluxList values(n);
    for (std::size_t i = 0; i < n; ++i)
        values[i] = 44.0f + 0.8f * std::sin(2.0f * 3.14159265f * 50.0f * float(i) / float(n)) + noise(random);
    return values;
}

QSharedPointer<CMeasureBlock> block(int n)
{
    const CFluxList values = signal(std::size_t(n));
    QSharedPointer<CMeasureBlock> b(new CMeasureBlock());
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < n; ++i)
    {
        auto s = QSharedPointer<CFieldIntensityResult>::create();
        s->Timestamp = start;
        s->setB(values[std::size_t(i)]);
        s->setBBprime(values[std::size_t(i)] * 0.1f);
        s->setBx(values[std::size_t(i)] * 0.3f);
        s->setBy(values[std::size_t(i)] * 0.2f);
        s->setBz(values[std::size_t(i)]);
        b->Results.append(s);
    }
    return b;
}

// An operation measuring n samples a second in blocks of n, with ten limits up to the Nyquist frequency.
struct Bench
{
    QTemporaryDir dir;
    CSettings settings{"/p", nullptr, dir.path()};
    CPluginsManager plugins{settings};
    CInstrumentSupervisor supervisor{settings};
    COperationMeasure operation{settings, plugins, supervisor};

    explicit Bench(int n)
    {
        CMeasurementParameters* m = operation.MeasurementParameters();
        m->setUnits(CUnits::UnitType::MICRO_TESLA);
        m->setDisplayUnits(CUnits::UnitType::MICRO_TESLA);
        m->setAcquisitionRate(n);
        m->setBlockSize(n);
        m->setFrequencyMin(0);
        m->setFrequencyMax(n / 2.0);
        for (int b = 1; b <= 10; ++b)
            operation.LimitsFile()->AddLimit(n * 0.05 * b, CUnits::UnitType::HZ, 100.0,
                                             CUnits::UnitType::MICRO_TESLA);
        operation.setLimitsFileLoaded(true);
    }
};

void BM_SpectrumCold(benchmark::State& state)
{
    const CFluxList input = signal(std::size_t(state.range(0)));
    CFluxList spectrum;
    for (auto _ : state)
    {
        KVL::ComputeSpectrum(input, spectrum);
        benchmark::DoNotOptimize(spectrum.data());
    }
}
// First in the file: in a fresh process it runs before any large allocation.
BENCHMARK(BM_SpectrumCold)->Arg(65536)->Unit(benchmark::kMicrosecond);

void BM_SpectrumWarm(benchmark::State& state)
{
    // Something large was allocated and freed first, as in a program that has run a while.
    {
        std::vector<char> large(std::size_t(64) << 20, 1);
        benchmark::DoNotOptimize(large.data());
    }
    const CFluxList input = signal(std::size_t(state.range(0)));
    CFluxList spectrum;
    for (auto _ : state)
    {
        KVL::ComputeSpectrum(input, spectrum);
        benchmark::DoNotOptimize(spectrum.data());
    }
}
BENCHMARK(BM_SpectrumWarm)->Arg(1000)->Arg(65536)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_SpectrumPagePerBlock(benchmark::State& state)
{
    const int n = int(state.range(0));
    Bench bench(n);
    bench.operation.OperationParameters()->AlarmParametersSpectrum()->setState(
        CAlarm::AlarmState::FlagNotification);
    CSpectrumOperationViewModel page(bench.settings, &bench.operation);
    page.setSelectedFieldIndex(4);
    const QSharedPointer<CMeasureBlock> b = block(n);
    for (auto _ : state)
        page.OnNewMeasure(b);
    state.counters["peaks"] = page.Table()->rowCount();
}
BENCHMARK(BM_SpectrumPagePerBlock)->Arg(1000)->Arg(65536)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_AcPagePerBlock(benchmark::State& state)
{
    const int n = int(state.range(0));
    Bench bench(n);
    CAcAnalysisOperationViewModel page(bench.settings, &bench.operation);
    const QSharedPointer<CMeasureBlock> b = block(n);
    bench.operation.RecordingManager()->AddMeasureBlock(b); // the band table reads the newest block
    for (auto _ : state)
        page.OnNewMeasure(b);
    state.counters["bands"] = page.Table()->rowCount();
}
BENCHMARK(BM_AcPagePerBlock)->Arg(1000)->Arg(65536)->Arg(1000000)->Unit(benchmark::kMicrosecond);
} // namespace
