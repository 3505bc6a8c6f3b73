#include "../support/AppFixture.h"

// The mapping page: a map made, saved, loaded and replayed; a stage that fails; the manual mapper.
class tst_AppMapping : public QObject, public AppFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { fixtureInitTestCase(); }
    void init() { fixtureInit(); }
    void cleanup() { fixtureCleanup(); }
    void cleanupTestCase() { fixtureCleanupTestCase(); }

    // A 5 x 5 x 1 map of the simulated dipole with the simulated stage, run, saved,
    // ended, loaded and replayed through the page's own buttons.
    void mappingPageMapsSavesLoadsAndReplays()
    {
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        RecordingPrompt prompt;
        click("mappingPageButton");
        QCOMPARE(main.LoaderSource(), QString("Pages/MappingPage.qml"));
        auto* mapping = qobject_cast<CMappingOperationViewModel*>(main.pActivePageViewModel());
        QVERIFY(mapping);
        CMappingParametersViewModel& panel = *mapping->MappingParametersViewModel();
        // Trigger mode Immediate: the rate the instrument fixes is shown, read-only, and the
        // range box names its unit.
        QCOMPARE(app->OperationsManager().MappingOperation()->MeasurementParameters()->TriggerMode(),
                 CTrigger::TriggerMode::IMMEDIATE);
        QQuickItem* immediate = findItem(mainWindow()->contentItem(), "immediateAcquisitionRateFieldInput");
        QVERIFY(immediate);
        QVERIFY(immediate->property("readOnly").toBool());
        QCOMPARE(immediate->property("text").toString(), QString::number(app->OperationsManager()
                                                                             .MappingOperation()
                                                                             ->MeasurementParameters()
                                                                             ->ImmediateAcquisitionRate()));
        screenshot("mapping_immediate_rate");
        QVERIFY(panel.Mappers().contains("Simulated stage"));
        panel.setSelectedMapperIndex(panel.Mappers().indexOf("Simulated stage")); // as its combo box sets it
        // A 5 x 5 grid in the plane z = 0: the stop of X and Y typed as a user would.
        typeInto("grid0Stop", "4", false);
        typeInto("grid1Stop", "4", false);
        typeInto("grid2Stop", "0", false);
        QCOMPARE(panel.Grid()->X()->Stop(), 4.0);
        QCOMPARE(mapping->XStop(), 4.0);
        // The probe turned on the stage: the map is shown in the stage's frame, live and
        // reloaded alike.
        panel.Grid()->Orientation()->setRoll(20);
        panel.Grid()->Orientation()->setYaw(35);

        CRecordingManagerMapping& recorder = *app->OperationsManager().MappingOperation()->RecordingManager();
        click("resumeButton");
        QTRY_VERIFY_WITH_TIMEOUT(!app->OperationsManager().MappingOperation()->SessionInProgress(), 60000);
        QCOMPARE(mapping->Arrows()->rowCount(), 25);
        QCOMPARE(recorder.NumBlocks(), 25);
        const std::array<double, 3> live = {mapping->BxLastBlock(), mapping->ByLastBlock(),
                                            mapping->BzLastBlock()};
        click("numericTab");
        screenshot("mapping_turned_live");
        click("vectorTab");
        screenshot("mapping_vectors");
        click("plotTab");
        screenshot("mapping_plot");
        // The grid is planar (z = 0): the colour map of B over X and Y.
        QVERIFY(mapping->ColourMap()->Planar());
        QCOMPARE(mapping->ColourMap()->PointCount(), 25);
        QVERIFY(mapping->ColourMap()->ValueMax() > mapping->ColourMap()->ValueMin());
        click("colourMapTab");
        screenshot("mapping_colour_map");

        const QString path = QDir(qEnvironmentVariable("HOME")).filePath("map-run.xml");
        QFile::remove(path);
        prompt.files << path;
        click("saveButton");
        QVERIFY(QFile::exists(path));
        QVERIFY(prompt.asked.last().contains("_mapping.kxr.xml"));
        click("endButton");
        QTRY_COMPARE(recorder.NumBlocks(), 0);
        QCOMPARE(mapping->Arrows()->rowCount(), 0);
        prompt.files << path;
        click("loadButton");
        QCOMPARE(recorder.NumBlocks(), 25);
        QCOMPARE(mapping->Arrows()->rowCount(), 25);
        QCOMPARE(mapping->XStart(), 0.0);
        QCOMPARE(mapping->XStop(), 4.0);
        // Reloaded, the last point shows what it showed live (to the file's six digits).
        const std::array<double, 3> reloaded = {mapping->BxLastBlock(), mapping->ByLastBlock(),
                                                mapping->BzLastBlock()};
        for (std::size_t c = 0; c < 3; ++c)
            QVERIFY2(std::fabs(reloaded[c] - live[c]) <= 1e-5 * std::max(1e-12, std::fabs(live[c])),
                     qPrintable(QString("%1 live, %2 reloaded").arg(live[c]).arg(reloaded[c])));
        screenshot("mapping_turned_reloaded");

        QSignalSpy replayed(&recorder, &CRecordingManagerMapping::ReplayMeasureBlock);
        recorder.setTimeWarp(10);
        click("startButton");
        QTRY_COMPARE_WITH_TIMEOUT(replayed.count(), 25, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(mapping->Arrows()->rowCount(), 25, 5000);
        click("numericTab");
        screenshot("mapping_replayed");
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // The stage fails on its fifth move: the run stops, says why, and its four points
    // are kept and saved.
    void mapperFailingMidRunKeepsThePoints()
    {
        const SimulatedFailures failures(QString(), m_Folders.folder("mapper") + "/libSimulatedStage.so");
        QVERIFY(failures.stageFound());
        failures.stageFailsAfter(4);
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        RecordingPrompt prompt;
        click("mappingPageButton");
        auto* mapping = qobject_cast<CMappingOperationViewModel*>(main.pActivePageViewModel());
        QVERIFY(mapping);
        CMappingParametersViewModel& panel = *mapping->MappingParametersViewModel();
        panel.setSelectedMapperIndex(panel.Mappers().indexOf("Simulated stage"));
        QVERIFY(panel.applyAxis(0, 0, 2, 1));
        QVERIFY(panel.applyAxis(1, 0, 2, 1));
        QVERIFY(panel.applyAxis(2, 0, 0, 1));
        COperationMapping& operation = *app->OperationsManager().MappingOperation();
        click("resumeButton");
        QTRY_VERIFY_WITH_TIMEOUT(!mapping->InstrumentNotice().isEmpty(), 20000);
        QVERIFY(!operation.SessionInProgress());
        QCOMPARE(operation.RecordingManager()->NumBlocks(), 4);
        QVERIFY(mapping->InstrumentNotice().contains("The mapper failed"));
        QVERIFY(mapping->SaveVisible());
        const QString path = QDir(qEnvironmentVariable("HOME")).filePath("map-failed.xml");
        QFile::remove(path);
        prompt.files << path;
        click("saveButton");
        QVERIFY(QFile::exists(path));
        screenshot("mapping_mapper_failed");
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    void manualMapperAdvancesOnEachPress()
    {
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        click("mappingPageButton");
        auto* mapping = qobject_cast<CMappingOperationViewModel*>(main.pActivePageViewModel());
        QVERIFY(mapping);
        CMappingParametersViewModel& panel = *mapping->MappingParametersViewModel();
        QVERIFY(panel.Mappers().contains("Manual"));
        panel.setSelectedMapperIndex(panel.Mappers().indexOf("Manual"));
        QVERIFY(panel.applyAxis(0, 0, 1, 1));
        QVERIFY(panel.applyAxis(1, 0, 0, 1));
        QVERIFY(panel.applyAxis(2, 0, 0, 1));
        COperationMapping& operation = *app->OperationsManager().MappingOperation();
        click("resumeButton");
        const auto window = []() -> QWidget* {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->windowTitle() == "Stepmate" && widget->isVisible())
                    return widget;
            return nullptr;
        };
        for (int point = 1; point <= 2; ++point)
        {
            QTRY_VERIFY_WITH_TIMEOUT(window(), 5000);
            QVERIFY(window()->findChild<QLabel*>() != nullptr);
            auto* ready = window()->findChild<QPushButton*>();
            QVERIFY(ready);
            QTest::mouseClick(ready, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(mapping->Arrows()->rowCount(), point, 5000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!operation.SessionInProgress(), 5000);
        QCOMPARE(operation.RecordingManager()->NumBlocks(), 2);
        QCOMPARE(mapping->Position()->X(), 1.0);
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }
};

QTEST_MAIN(tst_AppMapping)
#include "tst_app_mapping.moc"
