#include "operations/COperation.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "app/CXmlNesting.h"
#include "app/LogCategories.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CTriggerPlugin.h"
#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"

#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <climits>
#include <cmath>
#include <exception>

namespace
{
QString flag(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

COperation::COperation(CInstrumentSupervisor& supervisor, QObject* parent)
    : QObject(parent), m_InstrumentSupervisor(supervisor)
{
    setName(QString());
    // A lost instrument ends the session: a driver that reuses its object when the probe
    // is plugged in again must not feed an operation that no longer measures with it.
    connect(&m_InstrumentSupervisor, &CInstrumentSupervisor::HasActiveInstrumentChanged, this,
            [this](bool active) {
                if (!active)
                    l_EndAcquisitionSession();
            });
}

CInstrument* COperation::Instrument() const
{
    return m_InstrumentSupervisor.Instrument().toStrongRef().data();
}

bool COperation::HasUnsavedData() const
{
    return false;
}

void COperation::start()
{
    const QSharedPointer<CInstrument> instrument = m_InstrumentSupervisor.Instrument().toStrongRef();
    if (m_InstrumentSupervisor.HasActiveInstrument() && instrument)
    {
        setSessionInProgress(true);
        l_BeginAcquisitionSession();
        if (!instrument->IsRunning())
            instrument->StartMeasurement();
    }
    StartExternalTriggerPlugin();
}

void COperation::stop()
{
    const QSharedPointer<CInstrument> instrument = m_InstrumentSupervisor.Instrument().toStrongRef();
    if (m_InstrumentSupervisor.HasActiveInstrument() && instrument && instrument->IsRunning())
        instrument->StopMeasurement();
    StopExternalTriggerPlugin();
    l_EndAcquisitionSession();
    setSessionInProgress(false);
}

void COperation::ApplyUnitChange()
{
    const QSharedPointer<CInstrument> instrument = m_InstrumentSupervisor.Instrument().toStrongRef();
    const bool running = m_pAcquisitionSession && instrument && instrument->IsRunning();
    if (running)
    {
        instrument->StopMeasurement();
        l_EndAcquisitionSession();
    }
    CMeasurementParameters& m = *m_OperationParameters.MeasurementParameters();
    if (m.ApplyConfiguration())
    {
        m.setApplyConfiguration(false);
        m.setApplyConfiguration(true);
    }
    if (running)
    {
        l_BeginAcquisitionSession();
        instrument->StartMeasurement();
    }
}

void COperation::l_BeginAcquisitionSession()
{
    l_EndAcquisitionSession();
    m_pAcquisitionSession = new CAcquisitionSession(
        Instrument(), [this](QSharedPointer<CMeasureBlock> block) { OnNewMeasure(std::move(block)); }, this);
}

void COperation::l_EndAcquisitionSession()
{
    if (!m_pAcquisitionSession)
        return;
    m_pAcquisitionSession->End();
    // Possibly from within its own delivery (a mapping that ends at its last point).
    m_pAcquisitionSession->deleteLater();
    m_pAcquisitionSession = nullptr;
}

void COperation::StartExternalTriggerPlugin()
{
    const CMeasurementParameters* parameters = m_OperationParameters.MeasurementParameters();
    if (parameters->TriggerMode() != CTrigger::TriggerMode::EXTERNAL)
        return;
    if (parameters->TriggerPlugin())
        parameters->TriggerPlugin()->Start();
    else
        qCWarning(lcOperations) << "Trigger plugin is not set";
}

void COperation::StopExternalTriggerPlugin()
{
    const CMeasurementParameters* parameters = m_OperationParameters.MeasurementParameters();
    if (parameters->TriggerMode() == CTrigger::TriggerMode::EXTERNAL && parameters->TriggerPlugin())
        parameters->TriggerPlugin()->Stop();
}

bool COperation::SaveParameters(const QString& filePath)
{
    // Replaced only once complete: an interrupted save keeps the previous file.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
    {
        qCCritical(lcOperations).noquote() << QStringLiteral("Error: Cannot read file : ") + filePath;
        return false;
    }
    CMeasurementParameters& m = *m_OperationParameters.MeasurementParameters();
    QXmlStreamWriter writer(&file);
    writer.setCodec("UTF-8");
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("OPERATION_PARAMETERS"));

    writer.writeStartElement(QStringLiteral("MEASUREMENT_PARAMETERS"));
    writer.writeTextElement(QStringLiteral("Range"), CNumberText::G6(m.Range()));
    writer.writeTextElement(QStringLiteral("AutoRange"), flag(m.AutoRange()));
    writer.writeTextElement(QStringLiteral("AdcUnit"), flag(m.EnableAdcUnit()));
    writer.writeTextElement(QStringLiteral("Units"), CUnitsToQString(m.Units()));
    writer.writeTextElement(QStringLiteral("UncertaintyUnits"), CUnitsToQString(m.UncertaintyUnits()));
    writer.writeTextElement(QStringLiteral("Averaging"), QString::number(m.Averaging()));
    writer.writeTextElement(QStringLiteral("AcquisitionRate"), CNumberText::G6(m.AcquisitionRate()));
    writer.writeTextElement(QStringLiteral("DisplayRate"), CNumberText::G6(m.DisplayRate()));
    writer.writeTextElement(QStringLiteral("FrequencyMin"), CNumberText::G6(m.FrequencyMin()));
    writer.writeTextElement(QStringLiteral("FrequencyMax"), CNumberText::G6(m.FrequencyMax()));
    writer.writeTextElement(QStringLiteral("TriggerMode"), CTriggerToQString(m.TriggerMode()));
    if (m.TriggerPlugin())
        writer.writeTextElement(QStringLiteral("TriggerPlugin"), m.TriggerPlugin()->GetName());
    writer.writeEndElement();

    const CLimitsParameters& limits = *m_OperationParameters.LimitsParameters();
    writer.writeStartElement(QStringLiteral("LIMITS_PARAMETERS"));
    writer.writeTextElement(QStringLiteral("LimitsFilePath"), limits.LimitsFilePath());
    writer.writeTextElement(QStringLiteral("LimitsFileName"), limits.LimitsFileName());
    writer.writeEndElement();

    const CAlarmParametersMeter& meter = *m_OperationParameters.AlarmParametersMeter();
    writer.writeStartElement(QStringLiteral("ALARM_METER_PARAMETERS"));
    writer.writeTextElement(QStringLiteral("Axis"), CUtils::AxisStateToString(meter.Axis()));
    writer.writeTextElement(QStringLiteral("State"), CUtils::AlarmStateToString(meter.State()));
    writer.writeTextElement(QStringLiteral("Minimum"), CNumberText::G6(meter.Minimum()));
    writer.writeTextElement(QStringLiteral("Maximum"), CNumberText::G6(meter.Maximum()));
    writer.writeEndElement();

    writer.writeStartElement(QStringLiteral("ALARM_SPECTRUM_PARAMETERS"));
    writer.writeTextElement(
        QStringLiteral("State"),
        CUtils::AlarmStateToString(m_OperationParameters.AlarmParametersSpectrum()->State()));
    writer.writeEndElement();

    const CAlarmParametersAcAnalysis& ac = *m_OperationParameters.AlarmParametersAcAnalysis();
    writer.writeStartElement(QStringLiteral("ALARM_ACANALYSIS_PARAMETERS"));
    writer.writeTextElement(QStringLiteral("State"), CUtils::AlarmStateToString(ac.State()));
    writer.writeTextElement(QStringLiteral("Axis"), CUtils::AxisStateToString(ac.Axis()));
    writer.writeEndElement();

    const CAlarmParametersMapping& mapping = *m_OperationParameters.AlarmParametersMapping();
    writer.writeStartElement(QStringLiteral("ALARM_MAPPING_PARAMETERS"));
    writer.writeTextElement(QStringLiteral("Axis"), CUtils::AxisStateToString(mapping.Axis()));
    writer.writeTextElement(QStringLiteral("State"), CUtils::AlarmStateToString(mapping.State()));
    writer.writeTextElement(QStringLiteral("Minimum"), CNumberText::G6(mapping.Minimum()));
    writer.writeTextElement(QStringLiteral("Maximum"), CNumberText::G6(mapping.Maximum()));
    writer.writeEndElement();

    WriteCustomParameters(writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    if (writer.hasError() || !file.commit())
    {
        qCCritical(lcOperations).noquote() << QStringLiteral("Error: Cannot write file : ") + filePath;
        return false;
    }
    return true;
}

bool COperation::l_ReadFileNumber(const QString& name, const QString& text, double& value, double min,
                                  double max)
{
    bool ok = false;
    const double read = CNumberText::ToDouble(text, &ok);
    // Written as !(in range): a NaN fails every comparison and must fail this one too.
    if (!ok || !std::isfinite(read) || !(read >= min && read <= max))
    {
        qCWarning(lcOperations).noquote()
            << QStringLiteral("Parameter file: %1 \"%2\" is not a number between %3 and %4; %5 is kept")
                   .arg(name, text, CNumberText::G6(min), CNumberText::G6(max), CNumberText::G6(value));
        return false;
    }
    value = read;
    return true;
}

void COperation::l_ReadMeasurementSection(const QDomElement& section)
{
    CMeasurementParameters& m = *m_OperationParameters.MeasurementParameters();
    const QSharedPointer<CInstrument> instrument = m_InstrumentSupervisor.Instrument().toStrongRef();
    CUnits::UnitType rememberedUncertainty = CUnits::UnitType::UNKNOWN;
    constexpr double Huge = std::numeric_limits<double>::max();
    // The instrument's bounds where it gives them; without one, what any instrument allows.
    const auto bounds = [&instrument](CBoundedParm* (CInstrument::*bound)(), double min, double max) {
        if (instrument)
        {
            const CBoundedParm* given = (instrument.data()->*bound)();
            if (given->Max() > given->Min())
                return std::make_pair(given->Min(), given->Max());
        }
        return std::make_pair(min, max);
    };
    const auto read = [](const QDomElement& e, double& value, std::pair<double, double> range) {
        return l_ReadFileNumber(e.tagName(), e.text(), value, range.first, range.second);
    };
    for (QDomElement e = section.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
    {
        const QString tag = e.tagName();
        const QString text = e.text();
        double value = 0;
        if (tag == QLatin1String("Range"))
        {
            value = m.Range();
            if (read(e, value, {0, Huge}))
                m.setRange(float(value));
        }
        else if (tag == QLatin1String("AutoRange"))
            m.setAutoRange(text.toInt() == 1);
        else if (tag == QLatin1String("AdcUnit"))
            m.setEnableAdcUnit(text.toInt() == 1);
        else if (tag == QLatin1String("Units"))
        {
            CUnits::UnitType units = QStringToCUnits(text);
            if (instrument && !instrument->UnitList().isEmpty() && !instrument->UnitList().contains(units))
                units = instrument->UnitList().first();
            // The views show the values in the unit they come in.
            m.setDisplayUnits(units);
            if (m.Units() == units)
                emit m.UnitsChanged(units);
            else
                m.setUnits(units);
        }
        else if (tag == QLatin1String("UncertaintyUnits"))
            rememberedUncertainty = QStringToCUnits(text);
        else if (tag == QLatin1String("Averaging"))
        {
            value = m.Averaging();
            if (read(e, value, bounds(&CInstrument::AveragingBound, 1, INT_MAX)) &&
                value == std::floor(value))
                m.setAveraging(int(value));
        }
        else if (tag == QLatin1String("AcquisitionRate"))
        {
            value = m.AcquisitionRate();
            if (read(e, value, bounds(&CInstrument::AcquisitionRateBound, 1e-9, Huge)))
                m.setAcquisitionRate(value);
        }
        else if (tag == QLatin1String("DisplayRate"))
        {
            value = m.DisplayRate();
            if (read(e, value, bounds(&CInstrument::DisplayRateBound, 1e-9, Huge)))
                m.setDisplayRate(value);
        }
        else if (tag == QLatin1String("FrequencyMin"))
        {
            value = m.FrequencyMin();
            if (read(e, value, bounds(&CInstrument::FrequencyMinBound, 0, Huge)))
                m.setFrequencyMin(value);
        }
        else if (tag == QLatin1String("TriggerMode"))
            m.setTriggerMode(QStringToCTrigger(text));
        else if (tag == QLatin1String("TriggerPlugin"))
        {
            CTriggerPlugin* chosen = nullptr;
            const auto plugins = AvailableTriggerPlugins();
            for (CTriggerPlugin* plugin : plugins)
            {
                if (plugin && plugin->GetName() == text)
                {
                    chosen = plugin;
                    break;
                }
            }
            m.setTriggerPlugin(chosen);
        }
    }
    if (instrument && m.TriggerMode() == CTrigger::TriggerMode::IMMEDIATE &&
        m.AcquisitionRate() != m.ImmediateAcquisitionRate())
        m.setAcquisitionRate(m.ImmediateAcquisitionRate());
    const CUnits::UnitType uncertainty = rememberedUncertainty == CUnits::UnitType::PERCENT
                                             ? CUnits::UnitType::PERCENT
                                             : ConvertUnitsToUncertaintyUnits(m.Units());
    if (m.UncertaintyUnits() == uncertainty)
        emit m.UncertaintyUnitsChanged(uncertainty);
    else
        m.setUncertaintyUnits(uncertainty);
    m.setUncertaintyUnitList({ConvertUnitsToUncertaintyUnits(m.Units()), CUnits::UnitType::PERCENT});
    emit OnLoadMeasParametersDone();
}

bool COperation::LoadParameters(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QByteArray content = file.readAll();
    file.close();
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    // A tree is built of the file: its depth is bounded first.
    if (!CXmlNesting::Within(content, CXmlNesting::MaxDepth, &message) ||
        !document.setContent(content, false, &message, &line, &column))
    {
        qCWarning(lcOperations) << "Cannot parse XML file. Error : " << message << "Line" << line << "Column"
                                << column << "File" << filePath;
        return false;
    }

    CMeasurementParameters& m = *m_OperationParameters.MeasurementParameters();
    if (m.ApplyConfiguration())
        m.setApplyConfiguration(false);
    try
    {
        const QDomElement root = document.documentElement();
        for (QDomElement section = root.firstChildElement(); !section.isNull();
             section = section.nextSiblingElement())
        {
            const QString tag = section.tagName();
            if (tag == QLatin1String("MEASUREMENT_PARAMETERS"))
                l_ReadMeasurementSection(section);
            else if (tag == QLatin1String("LIMITS_PARAMETERS"))
            {
                CLimitsParameters& limits = *m_OperationParameters.LimitsParameters();
                for (QDomElement e = section.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
                {
                    if (e.tagName() == QLatin1String("LimitsFileName"))
                        limits.setLimitsFileName(e.text());
                    else if (e.tagName() == QLatin1String("LimitsFilePath"))
                        limits.setLimitsFilePath(e.text());
                }
            }
            else if (tag == QLatin1String("ALARM_METER_PARAMETERS") ||
                     tag == QLatin1String("ALARM_MAPPING_PARAMETERS"))
            {
                CAlarmParametersLimits& alarm =
                    tag == QLatin1String("ALARM_METER_PARAMETERS")
                        ? static_cast<CAlarmParametersLimits&>(*m_OperationParameters.AlarmParametersMeter())
                        : static_cast<CAlarmParametersLimits&>(
                              *m_OperationParameters.AlarmParametersMapping());
                for (QDomElement e = section.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
                {
                    if (e.tagName() == QLatin1String("Axis"))
                        alarm.setAxis(CUtils::StringToAxisState(e.text()));
                    else if (e.tagName() == QLatin1String("State"))
                        alarm.setState(CUtils::StringToAlarmState(e.text()));
                    else if (e.tagName() == QLatin1String("Minimum") ||
                             e.tagName() == QLatin1String("Maximum"))
                    {
                        const bool minimum = e.tagName() == QLatin1String("Minimum");
                        double value = minimum ? alarm.Minimum() : alarm.Maximum();
                        if (l_ReadFileNumber(e.tagName(), e.text(), value))
                            minimum ? alarm.setMinimum(value) : alarm.setMaximum(value);
                    }
                }
            }
            else if (tag == QLatin1String("ALARM_SPECTRUM_PARAMETERS"))
            {
                const QDomElement state = section.firstChildElement(QStringLiteral("State"));
                if (!state.isNull())
                    m_OperationParameters.AlarmParametersSpectrum()->setState(
                        CUtils::StringToAlarmState(state.text()));
            }
            else if (tag == QLatin1String("ALARM_ACANALYSIS_PARAMETERS"))
            {
                CAlarmParametersAcAnalysis& alarm = *m_OperationParameters.AlarmParametersAcAnalysis();
                for (QDomElement e = section.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
                {
                    if (e.tagName() == QLatin1String("Axis"))
                        alarm.setAxis(CUtils::StringToAxisState(e.text()));
                    else if (e.tagName() == QLatin1String("State"))
                        alarm.setState(CUtils::StringToAlarmState(e.text()));
                }
            }
            else
                ReadCustomParameters(section);
        }
    }
    catch (const std::exception&)
    {
        qCWarning(lcOperations).noquote() << QStringLiteral("Error: Failed to parse file : ") + filePath;
        m.setApplyConfiguration(true);
        return false;
    }
    if (!m.ApplyConfiguration())
        m.setApplyConfiguration(true);
    return true;
}

bool COperation::SaveParametersInDefaultFolder(const QString& fileName)
{
    const QString folder = CConstants::DefaultApplicationParameterStoragePath;
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    return SaveParameters(folder + QLatin1Char('/') + fileName);
}

bool COperation::LoadParametersInDefaultFolder(const QString& fileName)
{
    return LoadParameters(CConstants::DefaultApplicationParameterStoragePath + QLatin1Char('/') + fileName);
}

TESVANA_SETTER(COperation, const QString&, Name)
TESVANA_SETTER(COperation, bool, SessionInProgress)
