// Speed of the field computations. The FFTW rows (built only where Debian's
// libfftw3-dev is present) are a reference for comparison, never linked into the program.
#include "compute/CExposureAssessment.h"
#include "compute/CFastFourierTransform.h"
#include "compute/CLaneFourierTransform.h"
#include "compute/FigureOfMerit.h"
#include "compute/Spectrum.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#ifdef TESVANA_HAVE_FFTW
#include <fftw3.h>
#endif

using namespace KVL;

namespace
{
CFluxList signal(std::size_t n)
{
    std::mt19937 generator(42);
    std::normal_distribution<float> noise(0.0f, 1e-3f);
    CFluxList values(n);
    for (std::size_t i = 0; i < n; ++i)
        values[i] = 1e-4f * std::sin(2.0f * 3.1415927f * 50.0f * float(i) / 10000.0f) + noise(generator);
    return values;
}

void BM_ComputeSpectrum(benchmark::State& state)
{
    const CFluxList input = signal(std::size_t(state.range(0)));
    CFluxList spectrum;
    for (auto _ : state)
    {
        ComputeSpectrum(input, spectrum);
        benchmark::DoNotOptimize(spectrum.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ComputeSpectrum)
    ->Arg(1024)
    ->Arg(4096)
    ->Arg(10000)
    ->Arg(65536)
    ->Arg(65537)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

// Both exposure indices of one block of three axes (the 50 Hz line and noise,
// a static field, in microtesla) against the general public's curve.
void BM_ExposureIndices(benchmark::State& state)
{
    const std::size_t n = std::size_t(state.range(0));
    CFluxList x = signal(n), y = signal(n), z = signal(n);
    for (std::size_t i = 0; i < n; ++i)
    {
        x[i] = 16.5f + 1e4f * x[i];
        y[i] = -3.0f + 0.5e4f * y[i];
    }
    CExposureAssessment assessment;
    assessment.SetStandard(CExposureAssessment::Standard::Icnirp2010Public, 1e6);
    CExposureAssessment::Result result;
    for (auto _ : state)
    {
        assessment.Assess(x.data(), y.data(), z.data(), int(n), 10000.0, result);
        benchmark::DoNotOptimize(result.WeightedPeak);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ExposureIndices)->Arg(1000)->Arg(65536)->Unit(benchmark::kMicrosecond);

// Four signals in the lanes of one transform (the exposure's three axes and a spare).
void BM_LaneTransform(benchmark::State& state)
{
    const int n = int(state.range(0));
    const CFluxList input = signal(std::size_t(n));
    std::vector<CLaneFourierTransform::Lanes> lanes, re, im;
    lanes.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        lanes[std::size_t(i)] = CLaneFourierTransform::Lanes{input[std::size_t(i)], 0, 0, 0};
    const std::shared_ptr<CLaneFourierTransform> fft = CLaneFourierTransform::ForSize(n);
    for (auto _ : state)
    {
        fft->ForwardReal(lanes.data(), re, im);
        benchmark::DoNotOptimize(re.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LaneTransform)->Arg(4096)->Arg(8192)->Arg(65536)->Unit(benchmark::kMicrosecond);

void BM_TransformOnly(benchmark::State& state)
{
    const CFluxList input = signal(std::size_t(state.range(0)));
    std::vector<CFastFourierTransform::Complex> half;
    for (auto _ : state)
    {
        CFastFourierTransform::ForSize(int(input.size()))->ForwardRealHalf(input.data(), half);
        benchmark::DoNotOptimize(half.data());
    }
}
BENCHMARK(BM_TransformOnly)->Arg(4096)->Arg(65536)->Arg(65537)->Unit(benchmark::kMicrosecond);

#ifdef TESVANA_HAVE_FFTW
// The same spectrum (window, transform, amplitudes) with FFTW's single-precision real transform.
void BM_FftwSpectrum(benchmark::State& state)
{
    const int n = int(state.range(0));
    const CFluxList input = signal(std::size_t(n));
    float* in = fftwf_alloc_real(std::size_t(n));
    fftwf_complex* out = fftwf_alloc_complex(std::size_t(n / 2 + 1));
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
    CFluxList spectrum(std::size_t(n / 2 + 1));
    for (auto _ : state)
    {
        for (int i = 0; i < n; ++i)
        {
            const float s = std::sin(float(i) * 3.1415927f / float(n - 1));
            in[i] = input[std::size_t(i)] * s * s;
        }
        fftwf_execute(plan);
        const float scale = 2.0f / float(n);
        for (int k = 0; k <= n / 2; ++k)
            spectrum[std::size_t(k)] = scale * std::hypot(out[k][0], out[k][1]);
        benchmark::DoNotOptimize(spectrum.data());
    }
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
}
BENCHMARK(BM_FftwSpectrum)
    ->Arg(1024)
    ->Arg(4096)
    ->Arg(10000)
    ->Arg(65536)
    ->Arg(65537)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

void BM_FftwTransformOnly(benchmark::State& state)
{
    const int n = int(state.range(0));
    const CFluxList input = signal(std::size_t(n));
    float* in = fftwf_alloc_real(std::size_t(n));
    fftwf_complex* out = fftwf_alloc_complex(std::size_t(n / 2 + 1));
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
    std::copy(input.begin(), input.end(), in);
    for (auto _ : state)
    {
        fftwf_execute(plan);
        benchmark::DoNotOptimize(out);
    }
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
}
BENCHMARK(BM_FftwTransformOnly)->Arg(4096)->Arg(65536)->Arg(65537)->Unit(benchmark::kMicrosecond);
#endif

void BM_FigureOfMerit10Bands(benchmark::State& state)
{
    const int n = int(state.range(0));
    const float fs = float(n);
    const CFluxList input = signal(std::size_t(n));
    std::vector<float> limits;
    for (int b = 1; b <= 10; ++b)
        limits.push_back(fs * 0.5f * float(b) / 10.0f);
    std::vector<float> figures;
    for (auto _ : state)
    {
        ComputeACFigureOfMeritPerBand(input, fs, limits, kRMS, figures);
        benchmark::DoNotOptimize(figures.data());
    }
}
BENCHMARK(BM_FigureOfMerit10Bands)->Arg(10000)->Arg(65536)->Unit(benchmark::kMicrosecond);

void BM_SpectralPeaks(benchmark::State& state)
{
    CFluxList spectrum;
    ComputeSpectrum(signal(65536), spectrum);
    std::vector<float> frequencies, amplitudes;
    for (auto _ : state)
    {
        ComputeSpectralPeaks(spectrum, 0.15f, 20.0f, frequencies, amplitudes);
        benchmark::DoNotOptimize(frequencies.data());
    }
    state.counters["bins"] = double(spectrum.size());
}
BENCHMARK(BM_SpectralPeaks)->Unit(benchmark::kMicrosecond);
} // namespace
