#include "viewmodels/CMappingOperationViewModel.h"

#include "app/CConstants.h"
#include "app/CSettings.h"
#include "app/CUtils.h"
#include "compute/FieldRotation.h"
#include "instruments/CInstrument.h"
#include "model/CMeasureBlockMapping.h"
#include "operations/CMapperPositionSourceCartesian.h"
#include "operations/CMapperPositionSourceMappingFile.h"
#include "operations/COperationMapping.h"
#include "operations/CRecordingController.h"
#include "viewmodels/CAlarmParametersMeterViewModel.h"
#include "viewmodels/CArrowListModel.h"
#include "viewmodels/CChart2DMappingData.h"
#include "viewmodels/CColourMap.h"
#include "viewmodels/CMappingOperationDatasetViewModel.h"
#include "viewmodels/CMappingParametersViewModel.h"
#include "viewmodels/CMeasureBlockData.h"
#include "viewmodels/CMeasurementParametersViewModel.h"
#include "viewmodels/CRangeCheck.h"
#include "viewmodels/CReplayParametersViewModel.h"

#include <QVector3D>

#include <algorithm>
#include <climits>
#include <cmath>

CMappingOperationViewModel::CMappingOperationViewModel(CSettings& settings, COperationMapping* operation,
                                                       QObject* parent)
    : CMeasurementOperationViewModel(QStringLiteral("MappingOperation"), settings, operation,
                                     operation->RecordingManager(), new CReplayParametersViewModel(operation),
                                     Kind::Mapping, parent),
      m_pMapping(operation), m_pTable(new CMeasureBlockData(this)),
      m_pChart(new CChart2DMappingData(settings, operation, this)),
      m_pDataset(new CMappingOperationDatasetViewModel(m_pChart, m_pTable, this)),
      m_pAlarm(new CAlarmParametersMeterViewModel(operation->OperationParameters()->AlarmParametersMapping(),
                                                  this)),
      m_pRangeCheck(
          new CRangeCheck(operation->OperationParameters()->AlarmParametersMapping(), m_pAlarm, this)),
      m_pMeasurement(new CMeasurementParametersViewModel(operation, true, this)),
      m_pMappingParameters(new CMappingParametersViewModel(operation, this)),
      m_pArrows(new CArrowListModel(this)), m_pColourMap(new CColourMap(this))
{
    const int blockSize = operation->MeasurementParameters()->BlockSize();
    m_MaxVectorCount =
        blockSize == 0 ? 0 : int(std::max<quint64>(1, operation->MaxMeasurementCount() / quint64(blockSize)));
    // The table keeps the samples the map keeps.
    m_pTable->setMaxRows(int(std::min<quint64>(operation->MaxMeasurementCount(), quint64(INT_MAX))));
    CRecordingManagerMapping* recorder = operation->RecordingManager();
    connect(operation, &COperationMapping::NewMeasure, this, &CMappingOperationViewModel::OnNewMeasure);
    connect(operation, &COperationMapping::NewMeasure, this,
            [this](const QSharedPointer<CMeasureBlockMapping>& block) { CountRecorded(block); });
    connect(operation->MeasurementParameters(), &CMeasurementParameters::UnitsChanged, this,
            &CMappingOperationViewModel::OnOperationParameterUnitChanged);
    connect(operation->MeasurementParameters(), &CMeasurementParameters::UncertaintyUnitsChanged, this,
            &CMappingOperationViewModel::OnAlarmAxisUnitChanged);
    connect(operation->OperationParameters()->AlarmParametersMapping(), &CAlarmParametersMapping::AxisChanged,
            this, &CMappingOperationViewModel::OnAlarmAxisUnitChanged);
    connect(recorder->DataSet(), &CDataset::ClearedChanged, this,
            &CMappingOperationViewModel::OnDataSetCleared);
    connect(recorder, &CRecordingManager::IsPlayingBackChanged, this,
            &CMappingOperationViewModel::OnPlayingBackChanged);
    connect(m_pRangeCheck, &CRangeCheck::AlarmNotification, this,
            &CMeasurementOperationViewModel::AlarmNotification);
    CMappingParameters* parameters = operation->MappingParameters();
    connect(parameters->MapperSourceFile()->MappingFile(), &MappingXmlFile::Loaded, this,
            &CMappingOperationViewModel::OnMappingFileLoaded);
    connect(parameters, &CMappingParameters::SourceChanged, this,
            &CMappingOperationViewModel::OnMappingParmsSourceChanged);
    CMapperPositionSourceCartesian* grid = parameters->MapperSourceCartesian();
    for (CAxisStepSeries* axis : {grid->X(), grid->Y(), grid->Z()})
    {
        connect(axis, &CAxisStepSeries::StartChanged, this,
                &CMappingOperationViewModel::OnMappingParmsSourceChanged);
        connect(axis, &CAxisStepSeries::StopChanged, this,
                &CMappingOperationViewModel::OnMappingParmsSourceChanged);
    }
    connect(this, &COperationViewModel::DatasetLoaded, this, &CMappingOperationViewModel::OnDatasetLoaded);
    connect(operation, &COperationMapping::MapperFailed, this, [this](const QString& reason) {
        ShowNotice(tr("The mapper failed (%1): the run stopped. The %2 points measured are kept: save them "
                      "before leaving this page.")
                       .arg(reason)
                       .arg(m_pMapping->RecordingManager()->NumBlocks()));
    });
    OnAlarmAxisUnitChanged();
    l_ExtentFromSource();
    // A page opened on a held map shows it.
    if (!recorder->DataSet()->MeasureBlocks()->empty())
    {
        l_SetCanAccept(true);
        l_ReloadAllData(false, true);
    }
}

