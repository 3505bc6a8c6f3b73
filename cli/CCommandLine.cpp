#include "cli/CCommandLine.h"

#include "app/CSettings.h"
#include "cli/CMeasureCommand.h"
#include "cli/CRecordingAnalysis.h"
#include "cli/CRecordingSummary.h"
#include "files/CRecordingFile.h"
#include "files/LimitsXmlFile.h"
#include "report/CReportPdfWriter.h"
#include "report/CSurveyReport.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <unistd.h>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CCommandLine", text);
}

const QCommandLineOption& JsonOption()
{
    static const QCommandLineOption json(QStringLiteral("json"),
                                         QStringLiteral("Output for machines (JSON)."));
    return json;
}

QString number(const QJsonValue& value, int precision = 6)
{
    return value.isDouble() ? QString::number(value.toDouble(), 'g', precision) : QStringLiteral("-");
}

// An integer option: false when it is given and is not a whole number.
bool integerOption(const QCommandLineParser& parser, const QString& name, int& value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    value = parser.value(name).toInt(&ok);
    return ok;
}

bool numberOption(const QCommandLineParser& parser, const QString& name, double& value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    value = parser.value(name).toDouble(&ok);
    return ok && std::isfinite(value);
}
// The limits file's text read into `limits`, in the unit of `file`'s results.
void limitsFor(const CRecordingFile& file, const QByteArray& text, LimitsXmlFile& limits)
{
    const CMeasurementParameters* parameters = file.DataSet()->MeasurementParameters();
    limits.SetUnit(parameters ? parameters->Units() : CUnits::UnitType::TESLA);
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    limits.ParseDevice(&buffer);
}
} // namespace

CCommandLine::CCommandLine(const QString& programFolder, QTextStream& out, QTextStream& err)
    : m_ProgramFolder(programFolder), m_Out(out), m_Err(err)
{
}

QString CCommandLine::l_Usage() const
{
    return tr("Usage: tesvana-cli COMMAND [OPTIONS]\n"
              "\n"
              "Commands:\n"
              "  list       the instruments found by the driver plug-ins\n"
              "  measure    record from an instrument and save the results file\n"
              "  info       what a results file holds\n"
              "  stats      RMS, peak-to-peak, standard deviation, minimum and maximum\n"
              "  spectrum   the spectral peaks of a block\n"
              "  ac         the band table and the exposure indices of a block against a limits file\n"
              "  exposure   the summation and weighted peak indices of every block against a standard\n"
              "  convert    the results as CSV or JSON\n"
              "  report     an exposure survey report (PDF) of recordings against a standard\n"
              "\n"
              "Every command takes --help and --json; a folder may be given for a file.\n"
              "Exit status: 0 success, 1 a file or the instrument failed, 2 bad usage.\n");
}

int CCommandLine::Run(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return l_UsageError(tr("no command given (tesvana-cli --help lists them)"));
    const QString& command = arguments.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help"))
    {
        m_Out << l_Usage();
        return Success;
    }
    if (command == QLatin1String("list"))
        return l_List(arguments);
    if (command == QLatin1String("measure"))
        return l_Measure(arguments);
    if (command == QLatin1String("info"))
        return l_Info(arguments);
    if (command == QLatin1String("stats"))
        return l_Stats(arguments);
    if (command == QLatin1String("spectrum"))
        return l_Spectrum(arguments);
    if (command == QLatin1String("ac"))
        return l_Ac(arguments);
    if (command == QLatin1String("exposure"))
        return l_Exposure(arguments);
    if (command == QLatin1String("convert"))
        return l_Convert(arguments);
    if (command == QLatin1String("report"))
        return l_Report(arguments);
    return l_UsageError(tr("unknown command %1 (tesvana-cli --help lists them)").arg(command));
}

int CCommandLine::l_Parse(QCommandLineParser& parser, const QStringList& arguments, const QString& command,
                          const QString& synopsis, const QString& description)
{
    parser.setApplicationDescription(description);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, tr("This help."));
    parser.addOption(help);
    parser.addOption(JsonOption());
    if (!parser.parse(arguments))
        return l_UsageError(command + QStringLiteral(": ") + parser.errorText());
    if (parser.isSet(help))
    {
        // The parser's own help names the program, not the command: the synopsis says it.
        QString text = parser.helpText();
        text.replace(QRegularExpression(QStringLiteral("^Usage: [^\n]*")),
                     QStringLiteral("Usage: tesvana-cli ") + command + QLatin1Char(' ') + synopsis);
        m_Out << text;
        return Success;
    }
    return -1;
}

