#include "app/CConstants.h"
#include "app/CSettings.h"
#include "compute/CEngineeringNotation.h"
#include "files/CCSVResultsSerializer.h"
#include "files/CRecordingFile.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CMeasureBlockMapping.h"
#include "model/CMetaTypes.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cmath>
#include <csignal>
#include <functional>
#include <memory>

// The command-line tool as a script runs it: the built program, its exit status,
// its standard output (JSON parsed back) and its one line on standard error.
class TestCli : public QObject
{
    Q_OBJECT

    struct Run
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
        QJsonValue json() const
        {
            QJsonParseError error{};
            const QJsonDocument document = QJsonDocument::fromJson(out, &error);
            if (error.error != QJsonParseError::NoError)
                qWarning() << "not JSON:" << error.errorString() << out.left(200);
            return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
        }
    };

    std::unique_ptr<QTemporaryDir> m_Dir;
    std::unique_ptr<CSettings> m_Settings;
    QString m_Program;

    Run run(const QStringList& arguments, int timeout = 60000)
    {
        QProcess process;
        process.setWorkingDirectory(m_Dir->path());
        process.start(m_Program, arguments);
        Run result;
        if (!process.waitForFinished(timeout))
        {
            process.kill();
            process.waitForFinished();
            qWarning() << "tesvana-cli did not finish:" << arguments;
            return result;
        }
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QString path(const QString& name) const { return m_Dir->filePath(name); }

    // A measurement of known signals: Bx a sine of 8 Hz and 1 mT, By 2 throughout, Bz 0;
    // four blocks of 64 samples at 64 Hz, in mT.
    QString writeMeasurement(const QString& name)
    {
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        parameters.setApplyConfiguration(false);
        parameters.setUnits(CUnits::UnitType::MILLI_TESLA);
        parameters.setAcquisitionRate(64);
        parameters.setBlockSize(64);
        parameters.setApplyConfiguration(true);
        set.setMeasurementParameters(&parameters);
        set.setInstrumentName("ZRQ5520 simulator SIM-0001");
        set.setComment("known signals");
        const QDateTime start = QDateTime::fromString("2026-03-29T00:59:59.5Z", Qt::ISODateWithMs);
        for (int b = 0; b < 4; ++b)
        {
            auto block = QSharedPointer<CMeasureBlock>::create();
            for (int i = 0; i < 64; ++i)
            {
                const int n = b * 64 + i;
                auto sample = QSharedPointer<CFieldIntensityResult>::create();
                sample->Timestamp = start.addMSecs(qint64(n) * 1000 / 64);
                sample->TimestampNanosecond = quint64((sample->Timestamp.time().msec() * 1000000));
                const float bx = float(std::sin(2 * M_PI * 8 * n / 64.0));
                sample->setBx(bx);
                sample->setBy(2);
                sample->setBz(0);
                sample->setB(std::sqrt(bx * bx + 4));
                block->Results.append(sample);
            }
            set.AddMeasureBlock(block);
        }
        return l_Save(set, name);
    }

    // A map of 3 x 2 points, one block of 4 samples each, B growing along X.
    QString writeMapping(const QString& name)
    {
        CDataSetMapping set(*m_Settings);
        CMeasurementParameters parameters;
        parameters.setApplyConfiguration(false);
        parameters.setUnits(CUnits::UnitType::MILLI_TESLA);
        parameters.setAcquisitionRate(100);
        parameters.setBlockSize(4);
        parameters.setApplyConfiguration(true);
        set.setMeasurementParameters(&parameters);
        const QDateTime start = QDateTime::currentDateTimeUtc();
        for (int p = 0; p < 6; ++p)
        {
            auto block = QSharedPointer<CMeasureBlockMapping>::create();
            block->Position = CPosition(p % 3, p < 3 ? 0 : 1, 5);
            for (int i = 0; i < 4; ++i)
            {
                auto sample = QSharedPointer<CFieldIntensityResult>::create();
                sample->Timestamp = start.addSecs(p);
                sample->setBx(float(p % 3));
                sample->setB(float(p % 3));
                block->Results.append(sample);
            }
            set.AddMeasureBlock(block);
        }
        return l_Save(set, name);
    }

    template <typename DataSet> QString l_Save(DataSet& set, const QString& name)
    {
        QSaveFile file(path(name));
        CXMLResultsSerializer writer;
        if (!file.open(QIODevice::WriteOnly) || !writer.Serialize(&set, &file) || !file.commit())
            qWarning() << "cannot write" << name;
        return path(name);
    }

    // A recording of `blocks` blocks of `blockSize` samples at `rate` in `unit`, the field
    // at time t (seconds) along x, y and z given by `field`; timestamps to the nanosecond.
    // `uncertainty`: each sample's dB as a share of its B.
    QString writeSignal(const QString& name, double rate, int blockSize, int blocks, CUnits::UnitType unit,
                        const std::function<std::array<double, 3>(double)>& field, double uncertainty = 0)
    {
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        parameters.setApplyConfiguration(false);
        parameters.setUnits(unit);
        parameters.setAcquisitionRate(rate);
        parameters.setBlockSize(blockSize);
        parameters.setApplyConfiguration(true);
        set.setMeasurementParameters(&parameters);
        const qint64 start = QDateTime(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC).toMSecsSinceEpoch();
        for (int b = 0; b < blocks; ++b)
        {
            auto block = QSharedPointer<CMeasureBlock>::create();
            for (int i = 0; i < blockSize; ++i)
            {
                const qint64 k = qint64(b) * blockSize + i;
                const qint64 ns = qint64(double(k) / rate * 1e9);
                auto sample = QSharedPointer<CFieldIntensityResult>::create();
                sample->Timestamp = QDateTime::fromMSecsSinceEpoch(start + ns / 1000000, Qt::UTC);
                sample->TimestampNanosecond = quint64(ns % 1000000000);
                const std::array<double, 3> v = field(double(k) / rate);
                sample->setBx(float(v[0]));
                sample->setBy(float(v[1]));
                sample->setBz(float(v[2]));
                sample->setB(float(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])));
                sample->setdB(float(uncertainty * sample->B()));
                block->Results.append(sample);
            }
            set.AddMeasureBlock(block);
        }
        return l_Save(set, name);
    }

    // The text of a PDF as pdftotext reads it (poppler-utils, installed by the project's scripts).
    static QString pdfText(const QString& pdf)
    {
        QProcess process;
        process.start("pdftotext", {"-layout", pdf, "-"});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            qWarning() << "pdftotext failed on" << pdf << process.readAllStandardError();
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The file's text with `from` replaced by `to` (a file another tool wrote).
    void edit(const QString& file, const QByteArray& from, const QByteArray& to)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray text = f.readAll();
        f.close();
        QVERIFY2(text.contains(from), from.constData());
        text.replace(from, to);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    QString writeLimits(const QString& name, const QList<std::pair<double, double>>& microtesla)
    {
        QByteArray text = "<?xml version=\"1.0\"?><KorvelinExposureLimitsFile ver=\"1.0\">";
        for (const auto& [frequency, limit] : microtesla)
            text += "<freqRange><upperFreqLimit>" + QByteArray::number(frequency) +
                    "</upperFreqLimit><freqUnits>Hz</freqUnits><exposureLimitValue>" +
                    QByteArray::number(limit) +
                    "</exposureLimitValue><valueUnits>\xc2\xb5T</valueUnits></freqRange>";
        text += "</KorvelinExposureLimitsFile>";
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly))
            qWarning() << "cannot write" << name;
        file.write(text);
        return path(name);
    }

    static QJsonObject object(const QJsonValue& value) { return value.toObject(); }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        m_Program = qEnvironmentVariable("TESVANA_BIN_DIR") + "/tesvana-cli";
        if (!QFile::exists(m_Program))
            QSKIP("run through ctest, which says where the program is");
    }

    void init()
    {
        m_Dir = std::make_unique<QTemporaryDir>();
        m_Settings = std::make_unique<CSettings>("/p", nullptr, m_Dir->filePath("settings"));
    }

    void cleanup()
    {
        m_Settings.reset();
        m_Dir.reset();
    }

    void usageAndExitStatuses()
    {
        const Run help = run({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("convert"));
        const Run commandHelp = run({"ac", "--help"});
        QCOMPARE(commandHelp.status, 0);
        QVERIFY(commandHelp.out.startsWith("Usage: tesvana-cli ac "));

        const QString file = writeMeasurement("m.xml");
        const QList<QStringList> bad = {
            {},
            {"bogus"},
            {"stats", "--nope", file},
            {"stats"},
            {"measure", "--out", "x.xml"},
            {"measure", "--instrument", "SIM-0001"},
            {"measure", "--instrument", "SIM-0001", "--out", "x.xml", "--rate", "fast"},
            {"measure", "--instrument", "SIM-0001", "--out", "x.xml", "--blocks", "2", "--duration", "1"},
            {"measure", "--instrument", "SIM-0001", "--out", "x.xml", "--unit", "furlong"},
            {"measure", "--instrument", "SIM-0001", "--out", "x.xml", "--trigger", "sometimes"},
            {"convert", file, "--to", "pdf"},
            {"spectrum", file, "--component", "Bq"},
            {"spectrum", file, "--block", "last"},
            {"ac", file},
            {"exposure", file},
            {"exposure", file, "--standard", "icnirp"},
            {"exposure", file, "--standard", "icnirp2010-public", "--limits", file},
        };
        for (const QStringList& arguments : bad)
        {
            const Run r = run(arguments);
            QVERIFY2(r.status == 2, qPrintable(arguments.join(' ')));
            QVERIFY2(r.err.startsWith("tesvana-cli: ") && r.err.count('\n') == 1, r.err.constData());
            QVERIFY(r.out.isEmpty());
        }
        QVERIFY(!QFile::exists(path("x.xml")));
    }

    void analysesOfAKnownMeasurement()
    {
        const QString file = writeMeasurement("m.xml");
        const QJsonObject info = object(run({"info", file, "--json"}).json());
        QCOMPARE(info["kind"].toString(), QString("measurement"));
        QCOMPARE(info["blocks"].toInt(), 4);
        QCOMPARE(info["samples"].toInt(), 256);
        QCOMPARE(info["unit"].toString(), QString("mT"));
        QCOMPARE(info["acquisitionRate"].toDouble(), 64.0);
        QCOMPARE(info["comment"].toString(), QString("known signals"));
        QCOMPARE(info["timeSpan"].toDouble(), 3.984); // whole milliseconds apart in the file

        const Run statsRun = run({"stats", file, "--json", "--per-block"});
        QCOMPARE(statsRun.status, 0);
        const QJsonObject stats = object(statsRun.json());
        const QJsonObject by = stats["all"]["By"].toObject();
        QCOMPARE(by["rms"].toDouble(), 2.0);
        QCOMPARE(by["peakToPeak"].toDouble(), 0.0);
        QCOMPARE(by["min"].toDouble(), 2.0);
        const QJsonObject bx = stats["all"]["Bx"].toObject();
        QVERIFY(std::fabs(bx["max"].toDouble() - 1) < 1e-6);
        QVERIFY(std::fabs(bx["min"].toDouble() + 1) < 1e-6);
        QVERIFY(std::fabs(bx["rms"].toDouble() - std::sqrt(0.5)) < 0.01);
        QVERIFY(std::fabs(bx["stdDev"].toDouble() - std::sqrt(0.5)) < 0.01);
        QVERIFY(!stats["all"].toObject().contains("B.B'")); // the probe gave none
        QCOMPARE(stats["blocks"].toArray().size(), 4);
        // For people: a table with the unit.
        const Run text = run({"stats", file});
        QVERIFY(text.out.contains("Bx") && text.out.contains("mT"));

        const QJsonObject spectrum = object(run({"spectrum", file, "--component", "Bx", "--json"}).json());
        QCOMPARE(spectrum["binWidth"].toDouble(), 1.0);
        QCOMPARE(spectrum["block"].toInt(), 3);
        bool eightHz = false;
        const QJsonArray peaks = spectrum["peaks"].toArray();
        for (const QJsonValue& peak : peaks)
            eightHz = eightHz || std::fabs(peak["frequency"].toDouble() - 8) < 0.5;
        QVERIFY2(eightHz, QJsonDocument(spectrum).toJson().constData());
        const Run outside = run({"spectrum", file, "--block", "9"});
        QCOMPARE(outside.status, 1);
        QVERIFY(outside.err.contains("no block 9"));
        // Only the block analysed keeps its samples as the file is read: counted from either end.
        const QJsonObject second = object(run({"spectrum", file, "--block", "1", "--json"}).json());
        const QJsonObject fromEnd = object(run({"spectrum", file, "--block", "-3", "--json"}).json());
        QCOMPARE(second["block"].toInt(), 1);
        QCOMPARE(fromEnd["block"].toInt(), 1);
        QVERIFY(!second["peaks"].toArray().isEmpty());
        QCOMPARE(fromEnd["peaks"], second["peaks"]);

        // The band table against a limits file in T: the file's mT results against converted limits.
        QFile limits(path("limits.xml"));
        QVERIFY(limits.open(QIODevice::WriteOnly));
        limits.write("<?xml version=\"1.0\"?><KorvelinExposureLimitsFile ver=\"1.0\">"
                     "<freqRange><upperFreqLimit>4</upperFreqLimit><freqUnits>Hz</freqUnits>"
                     "<exposureLimitValue>0.01</exposureLimitValue><valueUnits>T</valueUnits></freqRange>"
                     "<freqRange><upperFreqLimit>16</upperFreqLimit><freqUnits>Hz</freqUnits>"
                     "<exposureLimitValue>0.001</exposureLimitValue><valueUnits>T</valueUnits></freqRange>"
                     "</KorvelinExposureLimitsFile>");
        limits.close();
        const QJsonObject ac = object(run({"ac", file, "--limits", limits.fileName(), "--json"}).json());
        const QJsonArray bands = ac["bands"].toArray();
        QCOMPARE(bands.size(), 2);
        QCOMPARE(bands[0]["band"].toString(), QString("0-4"));
        QCOMPARE(bands[1]["limit"].toDouble(), 1.0); // 1 mT
        // The 8 Hz sine of amplitude 1 mT: RMS 0.707 mT in the second band.
        QVERIFY2(std::fabs(bands[1]["Bx"].toDouble() - std::sqrt(0.5)) < 0.02,
                 QJsonDocument(ac).toJson().constData());
        // The exposure of the block: the sine's RMS over its step (By's constant 2 mT never
        // enters); no weighted peak against a file of steps.
        QVERIFY2(std::fabs(ac["summationIndex"].toDouble() - std::sqrt(0.5)) < 0.01,
                 QJsonDocument(ac).toJson().constData());
        QVERIFY(ac["weightedPeakIndex"].isNull());

        // Against the general public's curve: 8 Hz is at its corner, 0.625 mT; every block
        // the same, the first one the largest. The tool says which block.
        const Run exposureRun =
            run({"exposure", file, "--standard", "icnirp2010-public", "--json", "--per-block"});
        QCOMPARE(exposureRun.status, 0);
        const QJsonObject exposure = object(exposureRun.json());
        const double expected = std::sqrt(0.5) / 0.625;
        QCOMPARE(exposure["limits"].toString(), QString("ICNIRP 2010 general public"));
        QCOMPARE(exposure["blocks"].toInt(), 4);
        QVERIFY2(std::fabs(exposure["summation"]["max"].toDouble() / expected - 1) < 0.02,
                 QJsonDocument(exposure).toJson().constData());
        QVERIFY(std::fabs(exposure["summation"]["dominantFrequency"].toDouble() - 8) < 0.1);
        QVERIFY2(std::fabs(exposure["weightedPeak"]["max"].toDouble() / expected - 1) < 0.03,
                 QJsonDocument(exposure).toJson().constData());
        const QJsonArray perBlock = exposure["perBlock"].toArray();
        QCOMPARE(perBlock.size(), 4);
        const int largest = exposure["summation"]["block"].toInt();
        for (const QJsonValue& block : perBlock)
            QVERIFY(block["summation"].toDouble() <= perBlock[largest]["summation"].toDouble());
        const Run exposureText = run({"exposure", file, "--standard", "icnirp2010-occupational"});
        QCOMPARE(exposureText.status, 0);
        QVERIFY2(exposureText.out.contains("ICNIRP 2010 occupational") &&
                     exposureText.out.contains("weighted peak index"),
                 exposureText.out.constData());
        // A limits file of steps: the summation only.
        const QJsonObject steps =
            object(run({"exposure", file, "--limits", limits.fileName(), "--json"}).json());
        QVERIFY(std::fabs(steps["summation"]["max"].toDouble() - std::sqrt(0.5)) < 0.01);
        QVERIFY(!steps.contains("weightedPeak"));
        QCOMPARE(run({"exposure", file, "--limits", file}).status, 1);
        const Run badLimits = run({"ac", file, "--limits", file});
        QCOMPARE(badLimits.status, 1);
        QVERIFY(badLimits.err.contains("not a limits file"));
    }

    // Limits files in any order, rates that are no rate, units that are not the field's:
    // either the right answer or exit 1 with the reason, never a table of zeros with exit 0.
    void analysesThatCannotBeComputedSaySo()
    {
        const auto tone = [](double t) {
            return std::array<double, 3>{100 * std::sqrt(2.0) * std::sin(2 * M_PI * 50 * t), 0, 0};
        };
        const QString file = writeSignal("tone.xml", 1000, 1000, 4, CUnits::UnitType::MICRO_TESLA, tone);
        // The upper range first: 50 Hz takes the 1 uT of the range up to 100 Hz.
        const QString reversed = writeLimits("reversed.xml", {{1000, 100}, {100, 1}});
        const Run exposure = run({"exposure", file, "--limits", reversed, "--json"});
        QCOMPARE(exposure.status, 0);
        const double summation = object(exposure.json())["summation"].toObject()["max"].toDouble();
        QVERIFY2(std::abs(summation / 100 - 1) < 0.02, qPrintable(QString::number(summation)));
        const Run ac = run({"ac", file, "--limits", reversed, "--json"});
        QCOMPARE(ac.status, 0);
        const QJsonArray bands = object(ac.json())["bands"].toArray();
        QCOMPARE(bands.size(), 2);
        QCOMPARE(bands[0]["band"].toString(), QString("0-100"));
        QCOMPARE(bands[0]["limit"].toDouble(), 1.0);
        QVERIFY(std::abs(bands[0]["Bx"].toDouble() / 100 - 1) < 0.02);
        // Two ranges ending at one frequency: refused with the reason.
        const Run twice = run({"ac", file, "--limits", writeLimits("twice.xml", {{100, 1}, {100, 2}})});
        QCOMPARE(twice.status, 1);
        QVERIFY2(twice.err.contains("already ends at 100 Hz"), twice.err.constData());

        // Rates that are no rate, as another tool may write them.
        for (const QByteArray rate : {"0", "nan", "inf"})
        {
            const QString bad = writeSignal("rate.xml", 1000, 1000, 2, CUnits::UnitType::MICRO_TESLA, tone);
            edit(bad, "AcqRate=1000", "AcqRate=" + rate);
            for (const QStringList& command :
                 {QStringList{"ac", bad, "--limits", reversed}, QStringList{"spectrum", bad},
                  QStringList{"exposure", bad, "--standard", "icnirp2010-public"}})
            {
                const Run r = run(command);
                QVERIFY2(r.status == 1, qPrintable(command.first() + " at " + rate + ": " + r.out.left(300)));
                QVERIFY2(r.err.contains("not a positive number"), r.err.constData());
                QVERIFY(!r.out.contains("inf Hz"));
            }
        }
        // A rate so small that the spectrum's bins are far apart in time: bounded, and no frequency in range.
        const QString slow = writeSignal("slow.xml", 1000, 64, 2, CUnits::UnitType::MICRO_TESLA, tone);
        edit(slow, "AcqRate=1000", "AcqRate=1e-12");
        const Run tiny = run({"exposure", slow, "--standard", "icnirp2010-public"}, 10000);
        QVERIFY(tiny.status == 0 || tiny.status == 1);

        // Results in units that are not the field's.
        for (const CUnits::UnitType unit :
             {CUnits::UnitType::HZ, CUnits::UnitType::PERCENT, CUnits::UnitType::DECIBEL,
              CUnits::UnitType::UNKNOWN, CUnits::UnitType::ADC})
        {
            const QString other = writeSignal("other.xml", 1000, 1000, 2, unit, tone);
            for (const QStringList& command :
                 {QStringList{"ac", other, "--limits", reversed},
                  QStringList{"exposure", other, "--standard", "icnirp2010-public"}})
            {
                const Run r = run(command);
                QVERIFY2(r.status == 1, qPrintable(command.first() + " in " + CUnitsToQString(unit)));
                QVERIFY2(r.err.contains("not a unit of the field"), r.err.constData());
            }
        }
    }

    // Dropouts, short recordings and a stated rate the other parameters do not give.
    void exposureOfAwkwardRecordings()
    {
        const auto mains = [](double t) {
            return std::array<double, 3>{0, 0, 0.8 * std::sqrt(2.0) * std::sin(2 * M_PI * 50 * t)};
        };
        // One sample not a number: the stretches after it are assessed, none is null for it.
        const QString dropout =
            writeSignal("dropout.xml", 10000, 1000, 12, CUnits::UnitType::MICRO_TESLA, mains);
        edit(dropout, "<flux>", "<flux>2026.12.08T09:00:00.000000000 nan nan nan nan nan 0 0\n");
        const Run r = run({"exposure", dropout, "--standard", "icnirp2010-public", "--per-block", "--json"});
        QCOMPARE(r.status, 0);
        const QJsonArray perBlock = object(r.json())["perBlock"].toArray();
        QCOMPARE(perBlock.size(), 12);
        int assessed = 0;
        for (const QJsonValue& block : perBlock)
            if (block["summation"].isDouble())
            {
                ++assessed;
                QVERIFY(std::abs(block["summation"].toDouble() / 0.004 - 1) < 0.05);
            }
        QVERIFY2(assessed >= 11, qPrintable(QString::number(assessed)));
        // Nothing but dropouts.
        const QString none = writeSignal("none.xml", 1000, 8, 1, CUnits::UnitType::MICRO_TESLA, [](double) {
            return std::array<double, 3>{NAN, NAN, NAN};
        });
        const Run nothing = run({"exposure", none, "--standard", "icnirp2010-public"});
        QCOMPARE(nothing.status, 1);
        QVERIFY2(nothing.err.contains("no sample of the file is a number"), nothing.err.constData());
        // A short recording of small blocks: 8 blocks of 2 at 20 Hz.
        const QString shortOne =
            writeSignal("short.xml", 20, 2, 8, CUnits::UnitType::MICRO_TESLA, [](double t) {
                return std::array<double, 3>{100 * std::sin(2 * M_PI * 5 * t), 0, 0};
            });
        const Run brief = run({"exposure", shortOne, "--standard", "icnirp2010-public", "--json"});
        QVERIFY2(brief.status == 0, brief.err.constData());
        QVERIFY(object(brief.json())["summation"].toObject()["max"].toDouble() > 0);

        // Written by another tool: its block size is not its rate over its display rate.
        const QString other =
            writeSignal("other.xml", 10000, 65536, 1, CUnits::UnitType::MICRO_TESLA, [](double t) {
                return std::array<double, 3>{0, 0, 200 * std::sqrt(2.0) * std::sin(2 * M_PI * 10 * t)};
            });
        QFile f(other);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        f.close();
        const int at = text.indexOf("AcqRate=");
        QVERIFY(at > 0);
        const int end = text.indexOf("BlockSize=", at);
        edit(other, text.mid(at, end - at),
             "AcqRate=10000 DispRate=1 Avg=1 FreqMin=0 FreqMax=5000 Bins=5000 ");
        const Run info = run({"info", other, "--json"});
        QCOMPARE(object(info.json())["acquisitionRate"].toDouble(), 10000.0);
        QVERIFY(!object(info.json()).contains("rateNote"));
        const Run tenHertz = run({"exposure", other, "--standard", "icnirp2010-public", "--json"});
        // 200 uT RMS at 10 Hz against the public's 500 uT: 0.4 (at 65,536 Hz it would read 2.5).
        const double index = object(tenHertz.json())["summation"].toObject()["max"].toDouble();
        QVERIFY2(std::abs(index / 0.4 - 1) < 0.03, qPrintable(QString::number(index)));
        // A stated rate its timestamps do not confirm is reported.
        edit(other, "AcqRate=10000", "AcqRate=20000");
        const QJsonObject told = object(run({"info", other, "--json"}).json());
        QVERIFY2(told["rateNote"].toString().contains("timestamps 10000 Hz"),
                 qPrintable(told["rateNote"].toString()));
        QVERIFY(run({"info", other}).out.contains("rate note"));
    }

    void conversions()
    {
        const QString file = writeMeasurement("m.xml");
        QCOMPARE(run({"convert", file, "--to", "csv"}).status, 0);
        // The program's own CSV (its header's save time aside).
        CRecordingFile loaded(*m_Settings);
        QVERIFY(loaded.Load(file));
        QBuffer expected;
        expected.open(QIODevice::WriteOnly);
        QVERIFY(CCSVResultsSerializer().Serialize(loaded.Measurement(), &expected));
        QFile written(path("m.csv"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QList<QByteArray> a = written.readAll().split('\n');
        QList<QByteArray> b = expected.data().split('\n');
        QCOMPARE(a.size(), b.size());
        a.removeAt(1);
        b.removeAt(1);
        QCOMPARE(a, b);

        const Run json = run({"convert", file, "--to", "json", "-o", path("out.json"), "--json"});
        QCOMPARE(json.status, 0);
        QCOMPARE(object(json.json())["out"].toString(), path("out.json"));
        QFile out(path("out.json"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QJsonObject document = QJsonDocument::fromJson(out.readAll()).object();
        const QJsonArray blocks = document["blockList"].toArray();
        QCOMPARE(blocks.size(), 4);
        QCOMPARE(blocks[1]["samples"].toArray().size(), 64);
        QCOMPARE(blocks[0]["samples"][1]["Bx"].toDouble(), double(0.707107f)); // six digits, as in the file
        QCOMPARE(blocks[0]["samples"][0]["timestamp"].toString(), QString("2026.03.29T00:59:59.500000000"));

        // A failed conversion leaves the previous output whole; a missing folder is one line and status 1.
        QFile hostile(path("hostile.xml"));
        QVERIFY(hostile.open(QIODevice::WriteOnly));
        hostile.write("<KorvelinXmlRecord ver=\"1.0\"><body type=\"tKXR_BODY_TESVANA\" ver=\"1.1\"><dataset");
        hostile.close();
        const QByteArray before = QFile(path("out.json")).exists() ? QByteArray("kept") : QByteArray();
        const Run failed = run({"convert", hostile.fileName(), "--to", "json", "-o", path("out.json")});
        QCOMPARE(failed.status, 1);
        QVERIFY(QJsonDocument::fromJson([&] {
                    QFile f(path("out.json"));
                    f.open(QIODevice::ReadOnly);
                    return f.readAll();
                }())
                    .isObject());
        QVERIFY(!before.isEmpty());
        // A file that breaks off after some blocks (a recording cut by a crash): its complete
        // blocks are converted, and the tool says the file was cut short.
        QFile whole(file);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray wholeBytes = whole.readAll();
        const QByteArray cutBytes = wholeBytes.left(int(wholeBytes.size() * 3 / 5));
        QFile cut(path("cut.xml"));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(cutBytes);
        cut.close();
        const Run broken = run({"convert", cut.fileName(), "--to", "csv", "-o", path("cut.csv")});
        QCOMPARE(broken.status, 0);
        QVERIFY2(broken.err.contains("cut.xml: The file was cut short: the " +
                                     QByteArray::number(cutBytes.count("</measurements>")) +
                                     " complete blocks"),
                 broken.err.constData());
        QFile partial(path("cut.csv"));
        QVERIFY(partial.open(QIODevice::ReadOnly));
        const QByteArray partialCsv = partial.readAll();
        // Every row of the complete blocks (seven separators a row, past the headings' seven
        // and the colsep attribute's one), none of the block cut.
        const QByteArray complete = cutBytes.left(cutBytes.lastIndexOf("</measurements>"));
        const QByteArray csvRows = partialCsv.mid(partialCsv.indexOf("Timestamp;B;"));
        QCOMPARE((csvRows.count(';') - 7) / 7, (complete.count(';') - 8) / 7);
        QVERIFY(csvRows.count(';') > 7 * 3);

        const Run nowhere = run({"convert", file, "--to", "csv", "-o", path("missing/folder/m.csv")});
        QCOMPARE(nowhere.status, 1);
        QCOMPARE(nowhere.err.count('\n'), 1);
        QVERIFY(!QDir(path("missing")).exists());
    }

    // A conversion never writes over a recording, nor twice to the same output.
    void conversionsNeverWriteOverTheirInputs()
    {
        const QString file = writeMeasurement("m.xml");
        const auto bytes = [](const QString& name) {
            QFile f(name);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray original = bytes(file);
        const Run over = run({"convert", file, "--to", "csv", "-o", file});
        QCOMPARE(over.status, 1);
        QVERIFY2(over.err.contains("would be written over"), over.err.constData());
        QCOMPARE(bytes(file), original);
        // A recording named .json, converted to JSON beside itself.
        QVERIFY(QFile::copy(file, path("r.json")));
        QCOMPARE(run({"convert", path("r.json"), "--to", "json"}).status, 1);
        QCOMPARE(bytes(path("r.json")), original);
        // Two recordings of one name into one folder.
        QVERIFY(QDir(m_Dir->path()).mkpath("a") && QDir(m_Dir->path()).mkpath("b") &&
                QDir(m_Dir->path()).mkpath("out"));
        writeMeasurement("a/run.xml");
        writeMeasurement("b/run.xml");
        const Run twice =
            run({"convert", path("a/run.xml"), path("b/run.xml"), "--to", "csv", "-o", path("out")});
        QCOMPARE(twice.status, 1);
        QVERIFY2(twice.err.contains("would both be written to"), twice.err.constData());
        QVERIFY(!QFile::exists(path("out/run.csv")));
        // Converting a folder beside its files stays allowed.
        QCOMPARE(run({"convert", path("a"), "--to", "csv"}).status, 0);
        QVERIFY(QFile::exists(path("a/run.csv")));
    }

    void mapsFoldersAndHostileFiles()
    {
        QDir(m_Dir->path()).mkdir("set");
        writeMapping("set/a-map.xml");
        writeMeasurement("set/b-measurement.xml");
        QFile bad(path("set/c-truncated.xml"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("<?xml version=\"1.0\"?><KorvelinXmlRecord ver=\"1.0\"><body");
        bad.close();

        // One failure does not stop the others; the status says something failed.
        const Run all = run({"stats", path("set"), "--per-block", "--json"});
        QCOMPARE(all.status, 1);
        QCOMPARE(all.err.count('\n'), 1);
        QVERIFY(all.err.contains("c-truncated.xml"));
        const QJsonArray results = all.json().toArray();
        QCOMPARE(results.size(), 3);
        QCOMPARE(results[0]["blocks"].toArray().size(), 6);
        QCOMPARE(results[0]["blocks"][4]["position"]["x"].toDouble(), 1.0);
        QCOMPARE(results[0]["blocks"][4]["position"]["y"].toDouble(), 1.0);
        QCOMPARE(results[0]["blocks"][4]["Bx"]["rms"].toDouble(), 1.0);
        QCOMPARE(results[1]["all"]["By"]["rms"].toDouble(), 2.0);
        QVERIFY(results[2]["error"].toString().contains("c-truncated.xml"));
        const QJsonObject map = object(run({"info", path("set/a-map.xml"), "--json"}).json());
        QCOMPARE(map["kind"].toString(), QString("mapping"));

        QCOMPARE(run({"info", path("missing.xml")}).status, 1);
        QDir(m_Dir->path()).mkdir("empty");
        QCOMPARE(run({"info", path("empty")}).status, 1);

        // Every file of the fuzz corpora: an answer and a status, never a crash or a hang.
        const QString corpora = qEnvironmentVariable("TESVANA_SOURCE_DIR") + "/fuzz/corpus/";
        for (const char* corpus : {"results_measurement", "results_mapping", "limits_file", "mapping_file"})
        {
            for (const char* command : {"info", "stats", "spectrum"})
            {
                const Run r = run({command, corpora + corpus, "--json"});
                QVERIFY2(r.status == 0 || r.status == 1, qPrintable(QString(command) + " " + corpus));
                QVERIFY(r.json().isArray());
            }
            const Run ac = run({"ac", path("set/b-measurement.xml"), "--limits", corpora + corpus});
            QVERIFY(ac.status == 0 || ac.status == 1);
            const Run exposure =
                run({"exposure", corpora + corpus, "--standard", "icnirp2010-public", "--json"});
            QVERIFY2(exposure.status == 0 || exposure.status == 1, corpus);
            QVERIFY(exposure.json().isArray());
        }
    }

    // XML -> HDF5 -> XML gives back every byte but the header's date, for both kinds; a
    // user's script reads the HDF5 file with h5py (Debian's python3-h5py) and finds the
    // samples, units and attributes; an HDF5 file of another kind, or a broken one, fails
    // with a message.
    void hdf5RoundTripAndAUsersScript()
    {
        const auto undated = [](const QString& file) {
            QFile f(file);
            f.open(QIODevice::ReadOnly);
            QByteArray text = f.readAll();
            const int at = text.indexOf("<dateTime8601>");
            return text.remove(at, text.indexOf("</dateTime8601>") - at);
        };
        const QString measurement = writeMeasurement("h5-measurement.xml");
        const QString map = writeMapping("h5-map.xml");
        for (const QString& xml : {measurement, map})
        {
            const QString h5 = QString(xml).replace(".xml", ".h5");
            const QString back = QString(xml).replace(".xml", "-back.xml");
            const Run to = run({"convert", xml, "--to", "hdf5", "-o", h5});
            QVERIFY2(to.status == 0, to.err.constData());
            QVERIFY(QFile(h5).size() > 0);
            const Run from = run({"convert", h5, "--to", "xml", "-o", back});
            QVERIFY2(from.status == 0, from.err.constData());
            QCOMPARE(undated(back), undated(xml));
            const QJsonObject info = object(run({"info", h5, "--json"}).json());
            QCOMPARE(info["blocks"].toInt(), xml == map ? 6 : 4);
        }

        // Larger than the writer's chunks (65,536 rows, 4,096 blocks): written a chunk at a time.
        {
            CDataSetMeasurement many(*m_Settings);
            CMeasurementParameters parameters;
            many.setMeasurementParameters(&parameters);
            const QDateTime start = QDateTime::fromString("2026-05-06T07:08:09Z", Qt::ISODate);
            for (int b = 0; b < 5000; ++b)
            {
                auto block = QSharedPointer<CMeasureBlock>::create();
                block->setComment(QString::number(b));
                for (int i = 0; i < 30; ++i)
                {
                    auto sample = QSharedPointer<CFieldIntensityResult>::create();
                    sample->Timestamp = start.addMSecs(b * 30 + i);
                    sample->TimestampNanosecond = quint64(sample->Timestamp.time().msec()) * 1000000 + 7;
                    sample->setBx(float(b) + float(i) / 32);
                    block->Results.append(sample);
                }
                many.AppendLoadedBlock(block); // every block, whatever the settings keep
            }
            const QString xml = l_Save(many, "h5-many.xml");
            QVERIFY2(run({"convert", xml, "--to", "hdf5", "-o", path("h5-many.h5")}).status == 0, "to hdf5");
            QVERIFY2(
                run({"convert", path("h5-many.h5"), "--to", "xml", "-o", path("h5-many-back.xml")}).status ==
                    0,
                "to xml");
            QCOMPARE(undated(path("h5-many-back.xml")), undated(xml));
            QCOMPARE(object(run({"info", path("h5-many.h5"), "--json"}).json())["samples"].toInt(), 150000);
        }

        QFile script(path("read.py"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(R"(import sys, h5py, numpy as np
with h5py.File(sys.argv[1], "r") as f:
    g = f["measurement"]
    assert f.attrs["program"].startswith("Tesvana")
    assert g.attrs["unit"] == "mT" and g.attrs["Units"] == "mT" and g.attrs["AcqRate"] == 64.0
    assert g.attrs["instrument"] == "ZRQ5520 simulator SIM-0001" and g.attrs["comment"] == "known signals"
    t = g["timestamp"][:]
    assert t.dtype == np.int64 and len(t) == 256
    assert str(np.datetime64(int(t[0]), "ns")) == "2026-03-29T00:59:59.500000000"
    assert np.all(np.diff(t) > 0)
    bx = g["Bx"][:]
    assert g["Bx"].dtype == np.float64 and g["Bx"].compression == "gzip"
    assert np.allclose(bx, np.sin(2 * np.pi * 8 * np.arange(256) / 64.0), atol=1e-5)
    assert np.all(g["By"][:] == 2.0)
    assert list(g["blocks/first_sample"][:]) == [0, 64, 128, 192]
with h5py.File(sys.argv[2], "r") as f:
    p = f["mapping/blocks/position"][:]
    assert p.shape == (6, 3) and list(p[4]) == [1.0, 1.0, 5.0]
    assert f["mapping/blocks/orientation"].shape == (6, 3)
print("ok")
)");
        script.close();
        QProcess python;
        python.start("/usr/bin/python3", {script.fileName(), path("h5-measurement.h5"), path("h5-map.h5")});
        QVERIFY(python.waitForFinished(60000));
        QVERIFY2(python.exitCode() == 0 && python.readAllStandardOutput().trimmed() == "ok",
                 python.readAllStandardError().constData());

        // Broken and foreign HDF5 files: a message, never a crash.
        QFile broken(path("broken.h5"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        QFile whole(path("h5-measurement.h5"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        broken.write(whole.readAll().left(int(whole.size() / 2)));
        broken.close();
        const Run cut = run({"info", path("broken.h5")});
        QCOMPARE(cut.status, 1);
        QVERIFY2(cut.err.contains("broken.h5"), cut.err.constData());
        QProcess foreign;
        foreign.start("/usr/bin/python3", {"-c", "import h5py, numpy; f = h5py.File('" + path("foreign.h5") +
                                                     "', 'w'); f['x'] = numpy.zeros(3); "
                                                     "g = f.create_group('measurement'); g['timestamp'] = "
                                                     "numpy.zeros(3, dtype='int64')"});
        QVERIFY(foreign.waitForFinished(60000) && foreign.exitCode() == 0);
        const Run other = run({"stats", path("foreign.h5")});
        QCOMPARE(other.status, 1);
        QVERIFY2(other.err.contains("not a recording of this program"), other.err.constData());

        // A stored text whose heap object claims no size would keep the HDF5 library reading
        // for ever: such a file is refused at once.
        QVERIFY(whole.seek(0));
        QByteArray bytes = whole.readAll();
        const int heap = bytes.indexOf(QByteArray("GCOL\x01\0\0\0", 8));
        QVERIFY(heap > 0);
        // The first object's index and size made 0: free space of no size.
        bytes.replace(heap + 16, 2, QByteArray(2, '\0'));
        bytes.replace(heap + 24, 8, QByteArray(8, '\0'));
        QFile hostile(path("hostile.h5"));
        QVERIFY(hostile.open(QIODevice::WriteOnly));
        hostile.write(bytes);
        hostile.close();
        const Run refused = run({"info", path("hostile.h5")});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains("damaged"), refused.err.constData());
    }

    // Killed (SIGKILL: no handler runs) at random moments of a recording at 100 kHz: each
    // time the file beside the output loads, holding every block up to shortly before the
    // kill. The long form (20 kills) is scripts/kill-recording.sh.
    void measureSurvivesAKill()
    {
        for (int round = 0; round < 3; ++round)
        {
            const QString folder = path(QString("kill%1").arg(round));
            QVERIFY(QDir().mkpath(folder));
            QProcess process;
            process.setWorkingDirectory(folder);
            process.start(m_Program, {"measure", "--instrument", "SIM-0001", "--rate", "100000", "--duration",
                                      "60", "--out", "k.xml"});
            QVERIFY(process.waitForStarted());
            const auto part = [&folder] {
                const QStringList found = QDir(folder).entryList({"*.part"}, QDir::Files);
                return found.isEmpty() ? QString() : QDir(folder).filePath(found.first());
            };
            QTRY_VERIFY_WITH_TIMEOUT(!part().isEmpty() && QFileInfo(part()).size() > 2000, 20000);
            QTest::qWait(200 + QRandomGenerator::global()->bounded(1300));
            const QDateTime killed = QDateTime::currentDateTime();
            ::kill(pid_t(process.processId()), SIGKILL);
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(process.exitStatus(), QProcess::CrashExit);
            QVERIFY(!QFile::exists(QDir(folder).filePath("k.xml")));
            CRecordingFile file(*m_Settings);
            QVERIFY2(file.Load(part()), qPrintable(file.ErrorText()));
            QVERIFY(!file.Blocks().empty());
            const CFieldIntensityResult& last = *file.Blocks().back()->Results.back();
            const qint64 lost = last.Timestamp.msecsTo(killed);
            // Each block is handed to the system as it is written: what is lost is what was
            // still on its way (a busy machine may hold a little more than a second of it).
            QVERIFY2(lost >= 0 && lost < 2000, qPrintable(QString::number(lost)));
        }
    }

    void surveyReports()
    {
        QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "poppler-utils is not installed");
        // A 50 Hz line along z at half the public level (200 uT at 50 Hz) over a static 40 uT along x;
        // another at 1.2 of it; a third at the level with a stated uncertainty of 2 %.
        const auto line = [](double rms, double staticX) {
            return [rms, staticX](double t) {
                return std::array<double, 3>{staticX, 0, rms * std::sqrt(2.0) * std::sin(2 * M_PI * 50 * t)};
            };
        };
        const QString half =
            writeSignal("half.xml", 5000, 500, 20, CUnits::UnitType::MICRO_TESLA, line(100, 40));
        const QString over =
            writeSignal("over.xml", 5000, 500, 20, CUnits::UnitType::MICRO_TESLA, line(240, 0));
        const QString edge =
            writeSignal("edge.xml", 5000, 500, 20, CUnits::UnitType::MICRO_TESLA, line(200, 0), 0.02);
        const auto exposure = [&](const QString& file) {
            const Run r = run({"exposure", file, "--standard", "icnirp2010-public", "--json"});
            return object(r.json());
        };
        const auto sha256 = [](const QString& file) {
            QProcess process;
            process.start("sha256sum", {file});
            process.waitForFinished();
            return QString::fromLatin1(process.readAllStandardOutput()).section(' ', 0, 0);
        };

        struct Case
        {
            QStringList files;
            QString verdict;
        };
        const QList<Case> cases{{{half}, "below the reference levels"},
                                {{over}, "exceeds the reference levels by"},
                                {{edge}, "inconclusive"},
                                {{half, over}, "exceeds the reference levels by"}};
        for (const Case& c : cases)
        {
            const QString pdf = path("report.pdf");
            QFile::remove(pdf);
            const Run r =
                run(QStringList{"report"} + c.files +
                    QStringList{"--standard", "icnirp2010-public", "-o", pdf, "--site", "Substation 7",
                                "--surveyor", "A. Surveyor", "--notes", "Gate side", "--json"});
            QVERIFY2(r.status == 0, r.err.constData());
            const QJsonObject report = object(r.json());
            const QString text = pdfText(pdf);
            for (const QString& expected :
                 {QString("Exposure survey report"), QString("Substation 7"), QString("A. Surveyor"),
                  QString("Gate side"), QString("ICNIRP 2010 general public"), QString("Tesvana"),
                  report["identifier"].toString(), c.verdict})
                QVERIFY2(text.contains(expected), qPrintable(expected + " not in:\n" + text.left(3000)));
            QVERIFY2(report["verdictText"].toString().startsWith(c.verdict),
                     qPrintable(report["verdictText"].toString()));
            const QJsonArray recordings = report["recordings"].toArray();
            QCOMPARE(recordings.size(), c.files.size());
            for (int i = 0; i < c.files.size(); ++i)
            {
                // Every number is the exposure command's, as the report prints it.
                const QJsonObject expected = exposure(c.files[i]);
                const QJsonObject got = recordings[i].toObject();
                const double summation = got["summation"].toObject()["max"].toDouble();
                const double peak = got["weightedPeak"].toObject()["max"].toDouble();
                QCOMPARE(summation, expected["summation"].toObject()["max"].toDouble());
                QCOMPARE(peak, expected["weightedPeak"].toObject()["max"].toDouble());
                QCOMPARE(got["summation"].toObject()["block"].toInt(),
                         expected["summation"].toObject()["block"].toInt());
                for (const double value : {summation, peak})
                    QVERIFY2(text.contains(CEngineeringNotation::Fixed(value, 4)),
                             qPrintable(CEngineeringNotation::Fixed(value, 4)));
                QCOMPARE(got["sha256"].toString(), sha256(c.files[i]));
                QVERIFY(text.contains(got["sha256"].toString()));
                QVERIFY(text.contains(QFileInfo(c.files[i]).fileName()));
                QVERIFY2(text.contains(got["start"].toString()), qPrintable(got["start"].toString()));
                QCOMPARE(got["blocks"].toInt(), 20);
                QCOMPARE(got["acquisitionRate"].toDouble(), 5000.0);
                // The decision rule, from the index and its expanded uncertainty.
                const double u = got["summation"].toObject()["expandedUncertainty"].toDouble();
                const QString verdict = got["summation"].toObject()["verdict"].toString();
                QCOMPARE(verdict, summation * (1 - u) > 1   ? QString("exceeds")
                                  : summation * (1 + u) < 1 ? QString("below")
                                                            : QString("inconclusive"));
            }
            if (c.files == QStringList{over})
            {
                const double largest = std::max(recordings[0]["summation"].toObject()["max"].toDouble(),
                                                recordings[0]["weightedPeak"].toObject()["max"].toDouble());
                const QString by =
                    QString("exceeds the reference levels by %1 %").arg(std::round((largest - 1) * 100));
                QVERIFY2(text.contains(by), qPrintable(by));
                QVERIFY(std::abs(largest - 1.2) < 0.05);
            }
            if (c.files == QStringList{half})
            {
                // The static field, a result of its own, and the line that makes the index.
                const QJsonObject still = recordings[0]["staticField"].toObject();
                QVERIFY(std::abs(still["meanBx"].toDouble() - 40) < 1e-3);
                QCOMPARE(still["limit"].toDouble(), 400000.0);
                QVERIFY2(text.contains("40.00 µT"), qPrintable(text.left(4000)));
                QVERIFY(text.contains("below the limit"));
                const QJsonObject first = recordings[0]["lines"].toArray()[0].toObject();
                QVERIFY(std::abs(first["frequency"].toDouble() - 50) < 0.5);
                QVERIFY(std::abs(first["rms"].toDouble() - 100) < 2);
            }
            if (c.files.size() == 2)
                QVERIFY(text.contains("Summary"));
            // Every page renders.
            QProcess render;
            render.start("pdftoppm", {"-r", "20", "-png", pdf, path("page")});
            QVERIFY(render.waitForFinished(60000));
            const QByteArray complaints = render.readAllStandardError();
            QVERIFY2(render.exitCode() == 0 && complaints.isEmpty(), complaints.constData());
            const int pages = text.count(QRegularExpression("Page \\d+ of (\\d+)"));
            QVERIFY(pages >= 3);
            QVERIFY(text.contains(QString("Page %1 of %1").arg(pages)));
        }

        // Bad input: exit 1 with the reason, and no report (nor a half of one) where the last stood.
        const QString pdf = path("kept.pdf");
        {
            QFile kept(pdf);
            QVERIFY(kept.open(QIODevice::WriteOnly));
            kept.write("the previous report");
        }
        const QString counts = writeSignal("counts.xml", 5000, 500, 2, CUnits::UnitType::ADC, line(100, 0));
        // A recording with its header and no block.
        const QString empty = path("empty.xml");
        {
            QFile in(half);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QString text = QString::fromUtf8(in.readAll());
            text.remove(QRegularExpression("<measurements>.*</measurements>",
                                           QRegularExpression::DotMatchesEverythingOption));
            QFile out(empty);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(text.toUtf8());
        }
        const QList<std::pair<QStringList, QByteArray>> bad{{{path("missing.xml")}, "missing.xml"},
                                                            {{half, counts}, "not a unit of the field"},
                                                            {{empty}, "no block"}};
        for (const auto& [files, reason] : bad)
        {
            const Run r = run(QStringList{"report"} + files +
                              QStringList{"--standard", "icnirp2010-public", "-o", pdf});
            QCOMPARE(r.status, 1);
            QVERIFY2(r.err.contains(reason), r.err.constData());
            QFile kept(pdf);
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), QByteArray("the previous report"));
        }
        QCOMPARE(run({"report", half, "--standard", "icnirp2010-public", "-o", half}).status, 2);
        QCOMPARE(run({"report", half, "-o", pdf}).status, 2);
        QCOMPARE(run({"report", half, "--standard", "icnirp2010-public"}).status, 2);
        QVERIFY(QDir(m_Dir->path()).entryList({"*.pdf.*", "qt_temp*"}).isEmpty());
    }

    void measureWithTheSimulatedProbe()
    {
        const Run list = run({"list", "--json"});
        QCOMPARE(list.status, 0);
        QCOMPARE(list.json().toArray().at(0)["serialNumber"].toString(), QString("SIM-0001"));

        const Run measured =
            run({"measure", "--instrument", "SIM-0001", "--rate", "1000", "--block", "50", "--blocks", "3",
                 "--unit", "uT", "--out", "f.xml", "--csv", "f.csv", "--json"});
        QCOMPARE(measured.status, 0);
        QCOMPARE(object(measured.json())["blocks"].toInt(), 3);
        CRecordingFile file(*m_Settings);
        QVERIFY2(file.Load(path("f.xml")), qPrintable(file.ErrorText()));
        QCOMPARE(file.Blocks().size(), std::size_t(3));
        QCOMPARE(file.Blocks()[2]->Results.size(), 50);
        QCOMPARE(file.DataSet()->MeasurementParameters()->AcquisitionRate(), 1000.0);
        QCOMPARE(file.DataSet()->MeasurementParameters()->Units(), CUnits::UnitType::MICRO_TESLA);
        QCOMPARE(file.DataSet()->InstrumentName(), QString("ZRQ5520 simulator SIM-0001"));
        QVERIFY(QFile(path("f.csv")).size() > 0);

        const Run missing = run({"measure", "--instrument", "SIM-9999", "--blocks", "1", "--out", "g.xml"});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains("SIM-9999") && missing.err.contains("SIM-0001"));
        QVERIFY(!QFile::exists(path("g.xml")));
        const Run badLimits = run({"measure", "--instrument", "SIM-0001", "--blocks", "1", "--limits",
                                   path("f.csv"), "--out", "g.xml"});
        QCOMPARE(badLimits.status, 1);
        QCOMPARE(badLimits.err.count('\n'), 1);
        QVERIFY(!QFile::exists(path("g.xml")));
        const Run tooFast = run({"measure", "--instrument", "SIM-0001", "--rate", "1e9", "--out", "g.xml"});
        QCOMPARE(tooFast.status, 1);
        QVERIFY(!QFile::exists(path("g.xml")));

        // A rate in the parameter file that is no number keeps the default: it must not pass
        // for one within the instrument's bounds.
        const QString parameters =
            CConstants::DefaultApplicationParameterStoragePath + "/TesvanaMeasureSettings.xml";
        QVERIFY(QDir().mkpath(CConstants::DefaultApplicationParameterStoragePath));
        {
            QFile file(parameters);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<?xml version=\"1.0\"?><OPERATION_PARAMETERS><MEASUREMENT_PARAMETERS>"
                       "<TriggerMode>Continuous</TriggerMode><AcquisitionRate>nan</AcquisitionRate>"
                       "<DisplayRate>nan</DisplayRate></MEASUREMENT_PARAMETERS></OPERATION_PARAMETERS>");
        }
        const Run notANumber =
            run({"measure", "--instrument", "SIM-0001", "--blocks", "2", "--out", "n.xml", "--json"});
        QFile::remove(parameters);
        QCOMPARE(notANumber.status, 0);
        CRecordingFile checked(*m_Settings);
        QVERIFY(checked.Load(path("n.xml")));
        const double rate = checked.DataSet()->MeasurementParameters()->AcquisitionRate();
        QVERIFY2(std::isfinite(rate) && rate > 0, qPrintable(QString::number(rate)));

        // A duration beyond 2^31 ms (24.8 days) is a long run, not one that ends at once:
        // here it ends when the probe is lost, after its third block.
        QProcessEnvironment lossy = QProcessEnvironment::systemEnvironment();
        lossy.insert("TESVANA_SIM_LOSE_AFTER_BLOCKS", "3");
        QProcess longRun;
        longRun.setProcessEnvironment(lossy);
        longRun.setWorkingDirectory(m_Dir->path());
        longRun.start(m_Program, {"measure", "--instrument", "SIM-0001", "--rate", "200", "--block", "20",
                                  "--duration", "3000000", "--out", "long.xml", "--json"});
        QVERIFY(longRun.waitForFinished(20000));
        const QJsonObject longSummary = QJsonDocument::fromJson(longRun.readAllStandardOutput()).object();
        QCOMPARE(longSummary["blocks"].toInt(), 3);

        // Ctrl+C stops an open-ended run and still saves what was measured.
        QProcess process;
        process.setWorkingDirectory(m_Dir->path());
        process.start(m_Program, {"measure", "--instrument", "SIM-0001", "--rate", "200", "--block", "20",
                                  "--out", "interrupted.xml", "--json"});
        QVERIFY(process.waitForStarted());
        QTest::qWait(2500);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        const QJsonObject summary = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QVERIFY(summary["interrupted"].toBool());
        QVERIFY(summary["blocks"].toInt() >= 1);
        CRecordingFile interrupted(*m_Settings);
        QVERIFY(interrupted.Load(path("interrupted.xml")));
        QCOMPARE(int(interrupted.Blocks().size()), summary["blocks"].toInt());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
