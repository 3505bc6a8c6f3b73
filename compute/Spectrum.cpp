#include "compute/Spectrum.h"

#include "compute/CFastFourierTransform.h"
#include "compute/ComputationError.h"

#include <algorithm>
#include <cmath>

namespace KVL
{
namespace
{
// sin^2(i pi / (n - 1)) in single precision with pi = 3.1415927. Blocks keep
// their size, so the last window of this thread is kept.
const std::vector<float>& l_Window(int n)
{
    thread_local std::vector<float> window;
    if (int(window.size()) != n)
    {
        const float pi = 3.1415927f;
        const float denominator = float(n - 1);
        window.resize(std::size_t(n));
        for (int i = 0; i < n; ++i)
        {
            const float s = std::sin(float(i) * pi / denominator);
            window[std::size_t(i)] = s * s;
        }
    }
    return window;
}
} // namespace

bool ComputeSpectrum(const CFluxList& signal, CFluxList& spectrum)
{
    spectrum.clear();
    return RunComputation([&] {
        const int n = int(signal.size());
        if (n < 2)
            throw FluxException("Need signal with at least 2 samples", "ComputeSpectrum");

        const std::vector<float>& window = l_Window(n);
        std::vector<float> windowed(signal.size());
        for (std::size_t i = 0; i < signal.size(); ++i)
            windowed[i] = signal[i] * window[i];

        std::vector<CFastFourierTransform::Complex> half;
        CFastFourierTransform::ForSize(n)->ForwardRealHalf(windowed.data(), half);

        const float scale = 2.0f / float(n);
        spectrum.reserve(half.size());
        for (const CFastFourierTransform::Complex& bin : half)
            spectrum.push_back(scale * std::hypot(bin.real(), bin.imag()));
        return true;
    });
}

namespace
{
// The peak of bins s … e: the first largest, refined by a parabola through its
// neighbours unless it lies at either end; a line's amplitude is twice its bin
// (the window halves it), a constant's at 0 Hz is its bin.
void l_AddPeak(const std::vector<double>& v, std::size_t s, std::size_t e, float binWidth,
               std::vector<float>& frequencies, std::vector<float>& amplitudes)
{
    std::size_t k = s;
    for (std::size_t j = s + 1; j <= e; ++j)
        if (v[j] > v[k])
            k = j;
    double delta = 0.0;
    double peak = v[k];
    if (k != s && k != e)
    {
        const double alpha = v[k - 1];
        const double beta = v[k];
        const double gamma = v[k + 1];
        delta = 0.5 * (alpha - gamma) / (alpha - 2.0 * beta + gamma);
        peak = beta - 0.25 * (alpha - gamma) * delta;
    }
    const float frequency = float(double(k) + delta) * binWidth;
    frequencies.push_back(frequency);
    amplitudes.push_back(frequency > 0.0f ? float(2.0 * peak) : float(peak));
}
} // namespace

bool ComputeSpectralPeaks(const CFluxList& spectrum, float binWidth, float thresholdDb,
                          std::vector<float>& frequencies, std::vector<float>& amplitudes)
{
    frequencies.clear();
    amplitudes.clear();
    return RunComputation([&] {
        const std::size_t n = spectrum.size();
        if (n < 2)
            throw FluxException("Need spectrum with at least 2 bins", "ComputeSpectralPeaks");

        thread_local std::vector<double> v;
        thread_local std::vector<double> sorted;
        v.assign(spectrum.begin(), spectrum.end());
        sorted = v;
        // Only the middle element(s) are needed: nth_element keeps this linear.
        const std::size_t middle = n / 2;
        std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(middle), sorted.end());
        double median = sorted[middle];
        if (n % 2 == 0)
        {
            const double lower = *std::max_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(middle));
            median = (lower + median) / 2.0;
        }
        const double threshold = median * std::pow(10.0, double(thresholdDb) / 20.0);
        if (n == 2)
            return true;

        std::size_t i = 0;
        while (i < n - 2)
        {
            if (!(v[i] > threshold))
            {
                ++i;
                continue;
            }
            const std::size_t s = i;
            std::size_t e = s;
            while (e + 1 < n && v[e + 1] > threshold)
                ++e;

            // A run may hold several lines (a clean signal stays above the threshold between
            // them): it is cut at each dip that lies 6 dB or more below the lines on both sides,
            // and each part gives its peak.
            // Bumps 80 dB below the run's largest line are the rounding of single precision,
            // not lines.
            const double floor =
                1e-4 * *std::max_element(v.begin() + std::ptrdiff_t(s), v.begin() + std::ptrdiff_t(e) + 1);
            std::size_t from = s;
            std::size_t top = s; // the largest bin of the part so far
            std::size_t j = s;
            while (j < e)
            {
                while (j < e && v[j + 1] >= v[j])
                    ++j;
                if (v[j] > v[top])
                    top = j;
                while (j < e && v[j + 1] <= v[j])
                    ++j;
                if (j == e)
                    break;
                const std::size_t dip = j;
                std::size_t next = dip;
                while (next < e && v[next + 1] >= v[next])
                    ++next;
                if (v[top] >= 2.0 * v[dip] && v[next] >= 2.0 * v[dip] && std::min(v[top], v[next]) >= floor)
                {
                    l_AddPeak(v, from, dip, binWidth, frequencies, amplitudes);
                    from = dip + 1;
                    top = from;
                }
            }
            l_AddPeak(v, from, e, binWidth, frequencies, amplitudes);
            i = e + 1;
        }
        return true;
    });
}
bool ComputeSpectralPeaksFrom(const CFluxList& spectrum, float binWidth, float thresholdDb,
                              double minFrequency, std::vector<float>& frequencies,
                              std::vector<float>& amplitudes)
{
    const bool computed = ComputeSpectralPeaks(spectrum, binWidth, thresholdDb, frequencies, amplitudes);
    // Peaks come in frequency order: those below the window are at the front.
    const auto below = std::count_if(frequencies.begin(), frequencies.end(),
                                     [minFrequency](float f) { return double(f) < minFrequency; });
    frequencies.erase(frequencies.begin(), frequencies.begin() + below);
    amplitudes.erase(amplitudes.begin(), amplitudes.begin() + below);
    return computed;
}
} // namespace KVL
