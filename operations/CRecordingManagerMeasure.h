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

public slots:
    void PlayNextStep() override;
    virtual void AddMeasureBlock(QSharedPointer<CMeasureBlock> block);
    void OnDataSetCleared();
    void OnBodyCommentChanged();
    void OnIsHoldingChanged(bool isHolding);

signals:
    void ReplayMeasureBlock(QSharedPointer<CMeasureBlock> pMeasureBlock);
    void MinReplaySmallBlockDelayMillisecondChanged(int value);

private slots:
    void l_OnStopReplayTimerTimeout();

private:
    int m_MinReplaySmallBlockDelayMillisecond = 100;
    QTimer m_StopTimer;
    int m_StopWaitCounter = 0;
};
