#include "viewmodels/CMeterOperationViewModel.h"

#include "files/CResultsFileIndex.h"

#include "app/CSettings.h"
#include "app/CUtils.h"
#include "app/LogCategories.h"
#include "compute/FieldStatistics.h"
#include "operations/COperationMeasure.h"
#include "viewmodels/CAlarmParametersMeterViewModel.h"
#include "viewmodels/CChart2DMeterData.h"
#include "viewmodels/CDisplayPacer.h"
#include "viewmodels/CMeasureBlockData.h"
#include "viewmodels/CMeasurementParametersViewModel.h"
#include "viewmodels/CMeterOperationDatasetViewModel.h"
#include "viewmodels/CRangeCheck.h"

#include <QQuaternion>
#include <QVector3D>

#include <algorithm>
#include <cmath>
#include <limits>

CMeterOperationViewModel::CMeterOperationViewModel(CSettings& settings, COperationMeasure* operation,
                                                   QObject* parent)
    : CMeasurementOperationViewModel(QStringLiteral("MeterOperation"), settings, operation, parent),
      m_pTable(new CMeasureBlockData(this)), m_pComponentsPacer(new CDisplayPacer(this)),
      m_pTablePacer(new CDisplayPacer(this)), m_pChart(new CChart2DMeterData(settings, operation, this)),
      m_pDataset(new CMeterOperationDatasetViewModel(m_pTable, m_pChart, this)),
      m_pAlarm(new CAlarmParametersMeterViewModel(operation, this)),
      m_pRangeCheck(
          new CRangeCheck(operation->OperationParameters()->AlarmParametersMeter(), m_pAlarm, this)),
      m_pMeasurement(new CMeasurementParametersViewModel(operation, false, this))
{
    CMeasurementParameters* m = operation->MeasurementParameters();
    connect(operation, &COperationMeasure::NewMeasure, this, &CMeterOperationViewModel::OnNewMeasure);
    connect(m, &CMeasurementParameters::UnitsChanged, this,
            &CMeterOperationViewModel::OnOperationParameterUnitChanged);
    connect(m, &CMeasurementParameters::UncertaintyUnitsChanged, this,
            qOverload<>(&CMeterOperationViewModel::OnMeasureParametersUncertaintyUnitChanged));
    connect(m, &CMeasurementParameters::UncertaintyUnitsChanged, this,
            &CMeterOperationViewModel::OnAlarmAxisUnitChanged);
    connect(operation->OperationParameters()->AlarmParametersMeter(), &CAlarmParametersMeter::AxisChanged,
            this, &CMeterOperationViewModel::OnAlarmAxisUnitChanged);
    connect(operation->RecordingManager()->DataSet(), &CDataset::ClearedChanged, this,
            &CMeterOperationViewModel::OnDataSetCleared);
    connect(this, &CMeterOperationViewModel::SelectedProbeAxisIndexChanged, this,
            &CMeterOperationViewModel::OnSelectedProbeAxisIndexChanged);
    connect(this, &CMeterOperationViewModel::SelectedModeIndexChanged, this,
            &CMeterOperationViewModel::OnSelectedModeIndexChanged);
    connect(this, &COperationViewModel::DatasetLoaded, this, &CMeterOperationViewModel::OnDatasetLoaded);
    connect(this, &COperationViewModel::SectionIndexChanged, this,
            &CMeterOperationViewModel::l_OnSectionShown);
    l_OnSectionShown(SectionIndex());
    CRecordingManagerMeasure* recorder = operation->RecordingManager();
    connect(recorder, &CRecordingManager::IsPlayingBackChanged, this,
            &CMeterOperationViewModel::OnPlayingBackChanged);
    connect(recorder, &CRecordingManager::IsHoldingChanged, this,
            &CMeterOperationViewModel::OnIsHoldingChanged);
    // The indicator measures the turn about the axis the camera looks along.
    connect(&settings, &CSettings::Meter3DCameraPresetChanged, this,
            &CMeterOperationViewModel::l_RecomputeRotation);
    connect(m_pRangeCheck, &CRangeCheck::AlarmNotification, this,
            &CMeasurementOperationViewModel::AlarmNotification);
    connect(m_pChart, &CChart2DFieldsData::XRangeChosen, this,
            &CMeterOperationViewModel::l_OnChartRangeChosen);
    m_SubBlockTimer.setSingleShot(true);
    connect(&m_SubBlockTimer, &QTimer::timeout, this, &CMeterOperationViewModel::OnSmallBlockTimer);
    l_InitializeDefaultValues();
    l_UpdateAlarmUnits();
    const auto& blocks = *recorder->DataSet()->MeasureBlocks();
    if (!blocks.empty())
    {
        // A page opened on a held recording shows it up to the replay position.
        const int index =
            std::clamp(recorder->DataSetIndex(recorder->ReplayIndex()), 0, int(blocks.size()) - 1);
        m_FullRedrawPending = true;
        ProcessBlock(blocks[std::size_t(index)], true);
    }
}

