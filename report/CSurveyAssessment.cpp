#include "report/CSurveyAssessment.h"

#include "compute/FieldStatistics.h"
#include "model/CDataset.h"
#include "model/CMeasureBlock.h"
#include "model/CMeasurementParameters.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CSurveyAssessment", text);
}
} // namespace

CSurveyAssessment::CSurveyAssessment(Standard standard, StepsFor stepsFor)
    : m_Standard(standard), m_StepsFor(std::move(stepsFor))
{
    m_Assessment.KeepDetails(true);
}

bool CSurveyAssessment::Start(const CDataset& set, QString* error)
{
    m_Started = true;
    const CMeasurementParameters* parameters = set.MeasurementParameters();
    m_Unit = parameters ? parameters->Units() : CUnits::UnitType::TESLA;
    m_TeslaToUnit = KVL::TeslaToUnit(m_Unit);
    m_Rate = parameters ? parameters->AcquisitionRate() : 0.0;
    if (!std::isfinite(m_TeslaToUnit))
        m_Error = tr("the results are in %1, not a unit of the field").arg(CUnitsToQString(m_Unit));
    else if (!(m_Rate > 0) || !std::isfinite(m_Rate))
        m_Error = tr("the acquisition rate of the file (%1 Hz) is not a positive number: "
                     "no frequency can be told")
                      .arg(m_Rate);
    else if (m_Standard != Standard::None)
        m_Assessment.SetStandard(m_Standard, m_TeslaToUnit);
    else
    {
        std::vector<Step> steps = m_StepsFor ? m_StepsFor(m_Unit) : std::vector<Step>();
        if (steps.empty())
            m_Error = tr("the limits file holds no limit in %1").arg(CUnitsToQString(m_Unit));
        else
            m_Standard = m_Assessment.SetLimits(std::move(steps), m_TeslaToUnit);
    }
    m_Ready = m_Error.isEmpty();
    if (!m_Ready && error)
        *error = m_Error;
    return m_Ready;
}

void CSurveyAssessment::Add(const CMeasureBlock& block)
{
    const int index = m_Blocks++;
    if (!m_Ready || block.Results.isEmpty())
        return;
    m_Samples += block.Results.size();
    if (std::isnan(m_FirstTime))
        m_FirstTime = block.Results.first()->Seconds();
    m_LastTime = block.Results.last()->Seconds();
    for (const auto& sample : block.Results)
    {
        const double x = sample->Bx(), y = sample->By(), z = sample->Bz();
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
            continue;
        ++m_FiniteSamples;
        m_Sum[0] += x;
        m_Sum[1] += y;
        m_Sum[2] += z;
        const double b = std::isfinite(sample->B()) ? double(sample->B()) : std::sqrt(x * x + y * y + z * z);
        m_MagnitudeSum += b;
        if (std::isfinite(sample->dB()) && b > 0)
        {
            m_UncertaintySum += std::abs(double(sample->dB()));
            m_StatedMagnitudeSum += b;
        }
    }
    // As the exposure command does: about a second ending with each block, assessed
    // after each half of it, so every sample is seen outside the taper.
    const bool due = m_Window.Append(block, m_Rate);
    m_Pending = !due;
    if (due)
        l_Assess(index);
}

