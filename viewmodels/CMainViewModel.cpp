#include "viewmodels/CMainViewModel.h"

#include "app/CConstants.h"
#include "app/CPrompt.h"

#include "app/CSettings.h"
#include "app/CUtils.h"
#include "app/LogCategories.h"
#include "instruments/CInstrument.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CMapperPlugin.h"
#include "instruments/CTriggerPlugin.h"
#include "model/TesvanaSetter.h"
#include "operations/COperationsManager.h"
#include "viewmodels/CAcAnalysisOperationViewModel.h"
#include "viewmodels/CConnectionPageViewModel.h"
#include "viewmodels/CHelpPages.h"
#include "viewmodels/CMappingOperationViewModel.h"
#include "viewmodels/CMeterOperationViewModel.h"
#include "viewmodels/CPageViewModel.h"
#include "viewmodels/CSettingsPageViewModel.h"
#include "viewmodels/CSpectrumOperationViewModel.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QQmlContext>
#include <QUrl>

namespace
{
const QString NoInstrument = QStringLiteral("--");
}

CMainViewModel::CMainViewModel(CSettings& settings, QQmlContext* context, COperationsManager& operations,
                               CInstrumentSupervisor& supervisor, QObject* parent)
    : QObject(parent), m_Settings(settings), m_pContext(context), m_OperationsManager(operations),
      m_InstrumentSupervisor(supervisor), m_LogMessageList(settings), m_LogMessageProxy()
{
    if (m_pContext)
        m_pContext->setContextProperty(QStringLiteral("MainViewModel"), this);
    connect(&m_InstrumentSupervisor, &CInstrumentSupervisor::HasActiveInstrumentChanged, this,
            &CMainViewModel::OnHasActiveInstrumentChanged);
    setInstrumentModel(NoInstrument);
    setInstrumentSerialNumber(NoInstrument);
    setInstrumentStatus(NoInstrument);
    m_LogMessageProxy.setSourceModel(&m_LogMessageList);
}

CMainViewModel::~CMainViewModel()
{
    delete m_pActivePageViewModel;
}

CInstrument* CMainViewModel::CurrentInstrument() const
{
    return m_CurrentInstrument.data();
}

void CMainViewModel::displayMeterPage()
{
    COperationMeasure* operation = m_OperationsManager.MeasureOperation();
    l_DisplayMeasurementPage(QStringLiteral("MeterOperationViewModel"), QStringLiteral("Pages/MeterPage.qml"),
                             operation, [this, operation]() -> CMeasurementOperationViewModel* {
                                 return new CMeterOperationViewModel(m_Settings, operation);
                             });
}

void CMainViewModel::displaySpectrumPage()
{
    COperationMeasure* operation = m_OperationsManager.MeasureOperation();
    l_DisplayMeasurementPage(QStringLiteral("SpectrumOperationViewModel"),
                             QStringLiteral("Pages/SpectrumPage.qml"), operation,
                             [this, operation]() -> CMeasurementOperationViewModel* {
                                 return new CSpectrumOperationViewModel(m_Settings, operation);
                             });
}

void CMainViewModel::displayAcAnalysisPage()
{
    COperationMeasure* operation = m_OperationsManager.MeasureOperation();
    l_DisplayMeasurementPage(QStringLiteral("AcAnalysisOperationViewModel"),
                             QStringLiteral("Pages/AcAnalysisPage.qml"), operation,
                             [this, operation]() -> CMeasurementOperationViewModel* {
                                 return new CAcAnalysisOperationViewModel(m_Settings, operation);
                             });
}

void CMainViewModel::displayMappingPage()
{
    COperationMapping* operation = m_OperationsManager.MappingOperation();
    l_DisplayMeasurementPage(QStringLiteral("MappingOperationViewModel"),
                             QStringLiteral("Pages/MappingPage.qml"), operation,
                             [this, operation]() -> CMeasurementOperationViewModel* {
                                 return new CMappingOperationViewModel(m_Settings, operation);
                             });
}