template <typename T>
void CMeterOperationViewModel::l_Set(T& member, const T& value, void (CMeterOperationViewModel::*signal)(T))
{
    if (member == value)
        return;
    member = value;
    emit(this->*signal)(member);
}

template <typename T>
void CMeterOperationViewModel::l_Show(T& member, const T& value, void (CMeterOperationViewModel::*signal)(T))
{
    if (member == value)
        return;
    member = value;
    m_pComponentsPacer->Defer(&member, [this, &member, signal] { emit(this->*signal)(member); });
}

void CMeterOperationViewModel::l_OnSectionShown(int section)
{
    m_pComponentsPacer->SetHeld(section != 0);
    m_pChart->setShown(section == 1);
    m_pTablePacer->SetHeld(section != 2);
}

QString CMeterOperationViewModel::HelpPath()
{
    static const char* const topics[] = {"meter_component", "meter_plot", "meter_table"};
    return SectionIndex() >= 0 && SectionIndex() <= 2 ? QString::fromLatin1(topics[SectionIndex()])
                                                      : QString();
}

void CMeterOperationViewModel::setSelectedProbeAxisIndex(int value)
{
    l_Set(m_SelectedProbeAxisIndex, value, &CMeterOperationViewModel::SelectedProbeAxisIndexChanged);
}

void CMeterOperationViewModel::setSelectedModeIndex(int value)
{
    l_Set(m_SelectedModeIndex, value, &CMeterOperationViewModel::SelectedModeIndexChanged);
}

void CMeterOperationViewModel::setRotEnable(bool value)
{
    l_Set(m_RotEnable, value, &CMeterOperationViewModel::RotEnableChanged);
    l_RecomputeRotation();
}

void CMeterOperationViewModel::l_RecomputeRotation()
{
    if (const QSharedPointer<CMeasureBlock> newest = l_NewestBlock(); newest && !newest->Results.isEmpty())
        l_ComputeRotationVector(*newest);
}

void CMeterOperationViewModel::l_InitializeDefaultValues()
{
    for (auto [member, signal] : {std::pair{&m_BLastBlock, &CMeterOperationViewModel::BLastBlockChanged},
                                  {&m_dBLastBlock, &CMeterOperationViewModel::dBLastBlockChanged},
                                  {&m_BPrimeLastBlock, &CMeterOperationViewModel::BPrimeLastBlockChanged},
                                  {&m_BxLastBlock, &CMeterOperationViewModel::BxLastBlockChanged},
                                  {&m_ByLastBlock, &CMeterOperationViewModel::ByLastBlockChanged},
                                  {&m_BzLastBlock, &CMeterOperationViewModel::BzLastBlockChanged}})
        l_Set(*member, 0.0, signal);
    resetAllMaximum();
    // Signalled only when they change: a combo box whose list is replaced rebuilds its popup.
    l_Set(m_ProbeAxisNames,
          QStringList{CUtils::AxisStateToStringUTF(CAxis::AxisType::Bx),
                      CUtils::AxisStateToStringUTF(CAxis::AxisType::By),
                      CUtils::AxisStateToStringUTF(CAxis::AxisType::Bz)},
          &CMeterOperationViewModel::ProbeAxisNamesChanged);
    l_Set(m_ModeNames, QStringList{QStringLiteral("DC"), QStringLiteral("AC")},
          &CMeterOperationViewModel::ModeNamesChanged);
    setSelectedProbeAxisIndex(2);
    setSelectedModeIndex(0);
    m_SubBlocks.clear();
    m_SubBlockTimer.stop();
    m_ReplaySpeed = 1.0;
    Operation()->RecordingManager()->DataSet()->setMeasurementParameters(ParametersInUse());
}

