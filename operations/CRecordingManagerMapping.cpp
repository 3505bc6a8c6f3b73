#include "operations/CRecordingManagerMapping.h"

#include "compute/FieldRotation.h"

#include <QTimer>

CRecordingManagerMapping::CRecordingManagerMapping(CSettings& settings, QObject* parent)
    : CRecordingManagerOf(settings, parent)
{
    setIsOperationMeasure(false);
    connect(&m_DataSet, &CDataset::ClearedChanged, this, &CRecordingManagerMapping::OnDataSetCleared);
    connect(this, &CRecordingManager::BodyCommentChanged, this,
            &CRecordingManagerMapping::OnBodyCommentChanged);
}

void CRecordingManagerMapping::AddMeasureBlock(QSharedPointer<CMeasureBlockMapping> block)
{
    // A map is recorded in the mapping's frame; turned before it is written to disk, where
    // it must not change any more (turning twice does nothing).
    if (block)
        KVL::RotateIntoMappingFrame(*block);
    l_Add(block);
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
