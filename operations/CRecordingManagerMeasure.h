#pragma once

#include "model/CDataSetMeasurement.h"
#include "operations/CRecordingManagerOf.h"

// Recorder of the measurement operation; its replay lingers on the last block
// until the views have shown it.
class CRecordingManagerMeasure : public CRecordingManagerOf<CDataSetMeasurement>
{
    Q_OBJECT
    Q_PROPERTY(CDataSetMeasurement* DataSet READ DataSet CONSTANT)
    Q_PROPERTY(int MinReplaySmallBlockDelayMillisecond READ MinReplaySmallBlockDelayMillisecond WRITE
                   setMinReplaySmallBlockDelayMillisecond NOTIFY MinReplaySmallBlockDelayMillisecondChanged)
public:
    explicit CRecordingManagerMeasure(CSettings& settings, QObject* parent = nullptr);

    int MinReplaySmallBlockDelayMillisecond() const { return m_MinReplaySmallBlockDelayMillisecond; }
    void setMinReplaySmallBlockDelayMillisecond(int value);
    const QTimer& StopTimer() const { return m_StopTimer; }

    // Block `index` of the recording; of a file read on demand, the stretch around it is
    // read first. Null outside the recording or when the file cannot be read (ReadFailed).
    QSharedPointer<CMeasureBlock> StoredBlock(int index);
    // Of a file read on demand: the stretch from the block holding `seconds` (since the
    // epoch) on, as much as memory keeps, made the data set. False when nothing moved.
    bool ShowFrom(double seconds);

public slots:
    void PlayNextStep() override;
    virtual void AddMeasureBlock(const QSharedPointer<CMeasureBlock>& block);
    void OnDataSetCleared();
    void OnBodyCommentChanged();
    void OnIsHoldingChanged(bool isHolding);

signals:
    void ReplayMeasureBlock(QSharedPointer<CMeasureBlock> pMeasureBlock);
    void MinReplaySmallBlockDelayMillisecondChanged(int value);

private slots:
    void l_OnStopReplayTimerTimeout();

protected:
    bool l_CanReadOnDemand() const override { return true; }
    bool l_TakeIndex(std::unique_ptr<CResultsFileIndex> index, QString* error) override;

private:
    // The blocks from `first` on that memory keeps (at least one) made the data set.
    bool l_ReadWindow(int first, QString* error);
    int m_MinReplaySmallBlockDelayMillisecond = 100;
    QTimer m_StopTimer;
    int m_StopWaitCounter = 0;
};
