#include "compute/CExposureAssessment.h"
#include "compute/CExposureWindow.h"
#include "model/CMeasureBlock.h"

#include <QDateTime>

#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

using namespace KVL;
using Standard = CExposureAssessment::Standard;

namespace
{
using Vector = std::array<double, 3>;

struct Tone
{
    double frequency;
    double rms;       // of the tone along its direction
    Vector direction; // unit vector
    double phase;
};

struct Block
{
    std::vector<float> x, y, z;
    int Size() const { return int(x.size()); }
};

Block synthesise(const std::vector<Tone>& tones, int n, double rate, const Vector& offset = {0, 0, 0})
{
    Block block{std::vector<float>(std::size_t(n)), std::vector<float>(std::size_t(n)),
                std::vector<float>(std::size_t(n))};
    for (int i = 0; i < n; ++i)
    {
        Vector b = offset;
        for (const Tone& tone : tones)
        {
            const double value =
                tone.rms * std::sqrt(2.0) * std::cos(2 * M_PI * tone.frequency * i / rate + tone.phase);
            for (int a = 0; a < 3; ++a)
                b[std::size_t(a)] += value * tone.direction[std::size_t(a)];
        }
        block.x[std::size_t(i)] = float(b[0]);
        block.y[std::size_t(i)] = float(b[1]);
        block.z[std::size_t(i)] = float(b[2]);
    }
    return block;
}

Vector randomDirection(std::mt19937& generator)
{
    std::normal_distribution<double> normal;
    Vector v{normal(generator), normal(generator), normal(generator)};
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (double& c : v)
        c /= length;
    return v;
}

CExposureAssessment::Result assess(CExposureAssessment& assessment, const Block& block, double rate)
{
    CExposureAssessment::Result result;
    const bool ok =
        assessment.Assess(block.x.data(), block.y.data(), block.z.data(), block.Size(), rate, result);
    if (!ok)
        qWarning("the assessment failed");
    return result;
}

// Relative difference, for the messages.
QString off(double value, double expected)
{
    return QString("%1 instead of %2 (%3 %)")
        .arg(value, 0, 'g', 6)
        .arg(expected, 0, 'g', 6)
        .arg(100 * (value - expected) / expected, 0, 'f', 2);
}
} // namespace

