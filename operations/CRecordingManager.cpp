#include "operations/CRecordingManager.h"

#include "app/CSettings.h"
#include "app/LogCategories.h"
#include "files/CResultsFileIndex.h"
#include "files/CResultsStreamWriter.h"
#include "model/CDataset.h"
#include "model/CMeasureBlock.h"
#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"

#include <QBuffer>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>
#include <cstdio>

CRecordingManager::CRecordingManager(CSettings& settings, QObject* parent)
    : QObject(parent), m_Settings(settings)
{
    m_ReplayTimer.setSingleShot(true);
    m_ReplayTimer.setInterval(m_ReplayBlockDelayMillisecond);
    connect(&m_ReplayTimer, &QTimer::timeout, this, &CRecordingManager::l_OnReplayBlockTimerTimeout);
    connect(this, &CRecordingManager::ReplayBlockDelayMillisecondChanged, this,
            &CRecordingManager::l_OnReplayBlockDelayMillisecondChanged);
    connect(this, &CRecordingManager::IsProcessingBlockChanged, this, &CRecordingManager::OnBlockProcessed);
    m_IndexingPoll.setInterval(100);
    connect(&m_IndexingPoll, &QTimer::timeout, this, &CRecordingManager::l_OnIndexingPoll);
}

CRecordingManager::~CRecordingManager()
{
    l_StopIndexing();
    // A recording still being written is finished, so its file is complete; it stays
    // where it is and the next start offers it.
    l_FinishStream();
}

const QString CRecordingManager::StreamSuffix = QStringLiteral(".part");

QString CRecordingManager::StreamFolderIn(const QString& storageFolder)
{
    return QDir(storageFolder).filePath(QStringLiteral("Recordings"));
}

QString CRecordingManager::StreamFolder() const
{
    return m_StreamFolder.isEmpty() ? StreamFolderIn(m_Settings.DefaultStoragePath()) : m_StreamFolder;
}

QString CRecordingManager::StreamPath() const
{
    return m_pStream ? m_pStream->Path() : QString();
}

qint64 CRecordingManager::StreamBytes() const
{
    return m_pStream ? m_pStream->BytesWritten() : 0;
}

void CRecordingManager::l_StreamBlock(const QSharedPointer<CMeasureBlock>& block)
{
    if (!m_pStream)
    {
        if (!m_StreamError.isEmpty())
            return; // this recording could not be written: it is kept in memory only
        const QString folder = StreamFolder();
        const QString stamp =
            CNumberText::DateTime(QDateTime::currentDateTime(), QStringLiteral("yyyy-MM-dd_HH.mm.ss"));
        const QString kind = IsOperationMeasure() ? QStringLiteral("measurement") : QStringLiteral("mapping");
        QString path = QDir(folder).filePath(QStringLiteral("%1_%2.kxr.xml").arg(stamp, kind));
        for (int n = 2; QFile::exists(path + StreamSuffix) || QFile::exists(path); ++n)
            path = QDir(folder).filePath(QStringLiteral("%1_%2_%3.kxr.xml").arg(stamp, kind).arg(n));
        auto stream = std::make_unique<CResultsStreamWriter>();
        QString error;
        if (!QDir().mkpath(folder))
            error = tr("cannot create the folder %1").arg(folder);
        else if (stream->Open(path + StreamSuffix, l_StreamHead(), &error))
        {
            stream->setFailed([this](const QString& reason) {
                QMetaObject::invokeMethod(
                    this, [this, reason] { emit StreamFailed(reason); }, Qt::QueuedConnection);
            });
            m_pStream = std::move(stream);
            m_RecordingFile.clear();
            qCInfo(lcOperations).noquote() << QStringLiteral("Recording to ") + path + StreamSuffix;
        }
        if (!m_pStream)
        {
            m_StreamError = error;
            // Recorded on in memory, as without a disk: the recording bar says why.
            qCWarning(lcOperations).noquote()
                << QStringLiteral("The recording is kept in memory only: ") + error;
            return;
        }
    }
    m_pStream->Append(block);
}

