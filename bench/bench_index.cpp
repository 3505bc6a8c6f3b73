// A measurement recording larger than memory keeps (1 GB by default; TESVANA_BENCH_MB sets
// its size): placing its blocks for the window against the tool's statistics and exposure
// over it, which should cost no more than 1.5 and 2 times as much, and the window's open
// showing the first block at once. Wall-clock times: the reading takes a second thread.
#include "BenchRecording.h"
#include "cli/CRecordingAnalysis.h"
#include "cli/CRecordingSummary.h"
#include "files/CRecordingFile.h"
#include "files/CResultsFileIndex.h"
#include "files/CXMLResultsSerializer.h"
#include "files/ResultsFileFormat.h"
#include "model/CDataSetMeasurement.h"
#include "operations/CRecordingManagerMeasure.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>

#include <benchmark/benchmark.h>

namespace
{
Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

// Written once, a block at a time as a recording is streamed.
const QString& RecordingPath()
{
    static const QString path = [] {
        Fixture& f = Shared();
        const QString file = f.dir.path() + "/large.kxr.xml";
        const qint64 bytes = qgetenv("TESVANA_BENCH_MB").isEmpty()
                                 ? (qint64(1) << 30)
                                 : qgetenv("TESVANA_BENCH_MB").toLongLong() * 1000000;
        CDataSetMeasurement set(f.settings);
        f.parameters.setUnits(CUnits::UnitType::TESLA); // the exposure needs a field unit
        set.setMeasurementParameters(&f.parameters);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(CXMLResultsSerializer::Head(&set));
        QByteArray rows;
        for (int b = 0; out.size() < bytes; ++b)
        {
            const QSharedPointer<CMeasureBlock> block = makeBlock<CMeasureBlock>(1000, f.start, b);
            rows.resize(0);
            block->AppendRows(rows, ResultsFileFormat::ColumnSeparatorBytes());
            CXMLResultsSerializer::WriteBlock(out, *block, rows);
        }
        out.write(CXMLResultsSerializer::Tail());
        return file;
    }();
    return path;
}

qint64 FileBytes()
{
    return QFile(RecordingPath()).size();
}

void BM_Index(benchmark::State& state)
{
    RecordingPath();
    QString error;
    for (auto _ : state)
    {
        CResultsFileIndex index;
        if (!index.Build(RecordingPath(), Shared().settings, {}, nullptr, &error))
            state.SkipWithError(qPrintable(error));
        state.counters["blocks"] = index.BlockCount();
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

void BM_Stats(benchmark::State& state)
{
    RecordingPath();
    QString error;
    for (auto _ : state)
    {
        CRecordingFile file(Shared().settings);
        CRecordingSummary summary;
        if (!CRecordingAnalysis::LoadSummary(file, RecordingPath(), summary, &error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(CRecordingAnalysis::Stats(file, summary));
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

void BM_Exposure(benchmark::State& state)
{
    RecordingPath();
    QString error;
    for (auto _ : state)
    {
        // As the tool does: assessed a block at a time while the file is read.
        CRecordingFile file(Shared().settings);
        CRecordingAnalysis::ExposureRun run(KVL::CExposureAssessment::Standard::Icnirp2010Public, false);
        file.Load(RecordingPath(), [&](const QSharedPointer<CMeasureBlock>& block) {
            if (!run.Started())
                run.Start(file, nullptr);
            run.Add(*block);
            block->Results = {};
        });
        if (run.Finish(file, &error).isEmpty())
            state.SkipWithError(qPrintable(error));
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

// The window's open: the time until the first block is in (the rest read after).
void BM_OpenFirstBlock(benchmark::State& state)
{
    RecordingPath();
    Shared().settings.setMeasurementMaxMeasurementCount(120000);
    for (auto _ : state)
    {
        CRecordingManagerMeasure recorder(Shared().settings);
        QSignalSpy finished(&recorder, &CRecordingManager::IndexingFinished);
        QElapsedTimer shown;
        shown.start();
        if (!recorder.Load(RecordingPath()) || recorder.HeldBlockCount() != 1)
            state.SkipWithError("the first block is not shown at once");
        state.counters["first_block_ms"] = double(shown.nsecsElapsed()) / 1e6;
        recorder.cancelIndexing();
        finished.wait(60000);
    }
}
} // namespace

BENCHMARK(BM_Index)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_Stats)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_Exposure)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_OpenFirstBlock)->Unit(benchmark::kMillisecond)->Iterations(3);
