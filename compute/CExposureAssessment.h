#pragma once

#include <QString>

#include <complex>
#include <limits>
#include <vector>

class CMeasureBlock;

namespace KVL
{
// How much of the exposure limits a block of three-axis field samples takes, by
// the two rules of the low-frequency guidance:
// - the summation index, the sum over the spectral content from 1 Hz to the
//   Nyquist frequency of the RMS of the field vector at that frequency over its
//   reference level;
// - the weighted peak index, the largest length over the block of the field
//   vector with each axis passed through the weighting filter of a standard
//   (gain 1 / (sqrt 2 * reference level), phase of first-order sections at the
//   curve's corners).
// Content below 1 Hz (the static field among it) never enters either index.
// Not thread-safe: one object per thread (it keeps its work buffers).
class CExposureAssessment
{
public:
    enum class Standard
    {
        None,
        Icnirp2010Public,
        Icnirp2010Occupational
    };

    // One entry of a limits file: `limit` (in the unit of the samples) holds for
    // frequencies up to and including `upperFrequency` (Hz).
    struct Step
    {
        double upperFrequency;
        double limit;
    };

    struct Result
    {
        double Summation = std::numeric_limits<double>::quiet_NaN();
        // NaN when the limits are a file of steps (the weighting needs a standard's curve).
        double WeightedPeak = std::numeric_limits<double>::quiet_NaN();
        // The frequency of the content that adds most to the summation; NaN when none does.
        double DominantFrequency = std::numeric_limits<double>::quiet_NaN();
        // Sample of the block where the weighted vector is longest; -1 without a weighted peak.
        int WeightedPeakSample = -1;
    };

    // One piece of content the last summation index counted: a spectral line, or the
    // noise of a third-octave band (said to lie at its largest lobe).
    struct Contribution
    {
        double frequency; // Hz
        double rms;       // of the field vector, in the unit of the samples
        double limit;     // the reference level there, in the same unit
        bool noise;
    };

    // Against a standard's curve; `teslaToUnit` is the number of sample units in one tesla.
    void SetStandard(Standard standard, double teslaToUnit);
    // Against a limits file; nothing above its last step counts.
    void SetSteps(std::vector<Step> steps);
    // Against a limits file, or the standard's curve when the file is a standard's
    // (Recognise): the standard, or None.
    Standard SetLimits(std::vector<Step> steps, double teslaToUnit);
    Standard GetStandard() const { return m_Standard; }

    // False (with `result` all NaN) for fewer than 4 samples, a rate that is not
    // positive and finite, no limits, or samples that are not finite.
    bool Assess(const float* bx, const float* by, const float* bz, int n, double rate, Result& result);
    // The Bx, By and Bz of a block's samples.
    bool Assess(const CMeasureBlock& block, double rate, Result& result);

    // Whether each assessment keeps its contributions and its spectrum (a report
    // shows them; the pages need only the indices).
    void KeepDetails(bool keep) { m_KeepDetails = keep; }
    // Of the last assessment, in rising frequency.
    const std::vector<Contribution>& Contributions() const { return m_Contributions; }
    // The RMS of the field vector per bin of the last assessment, scaled so that a tone's
    // peak reads its RMS, bins SpectrumBinWidth() Hz apart from 0 Hz.
    const std::vector<double>& Spectrum() const { return m_Spectrum; }
    double SpectrumBinWidth() const { return m_SpectrumBinWidth; }
    // The reference level (in the unit of the samples) the indices use at `frequency`.
    double LimitAt(double frequency) const { return l_Limit(frequency); }

    // Reference level in tesla (RMS) at `frequency` (Hz); NaN below 1 Hz or without a standard.
    static double ReferenceLevel(Standard standard, double frequency);
    // The standard's name as the pages and the tool show it; empty for None.
    static QString StandardName(Standard standard);
    // The weighting filter at `frequency`, in 1/tesla: |W| = 1 / (sqrt 2 * level),
    // the f^2 law continued below 1 Hz so that the static field weighs nothing.
    static std::complex<double> Weighting(Standard standard, double frequency);
    // The standard a limits file follows (every step is the curve at its upper
    // frequency, as the shipped files are written), or None.
    static Standard Recognise(const std::vector<Step>& steps, double teslaToUnit);
    // "icnirp2010-public", "icnirp2010-occupational"; empty for None.
    static const char* Key(Standard standard);
    static Standard FromKey(const char* key);

private:
    double l_Limit(double frequency) const;
    using Lanes = float __attribute__((vector_size(16))); // x, y, z and a spare
    double l_Summation(int n, double rate, Result& result);
    void l_Prepare(int n, double rate);
    double l_WeightedPeak(int n, int& sample);
    double l_RefinePeak(int n, int& sample);

    Standard m_Standard = Standard::None;
    double m_TeslaToUnit = 1.0;
    std::vector<Step> m_Steps;

    double m_Mean[3] = {0, 0, 0};
    std::vector<Lanes> m_Packed; // the block, means removed
    std::vector<Lanes> m_Work, m_Re, m_Im, m_Weighted, m_ExtendedRe, m_ExtendedIm;
    double m_WindowPower = 0; // of the taper times a Hann window
    double m_WindowSum = 0;
    bool m_KeepDetails = false;
    std::vector<Contribution> m_Contributions;
    std::vector<double> m_Spectrum;
    double m_SpectrumBinWidth = 0;
    std::vector<double> m_Power;
    std::vector<double> m_Floor, m_Noise, m_NoiseLargest, m_NoiseFrequency, m_NoisePower,
        m_Sorted; // per third-octave band
    // For one size and rate: the weighting per bin and the taper of the block's ends.
    std::vector<float> m_WeightsRe, m_WeightsIm, m_Taper;
    int m_PreparedSize = 0;
    double m_PreparedRate = 0;
    std::vector<float> m_Length2;
    std::vector<int> m_Order;
    std::vector<float> m_X, m_Y, m_Z;
};
} // namespace KVL