void CRecordingManager::l_FinishStream()
{
    if (!m_pStream)
        return;
    QString error;
    const bool finished = m_pStream->Finish(&error);
    const QString path = m_pStream->Path();
    const bool any = m_pStream->BlocksWritten() > 0;
    m_RecordingFileHead = m_pStream->Head();
    m_pStream.reset();
    if (!finished)
    {
        // What was written stays readable where it is; the recording is saved from memory.
        m_StreamError = error;
        m_RecordingFile.clear();
        return;
    }
    if (!any)
    {
        QFile::remove(path);
        return;
    }
    m_RecordingFile = path;
    m_RecordingFileIsOurs = true;
}

QString CRecordingManager::WholeRecordingFile() const
{
    if (l_HasRecordingFile())
        return m_RecordingFile;
    if (!m_LoadedFile.isEmpty() && !HasUnsavedData() && QFile::exists(m_LoadedFile))
        return m_LoadedFile;
    return QString();
}

bool CRecordingManager::l_HasRecordingFile() const
{
    return !m_pStream && !m_RecordingFile.isEmpty() && QFile::exists(m_RecordingFile);
}

void CRecordingManager::l_DiscardRecordingFile()
{
    const QString path = m_pStream ? m_pStream->Path() : QString();
    m_pStream.reset();
    if (!path.isEmpty())
        QFile::remove(path);
    else if (m_RecordingFileIsOurs && !m_RecordingFile.isEmpty())
        QFile::remove(m_RecordingFile);
    m_RecordingFile.clear();
    m_RecordingFileIsOurs = false;
    m_StreamError.clear();
}

namespace
{
// The head of a results file without its date: two heads that differ only there
// describe the same recording.
QByteArray undated(QByteArray head)
{
    const int from = head.indexOf("<dateTime8601>");
    const int to = head.indexOf("</dateTime8601>");
    if (from >= 0 && to > from)
        head.remove(from, to - from);
    return head;
}
} // namespace

