#include "operations/COperationMapping.h"

#include "app/CConstants.h"
#include "app/CSettings.h"
#include "app/LogCategories.h"
#include "compute/FieldRotation.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CMapperPluginOnTheFly.h"
#include "instruments/CMapperPluginStopAndGo.h"
#include "instruments/CPluginsManager.h"
#include "model/CNumberText.h"

#include <QDebug>

#include <stdexcept>

COperationMapping::COperationMapping(CSettings& settings, CPluginsManager& plugins,
                                     CInstrumentSupervisor& supervisor, QObject* parent)
    : COperation(supervisor, parent), m_RecordingManager(settings), m_Settings(settings),
      m_PluginsManager(plugins)
{
    setName(QStringLiteral("Mapping"));
    connect(&m_RecordingManager, &CRecordingManagerMapping::ReplayMeasureBlock, this,
            &COperationMapping::OnReplayMeasure);
}

quint64 COperationMapping::MaxMeasurementCount() const
{
    return m_Settings.MappingMaxMeasurementCount();
}

void COperationMapping::initialize()
{
    if (!LoadParametersInDefaultFolder(CConstants::MappingParametersSettingsFilename))
    {
        CMeasurementParameters& m = *MeasurementParameters();
        m.setApplyConfiguration(false);
        m.setAcquisitionRate(10.0);
        m.setDisplayRate(1.0);
        m.setAveraging(100);
        m.setTriggerMode(CTrigger::TriggerMode::IMMEDIATE);
        m.setApplyConfiguration(true);
    }
}

void COperationMapping::terminate()
{
    SaveParametersInDefaultFolder(CConstants::MappingParametersSettingsFilename);
    l_EndAcquisitionSession();
}

void COperationMapping::l_MoveToNext(CMapperPlugin* mapper, bool firstPoint)
{
    CMapperPositionSource* source = MappingParameters()->MapperSource();
    CMapperPluginStopAndGo* stopAndGo = CMapperPluginStopAndGo::From(mapper);
    if (!stopAndGo)
    {
        qCDebug(lcOperations) << "Fail to casting to CMapperPluginStopAndGo";
        return;
    }
    CPosition position;
    COrientation orientation;
    if (source->NextPosition(position, orientation))
    {
        // Between points the trigger rests while the mapper moves; the first point is
        // only a move, and stopping there would close the trigger the run is about to use.
        if (!firstPoint)
            StopExternalTriggerPlugin();
        stopAndGo->MoveTo(position, orientation);
        return;
    }
    qCDebug(lcOperations) << "End of the MapperSource list";
    stop();
    m_RecordingManager.StopRecord();
}

