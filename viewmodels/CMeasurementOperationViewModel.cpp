#include "viewmodels/CMeasurementOperationViewModel.h"

#include "app/CConstants.h"
#include "app/CPrompt.h"
#include "app/CSettings.h"
#include "app/CUtils.h"
#include "app/LogCategories.h"
#include "files/CResultsFileIndex.h"
#include "files/LimitsXmlFile.h"
#include "instruments/CInstrument.h"
#include "instruments/CTriggerPlugin.h"
#include "model/CBoundedParm.h"
#include "model/CDataset.h"
#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"
#include "operations/COperationMeasure.h"
#include "operations/CRecordingController.h"
#include "quickitems/CChartImageExporter.h"
#include "viewmodels/CDisplayPacer.h"
#include "viewmodels/CExposureViewModel.h"
#include "viewmodels/CReplayParametersViewModel.h"
#include "viewmodels/CReportViewModel.h"
#include "viewmodels/CTableText.h"

#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>

#include <cmath>

CMeasurementOperationViewModel::CMeasurementOperationViewModel(const QString& name, CSettings& settings,
                                                               COperationMeasure* operation, QObject* parent)
    : CMeasurementOperationViewModel(name, settings, operation, operation->RecordingManager(),
                                     new CReplayParametersViewModel(operation), Kind::Measurement, parent)
{
    m_pMeasure = operation;
    connect(operation, &COperationMeasure::NewMeasure, this, &CMeasurementOperationViewModel::CountRecorded);
    connect(operation->OperationParameters()->LimitsParameters(), &CLimitsParameters::LimitsFileNameChanged,
            this, [this] { emit LimitsFileNameChanged(LimitsFileName()); });
    // Before the pages' own handlers of the same signals, which assess again.
    m_pExposure = new CExposureViewModel(operation->LimitsFile(), this);
    m_pReport = new CReportViewModel(settings, operation, this);
    connect(operation, &COperationMeasure::LimitsFileLoadedChanged, m_pExposure,
            [this] { m_pExposure->Refresh(LimitsFileName()); });
    // Limits converted to another unit, or gone with a unit they cannot be given in.
    connect(operation->LimitsFile(), &LimitsXmlFile::ConvertedChanged, m_pExposure,
            [this] { m_pExposure->Refresh(LimitsFileName()); });
    m_pExposure->Refresh(LimitsFileName());
}

void CMeasurementOperationViewModel::AssessExposure(const CMeasureBlock* block)
{
    if (m_pExposure)
        m_pExposure->Assess(block, ParametersInUse()->AcquisitionRate());
}

