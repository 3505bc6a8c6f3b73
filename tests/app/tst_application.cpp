#include "../support/MessageCapture.h"
#include "../support/PluginFolders.h"
#include "../support/RecordingPrompt.h"
#include "../support/SimulatedFailures.h"
#include "app/CApplication.h"
#include "app/CConstants.h"
#include "app/CLogFilterProxyModel.h"
#include "files/CHdf5ResultsFile.h"
#include "files/CXMLResultsSerializer.h"
#include "instruments/CConnectionPageViewModel.h"
#include "instruments/CInstrument.h"
#include "instruments/CMapperPluginStopAndGo.h"
#include "instruments/CPluginsManager.h"
#include "instruments/CTriggerPlugin.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMappingParameters.h"
#include "model/CMeasurementParameters.h"
#include "model/CPosition.h"
#include "operations/CMapperPositionSourceCartesian.h"
#include "operations/COperationMapping.h"
#include "operations/COperationMeasure.h"
#include "operations/COperationsManager.h"
#include "operations/CRecordingManagerMeasure.h"
#include "viewmodels/CAcAnalysisOperationViewModel.h"
#include "viewmodels/CArrowListModel.h"
#include "viewmodels/CChart2DAcAnalysisData.h"
#include "viewmodels/CChart2DMeterData.h"
#include "viewmodels/CColourMap.h"
#include "viewmodels/CExposureViewModel.h"
#include "viewmodels/CFrequencyPeakListData.h"
#include "viewmodels/CFrequencyTableData.h"
#include "viewmodels/CLinePlot.h"
#include "viewmodels/CMappingOperationViewModel.h"
#include "viewmodels/CMappingParametersViewModel.h"
#include "viewmodels/CMeasureBlockData.h"
#include "viewmodels/CMeterOperationDatasetViewModel.h"
#include "viewmodels/CMeterOperationViewModel.h"
#include "viewmodels/COperationViewModel.h"
#include "viewmodels/CPageViewModel.h"
#include "viewmodels/CReportViewModel.h"
#include "viewmodels/CSettingsPageViewModel.h"
#include "viewmodels/CSpectrumOperationViewModel.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtCharts/QAbstractSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <unistd.h>

// The whole program in this process, with the real plug-ins and the real QML
// front end under an X server: start-up, pages, the default instrument across
// a restart, and shutdown.
// Takes the URLs the program asks the desktop to open (the help pages) instead of a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

// The rows of the band table: the limits' bands up to the one holding half the rate.
int bandsShown(COperationMeasure& operation)
{
    const double half = operation.MeasurementParameters()->AcquisitionRate() / 2;
    int rows = 0;
    for (const auto& range : operation.LimitsFile()->Limits())
    {
        ++rows;
        if (range->UpperFrequencyLimitValue() >= half)
            break;
    }
    return rows;
}

class tst_Application : public QObject
{
    Q_OBJECT

private:
    PluginFolders m_Folders;
    MessageCapture* m_Log = nullptr;

    bool m_Running = false;

    // The program as main() makes it; cleanup() ends it however the function ends.
    CApplication* launch()
    {
        m_Running = true;
        return CApplication::instance();
    }

    void quit()
    {
        CApplication* app = CApplication::instance();
        app->terminate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_Running = false;
    }

    QStringList qmlWarnings() const
    {
        QStringList found;
        for (const QString& line : m_Log->all())
        {
            if ((line.startsWith("WARN") || line.startsWith("CRIT")) &&
                (line.contains("qml") || line.contains("qrc:") || line.contains("QQuick") ||
                 line.contains("QML") || line.contains("DelegateModel")))
                found << line;
        }
        return found;
    }

