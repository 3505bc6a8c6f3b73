// Saving and loading recordings: a measurement data set of 120,000 samples and
// a mapping data set of 1,000 blocks of 1,000 samples, through real files.
#include "BenchRecording.h"
#include "app/CSettings.h"
#include "files/CResultsStreamWriter.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"
#include "operations/CRecordingManager.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>

namespace
{
long statusKiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size()));
    }
    return 0;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

template <typename DataSet, typename Block> void BM_Write(benchmark::State& state)
{
    Fixture f;
    const int blocks = int(state.range(0));
    DataSet set(f.settings);
    fill<DataSet, Block>(set, f, blocks);
    const QString path = f.dir.path() + "/bench.xml";
    CXMLResultsSerializer serializer;
    qint64 bytes = 0;
    for (auto _ : state)
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        serializer.Serialize(&set, &file);
        bytes = file.size();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(blocks) * 1000, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MB"] = double(bytes) / 1e6;
}

template <typename DataSet, typename Block> void BM_Read(benchmark::State& state)
{
    Fixture f;
    const int blocks = int(state.range(0));
    const QString path = f.dir.path() + "/bench.xml";
    {
        DataSet set(f.settings);
        fill<DataSet, Block>(set, f, blocks);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        CXMLResultsSerializer().Serialize(&set, &file);
    }
    const qint64 bytes = QFile(path).size();
    double peakRatio = 0;
    double dataSetMB = 0;
    double freeSeconds = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        // Freed memory goes back to the system, so each read is measured from scratch.
        malloc_trim(0);
        const long before = statusKiB("VmRSS:");
        resetPeak();
        state.ResumeTiming();
        auto set = std::make_unique<DataSet>(f.settings);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        CXMLResultsSerializer serializer;
        if (!serializer.Deserialize(&file, set.get()))
            state.SkipWithError("read failed");
        state.PauseTiming();
        const long kept = statusKiB("VmRSS:") - before;
        const long peak = statusKiB("VmHWM:") - before;
        if (kept > 0)
        {
            peakRatio = double(peak) / double(kept);
            dataSetMB = double(kept) / 1024.0;
        }
        // Letting the loaded set go is timed apart: a load is over when the set is there.
        QElapsedTimer freeing;
        freeing.start();
        set.reset();
        freeSeconds += double(freeing.nsecsElapsed()) / 1e9;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(blocks) * 1000, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["dataset_MB"] = dataSetMB;
    state.counters["peak_over_dataset"] = peakRatio;
    state.counters["free_ms"] = freeSeconds * 1000 / double(state.iterations());
}

// The reader's timestamp parsing per sample: 100,000 rows with timestamps (one
// second apart every 100 rows, as at 100 Hz) against the same rows without, whose
// difference is the parsing alone.
void BM_ReadTimestamps(benchmark::State& state)
{
    const bool withTimestamps = state.range(0) != 0;
    QByteArray rows;
    for (int i = 0; i < 100000; ++i)
    {
        if (i > 0)
            rows += '\n';
        if (withTimestamps)
            rows += QByteArray("2026.01.02T03:") + QByteArray::number(10 + i / 6000) + ':' +
                    QByteArray::number(10 + i / 100 % 60) + '.' +
                    QByteArray::number(100000000 + i % 100 * 10000000);
        rows += ";;;;;;;";
    }
    const QByteArray document =
        "<KorvelinXmlRecord ver=\"1.0\"><body type=\"tKXR_BODY_TESVANA\" ver=\"1.1\">"
        "<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.2\"><measurements><flux>" +
        rows + "</flux></measurements></dataset></body></KorvelinXmlRecord>";
    Fixture f;
    for (auto _ : state)
    {
        CDataSetMeasurement set(f.settings);
        QBuffer buffer;
        buffer.setData(document);
        buffer.open(QIODevice::ReadOnly);
        CXMLResultsSerializer serializer;
        if (!serializer.Deserialize(&buffer, &set))
            state.SkipWithError("read failed");
    }
    state.counters["ns_per_sample"] =
        benchmark::Counter(100000.0 * double(state.iterations()) / 1e9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadTimestamps)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A recording written as it is measured: blocks of 1,000 samples handed to the writer
// thread (as the live path hands them) until `range(0)` blocks are on disk, then finished.
// The rate is the writer's throughput of XML (100 kHz needs about 11 MB/s).
void BM_StreamWriter(benchmark::State& state)
{
    Fixture f;
    const int blocks = int(state.range(0));
    CDataSetMeasurement set(f.settings);
    fill<CDataSetMeasurement, CMeasureBlock>(set, f, 100);
    const QByteArray head = CXMLResultsSerializer::Head(&set);
    qint64 bytes = 0;
    int run = 0;
    for (auto _ : state)
    {
        const QString path = f.dir.path() + QStringLiteral("/stream%1.xml").arg(run++);
        CResultsStreamWriter writer;
        if (!writer.Open(path, head, nullptr))
            state.SkipWithError("open failed");
        for (int b = 0; b < blocks; ++b)
            writer.Append(set.MeasureBlocks()->at(std::size_t(b % 100)));
        if (!writer.Finish(nullptr))
            state.SkipWithError("write failed");
        bytes = writer.BytesWritten();
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_StreamWriter)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Saving a recording written as measured: a 1 GB file put in place (a rename on the same
// file system), and the copy taken when its comment changed since the start.
void BM_SaveStreamed(benchmark::State& state)
{
    const bool headChanged = state.range(0) != 0;
    Fixture f;
    CDataSetMeasurement set(f.settings);
    fill<CDataSetMeasurement, CMeasureBlock>(set, f, 10);
    const QByteArray head = CXMLResultsSerializer::Head(&set);
    const QString recording = f.dir.path() + "/recording.xml.part";
    {
        QFile file(recording);
        file.open(QIODevice::WriteOnly);
        file.write(head);
        QBuffer block;
        block.open(QIODevice::WriteOnly);
        QByteArray rows;
        set.MeasureBlocks()->front()->AppendRows(rows, ";");
        CXMLResultsSerializer::WriteBlock(block, *set.MeasureBlocks()->front(), rows);
        while (file.size() < 1000000000)
            file.write(block.data());
        file.write(CXMLResultsSerializer::Tail());
    }
    const qint64 bytes = QFileInfo(recording).size();
    set.setComment(headChanged ? QStringLiteral("changed") : QString());
    const QByteArray now = CXMLResultsSerializer::Head(&set);
    const QString saved = f.dir.path() + "/saved.xml";
    for (auto _ : state)
    {
        QString error;
        if (!CRecordingManager::PlaceResultsFile(recording, head, now, saved, !headChanged, &error))
            state.SkipWithError(qPrintable(error));
        state.PauseTiming();
        if (!headChanged)
            QFile::rename(saved, recording);
        else
            QFile::remove(saved);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_SaveStreamed)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

BENCHMARK_TEMPLATE(BM_Write, CDataSetMeasurement, CMeasureBlock)->Arg(120)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Read, CDataSetMeasurement, CMeasureBlock)->Arg(120)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Write, CDataSetMapping, CMeasureBlockMapping)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_TEMPLATE(BM_Read, CDataSetMapping, CMeasureBlockMapping)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
} // namespace
