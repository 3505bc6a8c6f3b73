#include "compute/CExposureAssessment.h"

#include "compute/CLaneFourierTransform.h"
#include "model/CMeasureBlock.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace KVL
{
namespace
{
constexpr double Pi = 3.14159265358979323846;
constexpr double LowestFrequency = 1.0; // Hz: no reference level below
constexpr double TaperShare = 0.25;
constexpr double LineAboveFloor = 10; // power ratio: 10 dB
constexpr int MinimumBandBins = 16;
const double ThirdOctave = std::cbrt(2.0);
// Four-term Blackman-Harris: a0 - a1 cos + a2 cos 2 - a3 cos 3.
constexpr float BlackmanHarris[4] = {0.35875f, 0.48829f, 0.14128f, 0.01168f};

// The corners of a standard's curve and its levels (tesla, f in Hz).
struct Curve
{
    double lowCoefficient;   // level = lowCoefficient / f^2 up to corner1
    double slopeCoefficient; // level = slopeCoefficient / f from corner1 to corner2
    double flat;             // from corner2 to corner3
    double highCoefficient;  // level = highCoefficient / f from corner3 to corner4
    double top;              // above corner4
    double corner1, corner2, corner3, corner4;
};

const Curve* curveOf(CExposureAssessment::Standard standard)
{
    static const Curve Public{4e-2, 5e-3, 2e-4, 8e-2, 2.7e-5, 8, 25, 400, 3000};
    static const Curve Occupational{0.2, 2.5e-2, 1e-3, 0.3, 1e-4, 8, 25, 300, 3000};
    switch (standard)
    {
    case CExposureAssessment::Standard::Icnirp2010Public:
        return &Public;
    case CExposureAssessment::Standard::Icnirp2010Occupational:
        return &Occupational;
    case CExposureAssessment::Standard::None:
        break;
    }
    return nullptr;
}

// The curve without its lower bound: the f^2 law goes on down to 0 Hz.
double level(const Curve& c, double f)
{
    if (f <= c.corner1)
        return c.lowCoefficient / (f * f);
    if (f <= c.corner2)
        return c.slopeCoefficient / f;
    if (f <= c.corner3)
        return c.flat;
    if (f <= c.corner4)
        return c.highCoefficient / f;
    return c.top;
}
} // namespace

void CExposureAssessment::SetStandard(Standard standard, double teslaToUnit)
{
    m_Standard = standard;
    m_TeslaToUnit = teslaToUnit;
    m_Steps.clear();
    m_PreparedSize = 0;
}

void CExposureAssessment::SetSteps(std::vector<Step> steps)
{
    m_Standard = Standard::None;
    m_Steps = std::move(steps);
    m_PreparedSize = 0;
}

CExposureAssessment::Standard CExposureAssessment::SetLimits(std::vector<Step> steps, double teslaToUnit)
{
    const Standard standard = Recognise(steps, teslaToUnit);
    if (standard != Standard::None)
        SetStandard(standard, teslaToUnit);
    else
        SetSteps(std::move(steps));
    return standard;
}

QString CExposureAssessment::StandardName(Standard standard)
{
    switch (standard)
    {
    case Standard::Icnirp2010Public:
        return QCoreApplication::translate("CExposureAssessment", "ICNIRP 2010 general public");
    case Standard::Icnirp2010Occupational:
        return QCoreApplication::translate("CExposureAssessment", "ICNIRP 2010 occupational");
    case Standard::None:
        break;
    }
    return QString();
}

double CExposureAssessment::ReferenceLevel(Standard standard, double frequency)
{
    const Curve* c = curveOf(standard);
    if (!c || !(frequency >= LowestFrequency))
        return std::numeric_limits<double>::quiet_NaN();
    return level(*c, frequency);
}

std::complex<double> CExposureAssessment::Weighting(Standard standard, double frequency)
{
    const Curve* c = curveOf(standard);
    if (!c || !(frequency > 0))
        return 0.0;
    const double magnitude = 1.0 / (std::sqrt(2.0) * level(*c, frequency));
    // s^2 (1 + s/w3) / ((1 + s/w1) (1 + s/w2) (1 + s/w4)) at s = i 2 pi f.
    const double phase = Pi + std::atan(frequency / c->corner3) - std::atan(frequency / c->corner1) -
                         std::atan(frequency / c->corner2) - std::atan(frequency / c->corner4);
    return std::polar(magnitude, phase);
}

CExposureAssessment::Standard CExposureAssessment::Recognise(const std::vector<Step>& steps,
                                                             double teslaToUnit)
{
    if (steps.size() < 8 || !(teslaToUnit > 0))
        return Standard::None;
    for (const Standard standard : {Standard::Icnirp2010Public, Standard::Icnirp2010Occupational})
    {
        const bool follows = std::all_of(steps.begin(), steps.end(), [&](const Step& step) {
            const double expected = ReferenceLevel(standard, step.upperFrequency) * teslaToUnit;
            return std::isfinite(expected) && std::abs(step.limit - expected) <= 1e-4 * expected;
        });
        // The whole curve, not a piece of it.
        if (follows && steps.front().upperFrequency < 1.1 && steps.back().upperFrequency >= 1e5)
            return standard;
    }
    return Standard::None;
}

const char* CExposureAssessment::Key(Standard standard)
{
    switch (standard)
    {
    case Standard::Icnirp2010Public:
        return "icnirp2010-public";
    case Standard::Icnirp2010Occupational:
        return "icnirp2010-occupational";
    case Standard::None:
        break;
    }
    return "";
}

CExposureAssessment::Standard CExposureAssessment::FromKey(const char* key)
{
    for (const Standard standard : {Standard::Icnirp2010Public, Standard::Icnirp2010Occupational})
        if (std::strcmp(key, Key(standard)) == 0)
            return standard;
    return Standard::None;
}

double CExposureAssessment::l_Limit(double frequency) const
{
    // Below 1 Hz the limit rises with the square of the falling frequency, as the
    // weighting filter's gain falls: both indices weigh slow content alike (a line
    // found a hair under 1 Hz counts as at 1 Hz), and the static field not at all.
    if (frequency < LowestFrequency)
        return l_Limit(LowestFrequency) * (LowestFrequency / frequency) * (LowestFrequency / frequency);
    if (m_Standard != Standard::None)
        return ReferenceLevel(m_Standard, frequency) * m_TeslaToUnit;
    for (const Step& step : m_Steps)
        if (frequency <= step.upperFrequency)
            return step.limit;
    return std::numeric_limits<double>::quiet_NaN();
}

bool CExposureAssessment::Assess(const float* bx, const float* by, const float* bz, int n, double rate,
                                 Result& result)
{
    result = Result();
    if (n < 4 || !(rate > 0) || !std::isfinite(rate) || (m_Standard == Standard::None && m_Steps.empty()))
        return false;
    const float* const axes[3] = {bx, by, bz};
    for (int a = 0; a < 3; ++a)
    {
        double sum = 0;
        for (int i = 0; i < n; ++i)
            sum += double(axes[a][i]);
        m_Mean[a] = sum / n;
        if (!std::isfinite(m_Mean[a]))
            return false;
    }
    // The three axes in the lanes of one transform, their means removed.
    // Samples and mean of like size: their difference in single precision is exact.
    const Lanes mean{float(m_Mean[0]), float(m_Mean[1]), float(m_Mean[2]), 0.0f};
    m_Packed.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        m_Packed[std::size_t(i)] = Lanes{bx[i], by[i], bz[i], 0.0f} - mean;
    l_Prepare(n, rate);
    m_Work.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        m_Work[std::size_t(i)] = m_Packed[std::size_t(i)] * m_Taper[std::size_t(i)];
    CLaneFourierTransform::ForSize(n)->ForwardReal(m_Work.data(), m_Re, m_Im);
    result.Summation = l_Summation(n, rate, result);
    if (m_Standard != Standard::None)
        result.WeightedPeak = l_WeightedPeak(n, result.WeightedPeakSample);
    return true;
}

bool CExposureAssessment::Assess(const CMeasureBlock& block, double rate, Result& result)
{
    const int n = block.Results.size();
    m_X.resize(std::size_t(n));
    m_Y.resize(std::size_t(n));
    m_Z.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
    {
        const CFieldIntensityResult& sample = *block.Results[i];
        m_X[std::size_t(i)] = sample.Bx();
        m_Y[std::size_t(i)] = sample.By();
        m_Z[std::size_t(i)] = sample.Bz();
    }
    return Assess(m_X.data(), m_Y.data(), m_Z.data(), n, rate, result);
}

// The power of the vector per bin of the block windowed by the taper times a
// Blackman-Harris window, scaled so that a tone's bins add up to its mean square;
// the bins are then grouped into lobes (from one local minimum to the next), each
// lobe being one spectral line whose RMS is the root of its power, wherever the tone
// falls between bins. The Blackman-Harris window (sidelobes 92 dB down, so no
// sidelobe counts as a line of its own) is applied to the tapered block's transform
// (m_Re, m_Im) as its seven taps, so both indices share one transform.
double CExposureAssessment::l_Summation(int n, double rate, Result& result)
{
    const int bins = n / 2 + 1;
    // The bins from -3 to bins + 2: beyond 0 and n/2 those of a real signal mirror.
    m_ExtendedRe.resize(std::size_t(bins) + 6);
    m_ExtendedIm.resize(std::size_t(bins) + 6);
    for (int j = -3; j < bins + 3; ++j)
    {
        const int wrapped = ((j % n) + n) % n;
        const bool mirrored = wrapped >= bins;
        const std::size_t at = std::size_t(mirrored ? n - wrapped : wrapped);
        m_ExtendedRe[std::size_t(j + 3)] = m_Re[at];
        m_ExtendedIm[std::size_t(j + 3)] = mirrored ? -m_Im[at] : m_Im[at];
    }
    const Lanes* xr = m_ExtendedRe.data() + 3;
    const Lanes* xi = m_ExtendedIm.data() + 3;
    const float a0 = BlackmanHarris[0], a1 = -0.5f * BlackmanHarris[1], a2 = 0.5f * BlackmanHarris[2],
                a3 = -0.5f * BlackmanHarris[3];
    m_Power.resize(std::size_t(bins));
    for (int k = 0; k < bins; ++k)
    {
        const Lanes re = a0 * xr[k] + a1 * (xr[k - 1] + xr[k + 1]) + a2 * (xr[k - 2] + xr[k + 2]) +
                         a3 * (xr[k - 3] + xr[k + 3]);
        const Lanes im = a0 * xi[k] + a1 * (xi[k - 1] + xi[k + 1]) + a2 * (xi[k - 2] + xi[k + 2]) +
                         a3 * (xi[k - 3] + xi[k + 3]);
        const Lanes norm = re * re + im * im;
        m_Power[std::size_t(k)] = double(norm[0]) + double(norm[1]) + double(norm[2]);
    }
    const double scale = 1.0 / (double(n) * m_WindowPower);
    for (int k = 0; k < bins; ++k)
    {
        const bool single = k == 0 || 2 * k == n; // 0 Hz and Nyquist have no mirror bin
        m_Power[std::size_t(k)] *= single ? scale : 2 * scale;
    }

    const double binWidth = rate / n;
    // Third-octave bands from 1 Hz: the noise floor of each is its median bin. A lobe
    // 10 dB above its band's floor is a line and counts on its own; the others are the
    // band's noise, which counts once with the power of all of them (each against its
    // own level), so that the index of a noise floor does not grow with the number of
    // bins a longer window has. Where a band has too few bins to tell, every lobe is a line.
    const auto bandOf = [](double frequency) { return int(std::floor(3 * std::log2(frequency))); };
    const int bands = bandOf(std::max(binWidth * (bins - 1), LowestFrequency)) + 1;
    m_Floor.assign(std::size_t(bands), 0.0); // too few bins: every lobe a line
    {
        // Bounded by the bins: a tiny rate would take the quotient past any int.
        int first = int(std::min(double(bins), std::ceil(LowestFrequency / binWidth)));
        double upper = 1.0;
        for (int band = 0; band < bands && first < bins; ++band)
        {
            upper *= ThirdOctave;
            int last = first;
            while (last + 1 < bins && (last + 1) * binWidth < upper)
                ++last;
            if (last - first + 1 >= MinimumBandBins)
            {
                // A wide band's floor from at most 257 of its bins, evenly spread.
                const int step = std::max(1, (last - first + 1) / 256);
                m_Sorted.clear();
                for (int j = first; j <= last; j += step)
                    m_Sorted.push_back(m_Power[std::size_t(j)]);
                const auto middle = m_Sorted.begin() + std::ptrdiff_t(m_Sorted.size() / 2);
                std::nth_element(m_Sorted.begin(), middle, m_Sorted.end());
                m_Floor[std::size_t(band)] = *middle;
            }
            first = last + 1;
        }
    }
    m_Noise.assign(std::size_t(bands), 0.0);
    m_NoiseFrequency.assign(std::size_t(bands), 0.0);
    m_NoiseLargest.assign(std::size_t(bands), 0.0);

    if (m_KeepDetails)
    {
        // Power per bin times the window's equivalent noise bandwidth (in bins): a tone
        // on a bin then reads its mean square.
        const double bandwidth = double(n) * m_WindowPower / (m_WindowSum * m_WindowSum);
        m_Spectrum.resize(std::size_t(bins));
        for (int k = 0; k < bins; ++k)
            m_Spectrum[std::size_t(k)] = std::sqrt(m_Power[std::size_t(k)] * bandwidth);
        m_SpectrumBinWidth = rate / n;
        m_Contributions.clear();
        m_NoisePower.assign(std::size_t(bands), 0.0);
    }
    double sum = 0;
    double largest = 0;
    const auto count = [&](double contribution, double frequency) {
        sum += contribution;
        if (contribution > largest)
        {
            largest = contribution;
            result.DominantFrequency = frequency;
        }
    };
    int band = 0;
    double bandTop = ThirdOctave; // Hz, the upper edge of `band`
    int k = 0;
    while (k < bins)
    {
        const int start = k;
        while (k + 1 < bins && m_Power[std::size_t(k + 1)] >= m_Power[std::size_t(k)])
            ++k;
        const int peak = k;
        while (k + 1 < bins && m_Power[std::size_t(k + 1)] < m_Power[std::size_t(k)])
            ++k;
        const int end = k; // a local minimum: it closes this lobe
        k = end + 1;
        double power = 0;
        for (int j = start; j <= end; ++j)
            power += m_Power[std::size_t(j)];
        if (!(power > 0))
            continue;
        const double p = m_Power[std::size_t(peak)];
        // The lobes come in rising frequency: the band moves up with them.
        while (band + 1 < bands && peak * binWidth >= bandTop)
        {
            ++band;
            bandTop *= ThirdOctave;
        }
        const bool line = p > LineAboveFloor * m_Floor[std::size_t(band)];
        // Where a tone lies between bins: the window's main lobe is close to a
        // Gaussian, so a parabola through the logarithms of the peak bin and its two
        // neighbours finds it.
        double offset = 0;
        if (line && peak > 0 && peak + 1 < bins)
        {
            const double left = m_Power[std::size_t(peak - 1)], right = m_Power[std::size_t(peak + 1)];
            if (left > 0 && right > 0)
            {
                const double a = std::log(left), b = std::log(p), c = std::log(right);
                const double curvature = a - 2 * b + c;
                if (curvature < 0)
                    offset = std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5);
            }
        }
        const double frequency = (peak + offset) * binWidth;
        if (!(frequency > 0))
            continue;
        const double limit = l_Limit(frequency);
        if (!(limit > 0))
            continue;
        if (line)
        {
            count(std::sqrt(power) / limit, frequency);
            if (m_KeepDetails)
                m_Contributions.push_back({frequency, std::sqrt(power), limit, false});
        }
        else
        {
            if (m_KeepDetails)
                m_NoisePower[std::size_t(band)] += power;
            // The band's noise is said to come from its largest lobe.
            const double share = power / (limit * limit);
            if (share > m_NoiseLargest[std::size_t(band)])
            {
                m_NoiseLargest[std::size_t(band)] = share;
                m_NoiseFrequency[std::size_t(band)] = frequency;
            }
            m_Noise[std::size_t(band)] += share;
        }
    }
    for (int band = 0; band < bands; ++band)
        if (m_Noise[std::size_t(band)] > 0)
        {
            const double frequency = m_NoiseFrequency[std::size_t(band)];
            const double index = std::sqrt(m_Noise[std::size_t(band)]);
            count(index, frequency);
            if (m_KeepDetails)
                m_Contributions.push_back(
                    {frequency, std::sqrt(m_NoisePower[std::size_t(band)]), l_Limit(frequency), true});
        }
    if (m_KeepDetails)
        std::stable_sort(
            m_Contributions.begin(), m_Contributions.end(),
            [](const Contribution& a, const Contribution& b) { return a.frequency < b.frequency; });
    return sum;
}

