#pragma once

#include "files/CCSVResultsSerializer.h"
#include "files/CXMLResultsSerializer.h"

#include <QObject>
#include <QSharedPointer>
#include <QTimer>

#include <atomic>
#include <memory>
#include <thread>

class CMeasureBlock;
class CResultsFileIndex;
class QFile;
class CResultsStreamWriter;

class CSettings;
class CDataset;

// Recording state, saving and loading, and block-by-block replay of one
// operation's data set. The kinds differ in their data set and block type.
class CRecordingManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CXMLResultsSerializer* XMLResultsSerializer READ XMLResultsSerializer CONSTANT)
    Q_PROPERTY(CCSVResultsSerializer* CSVResultsSerializer READ CSVResultsSerializer CONSTANT)
    Q_PROPERTY(int ReplayIndex READ ReplayIndex WRITE setReplayIndex NOTIFY ReplayIndexChanged)
    Q_PROPERTY(
        int NextReplayIndex READ NextReplayIndex WRITE setNextReplayIndex NOTIFY NextReplayIndexChanged)
    Q_PROPERTY(
        int StartReplayIndex READ StartReplayIndex WRITE setStartReplayIndex NOTIFY StartReplayIndexChanged)
    Q_PROPERTY(int EndReplayIndex READ EndReplayIndex WRITE setEndReplayIndex NOTIFY EndReplayIndexChanged)
    Q_PROPERTY(int NumBlocks READ NumBlocks WRITE setNumBlocks NOTIFY NumBlocksChanged)
    Q_PROPERTY(double TimeWarp READ TimeWarp WRITE setTimeWarp NOTIFY TimeWarpChanged)
    Q_PROPERTY(int ReplayBlockDelayMillisecond READ ReplayBlockDelayMillisecond WRITE
                   setReplayBlockDelayMillisecond NOTIFY ReplayBlockDelayMillisecondChanged)
    Q_PROPERTY(
        bool ReplayStepByStep READ ReplayStepByStep WRITE setReplayStepByStep NOTIFY ReplayStepByStepChanged)
    Q_PROPERTY(bool IsHolding READ IsHolding WRITE setIsHolding NOTIFY IsHoldingChanged)
    Q_PROPERTY(bool HasUnsavedData READ HasUnsavedData WRITE setHasUnsavedData NOTIFY HasUnsavedDataChanged)
    Q_PROPERTY(bool IsPlayingBack READ IsPlayingBack WRITE setIsPlayingBack NOTIFY IsPlayingBackChanged)
    Q_PROPERTY(bool IsDataLoaded READ IsDataLoaded WRITE setIsDataLoaded NOTIFY IsDataLoadedChanged)
    Q_PROPERTY(bool IsRecording READ IsRecording WRITE setIsRecording NOTIFY IsRecordingChanged)
    Q_PROPERTY(bool IsIdle READ IsIdle WRITE setIsIdle NOTIFY IsIdleChanged)
    Q_PROPERTY(bool IsIdleWithData READ IsIdleWithData WRITE setIsIdleWithData NOTIFY IsIdleWithDataChanged)
    Q_PROPERTY(bool IsDataSetEmpty READ IsDataSetEmpty WRITE setIsDataSetEmpty NOTIFY IsDataSetEmptyChanged)
    Q_PROPERTY(bool IsOperationMeasure READ IsOperationMeasure WRITE setIsOperationMeasure NOTIFY
                   IsOperationMeasureChanged)
    Q_PROPERTY(bool IsProcessingBlock READ IsProcessingBlock WRITE setIsProcessingBlock NOTIFY
                   IsProcessingBlockChanged)
    Q_PROPERTY(QString MeasComment READ MeasComment WRITE setMeasComment NOTIFY MeasCommentChanged)
    Q_PROPERTY(QString BodyComment READ BodyComment WRITE setBodyComment NOTIFY BodyCommentChanged)
    // A file larger than memory keeps is read in the background first (its blocks placed),
    // then a stretch of it at a time.
    Q_PROPERTY(bool IsIndexing READ IsIndexing NOTIFY IsIndexingChanged)
    Q_PROPERTY(double IndexingProgress READ IndexingProgress NOTIFY IndexingProgressChanged)
    Q_PROPERTY(bool IsReadOnDemand READ IsReadOnDemand NOTIFY IsReadOnDemandChanged)