void CMainViewModel::l_DisplayMeasurementPage(const QString& contextName, const QString& source,
                                              COperation* operation,
                                              const std::function<CMeasurementOperationViewModel*()>& create)
{
    if (m_pActivePageViewModel && m_pActivePageViewModel->HasUnsavedParameter() &&
        !CUtils::askParameterLoseConfirmation())
        return;
    if (!m_OperationsManager.exitActiveOperationAllowed(operation))
        return;
    l_SwitchPage(operation, true, contextName, source, [this, &create]() -> CPageViewModel* {
        CMeasurementOperationViewModel* page = create();
        connect(page, &CMeasurementOperationViewModel::AlarmNotification, this,
                &CMainViewModel::TrayMessageRequested);
        return page;
    });
}

void CMainViewModel::l_SwitchPage(COperation* operation, bool disconnectOld, const QString& contextName,
                                  const QString& source, const std::function<CPageViewModel*()>& create)
{
    setLoaderSourceChanging(true);
    l_ReplacePageViewModel(nullptr, disconnectOld);
    if (operation)
    {
        m_OperationsManager.setActiveOperation(operation);
        if (m_pContext)
            m_pContext->setContextProperty(QStringLiteral("ActiveOperation"), operation);
    }
    else
        m_OperationsManager.clearActiveOperation();
    CPageViewModel* page = create();
    l_ReplacePageViewModel(page, false);
    if (m_pContext)
        m_pContext->setContextProperty(contextName, page);
    setLoaderSource(source);
    setLoaderSourceChanging(false);
}

QString CMainViewModel::DocumentName() const
{
    return m_pActivePageViewModel ? m_pActivePageViewModel->DocumentName() : QString();
}

void CMainViewModel::l_ReplacePageViewModel(CPageViewModel* page, bool disconnectOld)
{
    if (m_pActivePageViewModel)
    {
        // Leaving was confirmed: what the page left unsaved is undone before the next page starts.
        m_pActivePageViewModel->discardUnsavedParameters();
        if (disconnectOld)
            m_pActivePageViewModel->disconnectSignal();
        m_pActivePageViewModel->deleteLater();
    }
    m_pActivePageViewModel = page;
    if (page)
    {
        page->initialize();
        connect(page, &CPageViewModel::DocumentNameChanged, this, &CMainViewModel::DocumentNameChanged);
    }
    emit DocumentNameChanged();
    if (m_pContext)
        m_pContext->setContextProperty(QStringLiteral("ActivePageViewModel"), page);
    emit pActivePageViewModelChanged(page);
}

void CMainViewModel::displayInstrumentSelectionPage()
{
    if (m_pActivePageViewModel && m_pActivePageViewModel->Name() == QLatin1String("Connection"))
        return;
    if (m_pActivePageViewModel && m_pActivePageViewModel->Name() == QLatin1String("Settings") &&
        m_pActivePageViewModel->HasUnsavedParameter() && !CUtils::askParameterLoseConfirmation())
        return;
    if (!m_OperationsManager.exitActiveOperationAllowed(nullptr))
        return;
    l_SwitchPage(nullptr, false, QStringLiteral("ConnectionPageViewModel"),
                 QStringLiteral("Pages/InstrumentSelectionPage.qml"),
                 [this] { return new CConnectionPageViewModel(&m_InstrumentSupervisor); });
}

void CMainViewModel::displaySettingsPage()
{
    // Reopening the settings page over its own unsaved edits would drop them: it asks too.
    if (m_pActivePageViewModel &&
        (m_pActivePageViewModel->Name() == QLatin1String("Connection") ||
         m_pActivePageViewModel->Name() == QLatin1String("Settings")) &&
        m_pActivePageViewModel->HasUnsavedParameter() && !CUtils::askParameterLoseConfirmation())
        return;
    if (!m_OperationsManager.exitActiveOperationAllowed(nullptr))
        return;
    l_SwitchPage(nullptr, false, QStringLiteral("SettingsPageViewModel"),
                 QStringLiteral("Pages/SettingsPage.qml"),
                 [this] { return new CSettingsPageViewModel(m_Settings); });
}

void CMainViewModel::displayHelp()
{
    CHelpPages::Open(m_Settings, m_pActivePageViewModel ? m_pActivePageViewModel->HelpPath() : QString());
}

