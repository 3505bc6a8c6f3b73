#include "viewmodels/CSpectrumOperationViewModel.h"

#include "app/CUtils.h"
#include "compute/Spectrum.h"
#include "files/LimitsXmlFile.h"
#include "model/CMeasurementParameters.h"
#include "operations/COperationMeasure.h"
#include "viewmodels/CAlarmParametersSpectrumViewModel.h"
#include "viewmodels/CChart2DSpectrumData.h"
#include "viewmodels/CDisplayPacer.h"
#include "viewmodels/CExposureViewModel.h"
#include "viewmodels/CFrequencyPeakListData.h"
#include "viewmodels/CMeasurementParametersViewModel.h"
#include "viewmodels/CSpectrumOperationDatasetViewModel.h"

#include <cmath>
#include <limits>

CSpectrumOperationViewModel::CSpectrumOperationViewModel(CSettings& settings, COperationMeasure* operation,
                                                         QObject* parent)
    : CMeasurementOperationViewModel(QStringLiteral("SpectrumOperation"), settings, operation, parent),
      m_pChart(new CChart2DSpectrumData(operation, this)),
      m_pTable(new CFrequencyPeakListData(operation->LimitsFile(), this)),
      m_pDataset(new CSpectrumOperationDatasetViewModel(m_pChart, m_pTable, this)),
      m_pAlarm(new CAlarmParametersSpectrumViewModel(
          operation->OperationParameters()->AlarmParametersSpectrum(), this)),
      m_pMeasurement(new CMeasurementParametersViewModel(operation, false, this)),
      m_pPacer(new CDisplayPacer(this)), m_FieldNames{QStringLiteral("B"), QStringLiteral("B.B'"),
                                                      QStringLiteral("Bx"), QStringLiteral("By"),
                                                      QStringLiteral("Bz")}
{
    CRecordingManagerMeasure* recorder = operation->RecordingManager();
    m_pMeasurement->setIsFrequencyRangeVisible(true);
    connect(operation, &COperationMeasure::NewMeasure, this, &CSpectrumOperationViewModel::OnNewMeasure);
    connect(operation->MeasurementParameters(), &CMeasurementParameters::UnitsChanged, this,
            &CSpectrumOperationViewModel::OnOperationParameterUnitChanged);
    connect(recorder->DataSet(), &CDataset::ClearedChanged, this,
            &CSpectrumOperationViewModel::OnDataSetCleared);
    connect(recorder, &CRecordingManager::IsPlayingBackChanged, this,
            &CSpectrumOperationViewModel::OnPlayingBackChanged);
    connect(operation, &COperationMeasure::LimitsFileLoadedChanged, this,
            &CSpectrumOperationViewModel::OnLimitsFileLoaded);
    connect(operation->LimitsFile(), &LimitsXmlFile::ConvertedChanged, this,
            &CSpectrumOperationViewModel::OnLimitsFileConverted);
    FollowAnalysisNotice();
    connect(this, &CSpectrumOperationViewModel::SelectedFieldIndexChanged, this,
            &CSpectrumOperationViewModel::OnSelectedFieldIndexChanged);
    connect(this, &CSpectrumOperationViewModel::ThresholdChanged, this,
            &CSpectrumOperationViewModel::OnThresholdChanged);
    connect(this, &COperationViewModel::DatasetLoaded, this, &CSpectrumOperationViewModel::OnDatasetLoaded);
    // An alarm switched off is no alarm raised.
    connect(operation->OperationParameters()->AlarmParametersSpectrum(), &CAlarmParametersState::StateChanged,
            this, [this](CAlarm::AlarmState state) {
                if (state == CAlarm::AlarmState::Off)
                    m_pAlarm->setFlagNotification(false);
            });
    loadData();
}

QString CSpectrumOperationViewModel::HelpPath()
{
    switch (SectionIndex())
    {
    case 0:
        return QStringLiteral("spectrum_plot");
    case 1:
        return QStringLiteral("spectrum_table");
    default:
        return QString();
    }
}

