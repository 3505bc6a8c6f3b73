#include "compute/CExposureWindow.h"

#include "model/CMeasureBlock.h"

#include <algorithm>
#include <cmath>

namespace KVL
{
namespace
{
int capacityFor(double rate, int blockSize)
{
    int samples = 1;
    while (samples < 65536 && samples < rate)
        samples *= 2;
    return std::max(blockSize, samples);
}
} // namespace

void CExposureWindow::Reset()
{
    m_X.clear();
    m_Y.clear();
    m_Z.clear();
    m_Start = 0;
    m_SinceAssessed = 0;
    m_Fresh = true;
}

bool CExposureWindow::Append(const CMeasureBlock& block, double rate)
{
    const int n = block.Results.size();
    if (n == 0)
        return false;
    // Times in files may be whole milliseconds: the join allows for that.
    const double gap = block.Results.first()->Seconds() - m_LastTime;
    const bool joins = rate == m_Rate && rate > 0 && Size() > 0 && gap > -1.1e-3 && gap < 1.5 / rate + 1.1e-3;
    if (!joins)
    {
        Reset();
        m_Rate = rate;
    }
    m_Capacity = capacityFor(rate, n);
    m_BlockSize = n;
    for (const QSharedPointer<CFieldIntensityResult>& sample : block.Results)
    {
        // A sample that is not a number (a dropout) would blank every stretch around it:
        // the window starts anew after it, as after a gap.
        if (!std::isfinite(sample->Bx()) || !std::isfinite(sample->By()) || !std::isfinite(sample->Bz()))
        {
            Reset();
            continue;
        }
        m_X.push_back(sample->Bx());
        m_Y.push_back(sample->By());
        m_Z.push_back(sample->Bz());
    }
    m_LastTime = block.Results.last()->Seconds();
    m_Start = std::max(m_Start, int(m_X.size()) - m_Capacity);
    // Forget what left the window now and then, not at every block.
    if (m_Start > m_Capacity)
    {
        for (std::vector<float>* axis : {&m_X, &m_Y, &m_Z})
            axis->erase(axis->begin(), axis->begin() + m_Start);
        m_Start = 0;
    }
    m_SinceAssessed += n;
    return m_Fresh || m_SinceAssessed >= m_Capacity / m_Hops;
}

bool CExposureWindow::Assess(CExposureAssessment& assessment, CExposureAssessment::Result& result)
{
    m_Fresh = false;
    m_SinceAssessed = 0;
    // A window still filling is cut to a power of two (the fast transform), never below the block.
    int count = Size();
    int power = 1;
    while (power * 2 <= count)
        power *= 2;
    if (power >= m_BlockSize)
        count = power;
    const std::size_t start = m_X.size() - std::size_t(count);
    m_Assessed = count;
    return assessment.Assess(m_X.data() + start, m_Y.data() + start, m_Z.data() + start, count, m_Rate,
                             result);
}
} // namespace KVL