void CMeterOperationViewModel::setDefaultParameters()
{
    l_InitializeDefaultValues();
}

void CMeterOperationViewModel::resetAllMaximum()
{
    l_Set(m_BMax, 0.0, &CMeterOperationViewModel::BMaxChanged);
    l_Set(m_BPrimeMax, 0.0, &CMeterOperationViewModel::BPrimeMaxChanged);
    l_Set(m_BxMax, 0.0, &CMeterOperationViewModel::BxMaxChanged);
    l_Set(m_ByMax, 0.0, &CMeterOperationViewModel::ByMaxChanged);
    l_Set(m_BzMax, 0.0, &CMeterOperationViewModel::BzMaxChanged);
}

QSharedPointer<CMeasureBlock> CMeterOperationViewModel::l_NewestBlock()
{
    const auto& blocks = *Operation()->RecordingManager()->DataSet()->MeasureBlocks();
    return blocks.empty() ? QSharedPointer<CMeasureBlock>() : blocks.back();
}

void CMeterOperationViewModel::OnNewMeasure(const QSharedPointer<CMeasureBlock>& measureBlock)
{
    if (!measureBlock || measureBlock->Results.isEmpty())
    {
        l_BlockDone();
        return;
    }
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    if (!recorder->IsPlayingBack() && !recorder->IsRecording() && recorder->IsIdleWithData())
    {
        // A stored block stepped to: the chart shows the recording up to it.
        const int blockSize = std::max(1, ParametersInUse()->BlockSize());
        m_FullRedrawPending =
            m_pChart->MeasureResultCount() / quint64(blockSize) < quint64(recorder->NumBlocks());
        ProcessBlock(measureBlock, true);
        l_BlockDone();
        return;
    }
    if (!recorder->IsPlayingBack())
    {
        ProcessBlock(measureBlock);
        return;
    }
    // What is left of the previous block is shown at once: the chart never skips samples.
    // The recorder already counts this new block as in progress: the flush must not tell
    // it a block is done.
    l_FlushSubBlocks();
    l_CutIntoSubBlocks(measureBlock);
    l_ShowNextSubBlock();
}

void CMeterOperationViewModel::l_CutIntoSubBlocks(const QSharedPointer<CMeasureBlock>& block)
{
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    m_ReplaySpeed = recorder->TimeWarp() > 0 ? recorder->TimeWarp() : 1.0;
    const double span =
        std::max(1.0, std::round(recorder->MinReplaySmallBlockDelayMillisecond() * m_ReplaySpeed)) / 1000.0;
    const auto& samples = block->Results;
    int first = 0;
    double start = CChart2DFieldsData::MeasureToSeconds(*samples.first());
    for (int i = 1; i <= samples.size(); ++i)
    {
        const double t = i < samples.size() ? CChart2DFieldsData::MeasureToSeconds(*samples[i]) : 0;
        if (i < samples.size() && t < start + span)
            continue;
        if (first == 0 && i == samples.size())
        {
            m_SubBlocks.push_back(block); // short enough to show whole
            return;
        }
        auto part = QSharedPointer<CMeasureBlock>::create();
        part->setComment(block->Comment());
        part->Bprime.setX(block->Bprime.X());
        part->Bprime.setY(block->Bprime.Y());
        part->Bprime.setZ(block->Bprime.Z());
        part->Results = samples.mid(first, i - first);
        m_SubBlocks.push_back(part);
        first = i;
        start = t;
    }
}

void CMeterOperationViewModel::l_ShowNextSubBlock()
{
    if (m_SubBlocks.empty())
        return;
    const QSharedPointer<CMeasureBlock> part = m_SubBlocks.front();
    m_SubBlocks.pop_front();
    ProcessBlock(part);
    if (m_SubBlocks.empty())
    {
        l_BlockDone();
        return;
    }
    if (Operation()->RecordingManager()->IsHolding())
        return; // resumed by OnIsHoldingChanged
    const double gap = CChart2DFieldsData::MeasureToSeconds(*m_SubBlocks.front()->Results.first()) -
                       CChart2DFieldsData::MeasureToSeconds(*part->Results.first());
    m_SubBlockTimer.start(int(std::clamp(std::round(gap * 1000.0 / m_ReplaySpeed), 1.0, 2147483647.0)));
}