CMeasurementOperationViewModel::CMeasurementOperationViewModel(const QString& name, CSettings& settings,
                                                               COperation* operation,
                                                               CRecordingManager* recorder,
                                                               CReplayParametersViewModel* replay, Kind kind,
                                                               QObject* parent)
    : COperationViewModel(name, parent), m_Settings(settings), m_pOperation(operation), m_pRecorder(recorder),
      m_pReplayParametersViewModel(replay), m_Kind(kind),
      m_pController(new CRecordingController(settings, operation, recorder, kind == Kind::Mapping, this)),
      m_pBarPacer(new CDisplayPacer(this))
{
    replay->setParent(this);
    // The recording bar's running count changes with every block: paced to the screen.
    connect(m_pController, &CRecordingController::RecordingTextChanged, this, [this](const QString& text) {
        m_RecordingKeptText = text;
        if (text.isEmpty())
        {
            m_pBarPacer->Drop(&m_RecordingKeptText);
            emit RecordingKeptTextChanged(m_RecordingKeptText);
        }
        else
            m_pBarPacer->Defer(&m_RecordingKeptText,
                               [this] { emit RecordingKeptTextChanged(m_RecordingKeptText); });
    });
    connect(m_pController, &CRecordingController::RetentionNoticeChanged, this,
            &CMeasurementOperationViewModel::RetentionNoticeChanged);
    connect(recorder->BaseDataSet(), &CDataset::FilePathChanged, this, &CPageViewModel::DocumentNameChanged);
    connect(recorder, &CRecordingManager::IndexingFinished, this,
            &CMeasurementOperationViewModel::l_OnOpened);
    for (auto signal : {&CRecordingManager::IsIndexingChanged, &CRecordingManager::IsReadOnDemandChanged})
        connect(recorder, signal, this, &CMeasurementOperationViewModel::OpeningChanged);
    connect(recorder, &CRecordingManager::WindowMoved, this, &CMeasurementOperationViewModel::OpeningChanged);
    connect(recorder, &CRecordingManager::IndexingProgressChanged, this,
            &CMeasurementOperationViewModel::OpeningChanged);
    connect(recorder, &CRecordingManager::ReadFailed, this, [this](const QString& reason) {
        if (m_pRecorder->IsPlayingBack())
            m_pRecorder->StopReplay();
        CUtils::errorMessage(tr("Could not read the recording"), reason);
    });
    connect(m_pController, &CRecordingController::RecordingStopped, this, [this](const QString& notice) {
        setCommentOverAll(m_pRecorder->BaseDataSet()->Comment());
        CUtils::errorMessage(tr("The recording was stopped"), notice);
    });
    connect(m_pOperation, &COperation::SessionInProgressChanged, this,
            &CMeasurementOperationViewModel::SessionInProgressChanged);
    for (auto changed : {&CSettings::Meter3DCameraPresetChanged, &CSettings::Mapping3DCameraPresetChanged})
        connect(&m_Settings, changed, this, &CMeasurementOperationViewModel::View3DChanged);
    for (auto changed : {&CSettings::Meter3DZoomLevelChanged, &CSettings::Mapping3DZoomLevelChanged})
        connect(&m_Settings, changed, this, &CMeasurementOperationViewModel::View3DChanged);
    for (auto changed : {&CSettings::RecentMeasurementFilesChanged, &CSettings::RecentMappingFilesChanged})
        connect(&m_Settings, changed, this, &CMeasurementOperationViewModel::RecentFilesChanged);
    for (auto changed :
         {&CSettings::Meter3DOrthoProjectionChanged, &CSettings::Mapping3DOrthoProjectionChanged})
        connect(&m_Settings, changed, this, &CMeasurementOperationViewModel::View3DChanged);
    CMeasurementParameters* m = m_pOperation->MeasurementParameters();
    connect(m, &CMeasurementParameters::UnitsChanged, this,
            &CMeasurementOperationViewModel::OnMeasureParametersUnitChanged);
    connect(m, &CMeasurementParameters::UncertaintyUnitsChanged, this,
            &CMeasurementOperationViewModel::OnMeasureParametersUncertaintyUnitChanged);
    connect(m_pRecorder->BaseDataSet(), &CDataset::MeasurementParametersUpdated, this,
            &CMeasurementOperationViewModel::OnMeasureParametersUnitChanged);
    l_EnsureKnownUnit();
    if (!m_pRecorder->IsDataLoaded())
        l_AttachOperationParameters();
    ApplyUnitsRule();

    for (auto signal : {&CRecordingManager::IsPlayingBackChanged, &CRecordingManager::IsRecordingChanged,
                        &CRecordingManager::IsIdleWithDataChanged, &CRecordingManager::IsHoldingChanged,
                        &CRecordingManager::ReplayStepByStepChanged, &CRecordingManager::IsDataLoadedChanged})
        connect(recorder, signal, this, &CMeasurementOperationViewModel::l_UpdateActions);
    connect(m_pOperation, &COperation::SessionInProgressChanged, this,
            &CMeasurementOperationViewModel::l_WatchInstrument);
    l_WatchInstrument();

    for (auto signal :
         {&CMeasurementParameters::AcquisitionRateChanged, &CMeasurementParameters::DisplayRateChanged})
        connect(m, signal, this, &CMeasurementOperationViewModel::l_UpdateParametersValid);
    for (auto signal : {&CMeasurementParameters::BlockSizeChanged, &CMeasurementParameters::AveragingChanged})
        connect(m, signal, this, &CMeasurementOperationViewModel::l_UpdateParametersValid);
    connect(m, &CMeasurementParameters::TriggerModeChanged, this,
            &CMeasurementOperationViewModel::l_UpdateParametersValid);
    connect(m, &CMeasurementParameters::TriggerPluginChanged, this,
            &CMeasurementOperationViewModel::l_UpdateParametersValid);
    connect(m_pOperation, &COperation::SessionInProgressChanged, this,
            &CMeasurementOperationViewModel::l_UpdateParametersValid);
    l_UpdateParametersValid();
}

