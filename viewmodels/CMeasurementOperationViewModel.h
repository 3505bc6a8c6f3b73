#pragma once

#include "viewmodels/COperationViewModel.h"

#include <QAbstractItemModel>
#include <QSharedPointer>

#include <limits>

class CDisplayPacer;

class CSettings;
class COperation;
class COperationMeasure;
class CRecordingManager;
class QQuickItem;
class CMeasurementParameters;
class CReplayParametersViewModel;
class CMeasureBlock;
class CExposureViewModel;
class CReportViewModel;
class CRecordingController;

// The measurement pages' common view model: the recording bar's commands (record,
// hold, resume, stop, end, save, load, replay), zero offset and parameter files.
// Every dialog goes through the program's prompt.
class CMeasurementOperationViewModel : public COperationViewModel
{
    Q_OBJECT
    Q_PROPERTY(QString CommentOverAll READ CommentOverAll NOTIFY CommentOverAllChanged)
    Q_PROPERTY(CReplayParametersViewModel* ReplayParametersViewModel READ ReplayParametersViewModel CONSTANT)
    // Which buttons of the recording bar are shown, derived from the recorder's and
    // the instrument's states.
    Q_PROPERTY(bool ResumeVisible READ ResumeVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool StepVisible READ StepVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool HoldVisible READ HoldVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool RecordVisible READ RecordVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool EndVisible READ EndVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool StopVisible READ StopVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool PlaybackVisible READ PlaybackVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool LoadVisible READ LoadVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool SaveVisible READ SaveVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool ZeroOffsetVisible READ ZeroOffsetVisible NOTIFY ActionsChanged)
    Q_PROPERTY(bool ExportHdf5Visible READ ExportHdf5Visible NOTIFY ActionsChanged)
    // While recording: how much of the recording is kept ("kept 1.2 s of 34.5 s");
    // once the oldest blocks start being dropped, a notice saying so and where the
    // limit is raised. Empty otherwise.
    Q_PROPERTY(QString RecordingKeptText READ RecordingKeptText NOTIFY RecordingKeptTextChanged)
    // A large file being opened in the background (with its progress, 0 to 1), or the line
    // that says how much of a file read on demand is in memory.
    Q_PROPERTY(bool IsOpening READ IsOpening NOTIFY OpeningChanged)
    Q_PROPERTY(double OpeningProgress READ OpeningProgress NOTIFY OpeningChanged)
    Q_PROPERTY(QString OpenedFileText READ OpenedFileText NOTIFY OpeningChanged)
    Q_PROPERTY(QString RetentionNotice READ RetentionNotice NOTIFY RetentionNoticeChanged)
    // Set when the instrument goes away during a recording, which is then kept.
    Q_PROPERTY(QString InstrumentNotice READ InstrumentNotice NOTIFY InstrumentNoticeChanged)
    // Why the spectrum and AC pages show no spectrum, band or index for the data in use
    // (a rate that is no number, values in a unit that is not of the field); empty otherwise.
    Q_PROPERTY(QString AnalysisNotice READ AnalysisNotice NOTIFY AnalysisNoticeChanged)
    // The limits file the spectrum and AC pages compare against: its name, empty without one.
    Q_PROPERTY(QString LimitsFileName READ LimitsFileName NOTIFY LimitsFileNameChanged)
    // The recordings of this page's kind opened or saved last (that still exist), newest first.
    Q_PROPERTY(QStringList RecentFiles READ RecentFiles NOTIFY RecentFilesChanged)
    // Input: how many times the chart's size on screen an exported PNG is (1, 2 or 4).
    Q_PROPERTY(int ImageScale READ ImageScale WRITE setImageScale NOTIFY ImageScaleChanged)
    // Against those limits, the exposure indices of the block shown (measurement pages;
    // null on the mapping page).
    Q_PROPERTY(CExposureViewModel* Exposure READ Exposure CONSTANT)
    // Null on the mapping page.
    Q_PROPERTY(CReportViewModel* Report READ Report CONSTANT)
    // The page has a way back to its default parameters ("Default", setDefaultParameters).
    Q_PROPERTY(bool DefaultParametersOffered READ DefaultParametersOffered CONSTANT)
    // The parameters in force are within what the instrument takes: Resume and Record are
    // offered only then.
    Q_PROPERTY(bool ParametersValid READ ParametersValid NOTIFY ParametersValidChanged)
    // The zero offset is being taken (the dialog shows it is busy).
    Q_PROPERTY(bool ZeroOffsetBusy READ ZeroOffsetBusy NOTIFY ZeroOffsetBusyChanged)
    // A measurement runs: what may not change meanwhile is locked.
    Q_PROPERTY(bool SessionInProgress READ SessionInProgress NOTIFY SessionInProgressChanged)
    // The page's 3-D view as the settings give it (the meter's or the mapping's options).
    Q_PROPERTY(int View3DCameraPreset READ View3DCameraPreset NOTIFY View3DChanged)
    Q_PROPERTY(double View3DZoomLevel READ View3DZoomLevel NOTIFY View3DChanged)
    Q_PROPERTY(bool View3DOrthoProjection READ View3DOrthoProjection NOTIFY View3DChanged)
public:
    enum Action
    {
        Resume = 1 << 0,
        Step = 1 << 1,
        Hold = 1 << 2,
        Record = 1 << 3,
        End = 1 << 4,
        Stop = 1 << 5,
        Playback = 1 << 6,
        Load = 1 << 7,
        Save = 1 << 8,
        ZeroOffset = 1 << 9,
        ExportHdf5 = 1 << 10
    };
    // The buttons shown for a state of the recorder and the instrument.
    struct State
    {
        bool connected, running, playingBack, recording, idleWithData, holding, stepByStep, dataLoaded;
    };
    static int VisibleActions(const State& state);
    // The mapping page's variants of Resume, Hold and Load.
    static int VisibleMappingActions(const State& state, bool sessionInProgress);
    bool ResumeVisible() const { return m_Actions & Resume; }
    bool StepVisible() const { return m_Actions & Step; }
    bool HoldVisible() const { return m_Actions & Hold; }
    bool RecordVisible() const { return m_Actions & Record; }
    bool EndVisible() const { return m_Actions & End; }
    bool StopVisible() const { return m_Actions & Stop; }
    bool PlaybackVisible() const { return m_Actions & Playback; }
    bool LoadVisible() const { return m_Actions & Load; }
    bool SaveVisible() const { return m_Actions & Save; }
    bool ZeroOffsetVisible() const { return m_Actions & ZeroOffset; }
    bool ExportHdf5Visible() const { return m_Actions & ExportHdf5; }
    QString RecordingKeptText() const { return m_RecordingKeptText; }
    bool IsOpening() const;
    double OpeningProgress() const;
    QString OpenedFileText() const;
    QString RetentionNotice() const;
    QString InstrumentNotice() const { return m_InstrumentNotice; }
    QString AnalysisNotice() const { return m_AnalysisNotice; }
    QString LimitsFileName() const;
    QString DocumentName() const override;
    QStringList RecentFiles() const;
    static constexpr int RecentFileCount = 5;
    int ImageScale() const { return m_ImageScale; }
    void setImageScale(int scale);
    CExposureViewModel* Exposure() const { return m_pExposure; }
    CReportViewModel* Report() const { return m_pReport; }