int CCommandLine::l_Limits(const QCommandLineParser& parser, const QString& command,
                           KVL::CExposureAssessment::Standard& standard, QByteArray& limitsText)
{
    const bool byStandard = parser.isSet(QStringLiteral("standard"));
    if (byStandard == parser.isSet(QStringLiteral("limits")))
        return l_UsageError(tr("%1: give either --standard NAME or --limits FILE").arg(command));
    standard = KVL::CExposureAssessment::Standard::None;
    if (!byStandard)
        return l_ReadLimits(parser.value(QStringLiteral("limits")), limitsText) ? -1 : Failed;
    standard =
        KVL::CExposureAssessment::FromKey(parser.value(QStringLiteral("standard")).toLatin1().constData());
    if (standard == KVL::CExposureAssessment::Standard::None)
        return l_UsageError(
            tr("%1: --standard takes icnirp2010-public or icnirp2010-occupational").arg(command));
    return -1;
}

bool CCommandLine::l_ReadLimits(const QString& path, QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        l_Error(tr("cannot open %1: %2").arg(path, file.errorString()));
        return false;
    }
    text = file.readAll();
    LimitsXmlFile check(nullptr);
    // Any field unit: only whether the file gives limits of a field is checked here.
    check.SetUnit(CUnits::UnitType::TESLA);
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    QString reason;
    if (check.ParseDevice(&buffer, &reason) != LimitsXmlFile::ParseResult::Ok || check.Limits().isEmpty())
    {
        l_Error(tr("%1 is not a limits file the program can use%2")
                    .arg(path, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
        return false;
    }
    return true;
}

int CCommandLine::l_UsageError(const QString& message)
{
    l_Error(message);
    return Usage;
}

void CCommandLine::l_Error(const QString& message)
{
    m_Err << "tesvana-cli: " << message << '\n';
    m_Err.flush();
}

void CCommandLine::l_PrintJson(const QJsonValue& value)
{
    const QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    m_Out << document.toJson(QJsonDocument::Indented);
}

QStringList CCommandLine::l_Files(const QStringList& inputs)
{
    QStringList files;
    for (const QString& input : inputs)
    {
        const QFileInfo info(input);
        if (info.isDir())
        {
            const QStringList names =
                QDir(input).entryList({QStringLiteral("*.xml"), QStringLiteral("*.XML"),
                                       QStringLiteral("*.h5"), QStringLiteral("*.hdf5")},
                                      QDir::Files, QDir::Name);
            for (const QString& name : names)
                files << QDir(input).filePath(name);
        }
        else
            files << input;
    }
    return files;
}

int CCommandLine::l_ForEachFile(const QStringList& inputs, bool json, const FileAction& action,
                                const std::function<void(const QJsonObject&)>& print, const FileLoader& load)
{
    const QStringList files = l_Files(inputs);
    if (files.isEmpty())
    {
        l_Error(tr("no results file (*.xml, *.h5) in the folders given"));
        return Failed;
    }
    // Several files, or a folder: each result says its file.
    const bool many = files.size() > 1 || QFileInfo(inputs.first()).isDir();
    // Data sets need settings: the defaults, in a folder of their own, never the window's.
    QTemporaryDir folder;
    CSettings settings(m_ProgramFolder, nullptr, folder.path());
    int status = Success;
    QJsonArray results;
    for (const QString& path : files)
    {
        QJsonObject result;
        QString error;
        CRecordingFile file(settings);
        bool done = load ? load(file, path, &error) : file.Load(path);
        if (!done && !load)
            error = file.ErrorText();
        if (done && !file.Notice().isEmpty())
        {
            l_Error(path + QStringLiteral(": ") + file.Notice());
            result.insert(QStringLiteral("warning"), file.Notice());
        }
        if (done && !(done = action(file, result, &error)))
            error = path + QStringLiteral(": ") + error;
        if (!done)
        {
            status = Failed;
            l_Error(error);
            result = {{QStringLiteral("error"), error}};
        }
        result.insert(QStringLiteral("file"), path);
        if (json)
            results.append(result);
        else if (done)
        {
            if (many)
                m_Out << path << ":\n";
            print(result);
            if (many)
                m_Out << '\n';
        }
        m_Out.flush();
    }
    if (json)
        l_PrintJson(many ? QJsonValue(results) : QJsonValue(results.first()));
    return status;
}

int CCommandLine::l_List(const QStringList& arguments)
{
    QCommandLineParser parser;
    const int parsed = l_Parse(parser, arguments, QStringLiteral("list"), QString(),
                               tr("The instruments found by the loaded driver plug-ins."));
    if (parsed >= 0)
        return parsed;
    if (!parser.positionalArguments().isEmpty())
        return l_UsageError(
            tr("list: unexpected argument %1").arg(parser.positionalArguments().constFirst()));
    QList<QJsonObject> instruments;
    QString error;
    if (!CMeasureCommand(m_ProgramFolder).List(instruments, &error))
    {
        l_Error(error);
        return Failed;
    }
    if (parser.isSet(JsonOption()))
    {
        QJsonArray list;
        for (const QJsonObject& instrument : qAsConst(instruments))
            list.append(instrument);
        l_PrintJson(list);
        return Success;
    }
    if (instruments.isEmpty())
        m_Out << tr("No instrument found.") << '\n';
    for (const QJsonObject& instrument : qAsConst(instruments))
        m_Out << instrument.value(QStringLiteral("model")).toString() << "  " << tr("serial number") << ' '
              << instrument.value(QStringLiteral("serialNumber")).toString() << "  " << tr("on") << ' '
              << instrument.value(QStringLiteral("connection")).toString() << '\n';
    return Success;
}

int CCommandLine::l_Measure(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addOptions({
        {QStringLiteral("instrument"), tr("Serial number of the instrument (see list)."),
         QStringLiteral("SERIAL")},
        {QStringLiteral("unit"), tr("Unit of the results: T, mT, uT, nT, G, kG, mG, A/m, kA/m, mA/m."),
         QStringLiteral("UNIT")},
        {QStringLiteral("rate"), tr("Acquisition rate in Hz."), QStringLiteral("HZ")},
        {QStringLiteral("block"), tr("Samples per block."), QStringLiteral("N")},
        {QStringLiteral("trigger"), tr("continuous (default), timer or immediate."), QStringLiteral("MODE")},
        {QStringLiteral("duration"), tr("Seconds to record."), QStringLiteral("S")},
        {QStringLiteral("blocks"), tr("Blocks to record."), QStringLiteral("N")},
        {QStringLiteral("limits"), tr("Limits file of the measurement."), QStringLiteral("FILE")},
        {QStringLiteral("out"), tr("Results file to write (XML)."), QStringLiteral("FILE.xml")},
        {QStringLiteral("csv"), tr("Also write the results as CSV."), QStringLiteral("FILE.csv")},
    });
    const int parsed = l_Parse(parser, arguments, QStringLiteral("measure"),
                               QStringLiteral("--instrument SERIAL --out FILE.xml [OPTIONS]"),
                               tr("Records from an instrument until the duration or the number of blocks is "
                                  "reached, or Ctrl+C, and saves what was measured."));
    if (parsed >= 0)
        return parsed;
    CMeasureCommand::Options options;
    options.serial = parser.value(QStringLiteral("instrument"));
    options.out = parser.value(QStringLiteral("out"));
    options.csv = parser.value(QStringLiteral("csv"));
    options.limits = parser.value(QStringLiteral("limits"));
    options.json = parser.isSet(JsonOption());
    if (options.serial.isEmpty())
        return l_UsageError(tr("measure: --instrument SERIAL is required"));
    if (options.out.isEmpty())
        return l_UsageError(tr("measure: --out FILE.xml is required"));
    if (!parser.positionalArguments().isEmpty())
        return l_UsageError(
            tr("measure: unexpected argument %1").arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(QStringLiteral("unit")))
    {
        // "u" for the micro sign, which scripts seldom type.
        QString unit = parser.value(QStringLiteral("unit"));
        if (unit.startsWith(QLatin1Char('u')))
            unit.replace(0, 1, QChar(0x00B5));
        const CUnits::UnitType type = QStringToCUnits(unit);
        if (type == CUnits::UnitType::UNKNOWN || int(type) > int(CUnits::UnitType::MILLI_AMPERE_PER_METER))
            return l_UsageError(tr("measure: unknown unit %1").arg(parser.value(QStringLiteral("unit"))));
        options.unit = unit;
    }
    if (!numberOption(parser, QStringLiteral("rate"), options.rate) ||
        (parser.isSet(QStringLiteral("rate")) && !(options.rate > 0)))
        return l_UsageError(tr("measure: --rate takes a frequency above 0 Hz"));
    if (!integerOption(parser, QStringLiteral("block"), options.blockSize) ||
        (parser.isSet(QStringLiteral("block")) && options.blockSize < 1))
        return l_UsageError(tr("measure: --block takes a whole number of samples, at least 1"));
    if (parser.isSet(QStringLiteral("duration")) && parser.isSet(QStringLiteral("blocks")))
        return l_UsageError(tr("measure: give --duration or --blocks, not both"));
    if (!numberOption(parser, QStringLiteral("duration"), options.duration) ||
        (parser.isSet(QStringLiteral("duration")) && !(options.duration > 0)))
        return l_UsageError(tr("measure: --duration takes seconds above 0"));
    if (!integerOption(parser, QStringLiteral("blocks"), options.blocks) ||
        (parser.isSet(QStringLiteral("blocks")) && options.blocks < 1))
        return l_UsageError(tr("measure: --blocks takes a whole number, at least 1"));
    if (parser.isSet(QStringLiteral("trigger")))
    {
        options.trigger = parser.value(QStringLiteral("trigger"));
        if (options.trigger != QLatin1String("continuous") && options.trigger != QLatin1String("timer") &&
            options.trigger != QLatin1String("immediate"))
            return l_UsageError(tr("measure: --trigger takes continuous, timer or immediate"));
    }
    options.progress = !options.json && ::isatty(STDERR_FILENO);
    // Checked here, without the operation's dialog, so that a bad file is one line before any measuring.
    QByteArray limitsText;
    if (!options.limits.isEmpty() && !l_ReadLimits(options.limits, limitsText))
        return Failed;

    QJsonObject summary;
    QString error;
    const int status = CMeasureCommand(m_ProgramFolder).Measure(options, summary, &error);
    if (status != Success)
        l_Error(error);
    if (summary.isEmpty())
        return status;
    if (options.json)
        l_PrintJson(summary);
    else
        m_Out << tr("%1 blocks, %2 samples in %3 s%4: %5")
                     .arg(summary.value(QStringLiteral("blocks")).toInt())
                     .arg(number(summary.value(QStringLiteral("samples")), 12),
                          number(summary.value(QStringLiteral("seconds")), 4),
                          summary.value(QStringLiteral("interrupted")).toBool() ? tr(" (interrupted)")
                                                                                : QString(),
                          status == Success ? options.out : tr("not saved"))
              << '\n';
    return status;
}

int CCommandLine::l_Info(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), tr("Results files or folders of them."));
    const int parsed = l_Parse(parser, arguments, QStringLiteral("info"), QStringLiteral("FILE..."),
                               tr("Kind, instrument, date, units, blocks, samples, time span and comment."));
    if (parsed >= 0)
        return parsed;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return l_UsageError(tr("info: no file given"));
    // Summed up as each file is read: a recording larger than memory passes through.
    CRecordingSummary summary;
    const FileLoader summing = [&summary](CRecordingFile& file, const QString& path, QString* error) {
        summary = CRecordingSummary();
        return CRecordingAnalysis::LoadSummary(file, path, summary, error);
    };
    return l_ForEachFile(
        inputs, parser.isSet(JsonOption()),
        [&](const CRecordingFile& file, QJsonObject& result, QString*) {
            result = CRecordingAnalysis::Info(file, summary);
            return true;
        },
        [this](const QJsonObject& info) {
            const auto line = [this, &info](const char* label, const QString& key) {
                m_Out << QString::fromLatin1(label).leftJustified(14)
                      << info.value(key).toVariant().toString() << '\n';
            };
            line("kind", QStringLiteral("kind"));
            line("instrument", QStringLiteral("instrument"));
            line("date", QStringLiteral("date"));
            line("unit", QStringLiteral("unit"));
            m_Out << QStringLiteral("rate").leftJustified(14)
                  << number(info.value(QStringLiteral("acquisitionRate"))) << " Hz\n";
            if (info.contains(QStringLiteral("rateNote")))
                line("rate note", QStringLiteral("rateNote"));
            line("blocks", QStringLiteral("blocks"));
            line("samples", QStringLiteral("samples"));
            if (info.contains(QStringLiteral("timeSpan")))
            {
                line("start", QStringLiteral("start"));
                line("end", QStringLiteral("end"));
                m_Out << QStringLiteral("time span").leftJustified(14)
                      << number(info.value(QStringLiteral("timeSpan")), 10) << " s\n";
            }
            line("comment", QStringLiteral("comment"));
        },
        summing);
}

