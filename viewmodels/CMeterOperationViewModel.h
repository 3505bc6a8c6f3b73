#pragma once

#include "model/CAlarm.h"
#include "model/CAxis.h"
#include "model/CMeasureBlock.h"
#include "viewmodels/CMeasurementOperationViewModel.h"

#include <QStringList>
#include <QTimer>

#include <deque>

class CAlarmParametersMeterViewModel;
class CMeasurementParametersViewModel;
class CChart2DMeterData;
class CMeasureBlockData;
class CDisplayPacer;
class CRangeCheck;
class CMeterOperationDatasetViewModel;

// The meter page: the newest block as numbers and maxima, a compass and a field
// arrow, a time-series chart, the sample table, and the out-of-range alarm.
class CResultsFileIndex;

class CMeterOperationViewModel : public CMeasurementOperationViewModel
{
    Q_OBJECT
    Q_PROPERTY(double BLastBlock READ BLastBlock NOTIFY BLastBlockChanged)
    Q_PROPERTY(double dBLastBlock READ dBLastBlock NOTIFY dBLastBlockChanged)
    Q_PROPERTY(double BPrimeLastBlock READ BPrimeLastBlock NOTIFY BPrimeLastBlockChanged)
    Q_PROPERTY(double BxLastBlock READ BxLastBlock NOTIFY BxLastBlockChanged)
    Q_PROPERTY(double ByLastBlock READ ByLastBlock NOTIFY ByLastBlockChanged)
    Q_PROPERTY(double BzLastBlock READ BzLastBlock NOTIFY BzLastBlockChanged)
    Q_PROPERTY(double BMax READ BMax NOTIFY BMaxChanged)
    Q_PROPERTY(double BPrimeMax READ BPrimeMax NOTIFY BPrimeMaxChanged)
    Q_PROPERTY(double BxMax READ BxMax NOTIFY BxMaxChanged)
    Q_PROPERTY(double ByMax READ ByMax NOTIFY ByMaxChanged)
    Q_PROPERTY(double BzMax READ BzMax NOTIFY BzMaxChanged)
    Q_PROPERTY(QStringList ProbeAxisNames READ ProbeAxisNames NOTIFY ProbeAxisNamesChanged)
    Q_PROPERTY(int SelectedProbeAxisIndex READ SelectedProbeAxisIndex WRITE setSelectedProbeAxisIndex NOTIFY
                   SelectedProbeAxisIndexChanged)
    Q_PROPERTY(QStringList ModeNames READ ModeNames NOTIFY ModeNamesChanged)
    Q_PROPERTY(int SelectedModeIndex READ SelectedModeIndex WRITE setSelectedModeIndex NOTIFY
                   SelectedModeIndexChanged)
    Q_PROPERTY(bool UpdateLeftCompas READ UpdateLeftCompas NOTIFY UpdateLeftCompasChanged)
    Q_PROPERTY(bool UpdateRightCompas READ UpdateRightCompas NOTIFY UpdateRightCompasChanged)
    Q_PROPERTY(bool ClearCompas READ ClearCompas NOTIFY ClearCompasChanged)
    Q_PROPERTY(double CompasWidth READ CompasWidth NOTIFY CompasWidthChanged)
    Q_PROPERTY(double CompasHeight READ CompasHeight NOTIFY CompasHeightChanged)
    Q_PROPERTY(QString CommentBlock READ CommentBlock NOTIFY CommentBlockChanged)
    Q_PROPERTY(bool NewMeasureReady READ NewMeasureReady NOTIFY NewMeasureReadyChanged)
    Q_PROPERTY(double QuatX READ QuatX NOTIFY QuatXChanged)
    Q_PROPERTY(double QuatY READ QuatY NOTIFY QuatYChanged)
    Q_PROPERTY(double QuatZ READ QuatZ NOTIFY QuatZChanged)
    Q_PROPERTY(double QuatScalar READ QuatScalar NOTIFY QuatScalarChanged)
    Q_PROPERTY(bool RotEnable READ RotEnable WRITE setRotEnable NOTIFY RotEnableChanged)
    Q_PROPERTY(bool RotVisible READ RotVisible NOTIFY RotVisibleChanged)
    Q_PROPERTY(double RotQuatX READ RotQuatX NOTIFY RotQuatXChanged)
    Q_PROPERTY(double RotQuatY READ RotQuatY NOTIFY RotQuatYChanged)
    Q_PROPERTY(double RotQuatZ READ RotQuatZ NOTIFY RotQuatZChanged)
    Q_PROPERTY(double RotQuatScalar READ RotQuatScalar NOTIFY RotQuatScalarChanged)
    Q_PROPERTY(
        CAlarmParametersMeterViewModel* AlarmParametersViewModel READ AlarmParametersViewModel CONSTANT)
    Q_PROPERTY(CMeterOperationDatasetViewModel* MeterOperationDatasetViewModel READ
                   MeterOperationDatasetViewModel CONSTANT)
    Q_PROPERTY(CMeasurementParametersViewModel* MeasurementParametersViewModel READ
                   MeasurementParametersViewModel CONSTANT)
public:
    CMeterOperationViewModel(CSettings& settings, COperationMeasure* operation, QObject* parent = nullptr);

#define TESVANA_READ(Type, Name)                                                                             \
    Type Name() const                                                                                        \
    {                                                                                                        \
        return m_##Name;                                                                                     \
    }
    TESVANA_READ(double, BLastBlock)
    TESVANA_READ(double, dBLastBlock)
    TESVANA_READ(double, BPrimeLastBlock)
    TESVANA_READ(double, BxLastBlock)
    TESVANA_READ(double, ByLastBlock)
    TESVANA_READ(double, BzLastBlock)
    TESVANA_READ(double, BMax)
    TESVANA_READ(double, BPrimeMax)
    TESVANA_READ(double, BxMax)
    TESVANA_READ(double, ByMax)
    TESVANA_READ(double, BzMax)
    TESVANA_READ(QStringList, ProbeAxisNames)
    TESVANA_READ(int, SelectedProbeAxisIndex)
    TESVANA_READ(QStringList, ModeNames)
    TESVANA_READ(int, SelectedModeIndex)
    TESVANA_READ(bool, UpdateLeftCompas)
    TESVANA_READ(bool, UpdateRightCompas)
    TESVANA_READ(bool, ClearCompas)
    TESVANA_READ(double, CompasWidth)
    TESVANA_READ(double, CompasHeight)
    TESVANA_READ(QString, CommentBlock)
    TESVANA_READ(bool, NewMeasureReady)
    TESVANA_READ(double, QuatX)
    TESVANA_READ(double, QuatY)
    TESVANA_READ(double, QuatZ)
    TESVANA_READ(double, QuatScalar)
    TESVANA_READ(bool, RotEnable)
    TESVANA_READ(bool, RotVisible)
    TESVANA_READ(double, RotQuatX)
    TESVANA_READ(double, RotQuatY)
    TESVANA_READ(double, RotQuatZ)
    TESVANA_READ(double, RotQuatScalar)
#undef TESVANA_READ
    CAlarmParametersMeterViewModel* AlarmParametersViewModel() const
    {
        return m_pAlarm;
    }
    CMeasurementParametersViewModel* MeasurementParametersViewModel() const
    {
        return m_pMeasurement;
    }
    CMeterOperationDatasetViewModel* MeterOperationDatasetViewModel() const
    {
        return m_pDataset;
    }
    CChart2DMeterData* Chart() const
    {
        return m_pChart;
    }
    CMeasureBlockData* Table() const
    {
        return m_pTable;
    }

