#include "app/CApplication.h"

#include "app/CConstants.h"
#include "app/CLogMessage.h"
#include "app/CTerminationSignalHandler.h"
#include "app/CUtils.h"
#include "app/CVersionChecker.h"
#include "app/LogCategories.h"
#include "instruments/CInstrumentListProvider.h"
#include "instruments/CInstrumentPlugin.h"
#include "model/CMeasurementParameters.h"
#include "model/CMetaTypes.h"
#include "model/CUnits.h"
#include "operations/CAxisStepSeries.h"
#include "operations/CMapperPositionSourceCartesian.h"
#include "operations/CRecordingManager.h"
#include "quickitems/CColourMapItem.h"
#include "quickitems/CLinePlot.h"
#include "viewmodels/CAcAnalysisOperationDatasetViewModel.h"
#include "viewmodels/CAcAnalysisOperationViewModel.h"
#include "viewmodels/CAlarmParametersAcAnalysisViewModel.h"
#include "viewmodels/CAlarmParametersMeterViewModel.h"
#include "viewmodels/CArrowListModel.h"
#include "viewmodels/CChart2DAcAnalysisData.h"
#include "viewmodels/CChart2DMappingData.h"
#include "viewmodels/CChart2DMeterData.h"
#include "viewmodels/CChart2DSpectrumData.h"
#include "viewmodels/CColourMap.h"
#include "viewmodels/CConnectionPageViewModel.h"
#include "viewmodels/CExposureViewModel.h"
#include "viewmodels/CFrequencyPeakListData.h"
#include "viewmodels/CFrequencyTableData.h"
#include "viewmodels/CMappingOperationDatasetViewModel.h"
#include "viewmodels/CMappingOperationViewModel.h"
#include "viewmodels/CMappingParametersViewModel.h"
#include "viewmodels/CMeasureBlockData.h"
#include "viewmodels/CMeasurementParametersViewModel.h"
#include "viewmodels/CMeterOperationDatasetViewModel.h"
#include "viewmodels/CMeterOperationViewModel.h"
#include "viewmodels/CNumberFormat.h"
#include "viewmodels/CReplayParametersViewModel.h"
#include "viewmodels/CReportViewModel.h"
#include "viewmodels/CSettingsPageViewModel.h"
#include "viewmodels/CSpectrumOperationDatasetViewModel.h"
#include "viewmodels/CSpectrumOperationViewModel.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QMenu>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>
#include <QtQml>

QString CApplication::m_AppDirPath;
CApplication* CApplication::m_pInstance = nullptr;

namespace
{
QtMessageHandler s_PreviousHandler = nullptr;
// A message raised while a message is being handled (a model signal, say)
// must not recurse into the handler.
thread_local bool s_InHandler = false;

} // namespace

CApplication* CApplication::instance()
{
    if (!m_pInstance)
        m_pInstance = new CApplication();
    return m_pInstance;
}

void CApplication::destroy()
{
    if (m_pInstance)
        m_pInstance->deleteLater();
    m_pInstance = nullptr;
}

CApplication::CApplication()
    : QObject(nullptr), m_Core(m_AppDirPath), m_Engine(),
      m_MainViewModel(m_Core.Settings(), m_Engine.rootContext(), m_Core.Operations(), m_Core.Supervisor()),
      m_LogCategory("Tesvana.CApplication"), m_Logger(CConstants::DefaultApplicationParameterStoragePath),
      m_pQuitAction(new QAction(tr("&Quit"))), m_pTrayMenu(new QMenu()), m_pTrayIcon(new QSystemTrayIcon())
{
    qCDebug(lcApp).nospace() << "CApplication::CApplication() // thread " << QThread::currentThread();
    CMetaTypes::Register();
    CConstants::Translate();
    CPrompt::Install(&m_Prompt);

    connect(m_pQuitAction, &QAction::triggered, this, &CApplication::quitIfAllowed);
    m_pTrayMenu->addAction(m_pQuitAction);
    m_pTrayIcon->setContextMenu(m_pTrayMenu);
    m_pTrayIcon->setIcon(QIcon(CConstants::IconPath));
    m_pTrayIcon->setToolTip(QStringLiteral("Tesvana"));
    // Without a system tray (a bare X server, say) there is nothing to show.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_pTrayIcon->setVisible(true);
    connect(&m_MainViewModel, &CMainViewModel::TrayMessageRequested, this,
            [this](const QString& title, const QString& message, bool beep) {
                m_pTrayIcon->showMessage(title, message, QSystemTrayIcon::Warning, 5000);
                if (beep)
                    QApplication::beep();
            });
}