QString CMappingOperationViewModel::HelpPath()
{
    static const char* const topics[] = {"mapping_numeric", "mapping_plot", "mapping_table", "mapping_vector",
                                         "mapping_colour_map"};
    return SectionIndex() >= 0 && SectionIndex() <= 4 ? QString::fromLatin1(topics[SectionIndex()])
                                                      : QString();
}

void CMappingOperationViewModel::setMaxVectorCount(int value)
{
    if (m_MaxVectorCount == value)
        return;
    m_MaxVectorCount = value;
    emit MaxVectorCountChanged(value);
}

void CMappingOperationViewModel::l_SetCanAccept(bool value)
{
    if (m_CanAcceptNewMeasure == value)
        return;
    m_CanAcceptNewMeasure = value;
    emit CanAcceptNewMeasureChanged(value);
}

void CMappingOperationViewModel::l_ShowPlace(const CMeasureBlockMapping& block)
{
    m_Position.setX(block.Position.X());
    m_Position.setY(block.Position.Y());
    m_Position.setZ(block.Position.Z());
    m_Orientation.setRoll(block.Orientation.Roll());
    m_Orientation.setPitch(block.Orientation.Pitch());
    m_Orientation.setYaw(block.Orientation.Yaw());
}

void CMappingOperationViewModel::OnNewMeasure(const QSharedPointer<CMeasureBlockMapping>& block)
{
    if (!m_CanAcceptNewMeasure || !block)
        return;
    CRecordingManagerMapping* recorder = m_pMapping->RecordingManager();
    if (!recorder->IsPlayingBack() && !recorder->IsRecording() && recorder->IsIdleWithData())
    {
        l_ReloadAllData(true, m_pArrows->rowCount() < recorder->NumBlocks());
        return;
    }
    l_ShowPlace(*block);
    // In the mapping's frame before anything is computed from it (the operation has turned
    // a measured block already; this is for blocks from elsewhere).
    KVL::RotateIntoMappingFrame(*block);
    CRangeCheck::ComputeBConverted(*block, DisplayUnits(), DisplayUncertaintyUnits());
    l_ComputeLastBlockComponents(*block);
    l_AddToColourMap(*block);
    m_pChart->Plot(block);
    m_pTable->DisplayFields(*block);
    if (m_CommentBlock != block->Comment())
    {
        m_CommentBlock = block->Comment();
        emit CommentBlockChanged(m_CommentBlock);
    }
    m_pRangeCheck->Check(*block, DisplayUnits(), DisplayUncertaintyUnits());
    l_ComputeVector3D(*block);
    if (recorder->IsProcessingBlock())
        recorder->setIsProcessingBlock(false);
}

void CMappingOperationViewModel::l_ComputeLastBlockComponents(const CMeasureBlockMapping& block)
{
    if (block.Results.isEmpty())
        return;
    // The block is in the mapping's frame already (turned before anything is computed).
    const CFieldIntensityResult& last = *block.Results.last();
    m_Last = {double(last.B()),  double(last.dBConverted()), double(last.BBprime()),
              double(last.Bx()), double(last.By()),          double(last.Bz())};
    emit LastBlockChanged();
}

void CMappingOperationViewModel::l_AddToColourMap(CMeasureBlockMapping& block, bool update)
{
    if (block.Results.isEmpty())
        return;
    // A point's colour is its block's mean field in the mapping frame: a single sample
    // would carry the moment's ripple (50 Hz mains) into the map.
    std::array<double, 4> mean{};
    for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(block.Results))
    {
        mean[0] += double(sample->B());
        mean[1] += double(sample->Bx());
        mean[2] += double(sample->By());
        mean[3] += double(sample->Bz());
    }
    for (double& value : mean)
        value /= double(block.Results.size());
    m_pColourMap->Add(block.Position.X(), block.Position.Y(), block.Position.Z(), mean, update);
}

