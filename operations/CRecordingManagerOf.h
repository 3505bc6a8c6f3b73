#pragma once

#include "operations/CRecordingManager.h"

#include <QSharedPointer>

// What both recorders do alike with their own kind of data set: hold it, reach its
// blocks, add one, and write and read it through the results serializers.
template <typename TDataSet> class CRecordingManagerOf : public CRecordingManager
{
public:
    TDataSet* DataSet() { return &m_DataSet; }
    CDataset* BaseDataSet() override { return &m_DataSet; }

protected:
    CRecordingManagerOf(CSettings& settings, QObject* parent)
        : CRecordingManager(settings, parent), m_DataSet(settings)
    {
    }

    template <typename Block> void l_Add(const QSharedPointer<Block>& block)
    {
        if (!block)
            return;
        l_BeforeBlockAdded(*block);
        m_DataSet.AddMeasureBlock(block);
        l_AfterBlockAdded();
    }
    bool l_SerializeXml(QIODevice* device) override
    {
        return m_XMLResultsSerializer.Serialize(&m_DataSet, device);
    }
    bool l_SerializeCsv(QIODevice* device) override
    {
        return m_CSVResultsSerializer.Serialize(&m_DataSet, device);
    }
    bool l_Deserialize(QIODevice* device) override
    {
        return m_XMLResultsSerializer.Deserialize(device, &m_DataSet);
    }
    int l_BlockCount() const override { return int(m_DataSet.MeasureBlocks()->size()); }
    const CMeasureBlock* l_BlockAt(int index) const override
    {
        if (index < 0 || index >= l_BlockCount())
            return nullptr;
        return m_DataSet.MeasureBlocks()->at(std::size_t(index)).data();
    }

    TDataSet m_DataSet;
};