int CCommandLine::l_Stats(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), tr("Results files or folders of them."));
    const QCommandLineOption perBlock(QStringLiteral("per-block"), tr("Also the figures of each block."));
    parser.addOption(perBlock);
    const int parsed =
        l_Parse(parser, arguments, QStringLiteral("stats"), QStringLiteral("FILE... [--per-block]"),
                tr("RMS, peak-to-peak, standard deviation, minimum and maximum of B, Bx, By, Bz "
                   "(and B.B' where present)."));
    if (parsed >= 0)
        return parsed;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return l_UsageError(tr("stats: no file given"));
    const auto table = [this](const QJsonObject& figures, const QString& unit) {
        m_Out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                     .arg(QString(), -6)
                     .arg(QStringLiteral("RMS"), 13)
                     .arg(QStringLiteral("peak-to-peak"), 13)
                     .arg(QStringLiteral("std dev"), 13)
                     .arg(QStringLiteral("min"), 13)
                     .arg(QStringLiteral("max"), 13);
        for (int q = 0; q < 5; ++q)
        {
            const QString name = CRecordingAnalysis::ComponentName(q);
            if (!figures.contains(name))
                continue;
            const QJsonObject f = figures.value(name).toObject();
            m_Out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                         .arg(name, -6)
                         .arg(number(f.value(QStringLiteral("rms"))), 13)
                         .arg(number(f.value(QStringLiteral("peakToPeak"))), 13)
                         .arg(number(f.value(QStringLiteral("stdDev"))), 13)
                         .arg(number(f.value(QStringLiteral("min"))), 13)
                         .arg(number(f.value(QStringLiteral("max"))), 13)
                         .arg(unit);
        }
    };
    CRecordingSummary summary;
    const FileLoader summing = [&](CRecordingFile& file, const QString& path, QString* error) {
        summary = CRecordingSummary(parser.isSet(perBlock));
        return CRecordingAnalysis::LoadSummary(file, path, summary, error);
    };
    return l_ForEachFile(
        inputs, parser.isSet(JsonOption()),
        [&](const CRecordingFile& file, QJsonObject& result, QString*) {
            result = CRecordingAnalysis::Stats(file, summary);
            return true;
        },
        [&](const QJsonObject& stats) {
            const QString unit = stats.value(QStringLiteral("unit")).toString();
            m_Out << tr("%1 samples").arg(number(stats.value(QStringLiteral("samples")), 12)) << '\n';
            table(stats.value(QStringLiteral("all")).toObject(), unit);
            const QJsonArray blockRows = stats.value(QStringLiteral("blocks")).toArray();
            for (const QJsonValue& value : blockRows)
            {
                const QJsonObject block = value.toObject();
                m_Out << '\n' << tr("block %1").arg(block.value(QStringLiteral("block")).toInt());
                if (block.contains(QStringLiteral("position")))
                {
                    const QJsonObject p = block.value(QStringLiteral("position")).toObject();
                    m_Out << tr(" at X %1 Y %2 Z %3 mm")
                                 .arg(number(p.value(QStringLiteral("x"))),
                                      number(p.value(QStringLiteral("y"))),
                                      number(p.value(QStringLiteral("z"))));
                }
                m_Out << '\n';
                table(block, unit);
            }
        },
        summing);
}