void CMainViewModel::ignoreSoftwareUpdate(const QString& version)
{
    // Only this choice goes into the file: unsaved edits of the settings page stay unsaved.
    if (!m_Settings.SaveAlone(
            [&version](CSettings& settings) { settings.setIgnoreSpecificVersion(version); }))
        CUtils::errorMessage(tr("Could not save the settings"),
                             tr("The file %1 could not be written.").arg(m_Settings.FilePath()));
}

bool CMainViewModel::exitApplicationAllowed()
{
    // A refused quit leaves everything as it was: a running external-trigger measurement
    // keeps its trigger window. An unsaved recording may be saved first.
    if (COperation* active = m_OperationsManager.getActiveOperation(); active && active->HasUnsavedData())
    {
        switch (
            CPrompt::Current().SaveDiscardCancel(CConstants::QuitApplicationConfirmationMessage,
                                                 CConstants::QuitApplicationConfirmationInformationMessage))
        {
        case CPrompt::Choice::Cancel:
            return false;
        case CPrompt::Choice::Save:
        {
            auto* page = qobject_cast<CMeasurementOperationViewModel*>(m_pActivePageViewModel);
            if (page)
                page->save();
            // A save cancelled or failed quits nothing.
            if (active->HasUnsavedData())
                return false;
            break;
        }
        case CPrompt::Choice::Discard:
            // Discarded for good: its file on disk goes too, so the next start offers nothing.
            active->clear();
            break;
        }
    }
    if (CMapperPlugin* mapper = m_OperationsManager.MappingOperation()->MappingParameters()->SelectedMapper())
        mapper->Close();
    if (CTriggerPlugin* trigger =
            m_OperationsManager.MeasureOperation()->MeasurementParameters()->TriggerPlugin())
        trigger->Close();
    return true;
}

void CMainViewModel::terminate()
{
    m_OperationsManager.clearActiveOperation();
}

void CMainViewModel::OnHasActiveInstrumentChanged()
{
    const QSharedPointer<CInstrument> instrument = m_InstrumentSupervisor.Instrument().toStrongRef();
    if (m_InstrumentSupervisor.HasActiveInstrument() && instrument)
    {
        if (m_CurrentInstrument != instrument.data())
        {
            if (m_CurrentInstrument)
                disconnect(m_CurrentInstrument, &CInstrument::StatusStringChanged, this,
                           &CMainViewModel::OnInstrumentStatusChanged);
            m_CurrentInstrument = instrument.data();
            emit CurrentInstrumentChanged(m_CurrentInstrument);
        }
        setInstrumentModel(instrument->Model());
        setInstrumentSerialNumber(instrument->SerialNumber());
        setInstrumentStatus(instrument->StatusString());
        connect(instrument.data(), &CInstrument::StatusStringChanged, this,
                &CMainViewModel::OnInstrumentStatusChanged, Qt::UniqueConnection);
        return;
    }
    setInstrumentModel(NoInstrument);
    setInstrumentSerialNumber(NoInstrument);
    setInstrumentStatus(NoInstrument);
    if (m_CurrentInstrument)
    {
        disconnect(m_CurrentInstrument, &CInstrument::StatusStringChanged, this,
                   &CMainViewModel::OnInstrumentStatusChanged);
        // A lost instrument is no longer the current one, for every page that shows it.
        m_CurrentInstrument = nullptr;
        emit CurrentInstrumentChanged(nullptr);
    }
    displayInstrumentSelectionPage();
}

void CMainViewModel::OnInstrumentStatusChanged(const QString& status)
{
    setInstrumentStatus(status);
}

TESVANA_SETTER(CMainViewModel, const QString&, LoaderSource)
TESVANA_SETTER(CMainViewModel, bool, LoaderSourceChanging)
TESVANA_SETTER(CMainViewModel, double, MainWindowHeight)
TESVANA_SETTER(CMainViewModel, bool, SmallWindowSize)
TESVANA_SETTER(CMainViewModel, bool, PageMenuExpanded)
TESVANA_SETTER(CMainViewModel, bool, ParameterMenuExpanded)
TESVANA_SETTER(CMainViewModel, const QString&, InstrumentModel)
TESVANA_SETTER(CMainViewModel, const QString&, InstrumentSerialNumber)
TESVANA_SETTER(CMainViewModel, const QString&, InstrumentStatus)
TESVANA_SETTER(CMainViewModel, const QString&, LastLogMessages)