void CMeasurementOperationViewModel::l_UpdateParametersValid()
{
    bool valid = true;
    if (CInstrument* probe = m_pOperation->Instrument())
    {
        const CMeasurementParameters& m = *m_pOperation->MeasurementParameters();
        const CTrigger::TriggerMode mode = m.TriggerMode();
        valid = probe->BlockSizeBound()->Allows(m.BlockSize()) &&
                probe->AveragingBound()->Allows(m.Averaging()) &&
                (mode == CTrigger::TriggerMode::IMMEDIATE ||
                 probe->AcquisitionRateBound()->Allows(m.AcquisitionRate())) &&
                (mode != CTrigger::TriggerMode::CONTINUOUS ||
                 probe->DisplayRateBound()->Allows(m.DisplayRate())) &&
                (mode != CTrigger::TriggerMode::EXTERNAL || m.TriggerPlugin());
    }
    if (valid == m_ParametersValid)
        return;
    m_ParametersValid = valid;
    emit ParametersValidChanged(valid);
}

void CMeasurementOperationViewModel::ShowNotice(const QString& text)
{
    if (text == m_InstrumentNotice)
        return;
    m_InstrumentNotice = text;
    emit InstrumentNoticeChanged(text);
}

void CMeasurementOperationViewModel::FollowAnalysisNotice()
{
    if (!m_pMeasure)
        return;
    const auto update = [this] { l_UpdateAnalysisNotice(); };
    CMeasurementParameters* m = m_pOperation->MeasurementParameters();
    connect(m, &CMeasurementParameters::AcquisitionRateChanged, this, update);
    connect(m, &CMeasurementParameters::UnitsChanged, this, update);
    connect(m_pRecorder, &CRecordingManager::IsDataLoadedChanged, this, update);
    connect(m_pRecorder->BaseDataSet(), &CDataset::MeasurementParametersUpdated, this, update);
    connect(m_pMeasure, &COperationMeasure::LimitsFileLoadedChanged, this, update);
    l_UpdateAnalysisNotice();
}

void CMeasurementOperationViewModel::l_UpdateAnalysisNotice()
{
    const CMeasurementParameters* m = ParametersInUse();
    const double rate = m->AcquisitionRate();
    QString text;
    if (!(rate > 0) || !std::isfinite(rate))
        text =
            tr("The acquisition rate (%1 Hz) is not a positive number: no spectrum, band or exposure index "
               "can be computed.")
                .arg(rate);
    else if (m_pMeasure->LimitsFileLoaded() && !IsFieldUnit(m->Units()))
        text = tr("The values are in %1, not a unit of the field: the limits and the exposure index do not "
                  "apply.")
                   .arg(m->Units() == CUnits::UnitType::UNKNOWN ? tr("an unknown unit")
                                                                : CUnitsToQString(m->Units()));
    if (text == m_AnalysisNotice)
        return;
    m_AnalysisNotice = text;
    emit AnalysisNoticeChanged(text);
}

