#include "app/CSettings.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "app/CXmlNesting.h"
#include "app/CXmlReadReport.h"
#include "app/LogCategories.h"
#include "model/CNumberText.h"

#include "model/TesvanaSetter.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <climits>
#include <cmath>

namespace
{
const char* const RootElement = "SETTINGS";

QString boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

CSettings::CSettings(const QString& appDirPath, QObject* parent, const QString& settingsFolder)
    : QObject(parent), m_AppDirPath(appDirPath),
      m_SettingsFolder(settingsFolder.isEmpty() ? CConstants::DefaultApplicationParameterStoragePath
                                                : settingsFolder)
{
    qRegisterMetaType<t_Mapping2DPlotHorizontalAxisType>("t_Mapping2DPlotHorizontalAxisType");
    qRegisterMetaType<CameraPreset>("QtDataVisualization::Q3DCamera::CameraPreset");
    Reset(false);
    Load();
}

QString CSettings::FilePath() const
{
    return m_SettingsFolder + QLatin1Char('/') + CConstants::SystemSettingsFilename;
}

QString CSettings::l_PluginRoot() const
{
    return m_AppDirPath +
           (CUtils::isMacOs() ? QStringLiteral("/../Plugins/tesvana/") : QStringLiteral("/tesvana/"));
}

QString CSettings::ShippedLimitsPath() const
{
    return l_PluginRoot() + QStringLiteral("limits");
}

QString CSettings::HelpFolder() const
{
    return m_AppDirPath +
           (CUtils::isMacOs() ? QStringLiteral("/../Resources/help") : QStringLiteral("/help"));
}

bool CSettings::Reset(bool save)
{
    const QString pluginRoot = l_PluginRoot();
    setInstrumentParameterPath(CConstants::DefaultApplicationParameterStoragePath);
    setInstrumentDriverPluginsPath(pluginRoot + QStringLiteral("instrument"));
    setMapperPluginsPath(pluginRoot + QStringLiteral("mapper"));
    setTriggerPluginsPath(pluginRoot + QStringLiteral("trigger"));
    setDefaultStoragePath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    setCheckForNewVersion(true);
    setIgnoreSpecificVersion(QString());
    setMeasurementMaxMeasurementCount(120000);
    setMappingMaxMeasurementCount(1000000);
    setLogMaxHistoryCount(200);
    setAveragingCount(1);
    setAveragingMode(0);
    setEnableMeterMode(true);
    setEnableSpectrumMode(true);
    setEnableAcAnalysisMode(true);
    setEnableMappingMode(true);
    setMeter3DCameraPreset(QtDataVisualization::Q3DCamera::CameraPresetIsometricRight);
    setMeter3DZoomLevel(90.0);
    setMeter3DOrthoProjection(false);
    setMapping3DCameraPreset(QtDataVisualization::Q3DCamera::CameraPresetIsometricRight);
    setMapping3DZoomLevel(90.0);
    setMapping3DOrthoProjection(false);
    setMapping2DPlotHorizontalAxisType(e_HorizAxisIsZPosition);

    m_CameraPresetNames = QStringList{"Front Low",
                                      "Front",
                                      "Front High",
                                      "Left Low",
                                      "Left",
                                      "Left High",
                                      "Right Low",
                                      "Right",
                                      "Right High",
                                      "Behind Low",
                                      "Behind",
                                      "Behind High",
                                      "Isometric Left",
                                      "Isometric Left High",
                                      "Isometric Right",
                                      "Isometric Right High",
                                      "Directly Above",
                                      "Directly Above CW 45",
                                      "Directly Above CCW 45"};
    m_XAxisTypeNames = QStringList{"Time", "X Position", "Y Position", "Z Position"};

    return !save || Save();
}

bool CSettings::SaveAlone(const std::function<void(CSettings&)>& change)
{
    change(*this);
    CSettings file(m_AppDirPath, nullptr, m_SettingsFolder);
    change(file);
    return file.Save();
}

void CSettings::l_ApplyElement(const QString& name, const QString& text)
{
    bool ok = false;
    if (name == QLatin1String("InstrumentParameterPath"))
        setInstrumentParameterPath(text);
    else if (name == QLatin1String("DefaultStoragePath"))
        setDefaultStoragePath(text);
    else if (name == QLatin1String("IgnoreSpecificVersion"))
        setIgnoreSpecificVersion(text);
    else if (name == QLatin1String("SaveRecordingsAsCsv"))
        setSaveRecordingsAsCsv(text == QLatin1String("1"));
    else if (name == QLatin1String("CheckForNewVersion"))
        setCheckForNewVersion(text == QLatin1String("1"));
    else if (name == QLatin1String("MappingMaxMeasurementCount"))
    {
        const quint64 value = text.toULongLong(&ok, 10);
        if (ok)
            setMappingMaxMeasurementCount(value);
    }
    else if (name == QLatin1String("MeasurementMaxMeasurementCount"))
    {
        const quint64 value = text.toULongLong(&ok, 10);
        if (ok)
            setMeasurementMaxMeasurementCount(value);
    }
    else if (name == QLatin1String("LogMaxHistoryCount"))
    {
        const uint value = text.toUInt(&ok, 10);
        if (ok)
            setLogMaxHistoryCount(value);
    }
    else if (name == QLatin1String("AveragingMode"))
    {
        // Read unsigned; a value that does not fit the signed property is refused
        // rather than wrapped to a negative mode.
        const uint value = text.toUInt(&ok, 10);
        if (ok && value <= uint(INT_MAX))
            setAveragingMode(int(value));
    }
    else if (name == QLatin1String("AveragingCount"))
    {
        const uint value = text.toUInt(&ok, 10);
        if (ok)
            setAveragingCount(value);
    }
    else if (name == QLatin1String("EnableMeterMode"))
        setEnableMeterMode(text == QLatin1String("1"));
    else if (name == QLatin1String("EnableSpectrumMode"))
        setEnableSpectrumMode(text == QLatin1String("1"));
    else if (name == QLatin1String("EnableAcAnalysisMode"))
        setEnableAcAnalysisMode(text == QLatin1String("1"));
    else if (name == QLatin1String("EnableMappingMode"))
        setEnableMappingMode(text == QLatin1String("1"));
    else if (name == QLatin1String("Meter3DCameraPreset") || name == QLatin1String("Mapping3DCameraPreset"))
    {
        const int value = text.toInt(&ok, 10);
        if (!ok)
            return;
        const auto preset = static_cast<CameraPreset>(value);
        if (name == QLatin1String("Meter3DCameraPreset"))
            setMeter3DCameraPreset(preset);
        else
            setMapping3DCameraPreset(preset);
    }
    else if (name == QLatin1String("Meter3DZoomLevel") || name == QLatin1String("Mapping3DZoomLevel"))
    {
        // NaN or infinite zoom would break the 3-D view: refused like unparsable text.
        const double value = CNumberText::ToDouble(text, &ok);
        if (!ok || !std::isfinite(value))
            return;
        if (name == QLatin1String("Meter3DZoomLevel"))
            setMeter3DZoomLevel(value);
        else
            setMapping3DZoomLevel(value);
    }
    else if (name == QLatin1String("Meter3DOrthoProjection"))
        setMeter3DOrthoProjection(text == QLatin1String("1"));
    else if (name == QLatin1String("Mapping3DOrthoProjection"))
        setMapping3DOrthoProjection(text == QLatin1String("1"));
    else if (name == QLatin1String("Mapping2DPlotHorizontalAxisType"))
    {
        const uint value = text.toUInt(&ok, 10);
        if (ok && value <= 3)
            setMapping2DPlotHorizontalAxisType(static_cast<t_Mapping2DPlotHorizontalAxisType>(value));
    }
}

void CSettings::Load()
{
    static const QStringList known = {"InstrumentParameterPath",
                                      "DefaultStoragePath",
                                      "IgnoreSpecificVersion",
                                      "SaveRecordingsAsCsv",
                                      "CheckForNewVersion",
                                      "MappingMaxMeasurementCount",
                                      "MeasurementMaxMeasurementCount",
                                      "LogMaxHistoryCount",
                                      "AveragingMode",
                                      "AveragingCount",
                                      "EnableMeterMode",
                                      "EnableSpectrumMode",
                                      "EnableAcAnalysisMode",
                                      "EnableMappingMode",
                                      "Meter3DCameraPreset",
                                      "Meter3DZoomLevel",
                                      "Meter3DOrthoProjection",
                                      "Mapping3DCameraPreset",
                                      "Mapping3DZoomLevel",
                                      "Mapping3DOrthoProjection",
                                      "Mapping2DPlotHorizontalAxisType"};

    const QString path = FilePath();
    QFile file(path);
    if (!file.exists())
        return;

    QXmlStreamReader reader;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        reader.setDevice(&file);
        if (reader.readNextStartElement())
        {
            if (reader.name() != QLatin1String(RootElement))
                reader.raiseError(tr("Incorrect file"));
            else
            {
                while (reader.readNextStartElement())
                {
                    const QString name = reader.name().toString();
                    if (known.contains(name))
                    {
                        const QString text = reader.readElementText();
                        if (reader.hasError())
                            break;
                        l_ApplyElement(name, text);
                    }
                    else
                        CXmlNesting::SkipCurrentElement(reader);
                }
            }
        }
    }
    file.close();

