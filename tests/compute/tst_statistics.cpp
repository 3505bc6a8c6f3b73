#include "compute/CException.h"
#include "compute/CRunningStatistics.h"
#include "compute/FieldStatistics.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace KVL;

class tst_Statistics : public QObject
{
    Q_OBJECT

private slots:
    void exceptionText()
    {
        const CException<CFluxList> error("No signal", "ComputeP2PValue");
        QCOMPARE(QString(error.what()), QString("ComputeP2PValue : No signal\n"));
    }

    void scalarStatistics()
    {
        float value = -1;
        const CFluxList series = {1, 2, 3, 4};
        QVERIFY(ComputeP2PValue(series, value));
        QCOMPARE(value, 3.0f);
        QVERIFY(ComputeRMSValue(series, value));
        QVERIFY(std::fabs(value - std::sqrt(7.5f)) < 1e-6f);
        QVERIFY(ComputeStdDevValue(series, value));
        QVERIFY(std::fabs(value - std::sqrt(5.0f / 3.0f)) < 1e-6f);

        const CFluxList single = {-2.5f};
        QVERIFY(ComputeP2PValue(single, value));
        QCOMPARE(value, 0.0f);
        QVERIFY(ComputeRMSValue(single, value));
        QCOMPARE(value, 2.5f);
        value = 7;
        QVERIFY(!ComputeStdDevValue(single, value));
        QCOMPARE(value, 0.0f);
        value = 7;
        QVERIFY(!ComputeP2PValue(CFluxList(), value));
        QCOMPARE(value, 0.0f);
        QVERIFY(!ComputeRMSValue(CFluxList(), value));
    }

    void rmsSumsInDoublePrecision()
    {
        // A million equal samples: a single-precision running sum would drift visibly.
        const CFluxList series(1000000, 0.1f);
        float value = 0;
        QVERIFY(ComputeRMSValue(series, value));
        QCOMPARE(value, 0.1f);
    }

    // Given a value at a time, the figures of the whole series (worked out here in long
    // double): a million samples of a field with an offset, where a single-precision
    // two-pass deviation loses digits, a short series, a single value and none.
    void runningStatisticsMatchTheWholeSeries()
    {
        const auto check = [](const CFluxList& series) {
            CRunningStatistics running;
            for (const float value : series)
                running.Add(value);
            long double sum = 0, squares = 0;
            for (const float value : series)
            {
                sum += value;
                squares += (long double)(value)*value;
            }
            const long double n = (long double)(series.size());
            long double deviations = 0;
            for (const float value : series)
                deviations += (value - sum / n) * (value - sum / n);
            const float rms = series.empty() ? 0.0f : float(std::sqrt(squares / n));
            const float deviation = series.size() < 2 ? 0.0f : float(std::sqrt(deviations / (n - 1)));
            const auto near = [](float a, float b) { return std::fabs(a - b) <= 1e-6f * std::fabs(b); };
            QVERIFY2(near(running.Rms(), rms), qPrintable(QString::number(running.Rms())));
            QVERIFY2(near(running.StdDev(), deviation), qPrintable(QString::number(running.StdDev())));
            QCOMPARE(running.Count(), quint64(series.size()));
            if (series.empty())
                return;
            const auto [low, high] = std::minmax_element(series.begin(), series.end());
            QCOMPARE(running.Min(), *low);
            QCOMPARE(running.Max(), *high);
            QCOMPARE(running.PeakToPeak(), *high - *low);
        };
        CFluxList field(1000000);
        for (std::size_t i = 0; i < field.size(); ++i)
            field[i] = 5.3e-5f + 1e-6f * float(std::sin(0.01 * double(i)));
        check(field);
        check({1, 2, 3, 4});
        check({-2.5f});
        check({});
    }

    void totalField()
    {
        CFluxList total = {9, 9};
        QVERIFY(ComputeTotalField({3}, {4}, {0}, total));
        QCOMPARE(total, CFluxList({5}));
        QVERIFY(!ComputeTotalField({1, 2, 3}, {1, 2, 3}, {1, 2}, total));
        QVERIFY(total.empty());
    }

    void unitConversion_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("to");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("T to G") << int(eTesla) << 1.0f << int(eGauss) << 10000.0 << 0.0;
        QTest::newRow("T to MHzp") << int(eTesla) << 1.0f << int(eMegaHertzProton) << 42.576385 << 1e-5;
        QTest::newRow("T to A/m") << int(eTesla) << 1.0f << int(eAmperePerMeter) << 795774.7 << 0.05;
        QTest::newRow("kA/m to mT") << int(eKiloAmperePerMeter) << 1.0f << int(eMilliTesla) << 1.2566371
                                    << 1e-6;
        QTest::newRow("ADC to T") << int(eAdc) << 2.0f << int(eTesla) << -2.0 << 0.0;
        QTest::newRow("ADC to ADC") << int(eAdc) << 2.0f << int(eAdc) << 2.0 << 0.0;
        QTest::newRow("mT to T") << int(eMilliTesla) << 1.0f << int(eTesla) << double(0.001f) << 0.0;
    }

    void unitConversion()
    {
        QFETCH(int, from);
        QFETCH(float, value);
        QFETCH(int, to);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        float result = 0;
        QVERIFY(ComputeUnitsConversion(eZRQ5520Units(from), value, eZRQ5520Units(to), result));
        QVERIFY2(std::fabs(double(result) - expected) <= tolerance,
                 qPrintable(QString::number(result, 'g', 10)));
    }

    void conversionFactorTable()
    {
        for (int from = 0; from < eZRQ5520UnitsCount; ++from)
        {
            QCOMPARE(UnitsConversionFactor(eZRQ5520Units(from), eZRQ5520Units(from)), 1.0);
            for (int to = 0; to < eZRQ5520UnitsCount; ++to)
            {
                const double factor = UnitsConversionFactor(eZRQ5520Units(from), eZRQ5520Units(to));
                QCOMPARE(double(float(factor)), factor); // every factor is a single-precision value
            }
        }
        QCOMPARE(UnitsConversionFactor(eMilliTesla, eTesla), double(0.001f));
        float result = 0;
        QVERIFY(ComputeUnitsConversion(CUnits::UnitType::MILLI_GAUSS, 5.0f, CUnits::UnitType::GAUSS, result));
        QCOMPARE(result, float(5.0 * double(0.001f)));
        QVERIFY(ComputeUnitsConversion(CUnits::UnitType::HZ, 5.0f, CUnits::UnitType::TESLA, result));
        QCOMPARE(result, 5.0f);
    }

    void comparisons()
    {
        QVERIFY(AlmostEquals(0.00005, 0, 0.0001));
        QVERIFY(!AlmostEquals(0.0002, 0, 0.0001));
        QVERIFY(!LesserThan(9.5, 10, 1));
        QVERIFY(LesserThan(-9, 10, 1));
        QVERIFY(!AlmostEquals(std::nan(""), 0, 1));
        QVERIFY(!LesserThan(std::nan(""), 10, 1));
    }
};

QTEST_GUILESS_MAIN(tst_Statistics)
#include "tst_statistics.moc"
