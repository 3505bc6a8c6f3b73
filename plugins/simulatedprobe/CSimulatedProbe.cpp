#include "plugins/simulatedprobe/CSimulatedProbe.h"

#include "app/LogCategories.h"
#include "instruments/CTriggerPlugin.h"

#include <QCoreApplication>
#include <QDebug>
#include <QVariantList>

#include <limits>

namespace
{
// The simulated stage publishes where it holds the probe under this name.
const char* const StagePositionProperty = "tesvanaSimulatedStagePosition";
} // namespace

CSimulatedProbe::CSimulatedProbe(QObject* parent)
    : CInstrument(parent),
      m_Acquisition([this](const QSharedPointer<CMeasureBlock>& block) { l_Deliver(block); })
{
    setName(QStringLiteral("Simulated probe"));
    setInterface(CInstrumentInterface::USB);
    setRessourceName(QStringLiteral("simulation://probe/0"));
    setSerialNumber(QStringLiteral("SIM-0001"));
    setManufacturer(QStringLiteral("Tesvana simulation (no hardware)"));
    setModel(QStringLiteral("ZRQ5520 simulator"));
    setElectronicsVersion(QStringLiteral("sim 1.0"));
    setProbeVersion(QStringLiteral("sim 1.0"));
    setFirmwareVersion(QStringLiteral("sim 1.0"));
    setCalibrationDate(QDateTime::currentDateTime().addDays(-120));
    setManufacturingDate(QDateTime(QDate(2025, 1, 15), QTime(9, 0)));
    setStatusString(tr("Disconnected"));

    AveragingBound()->setMin(1);
    AveragingBound()->setMax(1000);
    AveragingBound()->setDefault(10);
    DisplayRateBound()->setMin(0.01);
    DisplayRateBound()->setMax(100);
    DisplayRateBound()->setDefault(10);
    BlockSizeBound()->setMin(1);
    BlockSizeBound()->setMax(CSimulatedAcquisition::MaxBlockSize);
    BlockSizeBound()->setDefault(2);
    AcquisitionRateBound()->setMin(0.1);
    AcquisitionRateBound()->setMax(CSimulatedAcquisition::MaxAcquisitionRate);
    AcquisitionRateBound()->setDefault(20);
    TesvanaAcquisitionRateBound()->setMin(0.1);
    TesvanaAcquisitionRateBound()->setMax(20000);
    TesvanaAcquisitionRateBound()->setDefault(20);
    TesvanaDisplayRateBound()->setMin(0.01);
    TesvanaDisplayRateBound()->setMax(20);
    TesvanaDisplayRateBound()->setDefault(10);
    FrequencyMinBound()->setMin(0);
    FrequencyMinBound()->setMax(10000);
    FrequencyMinBound()->setDefault(0);
    FrequencyMaxBound()->setMin(0.05);
    FrequencyMaxBound()->setMax(10000);
    FrequencyMaxBound()->setDefault(10);

    connect(this, &CInstrument::MeasurementParametersChanged, this, &CSimulatedProbe::OnParametersAssigned);
    // An immediate acquisition ends by itself after its one block.
    connect(&m_Acquisition, &QThread::finished, this, &CSimulatedProbe::OnAcquisitionFinished,
            Qt::QueuedConnection);
    m_StagePoll.setInterval(50);
    connect(&m_StagePoll, &QTimer::timeout, this, &CSimulatedProbe::OnStagePoll);
}

CSimulatedProbe::~CSimulatedProbe()
{
    Shutdown();
}

void CSimulatedProbe::Shutdown()
{
    m_StagePoll.stop();
    m_Acquisition.RequestStop();
    m_Acquisition.wait();
    l_DropQueued();
    setIsRunning(false);
}

void CSimulatedProbe::l_Deliver(const QSharedPointer<CMeasureBlock>& block)
{
    // Runs in the acquisition thread; the failure switches act here, as a real
    // probe's failures would reach the driver.
    const int number = ++m_BlocksOfRun;
    if (m_RunFailures.loseAfterBlocks > 0 && number > m_RunFailures.loseAfterBlocks)
    {
        if (number == m_RunFailures.loseAfterBlocks + 1)
            QMetaObject::invokeMethod(this, &CSimulatedProbe::l_Lose, Qt::QueuedConnection);
        return;
    }
    if (number == m_RunFailures.nanBlock)
    {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(block->Results))
        {
            sample->setB(nan);
            sample->setBx(nan);
            sample->setBy(nan);
            sample->setBz(nan);
            sample->setBBprime(nan);
        }
    }
    block->moveToThread(thread());
    bool first = false;
    {
        const std::lock_guard<std::mutex> lock(m_OutboxMutex);
        first = m_Outbox.empty();
        m_Outbox.push_back(block);
    }
    // One call drains whatever came meanwhile (a busy GUI thread).
    if (first)
        QMetaObject::invokeMethod(this, "l_DeliverQueued",
                                  Qt::QueuedConnection); // by name: no slot object shared across threads
}

