#include "app/CSettings.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "app/CXmlElementsReader.h"
#include "app/CXmlElementsWriter.h"
#include "app/LogCategories.h"
#include "model/CNumberText.h"

#include "model/TesvanaSetter.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
const char* const RootElement = "SETTINGS";

QString boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A decimal whole number of at most `most`.
bool unsignedText(const QString& text, quint64 most, quint64& value)
{
    bool ok = false;
    value = text.toULongLong(&ok, 10);
    return ok && value <= most;
}
} // namespace

CSettings::CSettings(const QString& appDirPath, QObject* parent, const QString& settingsFolder)
    : QObject(parent), m_AppDirPath(appDirPath),
      m_SettingsFolder(settingsFolder.isEmpty() ? CConstants::DefaultApplicationParameterStoragePath
                                                : settingsFolder)
{
    qRegisterMetaType<t_Mapping2DPlotHorizontalAxisType>("t_Mapping2DPlotHorizontalAxisType");
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
    setRecentMeasurementFiles(QString());
    setRecentMappingFiles(QString());
    setLastFolder(QString());
    setReportSite(QString());
    setReportSurveyor(QString());
    setReportNotes(QString());
    setMeasurementMaxMeasurementCount(120000);
    setMappingMaxMeasurementCount(1000000);
    setLogMaxHistoryCount(200);
    setAveragingCount(1);
    setAveragingMode(0);
    setEnableMeterMode(true);
    setEnableSpectrumMode(true);
    setEnableAcAnalysisMode(true);
    setEnableMappingMode(true);
    setMeter3DCameraPreset(DefaultCameraPreset);
    setMeter3DZoomLevel(90.0);
    setMeter3DOrthoProjection(false);
    setMapping3DCameraPreset(DefaultCameraPreset);
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

namespace
{
// How each kind of setting is written and read.
using Entry = CSettings::Entry;

template <QString (CSettings::*Get)() const, void (CSettings::*Set)(const QString&)>
Entry text(const char* name, bool stored, bool page)
{
    return {name, stored, page, [](const CSettings& s) { return (s.*Get)(); },
            [](CSettings& s, const QString& value) {
                (s.*Set)(value);
                return true;
            }};
}

template <bool (CSettings::*Get)() const, void (CSettings::*Set)(bool)>
Entry flag(const char* name, bool page)
{
    return {name, true, page, [](const CSettings& s) { return boolText((s.*Get)()); },
            [](CSettings& s, const QString& value) {
                (s.*Set)(value == QLatin1String("1"));
                return true;
            }};
}

// A decimal whole number up to Most (a signed or enumerated property never gets a wrapped value).
template <typename T, quint64 Most, T (CSettings::*Get)() const, void (CSettings::*Set)(T)>
Entry count(const char* name, bool page)
{
    return {name, true, page, [](const CSettings& s) { return QString::number(quint64((s.*Get)())); },
            [](CSettings& s, const QString& value) {
                quint64 number = 0;
                if (!unsignedText(value, Most, number))
                    return false;
                (s.*Set)(T(number));
                return true;
            }};
}

template <int (CSettings::*Get)() const, void (CSettings::*Set)(int)> Entry preset(const char* name)
{
    return {name, true, true, [](const CSettings& s) { return QString::number((s.*Get)()); },
            [](CSettings& s, const QString& value) {
                bool ok = false;
                const int number = value.toInt(&ok, 10);
                if (ok)
                    (s.*Set)(number);
                return ok;
            }};
}

// NaN or infinite zoom would break the 3-D view: refused like unparsable text.
template <double (CSettings::*Get)() const, void (CSettings::*Set)(double)> Entry zoom(const char* name)
{
    return {name, true, true, [](const CSettings& s) { return CNumberText::G6((s.*Get)()); },
            [](CSettings& s, const QString& value) {
                bool ok = false;
                const double number = CNumberText::ToDouble(value, &ok);
                if (!ok || !std::isfinite(number))
                    return false;
                (s.*Set)(number);
                return true;
            }};
}
} // namespace

// The property, its setter and its element are one name.
#define TESVANA_ENTRY(kind, Name, ...) kind<&CSettings::Name, &CSettings::set##Name>(#Name, ##__VA_ARGS__)
#define TESVANA_COUNT(Name, Type, most, page)                                                                \
    count<Type, most, &CSettings::Name, &CSettings::set##Name>(#Name, page)

const std::vector<CSettings::Entry>& CSettings::Entries()
{
    static const std::vector<Entry> entries = {
        TESVANA_ENTRY(text, InstrumentParameterPath, true, true),
        TESVANA_ENTRY(text, DefaultStoragePath, true, true),
        TESVANA_ENTRY(text, IgnoreSpecificVersion, true, false),  // the new-version dialog's
        TESVANA_ENTRY(text, RecentMeasurementFiles, true, false), // the pages' own
        TESVANA_ENTRY(text, RecentMappingFiles, true, false),
        TESVANA_ENTRY(text, LastFolder, true, false),
        TESVANA_ENTRY(text, ReportSite, true, false), // the report dialog's
        TESVANA_ENTRY(text, ReportSurveyor, true, false),
        TESVANA_ENTRY(text, ReportNotes, true, false),
        TESVANA_ENTRY(flag, SaveRecordingsAsCsv, true),
        TESVANA_ENTRY(flag, CheckForNewVersion, true),
        TESVANA_COUNT(MappingMaxMeasurementCount, quint64, ULLONG_MAX, true),
        TESVANA_COUNT(MeasurementMaxMeasurementCount, quint64, ULLONG_MAX, true),
        TESVANA_COUNT(LogMaxHistoryCount, uint, UINT_MAX, true),
        TESVANA_COUNT(AveragingMode, int, INT_MAX, false), // the charts' own
        TESVANA_COUNT(AveragingCount, uint, UINT_MAX, false),
        TESVANA_ENTRY(flag, EnableMeterMode, true),
        TESVANA_ENTRY(flag, EnableSpectrumMode, true),
        TESVANA_ENTRY(flag, EnableAcAnalysisMode, true),
        TESVANA_ENTRY(flag, EnableMappingMode, true),
        TESVANA_ENTRY(preset, Meter3DCameraPreset),
        TESVANA_ENTRY(zoom, Meter3DZoomLevel),
        TESVANA_ENTRY(flag, Meter3DOrthoProjection, true),
        TESVANA_ENTRY(preset, Mapping3DCameraPreset),
        TESVANA_ENTRY(zoom, Mapping3DZoomLevel),
        TESVANA_ENTRY(flag, Mapping3DOrthoProjection, true),
        TESVANA_COUNT(Mapping2DPlotHorizontalAxisType, t_Mapping2DPlotHorizontalAxisType, 3, true),
        // Where the plug-ins are: the page edits them for this run, the file never keeps them.
        TESVANA_ENTRY(text, InstrumentDriverPluginsPath, false, true),
        TESVANA_ENTRY(text, MapperPluginsPath, false, true),
        TESVANA_ENTRY(text, TriggerPluginsPath, false, true),
    };
    return entries;
}

void CSettings::Load()
{
    const auto stored = [](const QString& name) {
        return std::find_if(Entries().begin(), Entries().end(),
                            [&name](const Entry& e) { return e.Stored && name == QLatin1String(e.Name); });
    };
    CXmlElementsReader::Read(
        FilePath(), QLatin1String(RootElement),
        [&](const QString& name) { return stored(name) != Entries().end(); },
        [&](const QString& name, const QString& text) { stored(name)->Read(*this, text); });
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

    const QString path = FilePath();
    std::vector<std::pair<QString, QString>> elements;
    for (const Entry& entry : Entries())
        if (entry.Stored)
            elements.emplace_back(QLatin1String(entry.Name), entry.Write(*this));
    QString error;
    if (!CXmlElementsWriter::Write(path, QLatin1String(RootElement), elements, &error))
    {
        qCDebug(lcApp).noquote() << QStringLiteral("Error: Cannot write file : ") + path +
                                        QStringLiteral(" : ") + error;
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
TESVANA_SETTER(CSettings, const QString&, RecentMeasurementFiles)
TESVANA_SETTER(CSettings, const QString&, RecentMappingFiles)
TESVANA_SETTER(CSettings, const QString&, LastFolder)
TESVANA_SETTER(CSettings, const QString&, ReportSite)
TESVANA_SETTER(CSettings, const QString&, ReportSurveyor)
TESVANA_SETTER(CSettings, const QString&, ReportNotes)
TESVANA_SETTER(CSettings, quint64, MeasurementMaxMeasurementCount)
TESVANA_SETTER(CSettings, quint64, MappingMaxMeasurementCount)
TESVANA_SETTER(CSettings, uint, LogMaxHistoryCount)
TESVANA_SETTER(CSettings, uint, AveragingCount)
TESVANA_SETTER(CSettings, int, AveragingMode)
TESVANA_SETTER(CSettings, bool, EnableMeterMode)
TESVANA_SETTER(CSettings, bool, EnableSpectrumMode)
TESVANA_SETTER(CSettings, bool, EnableAcAnalysisMode)
TESVANA_SETTER(CSettings, bool, EnableMappingMode)
TESVANA_SETTER(CSettings, int, Meter3DCameraPreset)
TESVANA_SETTER(CSettings, double, Meter3DZoomLevel)
TESVANA_SETTER(CSettings, bool, Meter3DOrthoProjection)
TESVANA_SETTER(CSettings, int, Mapping3DCameraPreset)
TESVANA_SETTER(CSettings, double, Mapping3DZoomLevel)
TESVANA_SETTER(CSettings, bool, Mapping3DOrthoProjection)
TESVANA_SETTER(CSettings, t_Mapping2DPlotHorizontalAxisType, Mapping2DPlotHorizontalAxisType)