void CMeterOperationViewModel::OnSmallBlockTimer()
{
    l_ShowNextSubBlock();
}

void CMeterOperationViewModel::OnIsHoldingChanged(bool holding)
{
    if (holding)
        m_SubBlockTimer.stop();
    else if (Operation()->RecordingManager()->IsPlayingBack() && !m_SubBlocks.empty())
        m_SubBlockTimer.start(1);
}

void CMeterOperationViewModel::OnPlayingBackChanged(bool playingBack)
{
    if (playingBack)
    {
        // A replay draws the recording again from its first block, not after it.
        m_pChart->Clear();
        m_pTable->Clear();
        return;
    }
    // A stopped replay keeps on the chart what it was showing: the sub-blocks left of the
    // current block go to the chart at once, not away.
    l_FlushSubBlocks();
}

void CMeterOperationViewModel::l_FlushSubBlocks()
{
    m_SubBlockTimer.stop();
    while (!m_SubBlocks.empty())
    {
        const QSharedPointer<CMeasureBlock> part = m_SubBlocks.front();
        m_SubBlocks.pop_front();
        ProcessBlock(part);
    }
}

void CMeterOperationViewModel::l_BlockDone()
{
    // Lets the replay send its next block without waiting out its patience.
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    if (recorder->IsProcessingBlock())
        recorder->setIsProcessingBlock(false);
}

void CMeterOperationViewModel::l_PlotDataSet(int lastIndex)
{
    if (m_pChart->MeasureResultCount() > 0)
        m_pChart->Clear();
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    const auto& blocks = *recorder->DataSet()->MeasureBlocks();
    const CResultsFileIndex* index = recorder->FileIndex();
    const int first = recorder->WindowFirstBlock();
    const int held = int(blocks.size());
    // Of a file read on demand, what memory does not hold is drawn from its overview.
    if (index && first > 0)
        l_PlotOverview(*index, 0, first);
    const int count = std::min(recorder->DataSetIndex(lastIndex) + 1, held);
    for (int i = 0; i < count; ++i)
        m_pChart->Plot(*blocks[std::size_t(i)]);
    if (index && count == held && lastIndex >= index->BlockCount() - 1)
        l_PlotOverview(*index, first + held, index->BlockCount());
}

void CMeterOperationViewModel::l_OnChartRangeChosen(double from, double to)
{
    CRecordingManagerMeasure* recorder = Operation()->RecordingManager();
    const CResultsFileIndex* index = recorder->FileIndex();
    const int held = recorder->HeldBlockCount();
    if (!index || held == 0 || recorder->IsPlayingBack() || recorder->IsRecording())
        return;
    const double start = m_pChart->TimeOrigin() + from;
    const double end = m_pChart->TimeOrigin() + to;
    const int first = recorder->WindowFirstBlock();
    if (start >= index->BlockAt(first).FirstTime && end <= index->BlockAt(first + held - 1).LastTime)
        return; // drawn in full already
    // A range wider than memory keeps stays drawn from the overview.
    const auto& a = index->BlockAt(index->BlockAtTime(start));
    const auto& b = index->BlockAt(index->BlockAtTime(end));
    if (quint64(b.FirstSample + b.Samples - a.FirstSample) > m_Settings.MeasurementMaxMeasurementCount() / 2)
        return;
    if (!recorder->ShowFrom(start))
        return;
    m_pChart->KeepXRange(from, to);
    l_PlotDataSet(std::numeric_limits<int>::max() - 1);
}

