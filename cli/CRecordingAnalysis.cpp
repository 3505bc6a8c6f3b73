#include "cli/CRecordingAnalysis.h"

#include "cli/CRecordingSummary.h"
#include "compute/CExposureAssessment.h"
#include "compute/CExposureWindow.h"
#include "compute/FieldStatistics.h"
#include "compute/Spectrum.h"
#include "files/CCSVResultsSerializer.h"
#include "files/CHdf5ResultsFile.h"
#include "files/CRecordingFile.h"
#include "files/CXMLResultsSerializer.h"
#include "files/LimitsXmlFile.h"
#include "files/ResultsFileFormat.h"
#include "model/CMeasureBlockMapping.h"
#include "model/CNumberText.h"
#include "operations/CBandTable.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace
{
using KVL::Instrument::ZRQ5520Types::CFluxList;

const char* const ComponentNames[] = {"B", "B.B'", "Bx", "By", "Bz"};

QString tr(const char* text)
{
    return QCoreApplication::translate("CRecordingAnalysis", text);
}

void append(const CMeasureBlock& block, int index, CFluxList& series)
{
    for (const auto& sample : block.Results)
        series.push_back(sample->Quantity(index));
}

// A number JSON can hold: NaN and infinities become null.
QJsonValue number(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

QJsonObject statistics(const CRunningStatistics& series)
{
    QJsonObject result{{QStringLiteral("rms"), number(double(series.Rms()))},
                       {QStringLiteral("peakToPeak"), number(double(series.PeakToPeak()))},
                       {QStringLiteral("stdDev"), number(double(series.StdDev()))}};
    if (series.Count() > 0)
    {
        result.insert(QStringLiteral("min"), number(double(series.Min())));
        result.insert(QStringLiteral("max"), number(double(series.Max())));
    }
    return result;
}

QJsonObject statisticsOf(const CRecordingSummary::Figures& figures, bool bprime)
{
    QJsonObject result;
    for (int q = 0; q < CRecordingSummary::QuantityCount; ++q)
        if (q != 1 || bprime)
            result.insert(QString::fromLatin1(ComponentNames[q]), statistics(figures[std::size_t(q)]));
    return result;
}

QString unitOf(const CRecordingFile& file)
{
    const CMeasurementParameters* parameters = file.DataSet()->MeasurementParameters();
    return parameters ? CUnitsToQString(parameters->Units()) : QString();
}

double rateOf(const CRecordingFile& file)
{
    const CMeasurementParameters* parameters = file.DataSet()->MeasurementParameters();
    return parameters ? parameters->AcquisitionRate() : 0.0;
}

// The file's rate, when it is one a spectrum can be made at (positive and finite).
bool knownRate(const CRecordingFile& file, double& rate, QString* error)
{
    rate = rateOf(file);
    if (rate > 0 && std::isfinite(rate))
        return true;
    *error = tr("the acquisition rate of the file (%1 Hz) is not a positive number: "
                "no frequency can be told")
                 .arg(rate);
    return false;
}

const CMeasureBlock* blockAt(const CRecordingFile& file, int index, int* resolved, QString* error)
{
    const int count = int(file.Blocks().size());
    const int at = index < 0 ? count + index : index;
    if (at < 0 || at >= count)
    {
        if (error)
            *error = count == 0 ? tr("the file holds no block")
                                : tr("no block %1: the file holds blocks 0 to %2").arg(index).arg(count - 1);
        return nullptr;
    }
    *resolved = at;
    return file.Blocks()[std::size_t(at)];
}

QJsonObject position(const CPosition& at)
{
    return {{QStringLiteral("x"), at.X()}, {QStringLiteral("y"), at.Y()}, {QStringLiteral("z"), at.Z()}};
}
} // namespace

int CRecordingAnalysis::ComponentIndex(const QString& name)
{
    for (int q = 0; q < 5; ++q)
        if (name.compare(QLatin1String(ComponentNames[q]), Qt::CaseInsensitive) == 0)
            return q;
    if (name.compare(QLatin1String("BBprime"), Qt::CaseInsensitive) == 0)
        return 1;
    return -1;
}

QString CRecordingAnalysis::ComponentName(int index)
{
    return index >= 0 && index < 5 ? QString::fromLatin1(ComponentNames[index]) : QString();
}

QJsonObject CRecordingAnalysis::Info(const CRecordingFile& file, const CRecordingSummary& summary)
{
    const CDataset* set = file.DataSet();
    QJsonObject info{{QStringLiteral("kind"), file.KindName()},
                     {QStringLiteral("instrument"), set->InstrumentName()},
                     {QStringLiteral("date"), set->Date()},
                     {QStringLiteral("unit"), unitOf(file)},
                     {QStringLiteral("acquisitionRate"), number(rateOf(file))},
                     {QStringLiteral("blocks"), double(summary.BlockCount())},
                     {QStringLiteral("samples"), double(file.SampleCount())},
                     {QStringLiteral("comment"), set->Comment()}};
    if (summary.HasSamples())
    {
        // Whole seconds from the date and time, the rest from the nanoseconds.
        const auto seconds = [](const QDateTime& t) {
            const qint64 ms = t.toMSecsSinceEpoch();
            const qint64 whole = ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
            return double(whole);
        };
        const double span = seconds(summary.LastTime()) - seconds(summary.FirstTime()) +
                            (double(summary.LastNanoseconds()) - double(summary.FirstNanoseconds())) * 1e-9;
        info.insert(QStringLiteral("start"),
                    CMeasureBlock::FormatTimestamp(summary.FirstTime(), summary.FirstNanoseconds()));
        info.insert(QStringLiteral("end"),
                    CMeasureBlock::FormatTimestamp(summary.LastTime(), summary.LastNanoseconds()));
        info.insert(QStringLiteral("timeSpan"), span);
    }
    // What the timestamps say of the rate, and whether it is the one the file states.
    const double fromTimes = summary.TimestampRate();
    if (std::isfinite(fromTimes))
    {
        info.insert(QStringLiteral("timestampRate"), fromTimes);
        const double rate = rateOf(file);
        if (!(std::abs(fromTimes / rate - 1) <= 0.05))
            info.insert(
                QStringLiteral("rateNote"),
                tr("the file states %1 Hz, its timestamps %2 Hz").arg(rate).arg(fromTimes, 0, 'g', 6));
    }
    return info;
}

QJsonObject CRecordingAnalysis::Stats(const CRecordingFile& file, const CRecordingSummary& summary)
{
    const bool bprime = summary.HasBprime();
    QJsonObject stats{{QStringLiteral("unit"), unitOf(file)},
                      {QStringLiteral("samples"), double(file.SampleCount())},
                      {QStringLiteral("all"), statisticsOf(summary.All(), bprime)}};
    if (!summary.Blocks().empty())
    {
        QJsonArray blocks;
        for (std::size_t i = 0; i < summary.Blocks().size(); ++i)
        {
            const CRecordingSummary::Block& each = summary.Blocks()[i];
            QJsonObject block = statisticsOf(each.figures, bprime);
            block.insert(QStringLiteral("block"), double(i));
            if (each.mapped)
                block.insert(QStringLiteral("position"), position(each.position));
            blocks.append(block);
        }
        stats.insert(QStringLiteral("blocks"), blocks);
    }
    return stats;
}

bool CRecordingAnalysis::LoadSummary(CRecordingFile& file, const QString& path, CRecordingSummary& summary,
                                     QString* error)
{
    const bool loaded = file.Load(path, [&summary](const QSharedPointer<CMeasureBlock>& block) {
        summary.Add(*block);
        // Summed up: a recording larger than memory passes through.
        block->Results = {};
    });
    if (!loaded)
        *error = file.ErrorText();
    return loaded;
}

QJsonObject CRecordingAnalysis::Spectrum(const CRecordingFile& file, const QString& component, int block,
                                         double thresholdDb, QString* error)
{
    const int q = ComponentIndex(component);
    if (q < 0)
    {
        *error = tr("unknown component %1: B, B.B', Bx, By or Bz").arg(component);
        return {};
    }
    int at = 0;
    const CMeasureBlock* chosen = blockAt(file, block, &at, error);
    if (!chosen)
        return {};
    double rate = 0;
    if (!knownRate(file, rate, error))
        return {};
    CFluxList series, spectrum;
    append(*chosen, q, series);
    if (!KVL::ComputeSpectrum(series, spectrum))
    {
        *error = tr("block %1 has no spectrum (%2 samples at %3 Hz)").arg(at).arg(series.size()).arg(rate);
        return {};
    }
    // The bins of a block are its own length apart.
    const double binWidth = rate / double(series.size());
    std::vector<float> frequencies, amplitudes;
    KVL::ComputeSpectralPeaksFrom(spectrum, float(binWidth), float(thresholdDb), 0.0, frequencies,
                                  amplitudes);
    QJsonArray list;
    for (std::size_t i = 0; i < frequencies.size(); ++i)
        list.append(QJsonObject{{QStringLiteral("frequency"), number(double(frequencies[i]))},
                                {QStringLiteral("amplitude"), number(double(amplitudes[i]))}});
    return {{QStringLiteral("component"), ComponentName(q)}, {QStringLiteral("block"), at},
            {QStringLiteral("unit"), unitOf(file)},          {QStringLiteral("binWidth"), binWidth},
            {QStringLiteral("thresholdDb"), thresholdDb},    {QStringLiteral("peaks"), list}};
}

namespace
{
// The limits in the unit of the file's results: a standard's curve, or a limits
// file (itself a standard's when it follows one). False when the unit is not a field's.
bool configure(KVL::CExposureAssessment& assessment, const CRecordingFile& file,
               KVL::CExposureAssessment::Standard standard, const LimitsXmlFile* limits, QString* error)
{
    const CMeasurementParameters* parameters = file.DataSet()->MeasurementParameters();
    const double teslaToUnit = KVL::TeslaToUnit(parameters ? parameters->Units() : CUnits::UnitType::TESLA);
    if (!std::isfinite(teslaToUnit))
    {
        *error = tr("the results are in %1, not a unit of the field").arg(unitOf(file));
        return false;
    }
    if (standard != KVL::CExposureAssessment::Standard::None)
        assessment.SetStandard(standard, teslaToUnit);
    else if (limits)
        assessment.SetLimits(limits->ExposureSteps(), teslaToUnit);
    return true;
}
} // namespace

QJsonObject CRecordingAnalysis::Exposure(const CRecordingFile& file,
                                         KVL::CExposureAssessment::Standard standard,
                                         const LimitsXmlFile* limits, bool perBlock, QString* error)
{
    ExposureRun run(standard, perBlock);
    run.Start(file, limits);
    for (const CMeasureBlock* block : file.Blocks())
        run.Add(*block);
    return run.Finish(file, error);
}

CRecordingAnalysis::ExposureRun::ExposureRun(KVL::CExposureAssessment::Standard standard, bool perBlock)
    : m_Standard(standard), m_PerBlock(perBlock), m_Window(2)
{
}

void CRecordingAnalysis::ExposureRun::Start(const CRecordingFile& file, const LimitsXmlFile* limits)
{
    m_Started = true;
    m_Ready =
        configure(m_Assessment, file, m_Standard, limits, &m_Error) && knownRate(file, m_Rate, &m_Error);
}

void CRecordingAnalysis::ExposureRun::l_Assess(int index)
{
    KVL::CExposureAssessment::Result result;
    m_Window.Assess(m_Assessment, result);
    if (std::isfinite(result.Summation) &&
        (m_LargestSummation < 0 || result.Summation > m_AtSummation.Summation))
    {
        m_LargestSummation = index;
        m_AtSummation = result;
    }
    if (std::isfinite(result.WeightedPeak) &&
        (m_LargestPeak < 0 || result.WeightedPeak > m_AtPeak.WeightedPeak))
    {
        m_LargestPeak = index;
        m_AtPeak = result;
    }
    if (m_PerBlock)
    {
        QJsonObject entry{{QStringLiteral("block"), index},
                          {QStringLiteral("summation"), number(result.Summation)},
                          {QStringLiteral("dominantFrequency"), number(result.DominantFrequency)}};
        if (m_Assessment.GetStandard() != KVL::CExposureAssessment::Standard::None)
            entry.insert(QStringLiteral("weightedPeak"), number(result.WeightedPeak));
        m_Blocks.append(entry);
    }
}

void CRecordingAnalysis::ExposureRun::Add(const CMeasureBlock& block)
{
    const int index = m_Count++;
    if (!m_Ready)
        return;
    m_AnyFinite =
        m_AnyFinite || std::any_of(block.Results.begin(), block.Results.end(), [](const auto& sample) {
            return std::isfinite(sample->Bx()) && std::isfinite(sample->By()) && std::isfinite(sample->Bz());
        });
    // As the pages do: about the last second ending with each block, assessed after each
    // half of it, which sees every sample unweighted by the taper (every block with `perBlock`).
    const bool due = m_Window.Append(block, m_Rate);
    m_Pending = !due && !m_PerBlock;
    if (!m_Pending)
        l_Assess(index);
}

QJsonObject CRecordingAnalysis::ExposureRun::Finish(const CRecordingFile& file, QString* error)
{
    if (!m_Ready)
    {
        *error = m_Started ? m_Error : tr("the file holds no block");
        return {};
    }
    if (m_Count == 0)
    {
        *error = tr("the file holds no block");
        return {};
    }
    // The recording's last stretch is assessed too, however short the recording.
    if (m_Pending)
        l_Assess(m_Count - 1);
    if (m_LargestSummation < 0)
    {
        *error = m_AnyFinite ? tr("no stretch can be assessed (each needs 4 samples or more in a row)")
                             : tr("no sample of the file is a number: nothing can be assessed");
        return {};
    }
    const bool weighted = m_Assessment.GetStandard() != KVL::CExposureAssessment::Standard::None;
    const QString name =
        weighted ? KVL::CExposureAssessment::StandardName(m_Assessment.GetStandard()) : tr("limits file");
    QJsonObject exposure{
        {QStringLiteral("limits"), name},
        {QStringLiteral("standard"),
         QString::fromLatin1(KVL::CExposureAssessment::Key(m_Assessment.GetStandard()))},
        {QStringLiteral("unit"), unitOf(file)},
        {QStringLiteral("blocks"), m_Count},
        {QStringLiteral("summation"),
         QJsonObject{{QStringLiteral("max"), number(m_AtSummation.Summation)},
                     {QStringLiteral("block"), m_LargestSummation},
                     {QStringLiteral("dominantFrequency"), number(m_AtSummation.DominantFrequency)}}}};
    if (weighted && m_LargestPeak >= 0)
        exposure.insert(QStringLiteral("weightedPeak"),
                        QJsonObject{{QStringLiteral("max"), number(m_AtPeak.WeightedPeak)},
                                    {QStringLiteral("block"), m_LargestPeak}});
    if (m_PerBlock)
        exposure.insert(QStringLiteral("perBlock"), m_Blocks);
    return exposure;
}

bool CRecordingAnalysis::LoadKeeping(CRecordingFile& file, const QString& path, int block, QString* error)
{
    // The samples of the block asked for stay; the others go once read. A block counted
    // from the end is not known until the end: the last ones are kept as they come.
    std::deque<QSharedPointer<CMeasureBlock>> newest;
    int index = 0;
    const bool loaded = file.Load(path, [&](const QSharedPointer<CMeasureBlock>& read) {
        const int at = index++;
        if (block >= 0)
        {
            if (at != block)
                read->Results = {};
            return;
        }
        newest.push_back(read);
        if (int(newest.size()) > -block)
        {
            newest.front()->Results = {};
            newest.pop_front();
        }
    });
    if (!loaded)
        *error = file.ErrorText();
    return loaded;
}

QJsonObject CRecordingAnalysis::Ac(const CRecordingFile& file, const LimitsXmlFile& limits, int block,
                                   QString* error)
{
    int at = 0;
    const CMeasureBlock* chosen = blockAt(file, block, &at, error);
    if (!chosen)
        return {};
    // Limits in counts or an unknown unit would pass for tesla: refused, as the exposure is.
    KVL::CExposureAssessment assessment;
    double rate = 0;
    if (!configure(assessment, file, KVL::CExposureAssessment::Standard::None, &limits, error) ||
        !knownRate(file, rate, error))
        return {};
    CBandTable table(&limits);
    if (!table.Compute(chosen, rate, 0, error))
        return {};
    QJsonArray bands;
    for (int row = 0; row < table.Bands(); ++row)
    {
        QJsonObject band{{QStringLiteral("band"), table.BandText(row)},
                         {QStringLiteral("limit"), number(table.ExposureLimit(row))}};
        for (int q = 0; q < 5; ++q)
            band.insert(ComponentName(q), number(double(table.Figure(q, row))));
        bands.append(band);
    }
    // The exposure of the same block, as the AC analysis page shows it beside the table.
    KVL::CExposureAssessment::Result exposure;
    KVL::CExposureWindow window;
    for (int i = 0; i <= at; ++i)
        window.Append(*file.Blocks()[std::size_t(i)], rate);
    window.Assess(assessment, exposure);
    return {{QStringLiteral("block"), at},
            {QStringLiteral("figure"), QStringLiteral("RMS")},
            {QStringLiteral("unit"), unitOf(file)},
            {QStringLiteral("bands"), bands},
            {QStringLiteral("summationIndex"), number(exposure.Summation)},
            {QStringLiteral("weightedPeakIndex"), number(exposure.WeightedPeak)}};
}

bool CRecordingAnalysis::LoadAsHdf5(CRecordingFile& file, const QString& path, const QString& outPath,
                                    QString* error)
{
    CHdf5ResultsFile::Writer writer;
    bool begun = false, writing = true;
    QString failure;
    const bool loaded = file.Load(path, [&](const QSharedPointer<CMeasureBlock>& block) {
        // The data set's header values come before its first block.
        if (!begun)
            writing = writer.Begin(outPath, *file.DataSet(), file.FileKind() == CRecordingFile::Kind::Mapping,
                                   &failure);
        begun = true;
        writing = writing && writer.Add(*block);
        // Written: a file larger than memory passes through.
        block->Results = {};
    });
    if (!loaded)
    {
        *error = file.ErrorText();
        return false;
    }
    if (!begun)
    {
        *error = path + QStringLiteral(": ") + tr("the file holds no block");
        return false;
    }
    if (!writing || !writer.End(&failure))
    {
        *error = failure.isEmpty() ? tr("cannot write %1").arg(outPath) : failure;
        return false;
    }
    return true;
}

bool CRecordingAnalysis::LoadAsXml(CRecordingFile& file, const QString& path, const QString& outPath,
                                   QString* error)
{
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly))
    {
        *error = tr("cannot write %1: %2").arg(outPath, out.errorString());
        return false;
    }
    bool begun = false, writing = true;
    QByteArray rows;
    const bool loaded = file.Load(path, [&](const QSharedPointer<CMeasureBlock>& block) {
        // The data set's header values come before its first block.
        if (!begun)
            writing = out.write(file.Mapping() ? CXMLResultsSerializer::Head(file.Mapping())
                                               : CXMLResultsSerializer::Head(file.Measurement())) >= 0;
        begun = true;
        rows.resize(0);
        block->AppendRows(rows, ResultsFileFormat::ColumnSeparatorBytes());
        writing = writing && CXMLResultsSerializer::WriteBlock(out, *block, rows);
        // Written: a file larger than memory passes through.
        block->Results = {};
    });
    if (!loaded || !begun || !writing || out.write(CXMLResultsSerializer::Tail()) < 0 || !out.commit())
    {
        out.cancelWriting();
        *error = !loaded  ? file.ErrorText()
                 : !begun ? path + QStringLiteral(": ") + tr("the file holds no block")
                          : tr("cannot write %1: %2").arg(outPath, out.errorString());
        return false;
    }
    return true;
}

