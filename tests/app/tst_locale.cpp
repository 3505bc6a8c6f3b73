#include "app/CSettings.h"
#include "files/CCSVResultsSerializer.h"
#include "files/CXMLResultsSerializer.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMetaTypes.h"
#include "model/CNumberText.h"
#include "operations/CMapperPositionSourceCartesian.h"
#include "operations/COperationMapping.h"
#include "operations/COperationMeasure.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

// Run by ctest under a German locale made at test time (tests/app/run_locale_test.sh):
// the application object takes the locale from the environment, as on a user's
// desktop. Every file must still carry point-decimal numbers, byte for byte those
// written under the C locale, and read back exactly.
namespace
{
QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The moment of writing is the only part of a file that may differ between two runs.
QByteArray withoutWriteTime(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    text.replace(QRegularExpression("<dateTime8601>[^<]*</dateTime8601>"), "<dateTime8601/>");
    text.replace(QRegularExpression("^Timestamp;\\d{4}\\.[^\n]*\n", QRegularExpression::MultilineOption),
                 "Timestamp;\n");
    return text.toUtf8();
}

QSharedPointer<CFieldIntensityResult> sample(int i)
{
    QSharedPointer<CFieldIntensityResult> s(new CFieldIntensityResult());
    s->Timestamp = QDateTime(QDate(2025, 6, 7), QTime(8, 9, 10, 250), Qt::LocalTime).addMSecs(i);
    s->TimestampNanosecond = 250000000ULL + quint64(i) * 1000000ULL + 123;
    s->setB(0.5f + float(i));
    s->setBBprime(-1.25e-05f);
    s->setBx(0.125f);
    s->setBy(-2.75f);
    s->setBz(1234.5f);
    s->setTemperature(quint16(300 + i));
    s->setdB(0.015625f);
    return s;
}

template <typename Block> QSharedPointer<Block> block(int samples)
{
    QSharedPointer<Block> b(new Block());
    b->setComment("block");
    for (int i = 0; i < samples; ++i)
        b->Results.append(sample(i));
    return b;
}

void fillParameters(CMeasurementParameters& p)
{
    p.setApplyConfiguration(false);
    p.setUnits(CUnits::UnitType::MILLI_TESLA);
    p.setUncertaintyUnits(CUnits::UnitType::MILLI_TESLA);
    p.setRange(0.5f);
    p.setTriggerMode(CTrigger::TriggerMode::TIMER);
    p.setAcquisitionRate(20.5);
    // Consistent with the coupling rules, which run again when the values are read.
    p.setDisplayRate(4.1);
    p.setFrequencyMin(0.25);
    p.setFrequencyMax(10.25);
    p.setNumberOfBins(2.5);
    p.setBlockSize(5);
    p.setApplyConfiguration(true);
}
} // namespace

