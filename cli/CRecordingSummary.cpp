#include "cli/CRecordingSummary.h"

#include "model/CMeasureBlockMapping.h"

#include <cmath>

void CRecordingSummary::Add(const CMeasureBlock& block)
{
    ++m_Blocks;
    Block figures;
    if (const auto* mapped = dynamic_cast<const CMeasureBlockMapping*>(&block))
    {
        figures.mapped = true;
        figures.position = mapped->Position;
    }
    if (!block.Results.isEmpty())
    {
        if (!m_HasSamples)
        {
            m_FirstTime = block.Results.front()->Timestamp;
            m_FirstNanoseconds = block.Results.front()->TimestampNanosecond;
            m_HasSamples = true;
        }
        m_LastTime = block.Results.back()->Timestamp;
        m_LastNanoseconds = block.Results.back()->TimestampNanosecond;
    }
    if (std::isnan(m_TimestampRate))
    {
        const double rate = block.TimestampRate();
        if (std::isfinite(rate))
            m_TimestampRate = rate;
    }
    for (const auto& sample : block.Results)
    {
        if (sample->BBprime() != 0 && std::isfinite(sample->BBprime()))
            m_HasBprime = true;
        for (int q = 0; q < QuantityCount; ++q)
        {
            const float value = sample->Quantity(q);
            m_All[std::size_t(q)].Add(value);
            if (m_PerBlock)
                figures.figures[std::size_t(q)].Add(value);
        }
    }
    if (m_PerBlock)
        m_EachBlock.push_back(figures);
}