bool CRecordingAnalysis::LoadAsJson(CRecordingFile& file, const QString& path, const QString& outPath,
                                    QString* error)
{
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly))
    {
        *error = tr("cannot write %1: %2").arg(outPath, out.errorString());
        return false;
    }
    // The blocks are written as they are read, then what the whole file tells (its
    // summary) after them: one JSON object either way.
    CRecordingSummary summary;
    bool writing = out.write("{\n    \"blockList\": [") >= 0;
    const bool loaded = file.Load(path, [&](const QSharedPointer<CMeasureBlock>& read) {
        const CMeasureBlock& block = *read;
        QJsonArray samples;
        for (const auto& sample : block.Results)
            samples.append(
                QJsonObject{{QStringLiteral("timestamp"),
                             CMeasureBlock::FormatTimestamp(sample->Timestamp, sample->TimestampNanosecond)},
                            {QStringLiteral("B"), number(double(sample->B()))},
                            {QStringLiteral("B.B'"), number(double(sample->BBprime()))},
                            {QStringLiteral("Bx"), number(double(sample->Bx()))},
                            {QStringLiteral("By"), number(double(sample->By()))},
                            {QStringLiteral("Bz"), number(double(sample->Bz()))},
                            {QStringLiteral("temperature"), double(sample->Temperature())},
                            {QStringLiteral("dB"), number(double(sample->dB()))}});
        QJsonObject object{{QStringLiteral("block"), double(summary.BlockCount())},
                           {QStringLiteral("comment"), block.Comment()},
                           {QStringLiteral("samples"), samples}};
        if (const auto* mapping = dynamic_cast<const CMeasureBlockMapping*>(&block))
        {
            object.insert(QStringLiteral("position"), position(mapping->Position));
            object.insert(QStringLiteral("orientation"),
                          QJsonObject{{QStringLiteral("roll"), mapping->Orientation.Roll()},
                                      {QStringLiteral("pitch"), mapping->Orientation.Pitch()},
                                      {QStringLiteral("yaw"), mapping->Orientation.Yaw()}});
        }
        // Indented as a member of the list.
        QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented).trimmed();
        text.replace("\n", "\n        ");
        writing =
            writing && out.write((summary.BlockCount() == 0 ? "\n        " : ",\n        ") + text) >= 0;
        summary.Add(block);
        // Written: a file larger than memory passes through.
        read->Results = {};
    });
    if (!loaded)
    {
        out.cancelWriting();
        *error = file.ErrorText();
        return false;
    }
    writing = writing && out.write(summary.BlockCount() == 0 ? "]" : "\n    ]") >= 0;
    const QJsonObject info = Info(file, summary);
    for (auto it = info.begin(); it != info.end(); ++it)
    {
        // Each member as the document writer writes it, without its braces.
        const QByteArray member =
            QJsonDocument(QJsonObject{{it.key(), it.value()}}).toJson(QJsonDocument::Indented).trimmed();
        writing =
            writing && out.write(",\n" + member.mid(1, member.size() - 2).trimmed().prepend("    ")) >= 0;
    }
    if (!writing || out.write("\n}\n") < 0 || !out.commit())
    {
        out.cancelWriting();
        *error = tr("cannot write %1: %2").arg(outPath, out.errorString());
        return false;
    }
    return true;
}

