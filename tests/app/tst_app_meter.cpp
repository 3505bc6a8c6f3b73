#include "../support/AppFixture.h"

// The meter page: record, save, load, replay, the chart and the keys.
class tst_AppMeter : public QObject, public AppFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { fixtureInitTestCase(); }
    void init() { fixtureInit(); }
    void cleanup() { fixtureCleanup(); }
    void cleanupTestCase() { fixtureCleanupTestCase(); }

    // A user's run through the meter page's own buttons: live values, a recording
    // saved, ended, loaded and replayed.
    void meterPageRecordsSavesLoadsAndReplays()
    {
        CApplication* app = launch();
        app->initialize();
        QCOMPARE(app->MainViewModel().LoaderSource(), QString("Pages/MeterPage.qml"));
        auto* meter = qobject_cast<CMeterOperationViewModel*>(app->MainViewModel().pActivePageViewModel());
        QVERIFY(meter);
        QCOMPARE(meter->DisplayUnits(), CUnits::UnitType::TESLA); // the instrument's first unit
        CRecordingManagerMeasure& recorder = *meter->Operation()->RecordingManager();
        RecordingPrompt prompt;

        click("resumeButton");
        QTRY_VERIFY_WITH_TIMEOUT(meter->BLastBlock() != 0.0, 5000);
        QVERIFY(meter->BMax() != 0.0);
        // The table is filled when it is shown.
        click("tableTab");
        QTRY_VERIFY(meter->MeterOperationDatasetViewModel()->TableData()->rowCount() > 0);
        screenshot("meter_table");
        click("componentsTab");
        // The compass needle leans by the share of the field along the probe axis.
        QQuickItem* needle = findItem(mainWindow()->contentItem(), "compassNeedle");
        QVERIFY(needle);
        QTRY_VERIFY(needle->isVisible());
        const auto lean = [meter] {
            const double side = meter->UpdateLeftCompas() ? -1 : 1;
            return std::asin(std::clamp(meter->CompasWidth(), -1.0, 1.0)) * side * 180 / M_PI;
        };
        QTRY_VERIFY2(std::fabs(needle->rotation() - lean()) < 1e-6,
                     qPrintable(QString("%1 %2").arg(needle->rotation()).arg(lean())));
        screenshot("meter_live");

        // The zero offset, as a user takes it: the dialog shows it is busy, then closes.
        click("zeroOffsetButton");
        QObject* dialog = mainWindow()->findChild<QObject*>("zeroOffsetDialog");
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->property("opened").toBool());
        screenshot("zero_offset_dialog");
        QMetaObject::invokeMethod(meter, "zeroOffset", Q_ARG(bool, false));
        QVERIFY(meter->ZeroOffsetBusy());
        QVERIFY(dialog->property("busy").toBool());
        QVERIFY(mainWindow()->grabWindow().save(QCoreApplication::applicationDirPath() +
                                                "/screenshots/zero_offset_busy.png"));
        QTRY_VERIFY(!meter->ZeroOffsetBusy());
        QTRY_VERIFY(!dialog->property("visible").toBool());

        click("recordButton");
        QVERIFY(recorder.IsRecording());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.NumBlocks() >= 6, 5000);
        click("stopButton");
        QVERIFY(!recorder.IsRecording());
        QVERIFY(recorder.IsIdleWithData());
        const int recorded = recorder.NumBlocks();

        const QString path = QDir(qEnvironmentVariable("HOME")).filePath("meter-run.xml");
        QFile::remove(path);
        prompt.files << path;
        click("saveButton");
        QVERIFY(QFile::exists(path));
        QVERIFY(!recorder.HasUnsavedData());
        // The same recording as HDF5, every block of it.
        const QString h5 = QDir(qEnvironmentVariable("HOME")).filePath("meter-run.h5");
        QFile::remove(h5);
        prompt.files << h5;
        screenshot("meter_recording_held");
        click("exportHdf5Button");
        QVERIFY2(prompt.asked.last().contains("_measurement.h5"), qPrintable(prompt.asked.last()));
        CDataSetMeasurement exported(*app->Settings());
        QString error;
        QVERIFY2(CHdf5ResultsFile::Read(h5, exported, &error), qPrintable(error));
        QCOMPARE(int(exported.MeasureBlocks()->size()), recorded);

        click("endButton");
        QTRY_COMPARE(recorder.NumBlocks(), 0);

        prompt.files << path;
        click("loadButton");
        QCOMPARE(recorder.NumBlocks(), recorded);
        QVERIFY(recorder.IsDataLoaded());

        QSignalSpy replayed(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock);
        recorder.setTimeWarp(10);
        click("startButton");
        QTRY_COMPARE_WITH_TIMEOUT(replayed.count(), recorded, 10000);
        QTRY_VERIFY(!recorder.IsPlayingBack());
        screenshot("meter_replayed");

        // The replay drew the recording once more from its start, every sample once.
        CChart2DMeterData& chart = *meter->Chart();
        quint64 samples = 0;
        for (const auto& block : *recorder.DataSet()->MeasureBlocks())
            samples += quint64(block->Results.size());
        QCOMPARE(chart.MeasureResultCount(), samples);

        // The rotation indicator and the plot's range sliders, as a user works them.
        click("rotationIndicatorBox");
        QVERIFY(meter->RotEnable());
        click("plotTab");
        const double before = chart.Xmin();
        clickAt("xRangeSlider", 0.4);
        QTRY_VERIFY(chart.Xmin() > before);
        QVERIFY(chart.Xmin() < chart.Xmax());
        clickAt("yRangeSlider", 0.1); // vertical: near the top moves the upper end down
        QVERIFY(!chart.AutoScaling());
        QVERIFY(chart.Ymax() < chart.YmaxAllSignal());
        // Each series' box shows the series' colour: Bx orange, Bz red.
        const QStringList colours = {"#0078d7", "#8e44ad", "#d35400", "#27ae60",
                                     "#c0392b", "#b3babb", "#b3babb"};
        for (int c = 0; c < 7; ++c)
        {
            QQuickItem* swatch =
                findItem(mainWindow()->contentItem(), "componentColour" + QString::number(c));
            QVERIFY(swatch);
            QCOMPARE(swatch->property("color").value<QColor>(), QColor(colours[c]));
        }
        screenshot("meter_plot");
        // What the axes show is the range the model holds, after the user's choice.
        {
            QQuickItem* view = findItem(mainWindow()->contentItem(), "meterChart");
            QVERIFY(view);
            QtCharts::QAbstractSeries* series = nullptr;
            QVERIFY(QMetaObject::invokeMethod(
                view, "series", Q_RETURN_ARG(QtCharts::QAbstractSeries*, series), Q_ARG(int, 0)));
            QVERIFY(series);
            for (const char* name : {"axisX", "axisY"})
            {
                QtCharts::QAbstractAxis* axis = nullptr;
                QVERIFY(QMetaObject::invokeMethod(view, name, Q_RETURN_ARG(QtCharts::QAbstractAxis*, axis),
                                                  Q_ARG(QtCharts::QAbstractSeries*, series)));
                auto* values = qobject_cast<QtCharts::QValueAxis*>(axis);
                QVERIFY(values);
                const bool time = name == std::string("axisX");
                QCOMPARE(values->min(), time ? chart.Xmin() : chart.Ymin());
                QCOMPARE(values->max(), time ? chart.Xmax() : chart.Ymax());
            }
        }
        // The save, export and load file dialogs; End asks nothing: the recording is in its file.
        QCOMPARE(prompt.asked.size(), 3);

        // "Export image": the chart drawn again into a PNG at the scale chosen, and into an SVG;
        // both say what they show, where from and when, with a legend and round ticks.
        const QString png = m_Folders.program() + "/chart.png";
        const QString svg = m_Folders.program() + "/chart.svg";
        prompt.files << png << svg;
        QQuickItem* chartItem = findItem(mainWindow()->contentItem(), "meterChart");
        QCOMPARE(meter->ImageScale(), 2);
        QQuickItem* scaleBox = findItem(mainWindow()->contentItem(), "imageScaleBox");
        QVERIFY(scaleBox);
        QMetaObject::invokeMethod(scaleBox, "activated", Q_ARG(int, 2));
        QCOMPARE(meter->ImageScale(), 4);
        click("exportImageButton");
        QVERIFY2(prompt.asked.last().endsWith("_measurement.png"), qPrintable(prompt.asked.last()));
        const QImage image(png);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(4 * std::max(640, int(std::ceil(chartItem->width()))),
                                     4 * std::max(400, int(std::ceil(chartItem->height())))));
        image.save(QCoreApplication::applicationDirPath() + "/screenshots/meter_chart_export.png");
        click("exportImageButton");
        QFile vector(svg);
        QVERIFY(vector.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&vector);
        int polylines = 0;
        QStringList texts;
        while (!xml.atEnd())
        {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("polyline"))
                ++polylines;
            else if (xml.name() == QLatin1String("text"))
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(polylines >= 5); // B, Bx, By, Bz and B.B' at least
        // Tick labels at round values: none like "4.325" or "12.975" (at most two significant
        // digits past the step's own, as 1100 in steps of 100).
        int ticks = 0;
        for (const QString& text : texts)
        {
            bool number = false;
            const double value = text.toDouble(&number);
            if (!number || value == 0)
                continue;
            ++ticks;
            QString digits =
                QString::number(std::fabs(value), 'g', 15).remove('.').remove(QRegularExpression("^0+"));
            digits.remove(QRegularExpression("0+$"));
            QVERIFY2(digits.size() <= 2, qPrintable(text));
        }
        QVERIFY(ticks >= 4);
        for (const char* expected : {"Meter", "Bx", "B\u00b7B'"})
            QVERIFY2(texts.contains(QString::fromUtf8(expected)), qPrintable(texts.join('|')));
        // From the file shown (also in the window's title and the recording bar), or the probe.
        const QString source = meter->DocumentName().isEmpty() ? QString("Simulated") : meter->DocumentName();
        QVERIFY2(
            std::any_of(texts.begin(), texts.end(), [&](const QString& t) { return t.startsWith(source); }),
            qPrintable(source + ": " + texts.join('|')));
        if (!meter->DocumentName().isEmpty())
        {
            QVERIFY2(mainWindow()->title().startsWith(meter->DocumentName()),
                     qPrintable(mainWindow()->title()));
            QVERIFY(findItem(mainWindow()->contentItem(), "documentName")->isVisible());
        }
        QVERIFY2(
            std::any_of(texts.begin(), texts.end(), [](const QString& t) { return t.startsWith("Time ["); }),
            qPrintable(texts.join('|')));
        const QString shots = QCoreApplication::applicationDirPath() + "/screenshots/";
        QFile::remove(shots + "meter_chart_export.svg");
        QFile::copy(svg, shots + "meter_chart_export.svg");
        QCOMPARE(prompt.asked.size(), 5);
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    // With the manual mapper its window shows the next point, and each press of its
    // Ready button measures there and moves on.
    // The keys of the action bar and of page switching do what their buttons do, only when shown.
    // A recording with a one-sample spike where the chart used to skip results: loaded
    // on the meter page, the chart shows the spike and scales to it.
    void meterChartShowsASpike()
    {
        CApplication* app = launch();
        app->initialize();
        RecordingPrompt prompt;
        QCOMPARE(app->MainViewModel().LoaderSource(), QString("Pages/MeterPage.qml"));
        CDataSetMeasurement set(*app->Settings());
        set.setMeasurementParameters(app->OperationsManager().MeasureOperation()->MeasurementParameters());
        QSharedPointer<CMeasureBlock> block(new CMeasureBlock());
        const QDateTime start = QDateTime::currentDateTime();
        for (int i = 0; i < 1000; ++i)
        {
            auto sample = QSharedPointer<CFieldIntensityResult>::create();
            sample->Timestamp = start.addMSecs(i);
            sample->TimestampNanosecond = quint64(sample->Timestamp.time().msec()) * 1000000ULL;
            const float bz = i == 2 ? 5e-4f : 5e-5f + 1e-6f * float(std::sin(i * 0.05));
            sample->setBz(bz);
            sample->setB(bz);
            block->Results.append(sample);
        }
        set.AddMeasureBlock(block);
        const QString path = QDir(qEnvironmentVariable("HOME")).filePath("spike.xml");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(CXMLResultsSerializer().Serialize(&set, &file));
        file.close();
        prompt.files << path;
        click("loadButton");
        click("plotTab");
        auto* meter = qobject_cast<CMeterOperationViewModel*>(app->MainViewModel().pActivePageViewModel());
        QVERIFY(meter);
        CChart2DMeterData& chart = *meter->Chart();
        QTRY_VERIFY(chart.DownsampledSignalLength() > 0);
        chart.UpdateDownsampling();
        QVERIFY2(chart.Ymax() >= 5e-4, qPrintable(QString::number(chart.Ymax())));
        screenshot("meter_spike");

        // Zoomed by the wheel about the spike (2 ms in), the spike is still drawn; the
        // statistics of the window count it; a click reads it; a double click goes back.
        auto* plotItem = qobject_cast<CLinePlot*>(findItem(mainWindow()->contentItem(), "meterChart"));
        QVERIFY(plotItem);
        click("statisticsBox");
        QTRY_VERIFY(!chart.WindowStatistics().isEmpty());
        QCOMPARE(chart.WindowStatistics().first().toMap().value("max").toDouble(), double(5e-4f));
        const auto scenePoint = [plotItem](double x, double y) {
            return plotItem->mapToScene(plotItem->mapToPosition({x, y})).toPoint();
        };
        for (int notch = 0; notch < 12; ++notch)
        {
            const QPoint at = scenePoint(0.002, 5e-5);
            QWheelEvent wheel(at, mainWindow()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(mainWindow(), &wheel);
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY2(chart.Xmax() - chart.Xmin() < 0.2,
                     qPrintable(QString("%1 %2").arg(chart.Xmin()).arg(chart.Xmax())));
        QVERIFY(chart.Xmin() <= 0.002 && chart.Xmax() >= 0.002);
        QTRY_VERIFY(plotItem->xTitle() == "Time [ms]");
        chart.UpdateDownsampling();
        QVERIFY2(chart.Ymax() >= 5e-4, qPrintable(QString::number(chart.Ymax())));
        bool drawn = false;
        for (const QPointF& point : qobject_cast<QtCharts::QXYSeries*>(plotItem->series(0))->pointsVector())
            drawn = drawn || std::fabs(point.y() - 5e-4) < 1e-9;
        QVERIFY(drawn);
        QTRY_COMPARE(chart.WindowStatistics().first().toMap().value("max").toDouble(), double(5e-4f));
        QTest::mouseClick(mainWindow(), Qt::LeftButton, Qt::NoModifier, scenePoint(0.002, 5e-5));
        QTRY_COMPARE(plotItem->cursorPositions().size(), 1);
        QVERIFY2(plotItem->cursorText().startsWith("t = "), qPrintable(plotItem->cursorText()));
        QTest::mouseClick(mainWindow(), Qt::LeftButton, Qt::NoModifier, scenePoint(0.012, 5e-5));
        QTRY_COMPARE(plotItem->cursorPositions().size(), 2);
        QVERIFY2(plotItem->cursorText().contains(QString::fromUtf8("1/\u0394t = ")),
                 qPrintable(plotItem->cursorText()));
        screenshot("meter_zoomed_cursors");
        QTest::mouseDClick(mainWindow(), Qt::LeftButton, Qt::NoModifier, scenePoint(0.012, 5e-5));
        QTRY_VERIFY(chart.Xmax() - chart.Xmin() > 0.9);
        QVERIFY(plotItem->cursorPositions().isEmpty());
        QVERIFY(chart.AutoScaling());

        // The sample table to the clipboard (tab-separated, as a spreadsheet pastes it) and to
        // a CSV file, its columns under their headings with units.
        click("tableTab");
        QTRY_VERIFY(meter->MeterOperationDatasetViewModel()->TableData()->rowCount() > 0);
        const int rows = meter->MeterOperationDatasetViewModel()->TableData()->rowCount();
        QGuiApplication::clipboard()->clear();
        click("copyTableButton");
        const QStringList copied = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), rows + 1);
        QVERIFY2(copied.first().startsWith("Timestamp\tB [T]\t"), qPrintable(copied.first()));
        QCOMPARE(copied.at(1).split('\t').size(), 7);
        const QString csv = QDir(qEnvironmentVariable("HOME")).filePath("table.csv");
        prompt.files << csv;
        click("exportTableButton");
        QVERIFY2(prompt.asked.last().endsWith(".csv"), qPrintable(prompt.asked.last()));
        QFile table(csv);
        QVERIFY(table.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(table.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), rows + 1);
        QVERIFY2(lines.first().startsWith("Timestamp;B [T];"), qPrintable(lines.first()));
        screenshot("meter_table_tools");

        // The file read heads the recent files (kept in the settings); cleared, it is one
        // click away, and the next dialog opens where the last one was.
        QCOMPARE(meter->RecentFiles().value(0), path);
        QCOMPARE(app->Settings()->LastFolder(), QFileInfo(csv).absolutePath());
        click("endButton");
        QTRY_VERIFY(meter->DocumentName().isEmpty());
        click("recentButton");
        QQuickItem* recent = nullptr;
        QTRY_VERIFY((recent = findItem(mainWindow()->contentItem(), "recentFile0")) != nullptr);
        QMetaObject::invokeMethod(recent, "triggered");
        QTRY_COMPARE(meter->DocumentName(), QString("spike.xml"));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }

    void keyboardShortcuts()
    {
        CApplication* app = launch();
        app->initialize();
        QVERIFY(app->InstrumentSupervisor().HasActiveInstrument());
        CMainViewModel& main = app->MainViewModel();
        QQuickWindow* window = mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Keys go to the window the user works in.
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(main.LoaderSource(), QString("Pages/MeterPage.qml"));
        CInstrument* probe = app->InstrumentSupervisor().AvailableInstruments().first().data();
        QTest::keyClick(window, Qt::Key_F6); // Hold: not shown before a run, nothing happens
        QVERIFY(!probe->IsRunning());
        QTest::keyClick(window, Qt::Key_F5);
        QTRY_VERIFY(probe->IsRunning());
        QTest::keyClick(window, Qt::Key_F6);
        QTRY_VERIFY(!probe->IsRunning());
        QTest::keyClick(window, Qt::Key_2, Qt::ControlModifier);
        QTRY_COMPARE(main.LoaderSource(), QString("Pages/SpectrumPage.qml"));
        QTest::keyClick(window, Qt::Key_4, Qt::ControlModifier);
        QTRY_COMPARE(main.LoaderSource(), QString("Pages/MappingPage.qml"));
        QTest::keyClick(window, Qt::Key_1, Qt::ControlModifier);
        QTRY_COMPARE(main.LoaderSource(), QString("Pages/MeterPage.qml"));
        QCOMPARE(qmlWarnings(), QStringList());
        quit();
    }
};

QTEST_MAIN(tst_AppMeter)
#include "tst_app_meter.moc"