class tst_Locale : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;

    // Every kind of file the program writes, into `folder`; returns their paths.
    QStringList writeAll(const QString& folder)
    {
        QDir().mkpath(folder);
        QStringList paths;
        CSettings settings("/p", nullptr, folder);
        settings.setMeter3DZoomLevel(1.5);
        settings.setMapping3DZoomLevel(0.75);
        if (!settings.Save())
            return {};
        paths << settings.FilePath();

        CMeasurementParameters parameters;
        fillParameters(parameters);
        CDataSetMeasurement measurement(settings);
        measurement.setMeasurementParameters(&parameters);
        measurement.AddMeasureBlock(block<CMeasureBlock>(3));
        CDataSetMapping mapping(settings);
        mapping.setMeasurementParameters(&parameters);
        QSharedPointer<CMeasureBlockMapping> point = block<CMeasureBlockMapping>(2);
        point->Position = CPosition(0.5, -1.25, 2.75);
        point->Orientation = COrientation(0.5, 90.25, -45.5);
        mapping.AddMeasureBlock(point);

        CXMLResultsSerializer xml;
        CCSVResultsSerializer csv;
        const auto save = [&](auto* set, CResultsSerializer& serializer, const QString& name) {
            QFile file(folder + "/" + name);
            if (file.open(QIODevice::WriteOnly) && serializer.Serialize(set, &file))
                paths << file.fileName();
        };
        save(&measurement, xml, "measurement.xml");
        save(&mapping, xml, "mapping.xml");
        save(&measurement, csv, "measurement.csv");
        save(&mapping, csv, "mapping.csv");

        CPluginsManager plugins(settings);
        CInstrumentSupervisor supervisor(settings);
        COperationMeasure measure(settings, plugins, supervisor);
        fillParameters(*measure.MeasurementParameters());
        measure.OperationParameters()->AlarmParametersMeter()->setMinimum(0.25);
        measure.OperationParameters()->AlarmParametersMeter()->setMaximum(1.75);
        if (measure.SaveParameters(folder + "/measure-parameters.xml"))
            paths << folder + "/measure-parameters.xml";
        COperationMapping mapper(settings, plugins, supervisor);
        CMapperPositionSourceCartesian& grid = *mapper.MappingParameters()->MapperSourceCartesian();
        grid.X()->setStart(0.5);
        grid.X()->setStop(1.5);
        grid.X()->setStepSize(0.25);
        grid.Orientation()->setYaw(22.5);
        if (mapper.SaveParameters(folder + "/mapping-parameters.xml"))
            paths << folder + "/mapping-parameters.xml";
        return paths;
    }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        // Under a locale of other digits only the dates are checked (a run of its own).
        if (!qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_DE")))
            return;
        // The point of this test is the user's locale: without it, it proves nothing.
        char text[16];
        std::snprintf(text, sizeof text, "%g", 0.5);
        QVERIFY2(std::strcmp(text, "0,5") == 0,
                 qPrintable(QString("a comma-decimal locale is not in effect (LC_NUMERIC %1, LOCPATH %2)")
                                .arg(std::setlocale(LC_NUMERIC, nullptr), qEnvironmentVariable("LOCPATH"))));
    }

    // Qt's own date formatting follows the system locale: under ar_EG it writes
    // Arabic-Indic digits. Every date a file holds has Western digits.
    void datesIgnoreTheLocale()
    {
        const QDateTime when(QDate(2025, 6, 7), QTime(8, 9, 10), Qt::LocalTime);
        const QString format = QStringLiteral("yyyy.MM.dd'T'HH:mm:ss");
        if (qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("ar_EG")))
            QVERIFY2(QLocale::system().toString(when, format) != QLatin1String("2025.06.07T08:09:10"),
                     "the Arabic locale does not change Qt's digits: this run proves nothing");
        QCOMPARE(CNumberText::DateTime(when, format), QString("2025.06.07T08:09:10"));
        QCOMPARE(CMeasureBlock::FormatTimestamp(when, 5), QString("2025.06.07T08:09:10.000000005"));

        CSettings settings("/p", nullptr, m_Dir.path());
        CDataSetMeasurement set(settings);
        set.AddMeasureBlock(block<CMeasureBlock>(2));
        const QRegularExpression western(
            QStringLiteral("^[0-9]{4}\\.[0-9]{2}\\.[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}"));
        QBuffer xml;
        xml.open(QIODevice::WriteOnly);
        CXMLResultsSerializer writer;
        QVERIFY(writer.Serialize(&set, &xml));
        const QString text = QString::fromUtf8(xml.data());
        const int from = text.indexOf(QLatin1String("<dateTime8601>")) + 14;
        const QString header = text.mid(from, text.indexOf(QLatin1Char('<'), from) - from);
        QVERIFY2(western.match(header).hasMatch(), qPrintable(header));
        QBuffer csv;
        csv.open(QIODevice::WriteOnly | QIODevice::Text);
        CCSVResultsSerializer csvWriter;
        QVERIFY(csvWriter.Serialize(&set, &csv));
        const QString csvText = QString::fromUtf8(csv.data());
        const QString csvDate = csvText.mid(csvText.indexOf(QLatin1String("Timestamp;")) + 10, 19);
        QVERIFY2(western.match(csvDate).hasMatch(), qPrintable(csvDate));
    }

    void numberTextsIgnoreTheLocale()
    {
        QCOMPARE(CNumberText::G6(0.5), QString("0.5"));
        QCOMPARE(CNumberText::G6(1e-05), QString("1e-05"));
        QCOMPARE(CNumberText::G6(1234567.0), QString("1.23457e+06"));
        QCOMPARE(CNumberText::G6(-20.5), QString("-20.5"));
        QCOMPARE(CNumberText::ToDouble(QStringLiteral(" 20.5 ")), 20.5);
        QCOMPARE(CNumberText::ToFloat(QStringLiteral("+1.5e-3")), 1.5e-3f);
        bool ok = true;
        QCOMPARE(CNumberText::ToDouble(QStringLiteral("0,5"), &ok), 0.0);
        QVERIFY(!ok);
    }

    // Samples take the single-precision way: its text must be the exact value's, digit for digit.
    void singlePrecisionTextsAreTheExactOnes()
    {
        const auto same = [](float value) {
            char a[CNumberText::MaxG6Length];
            char b[CNumberText::MaxG6Length];
            const QByteArray single(a, int(CNumberText::WriteG6(a, value) - a));
            const QByteArray exact(b, int(CNumberText::WriteG6(b, double(value)) - b));
            if (single != exact)
                qWarning() << value << single << exact;
            return single == exact;
        };
        // Ties of six digits, carries into a new power of ten, the ends of the range, subnormals, zeros.
        const float hard[] = {999999.5f,
                              123456.5f,
                              9.999995e-05f,
                              9.9999949e-05f,
                              0.1f,
                              1.0f,
                              100000.0f,
                              1e-4f,
                              9.99999e-5f,
                              1e6f,
                              999999.0f,
                              0.000123456f,
                              1.5e-45f,
                              1.17549435e-38f,
                              3.40282347e38f,
                              -0.0f,
                              0.0f,
                              -5.33633e-05f,
                              std::numeric_limits<float>::infinity()};
        for (float value : hard)
            QVERIFY(same(value));
        // A spread over every bit pattern (checked exhaustively once, too slow for each run).
        for (quint64 bits = 0; bits < (1ULL << 32); bits += 4099)
        {
            const quint32 pattern = quint32(bits);
            float value;
            std::memcpy(&value, &pattern, sizeof value);
            if (!std::isnan(value))
                QVERIFY(same(value));
        }
        char nan[CNumberText::MaxG6Length];
        QCOMPARE(QByteArray(nan, int(CNumberText::WriteG6(nan, std::nanf("")) - nan)), QByteArray("nan"));
    }

    void filesAreTheSameAsUnderTheCLocale()
    {
        const QStringList german = writeAll(m_Dir.path() + "/de");
        QCOMPARE(german.size(), 7);

        const std::string user = std::setlocale(LC_NUMERIC, nullptr);
        std::setlocale(LC_NUMERIC, "C");
        const QStringList plain = writeAll(m_Dir.path() + "/c");
        std::setlocale(LC_NUMERIC, user.c_str());
        QCOMPARE(plain.size(), german.size());

        for (int i = 0; i < german.size(); ++i)
        {
            const QByteArray bytes = readFile(german.at(i));
            QVERIFY2(!bytes.isEmpty(), qPrintable(german.at(i)));
            QVERIFY2(!bytes.contains("0,5") && !bytes.contains("20,5"), qPrintable(german.at(i)));
            QCOMPARE(withoutWriteTime(bytes), withoutWriteTime(readFile(plain.at(i))));
        }
    }

    void filesReadBackEveryNumber()
    {
        const QString folder = m_Dir.path() + "/back";
        QCOMPARE(writeAll(folder).size(), 7);
        CSettings settings("/p", nullptr, folder);
        settings.Load();
        QCOMPARE(settings.Meter3DZoomLevel(), 1.5);
        QCOMPARE(settings.Mapping3DZoomLevel(), 0.75);

        CXMLResultsSerializer xml;
        QFile file(folder + "/measurement.xml");
        QVERIFY(file.open(QIODevice::ReadOnly));
        CDataSetMeasurement measurement(settings);
        QVERIFY(xml.Deserialize(&file, &measurement));
        file.close();
        QCOMPARE(measurement.MeasurementParameters()->AcquisitionRate(), 20.5);
        QCOMPARE(measurement.MeasurementParameters()->DisplayRate(), 4.1);
        QCOMPARE(measurement.MeasurementParameters()->NumberOfBins(), 2.5);
        QCOMPARE(measurement.MeasurementParameters()->Range(), 0.5f);
        const CFieldIntensityResult& s = *measurement.MeasureBlocks()->front()->Results.at(2);
        QCOMPARE(s.B(), 2.5f);
        QCOMPARE(s.BBprime(), -1.25e-05f);
        QCOMPARE(s.Bx(), 0.125f);
        QCOMPARE(s.By(), -2.75f);
        QCOMPARE(s.Bz(), 1234.5f);
        QCOMPARE(s.dB(), 0.015625f);
        QCOMPARE(s.TimestampNanosecond, quint64(252000123));

        file.setFileName(folder + "/mapping.xml");
        QVERIFY(file.open(QIODevice::ReadOnly));
        CDataSetMapping mapping(settings);
        QVERIFY(xml.Deserialize(&file, &mapping));
        QCOMPARE(mapping.MeasureBlocks()->front()->Position, CPosition(0.5, -1.25, 2.75));
        QCOMPARE(mapping.MeasureBlocks()->front()->Orientation.Pitch(), 90.25);

        CPluginsManager plugins(settings);
        CInstrumentSupervisor supervisor(settings);
        COperationMeasure measure(settings, plugins, supervisor);
        QVERIFY(measure.LoadParameters(folder + "/measure-parameters.xml"));
        QCOMPARE(measure.MeasurementParameters()->AcquisitionRate(), 20.5);
        QCOMPARE(measure.MeasurementParameters()->DisplayRate(), 4.1);
        QCOMPARE(measure.MeasurementParameters()->FrequencyMin(), 0.25);
        QCOMPARE(measure.OperationParameters()->AlarmParametersMeter()->Minimum(), 0.25);
        QCOMPARE(measure.OperationParameters()->AlarmParametersMeter()->Maximum(), 1.75);
        COperationMapping mapper(settings, plugins, supervisor);
        QVERIFY(mapper.LoadParameters(folder + "/mapping-parameters.xml"));
        CMapperPositionSourceCartesian& grid = *mapper.MappingParameters()->MapperSourceCartesian();
        QCOMPARE(grid.X()->Start(), 0.5);
        QCOMPARE(grid.X()->Stop(), 1.5);
        QCOMPARE(grid.X()->StepSize(), 0.25);
        QCOMPARE(grid.Orientation()->Yaw(), 22.5);

        // Written again from what was read: the same bytes.
        QVERIFY(measure.SaveParameters(folder + "/again.xml"));
        QCOMPARE(readFile(folder + "/again.xml"), readFile(folder + "/measure-parameters.xml"));
    }
};

QTEST_MAIN(tst_Locale)
#include "tst_locale.moc"