    // What the page's recordings are: file names and messages differ.
    enum class Kind
    {
        Measurement,
        Mapping
    };

    CMeasurementOperationViewModel(const QString& name, CSettings& settings, COperationMeasure* operation,
                                   QObject* parent = nullptr);

    QString CommentOverAll() const { return m_CommentOverAll; }
    CReplayParametersViewModel* ReplayParametersViewModel() const { return m_pReplayParametersViewModel; }
    // The measurement operation of a measurement page; null on the mapping page.
    COperationMeasure* Operation() const { return m_pMeasure; }
    COperation* BaseOperation() const { return m_pOperation; }
    CRecordingManager* Recorder() const { return m_pRecorder; }
    CRecordingController* Controller() const { return m_pController; }

    // The file name `save()` proposes for an instrument model and serial number.
    static QString ProposedFileName(const QString& model, const QString& serialNumber, const QDateTime& now,
                                    Kind kind = Kind::Measurement);

    Q_INVOKABLE void hold();
    Q_INVOKABLE void record();
    Q_INVOKABLE virtual void start();
    Q_INVOKABLE void stop();
    Q_INVOKABLE void load();
    Q_INVOKABLE void cancelOpening();
    Q_INVOKABLE void end();
    Q_INVOKABLE void save();
    // "Export HDF5…": the recording (saved, loaded or not) as HDF5, for analysis elsewhere.
    Q_INVOKABLE void exportHdf5();
    Q_INVOKABLE void zeroOffset(bool forceCalibration);
    Q_INVOKABLE void restoreZeroOffsetToFactory();
    Q_INVOKABLE void playback();
    Q_INVOKABLE virtual void resume();
    Q_INVOKABLE void step();
    // The page's default measurement parameters, put in force.
    Q_INVOKABLE virtual void setDefaultParameters() {}
    virtual bool DefaultParametersOffered() const { return false; }
    bool ParametersValid() const { return m_ParametersValid; }
    bool ZeroOffsetBusy() const { return m_ZeroOffsetBusy; }
    Q_INVOKABLE void loadParameters();
    Q_INVOKABLE void saveParameters();
    // A limits file chosen in the file dialog, which opens on the limits shipped with the program.
    Q_INVOKABLE void chooseLimitsFile();
    // "Export image": the chart as PNG (at ImageScale) or SVG, the file name proposed like the
    // results file's, with the page's title, the file or instrument and the time spanned.
    Q_INVOKABLE void exportChartImage(QQuickItem* chart);
    Q_INVOKABLE void clearLimitsFile();
    // A recording of RecentFiles read in place of what is held (asking first as Load does).
    Q_INVOKABLE void loadRecent(const QString& path);
    // A table of the page, its `roles` under `headings`: "Copy" puts it on the clipboard as
    // tab-separated text; "Export CSV…" writes it to a file the user names.
    Q_INVOKABLE void copyTable(QAbstractItemModel* model, const QStringList& roles,
                               const QStringList& headings);
    Q_INVOKABLE void exportTable(QAbstractItemModel* model, const QStringList& roles,
                                 const QStringList& headings);

public slots:
    void OnMeasureParametersUnitChanged(CUnits::UnitType units);
    void OnMeasureParametersUncertaintyUnitChanged(CUnits::UnitType units);

