#include "../support/RecordingPrompt.h"
#include "app/CSettings.h"
#include "viewmodels/CSettingsPageViewModel.h"

#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The settings page's view model against a real settings store and file.
class tst_SettingsPage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;
    QString m_Params;
    QString m_Store;

    QString file() const { return m_Dir.path() + "/TesvanaApplicationSettings.xml"; }
    QByteArray fileContent() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A store as the program has it: its file saved once with two existing folders.
    void saveStartingFile()
    {
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        settings.setInstrumentParameterPath(m_Params);
        settings.setDefaultStoragePath(m_Store);
        settings.setLogMaxHistoryCount(300);
        QVERIFY(settings.Save());
    }

private slots:
    void initTestCase()
    {
        m_Params = m_Dir.path() + "/params";
        m_Store = m_Dir.path() + "/store";
        QVERIFY(QDir().mkpath(m_Params));
        QVERIFY(QDir().mkpath(m_Store));
    }
    void init()
    {
        QFile::remove(file());
        saveStartingFile();
    }

    void shortPaths()
    {
        const QString eighty = "/" + QString(79, 'a');
        QCOMPARE(eighty.size(), 80);
        QCOMPARE(CSettingsPageViewModel::ShortPath(eighty), eighty);
        // 81 characters: leading folders give way until the rest is shorter than 81.
        const QString eightyOne = "/home/" + QString(40, 'b') + "/" + QString(34, 'c');
        QCOMPARE(eightyOne.size(), 81);
        QCOMPARE(CSettingsPageViewModel::ShortPath(eightyOne),
                 ".../" + QString(40, 'b') + "/" + QString(34, 'c'));
        const QString deep =
            "/home/user/" + QString(30, 'd') + "/" + QString(30, 'e') + "/" + QString(30, 'f');
        QCOMPARE(CSettingsPageViewModel::ShortPath(deep), ".../" + QString(30, 'e') + "/" + QString(30, 'f'));
        // One folder name longer than the limit is still shown, not an empty ".../".
        const QString huge = "/x/" + QString(100, 'g');
        QCOMPARE(CSettingsPageViewModel::ShortPath(huge), ".../" + QString(100, 'g'));

        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        settings.setDefaultStoragePath(deep);
        CSettingsPageViewModel page(settings);
        // The page reads the file again: the saved folder, in full.
        QCOMPARE(page.DefaultStoragePath(), m_Store);
        page.setDefaultStoragePath(deep);
        QCOMPARE(page.DefaultStoragePathShort(), CSettingsPageViewModel::ShortPath(deep));
        QVERIFY(page.DefaultStoragePathMissing());
        QCOMPARE(page.InstrumentDriverPluginsPathShort(), QString("/opt/prog/tesvana/instrument"));
    }

    void editsReachTheStoreAndOnlyRealEditsAreUnsaved()
    {
        RecordingPrompt prompt;
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        CSettingsPageViewModel page(settings);
        QCOMPARE(page.Name(), QString("Settings"));
        QCOMPARE(page.HelpPath(), QString("settings"));
        QVERIFY(!page.HasUnsavedParameter());
        QCOMPARE(page.LogMaxHistoryCount(), 300u);

        // The CSV choice takes effect at once and asks nothing on leaving; it is kept in
        // the file alone, without the other edits.
        page.setLogMaxHistoryCount(400);
        page.setSaveRecordingsAsCsv(true);
        QVERIFY(settings.SaveRecordingsAsCsv());
        QVERIFY(CSettings("/opt/prog", nullptr, m_Dir.path()).SaveRecordingsAsCsv());
        QCOMPARE(CSettings("/opt/prog", nullptr, m_Dir.path()).LogMaxHistoryCount(), 300u);
        page.restore();
        QVERIFY(settings.SaveRecordingsAsCsv());
        QVERIFY(!page.HasUnsavedParameter());

        // Counts outside their bounds are refused; the value stays.
        page.setLogMaxHistoryCount(5);
        page.setMeasurementMaxMeasurementCount(0);
        page.setMappingMaxMeasurementCount(quint64(1) << 40);
        QCOMPARE(page.LogMaxHistoryCount(), 300u);
        QCOMPARE(page.MeasurementMaxMeasurementCount(), quint64(120000));
        QCOMPARE(page.MappingMaxMeasurementCount(), quint64(1000000));
        QVERIFY(!page.HasUnsavedParameter());

        page.setLogMaxHistoryCount(500);
        QCOMPARE(settings.LogMaxHistoryCount(), 500u);
        QVERIFY(page.HasUnsavedParameter());
        page.restore();
        QVERIFY(!page.HasUnsavedParameter());
        QCOMPARE(settings.LogMaxHistoryCount(), 300u);
        QCOMPARE(page.LogMaxHistoryCount(), 300u);

        // What the page binds to the store itself is an edit too.
        settings.setEnableMappingMode(false);
        QVERIFY(page.HasUnsavedParameter());
        page.restore();
        QVERIFY(settings.EnableMappingMode());

        // The plug-in folders are not in the file: restore still puts them back.
        page.setTriggerPluginsPath("/elsewhere");
        QCOMPARE(settings.TriggerPluginsPath(), QString("/elsewhere"));
        QSignalSpy unsaved(&page, &CPageViewModel::HasUnsavedParameterChanged);
        page.restore();
        // Reading the store back is no edit: the flag only goes down, once, and a restore
        // with nothing to undo leaves it alone.
        QCOMPARE(unsaved.size(), 1);
        page.restore();
        QCOMPARE(unsaved.size(), 1);
        QCOMPARE(settings.TriggerPluginsPath(), QString("/opt/prog/tesvana/trigger"));
        QCOMPARE(page.TriggerPluginsPathShort(), QString("/opt/prog/tesvana/trigger"));
        QVERIFY(prompt.asked.isEmpty());
    }

    // The switches and view options the page mirrors: each page property that tells of a
    // store change is the store's property of that name, read and written through.
    void mirroredSettingsReadAndWriteTheStore()
    {
        // A property's value as a number (an enumeration's too, which QVariant does not convert).
        const auto number = [](const QVariant& value) {
            return QMetaType::typeFlags(value.userType()) & QMetaType::IsEnumeration
                       ? double(*static_cast<const int*>(value.constData()))
                       : value.toDouble();
        };
        RecordingPrompt prompt;
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        CSettingsPageViewModel page(settings);
        const QMetaObject* meta = page.metaObject();
        int mirrored = 0;
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        {
            const QMetaProperty property = meta->property(i);
            if (property.notifySignal().name() != "StoreChanged")
                continue;
            ++mirrored;
            const char* name = property.name();
            QVERIFY2(settings.metaObject()->indexOfProperty(name) >= 0, name);
            QVERIFY2(number(page.property(name)) == number(settings.property(name)), name);
            const QVariant before = settings.property(name);
            // (The 2-D axis is a number on the page and an enumeration in the store.)
            // Another value of the same type: a switch flipped, a number moved by one.
            QVariant other =
                before.type() == QVariant::Bool ? QVariant(!before.toBool()) : QVariant(number(before) - 1);
            QVERIFY(other.convert(int(property.userType())));
            QSignalSpy told(&page, &CSettingsPageViewModel::StoreChanged);
            QVERIFY2(page.setProperty(name, other), name);
            QVERIFY2(number(settings.property(name)) == other.toDouble(), name);
            QCOMPARE(told.count(), 1);
            QVERIFY(page.HasUnsavedParameter());
            page.restore();
            QCOMPARE(number(settings.property(name)), number(before));
        }
        QCOMPARE(mirrored, 11); // ten switches and view options, and the 2-D axis
    }

    void saveRoundTripsThroughTheFileAndTellsToRestart()
    {
        RecordingPrompt prompt;
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        {
            CSettingsPageViewModel page(settings);
            page.setCheckForNewVersion(false);
            page.setMappingMaxMeasurementCount(2000);
            page.setMeasurementMaxMeasurementCount(3000);
            // A folder that is not there yet is made when saving.
            const QString fresh = m_Dir.path() + "/new/documents";
            page.setDefaultStoragePath(fresh);
            QVERIFY(page.DefaultStoragePathMissing());
            settings.setMeter3DZoomLevel(150);
            QVERIFY(page.save());
            QVERIFY(!page.HasUnsavedParameter());
            QVERIFY(!page.DefaultStoragePathMissing());
            QCOMPARE(prompt.asked, QStringList({"Information: Restart application / Please restart the "
                                                "application to apply the new settings"}));
        }
        CSettings reread("/opt/prog", nullptr, m_Dir.path());
        QVERIFY(!reread.CheckForNewVersion());
        QCOMPARE(reread.MappingMaxMeasurementCount(), quint64(2000));
        QCOMPARE(reread.MeasurementMaxMeasurementCount(), quint64(3000));
        QCOMPARE(reread.DefaultStoragePath(), m_Dir.path() + "/new/documents");
        QCOMPARE(reread.Meter3DZoomLevel(), 150.0);
        QCOMPARE(reread.LogMaxHistoryCount(), 300u);
    }

    void aFolderThatCannotBeMadeKeepsTheFile()
    {
        RecordingPrompt prompt;
        const QByteArray before = fileContent();
        QFile blocker(m_Dir.path() + "/plainfile");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        CSettingsPageViewModel page(settings);
        page.setInstrumentParameterPath(blocker.fileName() + "/params");
        page.setLogMaxHistoryCount(1000);
        QVERIFY(!page.save());
        QVERIFY(page.HasUnsavedParameter());
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.first().startsWith(
            "Error: The settings were not saved / This folder cannot be made"));
        QCOMPARE(fileContent(), before);
    }

    void restoreDefaultsAsksFirst()
    {
        RecordingPrompt prompt;
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        CSettingsPageViewModel page(settings);
        prompt.confirm = false;
        page.restoreDefaults();
        QCOMPARE(page.LogMaxHistoryCount(), 300u);
        QCOMPARE(prompt.asked,
                 QStringList({"Confirm: Are you sure you want to restore the factory settings ? / "
                              "Your current settings will be lost"}));
        prompt.confirm = true;
        page.setMappingMaxMeasurementCount(5000);
        page.restoreDefaults();
        QCOMPARE(page.LogMaxHistoryCount(), 200u);
        QCOMPARE(page.MappingMaxMeasurementCount(), quint64(1000000));
        QVERIFY(!page.HasUnsavedParameter());
        QVERIFY(prompt.asked.last().startsWith("Information: Restart application"));
        CSettings reread("/opt/prog", nullptr, m_Dir.path());
        QCOMPARE(reread.LogMaxHistoryCount(), 200u);
    }

    // A settings file that cannot be written (its name is taken by a folder, which no
    // account can write over): restoring the defaults says so instead of asking for a
    // restart and keeps them unsaved; the CSV choice says so too.
    void failedSavesAreReported()
    {
        const QString broken = m_Dir.path() + "/broken";
        QVERIFY(QDir().mkpath(broken + "/TesvanaApplicationSettings.xml"));
        RecordingPrompt prompt;
        prompt.confirm = true;
        CSettings settings("/opt/prog", nullptr, broken);
        CSettingsPageViewModel page(settings);
        page.restoreDefaults();
        QCOMPARE(prompt.asked.size(), 2);
        QVERIFY2(prompt.asked.last().startsWith("Error: Could not save the settings"),
                 qPrintable(prompt.asked.last()));
        QVERIFY(page.HasUnsavedParameter());
        page.setSaveRecordingsAsCsv(!page.SaveRecordingsAsCsv());
        QCOMPARE(prompt.asked.size(), 3);
        QVERIFY(prompt.asked.last().startsWith("Error: Could not save the settings"));
    }

    // One choice saved alone (a skipped version, the CSV choice) leaves the page's unsaved
    // edits out of the file.
    void aChoiceSavedAloneLeavesTheEditsUnsaved()
    {
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        CSettingsPageViewModel page(settings);
        page.setLogMaxHistoryCount(900);
        QVERIFY(settings.SaveAlone([](CSettings& s) { s.setIgnoreSpecificVersion("2.0"); }));
        QCOMPARE(settings.IgnoreSpecificVersion(), QString("2.0"));
        CSettings reread("/opt/prog", nullptr, m_Dir.path());
        QCOMPARE(reread.IgnoreSpecificVersion(), QString("2.0"));
        QCOMPARE(reread.LogMaxHistoryCount(), 300u);
        QVERIFY(page.HasUnsavedParameter());
    }

    void leavingWithoutSavingUndoesTheEdits()
    {
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        auto* page = new CSettingsPageViewModel(settings);
        page->setLogMaxHistoryCount(900);
        // The switches and plot options as the page sets them: in the store at once, unsaved.
        QSignalSpy shown(page, &CSettingsPageViewModel::StoreChanged);
        page->setEnableMeterMode(false);
        page->setMapping3DZoomLevel(42);
        page->setMapping2DPlotHorizontalAxisType(7); // no such axis: refused
        QVERIFY(!settings.EnableMeterMode() && !page->EnableMeterMode());
        QCOMPARE(settings.Mapping3DZoomLevel(), 42.0);
        QCOMPARE(page->Mapping2DPlotHorizontalAxisType(), int(CSettings::e_HorizAxisIsZPosition));
        QCOMPARE(shown.count(), 2);
        QVERIFY(page->HasUnsavedParameter());
        page->setInstrumentParameterPath(m_Store);
        QCOMPARE(settings.LogMaxHistoryCount(), 900u);
        page->discardUnsavedParameters();
        QCOMPARE(settings.LogMaxHistoryCount(), 300u);
        QVERIFY(settings.EnableMeterMode() && page->EnableMeterMode());
        QCOMPARE(page->Mapping3DZoomLevel(), 90.0);
        QCOMPARE(settings.InstrumentParameterPath(), m_Params);
        // And when the page simply goes; what other pages changed meanwhile stays.
        page->setLogMaxHistoryCount(900);
        settings.setIgnoreSpecificVersion("9.9");
        settings.setAveragingCount(7);
        delete page;
        QCOMPARE(settings.LogMaxHistoryCount(), 300u);
        QCOMPARE(settings.IgnoreSpecificVersion(), QString("9.9"));
        QCOMPARE(settings.AveragingCount(), 7u);
    }
};

QTEST_MAIN(tst_SettingsPage)
#include "tst_settingspage.moc"
