#include "app/CSettings.h"
#include "files/CCSVResultsSerializer.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMetaTypes.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace
{
QSharedPointer<CFieldIntensityResult> sample(int i, const QDateTime& base)
{
    QSharedPointer<CFieldIntensityResult> s(new CFieldIntensityResult());
    s->Timestamp = base.addMSecs(i * 7);
    // The file keeps whole seconds and the nanosecond part, which holds the milliseconds.
    s->TimestampNanosecond = quint64(s->Timestamp.time().msec()) * 1000000ULL + quint64(i) * 13 % 1000000;
    s->setBx(1.234567e-5f * float(i + 1));
    s->setBy(-0.5f + float(i));
    s->setBz(3.14159265f);
    s->setB(std::sqrt(s->Bx() * s->Bx() + s->By() * s->By() + s->Bz() * s->Bz()));
    s->setBBprime(0.25f * float(i));
    s->setTemperature(quint16(30000 + i));
    s->setdB(i == 1 ? std::numeric_limits<float>::quiet_NaN() : 1.5e-5f);
    return s;
}

template <typename Block>
QSharedPointer<Block> block(int samples, const QString& comment, const QDateTime& base)
{
    QSharedPointer<Block> b(new Block());
    b->setComment(comment);
    for (int i = 0; i < samples; ++i)
        b->Results.append(sample(i, base));
    return b;
}

bool sameFloat6(float a, float b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::fabs(a - b) <= 5e-6f * std::max(std::fabs(a), std::fabs(b)) + 1e-30f;
}

QByteArray write(CResultsSerializer& serializer, CDataSetMeasurement* set)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    serializer.Serialize(set, &buffer);
    return buffer.data();
}

QByteArray wrapMeasurement(const QByteArray& dataset, const QByteArray& bodyVersion = "1.1")
{
    return "<?xml version=\"1.0\"?>\n<KorvelinXmlRecord "
           "ver=\"1.0\">\n<header><dateTime8601>2020.01.02T03:04:05"
           "</dateTime8601><src>x</src></header>\n<body type=\"tKXR_BODY_TESVANA\" ver=\"" +
           bodyVersion + "\"><comment>c</comment><instrument>probe</instrument>\n" + dataset +
           "</body></KorvelinXmlRecord>\n";
}
} // namespace

