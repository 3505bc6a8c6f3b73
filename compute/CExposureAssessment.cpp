#include "compute/CExposureAssessment.h"

#include "compute/CLaneFourierTransform.h"
#include "model/CMeasureBlock.h"

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
    m_WeightsSize = 0;
}

void CExposureAssessment::SetSteps(std::vector<Step> steps)
{
    m_Standard = Standard::None;
    m_Steps = std::move(steps);
    m_WeightsSize = 0;
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
    // The three axes in the lanes of one transform, their means removed (in single
    // precision only after the subtraction, so a large static field costs no digits).
    m_Packed.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        m_Packed[std::size_t(i)] = Lanes{float(double(bx[i]) - m_Mean[0]), float(double(by[i]) - m_Mean[1]),
                                         float(double(bz[i]) - m_Mean[2]), 0.0f};
    result.Summation = l_Summation(n, rate, result);
    if (m_Standard != Standard::None)
        result.WeightedPeak = l_WeightedPeak(n, rate, result.WeightedPeakSample);
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

// The power of the vector per bin of the Hann-windowed block, scaled so that a
// tone's bins add up to its mean square; the bins are then grouped into lobes
// (from one local minimum to the next), each lobe being one spectral line whose
// RMS is the root of its power, wherever the tone falls between bins.
double CExposureAssessment::l_Summation(int n, double rate, Result& result)
{
    if (int(m_Window.size()) != n)
    {
        m_Window.resize(std::size_t(n));
        m_WindowPower = 0;
        for (int i = 0; i < n; ++i)
        {
            const float w = float(0.5 - 0.5 * std::cos(2 * Pi * i / n));
            m_Window[std::size_t(i)] = w;
            m_WindowPower += double(w) * double(w);
        }
    }
    const int bins = n / 2 + 1;
    m_Work.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        m_Work[std::size_t(i)] = m_Packed[std::size_t(i)] * m_Window[std::size_t(i)];
    CLaneFourierTransform::ForSize(n)->ForwardReal(m_Work.data(), m_Re, m_Im);
    m_Power.resize(std::size_t(bins));
    for (int k = 0; k < bins; ++k)
    {
        const Lanes norm =
            m_Re[std::size_t(k)] * m_Re[std::size_t(k)] + m_Im[std::size_t(k)] * m_Im[std::size_t(k)];
        m_Power[std::size_t(k)] = double(norm[0]) + double(norm[1]) + double(norm[2]);
    }
    const double scale = 1.0 / (double(n) * m_WindowPower);
    for (int k = 0; k < bins; ++k)
    {
        const bool single = k == 0 || 2 * k == n; // 0 Hz and Nyquist have no mirror bin
        m_Power[std::size_t(k)] *= single ? scale : 2 * scale;
    }

    const double binWidth = rate / n;
    double sum = 0;
    double largest = 0;
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
        // Where the tone lies between the peak bin and its larger neighbour: for a
        // Hann window the ratio r of their amplitudes puts it (2r - 1) / (r + 1) of a bin away.
        double offset = 0;
        const double p = m_Power[std::size_t(peak)];
        const double left = peak > 0 ? m_Power[std::size_t(peak - 1)] : 0.0;
        const double right = peak + 1 < bins ? m_Power[std::size_t(peak + 1)] : 0.0;
        if (p > 0)
        {
            const double r = std::sqrt(std::max(left, right) / p);
            offset = std::clamp((2 * r - 1) / (r + 1), 0.0, 1.0) * (right >= left ? 1.0 : -1.0);
        }
        const double frequency = (peak + offset) * binWidth;
        if (frequency < LowestFrequency)
            continue;
        const double limit = l_Limit(frequency);
        if (!(limit > 0))
            continue;
        const double contribution = std::sqrt(power) / limit;
        sum += contribution;
        if (contribution > largest)
        {
            largest = contribution;
            result.DominantFrequency = frequency;
        }
    }
    return sum;
}

// Each axis, its mean removed, is tapered to zero over the first and last
// TaperShare of the block by half a cosine (so the block joins itself without a
// jump or a kink that the weighting, steep above its corners, would turn into a
// false peak), weighted in the frequency domain and transformed back; the index is
// the largest length of the three weighted axes at one instant over the block.
double CExposureAssessment::l_WeightedPeak(int n, double rate, int& sample)
{
    const int bins = n / 2 + 1;
    if (m_WeightsSize != n || m_WeightsRate != rate)
    {
        m_WeightsRe.resize(std::size_t(bins));
        m_WeightsIm.resize(std::size_t(bins));
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
        m_WeightsSize = n;
        m_WeightsRate = rate;
    }
    m_Work.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        m_Work[std::size_t(i)] = m_Packed[std::size_t(i)] * m_Taper[std::size_t(i)];
    const std::shared_ptr<CLaneFourierTransform> fft = CLaneFourierTransform::ForSize(n);
    fft->ForwardReal(m_Work.data(), m_Re, m_Im);
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