    CXmlReadReport::Log(path, reader.hasError(), reader.errorString(), file);
}

bool CSettings::Save()
{
    // The whole path is created: a fresh account may not have its
    // application-data folder yet.
    if (!QDir(m_SettingsFolder).exists() && !QDir().mkpath(m_SettingsFolder))
    {
        qCDebug(lcApp).noquote() << QStringLiteral("Error: Cannot create folder ") + m_SettingsFolder;
        return false;
    }

    // Written beside the target and renamed into place, so an interrupted save
    // leaves the previous file intact.
    const QString path = FilePath();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
    {
        qCDebug(lcApp).noquote() << QStringLiteral("Error: Cannot create file : ") + path +
                                        QStringLiteral(" : ") + file.errorString();
        return false;
    }

    QXmlStreamWriter writer(&file);
    writer.setCodec("UTF-8");
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(4);
    writer.writeStartDocument();
    writer.writeStartElement(QLatin1String(RootElement));
    writer.writeTextElement(QStringLiteral("InstrumentParameterPath"), m_InstrumentParameterPath);
    writer.writeTextElement(QStringLiteral("DefaultStoragePath"), m_DefaultStoragePath);
    writer.writeTextElement(QStringLiteral("IgnoreSpecificVersion"), m_IgnoreSpecificVersion);
    writer.writeTextElement(QStringLiteral("SaveRecordingsAsCsv"), boolText(m_SaveRecordingsAsCsv));
    writer.writeTextElement(QStringLiteral("CheckForNewVersion"), boolText(m_CheckForNewVersion));
    writer.writeTextElement(QStringLiteral("MappingMaxMeasurementCount"),
                            QString::number(m_MappingMaxMeasurementCount));
    writer.writeTextElement(QStringLiteral("MeasurementMaxMeasurementCount"),
                            QString::number(m_MeasurementMaxMeasurementCount));
    writer.writeTextElement(QStringLiteral("LogMaxHistoryCount"), QString::number(m_LogMaxHistoryCount));
    writer.writeTextElement(QStringLiteral("AveragingMode"), QString::number(m_AveragingMode));
    writer.writeTextElement(QStringLiteral("AveragingCount"), QString::number(m_AveragingCount));
    writer.writeTextElement(QStringLiteral("EnableMeterMode"), boolText(m_EnableMeterMode));
    writer.writeTextElement(QStringLiteral("EnableSpectrumMode"), boolText(m_EnableSpectrumMode));
    writer.writeTextElement(QStringLiteral("EnableAcAnalysisMode"), boolText(m_EnableAcAnalysisMode));
    writer.writeTextElement(QStringLiteral("EnableMappingMode"), boolText(m_EnableMappingMode));
    writer.writeTextElement(QStringLiteral("Meter3DCameraPreset"),
                            QString::number(int(m_Meter3DCameraPreset)));
    writer.writeTextElement(QStringLiteral("Meter3DZoomLevel"), CNumberText::G6(m_Meter3DZoomLevel));
    writer.writeTextElement(QStringLiteral("Meter3DOrthoProjection"), boolText(m_Meter3DOrthoProjection));
    writer.writeTextElement(QStringLiteral("Mapping3DCameraPreset"),
                            QString::number(int(m_Mapping3DCameraPreset)));
    writer.writeTextElement(QStringLiteral("Mapping3DZoomLevel"), CNumberText::G6(m_Mapping3DZoomLevel));
    writer.writeTextElement(QStringLiteral("Mapping3DOrthoProjection"), boolText(m_Mapping3DOrthoProjection));
    writer.writeTextElement(QStringLiteral("Mapping2DPlotHorizontalAxisType"),
                            QString::number(int(m_Mapping2DPlotHorizontalAxisType)));
    writer.writeEndElement();
    writer.writeEndDocument();

    if (writer.hasError() || !file.commit())
    {
        qCDebug(lcApp).noquote() << QStringLiteral("Error: Cannot write file : ") + path +
                                        QStringLiteral(" : ") + file.errorString();
        return false;
    }
    return true;
}