class tst_Results : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;
    CSettings* m_Settings = nullptr;
    const QDateTime m_Base = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 120), Qt::LocalTime);

    void fillMeasurement(CDataSetMeasurement& set, CMeasurementParameters& parameters)
    {
        parameters.setApplyConfiguration(false);
        parameters.setUnits(CUnits::UnitType::MICRO_TESLA);
        parameters.setRange(0.5f);
        parameters.setAutoRange(true);
        parameters.setTriggerMode(CTrigger::TriggerMode::CONTINUOUS);
        parameters.setAcquisitionRate(1234.5);
        parameters.setDisplayRate(10);
        parameters.setAveraging(4);
        parameters.setFrequencyMin(1e-5);
        parameters.setFrequencyMax(617.25);
        parameters.setNumberOfBins(61.725);
        parameters.setBlockSize(123);
        parameters.setApplyConfiguration(true);
        set.setMeasurementParameters(&parameters);
        set.setComment("body <comment> & \"quotes\"\nsecond line");
        set.setInstrumentName("Simulated probe - SIM-0001");
        set.AddMeasureBlock(block<CMeasureBlock>(3, "first", m_Base));
        set.AddMeasureBlock(block<CMeasureBlock>(0, "", m_Base));
        set.AddMeasureBlock(block<CMeasureBlock>(5, QString::fromUtf8("µT ü"), m_Base.addSecs(1)));
    }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        m_Settings = new CSettings("/p", this, m_Dir.path());
    }

    void measurementRoundTrip()
    {
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        fillMeasurement(set, parameters);
        CXMLResultsSerializer serializer;
        const QByteArray xml = write(serializer, &set);
        QVERIFY(xml.startsWith("<?xml version=\"1.0\""));
        QVERIFY(xml.contains("<KorvelinXmlRecord ver=\"1.0\">"));
        QVERIFY(xml.contains("<body type=\"tKXR_BODY_TESVANA\" ver=\"1.1\">"));
        QVERIFY(xml.contains("<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.2\">"));
        QVERIFY(xml.contains("<headings colsep=\";\">Timestamp;B;B.B';Bx;By;Bz;Temp;dB</headings>"));
        QVERIFY(xml.contains(
            "<parameters>Units=\xC2\xB5T Range=0.5 AutoRange=1 TriggerMode=Continuous AcqRate=1234.5 "
            "DispRate=10 Avg=4 FreqMin=1e-05 FreqMax=617.25 Bins=61.725 BlockSize=123</parameters>"));
        QVERIFY(xml.contains("<src>Tesvana v1.2.4</src>"));
        QVERIFY(xml.contains(";nan\n"));
        QVERIFY(xml.indexOf("<header>") < xml.indexOf("<body"));

        QBuffer buffer;
        buffer.setData(xml);
        buffer.open(QIODevice::ReadOnly);
        CDataSetMeasurement loaded(*m_Settings);
        QVERIFY2(serializer.Deserialize(&buffer, &loaded), qPrintable(serializer.LastErrorMessage()));
        QCOMPARE(loaded.Comment(), set.Comment());
        QCOMPARE(loaded.InstrumentName(), set.InstrumentName());
        QVERIFY(!loaded.Date().isEmpty());
        QCOMPARE(loaded.ResultsCount(), qulonglong(8));
        QCOMPARE(loaded.MeasureBlocks()->size(), std::size_t(3));
        const CMeasurementParameters* p = loaded.MeasurementParameters();
        QVERIFY(p && p != &parameters);
        QCOMPARE(p->ToString(" "), parameters.ToString(" "));
        QCOMPARE(p->DisplayUnits(), CUnits::UnitType::MICRO_TESLA);
        QCOMPARE(p->UncertaintyUnits(), CUnits::UnitType::MICRO_TESLA);
        for (std::size_t b = 0; b < 3; ++b)
        {
            const CMeasureBlock& original = *set.MeasureBlocks()->at(b);
            const CMeasureBlock& copy = *loaded.MeasureBlocks()->at(b);
            QCOMPARE(copy.Comment(), original.Comment());
            QCOMPARE(copy.Results.size(), original.Results.size());
            for (int i = 0; i < copy.Results.size(); ++i)
            {
                const CFieldIntensityResult& a = *original.Results.at(i);
                const CFieldIntensityResult& c = *copy.Results.at(i);
                QCOMPARE(c.TimestampNanosecond, a.TimestampNanosecond);
                QCOMPARE(c.Timestamp, a.Timestamp);
                QVERIFY(sameFloat6(c.B(), a.B()) && sameFloat6(c.Bx(), a.Bx()) && sameFloat6(c.By(), a.By()));
                QVERIFY(sameFloat6(c.Bz(), a.Bz()) && sameFloat6(c.BBprime(), a.BBprime()));
                QVERIFY(sameFloat6(c.dB(), a.dB()));
                QCOMPARE(c.Temperature(), a.Temperature());
                QVERIFY(std::isnan(c.dBConverted()));
            }
        }
        QCOMPARE(write(serializer, &loaded).mid(xml.indexOf("<body")), xml.mid(xml.indexOf("<body")));
    }

    // Large blocks are parsed on a second thread (and by the reader itself when that
    // thread is behind); small and empty ones between them. Each block is announced
    // whole and in file order, the samples are those written, the count is the sum;
    // the same file cut short fails without leaving a thread behind.
    void largeBlocksReadOnTwoThreads()
    {
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        fillMeasurement(set, parameters);
        const QList<int> sizes = {4000, 7, 0, 3000, 5000, 4500, 2, 6000, 4000};
        for (int b = 0; b < sizes.size(); ++b)
            set.AddMeasureBlock(block<CMeasureBlock>(sizes[b], QString::number(b), m_Base.addSecs(10 * b)));
        CXMLResultsSerializer serializer;
        const QByteArray xml = write(serializer, &set);
        QVERIFY(xml.size() > 2000000);

        for (int pass = 0; pass < 3; ++pass)
        {
            QBuffer buffer;
            buffer.setData(xml);
            buffer.open(QIODevice::ReadOnly);
            CDataSetMeasurement loaded(*m_Settings);
            CXMLResultsSerializer reader;
            QStringList announced;
            reader.setBlockRead([&announced](const QSharedPointer<CMeasureBlock>& block) {
                announced << block->Comment() + ":" + QString::number(block->Results.size());
            });
            QVERIFY2(reader.Deserialize(&buffer, &loaded), qPrintable(reader.LastErrorMessage()));
            QStringList expected;
            qulonglong total = 0;
            for (const auto& original : *set.MeasureBlocks())
            {
                expected << original->Comment() + ":" + QString::number(original->Results.size());
                total += qulonglong(original->Results.size());
            }
            QCOMPARE(announced, expected);
            QCOMPARE(loaded.ResultsCount(), total);
            QCOMPARE(write(serializer, &loaded).mid(xml.indexOf("<body")), xml.mid(xml.indexOf("<body")));
        }

        // Cut short inside a block the second thread parses: the blocks before it load,
        // announced whole, and the block cut is not among them.
        QBuffer cut;
        cut.setData(xml.left(xml.size() * 2 / 3));
        cut.open(QIODevice::ReadOnly);
        CDataSetMeasurement partial(*m_Settings);
        CXMLResultsSerializer reader;
        QStringList announced;
        reader.setBlockRead([&announced](const QSharedPointer<CMeasureBlock>& block) {
            announced << block->Comment() + ":" + QString::number(block->Results.size());
        });
        QVERIFY2(reader.Deserialize(&cut, &partial), qPrintable(reader.LastErrorMessage()));
        const int whole = int(xml.left(xml.size() * 2 / 3).count("</measurements>"));
        QCOMPARE(int(partial.MeasureBlocks()->size()), whole);
        QCOMPARE(announced.size(), whole);
        qulonglong total = 0;
        for (int b = 0; b < whole; ++b)
            total += qulonglong(set.MeasureBlocks()->at(std::size_t(b))->Results.size());
        QCOMPARE(partial.ResultsCount(), total);
        QVERIFY(reader.CutShortNotice().contains(QString("the %1 complete blocks").arg(whole)));
    }

    // The whole-file save is the streamed pieces one after the other, in the layout the
    // files have always had (so files written as measured and saved whole are alike).
    void fileIsHeadBlocksAndTail()
    {
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        fillMeasurement(set, parameters);
        CXMLResultsSerializer serializer;
        const QByteArray xml = write(serializer, &set);
        QBuffer pieces;
        pieces.open(QIODevice::WriteOnly);
        pieces.write(CXMLResultsSerializer::Head(&set));
        for (const auto& b : *set.MeasureBlocks())
        {
            QByteArray rows;
            b->AppendRows(rows, ";");
            QVERIFY(CXMLResultsSerializer::WriteBlock(pieces, *b, rows));
        }
        pieces.write(CXMLResultsSerializer::Tail());
        const auto withoutDate = [](QByteArray text) {
            const int at = text.indexOf("<dateTime8601>");
            return text.remove(at, text.indexOf("</dateTime8601>") - at);
        };
        QCOMPARE(withoutDate(pieces.data()), withoutDate(xml));
        QVERIFY(xml.endsWith("    </measurements>\n        </dataset>\n    </body>\n</KorvelinXmlRecord>\n"));
        QVERIFY(xml.contains(
            "\n        <comment>body &lt;comment&gt; &amp; &quot;quotes&quot;\nsecond line</comment>\n"));
        QVERIFY(xml.contains("BlockSize=123</parameters>\n            <measurements>\n"
                             "                <comment>first</comment>\n                <flux>"));
        QVERIFY(xml.contains("</flux>\n            </measurements>\n            <measurements>\n"
                             "                <comment></comment>\n                <flux></flux>\n"));

        CDataSetMapping map(*m_Settings);
        map.setMeasurementParameters(&parameters);
        QSharedPointer<CMeasureBlockMapping> point = block<CMeasureBlockMapping>(2, "p", m_Base);
        point->Position = CPosition(1.5, -2, 3);
        point->Orientation = COrientation(90, 0, 0.25);
        map.AddMeasureBlock(point);
        QBuffer mapped;
        mapped.open(QIODevice::WriteOnly);
        QVERIFY(serializer.Serialize(&map, &mapped));
        QVERIFY(mapped.data().contains(
            "            <measurements>\n                <comment>p</comment>\n"
            "                <position unit=\"\">1.5;-2;3</position>\n"
            "                <orientation unit=\"degree\">90;0;0.25</orientation>\n                <flux>"));
    }

    // A file that ends anywhere (a crash while recording) loads every block written whole
    // before the end and says it was cut short; one that ends before its first block fails.
    void cutShortLoadsEveryCompleteBlock()
    {
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        fillMeasurement(set, parameters);
        CXMLResultsSerializer writer;
        const QByteArray xml = write(writer, &set);
        for (int size = 0; size < xml.size(); ++size)
        {
            const QByteArray cut = xml.left(size);
            QBuffer buffer;
            buffer.setData(cut);
            buffer.open(QIODevice::ReadOnly);
            CDataSetMeasurement loaded(*m_Settings);
            CXMLResultsSerializer reader;
            const bool ok = reader.Deserialize(&buffer, &loaded);
            const int whole = int(cut.count("</measurements>"));
            QVERIFY2(ok == (whole > 0), qPrintable(QString::number(size)));
            QCOMPARE(int(loaded.MeasureBlocks()->size()), whole);
            if (!ok)
            {
                QVERIFY(!reader.LastErrorMessage().isEmpty());
                continue;
            }
            qulonglong samples = 0;
            for (int b = 0; b < whole; ++b)
            {
                QCOMPARE(loaded.MeasureBlocks()->at(std::size_t(b))->Results.size(),
                         set.MeasureBlocks()->at(std::size_t(b))->Results.size());
                samples += qulonglong(set.MeasureBlocks()->at(std::size_t(b))->Results.size());
            }
            QCOMPARE(loaded.ResultsCount(), samples);
            QCOMPARE(reader.CutShortNotice().isEmpty(),
                     cut.endsWith("</KorvelinXmlRecord>\n") || cut.endsWith("</KorvelinXmlRecord>"));
        }
    }

    // A block may hold several flux texts, each appending to it. Texts large enough
    // for the second thread and small ones between them, in one block, come back as
    // every row in file order, read after read; the set written back reads back alike.
    // The column separator of a later headings element holds on the threaded path too.
    void multiFluxBlocksKeepEveryRowInOrder()
    {
        int row = 0;
        const auto flux = [&row](int rows, char separator) {
            QByteArray text = "<flux>";
            for (int r = 0; r < rows; ++r, ++row)
            {
                if (r > 0)
                    text += '\n';
                const QByteArray n = QByteArray::number(row);
                text += "2024.03.05T14:07:" + QByteArray::number(10 + row / 100000).rightJustified(2, '0') +
                        '.' + QByteArray::number(row % 100000).rightJustified(9, '0');
                for (const QByteArray& value : {n, QByteArray("2"), n, QByteArray("-" + n), QByteArray("5"),
                                                QByteArray("300"), QByteArray("1e-06")})
                    text += separator + value;
            }
            return text + "</flux>";
        };
        QByteArray dataset = "<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.2\">"
                             "<headings colsep=\";\">Timestamp;B;B.B';Bx;By;Bz;Temp;dB</headings>";
        const QList<QList<int>> blocks = {{15000, 4000, 1, 1, 15000}, {1, 2}, {9000}, {3, 9000, 3}};
        QList<int> perBlock;
        for (const QList<int>& texts : blocks)
        {
            dataset += "<measurements><comment>b</comment>";
            perBlock << 0;
            for (const int rows : texts)
            {
                dataset += flux(rows, ';');
                perBlock.last() += rows;
            }
            dataset += "</measurements>";
        }
        // From here on the file's columns are separated by commas.
        dataset += "<headings colsep=\",\"/><measurements>";
        dataset += flux(12000, ',');
        dataset += flux(5, ',');
        dataset += "</measurements>";
        perBlock << 12005;
        dataset += "</dataset>";
        const QByteArray xml = wrapMeasurement(dataset);

        QByteArray firstWrite;
        for (int pass = 0; pass < 20; ++pass)
        {
            QBuffer buffer;
            buffer.setData(xml);
            buffer.open(QIODevice::ReadOnly);
            CDataSetMeasurement loaded(*m_Settings);
            CXMLResultsSerializer reader;
            QVERIFY2(reader.Deserialize(&buffer, &loaded), qPrintable(reader.LastErrorMessage()));
            QCOMPARE(loaded.ResultsCount(), qulonglong(row));
            QCOMPARE(int(loaded.MeasureBlocks()->size()), perBlock.size());
            int expected = 0;
            for (int b = 0; b < perBlock.size(); ++b)
            {
                const CMeasureBlock& block = *loaded.MeasureBlocks()->at(size_t(b));
                QCOMPARE(block.Results.size(), perBlock.at(b));
                for (const auto& sample : block.Results)
                {
                    if (sample->Bx() != float(expected) || sample->By() != -float(expected) ||
                        sample->Temperature() != 300 ||
                        sample->TimestampNanosecond != quint64(expected % 100000))
                        QFAIL(qPrintable(QString("pass %1, block %2: row %3 read as Bx %4, temperature %5")
                                             .arg(pass)
                                             .arg(b)
                                             .arg(expected)
                                             .arg(double(sample->Bx()))
                                             .arg(sample->Temperature())));
                    ++expected;
                }
            }
            CXMLResultsSerializer writer;
            const QByteArray written = write(writer, &loaded);
            if (pass == 0)
                firstWrite = written;
            QCOMPARE(written.mid(written.indexOf("<body")), firstWrite.mid(firstWrite.indexOf("<body")));
        }
        QBuffer again;
        again.setData(firstWrite);
        again.open(QIODevice::ReadOnly);
        CDataSetMeasurement reloaded(*m_Settings);
        CXMLResultsSerializer reader;
        QVERIFY(reader.Deserialize(&again, &reloaded));
        const QByteArray rewritten = write(reader, &reloaded);
        QCOMPARE(rewritten.mid(rewritten.indexOf("<body")), firstWrite.mid(firstWrite.indexOf("<body")));
    }

    // Each row starts at its first column: the layout's line feeds and indentation
    // around the rows make no sample and shift no value.
    void rowsStartAtTheirFirstColumn()
    {
        const QByteArray xml = wrapMeasurement(
            "<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.2\">"
            "<headings colsep=\";\">Timestamp;B;B.B';Bx;By;Bz;Temp;dB</headings>"
            "<measurements><flux>\n        2024.01.01T00:00:00.5;7;1;2;3;4;5;6\n\n"
            "        2024.01.01T00:00:01.25;8;1;2;3;4;5;6\r\n      </flux></measurements>"
            "<measurements><flux>2024.01.01T00:00:02.0;9;1;2;3;4;5;6\n</flux></measurements></dataset>");
        QBuffer buffer;
        buffer.setData(xml);
        buffer.open(QIODevice::ReadOnly);
        CDataSetMeasurement set(*m_Settings);
        CXMLResultsSerializer reader;
        QVERIFY(reader.Deserialize(&buffer, &set));
        QCOMPARE(set.ResultsCount(), qulonglong(3));
        const CMeasureBlock& first = *set.MeasureBlocks()->at(0);
        QCOMPARE(first.Results.size(), 2);
        QCOMPARE(first.Results.at(0)->B(), 7.0f);
        QCOMPARE(first.Results.at(0)->dB(), 6.0f);
        QCOMPARE(first.Results.at(1)->B(), 8.0f);
        QCOMPARE(first.Results.at(1)->TimestampNanosecond, quint64(250000000));
        for (const auto& sample : first.Results)
            QVERIFY(sample->Timestamp.isValid());
        QCOMPARE(set.MeasureBlocks()->at(1)->Results.size(), 1);
        QCOMPARE(set.MeasureBlocks()->at(1)->Results.at(0)->B(), 9.0f);
    }

    void mappingRoundTripCountsBlocks()
    {
        CMeasurementParameters parameters;
        parameters.setBlockSize(4);
        CDataSetMapping set(*m_Settings);
        set.setMeasurementParameters(&parameters);
        for (int i = 0; i < 3; ++i)
        {
            QSharedPointer<CMeasureBlockMapping> b =
                block<CMeasureBlockMapping>(4, QString("p%1").arg(i), m_Base);
            b->Position = CPosition(i * 1.5, -2.25, 1e6 + i);
            b->Orientation = COrientation(90, -45.5, 0.125 * i);
            set.AddMeasureBlock(b);
        }
        CXMLResultsSerializer serializer;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(serializer.Serialize(&set, &buffer));
        QVERIFY(buffer.data().contains("<position unit=\"\">3;-2.25;1e+06</position>"));
        QVERIFY(buffer.data().contains("<orientation unit=\"degree\">90;-45.5;0.25</orientation>"));
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        CDataSetMapping loaded(*m_Settings);
        QVERIFY(serializer.Deserialize(&buffer, &loaded));
        QCOMPARE(loaded.ResultsCount(), qulonglong(3));
        QCOMPARE(loaded.MeasureBlocks()->at(2)->Position.Y(), -2.25);
        QCOMPARE(loaded.MeasureBlocks()->at(1)->Orientation.Pitch(), -45.5);
        QCOMPARE(loaded.MeasureBlocks()->at(1)->Results.size(), 4);

        // A measurement file is not a mapping file.
        CDataSetMeasurement measurement(*m_Settings);
        buffer.seek(0);
        QVERIFY(!serializer.Deserialize(&buffer, &measurement));
        QCOMPARE(serializer.LastErrorMessage(),
                 QString("The file does not contain a dataset of type tKXR_DATASET_TESVANA_MEASUREMENT"));
    }

    void version11RowsHaveNoUncertainty()
    {
        const QByteArray file =
            wrapMeasurement("<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.1\"><headings "
                            "colsep=\";\">x</headings>"
                            "<parameters>Units=mT Range=2 AutoRange=0 TriggerMode=Timer AcqRate=100 "
                            "DispRate=1 Avg=1 FreqMin=0 "
                            "FreqMax=50 Bins=50 BlockSize=100</parameters>"
                            "<measurements><comment>hand</comment><flux>2021.12.31T23:59:59.5;1;2;3;4;5;300\n"
                            "2021.12.31T23:59:59.123456789123;1;2;3;4;5;301</flux></measurements></dataset>");
        QBuffer buffer;
        buffer.setData(file);
        buffer.open(QIODevice::ReadOnly);
        CDataSetMeasurement set(*m_Settings);
        CXMLResultsSerializer serializer;
        QVERIFY(serializer.Deserialize(&buffer, &set));
        QCOMPARE(set.Date(), QString("2020.01.02T03:04:05"));
        QCOMPARE(set.ResultsCount(), qulonglong(2));
        const CMeasureBlock& b = *set.MeasureBlocks()->front();
        QVERIFY(std::isnan(b.Results[0]->dB()));
        QCOMPARE(b.Results[0]->Temperature(), quint16(300));
        QCOMPARE(b.Results[0]->TimestampNanosecond, quint64(500000000));
        QCOMPARE(b.Results[0]->Timestamp.time().msec(), 500);
        QCOMPARE(b.Results[1]->TimestampNanosecond, quint64(123456789));
        QCOMPARE(b.Results[1]->Timestamp,
                 QDateTime(QDate(2021, 12, 31), QTime(23, 59, 59, 123), Qt::LocalTime));
        QCOMPARE(set.MeasurementParameters()->Units(), CUnits::UnitType::MILLI_TESLA);
        QCOMPARE(set.MeasurementParameters()->TriggerMode(), CTrigger::TriggerMode::TIMER);
        QCOMPARE(set.MeasurementParameters()->BlockSize(), 100);
    }

    void parametersApplyByPosition()
    {
        CDataSetMeasurement set(*m_Settings);
        QBuffer buffer;
        buffer.setData(
            wrapMeasurement("<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.2\"><parameters>"
                            "Units=G Range=3 TriggerMode=External AcqRate=10</parameters></dataset>"));
        buffer.open(QIODevice::ReadOnly);
        CXMLResultsSerializer serializer;
        QVERIFY(serializer.Deserialize(&buffer, &set));
        // "AutoRange=" is missing: every later value lands one property early.
        QCOMPARE(set.MeasurementParameters()->AutoRange(), false); // "External" is not a number
        QCOMPARE(set.MeasurementParameters()->TriggerMode(), CTrigger::TriggerMode::CONTINUOUS);
        QCOMPARE(set.MeasurementParameters()->Units(), CUnits::UnitType::GAUSS);
    }

    void timestampPieces()
    {
        QCOMPARE(CXMLResultsSerializer::StringToTimestampNanosecond("2024.01.01T00:00:00.5"),
                 quint64(500000000));
        QCOMPARE(CXMLResultsSerializer::StringToTimestampNanosecond("2024.01.01T00:00:00.000000005"),
                 quint64(5));
        QCOMPARE(CXMLResultsSerializer::StringToTimestampNanosecond("2024.01.01T00:00:00"), quint64(0));
        QVERIFY(!CXMLResultsSerializer::StringToTimestamp("garbage").isValid());
        QVERIFY(!CXMLResultsSerializer::StringToTimestamp("").isValid());
        QCOMPARE(CXMLResultsSerializer::StringToTimestamp("2024.02.29T23:59:59.999"),
                 QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999), Qt::LocalTime));
        QCOMPARE(CXMLResultsSerializer::StringToTimestamp("2024.1.2T3:04:05"), QDateTime());
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("blocks");
        QTest::newRow("empty") << QByteArray() << "The file is empty" << 0;
        QTest::newRow("prolog only") << QByteArray("<?xml version=\"1.0\"?>\n  ") << "The file is empty" << 0;
        QTest::newRow("root version") << QByteArray("<KorvelinXmlRecord ver=\"1.00\"/>")
                                      << "The file is not a valid Korvelin XML measurement file" << 0;
        QTest::newRow("other root") << QByteArray("<Other ver=\"1.0\"/>")
                                    << "The file is not a valid Korvelin XML measurement file" << 0;
        QTest::newRow("body version")
            << wrapMeasurement("", "2.0")
            << "The Korvelin XML record file body is not supported. (read body v2.0)." << 0;
        QTest::newRow("dataset version")
            << wrapMeasurement("<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.3\"/>")
            << "The measurement dataset type is not supported. (read body v1.3)." << 0;
        const QByteArray whole =
            wrapMeasurement("<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.2\">"
                            "<measurements><flux>2024.01.01T00:00:00.0;1;1;1;1;1;1;1"
                            "</flux></measurements><measurements><flux>2024.01.01T00:00:00.5;"
                            "1;1;1;1;1;1;1</flux></measurements></dataset>");
        // Cut inside the first block: no block whole.
        QTest::newRow("truncated") << whole.left(whole.indexOf("2024.01.01") + 6)
                                   << "The file is malformed at line" << 0;
        QTest::newRow("garbage") << QByteArray("\x01\x02 not xml at all") << "The file is malformed at line"
                                 << 0;
        // Refused, well-formed as it is: a tree of it would exhaust the stack.
        QTest::newRow("nested 100000 deep")
            << wrapMeasurement(QByteArray("<x>").repeated(100000) + QByteArray("</x>").repeated(100000))
            << "The file is malformed at line" << 0;
    }

    void failures()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(int, blocks);
        QBuffer buffer;
        buffer.setData(content);
        buffer.open(QIODevice::ReadOnly);
        CDataSetMeasurement set(*m_Settings);
        CXMLResultsSerializer serializer;
        QVERIFY(!serializer.Deserialize(&buffer, &set));
        QVERIFY2(serializer.LastErrorMessage().startsWith(message),
                 qPrintable(serializer.LastErrorMessage()));
        if (QTest::currentDataTag() == QLatin1String("nested 100000 deep"))
            QVERIFY(serializer.LastErrorMessage().endsWith("The document is nested deeper than 64 levels"));
        QCOMPARE(int(set.MeasureBlocks()->size()), blocks);
    }

    void otherBodyLoadsEmptyAndBadPositionFails()
    {
        QBuffer buffer;
        buffer.setData("<KorvelinXmlRecord ver=\"1.0\"><body type=\"other\" ver=\"9\"><dataset/></body>"
                       "</KorvelinXmlRecord>");
        buffer.open(QIODevice::ReadOnly);
        CDataSetMeasurement set(*m_Settings);
        CXMLResultsSerializer serializer;
        QVERIFY(serializer.Deserialize(&buffer, &set));
        QCOMPARE(set.MeasureBlocks()->size(), std::size_t(0));

        QBuffer mapping;
        mapping.setData(
            "<KorvelinXmlRecord ver=\"1.0\"><body type=\"tKXR_BODY_TESVANA\" ver=\"1.1\">"
            "<dataset type=\"tKXR_DATASET_TESVANA_MAPPING\" ver=\"1.2\"><measurements>"
            "<position>1;2</position></measurements><measurements/></dataset></body></KorvelinXmlRecord>");
        mapping.open(QIODevice::ReadOnly);
        CDataSetMapping mappingSet(*m_Settings);
        QVERIFY(!serializer.Deserialize(&mapping, &mappingSet));
        QCOMPARE(mappingSet.MeasureBlocks()->size(), std::size_t(1));
        QCOMPARE(mappingSet.ResultsCount(), qulonglong(0));
    }

    void unknownUnitsKeepEveryParameter()
    {
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        fillMeasurement(set, parameters);
        parameters.setUnits(CUnits::UnitType::UNKNOWN);
        parameters.setAcquisitionRate(20.5);
        parameters.setDisplayRate(2.5);
        CXMLResultsSerializer serializer;
        const QByteArray bytes = write(serializer, &set);
        // The unit text stays one space, as other readers of the format expect.
        QVERIFY(bytes.contains("<parameters>Units=  Range=0.5 AutoRange=1"));

        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        CDataSetMeasurement loaded(*m_Settings);
        QVERIFY(serializer.Deserialize(&buffer, &loaded));
        const CMeasurementParameters* read = loaded.MeasurementParameters();
        QCOMPARE(read->Units(), CUnits::UnitType::UNKNOWN);
        QCOMPARE(read->ToString(" "), parameters.ToString(" "));
        QCOMPARE(read->AcquisitionRate(), 20.5);
        QCOMPARE(read->DisplayRate(), 2.5);
    }

    void emptyDataSetWritesNothing()
    {
        CDataSetMeasurement set(*m_Settings);
        CXMLResultsSerializer xml;
        CCSVResultsSerializer csv;
        QCOMPARE(write(xml, &set), QByteArray());
        QCOMPARE(write(csv, &set), QByteArray());
        QBuffer buffer;
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(!csv.Deserialize(&buffer, &set));
    }

    void csvMeasurementLines()
    {
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        set.setMeasurementParameters(&parameters);
        set.setComment("plain");
        set.AddMeasureBlock(block<CMeasureBlock>(3, "", m_Base));
        set.AddMeasureBlock(block<CMeasureBlock>(3, "", m_Base));
        CCSVResultsSerializer csv;
        const QString text = QString::fromUtf8(write(csv, &set));
        QVERIFY(text.endsWith("\n\n"));
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size() - 1, 4 + 5 + 2 + 1 + 6 + 1);
        QCOMPARE(lines.at(0), QString("Source;Tesvana v1.2.4"));
        QVERIFY(lines.at(1).startsWith("Timestamp;"));
        QCOMPARE(lines.at(4), QString("Type;tKXR_BODY_TESVANA"));
        QCOMPARE(lines.at(5), QString("Version;1.0"));
        QCOMPARE(lines.at(9), QString("Parameters;") + parameters.ToString(";"));
        QCOMPARE(lines.at(11), QString("Timestamp;B;B.B';Bx;By;Bz;Temp;dB"));

        // An independent reader agrees on the row count and a cell.
        const QString path = m_Dir.path() + "/export.csv";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        file.close();
        QProcess python;
        python.start("python3", {"-c",
                                 "import csv,sys\n"
                                 "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8'),delimiter=';'))\n"
                                 "print(len(rows), rows[12][6], rows[17][0])",
                                 path});
        QVERIFY(python.waitForFinished(20000));
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
                 QString("19 30000 ") + lines.at(17).section(';', 0, 0));
    }

    void csvMappingBlocks()
    {
        CMeasurementParameters parameters;
        parameters.setBlockSize(2);
        CDataSetMapping set(*m_Settings);
        set.setMeasurementParameters(&parameters);
        for (int i = 0; i < 2; ++i)
        {
            QSharedPointer<CMeasureBlockMapping> b = block<CMeasureBlockMapping>(2, "", m_Base);
            b->Position = CPosition(i, 2, 3);
            set.AddMeasureBlock(b);
        }
        CCSVResultsSerializer csv;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(csv.Serialize(&set, &buffer));
        const QStringList lines = QString::fromUtf8(buffer.data()).split('\n');
        QCOMPARE(lines.at(11), QString("Position (x y z);0;2;3"));
        QCOMPARE(lines.at(12), QString("Orientation (roll pitch yaw);0;0;0"));
        QCOMPARE(lines.at(13), QString("Timestamp;B;B.B';Bx;By;Bz;Temp;dB"));
        QCOMPARE(lines.at(16), QString());
        QCOMPARE(lines.at(17), QString("Position (x y z);1;2;3"));
        QCOMPARE(lines.size() - 1, 11 + 2 * 6);
    }
};

QTEST_GUILESS_MAIN(tst_Results)
#include "tst_results.moc"