QString CMeasurementOperationViewModel::LimitsFileName() const
{
    if (!m_pMeasure)
        return QString();
    const QString path = m_pMeasure->OperationParameters()->LimitsParameters()->LimitsFileName();
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

void CMeasurementOperationViewModel::chooseLimitsFile()
{
    if (!m_pMeasure)
        return;
    // The shipped limits first; the user's own folder when there are none.
    const QString shipped = m_Settings.ShippedLimitsPath();
    const QString folder = QFileInfo(shipped).isDir() ? shipped : m_Settings.DefaultStoragePath();
    const QString path =
        CPrompt::Current().OpenFileName(tr("Open limits file"), folder, QStringLiteral("XML (*.xml)"));
    if (!path.isEmpty())
        m_pMeasure->OperationParameters()->LimitsParameters()->setLimitsFilePath(path);
}

void CMeasurementOperationViewModel::clearLimitsFile()
{
    if (m_pMeasure)
        m_pMeasure->clearLimitsFile();
}

void CMeasurementOperationViewModel::CountRecorded(const QSharedPointer<CMeasureBlock>& block)
{
    m_pController->CountRecorded(block);
}

int CMeasurementOperationViewModel::VisibleActions(const State& s)
{
    int actions = 0;
    const auto show = [&actions](Action action, bool visible) {
        if (visible)
            actions |= action;
    };
    const bool resumeCase = s.playingBack ? s.holding : s.recording ? !s.running : true;
    show(Resume, s.connected && !s.running && !s.idleWithData && resumeCase);
    show(Step, s.playingBack && s.stepByStep);
    const bool holdCase =
        s.idleWithData && ((s.playingBack && !s.holding && !s.stepByStep) || (s.recording && s.running));
    show(Hold, s.connected ? (s.running || holdCase) : holdCase);
    show(Record, s.connected && !s.playingBack && !s.recording && !s.idleWithData);
    show(End, s.connected ? s.idleWithData : !s.playingBack && s.idleWithData);
    show(Stop, s.playingBack || s.recording);
    show(Playback, !s.playingBack && s.idleWithData);
    show(Load, !s.playingBack && !s.idleWithData && (!s.connected || !s.running));
    // Also without an instrument: a recording whose instrument was lost must still be saved.
    show(Save, s.idleWithData && !s.dataLoaded);
    show(ZeroOffset, s.connected && !s.idleWithData && !s.playingBack);
    show(ExportHdf5, s.idleWithData && !s.playingBack);
    return actions;
}

int CMeasurementOperationViewModel::VisibleMappingActions(const State& s, bool sessionInProgress)
{
    // A mapping run is a session of moves and measurements: Resume starts one, Hold
    // only pauses a replay, Load waits for the run to end.
    int actions = VisibleActions(s) & ~(Resume | Hold | Load);
    if (s.connected && (s.playingBack ? s.holding : !sessionInProgress && !s.idleWithData))
        actions |= Resume;
    if (s.playingBack && !s.holding && !s.stepByStep)
        actions |= Hold;
    if (!s.playingBack && !sessionInProgress)
        actions |= Load;
    return actions;
}

void CMeasurementOperationViewModel::l_WatchInstrument()
{
    disconnect(m_InstrumentRunning);
    disconnect(m_InstrumentConnected);
    if (CInstrument* instrument = m_pOperation->Instrument())
    {
        m_InstrumentRunning = connect(instrument, &CInstrument::IsRunningChanged, this,
                                      &CMeasurementOperationViewModel::l_UpdateActions);
        m_InstrumentConnected = connect(instrument, &CInstrument::IsConnectedChanged, this,
                                        &CMeasurementOperationViewModel::l_OnInstrumentConnectedChanged);
    }
    l_UpdateActions();
}

// An instrument lost (or disconnected) during a recording ends the recording: what
// was recorded stays, can be saved, and the page says so.
void CMeasurementOperationViewModel::l_OnInstrumentConnectedChanged(bool connected)
{
    CRecordingManager* recorder = m_pRecorder;
    if (!connected && m_pController->EndRecording())
    {
        setCommentOverAll(recorder->BaseDataSet()->Comment());
        m_InstrumentNotice =
            tr("The instrument was lost during the recording. The %1 blocks recorded are kept: "
               "save them before leaving this page.")
                .arg(recorder->NumBlocks());
        qCWarning(lcUi).noquote() << m_InstrumentNotice;
        emit InstrumentNoticeChanged(m_InstrumentNotice);
    }
    else if (connected && !m_InstrumentNotice.isEmpty())
    {
        m_InstrumentNotice.clear();
        emit InstrumentNoticeChanged(m_InstrumentNotice);
    }
    l_UpdateActions();
}

void CMeasurementOperationViewModel::l_UpdateActions()
{
    const CRecordingManager* r = m_pRecorder;
    const CInstrument* instrument = m_pOperation->Instrument();
    const bool connected = instrument && instrument->IsConnected();
    const State state{connected,
                      connected && instrument->IsRunning(),
                      r->IsPlayingBack(),
                      r->IsRecording(),
                      r->IsIdleWithData(),
                      r->IsHolding(),
                      r->ReplayStepByStep(),
                      r->IsDataLoaded()};
    const int actions = m_Kind == Kind::Mapping
                            ? VisibleMappingActions(state, m_pOperation->SessionInProgress())
                            : VisibleActions(state);
    if (actions == m_Actions)
        return;
    m_Actions = actions;
    emit ActionsChanged();
}

void CMeasurementOperationViewModel::l_EnsureKnownUnit()
{
    CMeasurementParameters* m = m_pOperation->MeasurementParameters();
    const CInstrument* instrument = m_pOperation->Instrument();
    if (m->Units() != CUnits::UnitType::UNKNOWN || !instrument || instrument->UnitList().isEmpty())
        return;
    const CUnits::UnitType unit = instrument->UnitList().constFirst();
    m->setUnits(unit);
    m->setDisplayUnits(unit);
    m->setUncertaintyUnits(ConvertUnitsToUncertaintyUnits(unit));
}

void CMeasurementOperationViewModel::l_AttachOperationParameters()
{
    m_pController->AttachOperationParameters();
}

CMeasurementParameters* CMeasurementOperationViewModel::ParametersInUse() const
{
    CRecordingManager* recorder = m_pRecorder;
    if (recorder->IsDataLoaded() && recorder->BaseDataSet()->MeasurementParameters())
        return recorder->BaseDataSet()->MeasurementParameters();
    return m_pOperation->MeasurementParameters();
}

void CMeasurementOperationViewModel::ApplyUnitsRule()
{
    const CMeasurementParameters* m = ParametersInUse();
    setDisplayUnits(m->Units());
    const CUnits::UnitType uncertainty = m->UncertaintyUnits();
    setDisplayUncertaintyUnits(
        uncertainty == CUnits::UnitType::PERCENT ? uncertainty : ConvertUnitsToUncertaintyUnits(m->Units()));
}

void CMeasurementOperationViewModel::OnMeasureParametersUnitChanged(CUnits::UnitType units)
{
    setDisplayUnits(units);
    if (DisplayUncertaintyUnits() != CUnits::UnitType::PERCENT)
        setDisplayUncertaintyUnits(ConvertUnitsToUncertaintyUnits(units));
}

void CMeasurementOperationViewModel::OnMeasureParametersUncertaintyUnitChanged(CUnits::UnitType units)
{
    setDisplayUncertaintyUnits(m_pRecorder->IsDataLoaded() ? ParametersInUse()->UncertaintyUnits() : units);
}

bool CMeasurementOperationViewModel::ConfirmDataLoss()
{
    // The one rule of every path that clears: asked only when something unsaved would be lost.
    if (!m_pRecorder->HasUnsavedData())
        return true;
    return CUtils::askDataLoseConfirmation(CConstants::QuitApplicationConfirmationMessage,
                                           CConstants::QuitApplicationConfirmationInformationMessage);
}

void CMeasurementOperationViewModel::hold()
{
    m_pController->Hold();
}

void CMeasurementOperationViewModel::record()
{
    m_pController->Record();
}

void CMeasurementOperationViewModel::start()
{
    m_pRecorder->StartReplay();
}

void CMeasurementOperationViewModel::step()
{
    m_pRecorder->StartReplay();
}

void CMeasurementOperationViewModel::playback()
{
    m_pRecorder->PlayNextStep();
}

void CMeasurementOperationViewModel::resume()
{
    const bool clears = m_pController->ResumeClearsData();
    if (clears && !ConfirmDataLoss())
        return;
    m_pController->Resume();
    if (clears)
        ApplyUnitsRule();
}

void CMeasurementOperationViewModel::stop()
{
    const bool recording = !m_pRecorder->IsPlayingBack() && m_pRecorder->IsRecording();
    m_pController->Stop();
    if (recording)
        setCommentOverAll(m_pRecorder->BaseDataSet()->Comment());
}

void CMeasurementOperationViewModel::end()
{
    if (!ConfirmDataLoss())
        return;
    m_pController->End();
    ApplyUnitsRule();
}

QString CMeasurementOperationViewModel::ProposedFileName(const QString& model, const QString& serialNumber,
                                                         const QDateTime& now, Kind kind)
{
    const QRegularExpressionMatch digits = QRegularExpression(QStringLiteral("\\d{4}")).match(model);
    return (digits.hasMatch() ? digits.captured(0) : QStringLiteral("0000")) + QLatin1Char('_') +
           serialNumber + QLatin1Char('_') +
           CNumberText::DateTime(now, QStringLiteral("yyyy-MM-dd_HH.mm.ss")) +
           (kind == Kind::Mapping ? QStringLiteral("_mapping.kxr.xml")
                                  : QStringLiteral("_measurement.kxr.xml"));
}

QString CMeasurementOperationViewModel::l_AskSavePath(const QString& title, const QString& suffix,
                                                      const QString& filter)
{
    const CInstrument* instrument = m_pOperation->Instrument();
    const QString proposed = ProposedFileName(instrument ? instrument->Model() : QString(),
                                              instrument ? instrument->SerialNumber() : QString(),
                                              QDateTime::currentDateTime(), m_Kind)
                                 .replace(QStringLiteral(".kxr.xml"), suffix);
    QString path =
        CPrompt::Current().SaveFileName(title, l_DialogFolder() + QLatin1Char('/') + proposed, filter);
    if (!path.isEmpty())
        l_Remember(path, false);
    return path;
}

void CMeasurementOperationViewModel::exportHdf5()
{
    const QString path =
        l_AskSavePath(tr("Export HDF5"), QStringLiteral(".h5"), QStringLiteral("HDF5 (*.h5 *.hdf5)"));
    QString error;
    if (!path.isEmpty() && !m_pRecorder->ExportHdf5(path, &error))
        CUtils::errorMessage(tr("Could not export the recording"), error);
}

void CMeasurementOperationViewModel::save()
{
    const QString path =
        l_AskSavePath(tr("Save File"), QStringLiteral(".kxr.xml"), QStringLiteral("XML (*.xml)"));
    if (path.isEmpty())
        return;
    if (m_pController->Save(path, nullptr))
        l_Remember(path, true);
    else
        CUtils::errorMessage(tr("Could not save file"), tr("Could not write file %1").arg(path));
}

void CMeasurementOperationViewModel::setImageScale(int scale)
{
    // Only the scales offered: a stray value would make a huge or an empty image.
    scale = scale >= 4 ? 4 : scale >= 2 ? 2 : 1;
    if (scale == m_ImageScale)
        return;
    m_ImageScale = scale;
    emit ImageScaleChanged(scale);
}

QString CMeasurementOperationViewModel::ChartTitle() const
{
    const QString name = Name();
    if (name == QLatin1String("SpectrumOperation"))
        return tr("Spectrum");
    if (name == QLatin1String("AcAnalysisOperation"))
        return tr("AC analysis");
    if (name == QLatin1String("MappingOperation"))
        return tr("Mapping");
    return tr("Meter");
}

void CMeasurementOperationViewModel::exportChartImage(QQuickItem* chart)
{
    const QString path =
        l_AskSavePath(tr("Export image"), QStringLiteral(".png"), tr("PNG image (*.png);;SVG image (*.svg)"));
    if (path.isEmpty())
        return;
    CChartImageExporter::Caption caption;
    caption.title = ChartTitle();
    caption.source = DocumentName();
    if (caption.source.isEmpty())
    {
        // Measured now: the instrument; a recording shown from elsewhere: its own header.
        const QString recorded = m_pRecorder->BaseDataSet()->InstrumentName();
        const CInstrument* instrument = m_pOperation->Instrument();
        caption.source = !recorded.isEmpty() ? recorded
                         : instrument ? instrument->Model() + QLatin1Char(' ') + instrument->SerialNumber()
                                      : QString();
    }
    QString error;
    if (!CChartImageExporter::Export(chart, path, m_ImageScale, caption, &error))
        CUtils::errorMessage(tr("Could not export the image"), error);
}

void CMeasurementOperationViewModel::copyTable(QAbstractItemModel* model, const QStringList& roles,
                                               const QStringList& headings)
{
    if (model)
        QGuiApplication::clipboard()->setText(CTableText::Text(*model, roles, headings, QLatin1Char('\t')));
}

void CMeasurementOperationViewModel::exportTable(QAbstractItemModel* model, const QStringList& roles,
                                                 const QStringList& headings)
{
    if (!model)
        return;
    const QString path = l_AskSavePath(tr("Export CSV"), QStringLiteral(".csv"), tr("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    // Written beside and put in place whole: a failed export leaves the old file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(CTableText::Text(*model, roles, headings, QLatin1Char(';')).toUtf8()) < 0 ||
        !file.commit())
        CUtils::errorMessage(tr("Could not export the table"), tr("Could not write file %1").arg(path));
}

QStringList CMeasurementOperationViewModel::RecentFiles() const
{
    // Files moved or deleted since are not offered.
    QStringList files;
    const auto recent = l_RecentList();
    for (const QString& path : recent)
        if (QFileInfo(path).isFile())
            files << path;
    return files;
}

QStringList CMeasurementOperationViewModel::l_RecentList() const
{
    return (m_Kind == Kind::Mapping ? m_Settings.RecentMappingFiles() : m_Settings.RecentMeasurementFiles())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString CMeasurementOperationViewModel::l_DialogFolder() const
{
    // The folder of the last file dialog, else the storage folder, made if missing (a first
    // start has none): a dialog never opens on a folder that is not there.
    if (!m_Settings.LastFolder().isEmpty() && QFileInfo(m_Settings.LastFolder()).isDir())
        return m_Settings.LastFolder();
    QDir().mkpath(m_Settings.DefaultStoragePath());
    return m_Settings.DefaultStoragePath();
}

void CMeasurementOperationViewModel::l_Remember(const QString& path, bool recent)
{
    m_Settings.setLastFolder(QFileInfo(path).absolutePath());
    if (recent && !path.contains(QLatin1Char('\n')))
    {
        QStringList files = l_RecentList();
        files.removeAll(path);
        files.prepend(path);
        while (files.size() > RecentFileCount)
            files.removeLast();
        const QString joined = files.join(QLatin1Char('\n'));
        if (m_Kind == Kind::Mapping)
            m_Settings.setRecentMappingFiles(joined);
        else
            m_Settings.setRecentMeasurementFiles(joined);
    }
    if (!m_Settings.Save())
        qCWarning(lcUi).noquote() << tr("Could not write %1").arg(m_Settings.FilePath());
}

void CMeasurementOperationViewModel::load()
{
    if (!ConfirmDataLoss())
        return;
    const QString path =
        CPrompt::Current().OpenFileName(tr("Open File"), l_DialogFolder(), QStringLiteral("XML (*.xml)"));
    if (!path.isEmpty())
        l_LoadFile(path);
}

void CMeasurementOperationViewModel::loadRecent(const QString& path)
{
    if (ConfirmDataLoss())
        l_LoadFile(path);
}

void CMeasurementOperationViewModel::l_LoadFile(const QString& path)
{
    QString reason, cutShort;
    if (m_pController->Load(path, &reason, &cutShort))
    {
        l_Remember(path, true);
        // A large file is being read in the background: its first block is shown now, the
        // whole of it in l_OnOpened.
        if (!m_pRecorder->IsIndexing())
            l_FinishLoad(cutShort);
        else if (m_pRecorder->HeldBlockCount() > 0)
            l_FinishLoad(QString());
        return;
    }
    ApplyUnitsRule();
    qCWarning(lcUi).noquote() << QStringLiteral("Error while loading file:") + reason;
    CUtils::errorMessage(CConstants::LoadFileErrorTitle,
                         m_Kind == Kind::Mapping ? tr("The file is not a valid Korvelin XML mapping file")
                                                 : reason);
}

void CMeasurementOperationViewModel::l_FinishLoad(const QString& cutShort)
{
    ApplyUnitsRule();
    OnDataLoaded();
    emit DatasetLoaded();
    if (!cutShort.isEmpty())
        CUtils::informationMessage(tr("The file was not finished"), cutShort);
}

void CMeasurementOperationViewModel::l_OnOpened(bool ok, const QString& message, const QString& notice)
{
    if (ok)
    {
        l_FinishLoad(notice);
        return;
    }
    if (message.isEmpty())
    {
        // Cancelled: by the user, and the page goes back to its own parameters; or by a new
        // recording, which goes on.
        if (!m_pRecorder->IsRecording() && !m_pOperation->SessionInProgress())
        {
            m_pController->End();
            ApplyUnitsRule();
        }
        return;
    }
    // The page stays usable with the operation's own parameters.
    m_pController->End();
    ApplyUnitsRule();
    qCWarning(lcUi).noquote() << QStringLiteral("Error while loading file:") + message;
    CUtils::errorMessage(CConstants::LoadFileErrorTitle, message);
}

void CMeasurementOperationViewModel::cancelOpening()
{
    m_pRecorder->cancelIndexing();
}

bool CMeasurementOperationViewModel::IsOpening() const
{
    return m_pRecorder->IsIndexing();
}

double CMeasurementOperationViewModel::OpeningProgress() const
{
    return m_pRecorder->IndexingProgress();
}

QString CMeasurementOperationViewModel::DocumentName() const
{
    return m_pRecorder->BaseDataSet()->FilePath();
}

QString CMeasurementOperationViewModel::OpenedFileText() const
{
    const QString name = m_pRecorder->BaseDataSet()->FilePath();
    if (m_pRecorder->IsIndexing())
        return tr("Opening %1: %2 %").arg(name).arg(int(m_pRecorder->IndexingProgress() * 100));
    const CResultsFileIndex* index = m_pRecorder->FileIndex();
    if (!index)
        return QString();
    const int first = m_pRecorder->WindowFirstBlock();
    const int count = m_pRecorder->HeldBlockCount();
    return tr("%1 is larger than memory keeps: blocks %2 to %3 of %4 are held, the others are read as "
              "needed.")
        .arg(name)
        .arg(first + 1)
        .arg(first + count)
        .arg(index->BlockCount());
}

void CMeasurementOperationViewModel::zeroOffset(bool forceCalibration)
{
    if (!m_pOperation->Instrument() || m_ZeroOffsetBusy)
        return;
    // Busy is shown first: the offset is taken on the next turn of the event loop, once the
    // dialog has drawn its indicator (a driver may take seconds).
    m_ZeroOffsetBusy = true;
    emit ZeroOffsetBusyChanged(true);
    QTimer::singleShot(50, this, [this, forceCalibration] {
        if (CInstrument* instrument = m_pOperation->Instrument())
            instrument->CalibrateZeroOffset(forceCalibration);
        m_ZeroOffsetBusy = false;
        emit ZeroOffsetBusyChanged(false);
    });
}

void CMeasurementOperationViewModel::restoreZeroOffsetToFactory()
{
    if (CInstrument* instrument = m_pOperation->Instrument())
        instrument->RestoreZeroOffsetToFactory();
}

void CMeasurementOperationViewModel::loadParameters()
{
    // Not while measuring (the button is disabled then); a load changes the unit, which
    // clears the data: asked first, as a unit change is.
    if (m_pOperation->SessionInProgress() || !ConfirmDataLoss())
        return;
    const QString path = CPrompt::Current().OpenFileName(tr("Open parameters to file"), l_DialogFolder(),
                                                         QStringLiteral("XML (*.xml)"));
    if (path.isEmpty())
        return;
    l_Remember(path, false);
    if (!m_pOperation->LoadParameters(path))
        CUtils::errorMessage(CConstants::LoadFileErrorTitle, CConstants::LoadFileErrorDetails);
}

void CMeasurementOperationViewModel::saveParameters()
{
    const QString proposed =
        (m_Kind == Kind::Mapping ? QStringLiteral("MappingParameters-")
                                 : QStringLiteral("MeasurementParameters-")) +
        CNumberText::DateTime(QDateTime::currentDateTime(), QStringLiteral("yyyy.MM.dd-HH.mm.ss")) +
        QStringLiteral(".xml");
    const QString path = CPrompt::Current().SaveFileName(tr("Save parameters to file"),
                                                         l_DialogFolder() + QLatin1Char('/') + proposed,
                                                         QStringLiteral("XML (*.xml)"));
    if (path.isEmpty())
        return;
    l_Remember(path, false);
    if (!m_pOperation->SaveParameters(path))
        CUtils::errorMessage(tr("Could not save file"), tr("Could not write file %1").arg(path));
}

TESVANA_SETTER(CMeasurementOperationViewModel, const QString&, CommentOverAll)

bool CMeasurementOperationViewModel::SessionInProgress() const
{
    return m_pOperation->SessionInProgress();
}

int CMeasurementOperationViewModel::View3DCameraPreset() const
{
    return int(m_Kind == Kind::Mapping ? m_Settings.Mapping3DCameraPreset()
                                       : m_Settings.Meter3DCameraPreset());
}

double CMeasurementOperationViewModel::View3DZoomLevel() const
{
    return m_Kind == Kind::Mapping ? m_Settings.Mapping3DZoomLevel() : m_Settings.Meter3DZoomLevel();
}

bool CMeasurementOperationViewModel::View3DOrthoProjection() const
{
    return m_Kind == Kind::Mapping ? m_Settings.Mapping3DOrthoProjection()
                                   : m_Settings.Meter3DOrthoProjection();
}

QString CMeasurementOperationViewModel::RetentionNotice() const
{
    return m_pController->RetentionNotice();
}