    void setSelectedProbeAxisIndex(int value);
    void setSelectedModeIndex(int value);
    void setRotEnable(bool value);

    // One block to the numbers, table, chart and alarm. untilCurrentStep: a stored block
    // being stepped through, so the chart shows the recording up to it.
    void ProcessBlock(const QSharedPointer<CMeasureBlock>& block, bool untilCurrentStep = false);
    // Blocks of a replay still waiting to be shown, cut to the display's pace.
    int PendingSubBlockCount() const
    {
        return int(m_SubBlocks.size());
    }

    using CMeasurementOperationViewModel::OnMeasureParametersUncertaintyUnitChanged;
    Q_INVOKABLE void setDefaultParameters() override;
    Q_INVOKABLE void resetAllMaximum();

public slots:
    QString HelpPath() override;
    void OnNewMeasure(const QSharedPointer<CMeasureBlock>& measureBlock);
    void OnOperationParameterUnitChanged();
    void OnMeasureParametersUncertaintyUnitChanged();
    void OnAlarmAxisUnitChanged();
    void OnDataSetCleared();
    void OnSelectedProbeAxisIndexChanged();
    void OnSelectedModeIndexChanged();
    void OnDatasetLoaded();
    void OnRangeTimerTimedOut();
    void OnSmallBlockTimer();
    void OnPlayingBackChanged(bool playingBack);
    void OnIsHoldingChanged(bool holding);

signals:
    void BLastBlockChanged(double value);
    void dBLastBlockChanged(double value);
    void BPrimeLastBlockChanged(double value);
    void BxLastBlockChanged(double value);
    void ByLastBlockChanged(double value);
    void BzLastBlockChanged(double value);
    void BMaxChanged(double value);
    void BPrimeMaxChanged(double value);
    void BxMaxChanged(double value);
    void ByMaxChanged(double value);
    void BzMaxChanged(double value);
    void ProbeAxisNamesChanged(QStringList value);
    void SelectedProbeAxisIndexChanged(int value);
    void ModeNamesChanged(QStringList value);
    void SelectedModeIndexChanged(int value);
    void UpdateLeftCompasChanged(bool value);
    void UpdateRightCompasChanged(bool value);
    void ClearCompasChanged(bool value);
    void CompasWidthChanged(double value);
    void CompasHeightChanged(double value);
    void CommentBlockChanged(QString value);
    void NewMeasureReadyChanged(bool value);
    void QuatXChanged(double value);
    void QuatYChanged(double value);
    void QuatZChanged(double value);
    void QuatScalarChanged(double value);
    void RotEnableChanged(bool value);
    void RotVisibleChanged(bool value);
    void RotQuatXChanged(double value);
    void RotQuatYChanged(double value);
    void RotQuatZChanged(double value);
    void RotQuatScalarChanged(double value);

private:
    template <typename T> void l_Set(T& member, const T& value, void (CMeterOperationViewModel::*signal)(T));
    // An output of the block shown: stored at once, its change signal paced (m_pComponentsPacer).
    template <typename T> void l_Show(T& member, const T& value, void (CMeterOperationViewModel::*signal)(T));
    void l_OnSectionShown(int section);
    void l_InitializeDefaultValues();
    void l_ComputeCompasSize(const CMeasureBlock& block);
    void l_ComputeLastBlockComponents(const CMeasureBlock& block);
    void l_ComputeRotationVector(const CMeasureBlock& block);
    void l_CheckRange(const CMeasureBlock& block);
    void l_UpdateAlarmUnits();
    void l_SetCompasCleared(bool cleared);
    QSharedPointer<CMeasureBlock> l_NewestBlock();
    void l_CutIntoSubBlocks(const QSharedPointer<CMeasureBlock>& block);
    void l_ShowNextSubBlock();
    // Shows every sub-block left, without telling the recorder a block is done.
    void l_FlushSubBlocks();
    void l_PlotDataSet(int lastIndex);
    void l_PlotOverview(const CResultsFileIndex& index, int from, int to);
    // Of a file read on demand: the blocks of the range the user chose read and drawn.
    void l_OnChartRangeChosen(double from, double to);
    void l_BlockDone();
    void l_RecomputeRotation();

