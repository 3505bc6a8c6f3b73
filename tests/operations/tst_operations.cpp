#include "../support/MessageCapture.h"
#include "../support/RealPlugins.h"
#include "../support/RecordingPrompt.h"
#include "app/CConstants.h"
#include "app/CSettings.h"
#include "instruments/CInstrumentListProvider.h"
#include "instruments/CInstrumentPlugin.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CMapperPluginOnTheFly.h"
#include "instruments/CPluginsManager.h"
#include "instruments/CTriggerPlugin.h"
#include "model/CMetaTypes.h"
#include "operations/COperationsManager.h"
#include "viewmodels/CMappingOperationViewModel.h"
#include "viewmodels/CMeasurementParametersViewModel.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace
{
// An on-the-fly mapper the test drives: it announces where to measure.
class FlyingMapper : public CMapperPluginOnTheFly
{
public:
    CPosition here;
    void Start() override {}
    void Stop() override {}
    CPosition CurrentPosition() override { return here; }
    COrientation CurrentOrientation() override { return COrientation(0, 0, 45); }
    void Close() override {}
    void fly(double x)
    {
        here = CPosition(x, 0, 0);
        emit Acquire(here, COrientation(0, 0, 45));
    }
};

} // namespace

// The operations with the real simulated probe and stage, and the manual mapper.
class tst_Operations : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RealPlugins> m_Core;
    QTemporaryDir m_Data;
    CSettings* m_Settings = nullptr;
    CPluginsManager* m_Plugins = nullptr;
    CInstrumentSupervisor* m_Supervisor = nullptr;
    COperationsManager* m_Operations = nullptr;
    QSharedPointer<CInstrument> m_Probe;

    CMapperPlugin* mapperNamed(const QString& name)
    {
        for (CMapperPlugin* mapper : m_Plugins->GetMapperPlugins())
            if (mapper->GetName() == name)
                return mapper;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        if (!CConstants::DefaultApplicationParameterStoragePath.contains("/testhome/"))
            QSKIP("run through ctest, which gives the test a home of its own");
    }

    // Each test function on a core of its own, without parameter files of earlier ones.
    void init()
    {
        QDir(CConstants::DefaultApplicationParameterStoragePath).removeRecursively();
        m_Core = std::make_unique<RealPlugins>();
        QVERIFY(m_Core->start());
        m_Settings = m_Core->settings;
        m_Plugins = m_Core->plugins;
        m_Supervisor = m_Core->supervisor;
        m_Operations = m_Core->operations;
        m_Probe = m_Core->probe();
        m_Supervisor->SetActiveInstrument(m_Probe);
        QVERIFY(m_Supervisor->HasActiveInstrument());
    }

    void cleanup()
    {
        m_Probe.reset();
        m_Core.reset();
    }

    void measurementDefaultsAndLiveBlocks()
    {
        COperationMeasure* measure = m_Operations->MeasureOperation();
        m_Operations->setActiveOperation(measure);
        QCOMPARE(m_Probe->MeasurementParameters(), measure->MeasurementParameters());
        const CMeasurementParameters& m = *measure->MeasurementParameters();
        QCOMPARE(m.AcquisitionRate(), 20.0);
        QCOMPARE(m.DisplayRate(), 10.0);
        QCOMPARE(m.Averaging(), 10);
        QCOMPARE(m.BlockSize(), 2);
        QCOMPARE(m.TriggerMode(), CTrigger::TriggerMode::CONTINUOUS);
        QCOMPARE(measure->getMaxFrequency(), m_Probe->FrequencyMaxBound()->Max());

        // Again: no second initialize.
        QSignalSpy loaded(measure, &COperation::OnLoadMeasParametersDone);
        m_Operations->setActiveOperation(measure);
        QCOMPARE(loaded.count(), 0);

        QSignalSpy blocks(measure, &COperationMeasure::NewMeasure);
        CRecordingManagerMeasure& recorder = *measure->RecordingManager();
        recorder.ResetRecord();
        measure->start();
        QVERIFY(measure->SessionInProgress());
        QVERIFY(m_Probe->IsRunning());
        QTRY_VERIFY_WITH_TIMEOUT(blocks.count() >= 3, 5000);
        measure->stop();
        recorder.StopRecord();
        QVERIFY(!m_Probe->IsRunning());
        QVERIFY(recorder.HasUnsavedData());
        QVERIFY(recorder.NumBlocks() >= 3);
        QCOMPARE(recorder.DataSet()->MeasureBlocks()->front()->Results.size(), 2);

        // Saved, loaded into a fresh recorder and replayed: the same blocks in the same order.
        const QString path = m_Data.path() + "/live.xml";
        recorder.Save(path);
        QVERIFY(!recorder.HasUnsavedData());
        CRecordingManagerMeasure replay(*m_Settings);
        QVERIFY(replay.Load(path));
        QCOMPARE(replay.NumBlocks(), recorder.NumBlocks());
        replay.setEndReplayIndex(replay.NumBlocks() - 1);
        replay.setTimeWarp(10);
        QList<QDateTime> order;
        connect(&replay, &CRecordingManagerMeasure::ReplayMeasureBlock, &replay,
                [&](const QSharedPointer<CMeasureBlock>& b) {
                    order << b->Results.first()->Timestamp;
                    replay.setIsProcessingBlock(false);
                });
        replay.StartReplay();
        QTRY_COMPARE_WITH_TIMEOUT(order.size(), replay.NumBlocks(), 5000);
        for (int i = 0; i < order.size(); ++i)
            QCOMPARE(order.at(i),
                     recorder.DataSet()->MeasureBlocks()->at(std::size_t(i))->Results.first()->Timestamp);
        replay.StopReplay();
        recorder.setHasUnsavedData(true); // as if recorded again since

        // Among the measurement pages nobody is asked; towards mapping the user is.
        RecordingPrompt prompt;
        QVERIFY(m_Operations->exitActiveOperationAllowed(measure));
        QCOMPARE(prompt.asked.size(), 0);
        prompt.confirm = false;
        QVERIFY(!m_Operations->exitActiveOperationAllowed(m_Operations->MappingOperation()));
        prompt.confirm = true;
        QVERIFY(m_Operations->exitActiveOperationAllowed(nullptr));
        QCOMPARE(prompt.asked.size(), 2);

        QSignalSpy recording(&recorder, &CRecordingManager::IsRecordingChanged);
        m_Operations->clearActiveOperation();
        QCOMPARE(recording.count(), 1);
        QVERIFY(!recorder.HasUnsavedData());
        QCOMPARE(recorder.NumBlocks(), 0);
        QVERIFY(QFile::exists(CConstants::DefaultApplicationParameterStoragePath +
                              "/TesvanaMeasureSettings.xml"));
    }

    // The window leaves its operation as it stops (the operation saves its parameters);
    // a script's core keeps it, so the script's parameters never become the window's.
    void theCoreStopsLeavingOrKeepingTheActiveOperation()
    {
        const QString file =
            CConstants::DefaultApplicationParameterStoragePath + "/TesvanaMeasureSettings.xml";
        m_Operations->setActiveOperation(m_Operations->MeasureOperation());
        QFile::remove(file);
        m_Core->core->Stop(CCore::ActiveOperation::Keep);
        QVERIFY(!QFile::exists(file));
        QVERIFY(m_Plugins->GetInstrumentPlugins().isEmpty()); // every plug-in stopped and released

        RealPlugins window;
        QVERIFY(window.start());
        window.supervisor->SetActiveInstrument(window.probe());
        window.operations->setActiveOperation(window.operations->MeasureOperation());
        QFile::remove(file);
        window.core->Stop(CCore::ActiveOperation::Leave);
        QVERIFY(QFile::exists(file));
        QVERIFY(!window.operations->getActiveOperation());
    }

    void parameterFileRoundTrip()
    {
        COperationMeasure* measure = m_Operations->MeasureOperation();
        CMeasurementParameters& m = *measure->MeasurementParameters();
        m.setApplyConfiguration(false);
        m.setTriggerMode(CTrigger::TriggerMode::CONTINUOUS);
        m.setUnits(CUnits::UnitType::MILLI_GAUSS);
        m.setAcquisitionRate(500);
        m.setDisplayRate(5);
        m.setTriggerPlugin(m_Plugins->GetTriggerPlugins().first());
        m.setApplyConfiguration(true);
        measure->OperationParameters()->AlarmParametersMeter()->setMaximum(1.5);
        measure->OperationParameters()->AlarmParametersAcAnalysis()->setAxis(CAxis::AxisType::Bz);
        const QString path = m_Data.path() + "/params.xml";
        QVERIFY(measure->SaveParameters(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        file.close();
        QVERIFY(text.contains("<TriggerPlugin>Manual</TriggerPlugin>"));
        QVERIFY(text.indexOf("<MEASUREMENT_PARAMETERS>") < text.indexOf("<LIMITS_PARAMETERS>"));
        QVERIFY(text.indexOf("<ALARM_MAPPING_PARAMETERS>") < text.indexOf("<MAPPING_PARAMETERS>") ||
                !text.contains("<MAPPING_PARAMETERS>"));

        m.setApplyConfiguration(false);
        m.setAcquisitionRate(20);
        m.setDisplayRate(10);
        m.setTriggerPlugin(nullptr);
        m.setApplyConfiguration(true);
        QVERIFY(measure->LoadParameters(path));
        QCOMPARE(m.AcquisitionRate(), 500.0);
        QCOMPARE(m.DisplayRate(), 5.0);
        QCOMPARE(m.BlockSize(), 100);
        QCOMPARE(m.FrequencyMax(), 250.0);
        QCOMPARE(m.NumberOfBins(), 50.0);
        QCOMPARE(m.Units(), CUnits::UnitType::MILLI_GAUSS);
        QCOMPARE(m.UncertaintyUnits(), CUnits::UnitType::MILLI_GAUSS);
        QCOMPARE(m.UncertaintyUnitList(),
                 QList<CUnits::UnitType>({CUnits::UnitType::MILLI_GAUSS, CUnits::UnitType::PERCENT}));
        QCOMPARE(m.TriggerPlugin(), m_Plugins->GetTriggerPlugins().first());
        QCOMPARE(measure->OperationParameters()->AlarmParametersMeter()->Maximum(), 1.5);
        QCOMPARE(measure->OperationParameters()->AlarmParametersAcAnalysis()->Axis(), CAxis::AxisType::Bz);
        QVERIFY(m.ApplyConfiguration());

        // An unknown trigger plug-in reads as none; "%" uncertainty stays.
        QByteArray edited = text;
        edited.replace("<TriggerPlugin>Manual</TriggerPlugin>", "<TriggerPlugin>Robot</TriggerPlugin>");
        edited = QString::fromUtf8(edited)
                     .replace(QRegularExpression("<UncertaintyUnits>[^<]*</UncertaintyUnits>"),
                              "<UncertaintyUnits>%</UncertaintyUnits>")
                     .toUtf8();
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(edited);
        file.close();
        QVERIFY(measure->LoadParameters(path));
        QVERIFY(!m.TriggerPlugin());
        QCOMPARE(m.UncertaintyUnits(), CUnits::UnitType::PERCENT);

        // Not XML: refused, logged, nothing changed.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("not xml");
        file.close();
        MessageCapture log;
        QVERIFY(!measure->LoadParameters(path));
        QVERIFY(log.contains("Cannot parse XML file. Error : "));
        QCOMPARE(m.AcquisitionRate(), 500.0);
        QVERIFY(m.ApplyConfiguration());
    }

    // Values that are not numbers, or not within what the instrument takes, keep what is
    // in force and are logged: a NaN rate passes every bound check written as x < min.
    // A file nested 100,000 levels deep is refused before a tree is built of it.
    void parameterFileValuesAreChecked()
    {
        COperationMeasure* measure = m_Operations->MeasureOperation();
        CMeasurementParameters& m = *measure->MeasurementParameters();
        const QString path = m_Data.path() + "/params.xml";
        QVERIFY(measure->SaveParameters(path));
        const double rate = m.AcquisitionRate();
        const double display = m.DisplayRate();
        const int averaging = m.Averaging();
        const double frequencyMin = m.FrequencyMin();
        const double maximum = measure->OperationParameters()->AlarmParametersMeter()->Maximum();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        file.close();
        const auto set = [&text](const QString& element, const QString& value) {
            text.replace(QRegularExpression(QString("<%1>[^<]*</%1>").arg(element)),
                         QString("<%1>%2</%1>").arg(element, value));
        };
        set("AcquisitionRate", "nan");
        set("DisplayRate", "inf");
        set("Averaging", "1e9");
        set("FrequencyMin", "-5");
        set("Maximum", "nan");
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        file.close();
        MessageCapture log;
        QVERIFY(measure->LoadParameters(path));
        QCOMPARE(m.AcquisitionRate(), rate);
        QCOMPARE(m.DisplayRate(), display);
        QCOMPARE(m.Averaging(), averaging);
        QCOMPARE(m.FrequencyMin(), frequencyMin);
        QCOMPARE(measure->OperationParameters()->AlarmParametersMeter()->Maximum(), maximum);
        QVERIFY(log.contains("Parameter file: AcquisitionRate \"nan\" is not a number between"));
        QVERIFY(log.contains("Parameter file: Averaging \"1e9\""));

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<OPERATION_PARAMETERS>" + QByteArray("<x>").repeated(100000) +
                   QByteArray("</x>").repeated(100000) + "</OPERATION_PARAMETERS>");
        file.close();
        QVERIFY(!measure->LoadParameters(path));
        QVERIFY(log.contains("nested deeper than 64 levels"));
        QCOMPARE(m.AcquisitionRate(), rate);
        QVERIFY(m.ApplyConfiguration());
    }

    void limitsFile()
    {
        COperationMeasure* measure = m_Operations->MeasureOperation();
        measure->MeasurementParameters()->setUnits(CUnits::UnitType::MILLI_TESLA);
        const QString path = m_Data.path() + "/limits.xml";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "<KorvelinExposureLimitsFile ver=\"1.0\">"
            "<freqRange><upperFreqLimit>50</upperFreqLimit><freqUnits>Hz</freqUnits>"
            "<exposureLimitValue>0.2</exposureLimitValue><valueUnits>mT</valueUnits></freqRange>"
            "<freqRange><upperFreqLimit>400</upperFreqLimit><exposureLimitValue>0.1</exposureLimitValue>"
            "</freqRange></KorvelinExposureLimitsFile>");
        file.close();
        CLimitsParameters& limits = *measure->OperationParameters()->LimitsParameters();
        MessageCapture log;
        limits.setLimitsFilePath(path);
        limits.setLimitsFilePath(path); // read twice, still loaded
        QVERIFY(measure->LimitsFileLoaded());
        QCOMPARE(limits.LimitsFileName(), path);
        QCOMPARE(measure->getLimitsCount(), 2);
        QCOMPARE(measure->getFrequency(1), 400.0);
        QCOMPARE(measure->LimitsFile()->Limits().at(1)->ExposureLimitUnit(), CUnits::UnitType::MILLI_TESLA);
        QCOMPARE(measure->LimitsFile()->FrequencyMaximum(), 400.0);
        QCOMPARE(measure->LimitsFile()->ValueMinimum(), 0.0);
        QVERIFY(qAbs(measure->getExposure(0) - 0.2) < 1e-6);

        measure->MeasurementParameters()->setUnits(CUnits::UnitType::MICRO_TESLA);
        QVERIFY(qAbs(measure->getExposure(0) - 200) < 1e-3);
        QVERIFY(qAbs(measure->getExposure(1) - 100) < 1e-3);
        QVERIFY(qAbs(measure->LimitsFile()->ValueMaximum() - 200) < 1e-3);

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<KorvelinExposureLimitsFile ver=\"2.0\"/>");
        file.close();
        RecordingPrompt prompt;
        limits.setLimitsFilePath(path);
        QVERIFY(measure->LimitsFile()->FileError());
        QVERIFY(!measure->LimitsFileLoaded());
        QCOMPARE(limits.LimitsFileName(), QString());

        limits.setLimitsFilePath(m_Data.path() + "/absent.xml");
        QCOMPARE(prompt.asked,
                 QStringList({"Error: Could not load file / The file is not a valid Korvelin XML limits file",
                              "Error: Could not load file / Cannot read the file"}));
        QVERIFY(log.contains("Limit File doesn't exist : "));
        QCOMPARE(limits.LimitsFilePath(), QString());
        measure->clearLimitsFile();
        QCOMPARE(measure->getLimitsCount(), 0);
    }

    // A limits file in tesla on a probe measuring in uT: in uT at once, and again after a
    // restart that reads both back from the parameter file.
    void limitsInTheUnitOfTheSamplesAfterARestart()
    {
        COperationMeasure* measure = m_Operations->MeasureOperation();
        m_Operations->setActiveOperation(measure);
        measure->MeasurementParameters()->setUnits(CUnits::UnitType::MICRO_TESLA);
        const QString path = m_Data.path() + "/tesla.xml";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<KorvelinExposureLimitsFile ver=\"1.0\">"
                   "<freqRange><upperFreqLimit>50</upperFreqLimit><freqUnits>Hz</freqUnits>"
                   "<exposureLimitValue>2e-4</exposureLimitValue><valueUnits>T</valueUnits></freqRange>"
                   "</KorvelinExposureLimitsFile>");
        file.close();
        measure->OperationParameters()->LimitsParameters()->setLimitsFilePath(path);
        QVERIFY(std::fabs(measure->getExposure(0) - 200) < 1e-3);
        m_Operations->setActiveOperation(nullptr); // saves its parameters

        m_Probe.reset();
        m_Core = std::make_unique<RealPlugins>();
        QVERIFY(m_Core->start());
        m_Operations = m_Core->operations;
        m_Probe = m_Core->probe();
        m_Core->supervisor->SetActiveInstrument(m_Probe);
        measure = m_Operations->MeasureOperation();
        m_Operations->setActiveOperation(measure);
        QCOMPARE(measure->MeasurementParameters()->Units(), CUnits::UnitType::MICRO_TESLA);
        QVERIFY(measure->LimitsFileLoaded());
        QVERIFY2(std::fabs(measure->getExposure(0) - 200) < 1e-3,
                 qPrintable(QString::number(measure->getExposure(0))));
        QCOMPARE(measure->LimitsFile()->Limits().first()->ExposureLimitUnit(), CUnits::UnitType::MICRO_TESLA);
    }

    // The unit changed in the panel while the probe acquires: every block the operation
    // passes on from then is in the new unit (those on their way in the old one are dropped).
    void unitChangeWhileAcquiringPassesNoBlockOfTheOldUnit()
    {
        RecordingPrompt prompt;
        COperationMeasure* measure = m_Operations->MeasureOperation();
        m_Operations->setActiveOperation(measure);
        CMeasurementParameters& m = *measure->MeasurementParameters();
        m.setAcquisitionRate(10000);
        m.setBlockSize(100);
        CMeasurementParametersViewModel panel(measure, false);
        const int tesla = panel.UnitsList().indexOf("T");
        const int microtesla = panel.UnitsList().indexOf("\u00b5T");
        QVERIFY(tesla >= 0 && microtesla >= 0);
        panel.setSelectedUnitIndex(tesla);
        QCOMPARE(m.Units(), CUnits::UnitType::TESLA);
        QList<double> fields;
        connect(measure, &COperationMeasure::NewMeasure, this,
                [&](const QSharedPointer<CMeasureBlock>& block) {
                    fields << double(block->Results.first()->B());
                });
        measure->start();
        QTRY_VERIFY_WITH_TIMEOUT(fields.size() >= 5, 5000);
        QVERIFY(fields.last() < 1e-3); // tens of uT, in tesla
        // The GUI thread busy for a while: blocks in tesla wait in its queue.
        QThread::msleep(100);
        fields.clear();
        panel.setSelectedUnitIndex(microtesla);
        QCOMPARE(m.Units(), CUnits::UnitType::MICRO_TESLA);
        QTRY_VERIFY_WITH_TIMEOUT(fields.size() >= 5, 5000);
        measure->stop();
        for (const double b : fields)
            QVERIFY2(b > 1, qPrintable(QString("a block of %1 after the change to uT").arg(b)));
    }

    // No folder takes the recording: said as lost, never as kept.
    void recoveryWithNoFolderThatTakesIt()
    {
        COperationMeasure* measure = m_Operations->MeasureOperation();
        CRecordingManagerMeasure& recorder = *measure->RecordingManager();
        recorder.ResetRecord();
        measure->OnNewMeasure(QSharedPointer<CMeasureBlock>::create());
        recorder.DataSet()->MeasureBlocks()->back()->Results.append(
            QSharedPointer<CFieldIntensityResult>::create());
        QVERIFY(measure->HasUnsavedData());
        QFile file(m_Data.path() + "/not-a-folder");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QStringList lost;
        QVERIFY(
            m_Operations->WriteRecoveryFiles({file.fileName(), file.fileName() + "/below"}, &lost).isEmpty());
        QCOMPARE(lost, QStringList({"measurement"}));
        // The second folder takes it when the first cannot.
        lost.clear();
        const QStringList written =
            m_Operations->WriteRecoveryFiles({file.fileName(), m_Data.path() + "/kept"}, &lost);
        QCOMPARE(written.size(), 1);
        QVERIFY(written.first().startsWith(m_Data.path() + "/kept/"));
        QVERIFY(lost.isEmpty());
        recorder.setHasUnsavedData(false);
    }

    // "Default" on the mapping page: the parameters and the panel's choices (unit,
    // uncertainty unit, range, trigger) back to their first entries.
    void mappingDefaultResetsThePanelsChoices()
    {
        RecordingPrompt prompt;
        COperationMapping* mapping = m_Operations->MappingOperation();
        m_Operations->setActiveOperation(mapping);
        CMappingOperationViewModel page(*m_Settings, mapping);
        CMeasurementParametersViewModel& panel = *page.MeasurementParametersViewModel();
        panel.setSelectedUnitIndex(2);
        panel.setSelectedRangeIndex(1);
        panel.setSelectedUncertaintyUnitIndex(1);
        panel.setSelectedTriggerIndex(1);
        QVERIFY(mapping->MeasurementParameters()->Units() != CUnits::UnitType::TESLA);
        QVERIFY(!mapping->MeasurementParameters()->AutoRange());
        page.setDefaultParameters();
        QCOMPARE(panel.SelectedUnitIndex(), 0);
        QCOMPARE(panel.SelectedRangeIndex(), 0);
        QCOMPARE(panel.SelectedUncertaintyUnitIndex(), 0);
        QCOMPARE(panel.SelectedTriggerIndex(), 0);
        QCOMPARE(mapping->MeasurementParameters()->Units(), m_Probe->UnitList().first());
        QVERIFY(mapping->MeasurementParameters()->AutoRange());
        QCOMPARE(mapping->MeasurementParameters()->TriggerMode(), CTrigger::TriggerMode::IMMEDIATE);
        QCOMPARE(mapping->MeasurementParameters()->AcquisitionRate(), 10.0);
        QCOMPARE(prompt.asked, QStringList()); // nothing recorded: nothing asked
    }

    void limitsBoundsFollowTheConversion_data()
    {
        QTest::addColumn<QString>("fileUnit");
        QTest::addColumn<int>("display");
        QTest::addColumn<double>("maximum");
        QTest::newRow("uT file shown in mT") << "\u00b5T" << int(CUnits::UnitType::MILLI_TESLA) << 0.2;
        QTest::newRow("mT file shown in uT") << "mT" << int(CUnits::UnitType::MICRO_TESLA) << 200.0;
    }

    void limitsBoundsFollowTheConversion()
    {
        QFETCH(QString, fileUnit);
        QFETCH(int, display);
        QFETCH(double, maximum);
        // The file's numbers are 200 and 100 in uT, or 0.2 and 0.1 in mT.
        const double scale = fileUnit == "mT" ? 0.001 : 1.0;
        COperationMeasure* measure = m_Operations->MeasureOperation();
        measure->MeasurementParameters()->setUnits(CUnits::UnitType(display));
        const QString path = m_Data.path() + "/bounds.xml";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(
            QString("<KorvelinExposureLimitsFile ver=\"1.0\">"
                    "<freqRange><upperFreqLimit>50</upperFreqLimit><freqUnits>Hz</freqUnits>"
                    "<exposureLimitValue>%1</exposureLimitValue><valueUnits>%3</valueUnits></freqRange>"
                    "<freqRange><upperFreqLimit>400</upperFreqLimit><exposureLimitValue>%2"
                    "</exposureLimitValue></freqRange></KorvelinExposureLimitsFile>")
                .arg(200 * scale)
                .arg(100 * scale)
                .arg(fileUnit)
                .toUtf8());
        file.close();
        measure->OperationParameters()->LimitsParameters()->setLimitsFilePath(path);
        QVERIFY(measure->LimitsFileLoaded());
        const LimitsXmlFile& limits = *measure->LimitsFile();
        QVERIFY(qAbs(limits.ValueMaximum() - maximum) < maximum * 1e-6);
        QCOMPARE(limits.ValueMinimum(), 0.0);
        measure->clearLimitsFile();
    }

    void limitsFileThatCannotBeRead()
    {
        COperationMeasure* measure = m_Operations->MeasureOperation();
        CLimitsParameters& limits = *measure->OperationParameters()->LimitsParameters();
        const QString folder = m_Data.path() + "/a-folder.xml";
        QVERIFY(QDir().mkpath(folder));
        MessageCapture log;
        RecordingPrompt prompt;
        limits.setLimitsFilePath(folder);
        QVERIFY(measure->LimitsFile()->FileError());
        QVERIFY(!measure->LimitsFileLoaded());
        QVERIFY2(log.contains("DEBUG Error: Cannot read file " + folder + ": "),
                 qPrintable(log.all().join("\n")));

        const QString empty = m_Data.path() + "/empty-limits.xml";
        QFile file(empty);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.close();
        limits.setLimitsFilePath(empty);
        QCOMPARE(prompt.asked.size(), 2);
        QVERIFY(measure->LimitsFile()->FileError());
        QVERIFY(log.contains("DEBUG Error: Failed to parse file : " + empty + " : Incorrect file"));

        // A document nested 100,000 deep is refused, with no entry kept.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<KorvelinExposureLimitsFile ver=\"1.0\"><freqRange><upperFreqLimit>50</upperFreqLimit>"
                   "<exposureLimitValue>1</exposureLimitValue><deep>" +
                   QByteArray("<x>").repeated(100000) + QByteArray("</x>").repeated(100000) +
                   "</deep></freqRange></KorvelinExposureLimitsFile>");
        file.close();
        limits.setLimitsFilePath(empty);
        QVERIFY(measure->LimitsFile()->FileError());
        QCOMPARE(measure->LimitsFile()->Limits().size(), 0);
        QVERIFY(log.contains("nested deeper than 64 levels"));
        measure->clearLimitsFile();
    }

    void cartesianGrid()
    {
        CMapperPositionSourceCartesian grid;
        QList<CPosition> expected;
        for (int x = 0; x <= 1; ++x)
            for (int y = 0; y <= 1; ++y)
                for (int z = 0; z <= 1; ++z)
                    expected << CPosition(x, y, z);
        QCOMPARE(grid.Positions(), expected);

        grid.X()->setStop(0.3);
        grid.X()->setStepSize(0.1);
        QCOMPARE(grid.Positions().size(), 3 * 4);
        QCOMPARE(grid.Positions().at(8).X(), 0.1 + 0.1);

        grid.Y()->setStepSize(0.001);
        QCOMPARE(grid.Positions().size(), 0);
        grid.Y()->setStepSize(1);
        grid.Z()->setStart(2);
        QCOMPARE(grid.Positions().size(), 0);

        // A grid beyond what a data set holds is cut, and walked without being stored.
        grid.Z()->setStart(0);
        grid.X()->setStop(100000);
        grid.X()->setStepSize(0.002);
        QCOMPARE(grid.PointCount(), CMapperPositionSourceCartesian::MaxPoints);
        grid.ResetPosition();
        CPosition position;
        COrientation orientation;
        QVERIFY(grid.NextPosition(position, orientation));
        QCOMPARE(position, CPosition(0, 0, 0));
        QVERIFY(grid.NextPosition(position, orientation));
        QCOMPARE(position, CPosition(0, 0, 1));
        QVERIFY(grid.NextPosition(position, orientation));
        QCOMPARE(position, CPosition(0, 1, 0));
        QVERIFY(grid.NextPosition(position, orientation));
        QVERIFY(grid.NextPosition(position, orientation));
        QCOMPARE(position, CPosition(0.002, 0, 0));
        // A change of an axis starts the walk over.
        grid.X()->setStop(0.002);
        QVERIFY(grid.NextPosition(position, orientation));
        QCOMPARE(position, CPosition(0, 0, 0));
        QCOMPARE(grid.PointCount(), 8);
        QCOMPARE(grid.Name(), QString("Cartesian"));
        QCOMPARE(grid.Name("File"), CMapperPositionSource::File);
        QCOMPARE(grid.Name(), QString("File"));
        QCOMPARE(grid.Name("other"), CMapperPositionSource::None);
        QCOMPARE(grid.Name(), QString("Error"));
    }

    void stopAndGoRunOverTheDefaultGrid()
    {
        COperationMapping* mapping = m_Operations->MappingOperation();
        m_Operations->setActiveOperation(mapping);
        QCOMPARE(mapping->MeasurementParameters()->TriggerMode(), CTrigger::TriggerMode::IMMEDIATE);
        QCOMPARE(mapping->MeasurementParameters()->Averaging(), 100);
        mapping->MappingParameters()->setSelectedMapper(mapperNamed("Simulated stage"));
        CRecordingManagerMapping& recorder = *mapping->RecordingManager();
        recorder.ResetRecord();
        QList<bool> sessionAtBlock;
        QObject listening; // the connection ends with this test
        connect(mapping, &COperationMapping::NewMeasure, &listening,
                [&] { sessionAtBlock << mapping->SessionInProgress(); });
        MessageCapture log;
        mapping->start();
        QTRY_VERIFY_WITH_TIMEOUT(!mapping->SessionInProgress(), 15000);
        QTRY_COMPARE(sessionAtBlock.size(), 8);
        QCOMPARE(sessionAtBlock.last(), false); // the last block is recorded after stop
        QVERIFY(!recorder.IsRecording());
        QVERIFY(log.contains("End of the MapperSource list"));
        QCOMPARE(recorder.NumBlocks(), 8);
        const auto& blocks = *recorder.DataSet()->MeasureBlocks();
        QCOMPARE(blocks.at(0)->Position, CPosition(0, 0, 0));
        QCOMPARE(blocks.at(1)->Position, CPosition(0, 0, 1));
        QCOMPARE(blocks.at(7)->Position, CPosition(1, 1, 1));
        for (const auto& block : blocks)
            QCOMPARE(block->Results.size(), mapping->MeasurementParameters()->BlockSize());
        int announced = 0;
        for (const QString& line : log.all())
            announced += line.startsWith("DEBUG OnNewMeasure with ") && line.endsWith(" acquisition") ? 1 : 0;
        QCOMPARE(announced, 8);

        // Mapping section round trip.
        mapping->MappingParameters()->MapperSourceCartesian()->X()->setStop(4);
        mapping->MappingParameters()->MapperSourceCartesian()->Orientation()->setYaw(30);
        const QString path = m_Data.path() + "/mapping.xml";
        QVERIFY(mapping->SaveParameters(path));
        mapping->MappingParameters()->MapperSourceCartesian()->X()->setStop(1);
        mapping->MappingParameters()->MapperSourceCartesian()->Orientation()->setYaw(0);
        QVERIFY(mapping->LoadParameters(path));
        QCOMPARE(mapping->MappingParameters()->MapperSourceCartesian()->X()->Stop(), 4.0);
        QCOMPARE(mapping->MappingParameters()->MapperSourceCartesian()->Orientation()->Yaw(), 30.0);
        mapping->MappingParameters()->MapperSourceCartesian()->X()->setStop(1);
    }

    void manualMapperDrivenByButtonPresses()
    {
        COperationMapping* mapping = m_Operations->MappingOperation();
        m_Operations->setActiveOperation(mapping);
        mapping->MappingParameters()->setSelectedMapper(mapperNamed("Manual"));
        mapping->MappingParameters()->MapperSourceCartesian()->Z()->setStop(0); // four points
        CRecordingManagerMapping& recorder = *mapping->RecordingManager();
        recorder.ResetRecord();
        mapping->start();
        QDialog* window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->windowTitle() == "Stepmate")
                window = qobject_cast<QDialog*>(widget);
        QVERIFY(window && window->isVisible());
        QPushButton* button = window->findChild<QPushButton*>();
        for (int press = 1; press <= 4; ++press)
        {
            QTest::mouseClick(button, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(recorder.NumBlocks(), press, 5000);
        }
        QTRY_VERIFY(!mapping->SessionInProgress());
        QCOMPARE(recorder.DataSet()->MeasureBlocks()->at(3)->Position, CPosition(1, 1, 0));
        QVERIFY(!window->isVisible());
        mapping->MappingParameters()->MapperSourceCartesian()->Z()->setStop(1);
    }

    void externalTriggerStaysOpenAtTheFirstPoint()
    {
        COperationMapping* mapping = m_Operations->MappingOperation();
        m_Operations->setActiveOperation(mapping);
        mapping->MappingParameters()->setSelectedMapper(mapperNamed("Manual"));
        CTriggerPlugin* trigger = m_Plugins->GetTriggerPlugins().first();
        CMeasurementParameters& m = *mapping->MeasurementParameters();
        m.setTriggerPlugin(trigger);
        m.setTriggerMode(CTrigger::TriggerMode::EXTERNAL);
        QWidget* triggerWindow = nullptr;
        trigger->Start();
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->windowTitle() == "Clickfire")
                triggerWindow = widget;
        QVERIFY(triggerWindow && triggerWindow->isVisible());

        mapping->RecordingManager()->ResetRecord();
        mapping->start();
        // The first point is only a move: the trigger the run needs stays open.
        QVERIFY(triggerWindow->isVisible());
        mapping->stop();
        QVERIFY(!triggerWindow->isVisible());
        m.setTriggerMode(CTrigger::TriggerMode::IMMEDIATE);
        m.setTriggerPlugin(nullptr);
        mapping->RecordingManager()->ResetRecord();
    }

    void onTheFlyMapperRecordsWhereItSays()
    {
        COperationMapping* mapping = m_Operations->MappingOperation();
        m_Operations->setActiveOperation(mapping);
        FlyingMapper flying;
        QVERIFY(CMapperPluginOnTheFly::From(&flying));
        mapping->MappingParameters()->setSelectedMapper(&flying);
        CRecordingManagerMapping& recorder = *mapping->RecordingManager();
        recorder.ResetRecord();
        mapping->start();
        for (int i = 0; i < 3; ++i)
        {
            flying.fly(10.0 * i);
            QTRY_COMPARE_WITH_TIMEOUT(recorder.NumBlocks(), i + 1, 5000);
        }
        mapping->stop();
        QCOMPARE(recorder.DataSet()->MeasureBlocks()->at(2)->Position, CPosition(20, 0, 0));
        QCOMPARE(recorder.DataSet()->MeasureBlocks()->at(2)->Orientation.Yaw(), 45.0);
        mapping->MappingParameters()->setSelectedMapper(nullptr);
        m_Operations->clearActiveOperation();
        QVERIFY(QFile::exists(CConstants::DefaultApplicationParameterStoragePath +
                              "/TesvanaMappingSettings.xml"));
    }
};

QTEST_MAIN(tst_Operations)
#include "tst_operations.moc"
