#pragma once

#include <QObject>

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Application-wide preferences, persisted in "TesvanaApplicationSettings.xml".
class CSettings : public QObject
{
    Q_OBJECT
public:
    enum t_Mapping2DPlotHorizontalAxisType
    {
        e_HorizAxisIsTime = 0,
        e_HorizAxisIsXPosition = 1,
        e_HorizAxisIsYPosition = 2,
        e_HorizAxisIsZPosition = 3
    };
    Q_ENUM(t_Mapping2DPlotHorizontalAxisType)

    // The 3-D views' camera presets are QtDataVisualization's Q3DCamera::CameraPreset
    // numbers, kept as numbers: what reads a setting needs no 3-D module.
    static constexpr int DefaultCameraPreset = 14; // CameraPresetIsometricRight

private:
    Q_PROPERTY(QString InstrumentParameterPath READ InstrumentParameterPath WRITE setInstrumentParameterPath
                   NOTIFY InstrumentParameterPathChanged)
    Q_PROPERTY(QString InstrumentDriverPluginsPath READ InstrumentDriverPluginsPath WRITE
                   setInstrumentDriverPluginsPath NOTIFY InstrumentDriverPluginsPathChanged)
    Q_PROPERTY(QString MapperPluginsPath READ MapperPluginsPath WRITE setMapperPluginsPath NOTIFY
                   MapperPluginsPathChanged)
    Q_PROPERTY(QString TriggerPluginsPath READ TriggerPluginsPath WRITE setTriggerPluginsPath NOTIFY
                   TriggerPluginsPathChanged)
    Q_PROPERTY(QString DefaultStoragePath READ DefaultStoragePath WRITE setDefaultStoragePath NOTIFY
                   DefaultStoragePathChanged)
    Q_PROPERTY(bool SaveRecordingsAsCsv READ SaveRecordingsAsCsv WRITE setSaveRecordingsAsCsv NOTIFY
                   SaveRecordingsAsCsvChanged)
    Q_PROPERTY(bool CheckForNewVersion READ CheckForNewVersion WRITE setCheckForNewVersion NOTIFY
                   CheckForNewVersionChanged)
    Q_PROPERTY(QString IgnoreSpecificVersion READ IgnoreSpecificVersion WRITE setIgnoreSpecificVersion NOTIFY
                   IgnoreSpecificVersionChanged)
    Q_PROPERTY(QString RecentMeasurementFiles READ RecentMeasurementFiles WRITE setRecentMeasurementFiles
                   NOTIFY RecentMeasurementFilesChanged)
    Q_PROPERTY(QString RecentMappingFiles READ RecentMappingFiles WRITE setRecentMappingFiles NOTIFY
                   RecentMappingFilesChanged)
    Q_PROPERTY(QString LastFolder READ LastFolder WRITE setLastFolder NOTIFY LastFolderChanged)
    Q_PROPERTY(QString ReportSite READ ReportSite WRITE setReportSite NOTIFY ReportSiteChanged)
    Q_PROPERTY(
        QString ReportSurveyor READ ReportSurveyor WRITE setReportSurveyor NOTIFY ReportSurveyorChanged)
    Q_PROPERTY(QString ReportNotes READ ReportNotes WRITE setReportNotes NOTIFY ReportNotesChanged)
    Q_PROPERTY(quint64 MeasurementMaxMeasurementCount READ MeasurementMaxMeasurementCount WRITE
                   setMeasurementMaxMeasurementCount NOTIFY MeasurementMaxMeasurementCountChanged)
    Q_PROPERTY(quint64 MappingMaxMeasurementCount READ MappingMaxMeasurementCount WRITE
                   setMappingMaxMeasurementCount NOTIFY MappingMaxMeasurementCountChanged)
    Q_PROPERTY(uint LogMaxHistoryCount READ LogMaxHistoryCount WRITE setLogMaxHistoryCount NOTIFY
                   LogMaxHistoryCountChanged)
    Q_PROPERTY(uint AveragingCount READ AveragingCount WRITE setAveragingCount NOTIFY AveragingCountChanged)
    Q_PROPERTY(int AveragingMode READ AveragingMode WRITE setAveragingMode NOTIFY AveragingModeChanged)
    Q_PROPERTY(
        bool EnableMeterMode READ EnableMeterMode WRITE setEnableMeterMode NOTIFY EnableMeterModeChanged)
    Q_PROPERTY(bool EnableSpectrumMode READ EnableSpectrumMode WRITE setEnableSpectrumMode NOTIFY
                   EnableSpectrumModeChanged)
    Q_PROPERTY(bool EnableAcAnalysisMode READ EnableAcAnalysisMode WRITE setEnableAcAnalysisMode NOTIFY
                   EnableAcAnalysisModeChanged)
    Q_PROPERTY(bool EnableMappingMode READ EnableMappingMode WRITE setEnableMappingMode NOTIFY
                   EnableMappingModeChanged)
    Q_PROPERTY(int Meter3DCameraPreset READ Meter3DCameraPreset WRITE setMeter3DCameraPreset NOTIFY
                   Meter3DCameraPresetChanged)
    Q_PROPERTY(double Meter3DZoomLevel READ Meter3DZoomLevel WRITE setMeter3DZoomLevel NOTIFY
                   Meter3DZoomLevelChanged)
    Q_PROPERTY(bool Meter3DOrthoProjection READ Meter3DOrthoProjection WRITE setMeter3DOrthoProjection NOTIFY
                   Meter3DOrthoProjectionChanged)
    Q_PROPERTY(int Mapping3DCameraPreset READ Mapping3DCameraPreset WRITE setMapping3DCameraPreset NOTIFY
                   Mapping3DCameraPresetChanged)
    Q_PROPERTY(double Mapping3DZoomLevel READ Mapping3DZoomLevel WRITE setMapping3DZoomLevel NOTIFY
                   Mapping3DZoomLevelChanged)
    Q_PROPERTY(bool Mapping3DOrthoProjection READ Mapping3DOrthoProjection WRITE setMapping3DOrthoProjection
                   NOTIFY Mapping3DOrthoProjectionChanged)
    Q_PROPERTY(
        t_Mapping2DPlotHorizontalAxisType Mapping2DPlotHorizontalAxisType READ Mapping2DPlotHorizontalAxisType
            WRITE setMapping2DPlotHorizontalAxisType NOTIFY Mapping2DPlotHorizontalAxisTypeChanged)
    Q_PROPERTY(QStringList CameraPresetNames READ CameraPresetNames CONSTANT)
    Q_PROPERTY(QStringList XAxisTypeNames READ XAxisTypeNames CONSTANT)

public:
    // `settingsFolder` defaults to the application-data folder of the program;
    // tests point it elsewhere.
    explicit CSettings(const QString& appDirPath, QObject* parent = nullptr,
                       const QString& settingsFolder = QString());