// Each axis, its mean removed, is tapered to zero over the first and last
// TaperShare of the block by half a cosine (so the block joins itself without a
// jump or a kink that the weighting, steep above its corners, would turn into a
// false peak), weighted in the frequency domain and transformed back; the index is
// the largest length of the three weighted axes at one instant over the block.
void CExposureAssessment::l_Prepare(int n, double rate)
{
    if (m_PreparedSize == n && m_PreparedRate == rate)
        return;
    const int bins = n / 2 + 1;
    m_WeightsRe.assign(std::size_t(bins), 0.0f);
    m_WeightsIm.assign(std::size_t(bins), 0.0f);
    if (m_Standard != Standard::None)
        for (int k = 0; k < bins; ++k)
        {
            const std::complex<double> w = Weighting(m_Standard, k * rate / n) / m_TeslaToUnit;
            m_WeightsRe[std::size_t(k)] = float(w.real());
            m_WeightsIm[std::size_t(k)] = float(w.imag());
        }
    const int taper = std::max(1, int(TaperShare * n));
    m_Taper.assign(std::size_t(n), 1.0f);
    for (int i = 0; i < taper; ++i)
    {
        // x - sin(2 pi x) / 2 pi: its first and second derivatives vanish at both
        // ends, so the weighting (a second derivative below 8 Hz) sees no corner.
        const double x = (i + 0.5) / taper;
        const float t = float(x - std::sin(2 * Pi * x) / (2 * Pi));
        m_Taper[std::size_t(i)] = t;
        m_Taper[std::size_t(n - 1 - i)] = t;
    }
    m_WindowPower = 0;
    m_WindowSum = 0;
    for (int i = 0; i < n; ++i)
    {
        double w = 0;
        for (int t = 0; t < 4; ++t)
            w += (t % 2 ? -1.0f : 1.0f) * BlackmanHarris[t] * std::cos(2 * Pi * t * i / n);
        w *= m_Taper[std::size_t(i)];
        m_WindowPower += w * w;
        m_WindowSum += w;
    }
    m_PreparedSize = n;
    m_PreparedRate = rate;
}

