#include "viewmodels/CExposureViewModel.h"

#include "compute/FieldStatistics.h"
#include "files/LimitsXmlFile.h"
#include "model/CMeasureBlock.h"

#include <cmath>

using KVL::CExposureAssessment;

namespace
{
// The larger, where NaN is "none yet".
double larger(double kept, double value)
{
    if (!std::isfinite(value))
        return kept;
    return std::isnan(kept) || value > kept ? value : kept;
}
} // namespace

CExposureViewModel::CExposureViewModel(const LimitsXmlFile* limits, QObject* parent)
    : QObject(parent), m_pLimits(limits)
{
}

bool CExposureViewModel::Exceeded() const
{
    // NaN compares false: nothing shown is nothing exceeded.
    return m_Newest.Summation > 1 || m_Newest.WeightedPeak > 1 || m_MaxSummation > 1 || m_MaxWeightedPeak > 1;
}

void CExposureViewModel::Refresh(const QString& fileName)
{
    // The limits are held in the unit of the samples; a standard's curve is in tesla.
    const CExposureAssessment::Standard standard =
        m_Assessment.SetLimits(m_pLimits->ExposureSteps(), KVL::TeslaToUnit(m_pLimits->CurrentUnit()));
    m_Applies = !m_pLimits->Limits().isEmpty();
    m_LimitsName = !m_Applies ? QString()
                   : standard != CExposureAssessment::Standard::None
                       ? CExposureAssessment::StandardName(standard)
                       : fileName;
    m_Window.Reset();
    m_Newest = CExposureAssessment::Result();
    m_MaxSummation = m_MaxWeightedPeak = std::numeric_limits<double>::quiet_NaN();
    emit ExposureChanged();
}

void CExposureViewModel::Assess(const CMeasureBlock* block, double rate)
{
    if (!m_Applies || !block)
    {
        m_Window.Reset();
        if (std::isnan(m_Newest.Summation) && std::isnan(m_Newest.WeightedPeak))
            return; // nothing shown: nothing to clear, nothing to redraw
        m_Newest = CExposureAssessment::Result();
        emit ExposureChanged();
        return;
    }
    // Only an assessment changes what the panel shows: the blocks between (most of
    // them at high rates) redraw nothing.
    if (!m_Window.Append(*block, rate))
        return;
    if (m_Window.Assess(m_Assessment, m_Newest))
    {
        m_MaxSummation = larger(m_MaxSummation, m_Newest.Summation);
        m_MaxWeightedPeak = larger(m_MaxWeightedPeak, m_Newest.WeightedPeak);
    }
    emit ExposureChanged();
}

void CExposureViewModel::resetMaxima()
{
    m_MaxSummation = m_Newest.Summation;
    m_MaxWeightedPeak = m_Newest.WeightedPeak;
    emit ExposureChanged();
}
