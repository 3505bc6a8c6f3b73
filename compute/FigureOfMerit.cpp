#include "compute/FigureOfMerit.h"

#include "compute/CFastFourierTransform.h"
#include "compute/ComputationError.h"
#include "compute/FieldStatistics.h"

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
                throw FluxException("Frequencies ust be in ascending order", context);
            previousLimit = limit;
        }

        const std::shared_ptr<CFastFourierTransform> transform = CFastFourierTransform::ForSize(n);
        std::vector<CFastFourierTransform::Complex> spectrum;
        transform->ForwardReal(signal.data(), spectrum);

        const float nyquist = sampleRate * 0.5f;
        const float binWidth = sampleRate / float(n);
        const int half = n / 2;
        float previous = 0.0f;
        long lo = 0;
        long mirror = n;
        std::vector<CFastFourierTransform::Complex> band(std::size_t(half + 1));
        CFluxList bandSignal;
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
                // Only bins 0..n/2 reach the real inverse; the rest is their mirror.
                for (int k = 0; k <= half; ++k)
                {
                    const bool kept = (lo <= k && k < hi) || (m <= k && k < mirror);
                    band[std::size_t(k)] =
                        kept ? spectrum[std::size_t(k)] : CFastFourierTransform::Complex(0, 0);
                }
                transform->InverseRealHalf(band.data(), bandSignal);
                float value = 0.0f;
                bool computed = false;
                switch (figure)
                {
                case kRMS:
                    computed = ComputeRMSValue(bandSignal, value);
                    break;
                case kPeakToPeak:
                    computed = ComputeP2PValue(bandSignal, value);
                    break;
                case kStdDev:
                    computed = ComputeStdDevValue(bandSignal, value);
                    break;
                }
                if (!computed)
                    throw FluxException("Could not compute figure of merit", context);
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
