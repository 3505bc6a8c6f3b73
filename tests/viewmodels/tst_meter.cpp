#include "../instruments/FakeInstruments.h"
#include "../support/FileSizeLimit.h"
#include "../support/MessageCapture.h"
#include "../support/ModelTester.h"
#include "../support/OperationCore.h"
#include "../support/RecordingPrompt.h"
#include "../support/TimedBlock.h"
#include "app/CConstants.h"
#include "files/CResultsFileIndex.h"
#include "model/CAlarmParametersMeter.h"
#include "model/CMetaTypes.h"
#include "model/CReplayParameters.h"
#include "operations/COperationMeasure.h"
#include "operations/CRecordingManagerMeasure.h"
#include "viewmodels/CAlarmParametersMeterViewModel.h"
#include "viewmodels/CChart2DMeterData.h"
#include "viewmodels/CDisplayPacer.h"
#include "viewmodels/CMeasureBlockData.h"
#include "viewmodels/CMeasurementParametersViewModel.h"
#include "viewmodels/CMeterOperationDatasetViewModel.h"
#include "viewmodels/CMeterOperationViewModel.h"
#include "viewmodels/CRangeCheck.h"
#include "viewmodels/CReplayParametersViewModel.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QQuaternion>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

// The meter page's view models without an instrument: averaging, compass,
// orientation, uncertainty, range check, maxima, the recording bar's rules and
// the alarm and replay panels.
namespace
{
QSharedPointer<CMeasureBlock> block(const QList<std::array<float, 3>>& fields, float dB = 0.0f)
{
    QSharedPointer<CMeasureBlock> b(new CMeasureBlock());
    qint64 ms = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC).toMSecsSinceEpoch();
    for (const auto& f : fields)
    {
        QSharedPointer<CFieldIntensityResult> s = QSharedPointer<CFieldIntensityResult>::create();
        s->Timestamp = QDateTime::fromMSecsSinceEpoch(ms += 10, Qt::UTC);
        s->TimestampNanosecond = quint64(ms % 1000) * 1000000ULL;
        s->setBx(f[0]);
        s->setBy(f[1]);
        s->setBz(f[2]);
        s->setB(std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]));
        s->setdB(dB);
        b->Results.append(s);
    }
    return b;
}

QSharedPointer<CMeasureBlock> ofB(const QList<float>& values)
{
    QList<std::array<float, 3>> fields;
    for (const float v : values)
        fields << std::array<float, 3>{0, 0, v};
    return block(fields);
}
} // namespace

