#pragma once

#include "app/CCore.h"
#include "app/CLogger.h"
#include "app/CMessageBoxPrompt.h"
#include "viewmodels/CMainViewModel.h"

#include <QLoggingCategory>
#include <QObject>
#include <QQmlApplicationEngine>

class QAction;
class QMenu;
class QSystemTrayIcon;

// The single application object: owns every long-lived object, runs the
// start-up sequence and the orderly shutdown.
class CTerminationSignalHandler;
class CVersionChecker;

class CApplication : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CSettings* Settings READ Settings CONSTANT)
public:
    static CApplication* instance();
    static void destroy();

    void initialize();
    void terminate();

    CSettings* Settings() { return &m_Core.Settings(); }
    CPluginsManager& PluginsManager() { return m_Core.Plugins(); }
    QQmlApplicationEngine& Engine() { return m_Engine; }
    CInstrumentSupervisor& InstrumentSupervisor() { return m_Core.Supervisor(); }
    COperationsManager& OperationsManager() { return m_Core.Operations(); }
    CMainViewModel& MainViewModel() { return m_MainViewModel; }
    CLogger& Logger() { return m_Logger; }

    // Routes every message of the process through messageHandlerStatic.
    static void installMessageHandler();
    static void messageHandlerStatic(QtMsgType type, const QMessageLogContext& context, const QString& msg);

    static QString m_AppDirPath;

    // The program's types for QML, once per process (also for tools that load a component alone).
    static void RegisterQmlTypes();

public slots:
    void onAboutToQuit();
    void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg);
    void OnNewVersionAvailable(const QString& newVersion);
    // A termination signal: the program ends without asking, so an unsaved recording is
    // written as a recovery file first, and the next start says where.
    void OnTerminationRequested();
    // The tray's Quit: the same question as closing the window.
    void quitIfAllowed();

private:
    CApplication();
    ~CApplication() override;

    void l_LoadFonts();
    void l_SetContextProperties();
    // The part of a message's handling that touches user-interface objects.
    void l_AddToHistory(QtMsgType type, const QString& msg);
    // Tells of the recovery files the previous run wrote as it was ended.
    void l_ReportRecoveredRecordings();
    // Renames the unfinished recordings' files left in the recordings folder; their paths.
    QStringList l_RecoverUnfinishedRecordings();
    static QString l_RecoveredListPath();
    static const QString LostMark;

    static CApplication* m_pInstance;

    // Settings, plug-ins, supervisor and operations: built first, released last.
    CCore m_Core;
    QQmlApplicationEngine m_Engine;
    CMainViewModel m_MainViewModel;
    QLoggingCategory m_LogCategory;
    CVersionChecker* m_pVersionChecker = nullptr;
    CTerminationSignalHandler* m_pTerminationSignals = nullptr;
    CLogger m_Logger;
    QAction* m_pQuitAction;
    QMenu* m_pTrayMenu;
    QSystemTrayIcon* m_pTrayIcon;
    // Every dialog of the program goes through it; installed for the object's life.
    CMessageBoxPrompt m_Prompt;
};