    CMeasureBlockData* m_pTable;
    // The numbers, compass and arrow, and the table: each at most at the screen's pace,
    // and only while its section is shown.
    CDisplayPacer* m_pComponentsPacer;
    CDisplayPacer* m_pTablePacer;
    CChart2DMeterData* m_pChart;
    CMeterOperationDatasetViewModel* m_pDataset;
    CAlarmParametersMeterViewModel* m_pAlarm;
    CRangeCheck* m_pRangeCheck;
    CMeasurementParametersViewModel* m_pMeasurement;
    QTimer m_SubBlockTimer;
    std::deque<QSharedPointer<CMeasureBlock>> m_SubBlocks;
    double m_ReplaySpeed = 1.0;
    bool m_FullRedrawPending = false;

    double m_BLastBlock = 0, m_dBLastBlock = 0, m_BPrimeLastBlock = 0, m_BxLastBlock = 0, m_ByLastBlock = 0,
           m_BzLastBlock = 0;
    double m_BMax = 0, m_BPrimeMax = 0, m_BxMax = 0, m_ByMax = 0, m_BzMax = 0;
    QStringList m_ProbeAxisNames;
    int m_SelectedProbeAxisIndex = 2;
    QStringList m_ModeNames;
    int m_SelectedModeIndex = 0;
    bool m_UpdateLeftCompas = false, m_UpdateRightCompas = false, m_ClearCompas = false;
    double m_CompasWidth = 0, m_CompasHeight = 0;
    QString m_CommentBlock;
    bool m_NewMeasureReady = false;
    double m_QuatX = 0, m_QuatY = 0, m_QuatZ = 0, m_QuatScalar = 1;
    bool m_RotEnable = false, m_RotVisible = false;
    double m_RotQuatX = 0, m_RotQuatY = 0, m_RotQuatZ = 0, m_RotQuatScalar = 1;
};
