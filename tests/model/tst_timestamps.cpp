#include "../support/MessageCapture.h"
#include "app/CSettings.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMetaTypes.h"
#include "plugins/simulatedprobe/CSimulatedAcquisition.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>
#include <mutex>
#include <vector>

#include <ctime>

// Timestamps are built without a local-time conversion per sample. They must still
// show, and the files carry, exactly the wall-clock time a conversion of each
// sample gives, in every zone and across a daylight-saving change.
namespace
{
void setZone(const QByteArray& zone)
{
    if (zone.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

// 2025-10-26 01:00:00 UTC: Berlin goes from 03:00 summer time back to 02:00.
const qint64 AutumnChangeMs = 1761440400000LL;
// 2025-03-30 01:00:00 UTC: Berlin goes from 02:00 winter time on to 03:00.
const qint64 SpringChangeMs = 1743296400000LL;

QByteArray wrap(const QByteArray& rows)
{
    return "<KorvelinXmlRecord ver=\"1.0\"><body type=\"tKXR_BODY_TESVANA\" ver=\"1.1\">"
           "<dataset type=\"tKXR_DATASET_TESVANA_MEASUREMENT\" ver=\"1.2\"><measurements><flux>" +
           rows + "</flux></measurements></dataset></body></KorvelinXmlRecord>";
}
} // namespace

class tst_Timestamps : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;

private slots:
    void initTestCase() { CMetaTypes::Register(); }
    void cleanup() { setZone(QByteArray()); }

    void zones_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<qint64>("change");
        QTest::newRow("TZ unset") << QByteArray() << AutumnChangeMs;
        QTest::newRow("UTC") << QByteArray("UTC") << AutumnChangeMs;
        QTest::newRow("Berlin, autumn") << QByteArray("Europe/Berlin") << AutumnChangeMs;
        QTest::newRow("Berlin, spring") << QByteArray("Europe/Berlin") << SpringChangeMs;
    }

    void simulatedBlocksAcrossAChange_data() { zones_data(); }
    void simulatedBlocksAcrossAChange()
    {
        QFETCH(QByteArray, zone);
        QFETCH(qint64, change);
        setZone(zone);
        CSimulatedAcquisition acquisition([](const QSharedPointer<CMeasureBlock>&) {});
        CSimulatedAcquisition::Settings settings;
        settings.acquisitionRate = 1000;
        settings.blockSize = 3000;
        // One block that starts 1.5 s before the change and ends 1.5 s after it, and one after.
        for (const qint64 startMs : {change - 1500, change + 1500})
        {
            const QSharedPointer<CMeasureBlock> block =
                acquisition.MakeBlock(settings, 0.0, startMs * 1000000LL);
            QCOMPARE(block->Results.size(), 3000);
            for (int i = 0; i < block->Results.size(); ++i)
            {
                const CFieldIntensityResult& sample = *block->Results.at(i);
                const QDateTime local = QDateTime::fromMSecsSinceEpoch(startMs + i);
                QCOMPARE(sample.Timestamp.toMSecsSinceEpoch(), startMs + i);
                QCOMPARE(sample.Timestamp.date(), local.date());
                QCOMPARE(sample.Timestamp.time(), local.time());
                QCOMPARE(CMeasureBlock::FormatTimestamp(sample.Timestamp, sample.TimestampNanosecond),
                         CMeasureBlock::FormatTimestamp(local, sample.TimestampNanosecond));
            }
        }
    }

