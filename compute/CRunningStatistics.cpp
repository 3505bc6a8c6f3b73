#include "compute/CRunningStatistics.h"

#include <algorithm>
#include <cmath>

void CRunningStatistics::Add(float value)
{
    // The first value sets the bounds, as the series' own scan starts from its first.
    m_Min = m_Count == 0 ? value : std::min(m_Min, value);
    m_Max = m_Count == 0 ? value : std::max(m_Max, value);
    ++m_Count;
    const double v = double(value);
    m_SumOfSquares += v * v;
    const double delta = v - m_Mean;
    m_Mean += delta / double(m_Count);
    m_Deviations += delta * (v - m_Mean);
}

float CRunningStatistics::Rms() const
{
    return m_Count == 0 ? 0.0f : float(std::sqrt(m_SumOfSquares / double(m_Count)));
}

float CRunningStatistics::PeakToPeak() const
{
    return m_Count == 0 ? 0.0f : m_Max - m_Min;
}

float CRunningStatistics::StdDev() const
{
    return m_Count < 2 ? 0.0f : float(std::sqrt(m_Deviations / double(m_Count - 1)));
}
