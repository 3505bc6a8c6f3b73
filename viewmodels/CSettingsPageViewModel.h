#pragma once

#include "app/CSettings.h"
#include "viewmodels/CPageViewModel.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

// A setting the page mirrors (page column Mirrored): a property of the page that reads and
// writes the store; the store's change makes the page unsaved (StoreChanged).
#define TESVANA_IF_MIRRORED_Hidden(...)
#define TESVANA_IF_MIRRORED_Edited(...)
#define TESVANA_IF_MIRRORED_Mirrored(...) __VA_ARGS__
#define TESVANA_SETTING_PAGE_PROPERTY(Type, Name, Factory, Kind, Where, Page)                                \
    TESVANA_IF_MIRRORED_##Page(Q_PROPERTY(Type Name READ Name WRITE set##Name NOTIFY StoreChanged))
#define TESVANA_SETTING_PAGE_ACCESSORS(Type, Name, Factory, Kind, Where, Page)                               \
    TESVANA_IF_MIRRORED_##Page(                                                                              \
        Type Name()                                                                                          \
            const { return m_Settings.Name(); } void set##Name(Type value) { m_Settings.set##Name(value); })

// View model of the settings page: the folders, the version check and the memory
// limits, edited here and written into the settings store at once; Save writes the
// settings file. Leaving the page without saving puts the file's values back.
class CSettingsPageViewModel : public CPageViewModel
{
    Q_OBJECT
    Q_PROPERTY(QString InstrumentParameterPath READ InstrumentParameterPath WRITE setInstrumentParameterPath
                   NOTIFY InstrumentParameterPathChanged)
    Q_PROPERTY(QString InstrumentDriverPluginsPath READ InstrumentDriverPluginsPath NOTIFY
                   InstrumentDriverPluginsPathChanged)
    Q_PROPERTY(QString MapperPluginsPath READ MapperPluginsPath NOTIFY MapperPluginsPathChanged)
    Q_PROPERTY(QString TriggerPluginsPath READ TriggerPluginsPath NOTIFY TriggerPluginsPathChanged)
    Q_PROPERTY(QString DefaultStoragePath READ DefaultStoragePath WRITE setDefaultStoragePath NOTIFY
                   DefaultStoragePathChanged)
    Q_PROPERTY(QString InstrumentParameterPathShort READ InstrumentParameterPathShort NOTIFY
                   InstrumentParameterPathShortChanged)
    Q_PROPERTY(QString InstrumentDriverPluginsPathShort READ InstrumentDriverPluginsPathShort NOTIFY
                   InstrumentDriverPluginsPathShortChanged)
    Q_PROPERTY(
        QString MapperPluginsPathShort READ MapperPluginsPathShort NOTIFY MapperPluginsPathShortChanged)
    Q_PROPERTY(
        QString TriggerPluginsPathShort READ TriggerPluginsPathShort NOTIFY TriggerPluginsPathShortChanged)
    Q_PROPERTY(
        QString DefaultStoragePathShort READ DefaultStoragePathShort NOTIFY DefaultStoragePathShortChanged)
    // A folder that does not exist is marked on the page; Save makes it or refuses.
    Q_PROPERTY(bool InstrumentParameterPathMissing READ InstrumentParameterPathMissing NOTIFY
                   InstrumentParameterPathShortChanged)
    Q_PROPERTY(
        bool DefaultStoragePathMissing READ DefaultStoragePathMissing NOTIFY DefaultStoragePathShortChanged)
    Q_PROPERTY(bool SaveRecordingsAsCsv READ SaveRecordingsAsCsv WRITE setSaveRecordingsAsCsv NOTIFY
                   SaveRecordingsAsCsvChanged)
    Q_PROPERTY(bool CheckForNewVersion READ CheckForNewVersion WRITE setCheckForNewVersion NOTIFY
                   CheckForNewVersionChanged)
    Q_PROPERTY(quint64 MeasurementMaxMeasurementCount READ MeasurementMaxMeasurementCount WRITE
                   setMeasurementMaxMeasurementCount NOTIFY MeasurementMaxMeasurementCountChanged)
    Q_PROPERTY(quint64 MappingMaxMeasurementCount READ MappingMaxMeasurementCount WRITE
                   setMappingMaxMeasurementCount NOTIFY MappingMaxMeasurementCountChanged)
    Q_PROPERTY(uint LogMaxHistoryCount READ LogMaxHistoryCount WRITE setLogMaxHistoryCount NOTIFY
                   LogMaxHistoryCountChanged)
    // Page switches and plot options: edits of the store itself (what the program uses at
    // once), still unsaved until Save.
    // The switches and 3-D view options show and edit the store's own values.
    TESVANA_SETTINGS(TESVANA_SETTING_PAGE_PROPERTY)
    Q_PROPERTY(int Mapping2DPlotHorizontalAxisType READ Mapping2DPlotHorizontalAxisType WRITE
                   setMapping2DPlotHorizontalAxisType NOTIFY StoreChanged)
    Q_PROPERTY(QStringList CameraPresetNames READ CameraPresetNames CONSTANT)
    Q_PROPERTY(QStringList XAxisTypeNames READ XAxisTypeNames CONSTANT)
    // "Korvelin Tesvana v1.2.4" and the Qt the program runs on.
    Q_PROPERTY(QString ProgramName READ ProgramName CONSTANT)
    Q_PROPERTY(QString QtVersion READ QtVersion CONSTANT)
    Q_PROPERTY(QString Logo READ Logo CONSTANT)
    // The counts the page takes: a value outside is refused where it is typed.
    Q_PROPERTY(double MinimumPointCount READ MinimumPointCount CONSTANT)
    Q_PROPERTY(double MaximumPointCount READ MaximumPointCount CONSTANT)
    Q_PROPERTY(double MinimumLogCount READ MinimumLogCount CONSTANT)
    Q_PROPERTY(double MaximumLogCount READ MaximumLogCount CONSTANT)

public:
    static constexpr quint64 MinimumPoints = 100;
    static constexpr quint64 MaximumPoints = 100000000;
    static constexpr uint MinimumLogLines = 10;
    static constexpr uint MaximumLogLines = 100000;

