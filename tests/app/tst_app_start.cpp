#include "../support/AppFixture.h"

// Start-up and shutdown: the first start, the default instrument across a restart, a refused quit, the
// termination signals and the recording offered at the next start.
class tst_AppStart : public QObject, public AppFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { fixtureInitTestCase(); }
    void init() { fixtureInit(); }
    void cleanup() { fixtureCleanup(); }
    void cleanupTestCase() { fixtureCleanupTestCase(); }

    void firstStartShowsTheInstrumentSelection()
    {
        QElapsedTimer clock;
        clock.start();
        CApplication* app = launch();
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
        // Remembered for the next start, as every later function's account has it.
        QFile remembered(app->Settings()->InstrumentParameterPath() + '/' +
                         CConstants::ConnectionSettingsFilename);
        QVERIFY(remembered.open(QIODevice::ReadOnly));
        QVERIFY(remembered.readAll().contains("<SerialNumber>SIM-0001</SerialNumber>"));
        screenshot("instrument_selection_connected");
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    void restartReconnectsTheDefaultInstrument()
    {
        CApplication* app = launch();
        app->initialize();
        QVERIFY(app->InstrumentSupervisor().HasActiveInstrument());
        QCOMPARE(app->MainViewModel().LoaderSource(), QString("Pages/MeterPage.qml"));
        QCOMPARE(app->MainViewModel().InstrumentModel(), QString("ZRQ5520 simulator"));

        // Losing the instrument always ends on the instrument selection page, and it is no
        // longer the current instrument of any page.
        QVERIFY(app->MainViewModel().CurrentInstrument());
        QSignalSpy current(&app->MainViewModel(), &CMainViewModel::CurrentInstrumentChanged);
        app->InstrumentSupervisor().ClearActiveInstrument();
        QCOMPARE(app->MainViewModel().LoaderSource(), QString("Pages/InstrumentSelectionPage.qml"));
        QVERIFY(!app->MainViewModel().CurrentInstrument());
        QCOMPARE(current.count(), 1);
        QCOMPARE(app->MainViewModel().InstrumentStatus(), QString("--"));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // Quitting refused: the manual trigger's window is closed all the same, the manual
    // mapper's stays for the run that goes on.
    void refusedQuitLeavesEverythingAsItWas()
    {
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        RecordingPrompt prompt;
        const auto shown = [](const QString& title) {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->windowTitle() == title && widget->isVisible())
                    return true;
            return false;
        };
        CTriggerPlugin* trigger = nullptr;
        for (CTriggerPlugin* plugin : app->PluginsManager().GetTriggerPlugins())
            if (plugin->GetName() == "Manual")
                trigger = plugin;
        CMapperPlugin* mapper = nullptr;
        for (CMapperPlugin* plugin : app->PluginsManager().GetMapperPlugins())
            if (plugin->GetName() == "Manual")
                mapper = plugin;
        QVERIFY(trigger && mapper);
        app->OperationsManager().MeasureOperation()->MeasurementParameters()->setTriggerPlugin(trigger);
        app->OperationsManager().MappingOperation()->MappingParameters()->setSelectedMapper(mapper);
        trigger->Start();
        static_cast<CMapperPluginStopAndGo*>(mapper)->MoveTo(CPosition(1, 2, 3), COrientation());
        QTRY_VERIFY(shown("Clickfire"));
        QTRY_VERIFY(shown("Stepmate"));

        // Unsaved data: quitting asks, and is declined.
        CRecordingManagerMeasure& recorder = *app->OperationsManager().MeasureOperation()->RecordingManager();
        QCOMPARE(main.LoaderSource(), QString("Pages/MeterPage.qml"));
        click("resumeButton");
        click("recordButton");
        QTRY_VERIFY(recorder.NumBlocks() >= 1);
        click("stopButton");
        prompt.choice = CPrompt::Choice::Cancel;
        mainWindow()->close();
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(mainWindow()->isVisible());
        // A refused quit closes nothing: a run on the manual trigger keeps its window.
        QTest::qWait(100);
        QVERIFY(shown("Clickfire"));
        QVERIFY(shown("Stepmate"));
        // The tray's Quit asks the same question.
        app->quitIfAllowed();
        QCOMPARE(prompt.asked.size(), 2);
        QVERIFY(prompt.asked.last().startsWith("Choose:"));
        QVERIFY(mainWindow()->isVisible());
        QVERIFY(shown("Clickfire"));
        // "Save…" whose file dialog is cancelled quits nothing either.
        prompt.choice = CPrompt::Choice::Save;
        QVERIFY(!main.exitApplicationAllowed());
        QVERIFY(prompt.asked.last().startsWith("Save:"));
        QVERIFY(recorder.HasUnsavedData());
        QVERIFY(shown("Clickfire"));
        trigger->Close();
        mapper->Close();
        app->OperationsManager().MeasureOperation()->MeasurementParameters()->setTriggerPlugin(nullptr);
        app->OperationsManager().MappingOperation()->MappingParameters()->setSelectedMapper(nullptr);
        recorder.setHasUnsavedData(false);
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // SIGTERM with an unsaved recording: the program ends, past every question, but the
    // recording is written as a recovery file first; the next start says where it is.
    void terminationSignalKeepsTheUnsavedRecording()
    {
        CApplication* app = launch();
        app->initialize();
        RecordingPrompt prompt;
        CRecordingManagerMeasure& recorder = *app->OperationsManager().MeasureOperation()->RecordingManager();
        QCOMPARE(app->MainViewModel().LoaderSource(), QString("Pages/MeterPage.qml"));
        click("resumeButton");
        click("recordButton");
        QTRY_VERIFY_WITH_TIMEOUT(recorder.NumBlocks() >= 3, 5000);
        click("stopButton");
        QVERIFY(recorder.HasUnsavedData());
        const int recorded = recorder.NumBlocks();
        const QString folder = app->Settings()->DefaultStoragePath();
        const auto recovered = [&folder] {
            return QDir(folder).entryList({"Tesvana_*_measurement_recovered.xml"}, QDir::Files);
        };
        for (const QString& old : recovered())
            QFile::remove(QDir(folder).filePath(old));

        // The program's own loop, ended by the signal as a logout would end it.
        QTimer::singleShot(0, [] { ::kill(::getpid(), SIGTERM); });
        QTimer::singleShot(10000, qApp, &QCoreApplication::quit); // in case no signal comes
        QCoreApplication::exec();
        QCOMPARE(prompt.asked, QStringList());
        QCOMPARE(recovered().size(), 1);
        const QString path = QDir(folder).filePath(recovered().first());
        CRecordingManagerMeasure reloaded(*app->Settings());
        QVERIFY(reloaded.Load(path));
        QCOMPARE(reloaded.NumBlocks(), recorded);
        recorder.setHasUnsavedData(false);
        quit();

        app = launch();
        RecordingPrompt next; // installed over the new application's dialogs
        app->initialize();
        QVERIFY2(next.asked.size() == 1, qPrintable(next.asked.join('\n')));
        QVERIFY2(next.asked.first().startsWith("Information: Unsaved recordings were recovered") &&
                     next.asked.first().contains(path),
                 qPrintable(next.asked.first()));
        quit();
        // Said once.
        app = launch();
        RecordingPrompt third;
        app->initialize();
        QCOMPARE(third.asked, QStringList());
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // A recording is on disk while it is measured; what a crash leaves of its file (a copy
    // taken mid-recording, as a kill would leave it) is offered at the next start under its
    // own name, and loads its complete blocks.
    void unfinishedRecordingIsOfferedAtTheNextStart()
    {
        CApplication* app = launch();
        app->initialize();
        CRecordingManagerMeasure& recorder = *app->OperationsManager().MeasureOperation()->RecordingManager();
        click("resumeButton");
        click("recordButton");
        QTRY_VERIFY_WITH_TIMEOUT(recorder.NumBlocks() >= 3, 5000);
        const QString part = recorder.StreamPath();
        QCOMPARE(QFileInfo(part).absolutePath(),
                 QDir(app->Settings()->DefaultStoragePath()).filePath("Recordings"));
        QTRY_VERIFY(recorder.StreamBytes() > 3000);
        const QString crashed = QFileInfo(part).absolutePath() + "/2026-01-02_03.04.05_measurement.kxr.xml";
        QFile::remove(crashed);
        QVERIFY(QFile::copy(part, crashed + ".part"));
        {
            RecordingPrompt prompt;
            prompt.confirm = true;
            click("stopButton");
            click("endButton"); // discarded: its own file goes
        }
        QVERIFY(!QFile::exists(part));
        quit();

        app = launch();
        RecordingPrompt next;
        app->initialize();
        QVERIFY2(next.asked.size() == 1 &&
                     next.asked.first().startsWith("Information: Unsaved recordings were "
                                                   "recovered") &&
                     next.asked.first().contains(crashed),
                 qPrintable(next.asked.join('\n')));
        QVERIFY(!QFile::exists(crashed + ".part"));
        CRecordingManagerMeasure reloaded(*app->Settings());
        QVERIFY(reloaded.Load(crashed));
        QVERIFY(reloaded.NumBlocks() >= 1);
        QFile::remove(crashed);
        quit();
    }

    // The storage folder gone (a removed disk): the recording goes beside the settings, and
    // the next start says where.
    void terminationSignalWithTheStorageFolderGone()
    {
        CApplication* app = launch();
        app->initialize();
        RecordingPrompt prompt;
        CRecordingManagerMeasure& recorder = *app->OperationsManager().MeasureOperation()->RecordingManager();
        click("resumeButton");
        click("recordButton");
        QTRY_VERIFY_WITH_TIMEOUT(recorder.NumBlocks() >= 2, 5000);
        click("stopButton");
        // A file where the folder should be: no folder can be made there.
        QFile blocker(m_Folders.program() + "/usb");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        app->Settings()->setDefaultStoragePath(blocker.fileName() + "/recordings");
        const QString data = CConstants::DefaultApplicationParameterStoragePath;
        const auto recovered = [&data] {
            return QDir(data).entryList({"Tesvana_*_measurement_recovered.xml"}, QDir::Files);
        };
        QTimer::singleShot(0, [] { ::kill(::getpid(), SIGTERM); });
        QTimer::singleShot(10000, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        QCOMPARE(recovered().size(), 1);
        const QString path = QDir(data).filePath(recovered().first());
        recorder.setHasUnsavedData(false);
        quit();
        QFile::remove(blocker.fileName());

        app = launch();
        RecordingPrompt next;
        app->initialize();
        QVERIFY2(next.asked.size() == 1 && next.asked.first().contains(path),
                 qPrintable(next.asked.join('\n')));
        quit();

        // A recording that no folder took, as the previous run listed it: said to be lost.
        QFile list(data + "/TesvanaRecovered.txt");
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("lost: measurement\n");
        list.close();
        app = launch();
        RecordingPrompt third;
        app->initialize();
        QVERIFY2(third.asked.size() == 1 &&
                     third.asked.first().startsWith("Warning: Unsaved recordings could not be kept") &&
                     third.asked.first().contains("the measurement recording is lost"),
                 qPrintable(third.asked.join('\n')));
        quit();
    }
};

QTEST_MAIN(tst_AppStart)
#include "tst_app_start.moc"