void CSimulatedProbe::l_DeliverQueued()
{
    std::deque<QSharedPointer<CMeasureBlock>> blocks;
    {
        const std::lock_guard<std::mutex> lock(m_OutboxMutex);
        blocks.swap(m_Outbox);
    }
    for (const QSharedPointer<CMeasureBlock>& block : blocks)
        emit OnNewMeasureBlock(block);
}

void CSimulatedProbe::l_DropQueued()
{
    // Blocks of a stopped run are never announced: the next run's receivers must not get them.
    const std::lock_guard<std::mutex> lock(m_OutboxMutex);
    m_Outbox.clear();
}

void CSimulatedProbe::l_Lose()
{
    m_Acquisition.RequestStop();
    m_Acquisition.wait();
    setIsRunning(false);
    setErrorCode(1);
    l_SetStatus(tr("Lost: the probe stopped answering"));
    qCWarning(lcInstruments).noquote() << QStringLiteral("Simulated probe lost after ") +
                                              QString::number(m_RunFailures.loseAfterBlocks) +
                                              QStringLiteral(" blocks");
    emit Lost();
}

void CSimulatedProbe::l_SetStatus(const QString& status)
{
    setStatusString(status);
    setLastMessage(status);
    QStringList history = MessagesHistory();
    history.append(QDateTime::currentDateTime().toString(Qt::ISODate) + QStringLiteral(" ") + status);
    if (history.size() > 100)
        history.removeFirst();
    setMessagesHistory(history);
}

bool CSimulatedProbe::Connect()
{
    if (IsConnected())
        return true;
    const CSimulatedFailures failures = CSimulatedFailures::Current();
    if (failures.refuseConnect)
    {
        setErrorCode(1);
        l_SetStatus(tr("Connection refused"));
        return false;
    }
    // More than a year old, the calibration is out of date.
    setCalibrationDate(QDateTime::currentDateTime().addDays(failures.oldCalibration ? -400 : -120));
    setUnitList({CUnits::UnitType::TESLA, CUnits::UnitType::MILLI_TESLA, CUnits::UnitType::MICRO_TESLA,
                 CUnits::UnitType::NANO_TESLA, CUnits::UnitType::GAUSS, CUnits::UnitType::KILO_GAUSS,
                 CUnits::UnitType::MILLI_GAUSS, CUnits::UnitType::MEGA_HERTZ_PROTON,
                 CUnits::UnitType::AMPERE_PER_METER, CUnits::UnitType::KILO_AMPERE_PER_METER,
                 CUnits::UnitType::MILLI_AMPERE_PER_METER, CUnits::UnitType::ADC});
    emit OnUnitListUpdated();
    setRangeList({0.1f, 0.3f, 1.0f, 3.0f});
    emit OnRangeListUpdated();
    setTriggerList({CTrigger::TriggerMode::CONTINUOUS, CTrigger::TriggerMode::IMMEDIATE,
                    CTrigger::TriggerMode::TIMER, CTrigger::TriggerMode::EXTERNAL});
    emit OnTriggerListUpdated();
    setDivisorList({QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("100")});
    emit OnHasAdcUpdated();
    setIsConnected(true);
    setErrorCode(0);
    l_SetStatus(tr("Connected"));
    // Where the stage holds the probe counts from the first block on.
    OnStagePoll();
    m_StagePoll.start();
    return true;
}

void CSimulatedProbe::Disconnect()
{
    StopMeasurement();
    m_StagePoll.stop();
    setIsConnected(false);
    l_SetStatus(tr("Disconnected"));
}

void CSimulatedProbe::SendTrigger()
{
    m_Acquisition.Trigger();
}

