#pragma once

#include "app/CLogFilterProxyModel.h"
#include "app/CLogMessageList.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class CSettings;
class CInstrument;
class CInstrumentSupervisor;
class COperationsManager;
class CPageViewModel;
class CMeasurementOperationViewModel;
class COperation;
class QQmlContext;

// The object behind the main window: page switching, the instrument summary
// of the status bar and the log models of the log dialog.
class CMainViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString LoaderSource READ LoaderSource NOTIFY LoaderSourceChanged)
    // The file the page shows, for the window's title (empty when none).
    Q_PROPERTY(QString DocumentName READ DocumentName NOTIFY DocumentNameChanged)
    Q_PROPERTY(bool LoaderSourceChanging READ LoaderSourceChanging NOTIFY LoaderSourceChangingChanged)
    Q_PROPERTY(
        CPageViewModel* pActivePageViewModel READ pActivePageViewModel NOTIFY pActivePageViewModelChanged)
    Q_PROPERTY(double MainWindowHeight READ MainWindowHeight WRITE setMainWindowHeight NOTIFY
                   MainWindowHeightChanged)
    Q_PROPERTY(
        bool SmallWindowSize READ SmallWindowSize WRITE setSmallWindowSize NOTIFY SmallWindowSizeChanged)
    Q_PROPERTY(
        bool PageMenuExpanded READ PageMenuExpanded WRITE setPageMenuExpanded NOTIFY PageMenuExpandedChanged)
    Q_PROPERTY(bool ParameterMenuExpanded READ ParameterMenuExpanded WRITE setParameterMenuExpanded NOTIFY
                   ParameterMenuExpandedChanged)
    Q_PROPERTY(QString InstrumentModel READ InstrumentModel NOTIFY InstrumentModelChanged)
    Q_PROPERTY(
        QString InstrumentSerialNumber READ InstrumentSerialNumber NOTIFY InstrumentSerialNumberChanged)
    Q_PROPERTY(QString InstrumentStatus READ InstrumentStatus NOTIFY InstrumentStatusChanged)
    Q_PROPERTY(CInstrument* CurrentInstrument READ CurrentInstrument NOTIFY CurrentInstrumentChanged)
    Q_PROPERTY(QString LastLogMessages READ LastLogMessages NOTIFY LastLogMessagesChanged)
    Q_PROPERTY(CLogMessageList* LogMessageList READ LogMessageList CONSTANT)
    Q_PROPERTY(CLogFilterProxyModel* LogMessageProxy READ LogMessageProxy CONSTANT)

public:
    CMainViewModel(CSettings& settings, QQmlContext* context, COperationsManager& operations,
                   CInstrumentSupervisor& supervisor, QObject* parent = nullptr);
    ~CMainViewModel() override;

    QString DocumentName() const;
    QString LoaderSource() const { return m_LoaderSource; }
    bool LoaderSourceChanging() const { return m_LoaderSourceChanging; }
    CPageViewModel* pActivePageViewModel() const { return m_pActivePageViewModel; }
    double MainWindowHeight() const { return m_MainWindowHeight; }
    bool SmallWindowSize() const { return m_SmallWindowSize; }
    bool PageMenuExpanded() const { return m_PageMenuExpanded; }
    bool ParameterMenuExpanded() const { return m_ParameterMenuExpanded; }
    QString InstrumentModel() const { return m_InstrumentModel; }
    QString InstrumentSerialNumber() const { return m_InstrumentSerialNumber; }
    QString InstrumentStatus() const { return m_InstrumentStatus; }
    CInstrument* CurrentInstrument() const;
    QString LastLogMessages() const { return m_LastLogMessages; }
    CLogMessageList* LogMessageList() { return &m_LogMessageList; }
    CLogFilterProxyModel* LogMessageProxy() { return &m_LogMessageProxy; }

    void setMainWindowHeight(double value);
    void setSmallWindowSize(bool value);
    void setPageMenuExpanded(bool value);
    void setParameterMenuExpanded(bool value);
    void setLastLogMessages(const QString& value);

    Q_INVOKABLE void displayMeterPage();
    Q_INVOKABLE void displaySpectrumPage();
    Q_INVOKABLE void displayAcAnalysisPage();
    Q_INVOKABLE void displayMappingPage();
    Q_INVOKABLE void displayInstrumentSelectionPage();
    Q_INVOKABLE void displaySettingsPage();
    Q_INVOKABLE bool exitApplicationAllowed();
    // The help page of the current page's section, in the desktop's browser.
    Q_INVOKABLE void displayHelp();
    // The new-version dialog's "Skip this version": not offered again, remembered in the settings file.
    Q_INVOKABLE void ignoreSoftwareUpdate(const QString& version);
    Q_INVOKABLE void terminate();

public slots:
    void OnHasActiveInstrumentChanged();
    void OnInstrumentStatusChanged(const QString& status);

signals:
    // A page's alarm to show in the system tray, with a beep when asked.
    void TrayMessageRequested(QString title, QString message, bool beep);
    void LoaderSourceChanged(QString value);
    void LoaderSourceChangingChanged(bool value);
    void pActivePageViewModelChanged(CPageViewModel* value);
    void DocumentNameChanged();
    void MainWindowHeightChanged(double value);
    void SmallWindowSizeChanged(bool value);
    void PageMenuExpandedChanged(bool value);
    void ParameterMenuExpandedChanged(bool value);
    void InstrumentModelChanged(QString value);
    void InstrumentSerialNumberChanged(QString value);
    void InstrumentStatusChanged(QString value);
    void CurrentInstrumentChanged(CInstrument* value);
    void LastLogMessagesChanged(QString value);

private:
    // Makes `page` the one page view model and publishes it as "ActivePageViewModel".
    void l_ReplacePageViewModel(CPageViewModel* page, bool disconnectOld);
    // Replaces the page: the old one goes first (undoing what it left unsaved), then the
    // operation becomes the active one (none: cleared) and the new page is made and
    // published under `contextName`, its QML file loaded.
    void l_SwitchPage(COperation* operation, bool disconnectOld, const QString& contextName,
                      const QString& source, const std::function<CPageViewModel*()>& create);
    // Opens a page of an operation, asking first as page switching does.
    void l_DisplayMeasurementPage(const QString& contextName, const QString& source, COperation* operation,
                                  const std::function<CMeasurementOperationViewModel*()>& create);

    CSettings& m_Settings;
    QQmlContext* m_pContext;
    COperationsManager& m_OperationsManager;
    CInstrumentSupervisor& m_InstrumentSupervisor;
    CLogMessageList m_LogMessageList;
    CLogFilterProxyModel m_LogMessageProxy;

    QString m_LoaderSource;
    bool m_LoaderSourceChanging = false;
    CPageViewModel* m_pActivePageViewModel = nullptr;
    double m_MainWindowHeight = 0;
    bool m_SmallWindowSize = false;
    bool m_PageMenuExpanded = false;
    bool m_ParameterMenuExpanded = false;
    QString m_InstrumentModel;
    QString m_InstrumentSerialNumber;
    QString m_InstrumentStatus;
    QPointer<CInstrument> m_CurrentInstrument;
    QString m_LastLogMessages;

private:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setLoaderSource(const QString& value);
    void setLoaderSourceChanging(bool value);
    void setInstrumentModel(const QString& value);
    void setInstrumentSerialNumber(const QString& value);
    void setInstrumentStatus(const QString& value);
};
