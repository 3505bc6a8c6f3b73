#include "operations/CRecordingManagerMeasure.h"

#include "model/TesvanaSetter.h"

CRecordingManagerMeasure::CRecordingManagerMeasure(CSettings& settings, QObject* parent)
    : CRecordingManager(settings, parent), m_DataSet(settings)
{
    m_StopTimer.setSingleShot(true);
    connect(&m_DataSet, &CDataset::ClearedChanged, this, &CRecordingManagerMeasure::OnDataSetCleared);
    connect(this, &CRecordingManager::BodyCommentChanged, this,
            &CRecordingManagerMeasure::OnBodyCommentChanged);
    connect(&m_StopTimer, &QTimer::timeout, this, &CRecordingManagerMeasure::l_OnStopReplayTimerTimeout);
    connect(this, &CRecordingManager::IsHoldingChanged, this, &CRecordingManagerMeasure::OnIsHoldingChanged);
}

void CRecordingManagerMeasure::AddMeasureBlock(QSharedPointer<CMeasureBlock> block)
{
    if (!block)
        return;
    l_BeforeBlockAdded(*block);
    m_DataSet.AddMeasureBlock(block);
    l_AfterBlockAdded();
}

void CRecordingManagerMeasure::OnDataSetCleared()
{
    l_DataSetCleared();
}

void CRecordingManagerMeasure::OnBodyCommentChanged()
{
    m_DataSet.setComment(BodyComment());
}

int CRecordingManagerMeasure::l_BlockCount() const
{
    return int(m_DataSet.MeasureBlocks()->size());
}

const CMeasureBlock* CRecordingManagerMeasure::l_BlockAt(int index) const
{
    if (index < 0 || index >= l_BlockCount())
        return nullptr;
    return m_DataSet.MeasureBlocks()->at(std::size_t(index)).data();
}

void CRecordingManagerMeasure::PlayNextStep()
{
    const int i = NextReplayIndex();
    const int e = EndReplayIndex();
    const bool valid = i <= e && i < NumBlocks() && i >= 0 && ReplayIndex() >= 0 && TimeWarp() > 0;
    if (valid)
    {
        m_ReplayIndex = i;
        m_NextReplayIndex = i + 1;
        l_ScheduleNextBlock(i);
    }
    if ((m_NextReplayIndex > e || m_NextReplayIndex >= NumBlocks()) && IsPlayingBack())
    {
        int delay = m_MinReplaySmallBlockDelayMillisecond;
        if (!ReplayStepByStep() && ReplayIndex() >= 0 && ReplayIndex() < NumBlocks() && TimeWarp() > 0)
            delay = int(double(l_BlockSpan(ReplayIndex())) / TimeWarp() +
                        5.0 * m_MinReplaySmallBlockDelayMillisecond);
        m_StopWaitCounter = 0;
        m_IsProcessingBlock = true;
        m_StopTimer.start(std::max(0, delay));
    }
    if (valid)
    {
        emit ReplayIndexChanged(ReplayIndex());
        emit ReplayMeasureBlock(m_DataSet.MeasureBlocks()->at(std::size_t(ReplayIndex())));
    }
}

void CRecordingManagerMeasure::l_OnStopReplayTimerTimeout()
{
    if (IsProcessingBlock() && m_StopWaitCounter < 10)
    {
        ++m_StopWaitCounter;
        if (IsPlayingBack() && ReplayIndex() == EndReplayIndex())
            m_StopTimer.start(100);
        return;
    }
    StopReplay();
}

void CRecordingManagerMeasure::OnIsHoldingChanged(bool isHolding)
{
    if (isHolding)
    {
        if (m_StopTimer.isActive())
            m_StopTimer.stop();
    }
    else if (IsPlayingBack() && ReplayIndex() == EndReplayIndex())
        m_StopTimer.start();
}

bool CRecordingManagerMeasure::l_SerializeXml(QIODevice* device)
{
    return m_XMLResultsSerializer.Serialize(&m_DataSet, device);
}

bool CRecordingManagerMeasure::l_SerializeCsv(QIODevice* device)
{
    return m_CSVResultsSerializer.Serialize(&m_DataSet, device);
}

bool CRecordingManagerMeasure::l_Deserialize(QIODevice* device)
{
    return m_XMLResultsSerializer.Deserialize(device, &m_DataSet);
}

TESVANA_SETTER(CRecordingManagerMeasure, int, MinReplaySmallBlockDelayMillisecond)