void CMeterOperationViewModel::l_PlotOverview(const CResultsFileIndex& index, int from, int to)
{
    // Each column of the overview within the blocks as two samples, its smallest values
    // at its start and its largest at its end: the line spans every value the blocks hold.
    CMeasureBlock overview;
    const auto at = [](double seconds) {
        auto sample = QSharedPointer<CFieldIntensityResult>::create();
        const double ms = std::floor(seconds * 1e3);
        sample->Timestamp = QDateTime::fromMSecsSinceEpoch(qint64(ms), Qt::LocalTime);
        sample->TimestampNanosecond =
            quint64(qint64(ms) % 1000) * 1000000ULL + quint64(std::max(0.0, (seconds * 1e3 - ms) * 1e6));
        return sample;
    };
    for (const CResultsFileIndex::Column& column : index.Overview())
    {
        if (column.FirstBlock < from || column.FirstBlock + column.Blocks > to ||
            !std::isfinite(column.FirstTime) || !std::isfinite(column.LastTime))
            continue;
        for (const auto& [seconds, extremes] :
             {std::pair(column.FirstTime, column.Min), std::pair(column.LastTime, column.Max)})
        {
            // A quantity with no value in the column (not a number throughout) stays missing.
            CResultsFileIndex::Quantities values = extremes;
            for (std::size_t q = 0; q < values.size(); ++q)
                if (column.Min[q] > column.Max[q])
                    values[q] = std::numeric_limits<float>::quiet_NaN();
            auto sample = at(seconds);
            sample->setB(values[0]);
            sample->setBBprime(values[1]);
            sample->setBx(values[2]);
            sample->setBy(values[3]);
            sample->setBz(values[4]);
            sample->setdB(values[5]);
            overview.Results.append(sample);
        }
    }
    if (overview.Results.isEmpty())
        return;
    CRangeCheck::ComputeBConverted(overview, DisplayUnits(), DisplayUncertaintyUnits());
    m_pChart->Plot(overview);
}

void CMeterOperationViewModel::ProcessBlock(const QSharedPointer<CMeasureBlock>& block, bool untilCurrentStep)
{
    l_Set(m_NewMeasureReady, false, &CMeterOperationViewModel::NewMeasureReadyChanged);
    CRangeCheck::ComputeBConverted(*block, DisplayUnits(), DisplayUncertaintyUnits());
    l_ComputeCompasSize(*block);
    l_ComputeLastBlockComponents(*block);
    m_pTablePacer->Defer(m_pTable, [this, block] { m_pTable->ShowBlock(*block); });
    if (m_FullRedrawPending)
    {
        m_FullRedrawPending = false;
        const auto* recorder = Operation()->RecordingManager();
        l_PlotDataSet(untilCurrentStep ? recorder->ReplayIndex() : std::numeric_limits<int>::max() - 1);
    }
    else if (!untilCurrentStep)
    {
        m_pChart->Plot(*block);
    }
    else
    {
        // A step through a charted recording: the window moves to end at the step.
        m_pChart->XmaxUntilCurrentStep(*block);
    }
    l_CheckRange(*block);
    l_Set(m_CommentBlock, block->Comment(), &CMeterOperationViewModel::CommentBlockChanged);
    l_ComputeRotationVector(*block);
    l_Set(m_NewMeasureReady, true, &CMeterOperationViewModel::NewMeasureReadyChanged);
}

void CMeterOperationViewModel::l_SetCompasCleared(bool cleared)
{
    // A state, not a pulse: set and reset in one call, no binding would ever see it.
    l_Set(m_ClearCompas, cleared, &CMeterOperationViewModel::ClearCompasChanged);
}

void CMeterOperationViewModel::l_ComputeCompasSize(const CMeasureBlock& block)
{
    double v[3] = {0, 0, 0};
    double magnitude = 0;
    if (m_SelectedModeIndex == 0 && !block.Results.isEmpty())
    {
        const CFieldIntensityResult& last = *block.Results.last();
        v[0] = last.Bx();
        v[1] = last.By();
        v[2] = last.Bz();
        magnitude = last.B();
    }
    else if (m_SelectedModeIndex == 1)
    {
        v[0] = block.Bprime.X();
        v[1] = block.Bprime.Y();
        v[2] = block.Bprime.Z();
        magnitude = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    }
    if (magnitude == 0 || std::isnan(magnitude))
    {
        l_SetCompasCleared(true);
        return;
    }
    const int axis =
        m_SelectedProbeAxisIndex == 0 || m_SelectedProbeAxisIndex == 1 ? m_SelectedProbeAxisIndex : 2;
    l_SetCompasCleared(false);
    const double a = v[(axis + 1) % 3];
    const double b = v[(axis + 2) % 3];
    double width = v[axis] / magnitude;
    l_Show(m_CompasHeight, 1.0 - std::sqrt(a * a + b * b) / magnitude,
           &CMeterOperationViewModel::CompasHeightChanged);
    l_Show(m_UpdateLeftCompas, false, &CMeterOperationViewModel::UpdateLeftCompasChanged);
    l_Show(m_UpdateRightCompas, false, &CMeterOperationViewModel::UpdateRightCompasChanged);
    if (width >= 0)
    {
        l_Show(m_CompasWidth, width, &CMeterOperationViewModel::CompasWidthChanged);
        l_Show(m_UpdateRightCompas, true, &CMeterOperationViewModel::UpdateRightCompasChanged);
    }
    else
    {
        width = -width;
        l_Show(m_CompasWidth, width, &CMeterOperationViewModel::CompasWidthChanged);
        l_Show(m_UpdateLeftCompas, true, &CMeterOperationViewModel::UpdateLeftCompasChanged);
    }
}