int CCommandLine::l_Spectrum(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), tr("Results files or folders of them."));
    parser.addOptions({
        {QStringLiteral("component"), tr("B (default), B.B', Bx, By or Bz."), QStringLiteral("NAME")},
        {QStringLiteral("block"),
         tr("Block number from 0; negative counts from the end (default -1, the last)."),
         QStringLiteral("K")},
        {QStringLiteral("threshold"),
         tr("Peaks at least this many dB above their surroundings (default 10)."), QStringLiteral("DB")},
    });
    const int parsed = l_Parse(parser, arguments, QStringLiteral("spectrum"),
                               QStringLiteral("FILE... [--component Bx] [--block K] [--threshold DB]"),
                               tr("The spectral peaks of one quantity of a block."));
    if (parsed >= 0)
        return parsed;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return l_UsageError(tr("spectrum: no file given"));
    const QString component = parser.isSet(QStringLiteral("component"))
                                  ? parser.value(QStringLiteral("component"))
                                  : QStringLiteral("B");
    if (CRecordingAnalysis::ComponentIndex(component) < 0)
        return l_UsageError(tr("spectrum: unknown component %1: B, B.B', Bx, By or Bz").arg(component));
    int block = -1;
    double threshold = 10;
    if (!integerOption(parser, QStringLiteral("block"), block))
        return l_UsageError(tr("spectrum: --block takes a whole number"));
    if (!numberOption(parser, QStringLiteral("threshold"), threshold))
        return l_UsageError(tr("spectrum: --threshold takes a number of dB"));
    // Only the block analysed keeps its samples: a file larger than memory passes through.
    const FileLoader keeping = [&](CRecordingFile& file, const QString& path, QString* error) {
        return CRecordingAnalysis::LoadKeeping(file, path, block, error);
    };
    return l_ForEachFile(
        inputs, parser.isSet(JsonOption()),
        [&](const CRecordingFile& file, QJsonObject& result, QString* error) {
            result = CRecordingAnalysis::Spectrum(file, component, block, threshold, error);
            return !result.isEmpty();
        },
        [this](const QJsonObject& spectrum) {
            const QJsonArray peaks = spectrum.value(QStringLiteral("peaks")).toArray();
            m_Out << tr("%1 peaks of %2 in block %3 (bins %4 Hz apart, threshold %5 dB)")
                         .arg(peaks.size())
                         .arg(spectrum.value(QStringLiteral("component")).toString())
                         .arg(spectrum.value(QStringLiteral("block")).toInt())
                         .arg(number(spectrum.value(QStringLiteral("binWidth"))),
                              number(spectrum.value(QStringLiteral("thresholdDb"))))
                  << '\n';
            for (const QJsonValue& value : peaks)
            {
                const QJsonObject peak = value.toObject();
                m_Out << QStringLiteral("%1 Hz  %2 %3\n")
                             .arg(number(peak.value(QStringLiteral("frequency"))), 12)
                             .arg(number(peak.value(QStringLiteral("amplitude"))), 13)
                             .arg(spectrum.value(QStringLiteral("unit")).toString());
            }
        },
        keeping);
}

