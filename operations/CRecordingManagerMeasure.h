#pragma once

#include "model/CDataSetMeasurement.h"
#include "operations/CRecordingManager.h"

// Recorder of the measurement operation; its replay lingers on the last block
// until the views have shown it.
class CRecordingManagerMeasure : public CRecordingManager
{
    Q_OBJECT
    Q_PROPERTY(CDataSetMeasurement* DataSet READ DataSet CONSTANT)
    Q_PROPERTY(int MinReplaySmallBlockDelayMillisecond READ MinReplaySmallBlockDelayMillisecond WRITE
                   setMinReplaySmallBlockDelayMillisecond NOTIFY MinReplaySmallBlockDelayMillisecondChanged)
public:
    explicit CRecordingManagerMeasure(CSettings& settings, QObject* parent = nullptr);

    CDataSetMeasurement* DataSet() { return &m_DataSet; }
    CDataset* BaseDataSet() override { return &m_DataSet; }
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

protected:
    bool l_SerializeXml(QIODevice* device) override;
    bool l_SerializeCsv(QIODevice* device) override;
    bool l_Deserialize(QIODevice* device) override;
    int l_BlockCount() const override;
    const CMeasureBlock* l_BlockAt(int index) const override;

private slots:
    void l_OnStopReplayTimerTimeout();

private:
    CDataSetMeasurement m_DataSet;
    int m_MinReplaySmallBlockDelayMillisecond = 100;
    QTimer m_StopTimer;
    int m_StopWaitCounter = 0;
};
