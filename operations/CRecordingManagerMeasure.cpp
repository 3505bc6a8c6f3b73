#include "operations/CRecordingManagerMeasure.h"

#include "app/CSettings.h"
#include "files/CResultsFileIndex.h"
#include "model/TesvanaSetter.h"

#include <QBuffer>

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

void CRecordingManagerMeasure::AddMeasureBlock(const QSharedPointer<CMeasureBlock>& block)
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
    const bool stepped = l_StepReplay();
    if (l_ReplayAtEnd())
    {
        int delay = m_MinReplaySmallBlockDelayMillisecond;
        if (!ReplayStepByStep() && ReplayIndex() >= 0 && ReplayIndex() < NumBlocks() && TimeWarp() > 0)
            delay = int(double(l_BlockSpan(ReplayIndex())) / TimeWarp() +
                        5.0 * m_MinReplaySmallBlockDelayMillisecond);
        m_StopWaitCounter = 0;
        m_IsProcessingBlock = true;
        m_StopTimer.start(std::max(0, delay));
    }
    if (stepped)
    {
        emit ReplayIndexChanged(ReplayIndex());
        emit ReplayMeasureBlock(StoredBlock(ReplayIndex()));
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

bool CRecordingManagerMeasure::l_TakeIndex(std::unique_ptr<CResultsFileIndex> index, QString* error)
{
    // The file's head and the closing tags are a file of no block: its header values and
    // parameters, read as any file's.
    QByteArray head = index->Head() + CXMLResultsSerializer::Tail();
    QBuffer buffer(&head);
    buffer.open(QIODevice::ReadOnly);
    const QString name = m_DataSet.FilePath();
    m_DataSet.Clear();
    if (!m_XMLResultsSerializer.Deserialize(&buffer, &m_DataSet))
    {
        *error = m_XMLResultsSerializer.LastErrorMessage();
        return false;
    }
    m_DataSet.setFilePath(name);
    if (index->BlockCount() == 0)
        return true;
    if (quint64(index->SampleCount()) <= m_Settings.MeasurementMaxMeasurementCount())
    {
        // It fits: loaded whole, as a smaller file is.
        std::vector<QSharedPointer<CMeasureBlock>> blocks;
        if (!index->Read(0, index->BlockCount(), &blocks, m_Settings, error))
            return false;
        m_DataSet.ReplaceLoadedBlocks(MeasureBlockQueue(blocks.begin(), blocks.end()));
        m_DataSet.setResultsCount(qulonglong(index->SampleCount()));
        return true;
    }
    m_pFileIndex = std::move(index);
    if (!l_ReadWindow(0, error))
    {
        l_EndReadOnDemand();
        return false;
    }
    // The recording is its file: a save copies it, the exports read it.
    m_RecordingFile = m_pFileIndex->Path();
    m_RecordingFileHead = m_pFileIndex->Head();
    m_RecordingFileIsOurs = false;
    emit IsReadOnDemandChanged(true);
    return true;
}

bool CRecordingManagerMeasure::l_ReadWindow(int first, QString* error)
{
    // Room is left for the overview the pages draw around the stretch.
    const quint64 kept = m_Settings.MeasurementMaxMeasurementCount();
    const quint64 overview = 2 * quint64(CResultsFileIndex::OverviewColumns);
    const quint64 limit = kept > 2 * overview ? kept - overview : std::max<quint64>(1, kept / 2);
    const int blocks = m_pFileIndex->BlockCount();
    first = std::clamp(first, 0, blocks - 1);
    const qint64 start = m_pFileIndex->BlockAt(first).FirstSample;
    int count = 1;
    while (first + count < blocks && quint64(m_pFileIndex->BlockAt(first + count).FirstSample +
                                             m_pFileIndex->BlockAt(first + count).Samples - start) <= limit)
        ++count;
    std::vector<QSharedPointer<CMeasureBlock>> read;
    if (!m_pFileIndex->Read(first, count, &read, m_Settings, error))
        return false;
    m_DataSet.ReplaceLoadedBlocks(MeasureBlockQueue(read.begin(), read.end()));
    m_DataSet.setResultsCount(qulonglong(m_pFileIndex->BlockAt(first + count - 1).FirstSample +
                                         m_pFileIndex->BlockAt(first + count - 1).Samples - start));
    m_WindowFirst = first;
    emit WindowMoved();
    return true;
}

QSharedPointer<CMeasureBlock> CRecordingManagerMeasure::StoredBlock(int index)
{
    const auto& blocks = *m_DataSet.MeasureBlocks();
    const int held = int(blocks.size());
    if (m_pFileIndex && (index < m_WindowFirst || index >= m_WindowFirst + held) && index >= 0 &&
        index < m_pFileIndex->BlockCount())
    {
        // Forwards the stretch starts at the block; backwards it ends there, so that
        // stepping either way reads the file once per stretch.
        const int first = index >= m_WindowFirst ? index : std::max(0, index - std::max(1, held) + 1);
        QString error;
        if (!l_ReadWindow(first, &error))
        {
            emit ReadFailed(error);
            return {};
        }
    }
    const int at = index - m_WindowFirst;
    return at >= 0 && at < int(blocks.size()) ? blocks[std::size_t(at)] : QSharedPointer<CMeasureBlock>();
}

bool CRecordingManagerMeasure::ShowFrom(double seconds)
{
    if (!m_pFileIndex)
        return false;
    const int first = m_pFileIndex->BlockAtTime(seconds);
    if (first == m_WindowFirst)
        return false;
    QString error;
    if (!l_ReadWindow(first, &error))
    {
        emit ReadFailed(error);
        return false;
    }
    return true;
}
