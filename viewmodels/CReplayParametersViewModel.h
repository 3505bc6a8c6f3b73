#pragma once

#include <QObject>
#include <QStringList>

class CRecordingManager;
class CReplayParameters;
class COperationMeasure;
class COperationMapping;

// The replay panel: speed, range and current block of a replay, counted from 1
// for the user, passed on to the recorder and the stored replay parameters.
class CReplayParametersViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList TimeWarpNames READ TimeWarpNames CONSTANT)
    Q_PROPERTY(QList<double> TimeWarpValues READ TimeWarpValues CONSTANT)
    Q_PROPERTY(int SelectedTimeWarpIndex READ SelectedTimeWarpIndex WRITE setSelectedTimeWarpIndex NOTIFY
                   SelectedTimeWarpIndexChanged)
    Q_PROPERTY(int StartingBlock READ StartingBlock WRITE setStartingBlock NOTIFY StartingBlockChanged)
    Q_PROPERTY(int CurrentBlock READ CurrentBlock NOTIFY CurrentBlockChanged)
    Q_PROPERTY(int EndingBlock READ EndingBlock WRITE setEndingBlock NOTIFY EndingBlockChanged)
    Q_PROPERTY(int NumBlocks READ NumBlocks NOTIFY NumBlocksChanged)
    // "Block 3 / 10", or "No block" when there is none to replay.
    Q_PROPERTY(QString PositionText READ PositionText NOTIFY PositionTextChanged)
    Q_PROPERTY(bool StepByStepMode READ StepByStepMode WRITE setStepByStepMode NOTIFY StepByStepModeChanged)
public:
    explicit CReplayParametersViewModel(COperationMeasure* operation, QObject* parent = nullptr);
    explicit CReplayParametersViewModel(COperationMapping* operation, QObject* parent = nullptr);

    QStringList TimeWarpNames() const { return m_TimeWarpNames; }
    QList<double> TimeWarpValues() const { return m_TimeWarpValues; }
    int SelectedTimeWarpIndex() const { return m_SelectedTimeWarpIndex; }
    int StartingBlock() const { return m_StartingBlock; }
    int CurrentBlock() const { return m_CurrentBlock; }
    int EndingBlock() const { return m_EndingBlock; }
    int NumBlocks() const { return m_NumBlocks; }
    QString PositionText() const;
    bool StepByStepMode() const { return m_StepByStepMode; }

    void setSelectedTimeWarpIndex(int value);
    void setStartingBlock(int value);
    void setCurrentBlock(int value);
    void setEndingBlock(int value);
    void setNumBlocks(int value);
    void setStepByStepMode(bool value);

public slots:
    void OnSelectedTimeWarpIndexChanged(int selectedTimeWarpIndex);
    void OnReplayIndexChanged(int currentIndex);
    void OnStartingBlockIndexChanged();
    void OnEndingBlockIndexChanged();
    void OnNumBlocksChanged();
    void OnCurrentBlockIndexChanged();
    void OnIdleWithDataChanged();
    void OnStepByStepModeChanged();

signals:
    void SelectedTimeWarpIndexChanged(int value);
    void StartingBlockChanged(int value);
    void CurrentBlockChanged(int value);
    void EndingBlockChanged(int value);
    void NumBlocksChanged(int value);
    void PositionTextChanged();
    void StepByStepModeChanged(bool value);

private:
    CReplayParametersViewModel(CRecordingManager* recorder, CReplayParameters* parameters, QObject* parent);

    CRecordingManager* m_pRecorder;
    CReplayParameters* m_pParameters;
    QStringList m_TimeWarpNames;
    QList<double> m_TimeWarpValues;
    int m_SelectedTimeWarpIndex = -1;
    int m_StartingBlock = 0;
    int m_CurrentBlock = 0;
    int m_EndingBlock = 0;
    int m_NumBlocks = 0;
    bool m_StepByStepMode = false;
};
