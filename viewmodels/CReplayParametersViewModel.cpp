#include "viewmodels/CReplayParametersViewModel.h"

#include <algorithm>

#include "model/CReplayParameters.h"
#include "model/TesvanaSetter.h"
#include "operations/COperationMapping.h"
#include "operations/COperationMeasure.h"

CReplayParametersViewModel::CReplayParametersViewModel(COperationMeasure* operation, QObject* parent)
    : CReplayParametersViewModel(operation->RecordingManager(),
                                 operation->OperationParameters()->ReplayParameters(), parent)
{
}

CReplayParametersViewModel::CReplayParametersViewModel(COperationMapping* operation, QObject* parent)
    : CReplayParametersViewModel(operation->RecordingManager(),
                                 operation->OperationParameters()->ReplayParameters(), parent)
{
}

CReplayParametersViewModel::CReplayParametersViewModel(CRecordingManager* recorder,
                                                       CReplayParameters* parameters, QObject* parent)
    : QObject(parent), m_pRecorder(recorder), m_pParameters(parameters)
{
    m_TimeWarpNames = QStringList{"0.0001x", "0.001x", "0.01x", "0.1x", "1x", "10x"};
    m_TimeWarpValues = {0.0001, 0.001, 0.01, 0.1, 1.0, 10.0};

    setStartingBlock(m_pParameters->StartingBlock());
    setEndingBlock(m_pParameters->EndingBlock());
    setCurrentBlock(m_pParameters->CurrentBlock());
    setStepByStepMode(m_pParameters->StepByStepMode());
    setNumBlocks(m_pRecorder->NumBlocks());

    connect(this, &CReplayParametersViewModel::SelectedTimeWarpIndexChanged, this,
            &CReplayParametersViewModel::OnSelectedTimeWarpIndexChanged);
    connect(this, &CReplayParametersViewModel::StartingBlockChanged, this,
            &CReplayParametersViewModel::OnStartingBlockIndexChanged);
    connect(this, &CReplayParametersViewModel::EndingBlockChanged, this,
            &CReplayParametersViewModel::OnEndingBlockIndexChanged);
    connect(this, &CReplayParametersViewModel::CurrentBlockChanged, this,
            &CReplayParametersViewModel::OnCurrentBlockIndexChanged);
    connect(this, &CReplayParametersViewModel::StepByStepModeChanged, this,
            &CReplayParametersViewModel::OnStepByStepModeChanged);
    connect(m_pRecorder, &CRecordingManager::NumBlocksChanged, this,
            &CReplayParametersViewModel::OnNumBlocksChanged);
    connect(this, &CReplayParametersViewModel::CurrentBlockChanged, this,
            &CReplayParametersViewModel::PositionTextChanged);
    connect(this, &CReplayParametersViewModel::NumBlocksChanged, this,
            &CReplayParametersViewModel::PositionTextChanged);
    connect(m_pRecorder, &CRecordingManager::ReplayIndexChanged, this,
            &CReplayParametersViewModel::OnReplayIndexChanged);
    connect(m_pRecorder, &CRecordingManager::IsIdleWithDataChanged, this,
            &CReplayParametersViewModel::OnIdleWithDataChanged);
    // Follows its parameters whenever they change, not only when it sets them itself.
    connect(m_pParameters, &CReplayParameters::SelectedTimeWarpIndexChanged, this, [this](int index) {
        if (index >= 0 && index < m_TimeWarpValues.size())
            setSelectedTimeWarpIndex(index);
    });
    connect(m_pParameters, &CReplayParameters::StepByStepModeChanged, this,
            &CReplayParametersViewModel::setStepByStepMode);

    const int stored = m_pParameters->SelectedTimeWarpIndex();
    m_SelectedTimeWarpIndex = stored >= 0 && stored < m_TimeWarpValues.size() ? stored : 4;
    emit SelectedTimeWarpIndexChanged(m_SelectedTimeWarpIndex);
}

void CReplayParametersViewModel::OnSelectedTimeWarpIndexChanged(int selectedTimeWarpIndex)
{
    if (selectedTimeWarpIndex < 0 || selectedTimeWarpIndex >= m_TimeWarpValues.size())
        return;
    const double warp = m_TimeWarpValues.at(selectedTimeWarpIndex);
    m_pRecorder->setTimeWarp(warp);
    m_pParameters->setTimeWarp(warp);
    m_pParameters->setSelectedTimeWarpIndex(selectedTimeWarpIndex);
}

void CReplayParametersViewModel::OnReplayIndexChanged(int currentIndex)
{
    setCurrentBlock(currentIndex + 1);
}

QString CReplayParametersViewModel::PositionText() const
{
    if (m_NumBlocks <= 0)
        return tr("No block");
    return tr("Block %1 / %2").arg(std::clamp(m_CurrentBlock, 1, m_NumBlocks)).arg(m_NumBlocks);
}

void CReplayParametersViewModel::OnStartingBlockIndexChanged()
{
    m_pRecorder->setStartReplayIndex(m_StartingBlock <= 0 ? 0 : m_StartingBlock - 1);
    m_pParameters->setStartingBlock(m_StartingBlock);
}

void CReplayParametersViewModel::OnEndingBlockIndexChanged()
{
    m_pRecorder->setEndReplayIndex(m_EndingBlock <= 0 ? 0 : m_EndingBlock - 1);
    m_pParameters->setEndingBlock(m_EndingBlock);
}

void CReplayParametersViewModel::OnNumBlocksChanged()
{
    setNumBlocks(std::max(0, m_pRecorder->NumBlocks()));
    setEndingBlock(m_NumBlocks);
    m_pParameters->setEndingBlock(m_EndingBlock);
}

void CReplayParametersViewModel::OnCurrentBlockIndexChanged()
{
    m_pParameters->setCurrentBlock(m_CurrentBlock);
}

void CReplayParametersViewModel::OnIdleWithDataChanged()
{
    if (m_pRecorder->IsPlayingBack())
        return;
    if (m_CurrentBlock != 1 && m_CurrentBlock > m_NumBlocks)
        setCurrentBlock(1);
    setStartingBlock(1);
    setEndingBlock(m_NumBlocks);
}

void CReplayParametersViewModel::OnStepByStepModeChanged()
{
    m_pRecorder->setReplayStepByStep(m_StepByStepMode);
    m_pParameters->setStepByStepMode(m_StepByStepMode);
}

TESVANA_SETTER(CReplayParametersViewModel, int, SelectedTimeWarpIndex)
TESVANA_SETTER(CReplayParametersViewModel, int, StartingBlock)
TESVANA_SETTER(CReplayParametersViewModel, int, CurrentBlock)
TESVANA_SETTER(CReplayParametersViewModel, int, EndingBlock)
TESVANA_SETTER(CReplayParametersViewModel, int, NumBlocks)
TESVANA_SETTER(CReplayParametersViewModel, bool, StepByStepMode)
