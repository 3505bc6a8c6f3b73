#include "operations/CRecordingManagerMapping.h"

#include <QTimer>

CRecordingManagerMapping::CRecordingManagerMapping(CSettings& settings, QObject* parent)
    : CRecordingManager(settings, parent), m_DataSet(settings)
{
    setIsOperationMeasure(false);
    connect(&m_DataSet, &CDataset::ClearedChanged, this, &CRecordingManagerMapping::OnDataSetCleared);
    connect(this, &CRecordingManager::BodyCommentChanged, this,
            &CRecordingManagerMapping::OnBodyCommentChanged);
}

void CRecordingManagerMapping::AddMeasureBlock(QSharedPointer<CMeasureBlockMapping> block)
{
    if (!block)
        return;
    l_BeforeBlockAdded(*block);
    m_DataSet.AddMeasureBlock(block);
    l_AfterBlockAdded();
}

void CRecordingManagerMapping::OnDataSetCleared()
{
    l_DataSetCleared();
    setHasUnsavedData(false);
}

void CRecordingManagerMapping::OnBodyCommentChanged()
{
    m_DataSet.setComment(BodyComment());
}

int CRecordingManagerMapping::l_BlockCount() const
{
    return int(m_DataSet.MeasureBlocks()->size());
}

const CMeasureBlock* CRecordingManagerMapping::l_BlockAt(int index) const
{
    if (index < 0 || index >= l_BlockCount())
        return nullptr;
    return m_DataSet.MeasureBlocks()->at(std::size_t(index)).data();
}

void CRecordingManagerMapping::PlayNextStep()
{
    const int i = NextReplayIndex();
    const int e = EndReplayIndex();
    const bool valid = i <= e && i < NumBlocks() && i >= 0 && ReplayIndex() >= 0 && TimeWarp() > 0;
    if (valid)
    {
        m_ReplayIndex = i;
        m_NextReplayIndex = i + 1;
        l_ScheduleNextBlock(i);
        emit ReplayIndexChanged(ReplayIndex());
        emit ReplayMeasureBlock(m_DataSet.MeasureBlocks()->at(std::size_t(ReplayIndex())));
    }
    if ((m_NextReplayIndex > e || m_NextReplayIndex >= NumBlocks()) && IsPlayingBack())
        QTimer::singleShot(100, this, &CRecordingManager::StopReplay);
}

bool CRecordingManagerMapping::l_SerializeXml(QIODevice* device)
{
    return m_XMLResultsSerializer.Serialize(&m_DataSet, device);
}

bool CRecordingManagerMapping::l_SerializeCsv(QIODevice* device)
{
    return m_CSVResultsSerializer.Serialize(&m_DataSet, device);
}

bool CRecordingManagerMapping::l_Deserialize(QIODevice* device)
{
    return m_XMLResultsSerializer.Deserialize(device, &m_DataSet);
}