CApplication::~CApplication()
{
    // The windows go first: their bindings still refer to the view models
    // that the members below release.
    const QList<QObject*> windows = m_Engine.rootObjects();
    qDeleteAll(windows);
    delete m_pVersionChecker;
    m_pVersionChecker = nullptr;
    qCDebug(lcApp) << "CApplication destructor";
}

void CApplication::initialize()
{
    // 1. From here on every message reaches the log file and the history.
    installMessageHandler();

    // 2-3. Plug-ins; instrument plug-ins are started before anything else.
    m_Core.Start();

    // 4-6.
    l_LoadFonts();
    RegisterQmlTypes();
    l_SetContextProperties();

    // 7. Let the drivers report their instruments, at most 2 s.
    m_Core.WaitForInstruments(2000);

    // 8. Reconnect the remembered instrument.
    const QSharedPointer<CInstrument> defaultInstrument = m_Core.Supervisor().GetDefaultInstrument();
    if (defaultInstrument)
        m_Core.Supervisor().SetActiveInstrument(defaultInstrument);

    // 9. The page to show is chosen before any QML exists.
    if (m_Core.Supervisor().HasActiveInstrument())
        m_MainViewModel.displayMeterPage();
    else
        m_MainViewModel.displayInstrumentSelectionPage();

    // 10. Text drawn from the platform's glyphs: distance-field text (Qt Quick's default)
    // costs a shader per pixel of every label at every frame, which on a machine without
    // graphics hardware took a third of the program's time while measuring.
    QQuickWindow::setTextRenderType(QQuickWindow::NativeTextRendering);
    m_Engine.load(QUrl(QStringLiteral("qrc:/Resources/MainWindow.qml")));

    // 11. One question to the maker's version file; without network it only logs.
    m_pVersionChecker =
        new CVersionChecker(CConstants::ApplicationName, CConstants::Version, CConstants::VersionURL, this);
    connect(m_pVersionChecker, &CVersionChecker::NewVersionAvailable, this,
            &CApplication::OnNewVersionAvailable);
    if (m_Core.Settings().CheckForNewVersion())
        m_pVersionChecker->Check();
    l_ReportRecoveredRecordings();
    // SIGTERM, SIGINT and SIGHUP end the program in order, past every question.
    m_pTerminationSignals = new CTerminationSignalHandler(this);
    connect(m_pTerminationSignals, &CTerminationSignalHandler::TerminationRequested, this,
            &CApplication::OnTerminationRequested);
    qCDebug(lcApp) << "CApplication initialized";
}

// A line of the recovered list for a recording that no folder took.
const QString CApplication::LostMark = QStringLiteral("lost: ");

QString CApplication::l_RecoveredListPath()
{
    return CConstants::DefaultApplicationParameterStoragePath + QStringLiteral("/TesvanaRecovered.txt");
}

void CApplication::OnTerminationRequested()
{
    // The storage folder first; where it cannot be written, beside the settings, then
    // the temporary folder.
    QStringList lost;
    const QStringList written = m_Core.Operations().WriteRecoveryFiles(
        {m_Core.Settings().DefaultStoragePath(), CConstants::DefaultApplicationParameterStoragePath,
         QDir::tempPath()},
        &lost);
    if (written.isEmpty() && lost.isEmpty())
        return;
    QStringList lines = written;
    for (const QString& kind : qAsConst(lost))
        lines << LostMark + kind;
    QFile list(l_RecoveredListPath());
    if (list.open(QIODevice::Append | QIODevice::Text))
        list.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

void CApplication::l_ReportRecoveredRecordings()
{
    QFile list(l_RecoveredListPath());
    QStringList paths, lost;
    if (list.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        const QStringList recorded =
            QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : recorded)
        {
            if (line.startsWith(LostMark))
                lost << line.mid(LostMark.size());
            else
                paths << line;
        }
        list.close();
    }
    // Recordings written as measured that were never finished or saved (the program was
    // killed, crashed or lost power): each keeps what reached the disk, under its own name.
    paths << l_RecoverUnfinishedRecordings();
    if (!paths.isEmpty())
        CPrompt::Current().Information(
            tr("Unsaved recordings were recovered"),
            tr("Tesvana was ended while recordings were not saved. They were written to:\n%1")
                .arg(paths.join(QLatin1Char('\n'))));
    if (!lost.isEmpty())
        CPrompt::Current().Warning(
            tr("Unsaved recordings could not be kept"),
            tr("Tesvana was ended while recordings were not saved, and no folder could "
               "take them (the storage folder, %1, the temporary folder): the %2 "
               "recording is lost.")
                .arg(CConstants::DefaultApplicationParameterStoragePath, lost.join(QStringLiteral(", "))));
    list.remove();
}