    // The factory settings; with `save`, written to the file (false when that failed).
    bool Reset(bool save);
    void Load();
    bool Save();

    // One entry per setting, in the order of the file's elements: its name (the
    // property's and the element's), whether the file stores it, whether the
    // settings page edits it (and so undoes it), and how its text is written and
    // read (false: the text is refused, the value in force stays). The reader, the
    // writer and the page follow this table: a new setting is its property and
    // one entry here.
    struct Entry
    {
        const char* Name;
        bool Stored;
        bool OnPage;
        QString (*Write)(const CSettings&);
        bool (*Read)(CSettings&, const QString&);
    };
    static const std::vector<Entry>& Entries();
    // Writes one change into the file as it stands, leaving every other value of the file
    // (and the unsaved edits held here) as they are; the change is made here too.
    bool SaveAlone(const std::function<void(CSettings&)>& change);
    QString FilePath() const;
    // The exposure limits files installed with the program.
    QString ShippedLimitsPath() const;
    // The help pages installed with the program.
    QString HelpFolder() const;

    QString InstrumentParameterPath() const { return m_InstrumentParameterPath; }
    QString InstrumentDriverPluginsPath() const { return m_InstrumentDriverPluginsPath; }
    QString MapperPluginsPath() const { return m_MapperPluginsPath; }
    QString TriggerPluginsPath() const { return m_TriggerPluginsPath; }
    QString DefaultStoragePath() const { return m_DefaultStoragePath; }
    bool SaveRecordingsAsCsv() const { return m_SaveRecordingsAsCsv; }
    bool CheckForNewVersion() const { return m_CheckForNewVersion; }
    QString IgnoreSpecificVersion() const { return m_IgnoreSpecificVersion; }
    // The recordings opened or saved last, newest first, one path a line; the folder of the
    // last file dialog.
    QString RecentMeasurementFiles() const { return m_RecentMeasurementFiles; }
    QString RecentMappingFiles() const { return m_RecentMappingFiles; }
    QString LastFolder() const { return m_LastFolder; }
    // What the last survey report said of its site, surveyor and notes.
    QString ReportSite() const { return m_ReportSite; }
    QString ReportSurveyor() const { return m_ReportSurveyor; }
    QString ReportNotes() const { return m_ReportNotes; }
    quint64 MeasurementMaxMeasurementCount() const { return m_MeasurementMaxMeasurementCount; }
    quint64 MappingMaxMeasurementCount() const { return m_MappingMaxMeasurementCount; }
    uint LogMaxHistoryCount() const { return m_LogMaxHistoryCount; }
    uint AveragingCount() const { return m_AveragingCount; }
    int AveragingMode() const { return m_AveragingMode; }
    bool EnableMeterMode() const { return m_EnableMeterMode; }
    bool EnableSpectrumMode() const { return m_EnableSpectrumMode; }
    bool EnableAcAnalysisMode() const { return m_EnableAcAnalysisMode; }
    bool EnableMappingMode() const { return m_EnableMappingMode; }
    int Meter3DCameraPreset() const { return m_Meter3DCameraPreset; }
    double Meter3DZoomLevel() const { return m_Meter3DZoomLevel; }
    bool Meter3DOrthoProjection() const { return m_Meter3DOrthoProjection; }
    int Mapping3DCameraPreset() const { return m_Mapping3DCameraPreset; }
    double Mapping3DZoomLevel() const { return m_Mapping3DZoomLevel; }
    bool Mapping3DOrthoProjection() const { return m_Mapping3DOrthoProjection; }
    t_Mapping2DPlotHorizontalAxisType Mapping2DPlotHorizontalAxisType() const
    {
        return m_Mapping2DPlotHorizontalAxisType;
    }
    QStringList CameraPresetNames() const { return m_CameraPresetNames; }
    QStringList XAxisTypeNames() const { return m_XAxisTypeNames; }

public slots:
    void setInstrumentParameterPath(const QString& value);
    void setInstrumentDriverPluginsPath(const QString& value);
    void setMapperPluginsPath(const QString& value);
    void setTriggerPluginsPath(const QString& value);
    void setDefaultStoragePath(const QString& value);
    void setSaveRecordingsAsCsv(bool value);
    void setCheckForNewVersion(bool value);
    void setIgnoreSpecificVersion(const QString& value);
    void setRecentMeasurementFiles(const QString& value);
    void setRecentMappingFiles(const QString& value);
    void setLastFolder(const QString& value);
    void setReportSite(const QString& value);
    void setReportSurveyor(const QString& value);
    void setReportNotes(const QString& value);
    void setMeasurementMaxMeasurementCount(quint64 value);
    void setMappingMaxMeasurementCount(quint64 value);
    void setLogMaxHistoryCount(uint value);
    void setAveragingCount(uint value);
    void setAveragingMode(int value);
    void setEnableMeterMode(bool value);
    void setEnableSpectrumMode(bool value);
    void setEnableAcAnalysisMode(bool value);
    void setEnableMappingMode(bool value);
    void setMeter3DCameraPreset(int value);
    void setMeter3DZoomLevel(double value);
    void setMeter3DOrthoProjection(bool value);
    void setMapping3DCameraPreset(int value);
    void setMapping3DZoomLevel(double value);
    void setMapping3DOrthoProjection(bool value);
    void setMapping2DPlotHorizontalAxisType(t_Mapping2DPlotHorizontalAxisType value);

signals:
    void InstrumentParameterPathChanged(QString value);
    void InstrumentDriverPluginsPathChanged(QString value);
    void MapperPluginsPathChanged(QString value);
    void TriggerPluginsPathChanged(QString value);
    void DefaultStoragePathChanged(QString value);
    void SaveRecordingsAsCsvChanged(bool value);
    void CheckForNewVersionChanged(bool value);
    void IgnoreSpecificVersionChanged(QString value);
    void RecentMeasurementFilesChanged(QString value);
    void RecentMappingFilesChanged(QString value);
    void LastFolderChanged(QString value);
    void ReportSiteChanged(QString value);
    void ReportSurveyorChanged(QString value);
    void ReportNotesChanged(QString value);
    void MeasurementMaxMeasurementCountChanged(quint64 value);
    void MappingMaxMeasurementCountChanged(quint64 value);
    void LogMaxHistoryCountChanged(uint value);
    void AveragingCountChanged(uint value);
    void AveragingModeChanged(int value);
    void EnableMeterModeChanged(bool value);
    void EnableSpectrumModeChanged(bool value);
    void EnableAcAnalysisModeChanged(bool value);
    void EnableMappingModeChanged(bool value);
    void Meter3DCameraPresetChanged(int value);
    void Meter3DZoomLevelChanged(double value);
    void Meter3DOrthoProjectionChanged(bool value);
    void Mapping3DCameraPresetChanged(int value);
    void Mapping3DZoomLevelChanged(double value);
    void Mapping3DOrthoProjectionChanged(bool value);
    void Mapping2DPlotHorizontalAxisTypeChanged(t_Mapping2DPlotHorizontalAxisType value);

private:
    QString l_PluginRoot() const;
    QString m_AppDirPath;
    QString m_SettingsFolder;
    QString m_InstrumentParameterPath;
    QString m_InstrumentDriverPluginsPath;
    QString m_MapperPluginsPath;
    QString m_TriggerPluginsPath;
    QString m_DefaultStoragePath;
    bool m_SaveRecordingsAsCsv = false;
    bool m_CheckForNewVersion = true;
    QString m_IgnoreSpecificVersion;
    QString m_RecentMeasurementFiles;
    QString m_RecentMappingFiles;
    QString m_LastFolder;
    QString m_ReportSite;
    QString m_ReportSurveyor;
    QString m_ReportNotes;
    quint64 m_MeasurementMaxMeasurementCount = 120000;
    quint64 m_MappingMaxMeasurementCount = 1000000;
    uint m_LogMaxHistoryCount = 200;
    uint m_AveragingCount = 1;
    int m_AveragingMode = 0;
    bool m_EnableMeterMode = true;
    bool m_EnableSpectrumMode = true;
    bool m_EnableAcAnalysisMode = true;
    bool m_EnableMappingMode = true;
    int m_Meter3DCameraPreset = DefaultCameraPreset;
    double m_Meter3DZoomLevel = 90.0;
    bool m_Meter3DOrthoProjection = false;
    int m_Mapping3DCameraPreset = DefaultCameraPreset;
    double m_Mapping3DZoomLevel = 90.0;
    bool m_Mapping3DOrthoProjection = false;
    t_Mapping2DPlotHorizontalAxisType m_Mapping2DPlotHorizontalAxisType = e_HorizAxisIsZPosition;
    QStringList m_CameraPresetNames;
    QStringList m_XAxisTypeNames;
};