void CMeterOperationViewModel::l_ComputeLastBlockComponents(const CMeasureBlock& block)
{
    const CFieldIntensityResult& last = *block.Results.last();
    l_Show(m_BLastBlock, double(last.B()), &CMeterOperationViewModel::BLastBlockChanged);
    l_Show(m_dBLastBlock, double(last.dBConverted()), &CMeterOperationViewModel::dBLastBlockChanged);
    l_Show(m_BPrimeLastBlock, double(last.BBprime()), &CMeterOperationViewModel::BPrimeLastBlockChanged);
    l_Show(m_BxLastBlock, double(last.Bx()), &CMeterOperationViewModel::BxLastBlockChanged);
    l_Show(m_ByLastBlock, double(last.By()), &CMeterOperationViewModel::ByLastBlockChanged);
    l_Show(m_BzLastBlock, double(last.Bz()), &CMeterOperationViewModel::BzLastBlockChanged);
    const auto widen = [this](double& maximum, double value,
                              void (CMeterOperationViewModel::*signal)(double)) {
        if (std::fabs(value) > std::fabs(maximum))
            l_Show(maximum, value, signal);
    };
    widen(m_BMax, m_BLastBlock, &CMeterOperationViewModel::BMaxChanged);
    widen(m_BPrimeMax, m_BPrimeLastBlock, &CMeterOperationViewModel::BPrimeMaxChanged);
    widen(m_BxMax, m_BxLastBlock, &CMeterOperationViewModel::BxMaxChanged);
    widen(m_ByMax, m_ByLastBlock, &CMeterOperationViewModel::ByMaxChanged);
    widen(m_BzMax, m_BzLastBlock, &CMeterOperationViewModel::BzMaxChanged);
}

void CMeterOperationViewModel::l_ComputeRotationVector(const CMeasureBlock& block)
{
    QVector3D direction{float(m_BxLastBlock), float(m_ByLastBlock), float(m_BzLastBlock)};
    if (m_SelectedModeIndex == 1)
    {
        const QSharedPointer<CMeasureBlock> newest = l_NewestBlock();
        const CBprimeResult& bprime = newest ? newest->Bprime : block.Bprime;
        direction = QVector3D(float(bprime.X()), float(bprime.Y()), float(bprime.Z()));
    }
    const QQuaternion orientation = QQuaternion::rotationTo(QVector3D(0, 1, 0), direction.normalized());
    l_Show(m_QuatX, double(orientation.x()), &CMeterOperationViewModel::QuatXChanged);
    l_Show(m_QuatY, double(orientation.y()), &CMeterOperationViewModel::QuatYChanged);
    l_Show(m_QuatZ, double(orientation.z()), &CMeterOperationViewModel::QuatZChanged);
    l_Show(m_QuatScalar, double(orientation.scalar()), &CMeterOperationViewModel::QuatScalarChanged);
    if (!m_RotEnable)
    {
        l_Show(m_RotVisible, false, &CMeterOperationViewModel::RotVisibleChanged);
        return;
    }
    const int preset = int(m_Settings.Meter3DCameraPreset());
    QVector3D view(0, 0, 1);
    if ((preset >= 3 && preset <= 8) || preset == 12 || preset == 13)
        view = QVector3D(1, 0, 0);
    else if (preset >= 16 && preset <= 18)
        view = QVector3D(0, 1, 0);
    // Needs two samples; a block of one has no sense of rotation.
    bool positive = block.Results.size() >= 2;
    bool negative = block.Results.size() >= 2;
    for (int i = 1; i < block.Results.size(); ++i)
    {
        const CFieldIntensityResult& a = *block.Results.at(i - 1);
        const CFieldIntensityResult& b = *block.Results.at(i);
        const float t =
            QVector3D::dotProduct(view, QVector3D::crossProduct(QVector3D(a.Bx(), a.By(), a.Bz()),
                                                                QVector3D(b.Bx(), b.By(), b.Bz())));
        positive = positive && t > 0;
        negative = negative && t < 0;
    }
    if (!positive && !negative)
    {
        l_Show(m_RotVisible, false, &CMeterOperationViewModel::RotVisibleChanged);
        return;
    }
    l_Show(m_RotVisible, true, &CMeterOperationViewModel::RotVisibleChanged);
    const int k = view.x() != 0 ? 0 : view.y() != 0 ? 1 : 2;
    const int sense = positive ? 0 : 1;
    static const float angles[3][2][3] = {
        {{0, 0, 0}, {0, 180, 0}}, {{180, 0, -90}, {0, 0, -90}}, {{0, -90, 0}, {0, 90, 0}}};
    const float* a = angles[k][sense];
    const QQuaternion rotation = QQuaternion::fromEulerAngles(a[0], a[1], a[2]);
    l_Show(m_RotQuatX, double(rotation.x()), &CMeterOperationViewModel::RotQuatXChanged);
    l_Show(m_RotQuatY, double(rotation.y()), &CMeterOperationViewModel::RotQuatYChanged);
    l_Show(m_RotQuatZ, double(rotation.z()), &CMeterOperationViewModel::RotQuatZChanged);
    l_Show(m_RotQuatScalar, double(rotation.scalar()), &CMeterOperationViewModel::RotQuatScalarChanged);
}

