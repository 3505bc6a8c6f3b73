#include "compute/FigureOfMerit.h"

#include "compute/CFastFourierTransform.h"
#include "compute/ComputationError.h"
#include "compute/FieldStatistics.h"

#include <algorithm>
#include <cmath>

namespace KVL
{
bool ComputeACFigureOfMeritPerBand(const CFluxList& signal, float sampleRate, std::vector<float> upperLimits,
                                   eFigureOfMerit figure, std::vector<float>& result)
{
    result.clear();
    return RunComputation([&] {
        const char* const context = "ComputeACFigureOfMeritPerBand";
        const int n = int(signal.size());
        if (n < 2)
            throw FluxException("Need signal with at least 2 samples", context);
        if (upperLimits.empty())
            throw FluxException("Need at least one frequency range", context);
        float previousLimit = 0.0f;
        for (const float limit : upperLimits)
        {
            // Written as a negation so that a NaN limit is refused too.
            if (!(limit > previousLimit))
                throw FluxException("Frequencies must be in ascending order", context);
            previousLimit = limit;
        }

        const std::shared_ptr<CFastFourierTransform> transform = CFastFourierTransform::ForSize(n);
        // Work buffers kept for the thread: blocks of one size come again and again.
        thread_local std::vector<CFastFourierTransform::Complex> spectrum;
        thread_local std::vector<CFastFourierTransform::Complex> band;
        thread_local CFluxList bandSignal;
        transform->ForwardRealHalf(signal.data(), spectrum);
        const float nyquist = sampleRate * 0.5f;
        const float binWidth = sampleRate / float(n);
        const int half = n / 2;
        float previous = 0.0f;
        long lo = 0;
        long mirror = n;
        band.assign(std::size_t(half + 1), CFastFourierTransform::Complex(0, 0));
        for (const float limit : upperLimits)
        {
            const float upper = std::min(limit, nyquist);
            if (previous >= nyquist)
            {
                result.push_back(0.0f);
                continue;
            }
            const long hi = std::lround(upper / binWidth);
            const long m = std::lround((sampleRate - upper) / binWidth);
            if (lo < hi && m < mirror)
            {
                // The band's signal is the real inverse of the kept bins 0..n/2 (the rest is
                // their mirror). Its mean square follows from those bins (Parseval), so RMS and
                // standard deviation need no inverse transform; peak-to-peak does.
                const auto kept = [&](int k) { return (lo <= k && k < hi) || (m <= k && k < mirror); };
                float value = 0.0f;
                if (figure == kPeakToPeak)
                {
                    for (int k = 0; k <= half; ++k)
                        band[std::size_t(k)] =
                            kept(k) ? spectrum[std::size_t(k)] : CFastFourierTransform::Complex(0, 0);
                    transform->InverseRealHalf(band.data(), bandSignal);
                    if (!ComputeP2PValue(bandSignal, value))
                        throw FluxException("Could not compute figure of merit", context);
                }
                else
                {
                    double energy = 0.0;
                    for (int k = 0; k <= half; ++k)
                    {
                        if (!kept(k))
                            continue;
                        // Bin 0 and, for an even length, bin n/2 have no mirror.
                        const double weight = k == 0 || 2 * k == n ? 1.0 : 2.0;
                        energy += weight * double(std::norm(spectrum[std::size_t(k)]));
                    }
                    const double count = double(n);
                    const double sumOfSquares = energy / count; // sum of x^2 over the n samples
                    if (figure == kRMS)
                    {
                        value = float(std::sqrt(sumOfSquares / count));
                    }
                    else
                    {
                        const double mean = kept(0) ? double(spectrum[0].real()) / count : 0.0;
                        value = float(
                            std::sqrt(std::max(0.0, sumOfSquares - count * mean * mean) / (count - 1.0)));
                    }
                }
                result.push_back(value);
            }
            else
            {
                result.push_back(0.0f);
            }
            lo = hi;
            mirror = m;
            previous = upper;
        }
        return true;
    });
}
} // namespace KVL