    explicit CSettingsPageViewModel(CSettings& settings, QObject* parent = nullptr);
    ~CSettingsPageViewModel() override;

    // The form of a long path that fits the page: shorter than 81 characters as it
    // is; otherwise leading folders give way to ".../", the last one always stays.
    static QString ShortPath(const QString& path);

    QString InstrumentParameterPath() const { return m_InstrumentParameterPath; }
    QString InstrumentDriverPluginsPath() const { return m_InstrumentDriverPluginsPath; }
    QString MapperPluginsPath() const { return m_MapperPluginsPath; }
    QString TriggerPluginsPath() const { return m_TriggerPluginsPath; }
    QString DefaultStoragePath() const { return m_DefaultStoragePath; }
    QString InstrumentParameterPathShort() const { return m_InstrumentParameterPathShort; }
    QString InstrumentDriverPluginsPathShort() const { return m_InstrumentDriverPluginsPathShort; }
    QString MapperPluginsPathShort() const { return m_MapperPluginsPathShort; }
    QString TriggerPluginsPathShort() const { return m_TriggerPluginsPathShort; }
    QString DefaultStoragePathShort() const { return m_DefaultStoragePathShort; }
    bool InstrumentParameterPathMissing() const;
    bool DefaultStoragePathMissing() const;
    bool SaveRecordingsAsCsv() const { return m_SaveRecordingsAsCsv; }
    bool CheckForNewVersion() const { return m_CheckForNewVersion; }
    quint64 MeasurementMaxMeasurementCount() const { return m_MeasurementMaxMeasurementCount; }
    quint64 MappingMaxMeasurementCount() const { return m_MappingMaxMeasurementCount; }
    uint LogMaxHistoryCount() const { return m_LogMaxHistoryCount; }
    TESVANA_SETTINGS(TESVANA_SETTING_PAGE_ACCESSORS)
    int Mapping2DPlotHorizontalAxisType() const;
    QStringList CameraPresetNames() const;
    QStringList XAxisTypeNames() const;
    static QString ProgramName();
    static QString QtVersion();
    static QString Logo();
    void setMapping2DPlotHorizontalAxisType(int value);
    double MinimumPointCount() const { return MinimumPoints; }
    double MaximumPointCount() const { return MaximumPoints; }
    double MinimumLogCount() const { return MinimumLogLines; }
    double MaximumLogCount() const { return MaximumLogLines; }