void CMappingOperationViewModel::l_ComputeVector3D(const CMeasureBlockMapping& block)
{
    QVector3D direction(0, 1, 0);
    if (!block.Results.isEmpty())
    {
        const CFieldIntensityResult& last = *block.Results.last();
        direction = QVector3D(last.Bx(), last.By(), last.Bz()).normalized();
        m_Scale = double(last.B());
    }
    if (std::fabs(m_MaxScale) < std::fabs(m_Scale) && std::fabs(m_Scale) > SmallestScale)
    {
        m_MaxScale = std::fabs(m_Scale);
        emit MaxScaleChanged(m_MaxScale);
    }
    m_Rotation = QQuaternion::rotationTo(QVector3D(0, 1, 0), direction);
    emit ArrowChanged();
    m_pArrows->Append(
        QVector3D(float(block.Position.X()), float(block.Position.Y()), float(block.Position.Z())),
        m_Rotation, m_Scale, m_MaxVectorCount);
}

void CMappingOperationViewModel::l_SetExtent(std::array<double, 6> extent)
{
    // A flat axis (a planar grid) still gets room: a 3-D axis cannot end where it starts.
    for (std::size_t a = 0; a < 3; ++a)
    {
        if (!(extent[2 * a + 1] > extent[2 * a]))
            extent[2 * a + 1] = extent[2 * a] + 1.0;
    }
    if (extent == m_Extent)
        return;
    m_Extent = extent;
    emit ExtentChanged();
}

void CMappingOperationViewModel::l_ExtentFromSource()
{
    CMappingParameters* parameters = m_pMapping->MappingParameters();
    if (parameters->MapperSource() == parameters->MapperSourceFile())
    {
        MappingXmlFile* file = parameters->MapperSourceFile()->MappingFile();
        if (file->FileLoaded())
            l_SetExtent({file->PositionXMin(), file->PositionXMax(), file->PositionYMin(),
                         file->PositionYMax(), file->PositionZMin(), file->PositionZMax()});
        return;
    }
    CMapperPositionSourceCartesian* grid = parameters->MapperSourceCartesian();
    l_SetExtent({grid->X()->Start(), grid->X()->Stop(), grid->Y()->Start(), grid->Y()->Stop(),
                 grid->Z()->Start(), grid->Z()->Stop()});
}

void CMappingOperationViewModel::l_ExtentFromBlocks()
{
    const auto& blocks = *m_pMapping->RecordingManager()->DataSet()->MeasureBlocks();
    if (blocks.empty())
        return;
    std::array<double, 6> extent{1e300, -1e300, 1e300, -1e300, 1e300, -1e300};
    for (const auto& block : blocks)
    {
        const double p[3] = {block->Position.X(), block->Position.Y(), block->Position.Z()};
        for (int a = 0; a < 3; ++a)
        {
            extent[std::size_t(2 * a)] = std::min(extent[std::size_t(2 * a)], p[a]);
            extent[std::size_t(2 * a + 1)] = std::max(extent[std::size_t(2 * a + 1)], p[a]);
        }
    }
    l_SetExtent(extent);
}

void CMappingOperationViewModel::OnMappingFileLoaded()
{
    CMappingParameters* parameters = m_pMapping->MappingParameters();
    if (parameters->MapperSource() == parameters->MapperSourceFile())
        l_ExtentFromSource();
}

void CMappingOperationViewModel::OnMappingParmsSourceChanged()
{
    if (!m_pMapping->RecordingManager()->IsDataLoaded())
        l_ExtentFromSource();
}

void CMappingOperationViewModel::l_ClearAll(bool arrows)
{
    m_pChart->ClearAll();
    m_pTable->Clear();
    m_pColourMap->Clear();
    if (arrows)
    {
        m_pArrows->Clear();
        emit clear3DPlots();
    }
}

