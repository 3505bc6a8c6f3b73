#pragma once

#include "MessageCapture.h"
#include "PluginFolders.h"
#include "RecordingPrompt.h"
#include "SimulatedFailures.h"
#include "app/CApplication.h"
#include "app/CConstants.h"
#include "app/CLogFilterProxyModel.h"
#include "files/CHdf5ResultsFile.h"
#include "files/CXMLResultsSerializer.h"
#include "instruments/CInstrument.h"
#include "instruments/CMapperPluginStopAndGo.h"
#include "instruments/CPluginsManager.h"
#include "instruments/CTriggerPlugin.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMeasurementParameters.h"
#include "model/CPosition.h"
#include "operations/CMapperPositionSourceCartesian.h"
#include "operations/CMappingParameters.h"
#include "operations/COperationMapping.h"
#include "operations/COperationMeasure.h"
#include "operations/COperationsManager.h"
#include "operations/CRecordingManagerMeasure.h"
#include "quickitems/CLinePlot.h"
#include "viewmodels/CAcAnalysisOperationViewModel.h"
#include "viewmodels/CArrowListModel.h"
#include "viewmodels/CChart2DAcAnalysisData.h"
#include "viewmodels/CChart2DMeterData.h"
#include "viewmodels/CColourMap.h"
#include "viewmodels/CConnectionPageViewModel.h"
#include "viewmodels/CExposureViewModel.h"
#include "viewmodels/CFrequencyPeakListData.h"
#include "viewmodels/CFrequencyTableData.h"
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

// The rows of the band table: the limits' bands up to the one holding half the rate.
inline int bandsShown(COperationMeasure& operation)
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
// The whole program in the test's process, with the real plug-ins and the real QML
// front end under an X server, for the programs that test it page by page: start it,
// click, type and choose by objectName, take screenshots, end it however a test ends.
class AppFixture
{
protected:
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

    void fixtureInitTestCase()
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
    void fixtureInit()
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

    void fixtureCleanup()
    {
        if (m_Running)
            quit();
    }

    void fixtureCleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        delete m_Log;
    }
};