// Each axis, its mean removed, is tapered to zero over the first and last
// TaperShare of the block (so the block joins itself without a jump or a kink that
// the weighting, steep above its corners, would turn into a false peak), weighted
// in the frequency domain and transformed back; the index is the largest length of
// the three weighted axes at one instant over the block.
double CExposureAssessment::l_WeightedPeak(int n, int& sample)
{
    const int bins = n / 2 + 1;
    const std::shared_ptr<CLaneFourierTransform> fft = CLaneFourierTransform::ForSize(n);
    for (int k = 0; k < bins; ++k)
    {
        const float wr = m_WeightsRe[std::size_t(k)], wi = m_WeightsIm[std::size_t(k)];
        const Lanes re = m_Re[std::size_t(k)], im = m_Im[std::size_t(k)];
        m_Re[std::size_t(k)] = re * wr - im * wi;
        m_Im[std::size_t(k)] = re * wi + im * wr;
    }
    fft->InverseReal(m_Re.data(), m_Im.data(), m_Weighted);
    m_Length2.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
    {
        const Lanes v = m_Weighted[std::size_t(i)] * m_Weighted[std::size_t(i)];
        m_Length2[std::size_t(i)] = v[0] + v[1] + v[2];
    }
    return std::sqrt(l_RefinePeak(n, sample));
}