bool CRecordingAnalysis::LoadAsCsv(CRecordingFile& file, const QString& path, const QString& outPath,
                                   QString* error)
{
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly))
    {
        *error = tr("cannot write %1: %2").arg(outPath, out.errorString());
        return false;
    }
    CCSVResultsSerializer csv;
    const QByteArray separator = ResultsFileFormat::ColumnSeparatorBytes();
    // Blocks read, waiting for the writer; the reader goes on meanwhile.
    std::mutex mutex;
    std::condition_variable arrived;
    // Shared: a load that fails drops its data set while the writer may still hold blocks.
    std::deque<QSharedPointer<CMeasureBlock>> queue;
    // Samples waiting: the reader waits while the writer is this far behind, so a slow
    // output never holds the whole file in memory.
    constexpr qint64 MaxQueuedSamples = 1 << 20;
    qint64 queuedSamples = 0;
    std::condition_variable taken;
    bool finished = false;
    bool begun = false;
    std::thread writer([&] {
        QByteArray rows;
        for (;;)
        {
            QSharedPointer<CMeasureBlock> block;
            {
                std::unique_lock<std::mutex> lock(mutex);
                arrived.wait(lock, [&] { return finished || !queue.empty(); });
                if (queue.empty())
                    return;
                block = queue.front();
                queue.pop_front();
                queuedSamples -= block->Results.size();
            }
            taken.notify_one();
            rows.clear();
            block->AppendRows(rows, separator);
            csv.Add(*block, rows);
            // Nothing reads them again: the reader's next blocks reuse their memory.
            block->Results = {};
        }
    });
    const bool loaded = file.Load(path, [&](const QSharedPointer<CMeasureBlock>& block) {
        std::unique_lock<std::mutex> lock(mutex);
        if (!begun)
        {
            // The data set's header values come before its first block.
            csv.Begin(file.DataSet(), file.FileKind() == CRecordingFile::Kind::Mapping, &out);
            begun = true;
        }
        taken.wait(lock, [&] { return queue.empty() || queuedSamples < MaxQueuedSamples; });
        queuedSamples += block->Results.size();
        queue.push_back(block);
        arrived.notify_one();
    });
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        arrived.notify_one();
    }
    writer.join();
    if (!loaded)
    {
        out.cancelWriting();
        *error = file.ErrorText();
        return false;
    }
    if (!begun)
    {
        out.cancelWriting();
        *error = path + QStringLiteral(": ") + tr("the file holds no block");
        return false;
    }
    if (!csv.End() || !out.commit())
    {
        out.cancelWriting();
        *error = tr("cannot write %1: %2").arg(outPath, out.errorString());
        return false;
    }
    return true;
}
