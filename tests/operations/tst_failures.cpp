#include "../support/MessageCapture.h"
#include "../support/RealPlugins.h"
#include "../support/SimulatedFailures.h"
#include "instruments/CInstrumentPlugin.h"
#include "model/CMetaTypes.h"
#include "viewmodels/CConnectionPageViewModel.h"
#include "viewmodels/CMeterOperationViewModel.h"

#include <QFile>
#include <QTest>
#include <QThread>

#include <cmath>
#include <functional>
#include <memory>

// The simulated probe's failure switches, each driven through the real plug-in:
// the program reports the failure and keeps what was recorded.
class tst_Failures : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RealPlugins> m_Core;
    std::unique_ptr<SimulatedFailures> m_Failures;
    QTemporaryDir m_Files;

    // The probe's failures from now on, through its typed switch.
    void fail(const std::function<void(CSimulatedFailures&)>& set)
    {
        CSimulatedFailures failures;
        set(failures);
        m_Failures->probe(failures);
    }

    // Records with the measurement operation until `blocks` arrived or the probe is gone.
    CRecordingManagerMeasure& record(int blocks)
    {
        COperationMeasure* measure = m_Core->operations->MeasureOperation();
        m_Core->operations->setActiveOperation(measure);
        CRecordingManagerMeasure& recorder = *measure->RecordingManager();
        recorder.ResetRecord();
        measure->start();
        (void)QTest::qWaitFor(
            [&] { return recorder.NumBlocks() >= blocks || !m_Core->supervisor->HasActiveInstrument(); },
            10000);
        return recorder;
    }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        if (!qEnvironmentVariable("HOME").contains("/testhome/"))
            QSKIP("run through ctest, which gives the test a home of its own");
    }

    void init()
    {
        m_Core = std::make_unique<RealPlugins>();
        QVERIFY(m_Core->start());
        m_Failures = std::make_unique<SimulatedFailures>(
            m_Core->folders.folder("instrument") + "/libSimulatedProbe.so", QString());
        QVERIFY(m_Failures->probeFound());
    }

    void cleanup()
    {
        // Switched off while the plug-in is still loaded.
        m_Failures.reset();
        m_Core.reset();
    }

    void refusedConnectionLeavesNoActiveInstrument()
    {
        fail([](CSimulatedFailures& f) { f.refuseConnect = true; });
        m_Core->supervisor->SetActiveInstrument(m_Core->probe());
        QVERIFY(!m_Core->supervisor->HasActiveInstrument());
        QVERIFY(!m_Core->probe()->IsConnected());
        // What the status bar shows of the instrument.
        QCOMPARE(m_Core->probe()->StatusString(), QString("Connection refused"));
    }

    void probeLostWhileRecordingKeepsTheRecording()
    {
        fail([](CSimulatedFailures& f) { f.loseAfterBlocks = 3; });
        m_Core->supervisor->SetActiveInstrument(m_Core->probe());
        // The meter page as the window makes it: it records and says what happened.
        CMeterOperationViewModel meter(*m_Core->settings, m_Core->operations->MeasureOperation());
        MessageCapture log;
        meter.record();
        CRecordingManagerMeasure& recorder = record(1);
        QTRY_VERIFY_WITH_TIMEOUT(!m_Core->supervisor->HasActiveInstrument(), 10000);
        QVERIFY(log.contains("Simulated probe lost after 3 blocks"));
        QCOMPARE(recorder.NumBlocks(), 3);
        QVERIFY(recorder.HasUnsavedData());
        QVERIFY(!recorder.IsRecording());
        QVERIFY(meter.InstrumentNotice().contains("3 blocks recorded are kept"));
        QVERIFY(meter.SaveVisible());

        const QString path = m_Files.path() + "/lost.xml";
        recorder.Save(path);
        QVERIFY(!recorder.HasUnsavedData());
        CRecordingManagerMeasure reloaded(*m_Core->settings);
        QVERIFY(reloaded.Load(path));
        QCOMPARE(reloaded.NumBlocks(), 3);
    }

    void vanishedProbeLeavesTheList()
    {
        // The fixture's probe was announced already: a second plug-in start announces again.
        fail([](CSimulatedFailures& f) { f.vanishAfterMs = 200; });
        m_Core->supervisor->SetActiveInstrument(m_Core->probe());
        QVERIFY(m_Core->supervisor->HasActiveInstrument());
        for (CInstrumentPlugin* plugin : m_Core->plugins->GetInstrumentPlugins())
            plugin->Start();
        QTRY_VERIFY_WITH_TIMEOUT(m_Core->supervisor->AvailableInstruments().isEmpty(), 5000);
        QVERIFY(!m_Core->supervisor->HasActiveInstrument());
        QVERIFY(!m_Core->probe());
    }

    void oldCalibrationIsShownOutOfDate()
    {
        fail([](CSimulatedFailures& f) { f.oldCalibration = true; });
        CConnectionPageViewModel page(m_Core->supervisor);
        m_Core->supervisor->SetActiveInstrument(m_Core->probe());
        QVERIFY(m_Core->supervisor->HasActiveInstrument());
        QTRY_VERIFY(page.CalibrationOutOfDate());

        fail([](CSimulatedFailures&) {});
        m_Core->supervisor->ClearActiveInstrument();
        m_Core->supervisor->SetActiveInstrument(m_Core->probe());
        QTRY_VERIFY(!page.CalibrationOutOfDate());
    }

    // Blocks the probe posted before Stop but that reach the operation after it (the
    // window was busy) belong to the ended session: they never join what is loaded next.
    void blocksOfAnEndedSessionAreDropped()
    {
        m_Core->supervisor->SetActiveInstrument(m_Core->probe());
        COperationMeasure* measure = m_Core->operations->MeasureOperation();
        m_Core->operations->setActiveOperation(measure);
        CMeasurementParameters& parameters = *measure->MeasurementParameters();
        parameters.setTriggerMode(CTrigger::TriggerMode::CONTINUOUS);
        parameters.setAcquisitionRate(10000);
        parameters.setDisplayRate(100); // blocks of 100 samples, 100 a second
        CRecordingManagerMeasure& recorder = record(3);
        measure->stop();
        recorder.StopRecord();
        const QString path = m_Files.path() + "/three.xml";
        recorder.Save(path);
        const int saved = recorder.NumBlocks();
        QVERIFY(saved >= 3);

        for (int run = 0; run < 3; ++run)
        {
            record(saved + 2);
            QThread::msleep(50); // the window busy: the probe's next blocks wait in the queue
            measure->stop();
            recorder.StopRecord();
            QVERIFY(recorder.Load(path));
            QTest::qWait(100);
            QCOMPARE(recorder.NumBlocks(), saved);
            QCOMPARE(int(recorder.DataSet()->MeasureBlocks()->size()), saved);
        }
    }

    // After a loss the operation hears nothing more from that instrument object, even
    // when its driver goes on using it.
    void lostInstrumentFeedsNoOperation()
    {
        fail([](CSimulatedFailures& f) { f.loseAfterBlocks = 2; });
        const QSharedPointer<CInstrument> probe = m_Core->probe();
        m_Core->supervisor->SetActiveInstrument(probe);
        CRecordingManagerMeasure& recorder = record(5);
        QTRY_VERIFY_WITH_TIMEOUT(!m_Core->supervisor->HasActiveInstrument(), 10000);
        const int blocks = recorder.NumBlocks();
        QSharedPointer<CMeasureBlock> late(new CMeasureBlock());
        late->Results.append(QSharedPointer<CFieldIntensityResult>::create());
        emit probe->OnNewMeasureBlock(late);
        QTest::qWait(50);
        QCOMPARE(recorder.NumBlocks(), blocks);
    }

    void blockOfNaNSamplesIsRecordedAndSaved()
    {
        fail([](CSimulatedFailures& f) { f.nanBlock = 2; });
        m_Core->supervisor->SetActiveInstrument(m_Core->probe());
        CRecordingManagerMeasure& recorder = record(3);
        m_Core->operations->MeasureOperation()->stop();
        recorder.StopRecord();
        const auto& blocks = *recorder.DataSet()->MeasureBlocks();
        QVERIFY(std::isnan(blocks.at(1)->Results.first()->B()));
        QVERIFY(!std::isnan(blocks.at(0)->Results.first()->B()));

        const QString path = m_Files.path() + "/nan.xml";
        recorder.Save(path);
        CRecordingManagerMeasure reloaded(*m_Core->settings);
        QVERIFY(reloaded.Load(path));
        QCOMPARE(reloaded.NumBlocks(), recorder.NumBlocks());
        const auto& again = *reloaded.DataSet()->MeasureBlocks();
        QVERIFY(std::isnan(again.at(1)->Results.first()->Bx()));
        QCOMPARE(again.at(2)->Results.first()->Bx(), blocks.at(2)->Results.first()->Bx());
    }
};

QTEST_MAIN(tst_Failures)
#include "tst_failures.moc"