// The samples may straddle the instant the weighted vector is longest (by up to
// a fifth of a period at 0.4 times the rate): around the longest few samples the
// three weighted axes are interpolated (windowed sinc, band-limited as they are)
// at eighths of a sample, and the longest length found is the index.
double CExposureAssessment::l_RefinePeak(int n, int& sample)
{
    constexpr int Candidates = 8;
    constexpr int Half = 32; // taps on each side
    constexpr int Steps = 8;
    m_Order.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        m_Order[std::size_t(i)] = i;
    const int kept = std::min(Candidates, n);
    std::partial_sort(m_Order.begin(), m_Order.begin() + kept, m_Order.end(),
                      [&](int a, int b) { return m_Length2[std::size_t(a)] > m_Length2[std::size_t(b)]; });
    sample = m_Order.front();
    double best = double(m_Length2[std::size_t(sample)]);
    if (n < 2 * Half)
        return best;
    // The interpolation's taps for each eighth of a sample, computed once.
    static const std::vector<double> Taps = [] {
        std::vector<double> taps;
        for (int step = -Steps / 2; step < Steps / 2; ++step)
            for (int j = -Half + 1; j <= Half; ++j)
            {
                const double d = double(step) / Steps - j;
                const double sinc = d == 0 ? 1.0 : std::sin(Pi * d) / (Pi * d);
                const double x = d / Half; // Blackman window over -1..1
                taps.push_back(sinc * (0.42 + 0.5 * std::cos(Pi * x) + 0.08 * std::cos(2 * Pi * x)));
            }
        return taps;
    }();
    for (int c = 0; c < kept; ++c)
    {
        const int centre = m_Order[std::size_t(c)];
        for (int step = -Steps / 2; step < Steps / 2; ++step)
        {
            if (step == 0)
                continue;
            // at = centre + step / Steps lies between centre - 1 and centre + 1; the taps
            // run over the samples centre + j, j from -Half + 1 to Half.
            const double* taps = &Taps[std::size_t(step + Steps / 2) * 2 * Half];
            Lanes value{0, 0, 0, 0};
            for (int j = -Half + 1; j <= Half; ++j)
                value += m_Weighted[std::size_t(((centre + j) % n + n) % n)] * float(taps[j + Half - 1]);
            const double length2 =
                double(value[0]) * value[0] + double(value[1]) * value[1] + double(value[2]) * value[2];
            if (length2 > best)
            {
                best = length2;
                sample = centre;
            }
        }
    }
    return best;
}
} // namespace KVL
