#include "cli/CMeasureCommand.h"

#include "app/CCore.h"
#include "app/CTerminationSignalHandler.h"
#include "files/CCSVResultsSerializer.h"
#include "files/LimitsXmlFile.h"
#include "instruments/CInstrument.h"
#include "operations/COperationMeasure.h"
#include "operations/CRecordingController.h"
#include "operations/CRecordingManagerMeasure.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

// The connections' context is the local event loop: they end with it, before what they capture.
// clazy:excludeall=lambda-in-connect

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CMeasureCommand", text);
}

// The program's core on the plug-ins beside the tool, with settings of its own.
struct Core
{
    QTemporaryDir data;
    std::unique_ptr<CCore> core;
    CSettings* settings = nullptr;
    CPluginsManager* plugins = nullptr;
    CInstrumentSupervisor* supervisor = nullptr;
    COperationsManager* operations = nullptr;

    bool Start(const QString& programFolder, const QString& wantedSerial)
    {
        if (!data.isValid())
            return false;
        core = std::make_unique<CCore>(programFolder, data.path());
        settings = &core->Settings();
        plugins = &core->Plugins();
        supervisor = &core->Supervisor();
        operations = &core->Operations();
        settings->setInstrumentParameterPath(data.path());
        settings->setSaveRecordingsAsCsv(false);
        core->Start();
        if (core->Plugins().GetInstrumentPlugins().isEmpty())
            return true;
        // Drivers list their instruments shortly after starting: wait for the one asked for, or a while.
        // Without a wanted one, the lists settle a moment after the first.
        if (wantedSerial.isEmpty())
            core->WaitForInstruments(3000, {}, 300);
        else
            core->WaitForInstruments(3000, [&] { return !Find(wantedSerial).isNull(); });
        return true;
    }

    QSharedPointer<CInstrument> Find(const QString& serial) const
    {
        const auto instruments = supervisor->AvailableInstruments();
        for (const QSharedPointer<CInstrument>& instrument : instruments)
            if (instrument->SerialNumber() == serial)
                return instrument;
        return nullptr;
    }

    // The active operation is not left: leaving it would store the script's parameters as the
    // window's next ones.
    ~Core()
    {
        if (core)
            core->Stop(CCore::ActiveOperation::Keep);
    }
};

// The meter page's recording commands without a page to help with.

QJsonObject describe(const CInstrument& instrument)
{
    return {{QStringLiteral("model"), instrument.Model()},
            {QStringLiteral("serialNumber"), instrument.SerialNumber()},
            {QStringLiteral("connection"), instrument.RessourceName()},
            {QStringLiteral("manufacturer"), instrument.Manufacturer()},
            {QStringLiteral("name"), instrument.Name()}};
}

// A place that can take the file: checked before measuring, so that a run is never lost to it.
bool writable(const QString& path, QString* error)
{
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
    {
        *error = tr("cannot write %1: %2").arg(path, probe.errorString());
        return false;
    }
    probe.cancelWriting();
    return true;
}
} // namespace

CMeasureCommand::CMeasureCommand(const QString& programFolder) : m_ProgramFolder(programFolder) {}

bool CMeasureCommand::List(QList<QJsonObject>& instruments, QString* error)
{
    Core core;
    if (!core.Start(m_ProgramFolder, QString()))
    {
        *error = tr("cannot create a temporary folder");
        return false;
    }
    if (core.plugins->GetInstrumentPlugins().isEmpty())
    {
        *error = tr("no instrument driver plug-in in %1").arg(core.settings->InstrumentDriverPluginsPath());
        return false;
    }
    const auto available = core.supervisor->AvailableInstruments();
    for (const QSharedPointer<CInstrument>& instrument : available)
        instruments.append(describe(*instrument));
    return true;
}