void COperationMapping::start()
{
    CMapperPlugin* mapper = MappingParameters()->SelectedMapper();
    if (!mapper)
    {
        qCWarning(lcOperations) << "Mapper is null";
        return;
    }
    if (!Instrument())
        return;
    setSessionInProgress(true);
    l_BeginAcquisitionSession();
    mapper->Start();
    if (mapper->GetKind() != CMapperPlugin::StopAndGo)
    {
        if (CMapperPluginOnTheFly* onTheFly = CMapperPluginOnTheFly::From(mapper))
            connect(onTheFly, &CMapperPluginOnTheFly::Acquire, this, &COperationMapping::OnAcquire,
                    Qt::QueuedConnection);
        return;
    }
    CMapperPluginStopAndGo* stopAndGo = CMapperPluginStopAndGo::From(mapper);
    if (!stopAndGo)
        return;
    connect(stopAndGo, &CMapperPluginStopAndGo::Ready, this, &COperationMapping::OnAcquire,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
    connect(stopAndGo, &CMapperPluginStopAndGo::Failed, this, &COperationMapping::OnMapperFailed,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
    CMapperPositionSource* source = MappingParameters()->MapperSource();
    if (!source)
        return;
    source->ResetPosition();
    l_MoveToNext(mapper, true);
}

void COperationMapping::OnMapperFailed(const QString& reason)
{
    if (!SessionInProgress())
        return;
    // The run ends where it is: the points measured so far stay, and can be saved.
    qCWarning(lcOperations).noquote() << QStringLiteral("The mapper failed: ") + reason;
    stop();
    m_RecordingManager.setIsHolding(true);
    m_RecordingManager.StopRecord();
    emit MapperFailed(reason);
}

void COperationMapping::OnAcquire()
{
    const QSharedPointer<CInstrument> instrument = m_InstrumentSupervisor.Instrument().toStrongRef();
    if (instrument)
        instrument->StartMeasurement();
    StartExternalTriggerPlugin();
}

void COperationMapping::OnNewMeasure(QSharedPointer<CMeasureBlock> block)
{
    if (!block)
        return;
    qCDebug(lcOperations).noquote() << QStringLiteral("OnNewMeasure with ") +
                                           QString::number(block->Results.size()) +
                                           QStringLiteral(" acquisition");
    QSharedPointer<CMeasureBlockMapping> mapped(new CMeasureBlockMapping());
    mapped->CopyFrom(*block);

    CMapperPlugin* mapper = MappingParameters()->SelectedMapper();
    if (mapper)
    {
        mapped->Position = mapper->CurrentPosition();
        mapped->Orientation = mapper->CurrentOrientation();
    }
    else
        qCWarning(lcOperations) << "SelectedMapper is not set";
    // Recorded, saved and shown in the mapping's frame, turned here once for all of them.
    // Recorded before the move to the next point, which ends the recording after the last.
    KVL::RotateIntoMappingFrame(*mapped);
    m_RecordingManager.AddMeasureBlock(mapped);

    if (mapper)
    {
        CMapperPositionSource* source = MappingParameters()->MapperSource();
        if (source && mapper->GetKind() == CMapperPlugin::StopAndGo)
        {
            // Only while a run goes on: a block after the end moves nothing.
            if (SessionInProgress())
                l_MoveToNext(mapper, false);
        }
        else if (!source)
            qCWarning(lcOperations) << "MapperSource is not set";
    }
    emit NewMeasure(mapped);
}

void COperationMapping::stop()
{
    StopExternalTriggerPlugin();
    l_EndAcquisitionSession();
    setSessionInProgress(false);
    CMapperPlugin* mapper = MappingParameters()->SelectedMapper();
    if (!mapper)
    {
        qCWarning(lcOperations) << "Mapper is null";
        return;
    }
    mapper->Stop();
    if (CMapperPluginStopAndGo* stopAndGo = CMapperPluginStopAndGo::From(mapper))
    {
        disconnect(stopAndGo, &CMapperPluginStopAndGo::Ready, this, &COperationMapping::OnAcquire);
        disconnect(stopAndGo, &CMapperPluginStopAndGo::Failed, this, &COperationMapping::OnMapperFailed);
    }
    else if (CMapperPluginOnTheFly* onTheFly = CMapperPluginOnTheFly::From(mapper))
        disconnect(onTheFly, &CMapperPluginOnTheFly::Acquire, this, &COperationMapping::OnAcquire);
}

void COperationMapping::clear()
{
    m_RecordingManager.ResetForClear();
}

bool COperationMapping::HasUnsavedData() const
{
    return m_RecordingManager.HasUnsavedData();
}

bool COperationMapping::IsDataSetEmpty() const
{
    return m_RecordingManager.IsDataSetEmpty();
}

QList<CTriggerPlugin*> COperationMapping::AvailableTriggerPlugins()
{
    return m_PluginsManager.GetTriggerPlugins();
}

QList<CMapperPlugin*> COperationMapping::AvailableMapperPlugins()
{
    return m_PluginsManager.GetMapperPlugins();
}

void COperationMapping::OnReplayMeasure(const QSharedPointer<CMeasureBlockMapping>& block)
{
    if (block)
        emit NewMeasure(block);
}

void COperationMapping::WriteCustomParameters(QXmlStreamWriter& writer)
{
    CMappingParameters& mapping = *MappingParameters();
    writer.writeStartElement(QStringLiteral("MAPPING_PARAMETERS"));
    // Without a mapper the element stays, empty: the file must still be written.
    writer.writeTextElement(QStringLiteral("Mapper"),
                            mapping.SelectedMapper() ? mapping.SelectedMapper()->GetName() : QString());
    CMapperPositionSource* source = mapping.MapperSource();
    writer.writeTextElement(QStringLiteral("Source"), source ? source->Name() : QStringLiteral("Error"));
    if (source && source->Type() == CMapperPositionSource::Cartesian)
    {
        CMapperPositionSourceCartesian& grid = *mapping.MapperSourceCartesian();
        writer.writeStartElement(QStringLiteral("MAPPING_POSITION_PARAMETERS"));
        const std::pair<const char*, CAxisStepSeries*> axes[] = {
            {"X", grid.X()}, {"Y", grid.Y()}, {"Z", grid.Z()}};
        for (const auto& [name, axis] : axes)
        {
            writer.writeStartElement(QLatin1String(name));
            writer.writeTextElement(QStringLiteral("Start"), CNumberText::G6(axis->Start()));
            writer.writeTextElement(QStringLiteral("Stop"), CNumberText::G6(axis->Stop()));
            writer.writeTextElement(QStringLiteral("Step_Size"), CNumberText::G6(axis->StepSize()));
            writer.writeEndElement();
        }
        writer.writeEndElement();
        writer.writeStartElement(QStringLiteral("MAPPING_ORIENTATION_PARAMETERS"));
        writer.writeTextElement(QStringLiteral("Roll"), CNumberText::G6(grid.Orientation()->Roll()));
        writer.writeTextElement(QStringLiteral("Pitch"), CNumberText::G6(grid.Orientation()->Pitch()));
        writer.writeTextElement(QStringLiteral("Yaw"), CNumberText::G6(grid.Orientation()->Yaw()));
        writer.writeEndElement();
    }
    else if (source && source->Type() == CMapperPositionSource::File)
    {
        writer.writeEmptyElement(QStringLiteral("KorvelinMappingFile"));
    }
    writer.writeEndElement();
}

void COperationMapping::ReadCustomParameters(QDomElement& element)
{
    qCDebug(lcOperations) << element.tagName();
    if (element.tagName() != QLatin1String("MAPPING_PARAMETERS"))
        return;
    try
    {
        for (QDomElement child = element.firstChildElement(); !child.isNull();
             child = child.nextSiblingElement())
        {
            if (child.tagName() == QLatin1String("MAPPING_POSITION_PARAMETERS") ||
                child.tagName() == QLatin1String("MAPPING_ORIENTATION_PARAMETERS"))
                ReadCartesianParameters(child);
        }
    }
    catch (const std::exception&)
    {
        throw std::runtime_error("Could not read Mapping file");
    }
}

void COperationMapping::ReadCartesianParameters(const QDomElement& element)
{
    qCDebug(lcOperations) << "COperationMapping::ReadCartesianParameters";
    CMapperPositionSourceCartesian& grid = *MappingParameters()->MapperSourceCartesian();
    // A value missing or not a finite number keeps what is in force.
    const auto number = [](const QDomElement& parent, const char* name, double current, const auto& set) {
        const QDomElement value = parent.firstChildElement(QLatin1String(name));
        if (!value.isNull() && l_ReadFileNumber(QLatin1String(name), value.text(), current))
            set(current);
    };
    try
    {
        if (element.tagName() == QLatin1String("MAPPING_POSITION_PARAMETERS"))
        {
            const std::pair<const char*, CAxisStepSeries*> axes[] = {
                {"X", grid.X()}, {"Y", grid.Y()}, {"Z", grid.Z()}};
            for (const auto& [name, axis] : axes)
            {
                const QDomElement e = element.firstChildElement(QLatin1String(name));
                if (e.isNull())
                    continue;
                CAxisStepSeries* series = axis; // a structured binding cannot be captured
                number(e, "Start", series->Start(), [series](double v) { series->setStart(v); });
                number(e, "Stop", series->Stop(), [series](double v) { series->setStop(v); });
                number(e, "Step_Size", series->StepSize(), [series](double v) { series->setStepSize(v); });
            }
        }
        else
        {
            COrientation& orientation = *grid.Orientation();
            number(element, "Roll", orientation.Roll(), [&orientation](double v) { orientation.setRoll(v); });
            number(element, "Pitch", orientation.Pitch(),
                   [&orientation](double v) { orientation.setPitch(v); });
            number(element, "Yaw", orientation.Yaw(), [&orientation](double v) { orientation.setYaw(v); });
        }
    }
    catch (const std::exception&)
    {
        throw std::runtime_error("Failed to read mapping parameters");
    }
}
