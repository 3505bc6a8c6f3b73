#include "compute/CAxisTicks.h"
#include "compute/CEngineeringNotation.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <cmath>

namespace
{
QStringList texts(const CAxisTicks::Scale& scale)
{
    QStringList list;
    for (const CAxisTicks::Tick& tick : scale.ticks)
        list << tick.text;
    return list;
}

// 1, 2 or 5 × 10ⁿ.
bool isRound(double step)
{
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    return std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 || std::fabs(mantissa - 5) < 1e-6;
}
} // namespace

class TestAxisTicks : public QObject
{
    Q_OBJECT

private slots:
    void linearTicksAreRoundWhateverTheRange()
    {
        QCOMPARE(texts(CAxisTicks::Linear(0.5, 1.3, 4)), QStringList({"0.6", "0.8", "1.0", "1.2"}));
        QCOMPARE(texts(CAxisTicks::Linear(0, 500, 4)), QStringList({"0", "100", "200", "300", "400", "500"}));
        QCOMPARE(texts(CAxisTicks::Linear(10.4, 15.5, 3)), QStringList({"12", "14"}));
        // A step that would leave one tick goes down a rung: two labels at least.
        QCOMPARE(texts(CAxisTicks::Linear(0.51, 0.99, 1)), QStringList({"0.6", "0.8"}));
        QCOMPARE(texts(CAxisTicks::Linear(-0.01, 0.06, 7)),
                 QStringList({"-0.01", "0.00", "0.01", "0.02", "0.03", "0.04", "0.05", "0.06"}));
        // Coarser rungs of the ladder thin the labels and keep them round.
        QCOMPARE(texts(CAxisTicks::Linear(0, 10, 10, 1)), QStringList({"0", "2", "4", "6", "8", "10"}));
        QCOMPARE(texts(CAxisTicks::Linear(0, 10, 10, 2)), QStringList({"0", "5", "10"}));
        // The page's printf format, when it is one number.
        QCOMPARE(texts(CAxisTicks::Linear(0, 1, 2, 0, "%.2f")), QStringList({"0.00", "0.50", "1.00"}));
        QCOMPARE(texts(CAxisTicks::Linear(0, 1, 2, 0, "%s%s")), QStringList({"0.0", "0.5", "1.0"}));

        // Any range: the step is round, every tick lies inside, and no two labels are alike.
        QRandomGenerator random(7);
        const auto uniform = [&random](double low, double high) {
            return low + random.generateDouble() * (high - low);
        };
        for (int i = 0; i < 20000; ++i)
        {
            const double magnitude = std::pow(10.0, uniform(-15, 12));
            const double low = uniform(-1, 1) * magnitude * uniform(0, 20);
            const double high = low + magnitude * uniform(1e-3, 10);
            const int intervals = 1 + random.bounded(12);
            const CAxisTicks::Scale scale = CAxisTicks::Linear(low, high, intervals, random.bounded(3));
            QVERIFY2(scale.ticks.size() >= 2, qPrintable(QString("%1 %2").arg(low).arg(high)));
            QSet<QString> seen;
            for (int t = 0; t < scale.ticks.size(); ++t)
            {
                const CAxisTicks::Tick& tick = scale.ticks[t];
                QVERIFY(tick.value >= low - (high - low) * 1e-6 && tick.value <= high + (high - low) * 1e-6);
                QVERIFY2(!seen.contains(tick.text), qPrintable(tick.text));
                seen.insert(tick.text);
                if (t > 0)
                    QVERIFY(isRound(tick.value - scale.ticks[t - 1].value));
            }
            QVERIFY(scale.ticks.size() <= intervals + intervals / 2 + 4);
            QCOMPARE(scale.exponent % 3, 0);
        }
    }