    QQuickWindow* mainWindow()
    {
        const QList<QObject*> roots = CApplication::instance()->Engine().rootObjects();
        return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.first());
    }

    // Items made by repeaters are visual children only: the search walks those.
    static QQuickItem* findItem(QQuickItem* root, const QString& objectName)
    {
        for (QQuickItem* child : root->childItems())
        {
            if (child->objectName() == objectName && child->isVisible())
                return child;
            if (QQuickItem* found = findItem(child, objectName))
                return found;
        }
        return nullptr;
    }

    // Scrolls the panel holding the item so that it shows, as a user would.
    static void ensureVisible(QQuickItem* item)
    {
        for (QQuickItem* p = item->parentItem(); p; p = p->parentItem())
        {
            if (!p->inherits("QQuickFlickable"))
                continue;
            auto* content = qvariant_cast<QQuickItem*>(p->property("contentItem"));
            const double y = item->mapToItem(content, QPointF(0, 0)).y();
            const double most = std::max(0.0, p->property("contentHeight").toDouble() - p->height());
            p->setProperty("contentY", std::clamp(y - p->height() / 2, 0.0, most));
            QTest::qWait(50);
            return;
        }
    }

    // Clicks the control of that objectName in the window, as a user would.
    void click(const QString& objectName)
    {
        QQuickWindow* window = mainWindow();
        QVERIFY(window);
        // Buttons shown or hidden by the last step move the others: let the layout settle,
        // and give a page still loading the time to show the control.
        QTest::qWait(100);
        QQuickItem* item = nullptr;
        QTRY_VERIFY2((item = findItem(window->contentItem(), objectName)) != nullptr, qPrintable(objectName));
        QVERIFY2(item->isVisible(), qPrintable(objectName + " is hidden"));
        ensureVisible(item);
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        QCoreApplication::processEvents();
    }

    // Presses a slider's track at that fraction of its length (from the left, or the top).
    void clickAt(const QString& objectName, double fraction)
    {
        QQuickWindow* window = mainWindow();
        QVERIFY(window);
        QTest::qWait(100);
        QQuickItem* item = findItem(window->contentItem(), objectName);
        QVERIFY2(item && item->isVisible() && item->isEnabled(), qPrintable(objectName));
        const bool vertical = item->height() > item->width();
        const QPointF at = vertical ? QPointF(item->width() / 2, item->height() * fraction)
                                    : QPointF(item->width() * fraction, item->height() / 2);
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, item->mapToScene(at).toPoint());
        QCoreApplication::processEvents();
    }

    // Types into a number field as a user would: click, erase, type, Return.
    void typeInto(const QString& objectName, const QString& text, bool numberField = true)
    {
        click(numberField ? objectName + "Input" : objectName);
        QQuickWindow* window = mainWindow();
        QTest::keyClick(window, Qt::Key_End);
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(window, Qt::Key_Backspace);
        for (const QChar c : text)
            QTest::keyClick(window, c.toLatin1());
        QTest::keyClick(window, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    // Chooses the entry at `index` of a combo box as a user would: open it, arrows, Return.
    void choose(const QString& objectName, int index)
    {
        click(objectName);
        QQuickItem* box = findItem(mainWindow()->contentItem(), objectName);
        QVERIFY(box);
        const int current = box->property("currentIndex").toInt();
        QTest::qWait(100); // the list opens
        for (int i = current; i < index; ++i)
            QTest::keyClick(mainWindow(), Qt::Key_Down);
        for (int i = current; i > index; --i)
            QTest::keyClick(mainWindow(), Qt::Key_Up);
        QTest::keyClick(mainWindow(), Qt::Key_Return);
        QTRY_COMPARE(box->property("currentIndex").toInt(), index);
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
        QVERIFY(m_Folders.copy("limits", "ICNIRP2010_GeneralPublic.xml", "limits"));
        QVERIFY(m_Folders.copy("limits", "ICNIRP2010_Occupational.xml", "limits"));
        CApplication::m_AppDirPath = m_Folders.program();
        m_Log = new MessageCapture();
    }

    // Every function starts from the same account, whatever ran before it: the
    // simulated probe remembered as the default instrument (the first start has no
    // settings at all), and a log with nothing of an earlier function in it.
    void init()
    {
        const QString data = CConstants::DefaultApplicationParameterStoragePath;
        QVERIFY(QDir(data).removeRecursively());
        QVERIFY(QDir().mkpath(data));
        if (QLatin1String(QTest::currentTestFunction()) != "firstStartShowsTheInstrumentSelection")
        {
            QFile remembered(CSettings(m_Folders.program()).InstrumentParameterPath() + '/' +
                             CConstants::ConnectionSettingsFilename);
            QVERIFY(remembered.open(QIODevice::WriteOnly));
            remembered.write("<SETTINGS><Name>Simulated probe</Name><SerialNumber>SIM-0001</SerialNumber>"
                             "<SerialPort>ttyS0</SerialPort><BaudRate>9600</BaudRate></SETTINGS>");
        }
        m_Log->clear();
    }

    void cleanup()
    {
        if (m_Running)
            quit();
    }

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

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        delete m_Log;
    }
};

QTEST_MAIN(tst_Application)
#include "tst_application.moc"
