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

void CRecordingManagerMapping::AddMeasureBlock(const QSharedPointer<CMeasureBlockMapping>& block)
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
    if (l_StepReplay())
    {
        emit ReplayIndexChanged(ReplayIndex());
        emit ReplayMeasureBlock(m_DataSet.MeasureBlocks()->at(std::size_t(ReplayIndex())));
    }
    if (l_ReplayAtEnd())
        QTimer::singleShot(100, this, &CRecordingManager::StopReplay);
}