int CCommandLine::l_Ac(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), tr("Results files or folders of them."));
    parser.addOptions({
        {QStringLiteral("limits"), tr("Limits file (XML)."), QStringLiteral("FILE")},
        {QStringLiteral("block"),
         tr("Block number from 0; negative counts from the end (default -1, the last)."),
         QStringLiteral("K")},
    });
    const int parsed =
        l_Parse(parser, arguments, QStringLiteral("ac"), QStringLiteral("FILE... --limits FILE"),
                tr("The RMS of each quantity in each band of the limits file, and the exposure "
                   "index, of a block."));
    if (parsed >= 0)
        return parsed;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return l_UsageError(tr("ac: no file given"));
    const QString limitsPath = parser.value(QStringLiteral("limits"));
    if (limitsPath.isEmpty())
        return l_UsageError(tr("ac: --limits FILE is required"));
    int block = -1;
    if (!integerOption(parser, QStringLiteral("block"), block))
        return l_UsageError(tr("ac: --block takes a whole number"));
    QByteArray limitsText;
    if (!l_ReadLimits(limitsPath, limitsText))
        return Failed;
    const FileLoader keeping = [&](CRecordingFile& file, const QString& path, QString* error) {
        return CRecordingAnalysis::LoadKeeping(file, path, block, error);
    };
    return l_ForEachFile(
        inputs, parser.isSet(JsonOption()),
        [&](const CRecordingFile& file, QJsonObject& result, QString* error) {
            LimitsXmlFile limits(nullptr);
            limitsFor(file, limitsText, limits);
            result = CRecordingAnalysis::Ac(file, limits, block, error);
            return !result.isEmpty();
        },
        [this](const QJsonObject& ac) {
            const QString unit = ac.value(QStringLiteral("unit")).toString();
            m_Out << tr("RMS per band of block %1, in %2")
                         .arg(ac.value(QStringLiteral("block")).toInt())
                         .arg(unit)
                  << '\n';
            m_Out << QStringLiteral("%1").arg(tr("band [Hz]"), -18);
            for (int q = 0; q < 5; ++q)
                m_Out << QStringLiteral(" %1").arg(CRecordingAnalysis::ComponentName(q), 12);
            m_Out << QStringLiteral(" %1\n").arg(tr("limit"), 12);
            const QJsonArray bandRows = ac.value(QStringLiteral("bands")).toArray();
            for (const QJsonValue& value : bandRows)
            {
                const QJsonObject band = value.toObject();
                m_Out << QStringLiteral("%1").arg(band.value(QStringLiteral("band")).toString(), -18);
                for (int q = 0; q < 5; ++q)
                    m_Out << QStringLiteral(" %1").arg(
                        number(band.value(CRecordingAnalysis::ComponentName(q))), 12);
                m_Out << QStringLiteral(" %1\n").arg(number(band.value(QStringLiteral("limit"))), 12);
            }
            m_Out << tr("summation index") << ' ' << number(ac.value(QStringLiteral("summationIndex")), 4)
                  << '\n';
            if (ac.value(QStringLiteral("weightedPeakIndex")).isDouble())
                m_Out << tr("weighted peak index") << ' '
                      << number(ac.value(QStringLiteral("weightedPeakIndex")), 4) << '\n';
        },
        keeping);
}