bool CRecordingManager::l_SaveCompleteBlocks(const QByteArray& head, const QString& target, QString* error)
{
    const CResultsFileIndex& index = *m_pFileIndex;
    QFile source(index.Path());
    QSaveFile out(target);
    if (!source.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
    {
        *error = tr("cannot write %1: %2").arg(target, out.errorString());
        return false;
    }
    // The head as it stands, then the file from the end of its own head to the end of its
    // last whole block, then the closing tags.
    out.write(head);
    qint64 left = 0;
    if (index.BlockCount() > 0)
        left = index.BlockAt(index.BlockCount() - 1).Offset + index.BlockAt(index.BlockCount() - 1).Length -
               index.Head().size();
    source.seek(index.Head().size());
    while (left > 0)
    {
        const QByteArray chunk = source.read(std::min<qint64>(left, 4 << 20));
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            break;
        left -= chunk.size();
    }
    out.write(CXMLResultsSerializer::Tail());
    if (left > 0 || !out.commit())
    {
        out.cancelWriting();
        *error = tr("cannot write %1: %2").arg(target, out.errorString());
        return false;
    }
    return true;
}

bool CRecordingManager::PlaceResultsFile(const QString& path, const QByteArray& pathHead,
                                         const QByteArray& head, const QString& target, bool move,
                                         QString* error)
{
    const auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    const bool sameHead = undated(pathHead) == undated(head);
    // A rename replaces the target at once, never leaving it half written.
    if (move && sameHead &&
        std::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return fail(tr("cannot read %1: %2").arg(path, source.errorString()));
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return fail(tr("cannot write %1: %2").arg(target, out.errorString()));
    if (!sameHead)
    {
        // The recording's comment or parameters changed since it was begun.
        out.write(head);
        source.seek(pathHead.size());
    }
    QByteArray chunk;
    while (!source.atEnd())
    {
        chunk = source.read(4 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            break;
    }
    if (!source.atEnd() || !out.commit())
    {
        out.cancelWriting();
        return fail(tr("cannot write %1: %2").arg(target, out.errorString()));
    }
    if (move)
        QFile::remove(path);
    return true;
}

void CRecordingManager::l_OnReplayBlockDelayMillisecondChanged()
{
    m_ReplayTimer.setInterval(m_ReplayBlockDelayMillisecond);
}

void CRecordingManager::ResetForClear()
{
    l_DiscardRecordingFile();
    setHasUnsavedData(false);
    setIsPlayingBack(false);
    setIsRecording(false);
    setIsIdleWithData(false);
    setIsDataLoaded(false);
    setIsHolding(true);
    setBodyComment(QString());
    setMeasComment(QString());
    BaseDataSet()->Clear();
}

void CRecordingManager::l_BeforeBlockAdded(CMeasureBlock& block)
{
    if (m_IsRecording && !m_HasUnsavedData)
        setHasUnsavedData(true);
    if (m_IsDataSetEmpty)
        setIsDataSetEmpty(false);
    block.setComment(m_MeasComment + block.Comment());
}

namespace
{
qint64 sampleTime(const QSharedPointer<CFieldIntensityResult>& sample)
{
    return sample ? sample->Timestamp.toMSecsSinceEpoch() : 0;
}
} // namespace

qint64 CRecordingManager::l_BlockTime(int index) const
{
    if (m_pFileIndex)
    {
        if (index < 0 || index >= m_pFileIndex->BlockCount())
            return 0;
        const double first = m_pFileIndex->BlockAt(index).FirstTime;
        return std::isfinite(first) ? qint64(std::floor(first * 1e3 + 0.5)) : 0;
    }
    const CMeasureBlock* block = l_BlockAt(index);
    return block && !block->Results.isEmpty() ? sampleTime(block->Results.first()) : 0;
}

qint64 CRecordingManager::l_BlockSpan(int index) const
{
    if (m_pFileIndex)
    {
        if (index < 0 || index >= m_pFileIndex->BlockCount())
            return 0;
        const auto& block = m_pFileIndex->BlockAt(index);
        const double span = (block.LastTime - block.FirstTime) * 1e3;
        return std::isfinite(span) ? qint64(std::floor(span + 0.5)) : 0;
    }
    const CMeasureBlock* block = l_BlockAt(index);
    return block && !block->Results.isEmpty()
               ? sampleTime(block->Results.last()) - sampleTime(block->Results.first())
               : 0;
}

void CRecordingManager::l_AfterBlockAdded()
{
    const int blocks = l_BlockCount();
    setNumBlocks(blocks);
    setReplayIndex(blocks > 0 ? blocks - 1 : 0);
}

void CRecordingManager::l_DataSetCleared()
{
    // What is gone is nothing left to save, whichever path cleared it; a file still being
    // opened is not wanted any more (a new recording).
    if (m_IsIndexing && !m_IndexingDone)
        m_CancelIndexing = m_IndexingAbandoned = true;
    l_EndReadOnDemand();
    m_LoadedFile.clear();
    setHasUnsavedData(false);
    setIsDataSetEmpty(true);
    setNumBlocks(0);
    setReplayIndex(0);
    setNextReplayIndex(0);
    setStartReplayIndex(0);
    setEndReplayIndex(0);
    m_WaitCounter = 0;
    m_IsProcessingBlock = false;
}

void CRecordingManager::ResetRecord()
{
    l_DiscardRecordingFile();
    setIsDataLoaded(false);
    setHasUnsavedData(false);
    setIsPlayingBack(false);
    setIsRecording(true);
    BaseDataSet()->setComment(m_BodyComment);
    BaseDataSet()->Clear();
}

void CRecordingManager::StopRecord()
{
    // The file is complete from here on: a crash after the recording loses nothing.
    l_FinishStream();
    setIsRecording(false);
    setIsIdleWithData(!m_IsDataSetEmpty);
    setNextReplayIndex(0);
}

void CRecordingManager::Save(const QString& path)
{
    SaveAs(path, nullptr);
}

bool CRecordingManager::SaveAs(const QString& path, QString* error)
{
    const auto fail = [error](const QString& message) {
        if (error)
            *error = message;
    };
    if (path.isEmpty())
    {
        fail(tr("no file name"));
        return false;
    }

    // A recording written to disk as measured is its own file once stopped (complete): it
    // is put in place (a rename), whatever its length; the data set in memory may hold only
    // its newest part. One still being written (a save on the way out) is saved from
    // memory, its file going on untouched.
    bool xmlSaved = false;
    const bool fromFile = l_HasRecordingFile();
    if (fromFile)
    {
        QString why;
        const QByteArray head = l_StreamHead();
        // A file read on demand that was cut short is saved whole: its complete blocks, closed.
        xmlSaved = m_pFileIndex && !m_pFileIndex->CutShortNotice().isEmpty()
                       ? l_SaveCompleteBlocks(head, path, &why)
                       : PlaceResultsFile(m_RecordingFile, m_RecordingFileHead, head, path,
                                          m_RecordingFileIsOurs, &why);
        if (xmlSaved)
        {
            // Later saves copy the file saved.
            m_RecordingFile = path;
            m_RecordingFileHead = head;
            m_RecordingFileIsOurs = false;
            BaseDataSet()->setFilePath(path.split(QLatin1Char('/')).last());
            qCInfo(lcOperations).noquote() << QStringLiteral("Data saved in file ") + path;
        }
        else
        {
            fail(why);
            qCWarning(lcOperations).noquote()
                << QStringLiteral("Error while saving file ") + path + ": " + why;
        }
    }
    // Written beside the target and put in place only when complete: a failed
    // or interrupted save never damages the previous file.
    else
    {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
        {
            qCDebug(lcOperations).noquote() << QStringLiteral("Error: Cannot create file : ") + path;
            fail(tr("cannot write %1: %2").arg(path, file.errorString()));
        }
        else
        {
            BaseDataSet()->setFilePath(path.split(QLatin1Char('/')).last());
            xmlSaved = l_SerializeXml(&file) && file.commit();
            if (!xmlSaved)
            {
                fail(tr("cannot write %1: %2").arg(path, file.errorString()));
                file.cancelWriting();
                qCWarning(lcOperations).noquote() << QStringLiteral("Error while saving file ") + path;
            }
            else
                qCInfo(lcOperations).noquote() << QStringLiteral("Data saved in file ") + path;
        }
    }

    bool csvSaved = true;
    if (m_Settings.SaveRecordingsAsCsv() && xmlSaved)
    {
        const QFileInfo info(path);
        QString why;
        csvSaved =
            WriteCsv(info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".csv"), &why);
        if (!csvSaved)
            fail(why);
    }
    // Unsaved unless every file asked for was written: a CSV written after a
    // failed XML save must not pass the recording off as saved.
    setHasUnsavedData(!(xmlSaved && csvSaved));
    return xmlSaved && csvSaved;
}

bool CRecordingManager::WriteCsv(const QString& path, QString* error)
{
    QSaveFile csv(path);
    const bool fromFile = l_HasRecordingFile();
    if (csv.open(QIODevice::WriteOnly | QIODevice::Text) &&
        (fromFile ? l_CsvFromFile(m_RecordingFile, &csv) : l_SerializeCsv(&csv)) && csv.commit())
        return true;
    csv.cancelWriting();
    qCWarning(lcOperations).noquote() << QStringLiteral("Error while saving file ") + path;
    if (error)
        *error = tr("cannot write %1: %2").arg(path, csv.errorString());
    return false;
}

bool CRecordingManager::ExportHdf5(const QString& path, QString* error)
{
    const bool fromFile = l_HasRecordingFile();
    return l_Hdf5(fromFile ? m_RecordingFile : QString(), path, error);
}

bool CRecordingManager::WriteRecovery(const QString& path)
{
    l_FinishStream();
    if (l_HasRecordingFile())
    {
        // The whole recording, from its file; a copy when the program keeps the file.
        if (!PlaceResultsFile(m_RecordingFile, m_RecordingFileHead, l_StreamHead(), path,
                              m_RecordingFileIsOurs, nullptr))
            return false;
        if (m_RecordingFileIsOurs)
        {
            m_RecordingFile = path;
            m_RecordingFileIsOurs = false;
        }
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!l_SerializeXml(&file) || !file.commit())
    {
        file.cancelWriting();
        return false;
    }
    return true;
}

qint64 CRecordingManager::IndexingThreshold() const
{
    // No sample's row is shorter than this: a file up to the limit times it cannot hold
    // more samples than memory keeps.
    constexpr qint64 shortestRow = 40;
    return qint64(m_Settings.MeasurementMaxMeasurementCount()) * shortestRow;
}

bool CRecordingManager::Load(const QString& path)
{
    l_StopIndexing();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        qCDebug(lcOperations).noquote() << QStringLiteral("Error: Cannot open file : ") + path;
        return false;
    }
    setHasUnsavedData(false);
    l_DiscardRecordingFile();
    BaseDataSet()->Clear();
    m_LoadedFile = QFileInfo(path).absoluteFilePath();
    BaseDataSet()->setFilePath(path.split(QLatin1Char('/')).last());
    if (l_CanReadOnDemand() && file.size() > IndexingThreshold())
    {
        // The first block is shown at once; the rest is read in the background, the window
        // staying responsive, and the user may cancel.
        l_ReadFirstBlock(file);
        file.close();
        m_pIndexing = std::make_unique<CResultsFileIndex>();
        m_CancelIndexing = false;
        m_IndexingAbandoned = false;
        m_IndexingDone = false;
        m_IndexedBytes = 0;
        m_IndexedTotal = std::max<qint64>(1, QFileInfo(path).size());
        m_IsIndexing = true;
        m_IndexingProgress = 0;
        emit IsIndexingChanged(true);
        emit IndexingProgressChanged(0);
        m_IndexThread = std::thread([this, path] {
            m_IndexingOk = m_pIndexing->Build(
                path, m_Settings,
                [this](qint64 done, qint64 total) {
                    m_IndexedBytes = done;
                    m_IndexedTotal = std::max<qint64>(1, total);
                },
                &m_CancelIndexing, &m_IndexingError);
            m_IndexingDone = true;
        });
        m_IndexingPoll.start();
        return true;
    }
    const bool loaded = l_Deserialize(&file);
    l_SetLoaded(l_BlockCount());
    file.close();
    return loaded;
}

void CRecordingManager::l_SetLoaded(int blocks)
{
    setNumBlocks(blocks);
    // A recording just read from its file has nothing unsaved.
    setHasUnsavedData(false);
    setIsIdleWithData(blocks != 0);
    setIsDataSetEmpty(blocks == 0);
    setIsDataLoaded(true);
}

void CRecordingManager::l_ReadFirstBlock(QFile& file)
{
    QByteArray start;
    const QByteArray close = QByteArrayLiteral("</measurements>");
    while (!file.atEnd() && start.size() < (64 << 20))
    {
        const int from = std::max(0, start.size() - close.size());
        start += file.read(1 << 20);
        const int end = start.indexOf(close, from);
        if (end < 0)
            continue;
        start.truncate(end + close.size());
        start += CXMLResultsSerializer::Tail();
        QBuffer buffer(&start);
        buffer.open(QIODevice::ReadOnly);
        if (!l_Deserialize(&buffer))
            BaseDataSet()->Clear(); // the whole file's reading will say what is wrong
        return;
    }
}

void CRecordingManager::cancelIndexing()
{
    m_CancelIndexing = true;
}

void CRecordingManager::l_StopIndexing()
{
    if (!m_IndexThread.joinable())
        return;
    m_CancelIndexing = true;
    m_IndexThread.join();
    m_IndexingPoll.stop();
    m_pIndexing.reset();
    m_IsIndexing = false;
    emit IsIndexingChanged(false);
}

void CRecordingManager::l_OnIndexingPoll()
{
    const double progress = double(m_IndexedBytes) / double(m_IndexedTotal);
    if (progress != m_IndexingProgress)
    {
        m_IndexingProgress = progress;
        emit IndexingProgressChanged(progress);
    }
    if (!m_IndexingDone)
        return;
    m_IndexThread.join();
    m_IndexingPoll.stop();
    std::unique_ptr<CResultsFileIndex> index = std::move(m_pIndexing);
    QString message = m_IndexingError;
    bool ok = m_IndexingOk && !m_CancelIndexing;
    const QString notice = ok ? index->CutShortNotice() : QString();
    if (ok)
        ok = l_TakeIndex(std::move(index), &message);
    if (ok)
        l_SetLoaded(m_pFileIndex ? m_pFileIndex->BlockCount() : l_BlockCount());
    else
    {
        // What the opening showed goes, unless a new recording has replaced it already.
        if (!m_IndexingAbandoned)
            BaseDataSet()->Clear();
        if (m_CancelIndexing)
            message.clear(); // the user's own choice: nothing to report
    }
    m_IsIndexing = false;
    emit IsIndexingChanged(false);
    emit IndexingFinished(ok, message, notice);
}

bool CRecordingManager::l_TakeIndex(std::unique_ptr<CResultsFileIndex>, QString* error)
{
    *error = tr("This kind of recording cannot be read a part at a time");
    return false;
}

void CRecordingManager::l_EndReadOnDemand()
{
    if (!m_pFileIndex)
        return;
    m_pFileIndex.reset();
    m_WindowFirst = 0;
    emit IsReadOnDemandChanged(false);
}

void CRecordingManager::StartReplay()
{
    if (m_ReplayStepByStep)
        setReplayBlockDelayMillisecond(1);
    if (!m_IsPlayingBack)
    {
        setReplayIndex(m_StartReplayIndex);
        setNextReplayIndex(m_StartReplayIndex);
        m_ReplayTimer.stop();
        m_WaitCounter = 0;
        m_IsProcessingBlock = false;
    }
    setIsPlayingBack(true);
    m_ReplayTimer.start(m_RemainingTime < 1 ? 1 : m_RemainingTime);
    m_RemainingTime = 0;
    setIsHolding(false);
    setIsIdleWithData(false);
}

void CRecordingManager::PauseReplay()
{
    setIsHolding(true);
    setIsIdleWithData(false);
    m_RemainingTime = m_ReplayTimer.isActive() ? m_ReplayTimer.remainingTime() : 0;
    m_ReplayTimer.stop();
}

void CRecordingManager::StopReplay()
{
    m_ReplayTimer.stop();
    setIsIdleWithData(!m_IsDataSetEmpty);
    setIsPlayingBack(false);
    setIsHolding(true);
    setNextReplayIndex(0);
    m_RemainingTime = 0;
    if (m_IsIdleWithData && m_NumBlocks >= 1 && m_ReplayIndex + 1 < m_NumBlocks)
    {
        // Shows the last block, as a stopped recording would.
        setReplayIndex(m_NumBlocks - 1);
        setNextReplayIndex(m_NumBlocks - 1);
        PlayNextStep();
    }
    m_WaitCounter = 0;
    m_IsProcessingBlock = false;
}

void CRecordingManager::playCurrentBlock(int currentBlock)
{
    if (currentBlock < 1 || currentBlock > m_NumBlocks)
        return;
    setReplayIndex(currentBlock - 1);
    setNextReplayIndex(currentBlock - 1);
    PlayNextStep();
}

bool CRecordingManager::l_StepReplay()
{
    const int i = NextReplayIndex();
    if (!(i <= EndReplayIndex() && i < NumBlocks() && i >= 0 && ReplayIndex() >= 0 && TimeWarp() > 0))
        return false;
    m_ReplayIndex = i;
    m_NextReplayIndex = i + 1;
    l_ScheduleNextBlock(i);
    return true;
}

bool CRecordingManager::l_ReplayAtEnd() const
{
    return (m_NextReplayIndex > EndReplayIndex() || m_NextReplayIndex >= NumBlocks()) && IsPlayingBack();
}

bool CRecordingManager::l_ScheduleNextBlock(int index)
{
    if (!(index < m_EndReplayIndex && !m_ReplayStepByStep && m_IsPlayingBack))
        return false;
    m_IsProcessingBlock = true;
    const double gap = double(l_BlockTime(index + 1) - l_BlockTime(index)) / m_TimeWarp;
    const double rounded = std::floor(gap + 0.5);
    // A gap beyond the timer's range (a corrupt timestamp) is clamped rather than wrapped.
    m_ReplayTimer.start(int(std::clamp(rounded, 0.0, 2147483647.0)));
    return true;
}

void CRecordingManager::l_RunReplayStep()
{
    m_WaitCounter = 0;
    PlayNextStep();
}

void CRecordingManager::l_OnReplayBlockTimerTimeout()
{
    if (!m_IsPlayingBack)
        return;
    if (!m_IsProcessingBlock)
    {
        l_RunReplayStep();
        return;
    }
    // The views are still busy with the last block: wait, ten times at most.
    if (m_WaitCounter >= 9)
        setIsProcessingBlock(false);
    ++m_WaitCounter;
    m_ReplayTimer.start(100);
}

void CRecordingManager::OnBlockProcessed()
{
    if (!m_IsPlayingBack || m_IsProcessingBlock || m_WaitCounter < 1 || !m_ReplayTimer.isActive())
        return;
    m_WaitCounter = 0;
    if (m_ReplayTimer.remainingTime() < 11)
        return;
    m_ReplayTimer.stop();
    l_OnReplayBlockTimerTimeout();
}

TESVANA_SETTER(CRecordingManager, int, ReplayIndex)
TESVANA_SETTER(CRecordingManager, int, NextReplayIndex)
TESVANA_SETTER(CRecordingManager, int, StartReplayIndex)
TESVANA_SETTER(CRecordingManager, int, EndReplayIndex)
TESVANA_SETTER(CRecordingManager, int, NumBlocks)
TESVANA_SETTER(CRecordingManager, double, TimeWarp)
TESVANA_SETTER(CRecordingManager, int, ReplayBlockDelayMillisecond)
TESVANA_SETTER(CRecordingManager, bool, ReplayStepByStep)
TESVANA_SETTER(CRecordingManager, bool, IsHolding)
TESVANA_SETTER(CRecordingManager, bool, HasUnsavedData)
TESVANA_SETTER(CRecordingManager, bool, IsPlayingBack)
TESVANA_SETTER(CRecordingManager, bool, IsDataLoaded)
TESVANA_SETTER(CRecordingManager, bool, IsIdle)
TESVANA_SETTER(CRecordingManager, bool, IsIdleWithData)
TESVANA_SETTER(CRecordingManager, bool, IsDataSetEmpty)
TESVANA_SETTER(CRecordingManager, bool, IsOperationMeasure)
TESVANA_SETTER(CRecordingManager, bool, IsProcessingBlock)
TESVANA_SETTER(CRecordingManager, const QString&, MeasComment)
TESVANA_SETTER(CRecordingManager, const QString&, BodyComment)

void CRecordingManager::setIsRecording(bool value)
{
    m_IsRecording = value;
    emit IsRecordingChanged(value);
}