public:
    CRecordingManager(CSettings& settings, QObject* parent = nullptr);
    ~CRecordingManager() override;

    // Where recordings are written as they are measured: a folder of their own under the
    // storage folder, unless set (the command-line tool writes beside its output).
    QString StreamFolder() const;
    void setStreamFolder(const QString& folder) { m_StreamFolder = folder; }
    static QString StreamFolderIn(const QString& storageFolder);
    // The unfinished file of a recording being written carries this ending.
    static const QString StreamSuffix;
    // The file the recording is being written to (empty when none), its size so far.
    QString StreamPath() const;
    qint64 StreamBytes() const;
    // Why the recording could not be written to disk as measured (empty when it was).
    QString StreamError() const { return m_StreamError; }

    CXMLResultsSerializer* XMLResultsSerializer() { return &m_XMLResultsSerializer; }
    CCSVResultsSerializer* CSVResultsSerializer() { return &m_CSVResultsSerializer; }
    int ReplayIndex() const { return m_ReplayIndex; }
    int NextReplayIndex() const { return m_NextReplayIndex; }
    int StartReplayIndex() const { return m_StartReplayIndex; }
    int EndReplayIndex() const { return m_EndReplayIndex; }
    int NumBlocks() const { return m_NumBlocks; }
    double TimeWarp() const { return m_TimeWarp; }
    int ReplayBlockDelayMillisecond() const { return m_ReplayBlockDelayMillisecond; }
    bool ReplayStepByStep() const { return m_ReplayStepByStep; }
    bool IsHolding() const { return m_IsHolding; }
    bool HasUnsavedData() const { return m_HasUnsavedData; }
    bool IsPlayingBack() const { return m_IsPlayingBack; }
    bool IsDataLoaded() const { return m_IsDataLoaded; }
    // The file on disk that holds the whole recording (the finished stream, the file it was
    // saved as, or the file it was loaded from while unchanged), which memory may hold only
    // the newest part of; empty while it is being written or when there is none.
    QString WholeRecordingFile() const;
    bool IsRecording() const { return m_IsRecording; }
    bool IsIdle() const { return m_IsIdle; }
    bool IsIdleWithData() const { return m_IsIdleWithData; }
    bool IsDataSetEmpty() const { return m_IsDataSetEmpty; }
    bool IsOperationMeasure() const { return m_IsOperationMeasure; }
    bool IsProcessingBlock() const { return m_IsProcessingBlock; }
    QString MeasComment() const { return m_MeasComment; }
    QString BodyComment() const { return m_BodyComment; }
    bool IsIndexing() const { return m_IsIndexing; }
    double IndexingProgress() const { return m_IndexingProgress; }
    bool IsReadOnDemand() const { return bool(m_pFileIndex); }
    // The index of the file read on demand (null when the recording is all in memory), and
    // the recording's block the data set's first block is.
    const CResultsFileIndex* FileIndex() const { return m_pFileIndex.get(); }
    int WindowFirstBlock() const { return m_WindowFirst; }
    // The blocks the data set holds.
    int HeldBlockCount() const { return l_BlockCount(); }
    // Where the recording's block `index` is in the data set (the same unless read on demand).
    int DataSetIndex(int index) const { return index - m_WindowFirst; }
    // Files larger than this are read in the background and, when they hold more samples
    // than memory keeps, on demand.
    qint64 IndexingThreshold() const;

    void setReplayIndex(int value);
    void setNextReplayIndex(int value);
    void setStartReplayIndex(int value);
    void setEndReplayIndex(int value);
    void setNumBlocks(int value);
    void setTimeWarp(double value);
    void setReplayBlockDelayMillisecond(int value);
    void setReplayStepByStep(bool value);
    void setIsHolding(bool value);
    void setHasUnsavedData(bool value);
    void setIsPlayingBack(bool value);
    void setIsDataLoaded(bool value);
    // Emits on every assignment.
    void setIsRecording(bool value);
    void setIsIdle(bool value);
    void setIsIdleWithData(bool value);
    void setIsDataSetEmpty(bool value);
    void setIsOperationMeasure(bool value);
    void setIsProcessingBlock(bool value);
    void setMeasComment(const QString& value);
    void setBodyComment(const QString& value);

    // The reset of an operation's clear(): states, comments, then the data set.
    void ResetForClear();

    // The replay timer, for those who check its pacing rather than the wall clock.
    const QTimer& ReplayTimer() const { return m_ReplayTimer; }
    // Writes the recording to `path` (and its CSV twin when the settings ask for one),
    // each file whole or not at all. True when every file was written, the recording
    // then saved; false with what failed in `error` (when given), a previous file intact.
    bool SaveAs(const QString& path, QString* error);
    // The CSV export of the recording (read from its file when it has one, so a recording
    // longer than memory is exported whole), written whole or not at all.
    bool WriteCsv(const QString& path, QString* error);
    // The recording as an HDF5 file (see CHdf5ResultsFile): the whole recording, read from
    // its file when it has one; written whole or not at all.
    bool ExportHdf5(const QString& path, QString* error);
    // A results file of `path` put at `target`, its head (everything before the first
    // block) replaced by `head` unless they differ only in the date: moved when `move`
    // and the file system allows, else copied; the target is replaced whole or not at
    // all. Public for the benchmarks and tests of a save.
    static bool PlaceResultsFile(const QString& path, const QByteArray& pathHead, const QByteArray& head,
                                 const QString& target, bool move, QString* error);
    virtual CDataset* BaseDataSet() = 0;