void CSpectrumOperationViewModel::setSelectedFieldIndex(int value)
{
    if (m_SelectedFieldIndex == value)
        return;
    m_SelectedFieldIndex = value;
    emit SelectedFieldIndexChanged(value);
}

void CSpectrumOperationViewModel::setThreshold(double value)
{
    if (m_Threshold == value)
        return;
    m_Threshold = value;
    emit ThresholdChanged(value);
}

void CSpectrumOperationViewModel::setDefaultParameters()
{
    setSelectedFieldIndex(1);
    setThreshold(10.0);
    using P = CMeasurementParametersViewModel;
    CMeasurementParameters& m = *Operation()->MeasurementParameters();
    m.setApplyConfiguration(false);
    m.setFrequencyMin(P::FrequencyMinSpectrumDefault);
    m.setFrequencyMax(P::FrequencyMaxSpectrumDefault);
    m.setDisplayRate(P::DisplayRateSpectrumDefault);
    m.setAveraging(P::AveragingSpectrumDefault);
    m.setApplyConfiguration(true);
}

void CSpectrumOperationViewModel::OnNewMeasure(const QSharedPointer<CMeasureBlock>& measureBlock)
{
    if (measureBlock && !measureBlock->Results.isEmpty())
    {
        // Every block reaches the exposure and the alarm; the chart and the peaks show
        // the newest one at most at the screen's pace.
        AssessExposure(measureBlock.data());
        if (Operation()->OperationParameters()->AlarmParametersSpectrum()->State() != CAlarm::AlarmState::Off)
        {
            KVL::Instrument::ZRQ5520Types::CFluxList series, spectrum;
            series.reserve(std::size_t(measureBlock->Results.size()));
            for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(measureBlock->Results))
                series.push_back(sample->Quantity(m_SelectedFieldIndex));
            if (KVL::ComputeSpectrum(series, spectrum))
                l_CheckLimit(spectrum, ParametersInUse()->AcquisitionRate() / double(series.size()));
        }
        m_pPacer->Defer(this, [this, measureBlock] { l_Draw(measureBlock); });
    }
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    if (recorder->IsProcessingBlock())
        recorder->setIsProcessingBlock(false);
}

void CSpectrumOperationViewModel::l_Draw(const QSharedPointer<CMeasureBlock>& block)
{
    m_pChart->setMeasurementParameters(ParametersInUse());
    m_pChart->Plot(*block, m_SelectedFieldIndex);
    l_ComputePeaks();
    setCommentOverAll(Operation()->RecordingManager()->DataSet()->Comment());
}

void CSpectrumOperationViewModel::l_Show(const QSharedPointer<CMeasureBlock>& block)
{
    l_Draw(block);
    AssessExposure(block.data());
    if (Operation()->OperationParameters()->AlarmParametersSpectrum()->State() != CAlarm::AlarmState::Off)
        l_CheckLimit(m_pChart->GetSpectrum(), m_pChart->DeltaFrequency());
}

void CSpectrumOperationViewModel::l_ComputePeaks()
{
    if (m_pChart->GetSpectrum().size() < 2)
    {
        m_pTable->Clear(); // nothing measured yet, or a block of one sample
        return;
    }
    m_pTable->ComputeSpectralPeaks(m_pChart->GetSpectrum(), float(m_pChart->DeltaFrequency()),
                                   float(m_Threshold), ParametersInUse()->FrequencyMin());
}