void CMappingOperationViewModel::l_ReloadAllData(bool untilCurrentStep, bool reloadArrows)
{
    if (!m_CanAcceptNewMeasure)
        return;
    CRecordingManagerMapping* recorder = m_pMapping->RecordingManager();
    const auto& blocks = *recorder->DataSet()->MeasureBlocks();
    l_ClearAll(reloadArrows);
    if (blocks.empty())
        return;
    const int last = untilCurrentStep ? std::clamp(recorder->ReplayIndex(), 0, int(blocks.size()) - 1)
                                      : int(blocks.size()) - 1;
    if (reloadArrows)
    {
        m_MaxScale = SmallestScale;
        emit MaxScaleChanged(m_MaxScale);
        setMaxVectorCount(int(blocks.size()));
    }
    std::vector<QSharedPointer<CMeasureBlockMapping>> shown;
    shown.reserve(std::size_t(last + 1));
    for (int i = 0; i <= last; ++i)
    {
        const QSharedPointer<CMeasureBlockMapping>& block = blocks[std::size_t(i)];
        // In the mapping's frame before anything is computed from it.
        KVL::RotateIntoMappingFrame(*block);
        if (reloadArrows)
            l_ComputeVector3D(*block);
        CRangeCheck::ComputeBConverted(*block, DisplayUnits(), DisplayUncertaintyUnits());
        l_ComputeLastBlockComponents(*block);
        l_AddToColourMap(*block, false);
        shown.push_back(block);
    }
    m_pColourMap->Update();
    m_pChart->PlotAll(shown);
    const CMeasureBlockMapping& current = *blocks[std::size_t(last)];
    l_ShowPlace(current);
    for (const QSharedPointer<CMeasureBlockMapping>& block : shown)
        m_pTable->DisplayFields(*block);
    l_ExtentFromBlocks();
    m_pRangeCheck->Check(current, DisplayUnits(), DisplayUncertaintyUnits());
    l_ComputeLastBlockComponents(current);
    if (m_CommentBlock != current.Comment())
    {
        m_CommentBlock = current.Comment();
        emit CommentBlockChanged(m_CommentBlock);
    }
    setCommentOverAll(recorder->DataSet()->Comment());
}

void CMappingOperationViewModel::OnOperationParameterUnitChanged()
{
    m_pMapping->RecordingManager()->DataSet()->Clear();
}

void CMappingOperationViewModel::OnDataSetCleared()
{
    m_Last = {};
    emit LastBlockChanged();
    l_ShowPlace(CMeasureBlockMapping());
    l_ExtentFromSource();
    l_ClearAll(true);
    m_MaxScale = SmallestScale;
    emit MaxScaleChanged(m_MaxScale);
}

void CMappingOperationViewModel::OnPlayingBackChanged(bool isPlayingBack)
{
    if (!isPlayingBack)
        return;
    l_ClearAll(true);
    setCommentOverAll(m_pMapping->RecordingManager()->DataSet()->Comment());
    setMaxVectorCount(std::max(1, m_pMapping->RecordingManager()->NumBlocks()));
}

void CMappingOperationViewModel::OnAlarmAxisUnitChanged()
{
    const bool uncertaintyAxis =
        m_pMapping->OperationParameters()->AlarmParametersMapping()->Axis() == CAxis::AxisType::dB;
    m_pAlarm->setDisplayAlarmUnits(uncertaintyAxis ? DisplayUncertaintyUnits() : DisplayUnits());
}

void CMappingOperationViewModel::OnDataLoaded()
{
    l_SetCanAccept(true);
}

void CMappingOperationViewModel::OnDatasetLoaded()
{
    l_ReloadAllData(false, true);
}

void CMappingOperationViewModel::resume()
{
    const bool clears = Controller()->ResumeClearsData();
    if (clears && !ConfirmDataLoss())
        return;
    if (!m_pMapping->RecordingManager()->IsPlayingBack())
    {
        if (clears)
            m_pMapping->clear();
        // A mapping run is always recorded: a new recording, then the run.
        ShowNotice(QString());
        record();
        l_SetCanAccept(true);
    }
    Controller()->Resume();
}

void CMappingOperationViewModel::start()
{
    m_pTable->Clear();
    CRecordingManagerMapping* recorder = m_pMapping->RecordingManager();
    const double rate = m_pMapping->MeasurementParameters()->DisplayRate();
    const double warp = recorder->TimeWarp();
    if (rate > 0 && warp > 0)
        recorder->setReplayBlockDelayMillisecond(int(1000.0 / rate / warp));
    recorder->StartReplay();
}

void CMappingOperationViewModel::setDefaultParameters()
{
    if (!m_pMapping->Instrument())
        return;
    CMeasurementParameters* m = m_pMapping->MeasurementParameters();
    m->setApplyConfiguration(false);
    m->setTriggerMode(CTrigger::TriggerMode::IMMEDIATE);
    m->setAveraging(100);
    m->setDisplayRate(1.0);
    m->setAcquisitionRate(10.0);
    m->setBlockSize(10);
    m->setApplyConfiguration(true);
    // The panel's choices too: the first unit (asked first when an unsaved map would be
    // cleared), its uncertainty unit, "Auto" range and the first trigger mode.
    m_pMeasurement->setSelectedUnitIndex(0);
    m_pMeasurement->setSelectedUncertaintyUnitIndex(0);
    m_pMeasurement->setSelectedRangeIndex(0);
    m_pMeasurement->setSelectedTriggerIndex(0);
}