class TestExposure : public QObject
{
    Q_OBJECT

private slots:
    void referenceLevels()
    {
        // The tabulated values at and between the corners (tesla).
        QCOMPARE(CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Public, 1), 4e-2);
        QCOMPARE(CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Public, 50), 2e-4);
        QCOMPARE(CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Public, 1000), 8e-5);
        QCOMPARE(CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Public, 5000), 2.7e-5);
        QCOMPARE(CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Occupational, 50), 1e-3);
        QCOMPARE(CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Occupational, 1000), 3e-4);
        QCOMPARE(CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Occupational, 12), 2.5e-2 / 12);
        QVERIFY(std::isnan(CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Public, 0.5)));
        // The weighting's gain is 1 / (sqrt 2 level); its phase is that of the
        // sections: 0 in the flat part well away from the corners, 180 degrees
        // far below them (the f^2 part), and it weighs 0 Hz as nothing.
        for (const double f : {3.0, 16.0, 100.0, 1000.0, 10000.0})
        {
            const double level = CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Public, f);
            QCOMPARE(std::abs(CExposureAssessment::Weighting(Standard::Icnirp2010Public, f)),
                     1 / (std::sqrt(2.0) * level));
        }
        QVERIFY(std::abs(std::arg(CExposureAssessment::Weighting(Standard::Icnirp2010Public, 0.1))) > 3.0);
        QCOMPARE(std::abs(CExposureAssessment::Weighting(Standard::Icnirp2010Public, 0)), 0.0);
        QCOMPARE(CExposureAssessment::FromKey("icnirp2010-occupational"), Standard::Icnirp2010Occupational);
        QCOMPARE(CExposureAssessment::FromKey("icnirp"), Standard::None);
    }

    // One linearly polarised tone of any frequency (on a bin or between two), any
    // phase and direction: both indices are its RMS over its reference level.
    void singleToneIsItsRatio_data()
    {
        QTest::addColumn<int>("standard");
        QTest::addColumn<int>("samples");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("lowest");
        // Long blocks reach 1 Hz; the program's usual block of 1000 at 10 kHz starts at 5 bins.
        QTest::newRow("public, 65536 at 10 kHz")
            << int(Standard::Icnirp2010Public) << 65536 << 10000.0 << 1.0;
        QTest::newRow("occupational, 65536 at 10 kHz")
            << int(Standard::Icnirp2010Occupational) << 65536 << 10000.0 << 1.0;
        QTest::newRow("public, 1000 at 10 kHz") << int(Standard::Icnirp2010Public) << 1000 << 10000.0 << 50.0;
        QTest::newRow("occupational, 20000 at 100 kHz")
            << int(Standard::Icnirp2010Occupational) << 20000 << 100000.0 << 25.0;
    }
    void singleToneIsItsRatio()
    {
        QFETCH(int, standard);
        QFETCH(int, samples);
        QFETCH(double, rate);
        QFETCH(double, lowest);
        CExposureAssessment assessment;
        assessment.SetStandard(Standard(standard), 1e6); // samples in microtesla
        std::mt19937 generator{unsigned(samples)};
        std::uniform_real_distribution<double> uniform(0, 1);
        const double highest = 0.4 * rate;
        const int steps = 48;
        double worstSummation = 0, worstPeak = 0;
        for (int s = 0; s <= steps; ++s)
        {
            double f = lowest * std::pow(highest / lowest, double(s) / steps);
            const double binWidth = rate / samples;
            if (s % 2 == 0)
                f = std::round(f / binWidth) * binWidth; // on a bin
            if (f < lowest)
                f += binWidth;
            const double level = CExposureAssessment::ReferenceLevel(Standard(standard), f) * 1e6;
            const double rms = 0.3 * level;
            const Block block = synthesise(
                {{f, rms, randomDirection(generator), 2 * M_PI * uniform(generator)}}, samples, rate);
            const CExposureAssessment::Result result = assess(assessment, block, rate);
            const QString where = QString("%1 Hz: ").arg(f, 0, 'f', 4);
            worstSummation = std::max(worstSummation, std::abs(result.Summation - 0.3) / 0.3);
            worstPeak = std::max(worstPeak, std::abs(result.WeightedPeak - 0.3) / 0.3);
            QVERIFY2(std::abs(result.Summation - 0.3) <= 0.02 * 0.3,
                     qPrintable(where + "summation " + off(result.Summation, 0.3)));
            QVERIFY2(std::abs(result.WeightedPeak - 0.3) <= 0.03 * 0.3,
                     qPrintable(where + "weighted peak " + off(result.WeightedPeak, 0.3)));
            QVERIFY2(std::abs(result.DominantFrequency - f) <= 0.02 * f + binWidth * 0.05,
                     qPrintable(where + "dominant " + QString::number(result.DominantFrequency)));
        }
        qInfo("largest error: summation %.2f %%, weighted peak %.2f %%", 100 * worstSummation,
              100 * worstPeak);
    }

    // However large the static field, the 50 Hz line counts as it would alone.
    void staticFieldNeverHidesTheLine()
    {
        CExposureAssessment assessment;
        assessment.SetStandard(Standard::Icnirp2010Public, 1e6);
        const double rate = 10000;
        for (const int n : {1000, 4096})
        {
            const Tone mains{50, 0.8, {1, 0, 0}, 0.7};
            const CExposureAssessment::Result alone = assess(assessment, synthesise({mains}, n, rate), rate);
            // Up to where single precision still resolves the line well.
            for (const double size : {16.5, 1000.0})
            {
                const CExposureAssessment::Result both =
                    assess(assessment, synthesise({mains}, n, rate, {size, -0.6 * size, 0.3 * size}), rate);
                QVERIFY2(std::abs(both.Summation - alone.Summation) <= 0.005 * alone.Summation,
                         qPrintable(off(both.Summation, alone.Summation)));
                QVERIFY2(std::abs(both.WeightedPeak - alone.WeightedPeak) <= 0.005 * alone.WeightedPeak,
                         qPrintable(off(both.WeightedPeak, alone.WeightedPeak)));
                QVERIFY2(std::abs(both.DominantFrequency - 50) < 1,
                         qPrintable(QString::number(both.DominantFrequency)));
            }
            QVERIFY2(std::abs(alone.Summation - 0.8 / 200) <= 0.02 * 0.004,
                     qPrintable(off(alone.Summation, 0.004)));
        }
        // A static field alone takes nothing.
        const CExposureAssessment::Result still =
            assess(assessment, synthesise({}, 4096, rate, {30, 20, -10}), rate);
        QCOMPARE(still.Summation, 0.0);
        QVERIFY(still.WeightedPeak < 1e-9);
    }

    // Two tones at half their reference level: the summation adds them to 1; the
    // weighted peak lies between the larger ratio and 1, and reaches 1 when both
    // lie in the flat part and peak together.
    void twoTonesAtHalfTheirLevel()
    {
        CExposureAssessment assessment;
        assessment.SetStandard(Standard::Icnirp2010Public, 1e6);
        const double rate = 10000;
        const int n = 20000;
        const double middle = 0.5 * n / rate; // both peak here
        const auto half = [](double f) {
            return 0.5 * CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Public, f) * 1e6;
        };
        // Each line's phase is chosen so that the weighted lines peak together.
        const auto together = [&](double f) {
            return -2 * M_PI * f * middle -
                   std::arg(CExposureAssessment::Weighting(Standard::Icnirp2010Public, f));
        };
        {
            const Block block = synthesise(
                {{50, half(50), {0, 0, 1}, together(50)}, {150, half(150), {0, 0, 1}, together(150)}}, n,
                rate);
            const CExposureAssessment::Result result = assess(assessment, block, rate);
            QVERIFY2(std::abs(result.Summation - 1) <= 0.02, qPrintable(off(result.Summation, 1)));
            QVERIFY2(std::abs(result.WeightedPeak - 1) <= 0.03, qPrintable(off(result.WeightedPeak, 1)));
        }
        std::mt19937 generator(7);
        std::uniform_real_distribution<double> uniform(0, 1);
        for (const auto& pair :
             std::vector<std::array<double, 2>>{{12, 50}, {50, 1500}, {3.3, 700}, {60, 4000}})
        {
            const Block block =
                synthesise({{pair[0], half(pair[0]), randomDirection(generator), 6 * uniform(generator)},
                            {pair[1], half(pair[1]), randomDirection(generator), 6 * uniform(generator)}},
                           65536, rate);
            const CExposureAssessment::Result result = assess(assessment, block, rate);
            const QString which = QString("%1 and %2 Hz: ").arg(pair[0]).arg(pair[1]);
            QVERIFY2(std::abs(result.Summation - 1) <= 0.02, qPrintable(which + off(result.Summation, 1)));
            QVERIFY2(result.WeightedPeak >= 0.5 * 0.97 && result.WeightedPeak <= 1.03,
                     qPrintable(which + QString::number(result.WeightedPeak)));
        }
    }

    // A field turning in a plane: the vector's RMS is A, its length never more than
    // A; whichever way the probe's axes are turned. The length of the vector, taken
    // first, would see a constant and miss the field altogether.
    void rotatingField()
    {
        CExposureAssessment assessment;
        assessment.SetStandard(Standard::Icnirp2010Occupational, 1e6);
        const double rate = 10000;
        const double level = 1000; // microtesla, 25-300 Hz
        const double a = 400;
        std::mt19937 generator(11);
        for (int turn = 0; turn < 6; ++turn)
        {
            // Two orthogonal unit vectors of a random plane.
            const Vector u = randomDirection(generator);
            Vector v = randomDirection(generator);
            const double dot = u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
            for (int c = 0; c < 3; ++c)
                v[std::size_t(c)] -= dot * u[std::size_t(c)];
            const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            for (double& c : v)
                c /= length;
            const double f = 100.3;
            // A cos along u and A sin along v: each a tone of RMS A / sqrt 2.
            const Block block = synthesise(
                {{f, a / std::sqrt(2.0), u, 0}, {f, a / std::sqrt(2.0), v, -M_PI / 2}}, 8192, rate);
            const CExposureAssessment::Result result = assess(assessment, block, rate);
            QVERIFY2(std::abs(result.Summation - a / level) <= 0.02 * a / level,
                     qPrintable(off(result.Summation, a / level)));
            const double peak = a / (std::sqrt(2.0) * level);
            QVERIFY2(std::abs(result.WeightedPeak - peak) <= 0.03 * peak,
                     qPrintable(off(result.WeightedPeak, peak)));
        }
    }

    // The weighted peak never exceeds the summation: the sum of the lines' peaks
    // bounds the peak of their sum.
    void weightedPeakNeverAboveSummation()
    {
        CExposureAssessment assessment;
        std::mt19937 generator(2026);
        std::uniform_real_distribution<double> uniform(0, 1);
        const double rate = 10000;
        for (int trial = 0; trial < 300; ++trial)
        {
            const Standard standard =
                trial % 2 ? Standard::Icnirp2010Public : Standard::Icnirp2010Occupational;
            assessment.SetStandard(standard, 1e6);
            const int n = 2048 + int(uniform(generator) * 6000);
            std::vector<Tone> tones;
            const int count = 2 + int(uniform(generator) * 5);
            for (int t = 0; t < count; ++t)
            {
                const double f = 10 * std::pow(400.0, uniform(generator)); // 10 Hz to 4 kHz
                // Lines closer than the window resolves are one line to the summation
                // (their RMS together), so the property holds for lines 8 bins apart.
                if (std::any_of(tones.begin(), tones.end(), [&](const Tone& other) {
                        return std::abs(other.frequency - f) < 8 * rate / n;
                    }))
                    continue;
                const double level = CExposureAssessment::ReferenceLevel(standard, f) * 1e6;
                tones.push_back(
                    {f, level * uniform(generator), randomDirection(generator), 7 * uniform(generator)});
            }
            std::normal_distribution<double> noise(0, 1);
            const Block block =
                synthesise(tones, n, rate, {noise(generator), noise(generator), noise(generator)});
            const CExposureAssessment::Result result = assess(assessment, block, rate);
            // Equal in theory when one line dominates: within the weighted peak's accuracy.
            QVERIFY2(result.WeightedPeak <= result.Summation * 1.03,
                     qPrintable(QString("trial %1: weighted peak %2 above summation %3")
                                    .arg(trial)
                                    .arg(result.WeightedPeak)
                                    .arg(result.Summation)));
        }
    }

    // A limits file's steps: the summation only, each line against its step.
    void limitsFileSteps()
    {
        CExposureAssessment assessment;
        assessment.SetSteps({{40, 10}, {100, 5}, {1000, 2}});
        const double rate = 10000;
        const Block block = synthesise({{30, 1, {1, 0, 0}, 0},
                                        {70, 1, {0, 1, 0}, 1},
                                        {400, 1, {0, 0, 1}, 2},
                                        {2000, 100, {1, 0, 0}, 0}}, // above the last step: no limit
                                       10000, rate);
        const CExposureAssessment::Result result = assess(assessment, block, rate);
        const double expected = 1.0 / 10 + 1.0 / 5 + 1.0 / 2;
        QVERIFY2(std::abs(result.Summation - expected) <= 0.02 * expected,
                 qPrintable(off(result.Summation, expected)));
        QVERIFY(std::isnan(result.WeightedPeak));
        QVERIFY(std::abs(result.DominantFrequency - 400) < 1);
        // The shipped files are written as the curve at each step's upper frequency.
        std::vector<CExposureAssessment::Step> steps;
        for (double f = 1.04729; f < 3000; f *= 1.1)
            steps.push_back(
                {f, CExposureAssessment::ReferenceLevel(Standard::Icnirp2010Occupational, f) * 1e3});
        steps.push_back({1e7, 1e-4 * 1e3});
        QCOMPARE(CExposureAssessment::Recognise(steps, 1e3), Standard::Icnirp2010Occupational);
        QCOMPARE(CExposureAssessment::Recognise(steps, 1e6), Standard::None);
        steps[5].limit *= 1.01; // a user's edit
        QCOMPARE(CExposureAssessment::Recognise(steps, 1e3), Standard::None);
    }

    // A probe's noise floor is one contribution per third octave, not one per bin: its
    // index does not grow with the length of the window, and a line above it still
    // counts whole.
    void noiseFloorDoesNotGrowWithTheWindow()
    {
        CExposureAssessment assessment;
        assessment.SetStandard(Standard::Icnirp2010Public, 1e6);
        const double rate = 10000;
        std::mt19937 generator(5);
        std::normal_distribution<double> noise(0, 0.05); // microtesla per sample and axis
        const auto noisy = [&](int n, bool line) {
            Block block =
                synthesise(line ? std::vector<Tone>{{50, 10, {1, 0, 0}, 0}} : std::vector<Tone>{}, n, rate);
            for (int i = 0; i < n; ++i)
            {
                block.x[std::size_t(i)] += float(noise(generator));
                block.y[std::size_t(i)] += float(noise(generator));
                block.z[std::size_t(i)] += float(noise(generator));
            }
            return assess(assessment, block, rate).Summation;
        };
        const double shortWindow = noisy(4096, false), longWindow = noisy(65536, false);
        QVERIFY2(longWindow < 1.5 * shortWindow && longWindow > shortWindow / 1.5,
                 qPrintable(QString("%1 and %2").arg(shortWindow).arg(longWindow)));
        const double withLine = noisy(65536, true);
        QVERIFY2(std::abs(withLine - longWindow - 10.0 / 200) < 0.02 * 0.05,
                 qPrintable(QString("%1 with the line, %2 without").arg(withLine).arg(longWindow)));
    }

    // Blocks of 10 ms at 100 kHz hold half a period of the mains: joined, the window
    // of the last 0.66 s gives the line its true weight; a gap in time starts anew.
    void shortBlocksAreJoined()
    {
        const double rate = 100000;
        const int n = 1000;
        const Tone mains{50, 0.8, {0, 0.6, 0.8}, 0.3};
        const Block all = synthesise({mains}, 80 * n, rate, {16.5, 0, 0});
        const qint64 start = QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC).toMSecsSinceEpoch();
        const auto blockAt = [&](int b, double offsetSeconds) {
            auto block = QSharedPointer<CMeasureBlock>::create();
            for (int i = 0; i < n; ++i)
            {
                const int k = b * n + i;
                const qint64 ns = qint64((k / rate + offsetSeconds) * 1e9);
                auto sample = QSharedPointer<CFieldIntensityResult>::create();
                sample->Timestamp = QDateTime::fromMSecsSinceEpoch(start + ns / 1000000, Qt::UTC);
                sample->TimestampNanosecond = quint64(ns % 1000000000);
                sample->setBx(all.x[std::size_t(k)]);
                sample->setBy(all.y[std::size_t(k)]);
                sample->setBz(all.z[std::size_t(k)]);
                block->Results.append(sample);
            }
            return block;
        };
        CExposureAssessment assessment;
        assessment.SetStandard(Standard::Icnirp2010Public, 1e6);
        CExposureWindow window;
        CExposureAssessment::Result result;
        int assessed = 0;
        for (int b = 0; b < 80; ++b)
            if (window.Append(*blockAt(b, 0), rate))
            {
                QVERIFY(window.Assess(assessment, result));
                ++assessed;
            }
        QCOMPARE(window.Capacity(), 65536);
        QCOMPARE(window.Size(), 65536);
        QVERIFY2(assessed >= 4 && assessed <= 6,
                 qPrintable(QString::number(assessed))); // each quarter window
        QVERIFY2(std::abs(result.Summation - 0.004) <= 0.02 * 0.004,
                 qPrintable(off(result.Summation, 0.004)));
        QVERIFY2(std::abs(result.WeightedPeak - 0.004) <= 0.03 * 0.004,
                 qPrintable(off(result.WeightedPeak, 0.004)));
        QVERIFY(std::abs(result.DominantFrequency - 50) < 1);
        // A second later: a new run, assessed at once on its own block.
        QVERIFY(window.Append(*blockAt(0, 1.0), rate));
        QCOMPARE(window.Size(), n);
        // A step back in time (a replay stepped to an earlier block): anew as well.
        window.Append(*blockAt(1, 1.0), rate);
        QVERIFY(window.Append(*blockAt(0, 1.0), rate));
        QCOMPARE(window.Size(), n);
    }

    // The edge at 1 Hz: a tone at exactly 1 Hz counts in full (its line may be found a
    // hair below 1 Hz); slower content counts alike in both indices.
    void edgesOfTheRangeFrom1Hz_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addColumn<double>("rate");
        QTest::newRow("65536 at 10 kHz") << 65536 << 10000.0;
        QTest::newRow("8192 at 1 kHz") << 8192 << 1000.0;
        QTest::newRow("2000 at 1 kHz") << 2000 << 1000.0;
        QTest::newRow("4000 at 200 Hz") << 4000 << 200.0;
    }
    void edgesOfTheRangeFrom1Hz()
    {
        QFETCH(int, samples);
        QFETCH(double, rate);
        CExposureAssessment assessment;
        assessment.SetStandard(Standard::Icnirp2010Public, 1); // samples in tesla
        // 40 mT RMS at 1 Hz is the level itself.
        for (const double phase : {0.0, 0.7, 2.1})
        {
            const Block at1 = synthesise({{1.0, 4e-2, {0, 0, 1}, phase}}, samples, rate);
            const CExposureAssessment::Result one = assess(assessment, at1, rate);
            // Within 6 %: in the shortest block the line is two bins from 0 Hz.
            QVERIFY2(std::abs(one.Summation - 1) <= 0.06,
                     qPrintable("summation " + off(one.Summation, 1) + " at " +
                                QString::number(one.DominantFrequency) + " Hz"));
            // The weighted peak needs a few periods in the block to see the tone's crest.
            if (samples / rate >= 4)
                QVERIFY2(std::abs(one.WeightedPeak - 1) <= 0.05,
                         qPrintable("weighted peak " + off(one.WeightedPeak, 1)));
        }
        // The same at 0.5 Hz: below 1 Hz the level rises with the square of the falling
        // frequency (the weighting's slope), in both indices alike: a quarter.
        const Block half = synthesise({{0.5, 4e-2, {0, 0, 1}, 0.3}}, samples, rate);
        const CExposureAssessment::Result below = assess(assessment, half, rate);
        if (rate / samples <= 0.125) // a block of several of its periods
        {
            // The filter is not a pure square law at 0.5 Hz (its corners): within 20 %.
            QVERIFY2(std::abs(below.Summation - 0.25) <= 0.05 * 0.25, qPrintable(off(below.Summation, 0.25)));
            QVERIFY2(std::abs(below.WeightedPeak - 0.25) <= 0.2 * 0.25,
                     qPrintable(off(below.WeightedPeak, 0.25)));
        }
    }

    void badInput()
    {
        CExposureAssessment assessment;
        const Block block = synthesise({{50, 1, {1, 0, 0}, 0}}, 100, 1000);
        CExposureAssessment::Result result;
        QVERIFY(!assessment.Assess(block.x.data(), block.y.data(), block.z.data(), 100, 1000,
                                   result)); // no limits
        assessment.SetStandard(Standard::Icnirp2010Public, 1);
        QVERIFY(!assessment.Assess(block.x.data(), block.y.data(), block.z.data(), 3, 1000, result));
        QVERIFY(!assessment.Assess(block.x.data(), block.y.data(), block.z.data(), 100, 0, result));
        QVERIFY(
            !assessment.Assess(block.x.data(), block.y.data(), block.z.data(), 100, std::nan(""), result));
        Block bad = block;
        bad.y[40] = std::numeric_limits<float>::infinity();
        QVERIFY(!assessment.Assess(bad.x.data(), bad.y.data(), bad.z.data(), 100, 1000, result));
        QVERIFY(std::isnan(result.Summation) && std::isnan(result.WeightedPeak));
        // Sizes that are not powers of two, odd ones among them.
        for (const int n : {4, 5, 999, 1001, 4099})
        {
            const Block any = synthesise({{50, 1, {1, 0, 0}, 0}}, n, 1000);
            QVERIFY(assessment.Assess(any.x.data(), any.y.data(), any.z.data(), n, 1000, result));
            QVERIFY(std::isfinite(result.Summation) && std::isfinite(result.WeightedPeak));
        }
    }
};

QTEST_GUILESS_MAIN(TestExposure)
#include "tst_exposure.moc"
