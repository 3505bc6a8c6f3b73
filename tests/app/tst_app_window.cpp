#include "../support/AppFixture.h"

// Takes the URLs the program asks the desktop to open (the help pages) instead of a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

// The window: help pages, page switching and its questions, the log and new-version dialogs, the settings
// page, the narrow window and the minimum size.
class tst_AppWindow : public QObject, public AppFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { fixtureInitTestCase(); }
    void init() { fixtureInit(); }
    void cleanup() { fixtureCleanup(); }
    void cleanupTestCase() { fixtureCleanupTestCase(); }

    // Help opens the page of the section shown, for every page and section the program has;
    // a page that is not there is an error box, nothing else.
    void helpPagesOfEverySection()
    {
        QVERIFY(m_Folders.copyFolder("help", QString(qgetenv("TESVANA_BIN_DIR")) + "/help"));
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        RecordingPrompt prompt;
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        const auto helpOf = [&](const QString& pageButton, int sections) {
            QStringList names;
            click(pageButton);
            auto* page = qobject_cast<COperationViewModel*>(main.pActivePageViewModel());
            for (int section = 0; section < sections; ++section)
            {
                if (page)
                    page->setSectionIndex(section);
                catcher.urls.clear();
                if (section == 0)
                    QTest::keyClick(mainWindow(), Qt::Key_F1);
                else
                    click("helpButton");
                if (catcher.urls.size() != 1)
                    return QStringList{"no page opened for " + pageButton};
                const QString file = catcher.urls.first().toLocalFile();
                if (!QFileInfo::exists(file) || !file.startsWith(m_Folders.program() + "/help/"))
                    return QStringList{"missing " + file};
                names << QFileInfo(file).completeBaseName();
            }
            return names;
        };
        mainWindow()->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
        QCOMPARE(helpOf("meterPageButton", 3), (QStringList{"meter_component", "meter_plot", "meter_table"}));
        QCOMPARE(helpOf("spectrumPageButton", 2), (QStringList{"spectrum_plot", "spectrum_table"}));
        QCOMPARE(helpOf("acAnalysisPageButton", 2), (QStringList{"ac_analysis_plot", "ac_analysis_table"}));
        QCOMPARE(helpOf("mappingPageButton", 5),
                 (QStringList{"mapping_numeric", "mapping_plot", "mapping_table", "mapping_vector",
                              "mapping_colour_map"}));
        QCOMPARE(helpOf("instrumentSelectionPageButton", 1), QStringList{"connection"});
        QVERIFY(m_Log->contains("INFO Opening contextual help : file://"));
        QCOMPARE(prompt.asked.size(), 0);

        // A page without its help file: the error box, and nothing opened.
        QFile::remove(m_Folders.program() + "/help/connection.html");
        catcher.urls.clear();
        click("helpButton");
        QCOMPARE(catcher.urls.size(), 0);
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.first().contains("Could not open help / Could not find file : file://"));
        QDesktopServices::unsetUrlHandler("file");
        // No program to open a page that is there (no browser on the path): said so, with the page.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_Folders.program().toUtf8() + "/nothing-here");
        click("meterPageButton");
        click("helpButton");
        qputenv("PATH", path);
        QTRY_COMPARE(prompt.asked.size(), 2);
        QVERIFY2(prompt.asked.last().contains("No program could open the help page") &&
                     prompt.asked.last().contains("meter_"),
                 qPrintable(prompt.asked.last()));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // Leaving an operation with unsaved data asks first: declined, everything stays as it was;
    // accepted, the page changes. Quitting asks the same, and declined the program stays.
    void pageSwitchingAsksFirst()
    {
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        RecordingPrompt prompt;
        QCOMPARE(main.LoaderSource(), QString("Pages/MeterPage.qml"));
        CRecordingManagerMeasure& recorder = *app->OperationsManager().MeasureOperation()->RecordingManager();
        click("resumeButton");
        click("recordButton");
        QTRY_VERIFY(recorder.NumBlocks() >= 2);
        click("stopButton");
        QVERIFY(recorder.HasUnsavedData());
        const int blocks = recorder.NumBlocks();
        CPageViewModel* meter = main.pActivePageViewModel();

        prompt.confirm = false;
        click("mappingPageButton");
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.first().startsWith("Confirm"));
        QCOMPARE(main.LoaderSource(), QString("Pages/MeterPage.qml"));
        QCOMPARE(main.pActivePageViewModel(), meter);
        QCOMPARE(recorder.NumBlocks(), blocks);
        QVERIFY(recorder.HasUnsavedData());
        // The pages of the same operation share its data: no question.
        click("spectrumPageButton");
        QCOMPARE(main.LoaderSource(), QString("Pages/SpectrumPage.qml"));
        QCOMPARE(prompt.asked.size(), 1);
        // Quitting asks too, offering to save first; cancelled, the window stays.
        prompt.choice = CPrompt::Choice::Cancel;
        QVERIFY(!main.exitApplicationAllowed());
        QCOMPARE(prompt.asked.size(), 2);
        QVERIFY(prompt.asked.last().startsWith("Choose: "));
        QVERIFY(mainWindow()->isVisible());

        prompt.confirm = true;
        click("mappingPageButton");
        QCOMPARE(prompt.asked.size(), 3);
        QCOMPARE(main.LoaderSource(), QString("Pages/MappingPage.qml"));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // Asked only when something unsaved would be lost, on every path: a live view, a saved
    // or a loaded recording asks nothing (page switch, settings, unit change, End, Resume over
    // held data, parameter load, quit); an unsaved one asks on each, and Save on quit keeps it.
    void questionsOnlyWhenSomethingWouldBeLost()
    {
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        RecordingPrompt prompt;
        COperationMeasure& operation = *app->OperationsManager().MeasureOperation();
        CRecordingManagerMeasure& recorder = *operation.RecordingManager();
        const QString parameters = m_Folders.program() + "/parameters.xml";
        QVERIFY(operation.SaveParameters(parameters));
        // A live view: nothing recorded.
        click("resumeButton");
        QTRY_VERIFY(recorder.NumBlocks() >= 1);
        QVERIFY(!recorder.HasUnsavedData());
        choose("unitBox", 1);
        QCOMPARE(operation.MeasurementParameters()->Units(), CUnits::UnitType::MILLI_TESLA);
        click("spectrumPageButton");
        click("settingsPageButton");
        QCOMPARE(main.LoaderSource(), QString("Pages/SettingsPage.qml"));
        click("meterPageButton");
        QCOMPARE(prompt.asked, QStringList());
        // Recorded, then saved: nothing to lose.
        click("resumeButton");
        click("recordButton");
        QTRY_VERIFY(recorder.NumBlocks() >= 2);
        click("stopButton");
        QVERIFY(recorder.HasUnsavedData());
        // Unsaved: the parameter load asks (declined: the recording stays).
        prompt.confirm = false;
        prompt.files << parameters;
        click("loadParametersButton");
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.last().startsWith("Confirm: "));
        QVERIFY(recorder.NumBlocks() >= 2 && recorder.HasUnsavedData());
        prompt.files.clear();
        prompt.files << m_Folders.program() + "/kept.xml";
        click("saveButton");
        QVERIFY(!recorder.HasUnsavedData());
        const int asked = prompt.asked.size();
        prompt.files << parameters;
        click("loadParametersButton"); // the file dialog only
        QCOMPARE(prompt.asked.size(), asked + 1);
        click("endButton");
        click("settingsPageButton");
        click("meterPageButton");
        QCOMPARE(prompt.asked.size(), asked + 1);
        // Loaded: in its file already.
        prompt.files << m_Folders.program() + "/kept.xml";
        click("loadButton");
        QVERIFY(recorder.IsDataLoaded() && !recorder.HasUnsavedData());
        click("endButton");
        click("resumeButton");
        QTRY_VERIFY(recorder.NumBlocks() >= 1);
        QCOMPARE(prompt.asked.size(), asked + 2);
        QVERIFY(main.exitApplicationAllowed());
        QCOMPARE(prompt.asked.size(), asked + 2);
        // Unsaved on quit: "Save…" keeps it, then the program may quit.
        click("recordButton");
        QTRY_VERIFY(recorder.NumBlocks() >= 2);
        click("stopButton");
        const QString kept = m_Folders.program() + "/on-quit.xml";
        prompt.choice = CPrompt::Choice::Save;
        prompt.files << kept;
        QVERIFY(main.exitApplicationAllowed());
        QVERIFY(prompt.asked.at(asked + 2).startsWith("Choose: "));
        QVERIFY(QFile::exists(kept));
        QVERIFY(!recorder.HasUnsavedData());
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // The log dialog from the status bar: search and least level narrow the list.
    void logDialog()
    {
        CApplication* app = launch();
        app->initialize();
        CLogFilterProxyModel* proxy = app->MainViewModel().LogMessageProxy();
        qWarning("a warning the log dialog finds");
        qWarning("another line");
        click("logButton");
        QQuickItem* list = findItem(mainWindow()->contentItem(), "logList");
        QVERIFY(list);
        const int warnings = proxy->rowCount();
        QVERIFY(warnings >= 2);
        typeInto("logSearchField", "DIALOG FINDS", false);
        QTRY_COMPARE(proxy->rowCount(), 1);
        screenshot("log_dialog");
        typeInto("logSearchField", "", false);
        QTRY_COMPARE(proxy->rowCount(), warnings);
        click("logLevelBox");
        QTest::keyClick(mainWindow(), Qt::Key_Up);
        QTest::keyClick(mainWindow(), Qt::Key_Up);
        QTest::keyClick(mainWindow(), Qt::Key_Return);
        QTRY_COMPARE(proxy->MinLevel(), 0);
        QVERIFY(proxy->rowCount() > warnings);
        proxy->setMinLevel(2);
        click("logCloseButton");
        QTRY_VERIFY(!findItem(mainWindow()->contentItem(), "logList"));
        // The status bar shows the newest message that passes the level.
        QCOMPARE(findItem(mainWindow()->contentItem(), "lastLogMessage")->property("text").toString(),
                 "Info: " + app->MainViewModel().LastLogMessages().trimmed());
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // A newer version announced: its own window; "Skip this version" is remembered in the
    // settings file and not offered again; "Ignore" only closes.
    void newVersionDialog()
    {
        CApplication* app = launch();
        app->initialize();
        const auto dialog = [app]() -> QQuickWindow* {
            for (QObject* root : app->Engine().rootObjects())
                if (root->objectName() == "newSoftwareVersionDialog")
                    if (auto* window = qobject_cast<QQuickWindow*>(root); window && window->isVisible())
                        return window;
            return nullptr;
        };
        const auto press = [](QQuickWindow* window, const QString& objectName) {
            QQuickItem* item = findItem(window->contentItem(), objectName);
            QVERIFY2(item, qPrintable(objectName));
            QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier,
                              item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint());
            QCoreApplication::processEvents();
        };
        app->OnNewVersionAvailable("9.9.9");
        QQuickWindow* window = dialog();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->title(), QString("Software update available"));
        QCOMPARE(findItem(window->contentItem(), "newVersionText")->property("text").toString(),
                 QString("The new version 9.9.9 of this software is available."));
        QTest::qWait(200);
        QVERIFY(window->grabWindow().save(QCoreApplication::applicationDirPath() +
                                          "/screenshots/new_version.png"));
        press(window, "skipVersionButton");
        QTRY_VERIFY(!dialog());
        QCOMPARE(app->Settings()->IgnoreSpecificVersion(), QString("9.9.9"));
        CSettings stored(m_Folders.program());
        QCOMPARE(stored.IgnoreSpecificVersion(), QString("9.9.9"));

        const int roots = app->Engine().rootObjects().size();
        app->OnNewVersionAvailable("9.9.9");
        QCOMPARE(app->Engine().rootObjects().size(), roots);
        app->OnNewVersionAvailable("10.0");
        QVERIFY(dialog());
        press(dialog(), "ignoreVersionButton");
        QTRY_VERIFY(!dialog());
        QCOMPARE(app->Settings()->IgnoreSpecificVersion(), QString("9.9.9"));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // The settings page from the bar under every page: an edit asks before leaving, the CSV
    // choice does not; a count out of bounds is refused where it is typed; Save keeps it.
    void settingsPage()
    {
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        RecordingPrompt prompt;
        // The first size: 140 px more than the minimum each way, the desktop having room.
        QTRY_COMPARE(mainWindow()->width(), 954 + 140);
        QTRY_COMPARE(mainWindow()->height(), 698 + 140); // width and height may come in two events
        QTRY_VERIFY(!main.SmallWindowSize()); // the window's size reaches the view model a turn later
        QVERIFY(findItem(mainWindow()->contentItem(), "mainMenu"));

        click("settingsPageButton");
        QCOMPARE(main.LoaderSource(), QString("Pages/SettingsPage.qml"));
        auto* page = qobject_cast<CSettingsPageViewModel*>(main.pActivePageViewModel());
        QVERIFY(page);
        screenshot("settings");
        click("saveRecordingsAsCsv");
        QVERIFY(app->Settings()->SaveRecordingsAsCsv());
        QVERIFY(!page->HasUnsavedParameter());
        click("meterPageButton");
        QCOMPARE(main.LoaderSource(), QString("Pages/MeterPage.qml"));
        QVERIFY(prompt.asked.isEmpty());

        click("settingsPageButton");
        page = qobject_cast<CSettingsPageViewModel*>(main.pActivePageViewModel());
        QVERIFY(page);
        QVERIFY(page->SaveRecordingsAsCsv());
        click("saveRecordingsAsCsv");
        QVERIFY(!CSettings(m_Folders.program()).SaveRecordingsAsCsv());
        typeInto("logMaxHistoryCount", "5");
        QCOMPARE(page->LogMaxHistoryCount(), 200u);
        QCOMPARE(
            findItem(mainWindow()->contentItem(), "logMaxHistoryCountInput")->property("text").toString(),
            QString("200"));
        typeInto("logMaxHistoryCount", "350");
        QCOMPARE(page->LogMaxHistoryCount(), 350u);
        QVERIFY(page->HasUnsavedParameter());
        click("enableSpectrumMode");
        QVERIFY(!app->Settings()->EnableSpectrumMode());
        QTRY_VERIFY(!findItem(mainWindow()->contentItem(), "spectrumPageButton"));
        prompt.confirm = false;
        click("meterPageButton");
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(main.pActivePageViewModel(), page);
        click("settingsPageButton");
        QCOMPARE(prompt.asked.size(), 2);
        QCOMPARE(main.pActivePageViewModel(), page);
        QCOMPARE(page->LogMaxHistoryCount(), 350u);
        click("saveSettingsButton");
        QVERIFY(prompt.asked.last().startsWith("Information: Restart application"));
        QVERIFY(!page->HasUnsavedParameter());
        CSettings stored(m_Folders.program());
        QCOMPARE(stored.LogMaxHistoryCount(), 350u);
        QVERIFY(!stored.EnableSpectrumMode());

        // Back as it was, and the file too.
        click("enableSpectrumMode");
        click("saveSettingsButton");
        QVERIFY(CSettings(m_Folders.program()).EnableSpectrumMode());
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // At 1024 px or less the menu is a drawer: a strip that opens over the page and closes
    // when a page is chosen. Every page is shown at the window's minimum size too.
    void compactLayoutAndEveryPageAtTheMinimumSize()
    {
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        QTRY_COMPARE(mainWindow()->width(), 954 + 140);
        mainWindow()->resize(1000, 768);
        QTRY_VERIFY(main.SmallWindowSize());
        QTRY_VERIFY(findItem(mainWindow()->contentItem(), "smallMainMenu"));
        QQuickItem* menu = findItem(mainWindow()->contentItem(), "smallMainMenu");
        QTRY_COMPARE(menu->width(), 60.0);
        QTRY_VERIFY(findItem(mainWindow()->contentItem(), "pageMenuToggle"));
        click("pageMenuToggle");
        QVERIFY(main.PageMenuExpanded());
        QTRY_COMPARE(menu->width(), 180.0);
        screenshot("compact_menu_open");
        click("spectrumPageButton");
        QCOMPARE(main.LoaderSource(), QString("Pages/SpectrumPage.qml"));
        QVERIFY(!main.PageMenuExpanded());
        QTRY_COMPARE(menu->width(), 60.0);
        screenshot("compact_spectrum");
        // A click on the page closes the open drawer.
        click("pageMenuToggle");
        QVERIFY(main.PageMenuExpanded());
        const QPoint onPage(mainWindow()->width() / 2, mainWindow()->height() / 2);
        QTest::mouseClick(mainWindow(), Qt::LeftButton, Qt::NoModifier, onPage);
        QTRY_VERIFY(!main.PageMenuExpanded());
        // The page's panels fold into a strip on the right and open over the page.
        QVERIFY(!findItem(mainWindow()->contentItem(), "saveParametersButton"));
        click("parameterMenuToggle");
        QVERIFY(main.ParameterMenuExpanded());
        QTRY_VERIFY(findItem(mainWindow()->contentItem(), "saveParametersButton"));
        screenshot("compact_parameters_open");
        QTest::mouseClick(mainWindow(), Qt::LeftButton, Qt::NoModifier, onPage);
        QTRY_VERIFY(!main.ParameterMenuExpanded());
        QVERIFY(!findItem(mainWindow()->contentItem(), "saveParametersButton"));

        mainWindow()->resize(954, 698);
        const QList<QPair<QString, std::function<void()>>> pages = {
            {"meter", [&main] { main.displayMeterPage(); }},
            {"spectrum", [&main] { main.displaySpectrumPage(); }},
            {"ac_analysis", [&main] { main.displayAcAnalysisPage(); }},
            {"mapping", [&main] { main.displayMappingPage(); }},
            {"settings", [&main] { main.displaySettingsPage(); }},
            {"instrument_selection", [&main] { main.displayInstrumentSelectionPage(); }}};
        for (const auto& [name, open] : pages)
        {
            open();
            QTRY_COMPARE(mainWindow()->width(), 954);
            // Charts lay their axes out once more after a resize.
            QTest::qWait(500);
            screenshot("minimum_" + name);
        }
        // The report dialog fits the narrow window.
        main.displaySpectrumPage();
        click("parameterMenuToggle");
        click("reportButton");
        QObject* reportDialog = mainWindow()->findChild<QObject*>("reportDialog");
        QVERIFY(reportDialog);
        QTRY_VERIFY(reportDialog->property("opened").toBool());
        QTest::qWait(300);
        screenshot("minimum_report_dialog");
        click("reportCloseButton");
        mainWindow()->resize(1094, 838);
        QTRY_VERIFY(!main.SmallWindowSize());
        QTRY_VERIFY(findItem(mainWindow()->contentItem(), "mainMenu"));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }
};

QTEST_MAIN(tst_AppWindow)
#include "tst_app_window.moc"