class tst_Meter : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<OperationCore<COperationMeasure>> m_Core;
    COperationMeasure* m_Operation = nullptr;
    CSettings* m_Settings = nullptr;
    std::unique_ptr<CMeterOperationViewModel> m_Meter;

    QList<float> filteredB(CChart2DMeterData& chart, const QSharedPointer<CMeasureBlock>& b)
    {
        chart.Plot(*b);
        QList<float> values;
        chart.setXmin(0);
        chart.setXmax(100);
        chart.UpdateDownsampling();
        for (int i = 0; i < chart.DownsampledSignalLength(); ++i)
            values << chart.PointValue(i, 1);
        return values;
    }

    // Two recorded blocks of half a second (50 samples, 10 ms apart), ready to replay.
    CRecordingManagerMeasure& recordTwoHalfSeconds()
    {
        const qint64 t0 = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC).toMSecsSinceEpoch();
        m_Meter->record();
        m_Operation->OnNewMeasure(timed(t0, 50));
        m_Operation->OnNewMeasure(timed(t0 + 500, 50));
        m_Meter->stop();
        CRecordingManagerMeasure& recorder = *m_Operation->RecordingManager();
        recorder.setEndReplayIndex(1);
        return recorder;
    }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        CConstants::Translate(); // the trigger mode names, as the application object fills them
    }

    void init()
    {
        m_Core = std::make_unique<OperationCore<COperationMeasure>>();
        m_Operation = &m_Core->operation;
        m_Settings = &m_Core->settings;
        m_Operation->MeasurementParameters()->setUnits(CUnits::UnitType::MILLI_TESLA);
        m_Meter = std::make_unique<CMeterOperationViewModel>(*m_Settings, m_Operation);
        checkModel(m_Meter->MeterOperationDatasetViewModel()->TableData());
        checkModel(m_Meter->MeterOperationDatasetViewModel()->Chart2DData());
    }

    void cleanup()
    {
        m_Meter.reset();
        m_Core.reset();
    }

    void movingAndExponentialAverages()
    {
        CChart2DMeterData& chart = *m_Meter->Chart();
        chart.onAveragingCountIndexChange(3);
        chart.onAveragingModeIndexChange(2);
        QCOMPARE(chart.AveragingMode(), CChart2DMeterData::Moving);
        QCOMPARE(filteredB(chart, ofB({1, 2, 3, 4, 5})), QList<float>({1, 1.5, 2, 3, 4}));

        chart.Clear();
        chart.onAveragingCountIndexChange(2);
        chart.onAveragingModeIndexChange(1);
        QCOMPARE(filteredB(chart, ofB({0, 4, 4})), QList<float>({0, 2, 3}));

        // N is the smaller of the received count and the averaging count.
        chart.Clear();
        chart.onAveragingCountIndexChange(4);
        QCOMPARE(filteredB(chart, ofB({0, 3, 3})), QList<float>({0, 1, 5.0f / 3.0f}));

        chart.onAveragingModeIndexChange(7);
        QCOMPARE(chart.AveragingModeIndex(), 0);
        QCOMPARE(chart.AveragingMode(), CChart2DMeterData::Off);
        QCOMPARE(m_Settings->AveragingMode(), 0);
        QCOMPARE(m_Settings->AveragingCount(), 4u);
    }

    // A sample that is not a number (a probe's bad block) is skipped by both averages: the
    // chart's B and B±dB go on with finite values instead of staying NaN for good.
    void averagesSkipSamplesThatAreNotNumbers()
    {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        CChart2DMeterData& chart = *m_Meter->Chart();
        chart.onAveragingCountIndexChange(3);
        chart.onAveragingModeIndexChange(2);
        // The mean of the window's finite values: (2, 3) of (2, NaN, 3) gives 2.5.
        QCOMPARE(filteredB(chart, ofB({1, 2, nan, 3, 4, 5, 6})), QList<float>({1, 1.5, 1.5, 2.5, 3.5, 4, 5}));

        chart.Clear();
        chart.onAveragingCountIndexChange(2);
        chart.onAveragingModeIndexChange(1);
        QCOMPARE(filteredB(chart, ofB({0, 4, nan, 4})), QList<float>({0, 2, 2, 3}));
        // A first sample of NaN: the average starts from the next value.
        chart.Clear();
        const QList<float> fromNaN = filteredB(chart, ofB({nan, 2, 4}));
        QVERIFY(std::isnan(fromNaN[0]));
        QCOMPARE(fromNaN.mid(1), QList<float>({2, 3}));
    }

    // "Near 0" for a percentage is a fixed field (100 nT), not 0.0001 of whatever unit B is
    // shown in: in tesla a 50 µT field keeps its percentage.
    void percentUncertaintyInAnyUnit()
    {
        const auto percent = [](float b, float dB, CUnits::UnitType display) {
            CFieldIntensityResult sample;
            sample.setB(b);
            sample.setdB(dB);
            return CRangeCheck::Uncertainty(sample, display, CUnits::UnitType::PERCENT);
        };
        QCOMPARE(percent(1.0f, 0.05f, CUnits::UnitType::MILLI_TESLA), 5.0f);
        QVERIFY(std::isnan(percent(1.0f, 0.095f, CUnits::UnitType::MILLI_TESLA)));
        QVERIFY(std::isnan(percent(0.00005f, 0.000001f, CUnits::UnitType::MILLI_TESLA)));
        QVERIFY(std::fabs(percent(5e-5f, 2.5e-6f, CUnits::UnitType::TESLA) - 5.0f) < 1e-4f);
        QVERIFY(std::isnan(percent(5e-8f, 1e-9f, CUnits::UnitType::TESLA)));
        QVERIFY(std::fabs(percent(50.0f, 2.5f, CUnits::UnitType::MICRO_TESLA) - 5.0f) < 1e-4f);
    }

    void compassFollowsTheProbeAxis_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("z");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("right");
        QTest::newRow("along +z") << 0.0f << 2.0f << 1.0 << 1.0 << true;
        QTest::newRow("along -z") << 0.0f << -2.0f << 1.0 << 1.0 << false;
        QTest::newRow("across") << 2.0f << 0.0f << 0.0 << 0.0 << true;
    }

    void compassFollowsTheProbeAxis()
    {
        QFETCH(float, x);
        QFETCH(float, z);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(bool, right);
        m_Meter->ProcessBlock(block({{x, 0, z}}));
        QCOMPARE(m_Meter->CompasWidth(), width);
        QCOMPARE(m_Meter->CompasHeight(), height);
        QCOMPARE(m_Meter->UpdateRightCompas(), right);
        QCOMPARE(m_Meter->UpdateLeftCompas(), !right);
    }

    void orientationAndRotationSense()
    {
        m_Meter->ProcessBlock(block({{0, 3, 0}}));
        QVERIFY(std::fabs(m_Meter->QuatScalar() - 1.0) < 1e-6);
        QVERIFY(std::fabs(m_Meter->QuatX()) < 1e-6 && std::fabs(m_Meter->QuatZ()) < 1e-6);

        // Turning counter-clockwise seen from +z (the front camera): sense 0.
        m_Meter->setRotEnable(true);
        m_Meter->ProcessBlock(block({{1, 0, 0}, {0.7f, 0.7f, 0}, {0, 1, 0}}));
        QVERIFY(m_Meter->RotVisible());
        const QQuaternion expected = QQuaternion::fromEulerAngles(0, -90, 0);
        QVERIFY(std::fabs(m_Meter->RotQuatY() - expected.y()) < 1e-6);
        // Products of both signs: no sense to show.
        m_Meter->ProcessBlock(block({{1, 0, 0}, {0, 1, 0}, {1, 0, 0}}));
        QVERIFY(!m_Meter->RotVisible());
        // One sample has no sense either, and does not fail.
        m_Meter->ProcessBlock(block({{1, 0, 0}}));
        QVERIFY(!m_Meter->RotVisible());
    }

    void uncertaintyInPercentOfB()
    {
        m_Operation->MeasurementParameters()->setUncertaintyUnits(CUnits::UnitType::PERCENT);
        QCOMPARE(m_Meter->DisplayUncertaintyUnits(), CUnits::UnitType::PERCENT);
        QSharedPointer<CMeasureBlock> b = block({{0, 0, 1}, {0, 0, 1}, {0, 0, 0.00005f}});
        b->Results[0]->setdB(0.05f);
        b->Results[1]->setdB(0.095f);
        CRangeCheck::ComputeBConverted(*b, CUnits::UnitType::MILLI_TESLA, CUnits::UnitType::PERCENT);
        QVERIFY(std::fabs(b->Results[0]->dBConverted() - 5.0f) < 1e-5f);
        QVERIFY(std::isnan(b->Results[1]->dBConverted()));
        QVERIFY(std::isnan(b->Results[2]->dBConverted()));
        // In a unit: converted from the display unit.
        CRangeCheck::ComputeBConverted(*b, CUnits::UnitType::MILLI_TESLA, CUnits::UnitType::MICRO_TESLA);
        QVERIFY(std::fabs(b->Results[0]->dBConverted() - 50.0f) < 1e-3f);
    }

    void maximaKeepTheSign()
    {
        m_Meter->setSectionIndex(2); // the table shown
        m_Meter->ProcessBlock(block({{0, 0, -5}}));
        m_Meter->ProcessBlock(block({{0, 0, 3}}));
        m_Meter->ProcessBlock(block({{0, 0, 4}}));
        QCOMPARE(m_Meter->BzMax(), -5.0);
        QCOMPARE(m_Meter->BzLastBlock(), 4.0);
        m_Meter->resetAllMaximum();
        QCOMPARE(m_Meter->BzMax(), 0.0);
        QTRY_COMPARE(m_Meter->MeterOperationDatasetViewModel()->TableData()->rowCount(), 1);
    }

    // Two pacers on one screen (the chart and the recording bar) let their changes out on
    // one beat: a change just after the other's release waits for the next beat instead
    // of making a frame of its own.
    void pacersShareOneBeat()
    {
        CDisplayPacer chart, bar;
        int charted = 0, counted = 0;
        // The bar's change comes right after the chart's release (from inside it).
        chart.Defer(&chart, [&] {
            ++charted;
            bar.Defer(&bar, [&counted] { ++counted; });
        });
        while (charted == 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents(); // a release due now would happen here
        QCOMPARE(counted, 0);
        chart.Defer(&chart, [&charted] { ++charted; });
        QTRY_COMPARE(counted, 1);
        QTRY_COMPARE(charted, 2);
    }

    // Blocks faster than a screen shows: every one reaches the values (and the maxima),
    // but a page hears of them at most at the screen's pace, and a hidden table is not
    // rebuilt at all until it is shown.
    void blocksAreShownAtTheScreensPace()
    {
        m_Meter->setSectionIndex(0);
        QSignalSpy values(m_Meter.get(), &CMeterOperationViewModel::BzLastBlockChanged);
        QSignalSpy table(m_Meter->Table(), &QAbstractItemModel::modelReset);
        QElapsedTimer clock;
        clock.start();
        for (int i = 1; i <= 200; ++i)
            m_Meter->ProcessBlock(block({{0, 0, float(i)}, {0, 0, float(-i)}, {0, 0, float(i)}}));
        QCOMPARE(m_Meter->BzLastBlock(), 200.0); // current at once
        QCOMPARE(m_Meter->BzMax(), 200.0);
        QTRY_VERIFY(!values.isEmpty());
        QTest::qWait(100);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(values.size() <= 2 + elapsed / CDisplayPacer::IntervalMs,
                 qPrintable(QString("%1 signals in %2 ms").arg(values.size()).arg(elapsed)));
        QCOMPARE(values.last().first().toDouble(), 200.0);
        QCOMPARE(table.size(), 0);
        m_Meter->setSectionIndex(2);
        QTRY_COMPARE(table.size(), 1);
        QCOMPARE(m_Meter->Table()->rowCount(), 3);
    }

    // A field of nothing leaves no needle standing: the compass is cleared until a field
    // comes, as a state the page's binding sees (not a pulse set and reset in one call).
    void compassClearedWhileThereIsNoField()
    {
        QSignalSpy cleared(m_Meter.get(), &CMeterOperationViewModel::ClearCompasChanged);
        m_Meter->ProcessBlock(block({{0, 0, 0}}));
        QVERIFY(m_Meter->ClearCompas());
        m_Meter->ProcessBlock(block({{3, 0, 4}}));
        QVERIFY(!m_Meter->ClearCompas());
        QCOMPARE(cleared.count(), 2);
    }

    void rangeCheckAnnouncesOnceEveryTwoSeconds()
    {
        CAlarmParametersMeter& alarm = *m_Operation->OperationParameters()->AlarmParametersMeter();
        alarm.setMinimum(0);
        alarm.setMaximum(10);
        alarm.setAxis(CAxis::AxisType::Bz);
        alarm.setState(CAlarm::AlarmState::Notification);
        QSignalSpy tray(m_Meter.get(), &CMeterOperationViewModel::AlarmNotification);
        MessageCapture log;
        const auto warnings = [&log] {
            int count = 0;
            for (const QString& line : log.all())
                count += line.contains(" is out-of-limit [") ? 1 : 0;
            return count;
        };
        // Before any block: waiting, not "In range"; the limits' unit beside them.
        CAlarmParametersMeterViewModel& panel = *m_Meter->AlarmParametersViewModel();
        QVERIFY(!panel.Checked());
        QCOMPARE(panel.StatusText(), QString("Waiting for data"));
        QCOMPARE(panel.UnitText(), "[" + CUnitsToQString(m_Meter->DisplayUnits()) + "]");
        m_Meter->ProcessBlock(block({{0, 0, 5}, {0, 0, 12}, {0, 0, 20}}));
        QCOMPARE(panel.StatusText(), QString("Out of range"));
        QCOMPARE(warnings(), 1);
        QCOMPARE(tray.count(), 1);
        QVERIFY(m_Meter->AlarmParametersViewModel()->FlagNotification());
        m_Meter->ProcessBlock(block({{0, 0, 30}}));
        QCOMPARE(warnings(), 1); // within 2 s: not again
        m_Meter->ProcessBlock(block({{0, 0, 5}}));
        QVERIFY(!m_Meter->AlarmParametersViewModel()->FlagNotification());
        m_Meter->OnRangeTimerTimedOut(); // 2 s without violation
        m_Meter->ProcessBlock(block({{0, 0, -1}}));
        QCOMPARE(warnings(), 2);
        QVERIFY(log.all().last().contains("Bz is out-of-limit [mT] : Minimum = "));
        alarm.setState(CAlarm::AlarmState::Off);
        m_Meter->ProcessBlock(block({{0, 0, -1}}));
        QVERIFY(!m_Meter->AlarmParametersViewModel()->FlagNotification());
    }

    void recordingBarFollowsTheState()
    {
        using VM = CMeasurementOperationViewModel;
        // Connected, idle: Resume, Record, Load and Zero-offset.
        QCOMPARE(VM::VisibleActions({true, false, false, false, false, false, false, false}),
                 VM::Resume | VM::Record | VM::Load | VM::ZeroOffset);
        // Connected and running: Hold, Record and Zero-offset.
        QCOMPARE(VM::VisibleActions({true, true, false, false, false, false, false, false}),
                 VM::Hold | VM::Record | VM::ZeroOffset);
        // Recording: Hold, Stop and Zero-offset.
        QCOMPARE(VM::VisibleActions({true, true, false, true, false, false, false, false}),
                 VM::Hold | VM::Stop | VM::ZeroOffset);
        // Holding a recording: End, Playback, Save, Export HDF5.
        QCOMPARE(VM::VisibleActions({true, false, false, false, true, true, false, false}),
                 VM::End | VM::Playback | VM::Save | VM::ExportHdf5);
        // A recording whose instrument was lost can still be saved.
        QCOMPARE(VM::VisibleActions({false, false, false, false, true, true, false, false}),
                 VM::End | VM::Playback | VM::Save | VM::ExportHdf5);
        // A loaded file is not offered for saving again, only for export; without an instrument
        // it can still be replayed.
        QCOMPARE(VM::VisibleActions({false, false, false, false, true, false, false, true}),
                 VM::End | VM::Playback | VM::ExportHdf5);
        // Replaying step by step: Step and Stop.
        QCOMPARE(VM::VisibleActions({false, false, true, false, true, false, true, true}),
                 VM::Step | VM::Stop);
        QCOMPARE(CMeasurementOperationViewModel::ProposedFileName(
                     "Probe", "SN1", QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6))),
                 QString("0000_SN1_2026-02-03_04.05.06_measurement.kxr.xml"));
        QVERIFY(
            CMeasurementOperationViewModel::ProposedFileName("ZRQ5520 sim", "S", QDateTime::currentDateTime())
                .startsWith("5520_S_"));
    }

    void commandsAskThroughThePrompt()
    {
        RecordingPrompt prompt;
        m_Operation->RecordingManager()->AddMeasureBlock(ofB({1}));
        m_Operation->RecordingManager()->setIsIdleWithData(true);
        m_Operation->RecordingManager()->setHasUnsavedData(true);
        prompt.confirm = false;
        m_Meter->end();
        QCOMPARE(m_Operation->RecordingManager()->NumBlocks(), 1); // refused: nothing changes
        m_Meter->load();
        QCOMPARE(prompt.asked.size(), 2);
        QVERIFY(prompt.asked.last().startsWith("Confirm: "));

        // A file that fails to load leaves the page usable and says why.
        prompt.confirm = true;
        const QString bad = m_Core->dir.path() + "/bad.xml";
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<KorvelinXmlRecord ver=\"9\"/>");
        file.close();
        prompt.files << bad;
        m_Meter->load();
        QVERIFY(prompt.asked.last().startsWith("Error: "));
        QCOMPARE(m_Meter->DisplayUnits(), CUnits::UnitType::MILLI_TESLA);
        QCOMPARE(m_Operation->RecordingManager()->DataSet()->MeasurementParameters(),
                 m_Operation->MeasurementParameters());
    }

    // Written to disk as measured, a recording longer than memory keeps is saved whole; the
    // bar names the file, its size and the free space.
    void recordingLongerThanTheLimitIsKeptOnDisk()
    {
        m_Settings->setMeasurementMaxMeasurementCount(5);
        m_Operation->MeasurementParameters()->setAcquisitionRate(2);
        CRecordingManagerMeasure& recorder = *m_Operation->RecordingManager();
        m_Meter->record();
        for (float b : {1.0f, 3.0f, 5.0f, 7.0f})
            m_Operation->OnNewMeasure(ofB({b, b + 1}));
        const QString text = m_Meter->RecordingKeptText();
        QVERIFY2(
            QRegularExpression(
                "^Recording: 4.0 s to \\S+_measurement.kxr.xml.part \\(\\d+.\\d MB, \\d+.\\d [MG]B free\\)$")
                .match(text)
                .hasMatch(),
            qPrintable(text));
        QVERIFY(m_Meter->RetentionNotice().isEmpty());
        QVERIFY(recorder.DataSet()->ResultsCount() < 8); // memory keeps the newest only
        const QString part = recorder.StreamPath();
        QVERIFY(QFile::exists(part));
        m_Meter->stop();
        QTemporaryDir folder;
        QVERIFY(recorder.SaveAs(folder.filePath("long.xml"), nullptr));
        QVERIFY(!QFile::exists(part)); // moved into place
        CRecordingManagerMeasure loaded(*m_Settings);
        // Longer than memory keeps: opened in the background, then read a stretch at a time.
        QSignalSpy opened(&loaded, &CRecordingManager::IndexingFinished);
        QVERIFY(loaded.Load(folder.filePath("long.xml")));
        QVERIFY(opened.wait(5000));
        QVERIFY(loaded.IsReadOnDemand());
        QCOMPARE(loaded.NumBlocks(), 4);
        QCOMPARE(loaded.DataSet()->MeasureBlocks()->at(0)->Results.first()->B(), 1.0f);
    }

    // The disk refuses the recording's file (full): the recording stops at once, the page
    // says why and where what was written is, and Save keeps the blocks in memory.
    void aFullDiskStopsTheRecordingAndSaysSo()
    {
        RecordingPrompt prompt;
        CRecordingManagerMeasure& recorder = *m_Operation->RecordingManager();
        QTemporaryDir folder;
        recorder.setStreamFolder(folder.path());
        const auto restore = qScopeGuard([&recorder] { recorder.setStreamFolder(QString()); });
        m_Meter->record();
        m_Operation->OnNewMeasure(ofB({1, 2}));
        const QString part = recorder.StreamPath();
        QVERIFY(!part.isEmpty());
        {
            FileSizeLimit full(QFileInfo(part).size() + 100);
            for (int i = 0; i < 10; ++i)
                m_Operation->OnNewMeasure(ofB(QVector<float>(50, float(i)).toList()));
            QTRY_VERIFY(!recorder.IsRecording());
        }
        QVERIFY2(
            m_Meter->RetentionNotice().startsWith("The recording was stopped: it could not be written to "
                                                  "disk (cannot write " +
                                                  part) &&
                m_Meter->RetentionNotice().contains("stays readable in " + part),
            qPrintable(m_Meter->RetentionNotice()));
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.first().startsWith("Error: The recording was stopped"));
        QVERIFY(recorder.HasUnsavedData());
        QVERIFY(recorder.SaveAs(folder.filePath("kept.xml"), nullptr));
        CRecordingManagerMeasure loaded(*m_Settings);
        QVERIFY(loaded.Load(folder.filePath("kept.xml")));
        QCOMPARE(loaded.NumBlocks(), 11);
    }

    // Where the recording cannot be written to disk, memory keeps its newest part, and the
    // page says so once.
    void recordingLongerThanTheLimitIsAnnouncedOnce()
    {
        m_Settings->setMeasurementMaxMeasurementCount(5);
        m_Operation->MeasurementParameters()->setAcquisitionRate(2);
        QTemporaryDir folder;
        QFile plain(folder.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        m_Operation->RecordingManager()->setStreamFolder(folder.filePath("plain/recordings"));
        const auto restore =
            qScopeGuard([this] { m_Operation->RecordingManager()->setStreamFolder(QString()); });
        MessageCapture log;
        m_Meter->record();
        m_Operation->OnNewMeasure(ofB({1, 2}));
        m_Operation->OnNewMeasure(ofB({3, 4}));
        QCOMPARE(m_Meter->RecordingKeptText(), QString("Recording: 2.0 s"));
        QVERIFY(m_Meter->RetentionNotice().isEmpty());
        m_Operation->OnNewMeasure(ofB({5, 6}));
        m_Operation->OnNewMeasure(ofB({7, 8}));
        QCOMPARE(m_Meter->RecordingKeptText(), QString("Recording: the newest 2.0 s kept of 4.0 s"));
        QVERIFY(m_Meter->RetentionNotice().contains("Points in other modes"));
        int said = 0;
        for (const QString& line : log.all())
            said += line.contains("oldest blocks are being dropped") ? 1 : 0;
        QCOMPARE(said, 1);
        m_Meter->stop();
        QVERIFY(m_Meter->RecordingKeptText().isEmpty());
        QVERIFY(!m_Meter->RetentionNotice().isEmpty()); // still there when the user saves
        m_Meter->record();
        QVERIFY(m_Meter->RetentionNotice().isEmpty());
    }

    void replayShowsLongBlocksAtTheDisplaysPace()
    {
        RecordingPrompt prompt;
        prompt.confirm = true;
        CRecordingManagerMeasure& recorder = recordTwoHalfSeconds();
        m_Meter->setSectionIndex(2); // the table shown
        QCOMPARE(recorder.NumBlocks(), 2);
        QVERIFY(recorder.IsIdleWithData());

        // At 1x a block is shown 100 ms of samples at a time, 100 ms apart, on a chart
        // that starts empty.
        m_Meter->start();
        // Read together, between two timer events: the parts shown and those left add up.
        QTRY_VERIFY_WITH_TIMEOUT(m_Meter->Chart()->MeasureResultCount() >= 10, 1000);
        const quint64 shown = m_Meter->Chart()->MeasureResultCount();
        const int pending = m_Meter->PendingSubBlockCount();
        QCOMPARE(shown % 10, quint64(0));
        if (shown < 50)
        {
            QCOMPARE(quint64(pending), 5 - shown / 10);
            QVERIFY(recorder.IsProcessingBlock());
        }
        QTRY_COMPARE(m_Meter->Table()->rowCount(), 10);
        QTRY_VERIFY_WITH_TIMEOUT(m_Meter->Chart()->MeasureResultCount() >= 50, 2000);
        // The last part shown tells the recorder the block is done.
        QTRY_VERIFY_WITH_TIMEOUT(!recorder.IsPlayingBack(), 3000);
        QCOMPARE(m_Meter->Chart()->MeasureResultCount(), quint64(100));
        QCOMPARE(m_Meter->PendingSubBlockCount(), 0);
    }

    // A replayed block that arrives while the previous one's parts are still pending shows
    // those parts at once, but the recorder keeps the new block in progress; a replay
    // stopped amid the last block's parts keeps the whole block on the chart.
    void replayFlushKeepsTheRecorderAndTheTail()
    {
        RecordingPrompt prompt;
        prompt.confirm = true;
        const qint64 t0 = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC).toMSecsSinceEpoch();
        CRecordingManagerMeasure& recorder = recordTwoHalfSeconds();
        m_Meter->start();
        QTRY_VERIFY_WITH_TIMEOUT(m_Meter->PendingSubBlockCount() > 0, 1000);
        recorder.PauseReplay();
        QVERIFY(recorder.IsPlayingBack());
        recorder.setIsProcessingBlock(true); // as the recorder sets it when it sends a block
        m_Meter->OnNewMeasure(timed(t0 + 500, 50));
        QVERIFY(m_Meter->PendingSubBlockCount() > 0);
        QVERIFY2(recorder.IsProcessingBlock(), "the flush of the previous parts released the recorder");
        const quint64 beforeStop = m_Meter->Chart()->MeasureResultCount();
        QVERIFY(beforeStop < 100);
        recorder.StopReplay();
        QCOMPARE(m_Meter->PendingSubBlockCount(), 0);
        QCOMPARE(m_Meter->Chart()->MeasureResultCount(), quint64(100));
    }

    void loadedRecordingIsChartedOnceAndSteppedThrough()
    {
        const qint64 t0 = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC).toMSecsSinceEpoch();
        CRecordingManagerMeasure& recorder = *m_Operation->RecordingManager();
        m_Meter->setSectionIndex(2); // the table shown
        for (int i = 0; i < 3; ++i)
            recorder.AddMeasureBlock(timed(t0 + 1000 * i, 20));
        emit m_Meter->DatasetLoaded();
        // Every sample once: the first block is not charted twice.
        QCOMPARE(m_Meter->Chart()->MeasureResultCount(), quint64(60));
        QTRY_COMPARE(m_Meter->Table()->rowCount(), 20);

        // Stepping through the recording the chart holds whole moves the window to the step:
        // the second block (step 2) lies between 1.0 and 1.2 s.
        recorder.setIsIdleWithData(true);
        recorder.setEndReplayIndex(2);
        m_Operation->MeasurementParameters()->setBlockSize(20);
        recorder.playCurrentBlock(2);
        QCOMPARE(m_Meter->Chart()->MeasureResultCount(), quint64(60));
        QVERIFY2(m_Meter->Chart()->Xmax() > 1.18 && m_Meter->Chart()->Xmax() < 1.5,
                 qPrintable(QString::number(m_Meter->Chart()->Xmax())));
        recorder.playCurrentBlock(1);
        QVERIFY2(m_Meter->Chart()->Xmax() > 0.18 && m_Meter->Chart()->Xmax() < 0.5,
                 qPrintable(QString::number(m_Meter->Chart()->Xmax())));

        // Stepping to a block of a recording not charted whole draws it up to that block.
        m_Meter->Chart()->Clear();
        recorder.setIsIdleWithData(true);
        recorder.setEndReplayIndex(2);
        m_Operation->MeasurementParameters()->setBlockSize(20);
        recorder.playCurrentBlock(2);
        QCOMPARE(m_Meter->Chart()->MeasureResultCount(), quint64(40));
        recorder.playCurrentBlock(1);
        QCOMPARE(m_Meter->Chart()->MeasureResultCount(), quint64(20)); // back: up to the first block
    }

    // A file holding more than memory keeps opens in the background (progress, Cancel),
    // then a stretch of it at a time: steps read the blocks they reach, the chart draws the
    // rest from the overview (a spike far from the stretch held shows), a range chosen on
    // the chart reads its blocks, a save copies the file, and a file changed meanwhile says so.
    void fileLargerThanMemoryIsReadOnDemand()
    {
        RecordingPrompt prompt;
        const qint64 t0 = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC).toMSecsSinceEpoch();
        CRecordingManagerMeasure& recorder = *m_Operation->RecordingManager();
        recorder.setStreamFolder(m_Core->dir.path() + "/streams");
        m_Meter->record();
        for (int i = 0; i < 400; ++i)
        {
            QSharedPointer<CMeasureBlock> b = timed(t0 + 1000 * i, 100);
            b->setComment(QString("block %1").arg(i));
            if (i == 350)
                b->Results[40]->setB(77);
            // No uncertainty in this file: the overview must not make one up.
            for (const auto& sample : b->Results)
                sample->setdB(std::numeric_limits<float>::quiet_NaN());
            m_Operation->OnNewMeasure(b);
        }
        m_Meter->stop();
        const QString path = m_Core->dir.path() + "/large.kxr.xml";
        prompt.files << path;
        m_Meter->save();
        QVERIFY(QFileInfo::exists(path));

        m_Settings->setMeasurementMaxMeasurementCount(20000);
        QVERIFY(QFileInfo(path).size() > recorder.IndexingThreshold());
        // Cancelled: nothing is loaded, the page stays as it was.
        prompt.confirm = true;
        prompt.files << path;
        QSignalSpy finished(&recorder, &CRecordingManager::IndexingFinished);
        m_Meter->load();
        QVERIFY(m_Meter->IsOpening());
        QVERIFY(m_Meter->OpenedFileText().startsWith("Opening large.kxr.xml"));
        m_Meter->cancelOpening();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.last().at(0).toBool(), false);
        QVERIFY(!m_Meter->IsOpening());
        QCOMPARE(recorder.NumBlocks(), 0);

        prompt.files << path;
        m_Meter->load();
        // The first block is shown at once, while the rest is read.
        QVERIFY(m_Meter->IsOpening());
        QCOMPARE(recorder.HeldBlockCount(), 1);
        QCOMPARE(recorder.DataSet()->MeasureBlocks()->front()->Comment(), QString("block 0"));
        QCOMPARE(m_Meter->Chart()->MeasureResultCount(), quint64(100));
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.last().at(0).toBool(), true);
        QVERIFY(recorder.IsReadOnDemand());
        QCOMPARE(recorder.NumBlocks(), 400);
        QVERIFY(recorder.DataSet()->ResultsCount() <= 20000);
        const int held = recorder.HeldBlockCount();
        QVERIFY(held > 10 && held < 200);
        QVERIFY2(m_Meter->OpenedFileText().contains(QString("blocks 1 to %1 of 400").arg(held)),
                 qPrintable(m_Meter->OpenedFileText()));
        // The chart: the held blocks in full, the others as two points per overview column,
        // the spike of block 350 among them.
        CChart2DMeterData& chart = *m_Meter->Chart();
        QVERIFY(chart.MeasureResultCount() > quint64(held * 100));
        QVERIFY(chart.MeasureResultCount() < quint64(held * 100 + 2 * 400));
        chart.setXmin(0);
        chart.setXmax(chart.MeasureResultMaxX());
        chart.UpdateDownsampling();
        float largest = 0;
        for (int i = 0; i < chart.DownsampledSignalLength(); ++i)
        {
            largest = std::max(largest, chart.PointValue(i, 1));
            QVERIFY(!(std::fabs(chart.PointValue(i, 7)) < std::numeric_limits<float>::infinity()) ||
                    std::fabs(chart.PointValue(i, 7)) < 1e3f);
        }
        QCOMPARE(largest, 77.f);
        QVERIFY(chart.YmaxAllSignal() < 1e3);

        // Steps read the stretch they reach, forwards and backwards.
        recorder.setIsIdleWithData(true);
        recorder.setEndReplayIndex(399);
        m_Operation->MeasurementParameters()->setBlockSize(100);
        QSignalSpy replayed(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock);
        recorder.playCurrentBlock(301);
        QCOMPARE(recorder.WindowFirstBlock(), 300);
        QCOMPARE(replayed.last().at(0).value<QSharedPointer<CMeasureBlock>>()->Comment(),
                 QString("block 300"));
        recorder.playCurrentBlock(251);
        // Backwards, the stretch held reaches well before the block: the next steps back read nothing.
        QVERIFY(recorder.WindowFirstBlock() <= 200);
        QVERIFY(recorder.WindowFirstBlock() + recorder.HeldBlockCount() > 250);
        QCOMPARE(recorder.StoredBlock(250)->Comment(), QString("block 250"));
        QVERIFY(recorder.DataSet()->ResultsCount() <= 20000);

        // A range chosen on the chart around block 100 reads the blocks from there.
        emit m_Meter->DatasetLoaded();
        chart.refreshLegendData(100.0, 103.0);
        QCOMPARE(recorder.WindowFirstBlock(), 100);
        QCOMPARE(recorder.StoredBlock(101)->Results.size(), 100);

        // Saved: the file copied, every block in it.
        const QString copy = m_Core->dir.path() + "/copy.kxr.xml";
        prompt.files << copy;
        m_Meter->save();
        QFile a(path), b(copy);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray original = a.readAll(), copied = b.readAll();
        QCOMPARE(copied, original);

        // The file changed under the page: the step says so and shows nothing wrong.
        a.close();
        QVERIFY(a.open(QIODevice::ReadWrite));
        QVERIFY(a.seek(recorder.FileIndex()->BlockAt(390).Offset));
        a.write("garbage");
        a.close();
        const int asked = prompt.asked.size();
        QVERIFY(!recorder.StoredBlock(390));
        QCOMPARE(prompt.asked.size(), asked + 1);
        QVERIFY2(prompt.asked.last().contains("changed since it was opened"),
                 qPrintable(prompt.asked.last()));

        // A new recording lets the file go; one started while a file opens cancels the opening.
        m_Meter->record();
        QVERIFY(!recorder.IsReadOnDemand());
        QVERIFY(m_Meter->OpenedFileText().isEmpty());
        m_Meter->stop();
        m_Meter->end();
        prompt.files << copy;
        m_Meter->load();
        QVERIFY(m_Meter->IsOpening());
        m_Meter->record();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.last().at(0).toBool(), false);
        QVERIFY(recorder.IsRecording());
        QVERIFY(!recorder.IsReadOnDemand());
        m_Meter->stop();
    }

    // After a parameter file is loaded, the alarm and replay panels show what is in force.
    void panelsFollowALoadedParameterFile()
    {
        CAlarmParametersMeter& alarm = *m_Operation->OperationParameters()->AlarmParametersMeter();
        alarm.setState(CAlarm::AlarmState::Audio);
        alarm.setAxis(CAxis::AxisType::Bz);
        alarm.setMinimum(-2);
        alarm.setMaximum(3);
        QTemporaryDir folder;
        const QString path = folder.filePath("parameters.xml");
        QVERIFY(m_Operation->SaveParameters(path));
        CAlarmParametersMeterViewModel& panel = *m_Meter->AlarmParametersViewModel();
        panel.setSelectedStateIndex(0);
        panel.setSelectedAxisIndex(0);
        panel.setMaximum(10);
        panel.setMinimum(5);
        QCOMPARE(alarm.State(), CAlarm::AlarmState::Off);
        QVERIFY(m_Operation->LoadParameters(path));
        QCOMPARE(panel.SelectedStateIndex(), 2); // Audio
        QCOMPARE(panel.SelectedAxisIndex(), 4);  // Bz
        QCOMPARE(panel.Minimum(), -2.0);
        QCOMPARE(panel.Maximum(), 3.0);
        QCOMPARE(alarm.Minimum(), -2.0);

        CReplayParametersViewModel& replay = *m_Meter->ReplayParametersViewModel();
        m_Operation->OperationParameters()->ReplayParameters()->setSelectedTimeWarpIndex(5);
        QCOMPARE(replay.SelectedTimeWarpIndex(), 5);
        m_Operation->OperationParameters()->ReplayParameters()->setStepByStepMode(true);
        QVERIFY(replay.StepByStepMode());
        // Where the replay stands: no "Block 1 / 0" once the data is gone.
        CRecordingManagerMeasure& recorder = *m_Operation->RecordingManager();
        recorder.AddMeasureBlock(ofB({1}));
        recorder.AddMeasureBlock(ofB({2}));
        QVERIFY2(replay.PositionText().startsWith("Block ") && replay.PositionText().endsWith(" / 2"),
                 qPrintable(replay.PositionText()));
        m_Operation->clear();
        QCOMPARE(replay.PositionText(), QString("No block"));
    }

    void measurementPanelWithoutAnInstrument()
    {
        CMeasurementParametersViewModel& panel = *m_Meter->MeasurementParametersViewModel();
        QCOMPARE(panel.UnitsList(), QStringList({"--"}));
        QCOMPARE(panel.Triggers(), QStringList({"--"}));
        QCOMPARE(panel.Ranges().size(), 1);
        panel.setSelectedUnitIndex(0);
        QCOMPARE(m_Operation->MeasurementParameters()->Units(), CUnits::UnitType::MILLI_TESLA);
        QVERIFY(!panel.applyAcquisitionRate(10));
    }

    void measurementPanelWithAnInstrument()
    {
        QSharedPointer<CInstrument> probe(new FakeInstrument("Probe", "1"));
        probe->setUnitList({CUnits::UnitType::TESLA, CUnits::UnitType::MILLI_TESLA, CUnits::UnitType::ADC});
        probe->setRangeList({0.1f, 1.0f});
        probe->setTriggerList({CTrigger::TriggerMode::CONTINUOUS, CTrigger::TriggerMode::IMMEDIATE,
                               CTrigger::TriggerMode::TIMER, CTrigger::TriggerMode::EXTERNAL});
        probe->AcquisitionRateBound()->setMin(1);
        probe->AcquisitionRateBound()->setMax(1000);
        m_Core->supervisor.SetActiveInstrument(probe);
        QVERIFY(m_Core->supervisor.HasActiveInstrument());
        CMeasurementParameters& m = *m_Operation->MeasurementParameters();
        m.setUnits(CUnits::UnitType::TESLA);
        m.setAutoRange(false);
        m.setRange(0.5f); // not a range of this instrument
        CMeasurementParametersViewModel panel(m_Operation, false);
        QCOMPARE(panel.UnitsList(), QStringList({"T", "mT"})); // no ADC unless enabled
        QCOMPARE(panel.UncertaintyUnitsList(), QStringList({"mT", "%"}));
        // The meter's own panel saw the unlisted range: the last range is taken and the box
        // shows it, never "Auto" for a range in force; listed at position 1, it is entry 2
        // for a panel made now too.
        QCOMPARE(m_Meter->MeasurementParametersViewModel()->SelectedRangeIndex(), 2);
        QVERIFY(!m.AutoRange());
        QCOMPARE(m.Range(), 1.0f);
        QCOMPARE(panel.SelectedRangeIndex(), 2);
        QCOMPARE(panel.Ranges().at(2).toMap().value("first").toString(), QString("1"));

        // A unit change over a live view (nothing recorded) asks nothing: nothing is lost.
        RecordingPrompt prompt;
        m_Operation->RecordingManager()->AddMeasureBlock(ofB({1}));
        panel.setSelectedUnitIndex(1);
        QCOMPARE(prompt.asked, QStringList());
        QCOMPARE(m.Units(), CUnits::UnitType::MILLI_TESLA);
        panel.setSelectedUnitIndex(0);
        // With a recording unsaved it asks first; refused, nothing changes.
        m_Operation->RecordingManager()->ResetRecord();
        m_Operation->RecordingManager()->AddMeasureBlock(ofB({1}));
        QVERIFY(m_Operation->HasUnsavedData());
        prompt.confirm = false;
        panel.setSelectedUnitIndex(1);
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(panel.SelectedUnitIndex(), 0);
        QCOMPARE(m.Units(), CUnits::UnitType::TESLA);
        QVERIFY(!m_Operation->IsDataSetEmpty());
        prompt.confirm = true;
        panel.setSelectedUnitIndex(1);
        QCOMPARE(m.Units(), CUnits::UnitType::MILLI_TESLA);
        QCOMPARE(m_Meter->DisplayUnits(), CUnits::UnitType::MILLI_TESLA);
        QVERIFY(m_Operation->IsDataSetEmpty());
        QVERIFY(!m_Operation->HasUnsavedData()); // what was cleared is nothing to save

        // Numbers outside the instrument's bounds are refused with a reason.
        const double rate = m.AcquisitionRate();
        QVERIFY(!panel.applyAcquisitionRate(5000));
        QVERIFY(panel.InputError().contains("between 1 and 1000"));
        QVERIFY(!panel.applyAcquisitionRate(std::nan("")));
        QCOMPARE(m.AcquisitionRate(), rate);
        QVERIFY(panel.applyAcquisitionRate(500));
        QVERIFY(panel.InputError().isEmpty());
        QCOMPARE(m.AcquisitionRate(), 500.0);

        panel.setSelectedTriggerIndex(1); // Immediate
        QCOMPARE(m.TriggerMode(), CTrigger::TriggerMode::IMMEDIATE);
        QVERIFY(panel.IsImmediateAcquisitionRateVisible());
        QVERIFY(!panel.IsDisplayRateVisible());
        QVERIFY(!panel.IsAcquisitionRateEnable());
        panel.setSelectedTriggerIndex(3); // External: the plug-in choice appears
        QVERIFY(panel.TriggerPluginVisible());

        // Parameters saved to a file and loaded back restore the panel.
        panel.setSelectedTriggerIndex(0);
        // The meter's own panel was made before this instrument: its "--" list changes nothing.
        QCOMPARE(m.TriggerMode(), CTrigger::TriggerMode::CONTINUOUS);
        m.setDisplayRate(10);
        QVERIFY(panel.applyAcquisitionRate(200));
        const QString path = m_Core->dir.path() + "/parameters.xml";
        prompt.files << path;
        m_Meter->saveParameters();
        QVERIFY(QFile::exists(path));
        panel.setSelectedUnitIndex(0);
        QVERIFY(panel.applyAcquisitionRate(300));
        prompt.files << path;
        m_Meter->loadParameters();
        QVERIFY2(m.AcquisitionRate() == 200.0, qPrintable(QString::number(m.AcquisitionRate())));
        QCOMPARE(panel.SelectedTriggerIndex(), 0);
        QCOMPARE(panel.SelectedUnitIndex(), 1);
        QCOMPARE(m.Units(), CUnits::UnitType::MILLI_TESLA);

        // Parameters the instrument cannot use offer no Resume or Record.
        QVERIFY(m_Meter->ParametersValid());
        m.setTriggerMode(CTrigger::TriggerMode::TIMER);
        m.setAcquisitionRate(5000); // above the probe's 1000
        QVERIFY(!m_Meter->ParametersValid());
        m.setAcquisitionRate(100);
        QVERIFY(m_Meter->ParametersValid());
        m.setTriggerMode(CTrigger::TriggerMode::EXTERNAL);
        m.setTriggerPlugin(nullptr);
        QVERIFY(!m_Meter->ParametersValid()); // no trigger to wait for
        m.setTriggerMode(CTrigger::TriggerMode::TIMER);
        QVERIFY(m_Meter->ParametersValid());

        // The zero offset shows it is busy until it has been taken.
        QSignalSpy busy(m_Meter.get(), &CMeasurementOperationViewModel::ZeroOffsetBusyChanged);
        m_Meter->zeroOffset(false);
        QVERIFY(m_Meter->ZeroOffsetBusy());
        QTRY_VERIFY(!m_Meter->ZeroOffsetBusy());
        QCOMPARE(busy.count(), 2);
        m_Core->supervisor.ClearActiveInstrument();
    }

    void instrumentLostWhileRecordingKeepsTheRecording()
    {
        QSharedPointer<CInstrument> probe(new FakeInstrument("Probe", "1"));
        m_Core->supervisor.SetActiveInstrument(probe);
        CMeterOperationViewModel meter(*m_Settings,
                                       m_Operation); // made with the instrument, as the page is
        CRecordingManagerMeasure& recorder = *m_Operation->RecordingManager();
        meter.record();
        m_Operation->OnNewMeasure(ofB({1, 2}));
        m_Operation->OnNewMeasure(ofB({3}));
        QVERIFY(recorder.IsRecording());
        QVERIFY(!meter.SaveVisible());
        MessageCapture log;
        m_Core->supervisor.ClearActiveInstrument(); // the instrument is gone
        QVERIFY(!recorder.IsRecording());
        QCOMPARE(recorder.NumBlocks(), 2);
        QVERIFY(recorder.IsIdleWithData());
        QVERIFY(meter.SaveVisible());
        QVERIFY(meter.InstrumentNotice().contains("2 blocks recorded are kept"));
        QVERIFY(log.contains("The instrument was lost during the recording."));

        RecordingPrompt prompt;
        const QString path = m_Core->dir.path() + "/kept.xml";
        prompt.files << path;
        meter.save();
        QVERIFY(QFile::exists(path));
        QVERIFY(!recorder.HasUnsavedData());
    }

    void alarmAndReplayPanels()
    {
        CAlarmParametersMeterViewModel& alarm = *m_Meter->AlarmParametersViewModel();
        alarm.setSelectedStateIndex(2);
        QCOMPARE(m_Operation->OperationParameters()->AlarmParametersMeter()->State(),
                 CAlarm::AlarmState::Audio);
        alarm.setSelectedStateIndex(7); // not in the list: nothing changes
        QCOMPARE(m_Operation->OperationParameters()->AlarmParametersMeter()->State(),
                 CAlarm::AlarmState::Audio);
        alarm.setMaximum(5);
        alarm.setMinimum(6); // above the maximum: refused with a reason
        QCOMPARE(alarm.Minimum(), m_Operation->OperationParameters()->AlarmParametersMeter()->Minimum());
        QVERIFY(!alarm.InputError().isEmpty());
        alarm.setMinimum(1);
        QVERIFY(alarm.InputError().isEmpty());
        QCOMPARE(m_Operation->OperationParameters()->AlarmParametersMeter()->Minimum(), 1.0);

        CReplayParametersViewModel& replay = *m_Meter->ReplayParametersViewModel();
        QCOMPARE(replay.TimeWarpNames().at(replay.SelectedTimeWarpIndex()), QString("1x"));
        m_Operation->RecordingManager()->setReplayIndex(0);
        replay.OnReplayIndexChanged(0);
        QCOMPARE(replay.CurrentBlock(), 1);
        replay.setStartingBlock(0);
        QCOMPARE(m_Operation->RecordingManager()->StartReplayIndex(), 0);
        replay.setSelectedTimeWarpIndex(5);
        QCOMPARE(m_Operation->RecordingManager()->TimeWarp(), 10.0);
    }
};

QTEST_MAIN(tst_Meter)
#include "tst_meter.moc"
