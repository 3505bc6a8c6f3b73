#pragma once

#include <QObject>

#include <QString>
#include <QStringList>
#include <functional>
#include <type_traits>
#include <vector>

// Every setting, once, in the order of the file's elements. One line gives its property
// (getter, setter, NameChanged), its member, its factory value, its row in Entries() and,
// for the settings page, its mirror:
//   X(type, name, factory value, kind, where, page)
//   kind:  how the file writes and reads its text: Text, Flag ("1"/"0"), Count (a decimal whole
//          number up to the type's largest, an enumeration's last), Preset (a camera preset),
//          Zoom (finite)
//   where: File (kept in the file; Reset restores the factory value), FileKeptByReset (kept in
//          the file; the factory value at construction only, Reset leaves it), RunOnly (for this
//          run: the page edits it, the file never keeps it)
//   page:  Hidden (not on the settings page), Edited (the page holds an edit of its own, with
//          its own behaviour), Mirrored (the page shows and edits the store's own value)
#define TESVANA_SETTINGS(X)                                                                                  \
    X(QString, InstrumentParameterPath, CConstants::DefaultApplicationParameterStoragePath, Text, File,      \
      Edited)                                                                                                \
    X(QString, DefaultStoragePath, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),      \
      Text, File, Edited)                                                                                    \
    X(QString, IgnoreSpecificVersion, QString(), Text, File, Hidden)  /* the new-version dialog's */         \
    X(QString, RecentMeasurementFiles, QString(), Text, File, Hidden) /* the pages' own */                   \
    X(QString, RecentMappingFiles, QString(), Text, File, Hidden)                                            \
    X(QString, LastFolder, QString(), Text, File, Hidden)                                                    \
    X(QString, ReportSite, QString(), Text, File, Hidden) /* the report dialog's */                          \
    X(QString, ReportSurveyor, QString(), Text, File, Hidden)                                                \
    X(QString, ReportNotes, QString(), Text, File, Hidden)                                                   \
    X(bool, SaveRecordingsAsCsv, false, Flag, FileKeptByReset, Edited)                                       \
    X(bool, CheckForNewVersion, true, Flag, File, Edited)                                                    \
    X(quint64, MappingMaxMeasurementCount, 1000000, Count, File, Edited)                                     \
    X(quint64, MeasurementMaxMeasurementCount, 120000, Count, File, Edited)                                  \
    X(uint, LogMaxHistoryCount, 200, Count, File, Edited)                                                    \
    X(int, AveragingMode, 0, Count, File, Hidden) /* the charts' own */                                      \
    X(uint, AveragingCount, 1, Count, File, Hidden)                                                          \
    X(bool, EnableMeterMode, true, Flag, File, Mirrored)                                                     \
    X(bool, EnableSpectrumMode, true, Flag, File, Mirrored)                                                  \
    X(bool, EnableAcAnalysisMode, true, Flag, File, Mirrored)                                                \
    X(bool, EnableMappingMode, true, Flag, File, Mirrored)                                                   \
    X(int, Meter3DCameraPreset, DefaultCameraPreset, Preset, File, Mirrored)                                 \
    X(double, Meter3DZoomLevel, 90.0, Zoom, File, Mirrored)                                                  \
    X(bool, Meter3DOrthoProjection, false, Flag, File, Mirrored)                                             \
    X(int, Mapping3DCameraPreset, DefaultCameraPreset, Preset, File, Mirrored)                               \
    X(double, Mapping3DZoomLevel, 90.0, Zoom, File, Mirrored)                                                \
    X(bool, Mapping3DOrthoProjection, false, Flag, File, Mirrored)                                           \
    X(t_Mapping2DPlotHorizontalAxisType, Mapping2DPlotHorizontalAxisType, e_HorizAxisIsZPosition, Count,     \
      File, Edited) /* the page checks the number */                                                         \
    X(QString, InstrumentDriverPluginsPath, l_PluginRoot() + QStringLiteral("instrument"), Text, RunOnly,    \
      Edited)                                                                                                \
    X(QString, MapperPluginsPath, l_PluginRoot() + QStringLiteral("mapper"), Text, RunOnly, Edited)          \
    X(QString, TriggerPluginsPath, l_PluginRoot() + QStringLiteral("trigger"), Text, RunOnly, Edited)

// A setter takes a class by reference, a number by value.
template <typename T> using CSettingArgument = std::conditional_t<std::is_class<T>::value, const T&, T>;

// What one line of the list makes in the store.
#define TESVANA_SETTING_PROPERTY(Type, Name, Factory, Kind, Where, Page)                                     \
    Q_PROPERTY(Type Name READ Name WRITE set##Name NOTIFY Name##Changed)
// (The setters are the program's one setter rule, TESVANA_SETTER, defined in CSettings.cpp.)
#define TESVANA_SETTING_ACCESSORS(Type, Name, Factory, Kind, Where, Page)                                    \
    Type Name() const                                                                                        \
    {                                                                                                        \
        return m_##Name;                                                                                     \
    }                                                                                                        \
    void set##Name(CSettingArgument<Type> value);
#define TESVANA_SETTING_SIGNAL(Type, Name, Factory, Kind, Where, Page) void Name##Changed(Type value);
#define TESVANA_SETTING_MEMBER(Type, Name, Factory, Kind, Where, Page) Type m_##Name{};

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
    TESVANA_SETTINGS(TESVANA_SETTING_PROPERTY)
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
    // writer and the page follow this table, made from TESVANA_SETTINGS: a new
    // setting is one line there.
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

    TESVANA_SETTINGS(TESVANA_SETTING_ACCESSORS)
    QStringList CameraPresetNames() const { return m_CameraPresetNames; }
    QStringList XAxisTypeNames() const { return m_XAxisTypeNames; }

signals:
    TESVANA_SETTINGS(TESVANA_SETTING_SIGNAL)

private:
    QString l_PluginRoot() const;
    // The factory values; those that Reset leaves only with `all` (at construction).
    void l_Factory(bool all);
    QString m_AppDirPath;
    QString m_SettingsFolder;
    TESVANA_SETTINGS(TESVANA_SETTING_MEMBER)
    QStringList m_CameraPresetNames;
    QStringList m_XAxisTypeNames;
};
