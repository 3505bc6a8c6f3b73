#include "viewmodels/CSettingsPageViewModel.h"

#include "app/CConstants.h"

#include "app/CPrompt.h"
#include "app/CSettings.h"
#include "app/CUtils.h"
#include "app/LogCategories.h"
#include "model/TesvanaSetter.h"

#include <QDir>
#include <QFileInfo>

namespace
{
constexpr int ShortPathLimit = 81;

bool folderMissing(const QString& path)
{
    return path.isEmpty() || !QFileInfo(path).isDir();
}
} // namespace

CSettingsPageViewModel::CSettingsPageViewModel(CSettings& settings, QObject* parent)
    : CPageViewModel(QStringLiteral("Settings"), parent), m_Settings(settings)
{
    connect(this, &CSettingsPageViewModel::InstrumentParameterPathChanged, this,
            &CSettingsPageViewModel::OnInstrumentParameterPathChanged);
    connect(this, &CSettingsPageViewModel::InstrumentDriverPluginsPathChanged, this,
            &CSettingsPageViewModel::OnInstrumentDriverPluginsPathChanged);
    connect(this, &CSettingsPageViewModel::MapperPluginsPathChanged, this,
            &CSettingsPageViewModel::OnMapperPluginsPathChanged);
    connect(this, &CSettingsPageViewModel::TriggerPluginsPathChanged, this,
            &CSettingsPageViewModel::OnTriggerPluginsPathChanged);
    connect(this, &CSettingsPageViewModel::DefaultStoragePathChanged, this,
            &CSettingsPageViewModel::OnDefaultStoragePathChanged);
    connect(this, &CSettingsPageViewModel::SaveRecordingsAsCsvChanged, this,
            &CSettingsPageViewModel::OnSaveRecordingsAsCsvChanged);
    connect(this, &CSettingsPageViewModel::CheckForNewVersionChanged, this,
            &CSettingsPageViewModel::OnCheckForNewVersionChanged);
    connect(this, &CSettingsPageViewModel::MeasurementMaxMeasurementCountChanged, this,
            &CSettingsPageViewModel::OnMeasurementMaxMeasurementCountChanged);
    connect(this, &CSettingsPageViewModel::MappingMaxMeasurementCountChanged, this,
            &CSettingsPageViewModel::OnMappingMaxMeasurementCountChanged);
    connect(this, &CSettingsPageViewModel::LogMaxHistoryCountChanged, this,
            &CSettingsPageViewModel::OnLogMaxHistoryCountChanged);

    // The page's switches and plot options edit the store itself (the mirrored settings'
    // properties); they are still edits that only Save keeps.
#define TESVANA_SETTING_PAGE_CONNECTION(Type, Name, Factory, Kind, Where, Page)                              \
    TESVANA_IF_MIRRORED_##Page(                                                                              \
        connect(&m_Settings, &CSettings::Name##Changed, this, &CSettingsPageViewModel::l_OnStoreEdited);)
    TESVANA_SETTINGS(TESVANA_SETTING_PAGE_CONNECTION)
#undef TESVANA_SETTING_PAGE_CONNECTION
    connect(&m_Settings, &CSettings::Mapping2DPlotHorizontalAxisTypeChanged, this,
            &CSettingsPageViewModel::l_OnStoreEdited);

    m_Loading = true;
    m_Settings.Load();
    m_Loading = false;
    SetParameterFromSettingsToViewModel();
    l_TakeSnapshot();
    setHasUnsavedParameter(false);
}

CSettingsPageViewModel::~CSettingsPageViewModel()
{
    discardUnsavedParameters();
}

// Leaving was confirmed as losing the edits: they must not stay in force.
void CSettingsPageViewModel::discardUnsavedParameters()
{
    if (!HasUnsavedParameter())
        return;
    l_Revert();
    SetParameterFromSettingsToViewModel();
    setHasUnsavedParameter(false);
}

QString CSettingsPageViewModel::ShortPath(const QString& path)
{
    if (path.size() < ShortPathLimit)
        return path;
    QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString rest;
    do
    {
        if (parts.size() > 1)
            parts.removeFirst();
        rest = parts.join(QLatin1Char('/'));
    } while (rest.size() >= ShortPathLimit && parts.size() > 1);
    return QStringLiteral(".../") + rest;
}

QString CSettingsPageViewModel::HelpPath()
{
    return QStringLiteral("settings");
}

bool CSettingsPageViewModel::InstrumentParameterPathMissing() const
{
    return folderMissing(m_InstrumentParameterPath);
}

bool CSettingsPageViewModel::DefaultStoragePathMissing() const
{
    return folderMissing(m_DefaultStoragePath);
}

void CSettingsPageViewModel::SetParameterFromSettingsToViewModel()
{
    m_Loading = true;
    setInstrumentParameterPath(m_Settings.InstrumentParameterPath());
    setInstrumentDriverPluginsPath(m_Settings.InstrumentDriverPluginsPath());
    setMapperPluginsPath(m_Settings.MapperPluginsPath());
    setTriggerPluginsPath(m_Settings.TriggerPluginsPath());
    setDefaultStoragePath(m_Settings.DefaultStoragePath());
    setSaveRecordingsAsCsv(m_Settings.SaveRecordingsAsCsv());
    setCheckForNewVersion(m_Settings.CheckForNewVersion());
    // Straight copies: a hand-edited file may hold counts the page would refuse.
    if (m_MeasurementMaxMeasurementCount != m_Settings.MeasurementMaxMeasurementCount())
    {
        m_MeasurementMaxMeasurementCount = m_Settings.MeasurementMaxMeasurementCount();
        emit MeasurementMaxMeasurementCountChanged(m_MeasurementMaxMeasurementCount);
    }
    if (m_MappingMaxMeasurementCount != m_Settings.MappingMaxMeasurementCount())
    {
        m_MappingMaxMeasurementCount = m_Settings.MappingMaxMeasurementCount();
        emit MappingMaxMeasurementCountChanged(m_MappingMaxMeasurementCount);
    }
    if (m_LogMaxHistoryCount != m_Settings.LogMaxHistoryCount())
    {
        m_LogMaxHistoryCount = m_Settings.LogMaxHistoryCount();
        emit LogMaxHistoryCountChanged(m_LogMaxHistoryCount);
    }
    // The short forms follow the paths even when a path did not change.
    OnInstrumentParameterPathChanged();
    OnInstrumentDriverPluginsPathChanged();
    OnMapperPluginsPathChanged();
    OnTriggerPluginsPathChanged();
    OnDefaultStoragePathChanged();
    m_Loading = false;
}

void CSettingsPageViewModel::SetParameterFromViewModelToSettings()
{
    m_Loading = true;
    m_Settings.setInstrumentParameterPath(m_InstrumentParameterPath);
    m_Settings.setInstrumentDriverPluginsPath(m_InstrumentDriverPluginsPath);
    m_Settings.setMapperPluginsPath(m_MapperPluginsPath);
    m_Settings.setTriggerPluginsPath(m_TriggerPluginsPath);
    m_Settings.setDefaultStoragePath(m_DefaultStoragePath);
    m_Settings.setSaveRecordingsAsCsv(m_SaveRecordingsAsCsv);
    m_Settings.setCheckForNewVersion(m_CheckForNewVersion);
    m_Settings.setMeasurementMaxMeasurementCount(m_MeasurementMaxMeasurementCount);
    m_Settings.setMappingMaxMeasurementCount(m_MappingMaxMeasurementCount);
    m_Settings.setLogMaxHistoryCount(m_LogMaxHistoryCount);
    m_Loading = false;
}

bool CSettingsPageViewModel::save()
{
    // A folder that is not there is made (a new account has no documents folder yet);
    // one that cannot be made keeps the settings from being saved.
    for (const QString& folder : {m_InstrumentParameterPath, m_DefaultStoragePath})
    {
        if (!folderMissing(folder))
            continue;
        if (folder.isEmpty() || !QDir().mkpath(folder) || folderMissing(folder))
        {
            CUtils::errorMessage(tr("The settings were not saved"),
                                 tr("This folder cannot be made: %1").arg(QDir::toNativeSeparators(folder)));
            return false;
        }
    }
    emit InstrumentParameterPathShortChanged(m_InstrumentParameterPathShort);
    emit DefaultStoragePathShortChanged(m_DefaultStoragePathShort);
    SetParameterFromViewModelToSettings();
    if (!m_Settings.Save())
    {
        CUtils::errorMessage(tr("The settings were not saved"),
                             tr("Could not write %1").arg(QDir::toNativeSeparators(m_Settings.FilePath())));
        return false;
    }
    l_TakeSnapshot();
    setHasUnsavedParameter(false);
    l_TellRestart();
    return true;
}

void CSettingsPageViewModel::restore()
{
    // The saved state first (values the file does not hold, such as the plug-in
    // folders), then what the file says.
    l_Revert();
    m_Loading = true;
    m_Settings.Load();
    m_Loading = false;
    SetParameterFromSettingsToViewModel();
    setHasUnsavedParameter(false);
}

void CSettingsPageViewModel::restoreDefaults()
{
    if (!CPrompt::Current().Confirm(tr("Are you sure you want to restore the factory settings ?"),
                                    tr("Your current settings will be lost")))
        return;
    m_Loading = true;
    const bool saved = m_Settings.Reset(true);
    m_Loading = false;
    SetParameterFromSettingsToViewModel();
    if (!saved)
    {
        // The defaults are shown but not in the file: said so, and still to be saved.
        l_TellNotSaved();
        setHasUnsavedParameter(true);
        return;
    }
    l_TakeSnapshot();
    setHasUnsavedParameter(false);
    l_TellRestart();
}

void CSettingsPageViewModel::l_TellNotSaved()
{
    CPrompt::Current().Error(tr("Could not save the settings"),
                             tr("The file %1 could not be written.").arg(m_Settings.FilePath()));
}

void CSettingsPageViewModel::chooseInstrumentParameterPath()
{
    const QString folder =
        CPrompt::Current().FolderName(tr("Location of instrument parameters"), m_InstrumentParameterPath);
    if (!folder.isEmpty())
        setInstrumentParameterPath(QDir::cleanPath(folder));
}

void CSettingsPageViewModel::chooseDefaultStoragePath()
{
    const QString folder =
        CPrompt::Current().FolderName(tr("Default storage location"), m_DefaultStoragePath);
    if (!folder.isEmpty())
        setDefaultStoragePath(QDir::cleanPath(folder));
}

void CSettingsPageViewModel::l_TellRestart()
{
    CUtils::informationMessage(tr("Restart application"),
                               tr("Please restart the application to apply the new settings"));
}

void CSettingsPageViewModel::l_OnStoreEdited()
{
    if (!m_Loading)
        setHasUnsavedParameter(true);
    emit StoreChanged();
}

// The 2-D plot's axis reads and writes the store too, a number checked on its way in.
int CSettingsPageViewModel::Mapping2DPlotHorizontalAxisType() const
{
    return int(m_Settings.Mapping2DPlotHorizontalAxisType());
}
QStringList CSettingsPageViewModel::CameraPresetNames() const
{
    return m_Settings.CameraPresetNames();
}
QStringList CSettingsPageViewModel::XAxisTypeNames() const
{
    return m_Settings.XAxisTypeNames();
}

QString CSettingsPageViewModel::ProgramName()
{
    return CConstants::OrganizationName + QLatin1Char(' ') + CConstants::ApplicationName +
           QStringLiteral(" v") + CConstants::Version;
}

QString CSettingsPageViewModel::QtVersion()
{
    return QString::fromLatin1(qVersion());
}

QString CSettingsPageViewModel::Logo()
{
    return CConstants::OrganizationLogo;
}

void CSettingsPageViewModel::setMapping2DPlotHorizontalAxisType(int value)
{
    if (value >= 0 && value <= int(CSettings::e_HorizAxisIsZPosition))
        m_Settings.setMapping2DPlotHorizontalAxisType(CSettings::t_Mapping2DPlotHorizontalAxisType(value));
}

void CSettingsPageViewModel::l_TakeSnapshot()
{
    // Only what this page edits: other settings (a skipped version, the charts'
    // averaging) are saved by their own pages and must not be put back from here.
    m_Snapshot.clear();
    for (const CSettings::Entry& entry : CSettings::Entries())
        if (entry.OnPage)
            m_Snapshot.insert(QString::fromLatin1(entry.Name), m_Settings.property(entry.Name));
}

void CSettingsPageViewModel::l_Revert()
{
    m_Loading = true;
    for (auto it = m_Snapshot.cbegin(); it != m_Snapshot.cend(); ++it)
        m_Settings.setProperty(qPrintable(it.key()), it.value());
    m_Loading = false;
}

// Path edits reach the store at once (what the program uses next), and are unsaved.
#define TESVANA_PATH_HANDLER(Name)                                                                           \
    void CSettingsPageViewModel::On##Name##Changed()                                                         \
    {                                                                                                        \
        const QString shortForm = ShortPath(m_##Name);                                                       \
        if (m_##Name##Short != shortForm)                                                                    \
        {                                                                                                    \
            m_##Name##Short = shortForm;                                                                     \
            emit Name##ShortChanged(shortForm);                                                              \
        }                                                                                                    \
        if (m_Loading)                                                                                       \
            return;                                                                                          \
        m_Settings.set##Name(m_##Name);                                                                      \
        setHasUnsavedParameter(true);                                                                        \
    }

TESVANA_PATH_HANDLER(InstrumentParameterPath)
TESVANA_PATH_HANDLER(InstrumentDriverPluginsPath)
TESVANA_PATH_HANDLER(MapperPluginsPath)
TESVANA_PATH_HANDLER(TriggerPluginsPath)
TESVANA_PATH_HANDLER(DefaultStoragePath)

#define TESVANA_VALUE_HANDLER(Name)                                                                          \
    void CSettingsPageViewModel::On##Name##Changed()                                                         \
    {                                                                                                        \
        if (m_Loading)                                                                                       \
            return;                                                                                          \
        m_Settings.set##Name(m_##Name);                                                                      \
        setHasUnsavedParameter(true);                                                                        \
    }

TESVANA_VALUE_HANDLER(CheckForNewVersion)
TESVANA_VALUE_HANDLER(MeasurementMaxMeasurementCount)
TESVANA_VALUE_HANDLER(MappingMaxMeasurementCount)
TESVANA_VALUE_HANDLER(LogMaxHistoryCount)

// Takes effect for the next recording saved, and is no edit that asks before leaving:
// so it is kept in the file at once, alone (the page reads the file again when it
// opens, which would otherwise drop it unnoticed).
void CSettingsPageViewModel::OnSaveRecordingsAsCsvChanged()
{
    if (m_Loading)
        return;
    m_Snapshot.insert(QStringLiteral("SaveRecordingsAsCsv"), m_SaveRecordingsAsCsv);
    const bool csv = m_SaveRecordingsAsCsv;
    if (!m_Settings.SaveAlone([csv](CSettings& settings) { settings.setSaveRecordingsAsCsv(csv); }))
    {
        qCWarning(lcUi).noquote() << tr("Could not write %1").arg(m_Settings.FilePath());
        l_TellNotSaved();
    }
}

TESVANA_SETTER(CSettingsPageViewModel, const QString&, InstrumentParameterPath)
TESVANA_SETTER(CSettingsPageViewModel, const QString&, InstrumentDriverPluginsPath)
TESVANA_SETTER(CSettingsPageViewModel, const QString&, MapperPluginsPath)
TESVANA_SETTER(CSettingsPageViewModel, const QString&, TriggerPluginsPath)
TESVANA_SETTER(CSettingsPageViewModel, const QString&, DefaultStoragePath)
TESVANA_SETTER(CSettingsPageViewModel, bool, SaveRecordingsAsCsv)
TESVANA_SETTER(CSettingsPageViewModel, bool, CheckForNewVersion)

void CSettingsPageViewModel::setMeasurementMaxMeasurementCount(quint64 value)
{
    if (value < MinimumPoints || value > MaximumPoints || value == m_MeasurementMaxMeasurementCount)
        return;
    m_MeasurementMaxMeasurementCount = value;
    emit MeasurementMaxMeasurementCountChanged(value);
}

void CSettingsPageViewModel::setMappingMaxMeasurementCount(quint64 value)
{
    if (value < MinimumPoints || value > MaximumPoints || value == m_MappingMaxMeasurementCount)
        return;
    m_MappingMaxMeasurementCount = value;
    emit MappingMaxMeasurementCountChanged(value);
}

void CSettingsPageViewModel::setLogMaxHistoryCount(uint value)
{
    if (value < MinimumLogLines || value > MaximumLogLines || value == m_LogMaxHistoryCount)
        return;
    m_LogMaxHistoryCount = value;
    emit LogMaxHistoryCountChanged(value);
}