int CCommandLine::l_Exposure(const QStringList& arguments)
{
    using Standard = KVL::CExposureAssessment::Standard;
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), tr("Results files or folders of them."));
    parser.addOptions({
        {QStringLiteral("standard"), tr("icnirp2010-public or icnirp2010-occupational."),
         QStringLiteral("NAME")},
        {QStringLiteral("limits"),
         tr("Limits file (XML): the summation index only, unless it is a standard's."),
         QStringLiteral("FILE")},
        {QStringLiteral("per-block"), tr("Every block's indices as well.")},
    });
    const int parsed = l_Parse(
        parser, arguments, QStringLiteral("exposure"),
        QStringLiteral(
            "FILE... --standard icnirp2010-public|icnirp2010-occupational | --limits FILE [--per-block]"),
        tr("The exposure indices of every block: the summation index (the RMS of the field vector at each "
           "frequency from 1 Hz over its reference level, summed) and, against a standard, the weighted peak "
           "index; the largest of each over the recording and the block where it occurs."));
    if (parsed >= 0)
        return parsed;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return l_UsageError(tr("exposure: no file given"));
    Standard standard = Standard::None;
    QByteArray limitsText;
    const int limitsStatus = l_Limits(parser, QStringLiteral("exposure"), standard, limitsText);
    if (limitsStatus >= 0)
        return limitsStatus;
    const bool byStandard = standard != Standard::None;
    const bool perBlock = parser.isSet(QStringLiteral("per-block"));
    // Assessed a block at a time as each file is read: a file larger than memory passes through.
    QJsonObject assessed;
    QString failure;
    const FileLoader assessing = [&](CRecordingFile& file, const QString& path, QString* error) {
        CRecordingAnalysis::ExposureRun run(standard, perBlock);
        LimitsXmlFile limits(nullptr);
        // The file's parameters (its unit, its rate) are in by its first block.
        const auto start = [&] {
            if (!byStandard)
                limitsFor(file, limitsText, limits);
            run.Start(file, &limits);
        };
        const bool loaded = file.Load(path, [&](const QSharedPointer<CMeasureBlock>& block) {
            if (!run.Started())
                start();
            run.Add(*block);
            block->Results = {};
        });
        if (!loaded)
        {
            *error = file.ErrorText();
            return false;
        }
        if (!run.Started())
            start();
        failure.clear();
        assessed = run.Finish(file, &failure);
        return true;
    };
    return l_ForEachFile(
        inputs, parser.isSet(JsonOption()),
        [&](const CRecordingFile&, QJsonObject& result, QString* error) {
            result = assessed;
            *error = failure;
            return !result.isEmpty();
        },
        [this](const QJsonObject& exposure) {
            const QJsonObject summation = exposure.value(QStringLiteral("summation")).toObject();
            const QJsonObject peak = exposure.value(QStringLiteral("weightedPeak")).toObject();
            const bool weighted = !peak.isEmpty();
            m_Out << tr("Against %1, %2 blocks")
                         .arg(exposure.value(QStringLiteral("limits")).toString())
                         .arg(exposure.value(QStringLiteral("blocks")).toInt())
                  << '\n';
            if (exposure.contains(QStringLiteral("perBlock")))
            {
                m_Out << QStringLiteral("%1 %2").arg(tr("block"), 8).arg(tr("summation"), 12);
                if (weighted)
                    m_Out << QStringLiteral(" %1").arg(tr("weighted peak"), 14);
                m_Out << QStringLiteral(" %1\n").arg(tr("most from [Hz]"), 15);
                const QJsonArray blockIndices = exposure.value(QStringLiteral("perBlock")).toArray();
                for (const QJsonValue& value : blockIndices)
                {
                    const QJsonObject block = value.toObject();
                    m_Out << QStringLiteral("%1 %2")
                                 .arg(block.value(QStringLiteral("block")).toInt(), 8)
                                 .arg(number(block.value(QStringLiteral("summation")), 4), 12);
                    if (weighted)
                        m_Out << QStringLiteral(" %1").arg(
                            number(block.value(QStringLiteral("weightedPeak")), 4), 14);
                    m_Out << QStringLiteral(" %1\n").arg(
                        number(block.value(QStringLiteral("dominantFrequency")), 5), 15);
                }
            }
            m_Out << tr("summation index      %1 (block %2, most from %3 Hz)")
                         .arg(number(summation.value(QStringLiteral("max")), 4))
                         .arg(summation.value(QStringLiteral("block")).toInt())
                         .arg(number(summation.value(QStringLiteral("dominantFrequency")), 5))
                  << '\n';
            if (weighted)
                m_Out << tr("weighted peak index  %1 (block %2)")
                             .arg(number(peak.value(QStringLiteral("max")), 4))
                             .arg(peak.value(QStringLiteral("block")).toInt())
                      << '\n';
        },
        assessing);
}