    bool SessionInProgress() const;
    int View3DCameraPreset() const;
    double View3DZoomLevel() const;
    bool View3DOrthoProjection() const;

signals:
    void SessionInProgressChanged();
    void View3DChanged();
    void ParametersValidChanged(bool value);
    void ZeroOffsetBusyChanged(bool value);
    void CommentOverAllChanged(QString value);
    void ActionsChanged();
    void RecordingKeptTextChanged(QString value);
    void OpeningChanged();
    void RetentionNoticeChanged(QString value);
    void InstrumentNoticeChanged(QString value);
    void AnalysisNoticeChanged(QString value);
    void LimitsFileNameChanged(QString value);
    void ImageScaleChanged(int value);
    void RecentFilesChanged();
    // An alarm to announce in the system tray (and with a beep).
    void AlarmNotification(QString title, QString message, bool beep);

protected:
    CMeasurementOperationViewModel(const QString& name, CSettings& settings, COperation* operation,
                                   CRecordingManager* recorder, CReplayParametersViewModel* replay, Kind kind,
                                   QObject* parent);
    // The exposure indices of `block` (null: none shown), at the rate in use.
    void AssessExposure(const CMeasureBlock* block);
    // Says on the page what went wrong with the run (with the instrument notice).
    void ShowNotice(const QString& text);
    // True when nothing unsaved would be lost, or the user agrees to lose it.
    bool ConfirmDataLoss();
    // For the pages that analyse frequencies: the analysis notice follows the data in use.
    void FollowAnalysisNotice();
    // Counts a block the operation delivered (for the retention notice).
    void CountRecorded(const QSharedPointer<CMeasureBlock>& block);
    // After a results file loaded, before DatasetLoaded.
    virtual void OnDataLoaded() {}
    // The parameters in use: those loaded with a data set, else the operation's own.
    CMeasurementParameters* ParametersInUse() const;
    void ApplyUnitsRule();
    // What an exported chart is called ("Meter"; the spectrum names its quantity).
    virtual QString ChartTitle() const;
    CSettings& m_Settings;

private:
    // A first start has no unit yet: the instrument's first one, so that no value is
    // shown or recorded without a unit.
    void l_EnsureKnownUnit();
    void l_AttachOperationParameters();
    // The file a save or export goes to, asked with the name proposed for the recording
    // (its ending `suffix`); empty when the user cancels.
    QString l_AskSavePath(const QString& title, const QString& suffix, const QString& filter);

    void l_UpdateActions();
    void l_LoadFile(const QString& path);
    QStringList l_RecentList() const;
    // Where a file dialog opens.
    QString l_DialogFolder() const;
    // A file chosen: its folder opens the next dialog; a recording read or saved heads the
    // recent files.
    void l_Remember(const QString& path, bool recent);
    // A file read: the units, the pages, and what a file cut short lost.
    void l_FinishLoad(const QString& cutShort);
    void l_OnOpened(bool ok, const QString& message, const QString& notice);
    void l_UpdateAnalysisNotice();
    void l_OnInstrumentConnectedChanged(bool connected);
    void l_WatchInstrument();

    COperation* m_pOperation;
    bool m_ParametersValid = true;
    bool m_ZeroOffsetBusy = false;
    void l_UpdateParametersValid();
    CRecordingManager* m_pRecorder;
    COperationMeasure* m_pMeasure = nullptr;
    CExposureViewModel* m_pExposure = nullptr;
    CReportViewModel* m_pReport = nullptr;
    CReplayParametersViewModel* m_pReplayParametersViewModel;
    Kind m_Kind;
    int m_Actions = 0;
    // The recording workflow, shared with the command-line tool.
    CRecordingController* m_pController;
    // The recording bar's running count changes with every block: its change signal goes
    // out on the pacers' common beat, with the chart's, not in a frame of its own.
    CDisplayPacer* m_pBarPacer;
    QString m_RecordingKeptText;
    QString m_InstrumentNotice;
    QString m_AnalysisNotice;
    QMetaObject::Connection m_InstrumentConnected;
    QMetaObject::Connection m_InstrumentRunning;
    QString m_CommentOverAll;
    int m_ImageScale = 2;

protected:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setCommentOverAll(const QString& value);
};