public slots:
    virtual void StartReplay();
    virtual void PauseReplay();
    virtual void StopReplay();
    virtual void PlayNextStep() = 0;
    virtual void ResetRecord();
    virtual void StopRecord();
    // Saves as SaveAs does; the slot's void form, for its callers of old.
    virtual void Save(const QString& path);
    // True when the file was read, or is being read in the background (IsIndexing; the
    // outcome then comes with IndexingFinished).
    virtual bool Load(const QString& path);
    Q_INVOKABLE void cancelIndexing();
    // Writes the data set as a results file (XML only) without taking it as saved: the
    // last resort of a program told to end with a recording nobody saved. False when
    // there was nothing to write or it could not be written; a previous file stays whole.
    bool WriteRecovery(const QString& path);
    void OnBlockProcessed();
    Q_INVOKABLE void playCurrentBlock(int currentBlock);

signals:
    void ReplayIndexChanged(int value);
    void NextReplayIndexChanged(int value);
    void StartReplayIndexChanged(int value);
    void EndReplayIndexChanged(int value);
    void NumBlocksChanged(int value);
    void TimeWarpChanged(double value);
    void ReplayBlockDelayMillisecondChanged(int value);
    void ReplayStepByStepChanged(bool value);
    void IsHoldingChanged(bool value);
    void HasUnsavedDataChanged(bool value);
    void IsPlayingBackChanged(bool value);
    void IsDataLoadedChanged(bool value);
    void IsRecordingChanged(bool value);
    void IsIdleChanged(bool value);
    void IsIdleWithDataChanged(bool value);
    void IsDataSetEmptyChanged(bool value);
    void IsOperationMeasureChanged(bool value);
    void IsProcessingBlockChanged(bool value);
    // Writing the recording to disk failed (a full disk): the recording must stop.
    void StreamFailed(const QString& reason);
    void MeasCommentChanged(QString value);
    void BodyCommentChanged(QString value);
    void IsIndexingChanged(bool value);
    void IndexingProgressChanged(double value);
    void IsReadOnDemandChanged(bool value);
    // A file read in the background is in (`ok`, with what a file cut short lost in
    // `notice`), or it could not be read (`message`), or the reading was cancelled (no message).
    void IndexingFinished(bool ok, const QString& message, const QString& notice);
    // Another stretch of the file read on demand is now the data set.
    void WindowMoved();
    // A stretch of the file read on demand could not be read (the file changed or went).
    void ReadFailed(const QString& reason);

