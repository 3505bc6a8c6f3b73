// tesvana-cli's analyses of the 1,000,000-sample mapping recording of the file
// benchmarks, against the program's own load of that file: stats and convert --to csv
// and exposure should cost little more than reading; the survey report (the file read
// and assessed as it streams, then the PDF) within twice the exposure command.
#include "BenchRecording.h"
#include "cli/CRecordingAnalysis.h"
#include "cli/CRecordingSummary.h"
#include "files/CRecordingFile.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CDataSetMapping.h"
#include "report/CReportPdfWriter.h"
#include "report/CSurveyReport.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace
{
constexpr int Blocks = 1000;

// The recording, written once for every benchmark of this program.
const QString& RecordingPath()
{
    static Fixture fixture;
    static const QString path = [] {
        const QString file = fixture.dir.path() + "/map.xml";
        CDataSetMapping set(fixture.settings);
        fill<CDataSetMapping, CMeasureBlockMapping>(set, fixture, Blocks);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        CXMLResultsSerializer().Serialize(&set, &out);
        return file;
    }();
    return path;
}

void BM_ProgramLoad(benchmark::State& state)
{
    Fixture f;
    RecordingPath();
    for (auto _ : state)
    {
        CRecordingFile file(f.settings);
        if (!file.Load(RecordingPath()) || file.SampleCount() != Blocks * 1000ULL)
            state.SkipWithError("load failed");
    }
}

void BM_Stats(benchmark::State& state)
{
    Fixture f;
    RecordingPath();
    QString error;
    for (auto _ : state)
    {
        // As the tool does: summed up while the file is read.
        CRecordingFile file(f.settings);
        CRecordingSummary summary;
        if (!CRecordingAnalysis::LoadSummary(file, RecordingPath(), summary, &error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(CRecordingAnalysis::Stats(file, summary));
    }
}

void BM_Exposure(benchmark::State& state)
{
    Fixture f;
    RecordingPath();
    QString error;
    for (auto _ : state)
    {
        CRecordingFile file(f.settings);
        file.Load(RecordingPath());
        const QJsonObject exposure = CRecordingAnalysis::Exposure(
            file, KVL::CExposureAssessment::Standard::Icnirp2010Public, nullptr, false, &error);
        if (exposure.isEmpty())
            state.SkipWithError(qPrintable(error));
    }
}

void BM_Report(benchmark::State& state)
{
    Fixture f;
    RecordingPath();
    QString error;
    for (auto _ : state)
    {
        CSurveyReport report({QStringLiteral("Bench"), QStringLiteral("bench_cli"), QString()});
        report.SetStandard(KVL::CExposureAssessment::Standard::Icnirp2010Public);
        if (!report.AddFile(RecordingPath(), f.settings, &error) ||
            !CReportPdfWriter::Write(report, f.dir.path() + "/report.pdf", &error))
            state.SkipWithError(qPrintable(error));
    }
    state.counters["pdf_kB"] = double(QFile(f.dir.path() + "/report.pdf").size()) / 1e3;
}

void BM_ConvertCsv(benchmark::State& state)
{
    Fixture f;
    RecordingPath();
    QString error;
    for (auto _ : state)
    {
        CRecordingFile file(f.settings);
        if (!CRecordingAnalysis::LoadAsCsv(file, RecordingPath(), f.dir.path() + "/map.csv", &error))
            state.SkipWithError("convert failed");
    }
    state.counters["csv_MB"] = double(QFile(f.dir.path() + "/map.csv").size()) / 1e6;
}

BENCHMARK(BM_ProgramLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Stats)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Exposure)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Report)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ConvertCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