void CMeterOperationViewModel::l_CheckRange(const CMeasureBlock& block)
{
    m_pRangeCheck->Check(block, DisplayUnits(), DisplayUncertaintyUnits());
}

void CMeterOperationViewModel::OnRangeTimerTimedOut()
{
    m_pRangeCheck->AllowNotify();
}

void CMeterOperationViewModel::l_UpdateAlarmUnits()
{
    const bool uncertaintyAxis =
        Operation()->OperationParameters()->AlarmParametersMeter()->Axis() == CAxis::AxisType::dB;
    m_pAlarm->setDisplayAlarmUnits(uncertaintyAxis ? DisplayUncertaintyUnits() : DisplayUnits());
}

void CMeterOperationViewModel::OnAlarmAxisUnitChanged()
{
    l_UpdateAlarmUnits();
}

void CMeterOperationViewModel::OnOperationParameterUnitChanged()
{
    Operation()->RecordingManager()->DataSet()->Clear();
    l_InitializeDefaultValues();
    l_UpdateAlarmUnits();
}

void CMeterOperationViewModel::OnMeasureParametersUncertaintyUnitChanged()
{
    const QSharedPointer<CMeasureBlock> newest = l_NewestBlock();
    if (!newest || newest->Results.isEmpty())
        return;
    CRangeCheck::ComputeBConverted(*newest, DisplayUnits(), DisplayUncertaintyUnits());
    l_ComputeLastBlockComponents(*newest);
    m_pTable->reloadData();
}

void CMeterOperationViewModel::OnDataSetCleared()
{
    m_pChart->Clear();
    m_pTable->Clear();
    l_InitializeDefaultValues();
    l_Set(m_CommentBlock, QString(), &CMeterOperationViewModel::CommentBlockChanged);
    setCommentOverAll(QString());
    l_SetCompasCleared(true);
}

void CMeterOperationViewModel::OnSelectedProbeAxisIndexChanged()
{
    if (const QSharedPointer<CMeasureBlock> newest = l_NewestBlock())
        l_ComputeCompasSize(*newest);
}

void CMeterOperationViewModel::OnSelectedModeIndexChanged()
{
    if (const QSharedPointer<CMeasureBlock> newest = l_NewestBlock())
        l_ComputeCompasSize(*newest);
}

void CMeterOperationViewModel::OnDatasetLoaded()
{
    // The whole recording in the chart, its first block in the numbers and table.
    const auto& blocks = *Operation()->RecordingManager()->DataSet()->MeasureBlocks();
    if (blocks.empty())
        return;
    m_FullRedrawPending = true;
    ProcessBlock(blocks.front());
}