    void filesAcrossAChange_data() { zones_data(); }
    void filesAcrossAChange()
    {
        QFETCH(QByteArray, zone);
        QFETCH(qint64, change);
        setZone(zone);
        // Rows written from local date-times converted one by one, every 250 ms for 8 s.
        QByteArray rows;
        QList<QDateTime> expected;
        for (int i = 0; i < 32; ++i)
        {
            const QDateTime local = QDateTime::fromMSecsSinceEpoch(change - 4000 + 250 * i);
            expected << local;
            if (i > 0)
                rows += '\n';
            rows += CMeasureBlock::FormatTimestamp(local, quint64(local.time().msec()) * 1000000ULL + 7)
                        .toLatin1() +
                    ";1;2;3;4;5;6;7";
        }
        QBuffer buffer;
        buffer.setData(wrap(rows));
        buffer.open(QIODevice::ReadOnly);
        CSettings settings("/p", nullptr, m_Dir.path());
        CDataSetMeasurement set(settings);
        CXMLResultsSerializer serializer;
        QVERIFY(serializer.Deserialize(&buffer, &set));
        const CMeasureBlock& block = *set.MeasureBlocks()->front();
        QCOMPARE(block.Results.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
        {
            const CFieldIntensityResult& sample = *block.Results.at(i);
            // What the reader gives is what a conversion of the row's own text gives.
            const QDateTime fromText(expected.at(i).date(), expected.at(i).time(), Qt::LocalTime);
            QCOMPARE(sample.Timestamp.toMSecsSinceEpoch(), fromText.toMSecsSinceEpoch());
            QCOMPARE(sample.Timestamp.date(), fromText.date());
            QCOMPARE(sample.Timestamp.time(), fromText.time());
        }
        // Written again: the same rows, byte for byte.
        QByteArray again;
        block.AppendRows(again, ";");
        QCOMPARE(again, rows);
    }

    // However long it runs, every sample of the simulated probe lies on its period to the
    // nanosecond: its times are counted, not summed.
    void simulatedSamplesLieOnThePeriod()
    {
        std::vector<qint64> times;
        std::mutex mutex;
        CSimulatedAcquisition acquisition([&](const QSharedPointer<CMeasureBlock>& block) {
            std::lock_guard<std::mutex> lock(mutex);
            for (const auto& sample : block->Results)
                times.push_back(sample->Timestamp.toSecsSinceEpoch() * 1000000000LL +
                                qint64(sample->TimestampNanosecond));
        });
        CSimulatedAcquisition::Settings settings;
        settings.acquisitionRate = 30000; // a period of 33,333.33 ns
        settings.blockSize = 300;
        acquisition.SetSettings(settings);
        acquisition.PrepareStart();
        acquisition.start();
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                std::lock_guard<std::mutex> lock(mutex);
                return times.size() >= 30000;
            }(),
            10000);
        acquisition.RequestStop();
        acquisition.wait();
        std::lock_guard<std::mutex> lock(mutex);
        for (std::size_t i = 1; i < times.size(); ++i)
        {
            // Within a nanosecond of the first sample plus a whole number of periods.
            const double expected = double(i) * 1e9 / 30000.0;
            QVERIFY2(std::fabs(double(times[i] - times.front()) - expected) <= 1.0,
                     qPrintable(QStringLiteral("sample %1 at %2 ns").arg(i).arg(times[i] - times.front())));
        }
    }

    void simulatorSaysWhatItSkipped()
    {
        MessageCapture log;
        int delivered = 0;
        CSimulatedAcquisition acquisition([&](const QSharedPointer<CMeasureBlock>&) {
            // The first block takes so long that the signal runs more than a second ahead.
            if (delivered++ == 0)
                QThread::msleep(1600);
        });
        CSimulatedAcquisition::Settings settings;
        settings.acquisitionRate = 1000;
        settings.blockSize = 100;
        acquisition.SetSettings(settings);
        acquisition.PrepareStart();
        acquisition.start();
        QTRY_VERIFY_WITH_TIMEOUT(log.contains("Simulated probe could not keep up: skipped "), 5000);
        acquisition.RequestStop();
        acquisition.wait();
        int said = 0;
        for (const QString& line : log.all())
            said += line.contains("could not keep up") ? 1 : 0;
        QCOMPARE(said, 1);
    }
};

QTEST_GUILESS_MAIN(tst_Timestamps)
#include "tst_timestamps.moc"
