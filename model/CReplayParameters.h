#pragma once

#include <QObject>

// How a recording is replayed. Block numbers count from 1.
class CReplayParameters : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int SelectedTimeWarpIndex READ SelectedTimeWarpIndex WRITE setSelectedTimeWarpIndex NOTIFY
                   SelectedTimeWarpIndexChanged)
    Q_PROPERTY(double TimeWarp READ TimeWarp WRITE setTimeWarp NOTIFY TimeWarpChanged)
    Q_PROPERTY(int StartingBlock READ StartingBlock WRITE setStartingBlock NOTIFY StartingBlockChanged)
    Q_PROPERTY(int CurrentBlock READ CurrentBlock WRITE setCurrentBlock NOTIFY CurrentBlockChanged)
    Q_PROPERTY(int EndingBlock READ EndingBlock WRITE setEndingBlock NOTIFY EndingBlockChanged)
    Q_PROPERTY(bool StepByStepMode READ StepByStepMode WRITE setStepByStepMode NOTIFY StepByStepModeChanged)
public:
    explicit CReplayParameters(QObject* parent = nullptr);

    int SelectedTimeWarpIndex() const { return m_SelectedTimeWarpIndex; }
    double TimeWarp() const { return m_TimeWarp; }
    int StartingBlock() const { return m_StartingBlock; }
    int CurrentBlock() const { return m_CurrentBlock; }
    int EndingBlock() const { return m_EndingBlock; }
    bool StepByStepMode() const { return m_StepByStepMode; }

    void setSelectedTimeWarpIndex(int value);
    void setTimeWarp(double value);
    void setStartingBlock(int value);
    void setCurrentBlock(int value);
    void setEndingBlock(int value);
    void setStepByStepMode(bool value);

signals:
    void SelectedTimeWarpIndexChanged(int value);
    void TimeWarpChanged(double value);
    void StartingBlockChanged(int value);
    void CurrentBlockChanged(int value);
    void EndingBlockChanged(int value);
    void StepByStepModeChanged(bool value);

private:
    int m_SelectedTimeWarpIndex = -1;
    // Meaningless until a time-warp entry is selected; 1 keeps it harmless.
    double m_TimeWarp = 1.0;
    int m_StartingBlock = 1;
    int m_CurrentBlock = 1;
    int m_EndingBlock = 1;
    bool m_StepByStepMode = false;
};
