#include "viewmodels/CAcAnalysisOperationViewModel.h"

#include "app/CUtils.h"
#include "files/LimitsXmlFile.h"
#include "model/CMeasurementParameters.h"
#include "operations/COperationMeasure.h"
#include "viewmodels/CAcAnalysisOperationDatasetViewModel.h"
#include "viewmodels/CAlarmParametersAcAnalysisViewModel.h"
#include "viewmodels/CChart2DAcAnalysisData.h"
#include "viewmodels/CDisplayPacer.h"
#include "viewmodels/CExposureViewModel.h"
#include "viewmodels/CFrequencyTableData.h"
#include "viewmodels/CMeasurementParametersViewModel.h"

#include <cmath>
#include <limits>

CAcAnalysisOperationViewModel::CAcAnalysisOperationViewModel(CSettings& settings,
                                                             COperationMeasure* operation, QObject* parent)
    : CMeasurementOperationViewModel(QStringLiteral("AcAnalysisOperation"), settings, operation, parent),
      m_pTable(new CFrequencyTableData(operation->LimitsFile(), this)),
      m_pChart(new CChart2DAcAnalysisData(operation, this)),
      m_pDataset(new CAcAnalysisOperationDatasetViewModel(m_pTable, m_pChart, this)),
      m_pAlarm(new CAlarmParametersAcAnalysisViewModel(
          operation->OperationParameters()->AlarmParametersAcAnalysis(), this)),
      m_pMeasurement(new CMeasurementParametersViewModel(operation, false, this)),
      m_pTablePacer(new CDisplayPacer(this)), m_FigureOfMeritNames{tr("RMS Amplitude"),
                                                                   tr("Peak-to-Peak Amplitude"),
                                                                   tr("Standard Deviation")}
{
    CRecordingManagerMeasure* recorder = operation->RecordingManager();
    connect(operation, &COperationMeasure::NewMeasure, this, &CAcAnalysisOperationViewModel::OnNewMeasure);
    connect(operation->MeasurementParameters(), &CMeasurementParameters::UnitsChanged, this,
            &CAcAnalysisOperationViewModel::OnOperationParameterUnitChanged);
    connect(recorder->DataSet(), &CDataset::ClearedChanged, this,
            &CAcAnalysisOperationViewModel::OnDataSetCleared);
    connect(recorder, &CRecordingManager::IsPlayingBackChanged, this,
            &CAcAnalysisOperationViewModel::OnPlayingBackChanged);
    connect(operation, &COperationMeasure::LimitsFileLoadedChanged, this,
            &CAcAnalysisOperationViewModel::OnLimitFileLoaded);
    connect(operation->LimitsFile(), &LimitsXmlFile::ConvertedChanged, this, [this] {
        l_ComputeTable(); // the limits now in the unit of the samples, or none
        AssessExposure(l_CurrentBlock().data());
    });
    FollowAnalysisNotice();
    connect(this, &CAcAnalysisOperationViewModel::SelectedFigureOfMeritIndexChanged, this,
            &CAcAnalysisOperationViewModel::OnSelectedFigureOfMeritIndexChanged);
    connect(this, &COperationViewModel::DatasetLoaded, this, &CAcAnalysisOperationViewModel::OnDatasetLoaded);
    // The band table is the second section.
    m_pTablePacer->SetHeld(SectionIndex() != 1);
    connect(this, &COperationViewModel::SectionIndexChanged, m_pTablePacer,
            [this](int section) { m_pTablePacer->SetHeld(section != 1); });
    // An alarm switched off is no alarm raised.
    connect(operation->OperationParameters()->AlarmParametersAcAnalysis(),
            &CAlarmParametersState::StateChanged, this, [this](CAlarm::AlarmState state) {
                if (state != CAlarm::AlarmState::Off)
                    return;
                m_pTable->setFlagNotification(false);
                m_pAlarm->setFlagNotification(false);
            });
    // A page opened on held data shows it.
    if (!recorder->DataSet()->MeasureBlocks()->empty())
        l_Replot();
}

QString CAcAnalysisOperationViewModel::HelpPath()
{
    switch (SectionIndex())
    {
    case 0:
        return QStringLiteral("ac_analysis_plot");
    case 1:
        return QStringLiteral("ac_analysis_table");
    default:
        return QString();
    }
}

void CAcAnalysisOperationViewModel::setSelectedFigureOfMeritIndex(int value)
{
    if (m_SelectedFigureOfMeritIndex == value)
        return;
    m_SelectedFigureOfMeritIndex = value;
    emit SelectedFigureOfMeritIndexChanged(value);
}

void CAcAnalysisOperationViewModel::setDefaultParameters()
{
    setSelectedFigureOfMeritIndex(0);
    using P = CMeasurementParametersViewModel;
    CMeasurementParameters& m = *Operation()->MeasurementParameters();
    m.setApplyConfiguration(false);
    m.setAcquisitionRate(P::AcquisitionRateAcAnalysisDefault);
    m.setDisplayRate(P::DisplayRateAcAnalysisDefault);
    m.setAveraging(P::AveragingAcAnalysisDefault);
    m.setApplyConfiguration(true);
}

