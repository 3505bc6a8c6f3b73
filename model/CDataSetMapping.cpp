#include "model/CDataSetMapping.h"

#include "app/CSettings.h"
#include "model/CMeasurementParameters.h"

#include <algorithm>

CDataSetMapping::CDataSetMapping(CSettings& settings, QObject* parent) : CDataset(settings, parent) {}

void CDataSetMapping::AddMeasureBlock(const QSharedPointer<CMeasureBlockMapping>& block)
{
    if (!block)
        return;
    m_MeasureBlocks.push_back(block);

    // Without parameters there is no block size to bound by: kept like a block size of 0.
    const CMeasurementParameters* parameters = MeasurementParameters();
    const int blockSize = parameters ? parameters->BlockSize() : 0;
    if (blockSize <= 0)
        return;

    setResultsCount(m_MeasureBlocks.size());
    const quint64 maxBlocks =
        std::max<quint64>(1, m_Settings.MappingMaxMeasurementCount() / quint64(blockSize));
    while (m_MeasureBlocks.size() > maxBlocks)
    {
        m_MeasureBlocks.pop_front();
        setResultsCount(m_MeasureBlocks.size());
    }
}

void CDataSetMapping::Clear()
{
    m_MeasureBlocks.clear();
    l_ClearHeader();
}

void CDataSetMapping::AppendLoadedBlock(const QSharedPointer<CMeasureBlockMapping>& block)
{
    if (block)
        m_MeasureBlocks.push_back(block);
}

void CDataSetMapping::DropLastLoadedBlock()
{
    if (!m_MeasureBlocks.empty())
        m_MeasureBlocks.pop_back();
}
