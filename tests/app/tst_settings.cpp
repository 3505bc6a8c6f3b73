#include "app/CSettings.h"

#include <QMetaProperty>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtDataVisualization/Q3DCamera>

class tst_Settings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;
    QString file() const { return m_Dir.path() + "/TesvanaApplicationSettings.xml"; }
    void write(const QByteArray& content)
    {
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QByteArray read()
    {
        QFile f(file());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }
    static QByteArray wrap(const QByteArray& body)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SETTINGS>\n" + body + "\n</SETTINGS>\n";
    }

private slots:
    void init() { QFile::remove(file()); }

    void defaultsWithoutFileCreateNothing()
    {
        CSettings settings("/opt/prog", nullptr, m_Dir.path());
        QCOMPARE(settings.MeasurementMaxMeasurementCount(), quint64(120000));
        QCOMPARE(settings.MappingMaxMeasurementCount(), quint64(1000000));
        QCOMPARE(settings.LogMaxHistoryCount(), 200u);
        QCOMPARE(settings.Meter3DCameraPreset(),
                 int(QtDataVisualization::Q3DCamera::CameraPresetIsometricRight));
        QCOMPARE(int(settings.Meter3DCameraPreset()), 14);
        QCOMPARE(settings.Mapping2DPlotHorizontalAxisType(), CSettings::e_HorizAxisIsZPosition);
        QCOMPARE(settings.InstrumentDriverPluginsPath(), QString("/opt/prog/tesvana/instrument"));
        QCOMPARE(settings.MapperPluginsPath(), QString("/opt/prog/tesvana/mapper"));
        QCOMPARE(settings.TriggerPluginsPath(), QString("/opt/prog/tesvana/trigger"));
        QCOMPARE(settings.CameraPresetNames().size(), 19);
        QCOMPARE(settings.CameraPresetNames().at(18), QString("Directly Above CCW 45"));
        QCOMPARE(settings.XAxisTypeNames(), QStringList({"Time", "X Position", "Y Position", "Z Position"}));
        QVERIFY(!QFile::exists(file()));
    }

    void roundTripKeepsEveryValueAndElementOrder()
    {
        {
            CSettings settings("/p", nullptr, m_Dir.path());
            settings.setInstrumentParameterPath("/data/params é");
            settings.setDefaultStoragePath("/data/store");
            settings.setIgnoreSpecificVersion("1.3.0");
            settings.setSaveRecordingsAsCsv(true);
            settings.setCheckForNewVersion(false);
            settings.setMappingMaxMeasurementCount(5000);
            settings.setMeasurementMaxMeasurementCount(7000);
            settings.setLogMaxHistoryCount(33);
            settings.setAveragingMode(2);
            settings.setAveragingCount(9);
            settings.setEnableSpectrumMode(false);
            settings.setMeter3DCameraPreset(QtDataVisualization::Q3DCamera::CameraPresetFront);
            settings.setMeter3DZoomLevel(123.456789);
            settings.setMapping3DOrthoProjection(true);
            settings.setMapping2DPlotHorizontalAxisType(CSettings::e_HorizAxisIsYPosition);
            settings.setMapperPluginsPath("/elsewhere");
            QVERIFY(settings.Save());
        }
        const QByteArray content = read();
        // Every element of the file, in the file's order: names and order are what files
        // written by earlier versions hold.
        QStringList elements;
        QRegularExpression open("<([A-Za-z0-9]+)>");
        for (auto it = open.globalMatch(QString::fromUtf8(content)); it.hasNext();)
            elements << it.next().captured(1);
        QCOMPARE(elements, QStringList({"SETTINGS",
                                        "InstrumentParameterPath",
                                        "DefaultStoragePath",
                                        "IgnoreSpecificVersion",
                                        "RecentMeasurementFiles",
                                        "RecentMappingFiles",
                                        "LastFolder",
                                        "ReportSite",
                                        "ReportSurveyor",
                                        "ReportNotes",
                                        "SaveRecordingsAsCsv",
                                        "CheckForNewVersion",
                                        "MappingMaxMeasurementCount",
                                        "MeasurementMaxMeasurementCount",
                                        "LogMaxHistoryCount",
                                        "AveragingMode",
                                        "AveragingCount",
                                        "EnableMeterMode",
                                        "EnableSpectrumMode",
                                        "EnableAcAnalysisMode",
                                        "EnableMappingMode",
                                        "Meter3DCameraPreset",
                                        "Meter3DZoomLevel",
                                        "Meter3DOrthoProjection",
                                        "Mapping3DCameraPreset",
                                        "Mapping3DZoomLevel",
                                        "Mapping3DOrthoProjection",
                                        "Mapping2DPlotHorizontalAxisType"}));
        QVERIFY(content.contains("    <Meter3DZoomLevel>123.457</Meter3DZoomLevel>"));
        QVERIFY(content.contains("<SaveRecordingsAsCsv>1</SaveRecordingsAsCsv>"));
        QVERIFY(!content.contains("Plugins"));
        QVERIFY(!content.contains("elsewhere"));

        CSettings again("/p", nullptr, m_Dir.path());
        QCOMPARE(again.InstrumentParameterPath(), QString("/data/params é"));
        QCOMPARE(again.IgnoreSpecificVersion(), QString("1.3.0"));
        QCOMPARE(again.SaveRecordingsAsCsv(), true);
        QCOMPARE(again.CheckForNewVersion(), false);
        QCOMPARE(again.MappingMaxMeasurementCount(), quint64(5000));
        QCOMPARE(again.MeasurementMaxMeasurementCount(), quint64(7000));
        QCOMPARE(again.LogMaxHistoryCount(), 33u);
        QCOMPARE(again.AveragingMode(), 2);
        QCOMPARE(again.AveragingCount(), 9u);
        QCOMPARE(again.EnableSpectrumMode(), false);
        QCOMPARE(again.Meter3DCameraPreset(), int(QtDataVisualization::Q3DCamera::CameraPresetFront));
        QCOMPARE(again.Meter3DZoomLevel(), 123.457);
        QCOMPARE(again.Mapping3DOrthoProjection(), true);
        QCOMPARE(again.Mapping2DPlotHorizontalAxisType(), CSettings::e_HorizAxisIsYPosition);
        QCOMPARE(again.MapperPluginsPath(), QString("/p/tesvana/mapper"));
    }

    // The table drives the reader, the writer and the settings page: every setting a
    // user or a page can change is in it, and each stored one reads back what it writes.
    void everySettingIsInTheTable()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        const QMetaObject* meta = settings.metaObject();
        QSet<QString> names;
        for (const CSettings::Entry& entry : CSettings::Entries())
        {
            QVERIFY2(meta->indexOfProperty(entry.Name) >= 0, entry.Name);
            QVERIFY2(!names.contains(entry.Name), entry.Name);
            names << entry.Name;
            if (!entry.Stored)
                continue;
            const QString text = entry.Write(settings);
            QVERIFY2(entry.Read(settings, text), entry.Name);
            QCOMPARE(entry.Write(settings), text);
        }
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
            if (meta->property(i).isWritable())
                QVERIFY2(names.contains(meta->property(i).name()), meta->property(i).name());
    }

    void parseRules()
    {
        write(
            wrap("<CheckForNewVersion>true</CheckForNewVersion>\n"
                 "<LogMaxHistoryCount>abc</LogMaxHistoryCount>\n"
                 "<Unknown><Nested>7</Nested><Deeper><X/></Deeper></Unknown>\n"
                 "<Mapping2DPlotHorizontalAxisType>4</Mapping2DPlotHorizontalAxisType>\n"
                 "<unknownEmpty/>\n"
                 "<averagingcount>5</averagingcount>\n"
                 "<Meter3DCameraPreset>-3</Meter3DCameraPreset>\n"
                 "<Meter3DZoomLevel>nan</Meter3DZoomLevel>\n"
                 "<AveragingMode>4294967295</AveragingMode>\n"
                 "<MeasurementMaxMeasurementCount>99999999999999999999999</MeasurementMaxMeasurementCount>\n"
                 "<EnableMeterMode>0</EnableMeterMode>"));
        CSettings settings("/p", nullptr, m_Dir.path());
        QCOMPARE(settings.CheckForNewVersion(), false);
        QCOMPARE(settings.LogMaxHistoryCount(), 200u);
        QCOMPARE(settings.Mapping2DPlotHorizontalAxisType(), CSettings::e_HorizAxisIsZPosition);
        QCOMPARE(settings.AveragingCount(), 1u); // names are case-sensitive
        QCOMPARE(int(settings.Meter3DCameraPreset()), -3);
        QCOMPARE(settings.Meter3DZoomLevel(), 90.0);
        QCOMPARE(settings.AveragingMode(), 0);
        QCOMPARE(settings.MeasurementMaxMeasurementCount(), quint64(120000));
        QCOMPARE(settings.EnableMeterMode(), false); // read after the unknown elements
    }

    void axisTypeTwoIsAppliedWithSignal()
    {
        write(wrap("<Mapping2DPlotHorizontalAxisType>2</Mapping2DPlotHorizontalAxisType>"));
        CSettings settings("/p", nullptr, m_Dir.path());
        QCOMPARE(settings.Mapping2DPlotHorizontalAxisType(), CSettings::e_HorizAxisIsYPosition);
        settings.setMapping2DPlotHorizontalAxisType(CSettings::e_HorizAxisIsZPosition);
        QSignalSpy spy(&settings, &CSettings::Mapping2DPlotHorizontalAxisTypeChanged);
        settings.Load();
        QCOMPARE(spy.count(), 1);
    }

    void wrongRootChangesNothingAndIsLogged()
    {
        write("<?xml version=\"1.0\"?><OTHER><LogMaxHistoryCount>5</LogMaxHistoryCount></OTHER>");
        QTest::ignoreMessage(
            QtDebugMsg,
            QRegularExpression("^Error: Failed to parse file : .*TesvanaApplicationSettings.xml : "
                               "Incorrect file$"));
        CSettings settings("/p", nullptr, m_Dir.path());
        QCOMPARE(settings.LogMaxHistoryCount(), 200u);
    }

    void malformedInputKeepsValuesReadSoFarAndNeverRewrites_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("truncated") << QByteArray("<?xml version=\"1.0\"?>\n<SETTINGS>\n<LogMaxHistoryCount>7"
                                                 "</LogMaxHistoryCount>\n<AveragingCount>3</Averag");
        QTest::newRow("mismatched") << QByteArray("<SETTINGS><LogMaxHistoryCount>7</LogMaxHistoryCount>"
                                                  "<AveragingCount>3</Other></SETTINGS>");
        QTest::newRow("nested known") << QByteArray("<SETTINGS><LogMaxHistoryCount>7</LogMaxHistoryCount>"
                                                    "<AveragingCount><x>3</x></AveragingCount></SETTINGS>");
        // Refused at the deep element, well-formed as it is: what follows is not read.
        QTest::newRow("nested 100000 deep")
            << (QByteArray("<SETTINGS><LogMaxHistoryCount>7</LogMaxHistoryCount><Unknown>") +
                QByteArray("<x>").repeated(100000) + QByteArray("</x>").repeated(100000) +
                "</Unknown><AveragingCount>3</AveragingCount></SETTINGS>");
    }

    void malformedInputKeepsValuesReadSoFarAndNeverRewrites()
    {
        QFETCH(QByteArray, content);
        write(content);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error: Failed to parse file : "));
        CSettings settings("/p", nullptr, m_Dir.path());
        QCOMPARE(settings.LogMaxHistoryCount(), 7u);
        QCOMPARE(settings.AveragingCount(), 1u);
        QCOMPARE(read(), content);
    }

    void binaryFileIsRefusedWithoutRewrite()
    {
        QByteArray binary("<SETTINGS><LogMaxHistoryCount>7</LogMaxHistoryCount>");
        for (int i = 0; i < 4096; ++i)
            binary.append(char((i * 131) & 0xff));
        write(binary);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error: Failed to parse file : "));
        CSettings settings("/p", nullptr, m_Dir.path());
        QCOMPARE(settings.AveragingCount(), 1u);
        QCOMPARE(read(), binary);
    }

    void unwritableFolderIsLoggedAndValuesStay()
    {
        const QString blocker = m_Dir.path() + "/blocker";
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        CSettings settings("/p", nullptr, blocker + "/sub");
        settings.setLogMaxHistoryCount(12);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error: Cannot create folder .*blocker/sub$"));
        QVERIFY(!settings.Save());
        QCOMPARE(settings.LogMaxHistoryCount(), 12u);
    }

    void enormousFileIsReadWithoutHarm()
    {
        QByteArray content = "<SETTINGS><Unknown>";
        content.append(QByteArray(20 * 1024 * 1024, 'x'));
        content.append("</Unknown><LogMaxHistoryCount>9</LogMaxHistoryCount></SETTINGS>");
        write(content);
        CSettings settings("/p", nullptr, m_Dir.path());
        QCOMPARE(settings.LogMaxHistoryCount(), 9u);
    }

    void resetTrueWritesDefaultsAndKeepsNames()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        settings.setLogMaxHistoryCount(5);
        settings.setSaveRecordingsAsCsv(true);
        QSignalSpy spy(&settings, &CSettings::LogMaxHistoryCountChanged);
        settings.Reset(true);
        settings.Reset(false);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(settings.SaveRecordingsAsCsv(), true); // not a default that Reset touches
        QCOMPARE(settings.CameraPresetNames().size(), 19);
        QVERIFY(read().contains("<LogMaxHistoryCount>200</LogMaxHistoryCount>"));
    }

    void saveCreatesMissingFolderPath()
    {
        const QString deep = m_Dir.path() + "/a/b/c";
        CSettings settings("/p", nullptr, deep);
        QVERIFY(settings.Save());
        QVERIFY(QFile::exists(deep + "/TesvanaApplicationSettings.xml"));
    }

    void failedSaveKeepsPreviousFile()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        settings.setLogMaxHistoryCount(42);
        QVERIFY(settings.Save());
        const QByteArray before = read();
        // A read-only folder: the new file cannot be created beside the old one.
        QFile::setPermissions(m_Dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(m_Dir.path()).isWritable())
        {
            QFile::setPermissions(m_Dir.path(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("running with privileges that ignore folder permissions");
        }
        settings.setLogMaxHistoryCount(43);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error: Cannot create file : .*"));
        QVERIFY(!settings.Save());
        QFile::setPermissions(m_Dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(read(), before);
        QCOMPARE(settings.LogMaxHistoryCount(), 43u);
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