TESVANA_SETTER(CSettings, const QString&, InstrumentParameterPath)
TESVANA_SETTER(CSettings, const QString&, InstrumentDriverPluginsPath)
TESVANA_SETTER(CSettings, const QString&, MapperPluginsPath)
TESVANA_SETTER(CSettings, const QString&, TriggerPluginsPath)
TESVANA_SETTER(CSettings, const QString&, DefaultStoragePath)
TESVANA_SETTER(CSettings, bool, SaveRecordingsAsCsv)
TESVANA_SETTER(CSettings, bool, CheckForNewVersion)
TESVANA_SETTER(CSettings, const QString&, IgnoreSpecificVersion)
TESVANA_SETTER(CSettings, quint64, MeasurementMaxMeasurementCount)
TESVANA_SETTER(CSettings, quint64, MappingMaxMeasurementCount)
TESVANA_SETTER(CSettings, uint, LogMaxHistoryCount)
TESVANA_SETTER(CSettings, uint, AveragingCount)
TESVANA_SETTER(CSettings, int, AveragingMode)
TESVANA_SETTER(CSettings, bool, EnableMeterMode)
TESVANA_SETTER(CSettings, bool, EnableSpectrumMode)
TESVANA_SETTER(CSettings, bool, EnableAcAnalysisMode)
TESVANA_SETTER(CSettings, bool, EnableMappingMode)
TESVANA_SETTER(CSettings, QtDataVisualization::Q3DCamera::CameraPreset, Meter3DCameraPreset)
TESVANA_SETTER(CSettings, double, Meter3DZoomLevel)
TESVANA_SETTER(CSettings, bool, Meter3DOrthoProjection)
TESVANA_SETTER(CSettings, QtDataVisualization::Q3DCamera::CameraPreset, Mapping3DCameraPreset)
TESVANA_SETTER(CSettings, double, Mapping3DZoomLevel)
TESVANA_SETTER(CSettings, bool, Mapping3DOrthoProjection)
TESVANA_SETTER(CSettings, t_Mapping2DPlotHorizontalAxisType, Mapping2DPlotHorizontalAxisType)