    void setInstrumentParameterPath(const QString& value);
    void setInstrumentDriverPluginsPath(const QString& value);
    void setMapperPluginsPath(const QString& value);
    void setTriggerPluginsPath(const QString& value);
    void setDefaultStoragePath(const QString& value);
    void setSaveRecordingsAsCsv(bool value);
    void setCheckForNewVersion(bool value);
    // Counts outside their bounds are refused (the value stays).
    void setMeasurementMaxMeasurementCount(quint64 value);
    void setMappingMaxMeasurementCount(quint64 value);
    void setLogMaxHistoryCount(uint value);

    // Writes the settings file; refused (and said) when a folder can be neither found nor made.
    Q_INVOKABLE bool save();
    Q_INVOKABLE void restore();
    Q_INVOKABLE void restoreDefaults();
    // Puts the store back as last saved; the page is being left without saving.
    void discardUnsavedParameters() override;
    // A folder dialog for the two folders that are kept in the settings file.
    Q_INVOKABLE void chooseInstrumentParameterPath();
    Q_INVOKABLE void chooseDefaultStoragePath();

public slots:
    QString HelpPath() override;
    void OnInstrumentParameterPathChanged();
    void OnInstrumentDriverPluginsPathChanged();
    void OnMapperPluginsPathChanged();
    void OnTriggerPluginsPathChanged();
    void OnDefaultStoragePathChanged();
    void OnSaveRecordingsAsCsvChanged();
    void OnCheckForNewVersionChanged();
    void OnMeasurementMaxMeasurementCountChanged();
    void OnMappingMaxMeasurementCountChanged();
    void OnLogMaxHistoryCountChanged();

signals:
    void InstrumentParameterPathChanged(QString value);
    void InstrumentDriverPluginsPathChanged(QString value);
    void MapperPluginsPathChanged(QString value);
    void TriggerPluginsPathChanged(QString value);
    void DefaultStoragePathChanged(QString value);
    void InstrumentParameterPathShortChanged(QString value);
    void InstrumentDriverPluginsPathShortChanged(QString value);
    void MapperPluginsPathShortChanged(QString value);
    void TriggerPluginsPathShortChanged(QString value);
    void DefaultStoragePathShortChanged(QString value);
    void SaveRecordingsAsCsvChanged(bool value);
    void CheckForNewVersionChanged(bool value);
    void MeasurementMaxMeasurementCountChanged(quint64 value);
    void MappingMaxMeasurementCountChanged(quint64 value);
    void LogMaxHistoryCountChanged(uint value);
    // A page switch or a plot option changed in the store (here or by a revert).
    void StoreChanged();

private:
    void SetParameterFromSettingsToViewModel();
    void SetParameterFromViewModelToSettings();
    // A setting the page binds straight to the store (modes, 3-D and 2-D plot options).
    void l_OnStoreEdited();
    void l_TellRestart();
    // The settings file could not be written.
    void l_TellNotSaved();
    // Puts back the store as it was saved (or found when the page opened).
    void l_Revert();
    void l_TakeSnapshot();

    CSettings& m_Settings;
    // True while values come from the store: they are no edits.
    bool m_Loading = false;
    // The store's values when last saved or opened, for leaving without saving.
    QVariantMap m_Snapshot;

    QString m_InstrumentParameterPath;
    QString m_InstrumentDriverPluginsPath;
    QString m_MapperPluginsPath;
    QString m_TriggerPluginsPath;
    QString m_DefaultStoragePath;
    QString m_InstrumentParameterPathShort;
    QString m_InstrumentDriverPluginsPathShort;
    QString m_MapperPluginsPathShort;
    QString m_TriggerPluginsPathShort;
    QString m_DefaultStoragePathShort;
    bool m_SaveRecordingsAsCsv = false;
    bool m_CheckForNewVersion = true;
    quint64 m_MeasurementMaxMeasurementCount = 0;
    quint64 m_MappingMaxMeasurementCount = 0;
    uint m_LogMaxHistoryCount = 0;
};