QStringList CApplication::l_RecoverUnfinishedRecordings()
{
    QStringList recovered;
    const QDir folder(CRecordingManager::StreamFolderIn(m_Core.Settings().DefaultStoragePath()));
    const auto names =
        folder.entryList({QStringLiteral("*") + CRecordingManager::StreamSuffix}, QDir::Files, QDir::Name);
    for (const QString& name : names)
    {
        const QString from = folder.filePath(name);
        QString to = from.chopped(CRecordingManager::StreamSuffix.size());
        for (int n = 2; QFile::exists(to); ++n)
            to = from.chopped(CRecordingManager::StreamSuffix.size() + 8) +
                 QStringLiteral("_%1.kxr.xml").arg(n);
        if (QFile::rename(from, to))
            recovered << to;
        else
            recovered << from;
        qCWarning(lcApp).noquote() << QStringLiteral("Unfinished recording recovered: ") + recovered.last();
    }
    return recovered;
}

void CApplication::quitIfAllowed()
{
    if (m_MainViewModel.exitApplicationAllowed())
        QCoreApplication::quit();
}

void CApplication::l_LoadFonts()
{
    struct Font
    {
        const char* path;
        const char* message;
    };
    static const Font fonts[] = {
        {":/Resources/Fonts/KVL-Oxygen-Regular.ttf", "Load font Oxygen. ID :"},
        {":/Resources/Fonts/KVL-Oxygen-Bold.ttf", "Load font Oxygen Bold. ID :"},
        {":/Resources/Fonts/KVL-Oxygen-Light.ttf", "Load font Oxygen Light. ID :"},
        {":/Resources/Fonts/OxygenMono-Regular.ttf", "Load font Oxygen Mono Regular. ID :"},
    };
    for (const Font& font : fonts)
    {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(font.path));
        qCDebug(m_LogCategory) << font.message << id;
    }
}

