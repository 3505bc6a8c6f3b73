#include "../support/MessageCapture.h"
#include "../support/PluginFolders.h"
#include "app/CSettings.h"
#include "instruments/CInstrumentListProvider.h"
#include "instruments/CInstrumentPlugin.h"
#include "instruments/CMapperPluginOnTheFly.h"
#include "instruments/CMapperPluginStopAndGo.h"
#include "instruments/CPluginsManager.h"
#include "instruments/CTriggerPlugin.h"
#include "model/CMetaTypes.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

// Loads the real plug-in libraries of the build from temporary folders.
class tst_Plugins : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Settings;

private slots:
    void initTestCase() { CMetaTypes::Register(); }

    void loadsEveryKindAndLogsEachFile()
    {
        PluginFolders folders;
        QVERIFY(folders.copy("instrument", "libSimulatedProbe.so", "instrument"));
        // A loadable library without the instrument entry point, and a text file.
        QVERIFY(folders.copy("trigger", "libClickfire.so", "instrument", "libNoEntry.so"));
        folders.text("instrument", "readme.txt");
        folders.text("mapper", "notes.txt");
        QVERIFY(folders.copy("mapper", "libStepmate.so", "mapper"));
        QVERIFY(folders.copy("mapper", "libSimulatedStage.so", "mapper"));
        QVERIFY(folders.copy("mapper", "libStepmate.so", "trigger", "libMapperOnly.so"));
        QVERIFY(folders.copy("trigger", "libClickfire.so", "trigger"));

        CSettings settings(folders.program(), nullptr, m_Settings.path());
        MessageCapture log;
        CPluginsManager manager(settings);
        manager.Initialize();

        QCOMPARE(manager.GetInstrumentPlugins().size(), 1);
        QCOMPARE(manager.GetMapperPlugins().size(), 2);
        QCOMPARE(manager.GetTriggerPlugins().size(), 1);
        QVERIFY(log.contains("INFO Loading Instrument plugin in " + folders.folder("instrument")));
        QVERIFY(log.contains("INFO library \"libSimulatedProbe.so\" loaded"));
        QVERIFY(log.contains("DEBUG Could not create instrument plugin from the loaded library"));
        QVERIFY(log.contains("DEBUG Could not create trigger plugin from the loaded library"));
        QVERIFY(log.contains("DEBUG library \"libStepmate.so\" loaded"));
        QVERIFY(!log.contains("Unable to load any instrument plugins"));
        // Each text file gives one line with the loader's error, and loading goes on.
        int textErrors = 0;
        for (const QString& line : log.all())
            textErrors += line.contains("readme.txt") || line.contains("notes.txt") ? 1 : 0;
        QCOMPARE(textErrors, 2);

        // Mapper kinds across the library boundary.
        int stopAndGo = 0;
        for (CMapperPlugin* mapper : manager.GetMapperPlugins())
        {
            QCOMPARE(mapper->GetKind(), int(CMapperPlugin::StopAndGo));
            QVERIFY(CMapperPluginStopAndGo::From(mapper));
            QVERIFY(!CMapperPluginOnTheFly::From(mapper));
            // The library's own meta-object is not the program's: qobject_cast cannot tell.
            QVERIFY(!qobject_cast<CMapperPluginStopAndGo*>(mapper));
            ++stopAndGo;
        }
        QCOMPARE(stopAndGo, 2);
        QStringList names;
        for (CMapperPlugin* mapper : manager.GetMapperPlugins())
            names << mapper->GetName();
        names.sort();
        QCOMPARE(names, QStringList({"Manual", "Simulated stage"}));
        QCOMPARE(manager.GetTriggerPlugins().first()->GetName(), QString("Manual"));

        // Shutdown: one Stop() each, then deletion.
        QList<QPointer<QObject>> objects;
        for (auto* p : manager.GetInstrumentPlugins())
            objects << QPointer<QObject>(p);
        for (auto* p : manager.GetMapperPlugins())
            objects << QPointer<QObject>(p);
        for (auto* p : manager.GetTriggerPlugins())
            objects << QPointer<QObject>(p);
        log.clear();
        manager.Finalize();
        QVERIFY(manager.GetInstrumentPlugins().isEmpty() && manager.GetMapperPlugins().isEmpty());
        QCOMPARE(log.count("DEBUG Simulated probe driver stopped"), 1);
        QCOMPARE(log.count("DEBUG Simulated stage stopped"), 1);
        QCOMPARE(log.count("DEBUG CStepmate Stop"), 1);
        QCOMPARE(log.count("DEBUG CClickfire Stop"), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<QObject>& object : objects)
            QVERIFY(object.isNull());
        QCOMPARE(log.count("DEBUG CStepmate destructor"), 1);
    }

    void warnsWithoutAnyInstrumentLibrary_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("warned");
        QTest::newRow("missing folder") << "none" << true;
        QTest::newRow("only a text file") << "text" << true;
        QTest::newRow("library without entry point") << "noentry" << false;
    }

    void warnsWithoutAnyInstrumentLibrary()
    {
        QFETCH(QString, setup);
        QFETCH(bool, warned);
        PluginFolders folders;
        if (setup == "text")
            folders.text("instrument", "a.txt");
        if (setup == "noentry")
            QVERIFY(folders.copy("trigger", "libClickfire.so", "instrument"));
        CSettings settings(folders.program(), nullptr, m_Settings.path());
        MessageCapture log;
        CPluginsManager manager(settings);
        manager.Initialize();
        QCOMPARE(log.contains("WARN Unable to load any instrument plugins"), warned);
        QVERIFY(manager.GetInstrumentPlugins().isEmpty());
        manager.Finalize();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(tst_Plugins)
#include "tst_plugins.moc"