    void valuesFarFromOneAreWrittenWithAPrefix()
    {
        // Tesla near the earth's field: labels in µT, the title says so.
        CAxisTicks::Scale earth = CAxisTicks::Linear(52e-6, 54e-6, 4);
        QCOMPARE(earth.exponent, -6);
        QCOMPARE(texts(earth), QStringList({"52.0", "52.5", "53.0", "53.5", "54.0"}));
        QCOMPARE(CAxisTicks::Title("[T]", earth), QString::fromUtf8("[\u00b5T]"));
        QCOMPARE(CAxisTicks::Title("[mT]", earth), QString("[nT]"));
        QCOMPARE(CAxisTicks::Title("[mA/m]", earth), QString("[nA/m]"));
        // A unit without prefixes, or past the last one: the power of ten.
        QCOMPARE(CAxisTicks::Title("[T\u00b7T']", earth),
                 QString::fromUtf8("[\u00d710\u207b\u2076 T\u00b7T']"));
        QCOMPARE(CAxisTicks::Title("[pT]", earth), QString::fromUtf8("[\u00d710\u207b\u2076 pT]"));
        QCOMPARE(CAxisTicks::Title("Amplitude", earth),
                 QString::fromUtf8("Amplitude [\u00d710\u207b\u2076]"));
        CAxisTicks::Scale large = CAxisTicks::Linear(0, 50000, 5);
        QCOMPARE(large.exponent, 3);
        QCOMPARE(texts(large).last(), QString("50"));
        QCOMPARE(CAxisTicks::Title("[G]", large), QString("[kG]"));
        // Values near one keep their unit.
        QCOMPARE(CAxisTicks::Title("[T]", CAxisTicks::Linear(0, 2, 4)), QString("[T]"));
        // A narrow window far from zero that doubles cannot resolve: its ends, not a loop.
        QCOMPARE(CAxisTicks::Linear(1e20, 1e20 + 1e5, 5).ticks.size(), 2);
        // Ranges that show nothing.
        QVERIFY(CAxisTicks::Linear(1, 1, 5).ticks.isEmpty());
        QVERIFY(CAxisTicks::Linear(2, 1, 5).ticks.isEmpty());
        QVERIFY(CAxisTicks::Linear(qQNaN(), 1, 5).ticks.isEmpty());
        QVERIFY(CAxisTicks::Linear(0, qInf(), 5).ticks.isEmpty());
    }

    void decadesArePowersOfTen()
    {
        QCOMPARE(texts(CAxisTicks::Logarithmic(1e-3, 1)),
                 QStringList({u8"10\u207b\u00b3", u8"10\u207b\u00b2", u8"10\u207b\u00b9", u8"10\u2070"}));
        QCOMPARE(texts(CAxisTicks::Logarithmic(0.1, 1000)), QStringList({"0.1", "1", "10", "100", "1000"}));
        QCOMPARE(texts(CAxisTicks::Logarithmic(1, 1e12)).last(), QString::fromUtf8(u8"10\u00b9\u00b2"));
        // Thinned by the exponent, so the labelled decades stay put as the range moves.
        const CAxisTicks::Scale thinned = CAxisTicks::Logarithmic(2e-12, 0.5, 3);
        QCOMPARE(thinned.ticks.size(), 11); // 1e-11 … 1e-01
        for (const CAxisTicks::Tick& tick : thinned.ticks)
            QCOMPARE(tick.text.isEmpty(), int(std::lround(std::log10(tick.value))) % 3 != 0);
        QVERIFY(CAxisTicks::Logarithmic(0, 1).ticks.isEmpty());
        QVERIFY(CAxisTicks::Logarithmic(1e-300, 1e300).ticks.size() <= CAxisTicks::MaximumDecades + 1);
    }

    void timeIsWrittenInTheUnitItsSpanNeeds()
    {
        const double nan = qQNaN();
        CAxisTicks::Scale micro = CAxisTicks::Time(0, 0.0005, 5, 0, nan);
        QCOMPARE(micro.timeUnit, QString::fromUtf8("\u00b5s"));
        QCOMPARE(texts(micro), QStringList({"0", "100", "200", "300", "400", "500"}));
        QCOMPARE(micro.ticks.last().value, 0.0005);
        QCOMPARE(CAxisTicks::Title("Time [s]", micro), QString::fromUtf8("Time [\u00b5s]"));
        CAxisTicks::Scale milli = CAxisTicks::Time(3, 3.1, 4, 0, nan);
        QCOMPARE(milli.timeUnit, QString("ms"));
        QCOMPARE(texts(milli).first(), QString("3000"));
        CAxisTicks::Scale seconds = CAxisTicks::Time(10.4, 15.5, 3, 0, nan);
        QCOMPARE(seconds.timeUnit, QString("s"));
        QCOMPARE(texts(seconds), QStringList({"12", "14"}));
        QCOMPARE(CAxisTicks::Title("Time [s]", seconds), QString("Time [s]"));
        // An hour without a known start: elapsed hours and minutes.
        CAxisTicks::Scale elapsed = CAxisTicks::Time(0, 3600, 4, 0, nan);
        QCOMPARE(elapsed.timeUnit, QString("h:mm"));
        QCOMPARE(texts(elapsed), QStringList({"0:00", "0:15", "0:30", "0:45", "1:00"}));
    }