void CSpectrumOperationViewModel::l_CheckLimit(const KVL::Instrument::ZRQ5520Types::CFluxList& spectrum,
                                               double df)
{
    const auto& entries = Operation()->LimitsFile()->Limits();
    const double frequencyMin = ParametersInUse()->FrequencyMin();
    int j = 0;
    while (j < entries.size() && entries[j]->UpperFrequencyLimitValue() < frequencyMin)
        ++j;
    if (j >= entries.size() || !(df > 0) || !std::isfinite(df))
        return;
    std::size_t k = std::size_t(frequencyMin / df);
    for (; k < spectrum.size() && j < entries.size(); ++k)
    {
        const double limit = entries[j]->ExposureLimitValue();
        // What the peak table shows: a tone's amplitude, twice its bin (the window halves a
        // tone in the spectrum); the bin at 0 Hz is a constant and is not doubled.
        const double amplitude = k == 0 ? double(spectrum[k]) : 2.0 * double(spectrum[k]);
        if (limit < amplitude)
        {
            const CAlarm::AlarmState state =
                Operation()->OperationParameters()->AlarmParametersSpectrum()->State();
            if (state == CAlarm::AlarmState::Off)
                return;
            m_pAlarm->setFlagNotification(true);
            if (state == CAlarm::AlarmState::Notification || state == CAlarm::AlarmState::Audio)
                emit AlarmNotification(
                    QStringLiteral("Spectrum is out-of-limit"),
                    QStringLiteral("Frequency = ") + CUtils::doubleToString(df * double(k), 5) +
                        QStringLiteral(" Hz\nExposure = ") + CUtils::doubleToString(amplitude, 5) +
                        QStringLiteral("\nLimit = ") + CUtils::doubleToString(limit, 5),
                    state == CAlarm::AlarmState::Audio);
            return;
        }
        m_pAlarm->setFlagNotification(false);
        if (df * double(k) >= entries[j]->UpperFrequencyLimitValue())
            ++j;
    }
}

QSharedPointer<CMeasureBlock> CSpectrumOperationViewModel::l_CurrentBlock() const
{
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    const auto& blocks = *recorder->DataSet()->MeasureBlocks();
    if (blocks.empty())
        return {};
    const bool stored = recorder->IsPlayingBack() || recorder->IsDataLoaded() || recorder->IsIdleWithData();
    if (!stored)
        return blocks.back();
    const QSharedPointer<CMeasureBlock> block = recorder->StoredBlock(recorder->ReplayIndex());
    return block ? block : blocks.back();
}

void CSpectrumOperationViewModel::loadData()
{
    if (const QSharedPointer<CMeasureBlock> block = l_CurrentBlock(); block && !block->Results.isEmpty())
        l_Show(block);
}

void CSpectrumOperationViewModel::unloadData()
{
    m_pPacer->Drop(this); // a block still to be drawn is gone with the rest
    m_pChart->Clear();
    m_pTable->Clear();
    AssessExposure(nullptr);
}

void CSpectrumOperationViewModel::OnOperationParameterUnitChanged()
{
    Operation()->RecordingManager()->DataSet()->Clear();
}

void CSpectrumOperationViewModel::OnDataSetCleared()
{
    unloadData();
    Exposure()->resetMaxima();
    setCommentOverAll(QString());
}

void CSpectrumOperationViewModel::OnPlayingBackChanged(bool isPlayingBack)
{
    if (!isPlayingBack)
        return;
    unloadData();
    setCommentOverAll(Operation()->RecordingManager()->DataSet()->Comment());
}

void CSpectrumOperationViewModel::OnSelectedFieldIndexChanged()
{
    loadData();
}

void CSpectrumOperationViewModel::OnThresholdChanged()
{
    if (!Operation()->RecordingManager()->DataSet()->MeasureBlocks()->empty())
        l_ComputePeaks();
}

void CSpectrumOperationViewModel::OnLimitsFileLoaded()
{
    m_pChart->UpdateBoundaries();
    l_ComputePeaks(); // the limit of each peak
    const QSharedPointer<CMeasureBlock> block = l_CurrentBlock();
    AssessExposure(block.data());
}

void CSpectrumOperationViewModel::OnLimitsFileConverted()
{
    OnLimitsFileLoaded(); // the limits now in the unit of the samples, or none
}

void CSpectrumOperationViewModel::OnDatasetLoaded()
{
    Operation()->RecordingManager()->setReplayIndex(0);
    loadData();
}

QString CSpectrumOperationViewModel::ChartTitle() const
{
    const QStringList names = FieldNames();
    const int field = SelectedFieldIndex();
    return field >= 0 && field < names.size() ? tr("Spectrum of %1").arg(names.at(field)) : tr("Spectrum");
}