void CSurveyAssessment::l_Assess(int block)
{
    KVL::CExposureAssessment::Result result;
    if (!m_Window.Assess(m_Assessment, result) || !std::isfinite(result.Summation))
        return;
    const double newest = m_Window.NewestTime();
    const int count = m_Window.AssessedCount();
    const double first = newest - double(count - 1) / m_Rate;
    m_Series.push_back({newest, result.Summation, result.WeightedPeak});
    if (std::isfinite(result.WeightedPeak) && !(result.WeightedPeak <= m_Peak.index))
    {
        m_Peak.index = result.WeightedPeak;
        m_Peak.block = block;
        m_Peak.startTime = first;
        m_Peak.time = first + double(std::max(0, result.WeightedPeakSample)) / m_Rate;
    }
    if (!(result.Summation > m_Summation.index) && m_Summation.block >= 0)
        return;
    m_Summation = {result.Summation, block, newest, first, result.DominantFrequency};
    m_Spectrum = m_Assessment.Spectrum();
    m_SpectrumBinWidth = m_Assessment.SpectrumBinWidth();
    m_Lines.clear();
    for (const auto& c : m_Assessment.Contributions())
    {
        const double ratio = c.rms / c.limit;
        m_Lines.push_back({c.frequency, c.rms, c.limit, ratio, ratio / result.Summation, c.noise});
    }
    std::stable_sort(m_Lines.begin(), m_Lines.end(),
                     [](const Line& a, const Line& b) { return a.ratio > b.ratio; });
    if (m_Lines.size() > std::size_t(LinesKept))
        m_Lines.resize(std::size_t(LinesKept));
}

bool CSurveyAssessment::Finish(QString* error)
{
    if (!m_Started || m_Blocks == 0)
    {
        *error = tr("the file holds no block");
        return false;
    }
    if (!m_Ready)
    {
        *error = m_Error;
        return false;
    }
    // The recording's last stretch is assessed too, however short the recording.
    if (m_Pending)
        l_Assess(m_Blocks - 1);
    m_Pending = false;
    if (m_Summation.block < 0)
    {
        *error = m_FiniteSamples > 0
                     ? tr("no stretch can be assessed (each needs 4 samples or more in a row)")
                     : tr("no sample of the file is a number: nothing can be assessed");
        return false;
    }
    return true;
}

QString CSurveyAssessment::LimitsName() const
{
    return m_Standard != Standard::None ? KVL::CExposureAssessment::StandardName(m_Standard)
                                        : tr("limits file");
}

double CSurveyAssessment::StaticLimit() const
{
    return (m_Standard == Standard::Icnirp2010Occupational ? StaticLimitOccupational : StaticLimitPublic) *
           m_TeslaToUnit;
}

CSurveyAssessment::Verdict CSurveyAssessment::StaticVerdict() const
{
    return std::abs(MeanMagnitude()) > StaticLimit() ? Verdict::Exceeds : Verdict::Below;
}

double CSurveyAssessment::InstrumentUncertainty() const
{
    return m_StatedMagnitudeSum > 0 ? m_UncertaintySum / m_StatedMagnitudeSum : NaN;
}

CSurveyAssessment::Judged CSurveyAssessment::Judge(double index, double accuracy, double instrument)
{
    Judged judged;
    judged.index = index;
    const double method = accuracy / std::sqrt(3.0);
    const double stated = std::isfinite(instrument) ? instrument : 0.0;
    judged.expandedUncertainty = 2 * std::sqrt(method * method + stated * stated);
    // The decision rule: beyond 1 only when the index minus its expanded uncertainty is,
    // below only when the index plus it is; in between the result cannot tell.
    if (index * (1 - judged.expandedUncertainty) > 1)
        judged.verdict = Verdict::Exceeds;
    else if (index * (1 + judged.expandedUncertainty) < 1)
        judged.verdict = Verdict::Below;
    else
        judged.verdict = Verdict::Inconclusive;
    return judged;
}

CSurveyAssessment::Judged CSurveyAssessment::Summation() const
{
    return Judge(m_Summation.index, SummationAccuracy, InstrumentUncertainty());
}

CSurveyAssessment::Judged CSurveyAssessment::WeightedPeak() const
{
    return HasWeightedPeak() ? Judge(m_Peak.index, WeightedPeakAccuracy, InstrumentUncertainty()) : Judged();
}

CSurveyAssessment::Verdict CSurveyAssessment::Overall() const
{
    const Verdict summation = Summation().verdict;
    return HasWeightedPeak() ? std::max(summation, WeightedPeak().verdict) : summation;
}
