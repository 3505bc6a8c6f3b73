#include "../support/MessageCapture.h"
#include "../support/PluginFolders.h"
#include "app/CApplication.h"
#include "app/CConstants.h"
#include "instruments/CConnectionPageViewModel.h"

#include <QApplication>
#include <QDir>
#include <QQuickWindow>
#include <QTest>

// The whole program in this process, with the real plug-ins and the real QML
// front end under an X server: start-up, pages, the default instrument across
// a restart, and shutdown.
class tst_Application : public QObject
{
    Q_OBJECT

private:
    PluginFolders m_Folders;
    MessageCapture* m_Log = nullptr;

    static void quit()
    {
        CApplication* app = CApplication::instance();
        app->terminate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QStringList qmlWarnings() const
    {
        QStringList found;
        for (const QString& line : m_Log->all())
        {
            if ((line.startsWith("WARN") || line.startsWith("CRIT")) &&
                (line.contains("qml") || line.contains("qrc:") || line.contains("QQuick")))
                found << line;
        }
        return found;
    }

    QQuickWindow* mainWindow()
    {
        const QList<QObject*> roots = CApplication::instance()->Engine().rootObjects();
        return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.first());
    }

    void screenshot(const QString& name)
    {
        QQuickWindow* window = mainWindow();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::qWait(200);
        const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
        QDir().mkpath(folder);
        QVERIFY(window->grabWindow().save(folder + "/" + name + ".png"));
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server (the test script runs the tests under Xvfb)");
        // Starts from a fresh account; only ever the test's own home (set by ctest).
        const QString data = CConstants::DefaultApplicationParameterStoragePath;
        if (!data.contains("/testhome/"))
            QSKIP("run through ctest, which gives the test a home of its own");
        QDir(data).removeRecursively();
        QVERIFY(m_Folders.copy("instrument", "libSimulatedProbe.so", "instrument"));
        QVERIFY(m_Folders.copy("mapper", "libStepmate.so", "mapper"));
        QVERIFY(m_Folders.copy("mapper", "libSimulatedStage.so", "mapper"));
        QVERIFY(m_Folders.copy("trigger", "libClickfire.so", "trigger"));
        CApplication::m_AppDirPath = m_Folders.program();
        m_Log = new MessageCapture();
    }

    void firstStartShowsTheInstrumentSelection()
    {
        QElapsedTimer clock;
        clock.start();
        CApplication* app = CApplication::instance();
        app->initialize();
        // The simulated driver reports at once: no full 2-second wait.
        QVERIFY2(clock.elapsed() < 1900, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(app->InstrumentSupervisor().AvailableInstruments().size(), 1);
        QVERIFY(!app->InstrumentSupervisor().HasActiveInstrument());
        CMainViewModel& main = app->MainViewModel();
        QCOMPARE(main.LoaderSource(), QString("Pages/InstrumentSelectionPage.qml"));
        QCOMPARE(main.InstrumentModel(), QString("--"));
        auto* page = qobject_cast<CConnectionPageViewModel*>(main.pActivePageViewModel());
        QVERIFY(page);
        QVERIFY(mainWindow());
        QCOMPARE(mainWindow()->title(), QString("Korvelin Tesvana v1.2.4"));
        QCOMPARE(mainWindow()->minimumWidth(), 954);
        QCOMPARE(mainWindow()->minimumHeight(), 698);
        screenshot("instrument_selection");
        QCOMPARE(qmlWarnings(), QStringList());

        // Connect the simulated probe and make it the default instrument.
        page->setActiveInstrument(0);
        QVERIFY(app->InstrumentSupervisor().HasActiveInstrument());
        QCOMPARE(page->ActiveInstrumentIndex(), 0);
        QCOMPARE(main.InstrumentSerialNumber(), QString("SIM-0001"));
        QCOMPARE(main.InstrumentStatus(), QString("Connected"));
        QCOMPARE(page->InstrumentNames().size(), 2);
        page->setSelectedDefaultInstrumentIndex(1);
        page->apply();
        screenshot("instrument_selection_connected");
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    void restartReconnectsTheDefaultInstrument()
    {
        CApplication* app = CApplication::instance();
        app->initialize();
        QVERIFY(app->InstrumentSupervisor().HasActiveInstrument());
        QCOMPARE(app->MainViewModel().LoaderSource(), QString("Pages/MeterPage.qml"));
        QCOMPARE(app->MainViewModel().InstrumentModel(), QString("ZRQ5520 simulator"));

        // Losing the instrument always ends on the instrument selection page.
        app->InstrumentSupervisor().ClearActiveInstrument();
        QCOMPARE(app->MainViewModel().LoaderSource(), QString("Pages/InstrumentSelectionPage.qml"));
        QCOMPARE(app->MainViewModel().InstrumentStatus(), QString("--"));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        delete m_Log;
    }
};

QTEST_MAIN(tst_Application)
#include "tst_application.moc"
