#include "model/CMeasureBlock.h"
#include "model/CMeasureBlockMapping.h"
#include "model/CMetaTypes.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <cmath>

namespace
{
QSharedPointer<CFieldIntensityResult> sample(quint64 ns)
{
    QSharedPointer<CFieldIntensityResult> s(new CFieldIntensityResult());
    s->Timestamp = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    s->TimestampNanosecond = ns;
    s->setB(0.0501234f);
    s->setBBprime(0);
    s->setBx(0.05f);
    s->setBy(-0.0012f);
    s->setBz(0.003f);
    s->setTemperature(31000);
    s->setdB(1.5e-05f);
    return s;
}
} // namespace

// Receives positions on another thread, as a plug-in's slot would.
class PositionSink : public QObject
{
    Q_OBJECT
public:
    QList<CPosition> received;
public slots:
    void take(const CPosition& position, const COrientation&) { received.append(position); }
signals:
    void send(CPosition position, COrientation orientation);
};

class tst_Blocks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CMetaTypes::Register(); }

    void rowTextOfTheWorkedExample()
    {
        CMeasureBlock block;
        QCOMPARE(block.ToString(";"), QString());
        block.Results.append(sample(12345678));
        QCOMPARE(block.ToString(";"),
                 QString("2024.03.05T14:07:09.012345678;0.0501234;0;0.05;-0.0012;0.003;31000;1.5e-05"));
        block.Results.append(sample(5));
        block.Results.append(sample(999999999));
        const QStringList lines = block.ToString(",").split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(!block.ToString(",").endsWith('\n'));
        QVERIFY(lines.at(1).startsWith("2024.03.05T14:07:09.000000005,"));
        QVERIFY(lines.at(2).startsWith("2024.03.05T14:07:09.999999999,"));
    }

    // Rows of a fixed UTC offset reuse the text of their second: a new second, a new day
    // and a change of offset (a daylight-saving change) must each show.
    void rowTimesAcrossSecondsAndOffsets()
    {
        CMeasureBlock block;
        const qint64 start = QDateTime(QDate(2026, 3, 29), QTime(0, 59, 59), Qt::UTC).toMSecsSinceEpoch();
        const struct
        {
            qint64 ms;
            int offset;
            const char* text;
        } rows[] = {
            {start + 998, 3600, "2026.03.29T01:59:59.998"},
            {start + 999, 3600, "2026.03.29T01:59:59.999"},
            {start + 1000, 7200, "2026.03.29T03:00:00.000"}, // the clocks go forward
            {start + 1001, 7200, "2026.03.29T03:00:00.001"},
            {start + 1001, 0, "2026.03.29T01:00:00.001"},
            {start - 3599000 - 1, 0, "2026.03.28T23:59:59.999"},
        };
        for (const auto& row : rows)
        {
            QSharedPointer<CFieldIntensityResult> s = sample(0);
            s->Timestamp = QDateTime::fromMSecsSinceEpoch(row.ms, Qt::OffsetFromUTC, row.offset);
            s->TimestampNanosecond = quint64(s->Timestamp.time().msec()) * 1000000 + 7;
            block.Results.append(s);
        }
        const QStringList lines = block.ToString(";").split('\n');
        QCOMPARE(lines.size(), 6);
        for (int i = 0; i < 6; ++i)
        {
            QCOMPARE(lines[i].section(';', 0, 0), QString(rows[i].text) + "000007");
            QCOMPARE(lines[i].section(';', 0, 0),
                     CMeasureBlock::FormatTimestamp(block.Results[i]->Timestamp,
                                                    block.Results[i]->TimestampNanosecond));
        }
    }

    void nanAndLargeValues()
    {
        CMeasureBlock block;
        QSharedPointer<CFieldIntensityResult> s = sample(0);
        s->setdB(-std::numeric_limits<float>::quiet_NaN());
        s->setB(123456789.0f);
        block.Results.append(s);
        QCOMPARE(block.ToString(";"),
                 QString("2024.03.05T14:07:09.000000000;1.23457e+08;0;0.05;-0.0012;0.003;31000;nan"));
    }

    void freshValues()
    {
        CFieldIntensityResult s;
        QVERIFY(std::isnan(s.dBConverted()));
        QCOMPARE(s.B(), 0.0f);
        QVERIFY(s.Timestamp.isNull());
        CMeasureBlockMapping mapping;
        QCOMPARE(mapping.Position.X(), 0.0);
        QCOMPARE(mapping.Orientation.Yaw(), 0.0);
        QCOMPARE(mapping.RotAppliedOnMeasBlock(), false);
        QCOMPARE(mapping.Bprime.Z(), 0.0);
        QSignalSpy spy(&mapping, &CMeasureBlockMapping::CommentChanged);
        mapping.setComment("a");
        mapping.setComment("a");
        QCOMPARE(spy.count(), 1);
    }

    void mappingBlockSharesSamples()
    {
        CMeasureBlock source;
        source.Results.append(sample(1));
        source.setComment("note");
        source.Bprime.setY(2.5);
        CMeasureBlockMapping mapping;
        mapping.CopyFrom(source);
        QCOMPARE(mapping.Comment(), QString("note"));
        QCOMPARE(mapping.Bprime.Y(), 2.5);
        QCOMPARE(mapping.Results.first().data(), source.Results.first().data());
    }

    void positionsHaveValueSemantics()
    {
        CPosition source(1, 2, 3);
        QSignalSpy spy(&source, &CPosition::XChanged);
        QList<CPosition> list;
        list.append(source);
        list[0].setX(10);
        QCOMPARE(source.X(), 1.0);
        QCOMPARE(spy.count(), 0);
        CPosition assigned;
        assigned = source;
        QCOMPARE(assigned, source);
        QVERIFY(assigned.parent() == nullptr);
        COrientation o(10, 20, 30);
        COrientation copy(o); // NOLINT(performance-unnecessary-copy-initialization): the copy is the test
        QCOMPARE(copy.Pitch(), 20.0);
    }

    void positionsCrossThreadsInQueuedSignals()
    {
        PositionSink sink;
        QThread thread;
        PositionSink receiver;
        receiver.moveToThread(&thread);
        connect(&sink, &PositionSink::send, &receiver, &PositionSink::take, Qt::QueuedConnection);
        thread.start();
        emit sink.send(CPosition(4, 5, 6), COrientation(1, 2, 3));
        QTRY_COMPARE(receiver.received.size(), 1);
        thread.quit();
        thread.wait();
        QCOMPARE(receiver.received.first().Z(), 6.0);
    }

    void blocksAreTrackedBySharedAndWeakPointers()
    {
        QWeakPointer<CMeasureBlock> weak;
        {
            QSharedPointer<CMeasureBlock> block(new CMeasureBlock());
            weak = block;
            QWeakPointer<QObject> asObject = block.toWeakRef();
            QVERIFY(!asObject.isNull());
        }
        QVERIFY(weak.isNull());
    }
};

QTEST_GUILESS_MAIN(tst_Blocks)
#include "tst_blocks.moc"