protected:
    // The kind-specific parts of saving and loading.
    virtual bool l_SerializeXml(QIODevice* device) = 0;
    virtual bool l_SerializeCsv(QIODevice* device) = 0;
    virtual bool l_Deserialize(QIODevice* device) = 0;
    // The head of the results file of the data set as it stands.
    virtual QByteArray l_StreamHead() = 0;
    // The CSV export of the results file at `path`, read a block at a time.
    virtual bool l_CsvFromFile(const QString& path, QIODevice* device) = 0;
    // The HDF5 export of the data set in memory, or of the results file at `file`.
    virtual bool l_Hdf5(const QString& file, const QString& path, QString* error) = 0;
    // A block recorded: to the file being written, which opens at the first.
    void l_StreamBlock(const QSharedPointer<CMeasureBlock>& block);
    virtual int l_BlockCount() const = 0;
    // Whether this kind of recording is read on demand when large; the index of a file just
    // read in the background, taken as the recording (false with `error` when it cannot be).
    virtual bool l_CanReadOnDemand() const { return false; }
    virtual bool l_TakeIndex(std::unique_ptr<CResultsFileIndex> index, QString* error);
    // The index of the file the recording is read from on demand, and its first block held.
    std::unique_ptr<CResultsFileIndex> m_pFileIndex;
    int m_WindowFirst = 0;
    // The file read on demand is let go (a new recording, another file).
    void l_EndReadOnDemand();
    // The block at `index`, or null outside the data set.
    virtual const CMeasureBlock* l_BlockAt(int index) const = 0;
    // Replay time of a block: its first sample, in milliseconds since the epoch (0 without samples).
    qint64 l_BlockTime(int index) const;
    // From the block's first to its last sample, in milliseconds.
    qint64 l_BlockSpan(int index) const;

    void l_DataSetCleared();
    // The steps of adding a block around the data set's own append.
    void l_BeforeBlockAdded(CMeasureBlock& block);
    void l_AfterBlockAdded();
    // Starts the replay timer towards the next block when one follows; true if scheduled.
    bool l_ScheduleNextBlock(int index);
    // The next block of the replay made the current one (the one after it scheduled):
    // false when there is none to show.
    bool l_StepReplay();
    // The replay has passed its end block or the last block.
    bool l_ReplayAtEnd() const;
    void l_RunReplayStep();

    CSettings& m_Settings;
    CXMLResultsSerializer m_XMLResultsSerializer;
    CCSVResultsSerializer m_CSVResultsSerializer;
    QTimer m_ReplayTimer;
    int m_RemainingTime = 0;
    int m_WaitCounter = 0;

private slots:
    void l_OnReplayBlockTimerTimeout();
    void l_OnReplayBlockDelayMillisecondChanged();

private:
    int m_ReplayIndex = 0;
    int m_NextReplayIndex = 0;
    int m_StartReplayIndex = 0;
    int m_EndReplayIndex = 0;
    int m_NumBlocks = 0;
    double m_TimeWarp = 1.0;
    int m_ReplayBlockDelayMillisecond = 1000;
    bool m_ReplayStepByStep = false;
    bool m_IsHolding = true;
    bool m_HasUnsavedData = false;
    bool m_IsPlayingBack = false;
    bool m_IsDataLoaded = false;
    bool m_IsRecording = false;
    bool m_IsIdle = true;
    bool m_IsIdleWithData = false;
    bool m_IsDataSetEmpty = true;
    bool m_IsOperationMeasure = true;
    bool m_IsProcessingBlock = false;
    // The recording on disk: written while recording, then the file holding all of it
    // (the finished stream in its folder, or the file it was last saved as).
    std::unique_ptr<CResultsStreamWriter> m_pStream;
    QString m_StreamFolder;
    QString m_StreamError;
    QString m_RecordingFile;
    QString m_LoadedFile; // the file the data set was loaded from, until it is cleared
    QByteArray m_RecordingFileHead;
    bool m_RecordingFileIsOurs = false;
    void l_FinishStream();
    // The complete blocks of the file read on demand, under `head` and closed, at `target`.
    bool l_SaveCompleteBlocks(const QByteArray& head, const QString& target, QString* error);
    // The background reading of a file: its thread, what it has read, and the poll that
    // brings its progress and its end to this thread.
    std::thread m_IndexThread;
    std::atomic<bool> m_CancelIndexing{false};
    // Cancelled because the data set was cleared for something new (a recording).
    bool m_IndexingAbandoned = false;
    std::atomic<bool> m_IndexingDone{false};
    std::atomic<qint64> m_IndexedBytes{0};
    std::atomic<qint64> m_IndexedTotal{1};
    std::unique_ptr<CResultsFileIndex> m_pIndexing;
    QString m_IndexingError;
    bool m_IndexingOk = false;
    QTimer m_IndexingPoll;
    bool m_IsIndexing = false;
    double m_IndexingProgress = 0;
    void l_OnIndexingPoll();
    // The states of a recording just read from its file, of `blocks` blocks.
    void l_SetLoaded(int blocks);
    // The head and first block of a results file, read into the data set to show at once.
    void l_ReadFirstBlock(QFile& file);
    void l_StopIndexing();
    // The recording is whole in a file (not one still being written).
    bool l_HasRecordingFile() const;
    // The recording's file is not wanted any more (discarded by the user, or replaced).
    void l_DiscardRecordingFile();
    QString m_MeasComment;
    QString m_BodyComment;

    friend class CRecordingManagerMeasure;
    friend class CRecordingManagerMapping;
};
