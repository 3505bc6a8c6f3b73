#include "../support/ChartFeed.h"
#include "../support/ModelTester.h"
#include "model/CMetaTypes.h"
#include "operations/COperationParameters.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

// The time-series chart model: the window, the downsampling that keeps peaks, the
// Y range, the index searches and the time labels.
class tst_ChartModel : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<COperationParameters> m_Parameters;
    std::unique_ptr<ChartFeed> m_Chart;

    // The expected point j >= 1 of a downsampled window of `points` points, worked out
    // from the rule: point 0 is the first result, the others share out the rest (the
    // newest included) in consecutive spans, each keeping the value of its span that
    // deviates most from the point before.
    static float expectedPoint(const ChartFeed& chart, int iStart, int iEnd, int points, int j, int column,
                               float before)
    {
        const int shared = iEnd - iStart;
        const int from = iStart + 1 + (j - 1) * shared / (points - 1);
        const int to = iStart + j * shared / (points - 1);
        float chosen = chart.value(from, column);
        float deviation = 0;
        for (int k = from; k <= to; ++k)
        {
            const float d = std::fabs(before - chart.value(k, column));
            if (d > deviation)
            {
                deviation = d;
                chosen = chart.value(k, column);
            }
        }
        return chosen;
    }

private slots:
    void initTestCase() { CMetaTypes::Register(); }

    void init()
    {
        m_Parameters = std::make_unique<COperationParameters>();
        m_Chart = std::make_unique<ChartFeed>(m_Parameters.get());
        // Every change checked, but in the spike sweep: 5,000 recomputations of one model.
        if (QLatin1String(QTest::currentTestFunction()) != QLatin1String("aSpikeAnywhereShows"))
            checkModel(m_Chart.get());
    }

    void cleanup()
    {
        m_Chart.reset();
        m_Parameters.reset();
    }

    // The time origin is told with the points, on the display's beat, never block by block:
    // at 100 kHz it moves with every block, and each change drew the chart once more.
    void timeOriginIsToldOnTheBeat()
    {
        QSignalSpy told(m_Chart.get(), &CChart2DFieldsData::XTimeOriginChanged);
        QSignalSpy drawn(m_Chart.get(), &CChart2DFieldsData::seriesUpdated);
        QVERIFY(std::isnan(m_Chart->XTimeOrigin()));
        for (int block = 0; block < 50; ++block)
            m_Chart->feed(10, 0.001);
        QCOMPARE(told.count(), 0);
        QTRY_VERIFY(drawn.count() >= 1);
        QCOMPARE(told.count(), 1);
        QCOMPARE(m_Chart->XTimeOrigin(), m_Chart->TimeOrigin());
        QVERIFY(m_Chart->XAxisIsTime());
    }

    void noResultGivesNoPoint()
    {
        m_Chart->UpdateDownsampling();
        QCOMPARE(m_Chart->DownsampledSignalLength(), 0);
        QCOMPARE(m_Chart->rowCount(), 0);
        QCOMPARE(m_Chart->Ymin(), 0.001);
        QCOMPARE(m_Chart->Ymax(), 10.0);
    }

    void oneResultGivesTwoPoints()
    {
        m_Chart->feed(1, 0.01);
        m_Chart->UpdateDownsampling();
        QCOMPARE(m_Chart->DownsampledSignalLength(), 2);
        QCOMPARE(m_Chart->data(m_Chart->index(0, 0)).toDouble(), 0.0);
        QCOMPARE(m_Chart->data(m_Chart->index(1, 0)).toDouble(), 0.1);
        for (int c = 1; c <= 7; ++c)
            QCOMPARE(m_Chart->PointValue(1, c), m_Chart->PointValue(0, c));
        QVERIFY(m_Chart->FirstDataInit());
        QCOMPARE(m_Chart->data(m_Chart->index(2, 0)), QVariant());
        QCOMPARE(m_Chart->data(m_Chart->index(0, 8)), QVariant());
    }

    void threeHundredResultsAreThreeHundredPoints()
    {
        m_Chart->feed(300, 0.01);
        m_Chart->setXmin(0);
        m_Chart->setXmax(10);
        m_Chart->UpdateDownsampling();
        QCOMPARE(m_Chart->DownsampledSignalLength(), 300);
        for (int j = 0; j < 300; j += 37)
        {
            QCOMPARE(m_Chart->data(m_Chart->index(j, 0)).toDouble(), m_Chart->time(j));
            QCOMPARE(m_Chart->PointValue(j, 3), m_Chart->value(j, 3));
        }
    }

    void thousandResultsKeepThePeaks()
    {
        m_Chart->feed(1000, 0.001);
        m_Chart->setXmin(0);
        m_Chart->setXmax(10);
        m_Chart->UpdateDownsampling();
        QCOMPARE(m_Chart->DownsampledSignalLength(), 401);
        for (int column = 1; column <= 7; ++column)
        {
            QCOMPARE(m_Chart->PointValue(0, column), m_Chart->value(0, column));
            for (int j = 1; j < 401; ++j)
                QCOMPARE(m_Chart->PointValue(j, column),
                         expectedPoint(*m_Chart, 0, 999, 401, j, column, m_Chart->PointValue(j - 1, column)));
        }
        // The newest result ends the chart, at its own time.
        QCOMPARE(m_Chart->data(m_Chart->index(400, 0)).toDouble(), m_Chart->time(999));
    }

    // Every result of the window belongs to one point's span, the newest included: a
    // single spike anywhere in windows of 1000 and 4000 results shows on the chart and
    // in its Y range. (Spans that skipped each span's last result lost 402 of 1000.)
    void aSpikeAnywhereShows_data()
    {
        QTest::addColumn<int>("results");
        QTest::newRow("1000") << 1000;
        QTest::newRow("4000") << 4000;
    }

    void aSpikeAnywhereShows()
    {
        QFETCH(int, results);
        m_Chart->spike = -1;
        m_Chart->feed(results, 0.001);
        m_Chart->setXmin(0);
        m_Chart->setXmax(100);
        for (int position = 0; position < results; ++position)
        {
            CFieldIntensityResult& sample = m_Chart->received(position);
            const float was = sample.Bx();
            sample.setBx(100.0f);
            m_Chart->RecomputeFullFilter();
            QVERIFY(m_Chart->DownsampledSignalLength() <= 401);
            bool shown = false;
            for (int j = 0; j < m_Chart->DownsampledSignalLength(); ++j)
                shown = shown || m_Chart->PointValue(j, 3) == 100.0f;
            if (!shown || m_Chart->Ymax() < 100.0)
                QFAIL(qPrintable(QString("a spike at result %1 of %2 is not shown (Ymax %3)")
                                     .arg(position)
                                     .arg(results)
                                     .arg(m_Chart->Ymax())));
            sample.setBx(was);
        }
    }

    // A window of equal values (one result, a steady field) gets a small finite Y range
    // around its value, and a cleared chart starts again from 11 ticks.
    void aConstantWindowKeepsAFiniteYRange()
    {
        for (int c = 0; c < 7; ++c)
            m_Chart->setComponantVisibility(c, c == 3, false); // By only (column 4)
        m_Chart->spike = -1;
        m_Chart->feed(1, 0.01);
        m_Chart->UpdateDownsampling();
        const double value = m_Chart->value(0, 4);
        QVERIFY(std::isfinite(m_Chart->Ymin()) && std::isfinite(m_Chart->Ymax()));
        QVERIFY(m_Chart->Ymin() <= value && value <= m_Chart->Ymax() && m_Chart->Ymin() < m_Chart->Ymax());
        QVERIFY(m_Chart->YTickCount() >= 2 && m_Chart->YTickCount() <= 12);
        m_Chart->refreshYminYmax(0, 0);
        QVERIFY(m_Chart->Ymin() < 0 && m_Chart->Ymax() > 0 && std::isfinite(m_Chart->Ymax()));
        m_Chart->refreshYminYmax(2.5e-5, 2.5e-5);
        QVERIFY(m_Chart->Ymin() <= 2.5e-5 && m_Chart->Ymax() >= 2.5e-5 && m_Chart->Ymax() < 1e-4);
        m_Chart->Clear();
        QCOMPARE(m_Chart->YTickCount(), 11);
    }

    void hiddenComponentsResetTheYRange()
    {
        m_Chart->feed(50, 0.01);
        m_Chart->setXmin(0);
        m_Chart->setXmax(10);
        m_Chart->UpdateDownsampling();
        QVERIFY(m_Chart->Ymax() != 10.0);
        for (int c = 0; c < 7; ++c)
            m_Chart->setComponantVisibility(c, false, c == 6);
        QCOMPARE(m_Chart->Ymin(), 0.001);
        QCOMPARE(m_Chart->Ymax(), 10.0);
        QCOMPARE(m_Chart->YTickCount(), 11);
    }

    void niceNumbersAndTheYRange()
    {
        QCOMPARE(CChart2DFieldsData::niceNumber(0.33, false), 0.5);
        QCOMPARE(CChart2DFieldsData::niceNumber(0.1, false), 0.1);
        QCOMPARE(CChart2DFieldsData::niceNumber(0.14, false), 0.1);
        QCOMPARE(CChart2DFieldsData::niceNumber(2.9, false), 2.0);
        QCOMPARE(CChart2DFieldsData::niceNumber(7.5, false), 10.0);
        QCOMPARE(CChart2DFieldsData::niceNumber(1.2, true), 2.0);
        QCOMPARE(CChart2DFieldsData::niceNumber(300, true), 500.0);

        m_Chart->refreshYminYmax(0, 1);
        QCOMPARE(m_Chart->Ymin(), 0.0);
        QVERIFY(std::fabs(m_Chart->Ymax() - 1.0) < 1e-12);
        QCOMPARE(m_Chart->YTickCount(), 11);
        m_Chart->refreshYminYmax(0, 3.3);
        QCOMPARE(m_Chart->Ymin(), 0.0);
        QCOMPARE(m_Chart->Ymax(), 3.5);
        QCOMPARE(m_Chart->YTickCount(), 8);
        // The unset markers change nothing.
        m_Chart->refreshYminYmax(CChart2D::UnsetYmin, 5);
        QCOMPARE(m_Chart->Ymax(), 3.5);
    }

    void indexSearches()
    {
        QCOMPARE(m_Chart->GetIndexFromTimeStart(1.0), 0);
        QCOMPARE(m_Chart->GetIndexFromTimeEnd(1.0), 0);
        m_Chart->feed(11, 0.1); // times 0, 0.1, ... 1.0
        QCOMPARE(m_Chart->GetIndexFromTimeStart(5.0), 10);
        QCOMPARE(m_Chart->GetIndexFromTimeStart(0.25), 3);
        QCOMPARE(m_Chart->GetIndexFromTimeStart(-1.0), 0);
        QCOMPARE(m_Chart->GetIndexFromTimeEnd(0.25), 2);
        QCOMPARE(m_Chart->GetIndexFromTimeEnd(0.05), 0);
        QCOMPARE(m_Chart->GetIndexFromTimeEnd(9.0), 10);
    }

    void timeLabelsShowMillisecondsUnderOneSecond()
    {
        m_Chart->feed(6, 0.1);
        m_Chart->setXmin(0);
        m_Chart->setXmax(0.5);
        m_Chart->UpdateTimeLegend();
        QCOMPARE(m_Chart->XminDate(), QString("2026.03.04"));
        QCOMPARE(m_Chart->XminTime(), QString("05:06:07.000"));
        QCOMPARE(m_Chart->XmaxTime(), QString("05:06:07.500"));

        m_Chart->feed(30, 0.1);
        m_Chart->setXmax(2.5);
        m_Chart->UpdateTimeLegend();
        QCOMPARE(m_Chart->XmaxTime(), QString("05:06:09"));
    }

    void redrawScrollsATenSecondWindow()
    {
        m_Chart->feed(2000, 0.01); // 20 s of results
        QSignalSpy reset(m_Chart.get(), &QAbstractItemModel::modelReset);
        m_Chart->UpdatePlot();
        QCOMPARE(reset.count(), 1);
        QVERIFY(std::fabs(m_Chart->Xmax() - 20.0) < 1e-6); // times are seconds since the epoch
        QVERIFY(m_Chart->DownsampledSignalLength() <= 401);
        m_Chart->UpdatePlot(); // nothing new, nothing moved
        QCOMPARE(reset.count(), 1);
        m_Chart->resetAxisXDelta(false);
        QVERIFY(std::fabs(m_Chart->Xmin() - 10.0) < 1e-6);
    }

    void clearEmptiesTheModel()
    {
        m_Chart->feed(100, 0.01);
        m_Chart->UpdatePlot();
        QSignalSpy cleared(m_Chart.get(), &CChart2DFieldsData::clearCharts);
        m_Chart->Clear();
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(m_Chart->DownsampledSignalLength(), 0);
        QCOMPARE(m_Chart->MeasureResultCount(), quint64(0));
        QCOMPARE(m_Chart->XTickCount(), 10);
        QCOMPARE(m_Chart->XmaxTime(), QString());
        QCOMPARE(m_Chart->YmaxAllSignal(), CChart2D::UnsetYmax);
        QCOMPARE(m_Chart->Xmax(), 1.0);
        QVERIFY(m_Chart->Visible());
        QCOMPARE(m_Chart->count(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_ChartModel)
#include "tst_chartmodel.moc"
