#pragma once

#include "compute/CExposureAssessment.h"
#include "compute/CExposureWindow.h"
#include "model/CUnits.h"

#include <QString>

#include <functional>
#include <limits>
#include <vector>

class CDataset;
class CMeasureBlock;

// One recording assessed for a survey report, a block at a time (a recording larger
// than memory passes through): the largest summation and weighted peak indices and
// when they occurred, both over time, the spectrum of the stretch with the largest
// summation index and the content that makes it, the static field and the
// uncertainty of the indices with the verdict it allows.
class CSurveyAssessment
{
public:
    using Standard = KVL::CExposureAssessment::Standard;
    using Step = KVL::CExposureAssessment::Step;
    static constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

    enum class Verdict
    {
        Below,
        Inconclusive,
        Exceeds
    };

    // One assessed stretch: the time (seconds since the epoch) of its newest sample.
    struct Point
    {
        double time;
        double summation;
        double weightedPeak;
    };
    // A piece of the largest summation index: `ratio` is rms / limit, `share` its part
    // of the index.
    struct Line
    {
        double frequency;
        double rms;
        double limit;
        double ratio;
        double share;
        bool noise;
    };
    struct Largest
    {
        double index = NaN;
        int block = -1;
        double time = NaN;      // the stretch's newest sample, or the weighted peak's own sample
        double startTime = NaN; // the stretch's first sample
        double dominantFrequency = NaN;
    };
    // A result with its expanded uncertainty (relative, k = 2) and the verdict it allows.
    struct Judged
    {
        double index = NaN;
        double expandedUncertainty = NaN;
        Verdict verdict = Verdict::Below;
    };

    // The accuracy the tests show for the indices against an independent reference
    // (half-widths, relative): taken as rectangular distributions.
    static constexpr double SummationAccuracy = 0.02;
    static constexpr double WeightedPeakAccuracy = 0.03;
    // Static-field limits of the guidance on static magnetic fields, in tesla.
    static constexpr double StaticLimitPublic = 0.4;
    static constexpr double StaticLimitOccupational = 2.0;
    // The lines of the largest stretch kept for the report, the largest first.
    static constexpr int LinesKept = 10;

    // The steps of a limits file in a unit of the samples.
    using StepsFor = std::function<std::vector<Step>(CUnits::UnitType)>;

    // Against a standard, or (standard None) a limits file's steps in the unit of the samples.
    CSurveyAssessment(Standard standard, StepsFor stepsFor);

    // The data set's unit and rate, read once its parameters are known (by its first block).
    // False with `error` when the unit is not a field's or the rate not a number.
    bool Start(const CDataset& set, QString* error);
    void Add(const CMeasureBlock& block);
    // False with `error` when nothing could be assessed.
    bool Finish(QString* error);

    bool Started() const { return m_Started; }
    Standard GetStandard() const { return m_Standard; }
    // The standard's name, or "limits file".
    QString LimitsName() const;
    CUnits::UnitType Unit() const { return m_Unit; }
    double Rate() const { return m_Rate; }
    // The reference level in the unit of the samples at `frequency` (Hz).
    double LimitAt(double frequency) const { return m_Assessment.LimitAt(frequency); }

    int Blocks() const { return m_Blocks; }
    qint64 Samples() const { return m_Samples; }
    // Seconds since the epoch of the first and last samples.
    double FirstTime() const { return m_FirstTime; }
    double LastTime() const { return m_LastTime; }

    const std::vector<Point>& Series() const { return m_Series; }
    const Largest& LargestSummation() const { return m_Summation; }
    const Largest& LargestWeightedPeak() const { return m_Peak; }
    bool HasWeightedPeak() const { return m_Peak.block >= 0; }
    // Of the stretch with the largest summation index.
    const std::vector<double>& Spectrum() const { return m_Spectrum; }
    double SpectrumBinWidth() const { return m_SpectrumBinWidth; }
    const std::vector<Line>& Lines() const { return m_Lines; }

    // The mean of Bx, By, Bz and of |B| over every sample, in the unit of the samples.
    double MeanAxis(int axis) const { return m_Sum[axis] / double(m_FiniteSamples); }
    double MeanMagnitude() const { return m_MagnitudeSum / double(m_FiniteSamples); }
    double StaticLimit() const; // in the unit of the samples
    Verdict StaticVerdict() const;

    // The instrument's stated uncertainty over the samples (mean dB over mean B), taken
    // as a relative standard uncertainty; NaN when the file states none.
    double InstrumentUncertainty() const;
    Judged Summation() const;
    Judged WeightedPeak() const;
    // The worse of the two verdicts, and by how much (relative) the larger index exceeds 1.
    Verdict Overall() const;

    static Judged Judge(double index, double accuracy, double instrument);

private:
    void l_Assess(int block);

    Standard m_Standard;
    StepsFor m_StepsFor;
    KVL::CExposureAssessment m_Assessment;
    KVL::CExposureWindow m_Window{2};
    bool m_Started = false;
    bool m_Ready = false;
    bool m_Pending = false;
    QString m_Error;
    CUnits::UnitType m_Unit = CUnits::UnitType::UNKNOWN;
    double m_Rate = 0;
    double m_TeslaToUnit = 1;

    int m_Blocks = 0;
    qint64 m_Samples = 0;
    qint64 m_FiniteSamples = 0;
    double m_FirstTime = NaN;
    double m_LastTime = NaN;
    double m_Sum[3] = {0, 0, 0};
    double m_MagnitudeSum = 0;
    double m_UncertaintySum = 0; // dB, over samples that state it
    double m_StatedMagnitudeSum = 0;

    std::vector<Point> m_Series;
    Largest m_Summation, m_Peak;
    std::vector<double> m_Spectrum;
    double m_SpectrumBinWidth = 0;
    std::vector<Line> m_Lines;
};