int CCommandLine::l_Convert(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), tr("Results files or folders of them."));
    parser.addOptions({
        {QStringLiteral("to"), tr("csv, json, hdf5 or xml."), QStringLiteral("FORMAT")},
        {{QStringLiteral("o"), QStringLiteral("output")},
         tr("File to write; a folder when several files are converted (default: beside each file)."),
         QStringLiteral("OUT")},
    });
    const int parsed =
        l_Parse(parser, arguments, QStringLiteral("convert"),
                QStringLiteral("FILE... --to csv|json|hdf5|xml [-o OUT]"),
                tr("The results as the program's CSV, as JSON with one object per block, as HDF5 "
                   "(one row per sample, see the README), or as the program's XML."));
    if (parsed >= 0)
        return parsed;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return l_UsageError(tr("convert: no file given"));
    const QString format = parser.value(QStringLiteral("to"));
    const QStringList formats = {QStringLiteral("csv"), QStringLiteral("json"), QStringLiteral("hdf5"),
                                 QStringLiteral("xml")};
    if (!formats.contains(format))
        return l_UsageError(tr("convert: --to takes csv, json, hdf5 or xml"));
    const QString output = parser.value(QStringLiteral("o"));
    const bool many = inputs.size() > 1 || QFileInfo(inputs.first()).isDir();
    if (many && !output.isEmpty() && !QFileInfo(output).isDir())
        return l_UsageError(tr("convert: -o must be a folder when several files are converted"));
    const auto targetOf = [&](const QString& path) {
        const QFileInfo info(path);
        const QString name = info.completeBaseName() + QLatin1Char('.') +
                             (format == QLatin1String("hdf5") ? QStringLiteral("h5") : format);
        return output.isEmpty() ? info.dir().filePath(name) : many ? QDir(output).filePath(name) : output;
    };
    // A conversion never writes over a recording, nor over what it wrote a moment before.
    {
        const auto key = [](const QString& path) {
            const QFileInfo info(path);
            return info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
        };
        const QStringList files = l_Files(inputs);
        QSet<QString> sources;
        for (const QString& path : files)
            sources.insert(key(path));
        QHash<QString, QString> written;
        for (const QString& path : files)
        {
            const QString target = key(targetOf(path));
            if (sources.contains(target))
            {
                l_Error(tr("convert: %1 would be written over %2").arg(targetOf(path), path));
                return Failed;
            }
            if (written.contains(target))
            {
                l_Error(tr("convert: %1 and %2 would both be written to %3")
                            .arg(written.value(target), path, targetOf(path)));
                return Failed;
            }
            written.insert(target, path);
        }
    }
    // Every format is written while the file is read, a block at a time.
    FileLoader writing;
    if (format == QLatin1String("csv"))
        writing = [&](CRecordingFile& file, const QString& path, QString* error) {
            return CRecordingAnalysis::LoadAsCsv(file, path, targetOf(path), error);
        };
    else if (format == QLatin1String("hdf5"))
        writing = [&](CRecordingFile& file, const QString& path, QString* error) {
            return CRecordingAnalysis::LoadAsHdf5(file, path, targetOf(path), error);
        };
    else if (format == QLatin1String("json"))
        writing = [&](CRecordingFile& file, const QString& path, QString* error) {
            return CRecordingAnalysis::LoadAsJson(file, path, targetOf(path), error);
        };
    else if (format == QLatin1String("xml"))
        writing = [&](CRecordingFile& file, const QString& path, QString* error) {
            return CRecordingAnalysis::LoadAsXml(file, path, targetOf(path), error);
        };
    return l_ForEachFile(
        inputs, parser.isSet(JsonOption()),
        [&](const CRecordingFile& file, QJsonObject& result, QString*) {
            const QString target = targetOf(file.Path());
            result = {{QStringLiteral("out"), target}, {QStringLiteral("format"), format}};
            return true;
        },
        [this](const QJsonObject& result) {
            m_Out << tr("wrote %1").arg(result.value(QStringLiteral("out")).toString()) << '\n';
        },
        writing);
}