void CApplication::RegisterQmlTypes()
{
    qmlRegisterType<CUnits>("Tesvana.CUnit", 1, 0, "Unit");
    // One formatter of numbers for every page, as the theme is one for colours.
    qmlRegisterSingletonType<CNumberFormat>(
        "Tesvana.ViewModels", 1, 0, "NumberFormat",
        [](QQmlEngine*, QJSEngine*) -> QObject* { return new CNumberFormat; });
    qmlRegisterUncreatableType<CLogMessage>("Tesvana.CLogMessage", 1, 0, "LogMessageLevel",
                                            QStringLiteral("Cannot create LogMessageLevel in QML"));
    // The types of the pages' view-model properties; the program creates them.
    const QString created = QStringLiteral("Created by the program");
    qmlRegisterUncreatableType<CConnectionPageViewModel>("Tesvana.ViewModels", 1, 0,
                                                         "CConnectionPageViewModel", created);
    qmlRegisterUncreatableType<CSettingsPageViewModel>("Tesvana.ViewModels", 1, 0, "CSettingsPageViewModel",
                                                       created);
    qmlRegisterUncreatableType<CMeterOperationViewModel>("Tesvana.ViewModels", 1, 0,
                                                         "CMeterOperationViewModel", created);
    qmlRegisterUncreatableType<CChart2DMeterData>("Tesvana.ViewModels", 1, 0, "CChart2DMeterData", created);
    qmlRegisterUncreatableType<CMeasureBlockData>("Tesvana.ViewModels", 1, 0, "CMeasureBlockData", created);
    qmlRegisterUncreatableType<CMeasurementParametersViewModel>("Tesvana.ViewModels", 1, 0,
                                                                "CMeasurementParametersViewModel", created);
    qmlRegisterUncreatableType<CMeasurementParameters>("Tesvana.ViewModels", 1, 0, "CMeasurementParameters",
                                                       created);
    qmlRegisterUncreatableType<CAlarmParametersMeterViewModel>("Tesvana.ViewModels", 1, 0,
                                                               "CAlarmParametersMeterViewModel", created);
    qmlRegisterUncreatableType<CReplayParametersViewModel>("Tesvana.ViewModels", 1, 0,
                                                           "CReplayParametersViewModel", created);
    qmlRegisterUncreatableType<CMeterOperationDatasetViewModel>("Tesvana.ViewModels", 1, 0,
                                                                "CMeterOperationDatasetViewModel", created);
    qmlRegisterUncreatableType<CMeasurementOperationViewModel>("Tesvana.ViewModels", 1, 0,
                                                               "CMeasurementOperationViewModel", created);
    qmlRegisterUncreatableType<CExposureViewModel>("Tesvana.ViewModels", 1, 0, "CExposureViewModel", created);
    qmlRegisterUncreatableType<CReportViewModel>("Tesvana.ViewModels", 1, 0, "CReportViewModel", created);
    qmlRegisterUncreatableType<CSpectrumOperationViewModel>("Tesvana.ViewModels", 1, 0,
                                                            "CSpectrumOperationViewModel", created);
    qmlRegisterUncreatableType<CSpectrumOperationDatasetViewModel>(
        "Tesvana.ViewModels", 1, 0, "CSpectrumOperationDatasetViewModel", created);
    qmlRegisterUncreatableType<CChart2DSpectrumData>("Tesvana.ViewModels", 1, 0, "CChart2DSpectrumData",
                                                     created);
    qmlRegisterUncreatableType<CFrequencyPeakListData>("Tesvana.ViewModels", 1, 0, "CFrequencyPeakListData",
                                                       created);
    qmlRegisterUncreatableType<CAlarmParametersSpectrumViewModel>(
        "Tesvana.ViewModels", 1, 0, "CAlarmParametersSpectrumViewModel", created);
    qmlRegisterUncreatableType<CAlarmParametersAcAnalysisViewModel>(
        "Tesvana.ViewModels", 1, 0, "CAlarmParametersAcAnalysisViewModel", created);
    qmlRegisterUncreatableType<CAcAnalysisOperationViewModel>("Tesvana.ViewModels", 1, 0,
                                                              "CAcAnalysisOperationViewModel", created);
    qmlRegisterUncreatableType<CAcAnalysisOperationDatasetViewModel>(
        "Tesvana.ViewModels", 1, 0, "CAcAnalysisOperationDatasetViewModel", created);
    qmlRegisterUncreatableType<CChart2DAcAnalysisData>("Tesvana.ViewModels", 1, 0, "CChart2DAcAnalysisData",
                                                       created);
    qmlRegisterUncreatableType<CChart2DFieldsData>("Tesvana.ViewModels", 1, 0, "CChart2DFieldsData", created);
    qmlRegisterUncreatableType<CMappingOperationViewModel>("Tesvana.ViewModels", 1, 0,
                                                           "CMappingOperationViewModel", created);
    qmlRegisterUncreatableType<CMappingParametersViewModel>("Tesvana.ViewModels", 1, 0,
                                                            "CMappingParametersViewModel", created);
    qmlRegisterUncreatableType<CMappingOperationDatasetViewModel>(
        "Tesvana.ViewModels", 1, 0, "CMappingOperationDatasetViewModel", created);
    qmlRegisterUncreatableType<CChart2DMappingData>("Tesvana.ViewModels", 1, 0, "CChart2DMappingData",
                                                    created);
    qmlRegisterUncreatableType<CColourMap>("Tesvana.ViewModels", 1, 0, "CColourMap", created);
    qmlRegisterType<CColourMapItem>("Tesvana.ViewModels", 1, 0, "ColourMapView");
    qmlRegisterType<CLinePlot>("Tesvana.ViewModels", 1, 0, "LinePlot");
    qmlRegisterUncreatableType<CArrowListModel>("Tesvana.ViewModels", 1, 0, "CArrowListModel", created);
    qmlRegisterUncreatableType<CMapperPositionSourceCartesian>("Tesvana.ViewModels", 1, 0,
                                                               "CMapperPositionSourceCartesian", created);
    qmlRegisterUncreatableType<CAxisStepSeries>("Tesvana.ViewModels", 1, 0, "CAxisStepSeries", created);
    qmlRegisterUncreatableType<CPosition>("Tesvana.ViewModels", 1, 0, "CPosition", created);
    qmlRegisterUncreatableType<COrientation>("Tesvana.ViewModels", 1, 0, "COrientation", created);
    qmlRegisterUncreatableType<CFrequencyTableData>("Tesvana.ViewModels", 1, 0, "CFrequencyTableData",
                                                    created);
}