    void longSpansAreLabelledInTimeOfDay()
    {
        // A recording that started at 09:58:20 local time, shown over 40 minutes.
        const QDateTime start(QDate(2026, 12, 8), QTime(9, 58, 20));
        const double origin = double(start.toMSecsSinceEpoch()) / 1000.0;
        const CAxisTicks::Scale clock = CAxisTicks::Time(0, 2400, 4, 0, origin);
        QCOMPARE(texts(clock), QStringList({"10:00", "10:10", "10:20", "10:30"}));
        QCOMPARE(clock.ticks.first().value, 100.0); // 10:00 is 100 s after the start
        QCOMPARE(clock.timeUnit, QString("hh:mm, 2026-12-08"));
        // Over midnight: the tick at midnight names the day.
        const double evening =
            double(QDateTime(QDate(2026, 12, 8), QTime(20, 0)).toMSecsSinceEpoch()) / 1000.0;
        const QStringList night = texts(CAxisTicks::Time(0, 8 * 3600, 4, 0, evening));
        QVERIFY2(night.contains("9 Dec"), qPrintable(night.join(' ')));
        // Weeks: days.
        const QStringList weeks = texts(CAxisTicks::Time(0, 14 * 86400, 7, 0, evening));
        QVERIFY2(weeks.size() >= 4 && weeks.filter(QRegularExpression("^\\d+ Dec$")).size() == weeks.size(),
                 qPrintable(weeks.join(' ')));
        // A thinner set stays on round clock times.
        QCOMPARE(texts(CAxisTicks::Time(0, 2400, 4, 1, origin)), QStringList({"10:00", "10:15", "10:30"}));
    }

    void fieldValuesAreWrittenInEngineeringNotation()
    {
        const auto format = [](double value, const char* unit, int digits = 6) {
            return CEngineeringNotation::Format(value, QString::fromUtf8(unit), digits);
        };
        // Tesla: the prefix follows the value, six significant digits.
        QCOMPARE(format(5.32771e-5, "T"), QString::fromUtf8("53.2771 \u00b5T"));
        QCOMPARE(format(-1.3215e-12, "T"), QString::fromUtf8("-1.32150 pT"));
        QCOMPARE(format(1.5, "T"), QString("1.50000 T"));
        QCOMPARE(format(0, "T"), QString("0.00000 T"));
        QCOMPARE(format(2500, "A/m"), QString("2.50000 kA/m"));
        // Rounding that reaches the next prefix takes it: 999.9996 µT is 1.00000 mT.
        QCOMPARE(format(999.9996e-6, "T"), QString("1.00000 mT"));
        QCOMPARE(format(999.9994e-6, "T"), QString::fromUtf8("999.999 \u00b5T"));
        // A prefix the user chose stays while the value reads well in it.
        QCOMPARE(format(53.2771, "\u00b5T"), QString::fromUtf8("53.2771 \u00b5T"));
        QCOMPARE(format(0.25, "\u00b5T"), QString::fromUtf8("0.250000 \u00b5T"));
        QCOMPARE(format(53277.1, "\u00b5T"), QString("53.2771 mT"));
        QCOMPARE(format(0.0532771, "mT"), QString("0.0532771 mT"));
        QCOMPARE(format(1234.5, "mT"), QString("1234.50 mT"));
        QCOMPARE(format(5.32771e-6, "mT"), QString("5.32771 nT"));
        // Units without prefixes keep their own, with the power of ten.
        QCOMPARE(format(4.2e-9, "MHzp", 3), QString::fromUtf8("4.20\u00d710\u207b\u2079 MHzp"));
        QCOMPARE(format(12.5, "%", 3), QString("12.5 %"));
        QCOMPARE(format(1500, "Hz", 3), QString("1.50 kHz"));
        // Rounding noise of a computation, far below any probe's resolution, is zero.
        QCOMPARE(format(-1.55e-21, "T"), QString("0.00000 T"));
        QCOMPARE(format(-1.55e-21, "mT"), QString("0.00000 mT"));
        QCOMPARE(format(2e-15, "T"), QString("2.00000 fT"));
        QCOMPARE(format(0.5, ""), QString("0.500000"));
        QCOMPARE(format(2.5e-7, "", 3), QString::fromUtf8("250\u00d710\u207b\u2079"));
        QCOMPARE(format(qQNaN(), "T"), QString("--"));
        QCOMPARE(format(qInf(), "T"), QString("--"));
        // As many characters whatever the magnitude: digits do not move in a fixed font.
        QSet<int> widths;
        for (double v : {1.23456e-6, 12.3456e-6, 123.456e-6, 1.23456e-3, 0.999999})
            widths.insert(format(v, "T").size() - (format(v, "T").endsWith(" T") ? 0 : 1));
        QCOMPARE(widths.size(), 1);
        QCOMPARE(CEngineeringNotation::Fixed(0.00532771, 6), QString("0.00532771"));
        QCOMPARE(CEngineeringNotation::Fixed(99.99996, 6), QString("100.000"));
    }
};

QTEST_GUILESS_MAIN(TestAxisTicks)
#include "tst_axisticks.moc"