int CMeasureCommand::Measure(const Options& options, QJsonObject& summary, QString* error)
{
    if (!writable(options.out, error) || (!options.csv.isEmpty() && !writable(options.csv, error)))
        return 1;
    Core core;
    if (!core.Start(m_ProgramFolder, options.serial))
    {
        *error = tr("cannot create a temporary folder");
        return 1;
    }
    const QSharedPointer<CInstrument> instrument = core.Find(options.serial);
    if (!instrument)
    {
        QStringList found;
        const auto others = core.supervisor->AvailableInstruments();
        for (const QSharedPointer<CInstrument>& other : others)
            found << other->SerialNumber();
        *error = tr("no instrument with serial number %1 (found: %2)")
                     .arg(options.serial, found.isEmpty() ? tr("none") : found.join(QStringLiteral(", ")));
        return 1;
    }
    core.supervisor->SetActiveInstrument(instrument);
    if (!core.supervisor->HasActiveInstrument())
    {
        *error = tr("cannot connect to %1 (%2)").arg(options.serial, instrument->RessourceName());
        return 1;
    }
    COperationMeasure* measure = core.operations->MeasureOperation();
    core.operations->setActiveOperation(measure);
    // The window's recording workflow, so that a recording is set up exactly as from the window.
    CRecordingController controller(*core.settings, measure, measure->RecordingManager(), false);

    // The instrument's own bounds decide what it can do.
    CMeasurementParameters& parameters = *measure->MeasurementParameters();
    const double rate = options.rate > 0 ? options.rate : parameters.AcquisitionRate();
    // Written as !(in range): a NaN rate must fail it too.
    if (!(rate >= instrument->AcquisitionRateBound()->Min() &&
          rate <= instrument->AcquisitionRateBound()->Max()))
    {
        *error = tr("rate %1 Hz is outside what %2 takes (%3 to %4 Hz)")
                     .arg(rate)
                     .arg(options.serial)
                     .arg(instrument->AcquisitionRateBound()->Min())
                     .arg(instrument->AcquisitionRateBound()->Max());
        return 1;
    }
    if (options.blockSize > 0 && (options.blockSize < instrument->BlockSizeBound()->Min() ||
                                  options.blockSize > instrument->BlockSizeBound()->Max()))
    {
        *error = tr("block size %1 is outside what %2 takes (%3 to %4)")
                     .arg(options.blockSize)
                     .arg(options.serial)
                     .arg(instrument->BlockSizeBound()->Min())
                     .arg(instrument->BlockSizeBound()->Max());
        return 1;
    }
    parameters.setApplyConfiguration(false);
    if (!options.unit.isEmpty())
    {
        parameters.setUnits(QStringToCUnits(options.unit));
        parameters.setDisplayUnits(parameters.Units());
        parameters.setUncertaintyUnits(ConvertUnitsToUncertaintyUnits(parameters.Units()));
    }
    parameters.setTriggerMode(options.trigger == QLatin1String("timer") ? CTrigger::TriggerMode::TIMER
                              : options.trigger == QLatin1String("immediate")
                                  ? CTrigger::TriggerMode::IMMEDIATE
                                  : CTrigger::TriggerMode::CONTINUOUS);
    // The parameters keep rate, display rate and block size consistent (a block is one display
    // period): the block size is asked through the display rate, as the measurement panel does.
    if (options.blockSize > 0)
    {
        parameters.setDisplayRate(rate / options.blockSize);
        parameters.setBlockSize(options.blockSize);
    }
    if (parameters.AcquisitionRate() != rate)
        parameters.setAcquisitionRate(rate);
    if (options.blockSize > 0 && parameters.BlockSize() != options.blockSize)
        parameters.setBlockSize(options.blockSize);
    parameters.setApplyConfiguration(true);

    if (!options.limits.isEmpty())
    {
        measure->OperationParameters()->LimitsParameters()->setLimitsFilePath(options.limits);
        if (!measure->LimitsFileLoaded())
        {
            *error = tr("%1 is not a limits file the program can use").arg(options.limits);
            return 1;
        }
    }

    CRecordingManagerMeasure& recorder = *measure->RecordingManager();
    // Written beside the output as it is measured (memory holds only the newest blocks):
    // the save at the end is a rename, and a killed run leaves a readable file there.
    recorder.setStreamFolder(QFileInfo(options.out).absolutePath());

    int received = 0;
    qulonglong blocksRecorded = 0, samplesRecorded = 0;
    double lastB = NAN;
    QElapsedTimer elapsed;
    QEventLoop loop;
    QString streamFailure;
    QObject::connect(&controller, &CRecordingController::RecordingStopped, &loop, [&](const QString& notice) {
        streamFailure = notice;
        loop.quit();
    });
    QObject::connect(measure, &COperationMeasure::NewMeasure, &loop,
                     [&](const QSharedPointer<CMeasureBlock>& block) {
                         ++received;
                         if (recorder.IsRecording() && block)
                         {
                             ++blocksRecorded;
                             samplesRecorded += qulonglong(block->Results.size());
                         }
                         if (block && !block->Results.isEmpty())
                             lastB = double(block->Results.back()->B());
                         if (options.progress)
                             std::fprintf(stderr, "\r%d blocks  %.1f s  B %.6g %s   ", received,
                                          double(elapsed.elapsed()) / 1000.0, lastB,
                                          qPrintable(CUnitsToQString(parameters.Units())));
                         if (options.blocks > 0 && received >= options.blocks)
                         {
                             // Ends the session at once: blocks already waiting in the queue
                             // (a slow machine) are dropped, so exactly the blocks asked for are kept.
                             measure->stop();
                             loop.quit();
                         }
                     });
    QObject::connect(core.supervisor, &CInstrumentSupervisor::HasActiveInstrumentChanged, &loop,
                     [&](bool active) {
                         if (!active)
                             loop.quit();
                     });
    // Ctrl+C, a terminal hang-up or a kill end the run; what was measured is still saved.
    CTerminationSignalHandler termination;
    bool interrupted = false;
    QObject::connect(&termination, &CTerminationSignalHandler::TerminationRequested, &loop, [&] {
        interrupted = true;
        loop.quit();
    });
    // A timer takes at most 2^31 ms (24.8 days): a longer run waits in steps.
    QTimer durationTimer;
    durationTimer.setSingleShot(true);
    durationTimer.setTimerType(Qt::PreciseTimer);
    const double durationMs = options.duration * 1000.0;
    const auto armDuration = [&] {
        const double remaining = durationMs - double(elapsed.elapsed());
        if (remaining <= 0)
            loop.quit();
        else
            durationTimer.start(int(std::min(remaining, double(1 << 30))));
    };
    QObject::connect(&durationTimer, &QTimer::timeout, &loop, armDuration);

    elapsed.start();
    if (options.duration > 0)
        armDuration();
    controller.Resume();
    controller.Record();
    loop.exec();
    controller.Stop();
    measure->stop();
    if (options.progress)
        std::fprintf(stderr, "\n");

    const bool lost = !core.supervisor->HasActiveInstrument();
    const int blocks = int(blocksRecorded);
    const qulonglong samples = samplesRecorded;
    summary = {{QStringLiteral("instrument"), describe(*instrument)},
               {QStringLiteral("blocks"), blocks},
               {QStringLiteral("samples"), double(samples)},
               {QStringLiteral("seconds"), double(elapsed.elapsed()) / 1000.0},
               {QStringLiteral("interrupted"), interrupted},
               {QStringLiteral("out"), QFileInfo(options.out).absoluteFilePath()}};
    if (blocks == 0)
    {
        *error = lost ? tr("the instrument was lost before any block") : tr("no block was measured");
        return 1;
    }
    if (!controller.Save(options.out, error))
        return 1;
    if (!streamFailure.isEmpty())
    {
        *error = tr("%1 The blocks in memory were saved to %2.").arg(streamFailure, options.out);
        return 1;
    }
    if (!options.csv.isEmpty())
    {
        if (!recorder.WriteCsv(options.csv, error))
            return 1;
        summary.insert(QStringLiteral("csv"), QFileInfo(options.csv).absoluteFilePath());
    }
    if (lost)
    {
        *error = tr("the instrument was lost: the %1 blocks measured before are saved").arg(blocks);
        return 1;
    }
    return 0;
}