void CApplication::l_SetContextProperties()
{
    QQmlContext* context = m_Engine.rootContext();
    context->setContextProperty(QStringLiteral("QtVerSix"), false);
    context->setContextProperty(QStringLiteral("QtVersion"), QString::fromLatin1(qVersion()));
    context->setContextProperty(QStringLiteral("InstrumentSupervisor"), &m_Core.Supervisor());
    context->setContextProperty(QStringLiteral("OrganizationName"), CConstants::OrganizationName);
    context->setContextProperty(QStringLiteral("OrganizationWebsite"), CConstants::OrganizationWebsite);
    context->setContextProperty(QStringLiteral("OrganizationEmail"), CConstants::OrganizationEmail);
    context->setContextProperty(QStringLiteral("OrganizationLogo"), CConstants::OrganizationLogo);
    context->setContextProperty(QStringLiteral("AppName"), CConstants::ApplicationName);
    context->setContextProperty(QStringLiteral("Version"), CConstants::Version);
    context->setContextProperty(QStringLiteral("SoftwareUpdateWebsite"), CConstants::SoftwareUpdateWebsite);
    // Lives until the process ends, as QML may hold it to the last moment.
    context->setContextProperty(QStringLiteral("Utils"), new CUtils());
    context->setContextProperty(QStringLiteral("Settings"), &m_Core.Settings());
    context->setContextProperty(QStringLiteral("debug"), QVariant::fromValue<QObject*>(nullptr));
}

void CApplication::OnNewVersionAvailable(const QString& newVersion)
{
    if (newVersion == m_Core.Settings().IgnoreSpecificVersion())
        return;
    m_Engine.rootContext()->setContextProperty(QStringLiteral("NewVersion"), newVersion);
    m_Engine.load(QUrl(QStringLiteral("qrc:/Resources/Widgets/NewSoftwareVersionDialog.qml")));
}

void CApplication::onAboutToQuit()
{
    terminate();
}

void CApplication::terminate()
{
    qCDebug(lcApp) << "CApplication terminate";
    // The active operation is left (it saves its parameters), then every plug-in stops.
    m_Core.Stop(CCore::ActiveOperation::Leave);
    m_pTrayIcon->hide();
    m_pTrayIcon->deleteLater();
    m_pTrayMenu->deleteLater();
    m_pQuitAction->deleteLater();
    deleteLater();
    m_pInstance = nullptr;
    qCDebug(lcApp) << "CApplication terminated";
}

void CApplication::installMessageHandler()
{
    const QtMessageHandler previous = qInstallMessageHandler(&CApplication::messageHandlerStatic);
    if (previous != &CApplication::messageHandlerStatic)
        s_PreviousHandler = previous;
}

void CApplication::messageHandlerStatic(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    if (s_PreviousHandler)
        s_PreviousHandler(type, context, msg);
    if (s_InHandler)
        return;
    CApplication* application = m_pInstance;
    if (!application)
        return;
    s_InHandler = true;
    application->messageHandler(type, context, msg);
    s_InHandler = false;
}

void CApplication::messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    if (type == QtWarningMsg &&
        (msg.contains(QLatin1String("Ignored NaN")) || msg.contains(QLatin1String("obtain clipboard")) ||
         msg.contains(QLatin1String("Logarithms of zero"))))
        return;

    m_Logger.logMessage(type, context, msg);

    // The history and the status line are user-interface objects: messages of
    // other threads are handed over to the GUI thread.
    if (QThread::currentThread() == thread())
        l_AddToHistory(type, msg);
    else
        QMetaObject::invokeMethod(
            this, [this, type, msg] { l_AddToHistory(type, msg); }, Qt::QueuedConnection);
}

void CApplication::l_AddToHistory(QtMsgType type, const QString& msg)
{
    QString label;
    CLogMessage::eLevel level = CLogMessage::DEBUG;
    switch (type)
    {
    case QtDebugMsg:
        label = QStringLiteral("DEBUG");
        break;
    case QtWarningMsg:
        if (msg.contains(QLatin1String("qrc:")) || msg.contains(QLatin1String("QQuick")) ||
            msg.contains(QLatin1String("qml")))
            label = QStringLiteral("DEBUG");
        else
        {
            label = QStringLiteral("WARN");
            level = CLogMessage::WARNING;
        }
        break;
    case QtCriticalMsg:
        label = QStringLiteral("CRIT");
        level = CLogMessage::CRITICAL;
        break;
    case QtFatalMsg:
        label = QStringLiteral("FATAL");
        level = CLogMessage::FATAL;
        break;
    case QtInfoMsg:
        label = QStringLiteral("INFO");
        level = CLogMessage::INFO;
        break;
    }

    QSharedPointer<CLogMessage> message(new CLogMessage());
    message->setLevel(level);
    message->setMessage(msg);
    message->setTimestamp(QDateTime::currentDateTime());
    m_MainViewModel.LogMessageList()->addData(message);

    if (level >= m_MainViewModel.LogMessageProxy()->MinLevel())
        m_MainViewModel.setLastLogMessages(QLatin1Char('[') + label + QStringLiteral("] ") +
                                           message->Timestamp().toString(Qt::ISODateWithMs) +
                                           QStringLiteral(" - ") + msg + QLatin1Char('\n'));
}
