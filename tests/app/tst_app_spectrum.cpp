#include "../support/AppFixture.h"

// The spectrum and AC analysis pages with the shipped limits, in tesla and microtesla, and the survey report.
class tst_AppSpectrum : public QObject, public AppFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { fixtureInitTestCase(); }
    void init() { fixtureInit(); }
    void cleanup() { fixtureCleanup(); }
    void cleanupTestCase() { fixtureCleanupTestCase(); }

    // The spectrum and AC analysis pages with the shipped general-public limits: the
    // simulated probe's 50 and 150 Hz components as peaks, the band table, the exposure
    // index, and a recording replayed through the AC page's own bar.
    void spectrumAndAcAnalysisPagesWithTheShippedLimits()
    {
        CApplication* app = launch();
        app->initialize();
        CMainViewModel& main = app->MainViewModel();
        RecordingPrompt prompt;
        COperationMeasure& operation = *app->OperationsManager().MeasureOperation();
        // One block a second of 1000 samples: the rate follows the display rate and block size.
        typeInto("displayRateField", "1");
        typeInto("blockSizeField", "1000");
        typeInto("acquisitionRateField", "1000");
        QCOMPARE(operation.MeasurementParameters()->AcquisitionRate(), 1000.0);
        QCOMPARE(operation.MeasurementParameters()->BlockSize(), 1000);

        click("spectrumPageButton");
        QCOMPARE(main.LoaderSource(), QString("Pages/SpectrumPage.qml"));
        auto* spectrum = qobject_cast<CSpectrumOperationViewModel*>(main.pActivePageViewModel());
        QVERIFY(spectrum);
        const QString limits = m_Folders.folder("limits") + "/ICNIRP2010_GeneralPublic.xml";
        prompt.files << limits;
        click("chooseLimitsButton");
        QVERIFY2(prompt.asked.last().endsWith(m_Folders.folder("limits")), qPrintable(prompt.asked.last()));
        QVERIFY(operation.LimitsFileLoaded());
        QCOMPARE(spectrum->LimitsFileName(), QString("ICNIRP2010_GeneralPublic.xml"));

        // The spectrum's window is entered in the measurement panel; a refused entry keeps
        // the field following its value.
        CMeasurementParameters& parameters = *operation.MeasurementParameters();
        typeInto("frequencyMinField", "5");
        QCOMPARE(parameters.FrequencyMin(), 5.0);
        typeInto("frequencyMaxField", "400");
        QCOMPARE(parameters.FrequencyMax(), 400.0);
        typeInto("frequencyMinField", "abc");
        QCOMPARE(parameters.FrequencyMin(), 5.0);
        parameters.setFrequencyMin(2);
        const auto fieldText = [this](const QString& name) {
            QQuickItem* input = findItem(mainWindow()->contentItem(), name + "Input");
            return input ? input->property("text").toString() : QString("(no field)");
        };
        QTRY_COMPARE(fieldText("frequencyMinField"), QString("2"));
        screenshot("spectrum_frequency_fields");
        typeInto("frequencyMaxField", "500");
        typeInto("frequencyMinField", "0");
        QCOMPARE(parameters.FrequencyMin(), 0.0);

        spectrum->setSelectedFieldIndex(2); // Bx, as its combo box sets it
        click("resumeButton");
        const auto hasPeakNear = [spectrum](float f) {
            for (const float peak : spectrum->Table()->Frequencies())
                if (std::fabs(peak - f) < 1.0f)
                    return true;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(hasPeakNear(50) && hasPeakNear(150), 5000);
        // The exposure panel: the simulated probe's field is far below the public's levels,
        // its 50 Hz line the main part; the static field never enters.
        CExposureViewModel* exposure = spectrum->Exposure();
        QTRY_VERIFY_WITH_TIMEOUT(exposure->SummationIndex() > 0, 5000);
        QCOMPARE(exposure->LimitsName(), QString("ICNIRP 2010 general public"));
        QVERIFY(exposure->SummationIndex() < 0.1 && exposure->WeightedPeakIndex() > 0);
        QVERIFY(exposure->WeightedPeakIndex() <= exposure->SummationIndex() * 1.03);
        QVERIFY(std::fabs(exposure->DominantFrequency() - 50) < 1);
        QVERIFY(findItem(mainWindow()->contentItem(), "weightedPeakIndex")->isVisible());
        qInfo().noquote() << "Simulated probe, general public: summation index" << exposure->SummationIndex()
                          << "weighted peak index" << exposure->WeightedPeakIndex() << "most from"
                          << exposure->DominantFrequency() << "Hz";
        // Blocks keep coming: after the reset the largest is at least the newest.
        click("resetExposureButton");
        QVERIFY(exposure->MaxSummationIndex() >= exposure->SummationIndex());
        screenshot("spectrum_limits");
        // The spectrum's logarithmic axis in an exported SVG.
        const QString svg = m_Folders.program() + "/spectrum.svg";
        prompt.files << svg;
        click("exportImageButton");
        QVERIFY(prompt.asked.last().endsWith("_measurement.png"));
        QFile vector(svg);
        QVERIFY(vector.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&vector);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        const QString shots = QCoreApplication::applicationDirPath() + "/screenshots/";
        QFile::remove(shots + "spectrum_chart_export.svg");
        QFile::copy(svg, shots + "spectrum_chart_export.svg");
        click("tableTab");
        screenshot("spectrum_peaks");

        click("acAnalysisPageButton");
        QCOMPARE(main.LoaderSource(), QString("Pages/AcAnalysisPage.qml"));
        auto* ac = qobject_cast<CAcAnalysisOperationViewModel*>(main.pActivePageViewModel());
        QVERIFY(ac);
        QCOMPARE(ac->LimitsFileName(), QString("ICNIRP2010_GeneralPublic.xml")); // the operation keeps it
        // The probe goes on acquiring across the page change.
        QTRY_VERIFY_WITH_TIMEOUT(ac->Table()->rowCount() == bandsShown(operation), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(ac->Chart()->MeasureResultCount() >= 2, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(ac->Exposure()->SummationIndex() > 0, 5000);
        QVERIFY(ac->Exposure()->SummationIndex() < 0.1 && ac->Exposure()->WeightedPeakIndex() > 0);
        screenshot("ac_analysis_limits");
        // The other shipped standard, chosen as a user would.
        prompt.files << m_Folders.folder("limits") + "/ICNIRP2010_Occupational.xml";
        click("chooseLimitsButton");
        QTRY_COMPARE(ac->Exposure()->LimitsName(), QString("ICNIRP 2010 occupational"));
        QTRY_VERIFY_WITH_TIMEOUT(ac->Exposure()->WeightedPeakIndex() > 0, 5000);
        qInfo().noquote() << "Simulated probe, occupational: summation index"
                          << ac->Exposure()->SummationIndex() << "weighted peak index"
                          << ac->Exposure()->WeightedPeakIndex();
        screenshot("ac_analysis_occupational");
        click("tableTab");
        screenshot("ac_analysis_bands");

        // Record a few blocks, stop, replay them through the bar.
        CRecordingManagerMeasure& recorder = *operation.RecordingManager();
        click("recordButton");
        QTRY_VERIFY_WITH_TIMEOUT(recorder.NumBlocks() >= 2, 5000);
        click("stopButton");
        const int recorded = recorder.NumBlocks();
        // The survey report of what was recorded, from the page as a user writes it.
        click("reportButton");
        QObject* reportDialog = mainWindow()->findChild<QObject*>("reportDialog");
        QVERIFY(reportDialog);
        QTRY_VERIFY(reportDialog->property("opened").toBool());
        QTemporaryDir reports;
        prompt.files << reports.filePath("ac.pdf");
        click("reportShownButton");
        QTRY_VERIFY_WITH_TIMEOUT(!ac->Report()->Busy(), 30000);
        QVERIFY2(QFile::exists(reports.filePath("ac.pdf")), qPrintable(ac->Report()->Status()));
        screenshot("report_dialog");
        click("reportCloseButton");
        QTRY_VERIFY(!reportDialog->property("opened").toBool());
        QSignalSpy replayed(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock);
        recorder.setTimeWarp(10);
        click("startButton");
        QTRY_COMPARE_WITH_TIMEOUT(replayed.count(), recorded, 10000);
        QTRY_VERIFY(!recorder.IsPlayingBack());
        QCOMPARE(ac->Chart()->MeasureResultCount(), quint64(recorded));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // The units surveys use, chosen as a user does: uT on the meter page, then the spectrum
    // page and the limits; then the limits first and the unit after; then a restart that
    // remembers both. The simulated probe's 50 Hz line is 0.8 uT against the public's 200 uT.
    void limitsAndExposureInMicrotesla()
    {
        const QString limits = m_Folders.folder("limits") + "/ICNIRP2010_GeneralPublic.xml";
        const QString microtesla = QString::fromUtf8("\u00b5T");
        // What both pages show once blocks come: the line, its limit and the index.
        const auto check = [&](CApplication* app, bool fresh) {
            CMainViewModel& main = app->MainViewModel();
            COperationMeasure& operation = *app->OperationsManager().MeasureOperation();
            QCOMPARE(operation.MeasurementParameters()->Units(), CUnits::UnitType::MICRO_TESLA);
            auto* spectrum = qobject_cast<CSpectrumOperationViewModel*>(main.pActivePageViewModel());
            QVERIFY(spectrum);
            QCOMPARE(spectrum->DisplayUnitsText(), microtesla);
            spectrum->setSelectedFieldIndex(2); // Bx, as its combo box sets it
            if (fresh)
                click("resumeButton");
            const auto lineAt50 = [spectrum]() -> double {
                const auto& f = spectrum->Table()->Frequencies();
                for (std::size_t i = 0; i < f.size(); ++i)
                    if (std::fabs(f[i] - 50) < 1)
                        return spectrum->Table()->Amplitudes()[i];
                return 0;
            };
            QTRY_VERIFY_WITH_TIMEOUT(lineAt50() > 0, 5000);
            const double line = lineAt50();
            QVERIFY2(std::fabs(line - 0.8) < 0.08, qPrintable(QString::number(line)));
            QVERIFY(std::fabs(spectrum->Table()->ExposureLimit(50) - 200) < 1e-3);
            CExposureViewModel* exposure = spectrum->Exposure();
            QTRY_VERIFY_WITH_TIMEOUT(exposure->SummationIndex() > 0, 5000);
            QVERIFY2(exposure->SummationIndex() > 0.002 && exposure->SummationIndex() < 0.006,
                     qPrintable(QString::number(exposure->SummationIndex())));
            QVERIFY(!exposure->Exceeded());
            const double summation = exposure->SummationIndex();
            screenshot("spectrum_microtesla");
            click("acAnalysisPageButton");
            auto* ac = qobject_cast<CAcAnalysisOperationViewModel*>(main.pActivePageViewModel());
            QVERIFY(ac);
            QTRY_VERIFY_WITH_TIMEOUT(ac->Exposure()->SummationIndex() > 0, 5000);
            QVERIFY2(std::fabs(ac->Exposure()->SummationIndex() / summation - 1) < 0.1,
                     qPrintable(QString::number(ac->Exposure()->SummationIndex())));
            click("tableTab");
            QTRY_VERIFY_WITH_TIMEOUT(ac->Table()->rowCount() == bandsShown(operation), 5000);
            for (int row = 0; row < ac->Table()->rowCount(); ++row)
                if (operation.LimitsFile()->Limits().at(row)->UpperFrequencyLimitValue() >= 50)
                {
                    QVERIFY(std::fabs(ac->Table()->ExposureLimit(row) - 200) < 1e-3);
                    break;
                }
            qInfo().noquote() << "In uT: the 50 Hz line" << line << "against" << 200 << "summation index"
                              << summation << ac->Exposure()->SummationIndex();
        };

        // The unit first, on the meter page's panel.
        CApplication* app = launch();
        auto prompt = std::make_unique<RecordingPrompt>(); // over the application's dialogs
        app->initialize();
        typeInto("displayRateField", "1");
        typeInto("blockSizeField", "1000");
        typeInto("acquisitionRateField", "1000");
        QQuickItem* unitBox = findItem(mainWindow()->contentItem(), "unitBox");
        QVERIFY(unitBox);
        const int index = app->OperationsManager().MeasureOperation()->Instrument()->UnitList().indexOf(
            CUnits::UnitType::MICRO_TESLA);
        choose("unitBox", index);
        click("spectrumPageButton");
        prompt->files << limits;
        click("chooseLimitsButton");
        check(app, true);
        screenshot("ac_analysis_microtesla");
        click("holdButton");
        quit();

        // The limits first, in tesla; the unit after, on the spectrum page.
        QVERIFY(QDir(CConstants::DefaultApplicationParameterStoragePath)
                    .remove(CConstants::MeasureParametersSettingsFilename));
        app = launch();
        prompt.reset(); // a double leaving uninstalls whatever is installed
        prompt = std::make_unique<RecordingPrompt>();
        app->initialize();
        typeInto("displayRateField", "1");
        typeInto("blockSizeField", "1000");
        typeInto("acquisitionRateField", "1000");
        click("spectrumPageButton");
        prompt->files << limits;
        click("chooseLimitsButton");
        click("resumeButton");
        auto* spectrum =
            qobject_cast<CSpectrumOperationViewModel*>(app->MainViewModel().pActivePageViewModel());
        QTRY_VERIFY_WITH_TIMEOUT(spectrum->Exposure()->SummationIndex() > 0, 5000);
        QVERIFY(std::fabs(spectrum->Table()->ExposureLimit(50) - 200e-6) < 1e-9);
        choose("unitBox", index);
        QTRY_COMPARE(spectrum->DisplayUnitsText(), microtesla);
        // From the change on, nothing in tesla: the largest went with the data.
        QVERIFY(std::isnan(spectrum->Exposure()->MaxSummationIndex()) ||
                spectrum->Exposure()->MaxSummationIndex() < 0.006);
        check(app, false);
        click("holdButton");
        quit();

        // A restart remembers the unit and the file.
        app = launch();
        prompt.reset(); // a double leaving uninstalls whatever is installed
        prompt = std::make_unique<RecordingPrompt>();
        app->initialize();
        click("spectrumPageButton");
        QCOMPARE(app->MainViewModel().pActivePageViewModel()->property("LimitsFileName").toString(),
                 QString("ICNIRP2010_GeneralPublic.xml"));
        check(app, true);
        QVERIFY2(prompt->asked.isEmpty(), qPrintable(prompt->asked.join('\n')));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }
};

QTEST_MAIN(tst_AppSpectrum)
#include "tst_app_spectrum.moc"