void CAcAnalysisOperationViewModel::OnNewMeasure(const QSharedPointer<CMeasureBlock>& measureBlock)
{
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    const auto& blocks = *recorder->DataSet()->MeasureBlocks();
    if (!recorder->IsPlayingBack() && !recorder->IsRecording() && recorder->IsIdleWithData())
    {
        if (m_pChart->MeasureResultCount() > 0)
            m_pChart->Clear();
        m_pChart->PlotUntilCurrentStep(blocks, m_SelectedFigureOfMeritIndex,
                                       recorder->DataSetIndex(recorder->ReplayIndex()));
    }
    else if (m_FullRedrawPending)
    {
        m_FullRedrawPending = false;
        m_pChart->PlotAll(blocks, m_SelectedFigureOfMeritIndex);
    }
    else if (measureBlock && !measureBlock->Results.isEmpty())
    {
        m_pChart->Plot(*measureBlock, m_SelectedFigureOfMeritIndex);
    }
    // Every block reaches the exposure, and the alarm when it is on (it reads the band
    // table); otherwise the table shows the newest block at most at the screen's pace,
    // and only while it is shown.
    AssessExposure(l_CurrentBlock().data());
    if (Operation()->OperationParameters()->AlarmParametersAcAnalysis()->State() != CAlarm::AlarmState::Off)
        l_ComputeTable();
    else
        m_pTablePacer->Defer(this, [this] { l_ComputeTable(); });
    if (recorder->IsProcessingBlock())
        recorder->setIsProcessingBlock(false);
}

QSharedPointer<CMeasureBlock> CAcAnalysisOperationViewModel::l_CurrentBlock() const
{
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    const auto& blocks = *recorder->DataSet()->MeasureBlocks();
    if (blocks.empty())
        return {};
    const bool stored = recorder->IsPlayingBack() || recorder->IsIdleWithData();
    const QSharedPointer<CMeasureBlock> block =
        stored ? recorder->StoredBlock(recorder->ReplayIndex()) : nullptr;
    return block ? block : blocks.back();
}

void CAcAnalysisOperationViewModel::l_ComputeTable()
{
    m_pTable->ComputeFigureOfMerit(l_CurrentBlock().data(), ParametersInUse()->AcquisitionRate(),
                                   m_SelectedFigureOfMeritIndex);
    if (Operation()->OperationParameters()->AlarmParametersAcAnalysis()->State() != CAlarm::AlarmState::Off)
        l_CheckRange();
}

void CAcAnalysisOperationViewModel::l_CheckRange()
{
    const CAlarmParametersAcAnalysis& alarm =
        *Operation()->OperationParameters()->AlarmParametersAcAnalysis();
    const int quantity = int(alarm.Axis()) - int(CAxis::AxisType::B);
    if (quantity < 0 || quantity > 4)
        return;
    const int bands = std::min(Operation()->LimitsFile()->Limits().size(), m_pTable->rowCount());
    for (int row = 0; row < bands; ++row)
    {
        const double limit = m_pTable->ExposureLimit(row);
        const double figure = double(m_pTable->Figure(quantity, row));
        if (!(limit < figure))
        {
            m_pTable->setFlagNotification(false);
            m_pAlarm->setFlagNotification(false);
            continue;
        }
        const CAlarm::AlarmState state = alarm.State();
        if (state == CAlarm::AlarmState::Off)
            return;
        m_pTable->setFlagNotification(true);
        m_pAlarm->setFlagNotification(true);
        if (state == CAlarm::AlarmState::Notification || state == CAlarm::AlarmState::Audio)
        {
            const QString axis = CUtils::AxisStateToStringUTF(alarm.Axis());
            const double minimum = row == 0 ? 0.0 : m_pTable->ExposureLimit(row - 1);
            emit AlarmNotification(axis + QStringLiteral(" is out-of-limit"),
                                   QStringLiteral("Minimum = ") + CUtils::doubleToString(minimum, 5) +
                                       QLatin1Char('\n') + axis + QStringLiteral(" = ") +
                                       CUtils::doubleToString(figure, 5) + QStringLiteral("\nMaximum = ") +
                                       CUtils::doubleToString(limit, 5),
                                   state == CAlarm::AlarmState::Audio);
        }
        return;
    }
}

void CAcAnalysisOperationViewModel::l_Replot()
{
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    const auto& blocks = *recorder->DataSet()->MeasureBlocks();
    m_pChart->Clear();
    if (recorder->IsPlayingBack())
        m_pChart->PlotUntilCurrentStep(blocks, m_SelectedFigureOfMeritIndex,
                                       recorder->DataSetIndex(recorder->ReplayIndex()));
    else if (!blocks.empty())
        m_pChart->PlotAll(blocks, m_SelectedFigureOfMeritIndex);
    l_ComputeTable();
}

void CAcAnalysisOperationViewModel::OnOperationParameterUnitChanged()
{
    Operation()->RecordingManager()->DataSet()->Clear();
}

void CAcAnalysisOperationViewModel::OnDataSetCleared()
{
    m_pChart->Clear();
    m_pTable->Clear();
    setCommentOverAll(QString());
    AssessExposure(nullptr);
    Exposure()->resetMaxima();
}

void CAcAnalysisOperationViewModel::OnPlayingBackChanged(bool isPlayingBack)
{
    if (!isPlayingBack)
        return;
    // A replay draws the recording again from its start.
    m_pChart->Clear();
    m_pTable->Clear();
    setCommentOverAll(Operation()->RecordingManager()->DataSet()->Comment());
}

void CAcAnalysisOperationViewModel::OnSelectedFigureOfMeritIndexChanged()
{
    setCommentOverAll(Operation()->RecordingManager()->DataSet()->Comment());
    l_Replot();
}

void CAcAnalysisOperationViewModel::OnLimitFileLoaded(bool isFileLoaded)
{
    if (!isFileLoaded)
        m_pTable->Clear();
    l_ComputeTable();
    AssessExposure(l_CurrentBlock().data());
}

void CAcAnalysisOperationViewModel::OnDatasetLoaded()
{
    Operation()->RecordingManager()->setReplayIndex(0);
    setCommentOverAll(Operation()->RecordingManager()->DataSet()->Comment());
    l_Replot();
}
