#include "../support/MessageCapture.h"
#include "../support/PluginFolders.h"
#include "app/CSettings.h"
#include "instruments/CInstrumentListProvider.h"
#include "instruments/CInstrumentPlugin.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CMapperPluginStopAndGo.h"
#include "instruments/CTriggerPlugin.h"
#include "model/CMetaTypes.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLibrary>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace
{
template <typename Plugin> Plugin* create(const QString& kind, const QString& library, const char* entry)
{
    QLibrary lib(PluginFolders::built(kind, library));
    if (!lib.load())
        return nullptr;
    using Factory = Plugin* (*)();
    const auto factory = reinterpret_cast<Factory>(lib.resolve(entry));
    return factory ? factory() : nullptr;
}

QDialog* windowTitled(const QString& title)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
    {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->windowTitle() == title)
            return dialog;
    }
    return nullptr;
}

QPushButton* buttonOf(QDialog* dialog)
{
    return dialog ? dialog->findChild<QPushButton*>() : nullptr;
}
} // namespace

// The plug-ins that ship with the program and the simulated devices, each
// through its real library.
class tst_Devices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CMetaTypes::Register(); }

    void manualMapperWindowAndReady()
    {
        std::unique_ptr<CMapperPlugin> plugin(
            create<CMapperPlugin>("mapper", "libStepmate.so", "CreateMapperPlugin"));
        QVERIFY(plugin);
        CMapperPluginStopAndGo* mapper = CMapperPluginStopAndGo::From(plugin.get());
        QVERIFY(mapper);
        QCOMPARE(mapper->GetName(), QString("Manual"));
        QCOMPARE(mapper->CurrentPosition(), CPosition(0, 0, 0));

        QDialog* window = windowTitled("Stepmate");
        QVERIFY(window);
        // Qt adds the system-menu hint that a close button needs; no minimise or maximise button.
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint) && flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint) &&
                !flags.testFlag(Qt::WindowMaximizeButtonHint));
        QPushButton* button = buttonOf(window);
        QCOMPARE(button->text(), QString("Ready"));
        QVERIFY(button->minimumHeight() >= 50);

        mapper->Start();
        QVERIFY(!window->isVisible());
        mapper->MoveTo(CPosition(1.5, 0, -2), COrientation(0, 0, 90));
        QVERIFY(window->isVisible());
        QStringList labels;
        for (QLabel* label : window->findChildren<QLabel*>())
            labels << label->text();
        QVERIFY(labels.contains("Move to : X:1.5 Y:0 Z:-2"));
        QCOMPARE(mapper->CurrentPosition(), CPosition(1.5, 0, -2));
        QCOMPARE(mapper->CurrentOrientation().Yaw(), 90.0);

        QSignalSpy ready(mapper, SIGNAL(Ready()));
        QTest::mousePress(button, Qt::LeftButton);
        QTest::qWait(50);
        QTest::mouseRelease(button, Qt::LeftButton);
        QCOMPARE(ready.count(), 1);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(ready.count(), 2);

        mapper->Stop();
        QVERIFY(!window->isVisible());
        mapper->MoveTo(CPosition(2, 2, 2), COrientation());
        QVERIFY(window->isVisible());
        mapper->Close();
        QVERIFY(!window->isVisible());
    }

    void manualTriggerWindowAndTrigger()
    {
        std::unique_ptr<CTriggerPlugin> trigger(
            create<CTriggerPlugin>("trigger", "libClickfire.so", "CreateTriggerPlugin"));
        QVERIFY(trigger);
        QCOMPARE(trigger->GetName(), QString("Manual"));
        QDialog* window = windowTitled("Clickfire");
        QVERIFY(window);
        trigger->Stop(); // without a Start: stays hidden
        QVERIFY(!window->isVisible());
        trigger->Start();
        QVERIFY(window->isVisible());
        QSignalSpy fired(trigger.get(), SIGNAL(Trigger()));
        QTest::mouseClick(buttonOf(window), Qt::LeftButton);
        QCOMPARE(fired.count(), 1);
        trigger->Stop();
        QVERIFY(!window->isVisible());
        trigger->Start();
        QTest::mouseClick(buttonOf(window), Qt::LeftButton);
        QCOMPARE(fired.count(), 2);
    }

    void simulatedStageTravelsThenReports()
    {
        std::unique_ptr<CMapperPlugin> plugin(
            create<CMapperPlugin>("mapper", "libSimulatedStage.so", "CreateMapperPlugin"));
        CMapperPluginStopAndGo* stage = CMapperPluginStopAndGo::From(plugin.get());
        QVERIFY(stage);
        stage->Start();
        QSignalSpy ready(stage, SIGNAL(Ready()));
        stage->MoveTo(CPosition(10, 20, 0), COrientation(0, 0, 0));
        QCOMPARE(ready.count(), 0);
        QCOMPARE(stage->CurrentPosition(), CPosition(0, 0, 0));
        QVERIFY(ready.wait(2000));
        QCOMPARE(stage->CurrentPosition(), CPosition(10, 20, 0));
        QCOMPARE(qApp->property("tesvanaSimulatedStagePosition").toList().at(1).toDouble(), 20.0);
        stage->Stop();
    }

    void simulatedProbeDeliversConfiguredBlocks()
    {
        std::unique_ptr<CInstrumentPlugin> plugin(
            create<CInstrumentPlugin>("instrument", "libSimulatedProbe.so", "CreateInstrumentPlugin"));
        QVERIFY(plugin);
        QTemporaryDir dir;
        CSettings settings("/p", nullptr, dir.path());
        CInstrumentSupervisor supervisor(settings);
        plugin->Start();
        supervisor.AddInstrumentListProvider(plugin->GetInstrumentListProvider());
        QSignalSpy updated(&supervisor, &CInstrumentSupervisor::AvailableInstrumentUpdated);
        QVERIFY(updated.wait(3000));
        QCOMPARE(supervisor.AvailableInstruments().size(), 1);
        QSharedPointer<CInstrument> probe = supervisor.AvailableInstruments().first();
        QCOMPARE(probe->SerialNumber(), QString("SIM-0001"));
        QVERIFY(probe->Name().contains("Simulated"));
        supervisor.SetActiveInstrument(probe);
        QVERIFY(supervisor.HasActiveInstrument());
        QVERIFY(probe->IsConnected());
        QVERIFY(probe->UnitList().contains(CUnits::UnitType::MICRO_TESLA));
        QCOMPARE(probe->TriggerList().size(), 4);
        QVERIFY(probe->TesvanaAcquisitionRateBound()->Max() > probe->TesvanaAcquisitionRateBound()->Min());

        // As an operation hands its parameters over: continuous, 1 kHz, 10 blocks a second.
        CMeasurementParameters parameters;
        parameters.setApplyConfiguration(false);
        parameters.setTriggerMode(CTrigger::TriggerMode::CONTINUOUS);
        parameters.setUnits(CUnits::UnitType::MICRO_TESLA);
        parameters.setDisplayRate(10);
        parameters.setAcquisitionRate(1000);
        parameters.setApplyConfiguration(true);
        QCOMPARE(parameters.BlockSize(), 100);
        probe->setMeasurementParameters(&parameters);
        emit probe->MeasurementParametersChanged(&parameters);
        QCOMPARE(parameters.ImmediateAcquisitionRate(), 1000.0);

        QList<QSharedPointer<CMeasureBlock>> blocks;
        QObject listening; // blocks still queued after this test reach nobody
        connect(probe.data(), &CInstrument::OnNewMeasureBlock, &listening,
                [&](const QSharedPointer<CMeasureBlock>& block) { blocks << block; });
        probe->StartMeasurement();
        QVERIFY(probe->IsRunning());
        QTRY_VERIFY_WITH_TIMEOUT(blocks.size() >= 3, 5000);
        probe->StopMeasurement();
        QVERIFY(!probe->IsRunning());
        for (const QSharedPointer<CMeasureBlock>& block : blocks)
        {
            QCOMPARE(block->Results.size(), 100);
            QCOMPARE(block->thread(), QThread::currentThread());
        }
        // Samples 1 ms apart, in micro-tesla near the Earth-like field.
        const CFieldIntensityResult& a = *blocks[0]->Results[0];
        const CFieldIntensityResult& b = *blocks[0]->Results[1];
        const qint64 spacing = (b.Timestamp.toMSecsSinceEpoch() - a.Timestamp.toMSecsSinceEpoch()) * 1000000 +
                               qint64(b.TimestampNanosecond % 1000000) -
                               qint64(a.TimestampNanosecond % 1000000);
        QVERIFY2(qAbs(spacing - 1000000) < 2, qPrintable(QString::number(spacing)));
        QVERIFY(a.B() > 40 && a.B() < 60);
        QVERIFY(a.Temperature() > 30000);
        QVERIFY(a.dB() > 0);

        // External mode: one block per trigger of the chosen trigger plug-in.
        std::unique_ptr<CTriggerPlugin> trigger(
            create<CTriggerPlugin>("trigger", "libClickfire.so", "CreateTriggerPlugin"));
        parameters.setApplyConfiguration(false);
        parameters.setTriggerMode(CTrigger::TriggerMode::EXTERNAL);
        parameters.setTriggerPlugin(trigger.get());
        parameters.setApplyConfiguration(true);
        // Blocks of the continuous run that are still queued arrive before the count starts.
        QCoreApplication::sendPostedEvents();
        blocks.clear();
        probe->StartMeasurement();
        trigger->Start();
        QTest::qWait(300);
        QCOMPARE(blocks.size(), 0);
        QPushButton* button = buttonOf(windowTitled("Clickfire"));
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(blocks.size(), 2, 3000);
        QTest::qWait(200);
        QCOMPARE(blocks.size(), 2);
        probe->StopMeasurement();

        supervisor.ClearActiveInstrument();
        QVERIFY(!probe->IsConnected());
        plugin->Stop();
    }

    void simulatedFieldIsDeterministic()
    {
        // Two fresh drivers given the same parameters produce the same first block
        // (with the stage, if any, in the same place).
        qApp->setProperty("tesvanaSimulatedStagePosition", QVariantList{0.0, 0.0, 0.0});
        QList<QList<float>> firstBlocks;
        for (int run = 0; run < 2; ++run)
        {
            std::unique_ptr<CInstrumentPlugin> plugin(
                create<CInstrumentPlugin>("instrument", "libSimulatedProbe.so", "CreateInstrumentPlugin"));
            plugin->Start();
            CInstrumentListProvider* provider = plugin->GetInstrumentListProvider();
            QTRY_VERIFY_WITH_TIMEOUT(!provider->GetInstrumentList().isEmpty(), 3000);
            QSharedPointer<CInstrument> probe = provider->GetInstrumentList().first();
            QVERIFY(probe->Connect());
            CMeasurementParameters parameters;
            parameters.setTriggerMode(CTrigger::TriggerMode::CONTINUOUS);
            parameters.setUnits(CUnits::UnitType::NANO_TESLA);
            parameters.setDisplayRate(20);
            parameters.setAcquisitionRate(2000);
            probe->setMeasurementParameters(&parameters);
            emit probe->MeasurementParametersChanged(&parameters);
            QList<float> values;
            QObject listening;
            connect(probe.data(), &CInstrument::OnNewMeasureBlock, &listening,
                    [&](const QSharedPointer<CMeasureBlock>& block) {
                        if (values.isEmpty())
                            for (const auto& s : block->Results)
                                values << s->Bx();
                    });
            probe->StartMeasurement();
            QTRY_VERIFY_WITH_TIMEOUT(!values.isEmpty(), 3000);
            probe->StopMeasurement();
            probe->Disconnect();
            plugin->Stop();
            firstBlocks << values;
        }
        QCOMPARE(firstBlocks[0].size(), 100);
        QCOMPARE(firstBlocks[0], firstBlocks[1]);
    }
};

QTEST_MAIN(tst_Devices)
#include "tst_devices.moc"
