#include "operations/CRecordingManagerMeasure.h"

#include "model/TesvanaSetter.h"

CRecordingManagerMeasure::CRecordingManagerMeasure(CSettings& settings, QObject* parent)
    : CRecordingManagerOf(settings, parent)
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
    l_Add(block);
}

void CRecordingManagerMeasure::OnDataSetCleared()
{
    l_DataSetCleared();
}

void CRecordingManagerMeasure::OnBodyCommentChanged()
{
    m_DataSet.setComment(BodyComment());
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

TESVANA_SETTER(CRecordingManagerMeasure, int, MinReplaySmallBlockDelayMillisecond)
