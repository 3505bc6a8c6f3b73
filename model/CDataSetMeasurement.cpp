#include "model/CDataSetMeasurement.h"

#include "app/CSettings.h"

CDataSetMeasurement::CDataSetMeasurement(CSettings& settings, QObject* parent) : CDataset(settings, parent) {}

void CDataSetMeasurement::AddMeasureBlock(const QSharedPointer<CMeasureBlock>& block)
{
    if (!block)
        return;
    const int samples = block->Results.size();
    if (samples > 0)
        setResultsCount(ResultsCount() + qulonglong(samples));
    m_MeasureBlocks.push_back(block);

    // Whole blocks go, oldest first; the newest block always stays, even alone above the limit.
    const quint64 limit = m_Settings.MeasurementMaxMeasurementCount();
    while (ResultsCount() > limit && m_MeasureBlocks.size() >= 2)
    {
        const int dropped = m_MeasureBlocks.front()->Results.size();
        m_MeasureBlocks.pop_front();
        if (dropped > 0)
            setResultsCount(ResultsCount() - qulonglong(dropped));
    }
}

void CDataSetMeasurement::Clear()
{
    m_MeasureBlocks.clear();
    l_ClearHeader();
}

void CDataSetMeasurement::AppendLoadedBlock(const QSharedPointer<CMeasureBlock>& block)
{
    if (block)
        m_MeasureBlocks.push_back(block);
}

void CDataSetMeasurement::DropLastLoadedBlock()
{
    if (!m_MeasureBlocks.empty())
        m_MeasureBlocks.pop_back();
}

void CDataSetMeasurement::DropOldestLoadedBlocks(std::size_t keep)
{
    while (m_MeasureBlocks.size() > keep)
        m_MeasureBlocks.pop_front();
}

void CDataSetMeasurement::ReplaceLoadedBlocks(MeasureBlockQueue blocks)
{
    m_MeasureBlocks = std::move(blocks);
}