void CSimulatedProbe::StartMeasurement()
{
    if (!IsConnected() || IsRunning())
        return;
    l_ReadParameters();
    l_ConnectTriggerPlugin();
    m_RunFailures = CSimulatedFailures::Current();
    m_BlocksOfRun = 0;
    m_Acquisition.PrepareStart();
    m_Acquisition.start(QThread::HighPriority);
    setIsRunning(true);
    l_SetStatus(tr("Acquiring"));
}

void CSimulatedProbe::StopMeasurement()
{
    if (!IsRunning())
        return;
    m_Acquisition.RequestStop();
    m_Acquisition.wait();
    l_DropQueued();
    setIsRunning(false);
    l_SetStatus(tr("Connected"));
}

void CSimulatedProbe::CalibrateZeroOffset(bool)
{
    // In the zero-gauss chamber only the sensor's own offset remains; it is removed from now on.
    m_Bias = {0, 0, 0};
    CSimulatedAcquisition::Settings settings = m_Acquisition.GetSettings();
    settings.bias = m_Bias;
    m_Acquisition.SetSettings(settings);
    l_SetStatus(tr("Zero offset calibrated"));
}

void CSimulatedProbe::RestoreZeroOffsetToFactory()
{
    m_Bias = CSimulatedField::SensorBias();
    CSimulatedAcquisition::Settings settings = m_Acquisition.GetSettings();
    settings.bias = m_Bias;
    m_Acquisition.SetSettings(settings);
    l_SetStatus(tr("Factory zero offset restored"));
}

void CSimulatedProbe::OnParametersAssigned()
{
    if (m_ConnectedParameters)
        disconnect(m_ConnectedParameters, nullptr, this, nullptr);
    m_ConnectedParameters = MeasurementParameters();
    if (!m_ConnectedParameters)
        return;
    connect(m_ConnectedParameters, &CMeasurementParameters::ApplyConfigurationChanged, this,
            &CSimulatedProbe::OnApplyConfigurationChanged);
    connect(m_ConnectedParameters, &CMeasurementParameters::TriggerPluginChanged, this,
            &CSimulatedProbe::l_ConnectTriggerPlugin);
    // What this probe achieves in immediate mode.
    m_ConnectedParameters->setImmediateAcquisitionRate(ImmediateRate);
    l_ReadParameters();
    l_ConnectTriggerPlugin();
}

void CSimulatedProbe::OnApplyConfigurationChanged(bool apply)
{
    if (apply)
        l_ReadParameters();
}

void CSimulatedProbe::l_ReadParameters()
{
    CSimulatedAcquisition::Settings settings = m_Acquisition.GetSettings();
    if (const CMeasurementParameters* p = MeasurementParameters())
    {
        settings.mode = p->TriggerMode();
        settings.acquisitionRate =
            settings.mode == CTrigger::TriggerMode::IMMEDIATE ? ImmediateRate : p->AcquisitionRate();
        settings.blockSize = p->BlockSize();
        settings.averaging = p->Averaging();
        settings.units = p->Units();
    }
    settings.bias = m_Bias;
    m_Acquisition.SetSettings(settings);
}

void CSimulatedProbe::l_ConnectTriggerPlugin()
{
    CTriggerPlugin* plugin = MeasurementParameters() ? MeasurementParameters()->TriggerPlugin() : nullptr;
    if (plugin == m_TriggerPlugin)
        return;
    if (m_TriggerPlugin)
        disconnect(m_TriggerPlugin, nullptr, this, nullptr);
    m_TriggerPlugin = plugin;
    if (m_TriggerPlugin)
        connect(m_TriggerPlugin, &CTriggerPlugin::Trigger, this, &CSimulatedProbe::OnTriggerFired);
}

void CSimulatedProbe::OnAcquisitionFinished()
{
    if (IsRunning() && !m_Acquisition.isRunning())
    {
        setIsRunning(false);
        l_SetStatus(tr("Connected"));
    }
}

void CSimulatedProbe::OnTriggerFired()
{
    m_Acquisition.Trigger();
}

void CSimulatedProbe::OnStagePoll()
{
    const QVariantList position = qApp ? qApp->property(StagePositionProperty).toList() : QVariantList();
    if (position.size() != 3)
        return;
    CSimulatedAcquisition::Settings settings = m_Acquisition.GetSettings();
    const CSimulatedField::Vector value = {position[0].toDouble(), position[1].toDouble(),
                                           position[2].toDouble()};
    if (settings.position == value)
        return;
    settings.position = value;
    m_Acquisition.SetSettings(settings);
}