int CCommandLine::l_Report(const QStringList& arguments)
{
    using Standard = KVL::CExposureAssessment::Standard;
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), tr("Results files or folders of them."));
    parser.addOptions({
        {QStringLiteral("standard"), tr("icnirp2010-public or icnirp2010-occupational."),
         QStringLiteral("NAME")},
        {QStringLiteral("limits"), tr("Limits file (XML) instead of a standard."), QStringLiteral("FILE")},
        {{QStringLiteral("o"), QStringLiteral("output")},
         tr("The report (PDF) to write."),
         QStringLiteral("PDF")},
        {QStringLiteral("site"), tr("Where the survey was made."), QStringLiteral("TEXT")},
        {QStringLiteral("surveyor"), tr("Who made it."), QStringLiteral("TEXT")},
        {QStringLiteral("notes"), tr("Notes for the report."), QStringLiteral("TEXT")},
    });
    const int parsed = l_Parse(
        parser, arguments, QStringLiteral("report"),
        QStringLiteral("FILE... (--standard icnirp2010-public|icnirp2010-occupational | --limits FILE) "
                       "-o report.pdf [--site TEXT] [--surveyor TEXT] [--notes TEXT]"),
        tr("An exposure survey report of the recordings: per recording its largest summation and weighted "
           "peak indices with their uncertainty and the verdict, both indices over time, the spectrum of "
           "the stretch with the largest summation index, the static field and how it was all computed; "
           "one A4 PDF. With --json the same content as data on standard output."));
    if (parsed >= 0)
        return parsed;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return l_UsageError(tr("report: no file given"));
    Standard standard = Standard::None;
    QByteArray limitsText;
    const int limitsStatus = l_Limits(parser, QStringLiteral("report"), standard, limitsText);
    if (limitsStatus >= 0)
        return limitsStatus;
    const QString output = parser.value(QStringLiteral("output"));
    if (output.isEmpty())
        return l_UsageError(tr("report: give the PDF to write with -o FILE"));
    CSurveyReport report({parser.value(QStringLiteral("site")), parser.value(QStringLiteral("surveyor")),
                          parser.value(QStringLiteral("notes"))});
    QString error;
    if (standard != Standard::None)
        report.SetStandard(standard);
    else if (!report.SetLimitsFile(parser.value(QStringLiteral("limits")), limitsText, &error))
    {
        l_Error(error);
        return Failed;
    }
    const QStringList files = l_Files(inputs);
    if (files.isEmpty())
    {
        l_Error(tr("no results file (*.xml, *.h5) in the folders given"));
        return Failed;
    }
    // The report never takes the place of a recording.
    for (const QString& path : files)
        if (QFileInfo(path).absoluteFilePath() == QFileInfo(output).absoluteFilePath())
            return l_UsageError(tr("report: %1 is a recording given, not the report to write").arg(output));
    // A report is of every file given or of none: one that fails stops it, and no PDF is written.
    QTemporaryDir folder;
    CSettings settings(m_ProgramFolder, nullptr, folder.path());
    for (const QString& path : files)
    {
        if (!report.AddFile(path, settings, &error))
        {
            l_Error(error);
            return Failed;
        }
        if (!report.Sections().back().notice.isEmpty())
            l_Error(path + QStringLiteral(": ") + report.Sections().back().notice);
    }
    if (!CReportPdfWriter::Write(report, output, &error))
    {
        l_Error(error);
        return Failed;
    }
    const QJsonObject content = report.ToJson();
    if (parser.isSet(JsonOption()))
        l_PrintJson(content);
    else
        m_Out << tr("%1: %2 recording(s) against %3: %4")
                     .arg(output)
                     .arg(report.Sections().size())
                     .arg(report.LimitsName(), content.value(QStringLiteral("verdictText")).toString())
              << '\n';
    return Success;
}
