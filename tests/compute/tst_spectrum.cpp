#include "compute/CFastFourierTransform.h"
#include "compute/CLaneFourierTransform.h"
#include "compute/FieldStatistics.h"
#include "compute/FigureOfMerit.h"
#include "compute/Spectrum.h"

#include <QTest>

#include <cmath>
#include <complex>
#include <random>

using namespace KVL;

namespace
{
// Independent reference: the direct O(n^2) DFT in double precision.
std::vector<std::complex<double>> directDft(const std::vector<double>& x)
{
    const std::size_t n = x.size();
    std::vector<std::complex<double>> out(n);
    for (std::size_t k = 0; k < n; ++k)
    {
        std::complex<double> sum = 0;
        for (std::size_t j = 0; j < n; ++j)
        {
            const double angle = -2.0 * M_PI * double((j * k) % n) / double(n);
            sum += x[j] * std::complex<double>(std::cos(angle), std::sin(angle));
        }
        out[k] = sum;
    }
    return out;
}

CFluxList randomSignal(int n, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    CFluxList signal(std::size_t(n), 0.0f);
    for (float& value : signal)
        value = uniform(generator);
    return signal;
}

CFluxList sinusoids(int n, double fs, const std::vector<std::pair<double, double>>& components,
                    double offset = 0)
{
    CFluxList signal(std::size_t(n), 0.0f);
    for (int i = 0; i < n; ++i)
    {
        double value = offset;
        for (const auto& [frequency, amplitude] : components)
            value += amplitude * std::sin(2.0 * M_PI * frequency * i / fs);
        signal[std::size_t(i)] = float(value);
    }
    return signal;
}

double rms(const std::vector<double>& x)
{
    double sum = 0;
    for (const double v : x)
        sum += v * v;
    return std::sqrt(sum / double(x.size()));
}
} // namespace

class tst_Spectrum : public QObject
{
    Q_OBJECT

private slots:
    // Four signals at once, one per lane: the same bins as each transformed alone,
    // and back to the samples.
    void laneTransformMatchesTheTransformOfEachSignal()
    {
        using Lanes = CLaneFourierTransform::Lanes;
        for (const int n : {4, 8, 16, 32, 64, 1024, 2048, 65536, 1000, 6, 7})
        {
            std::vector<CFluxList> inputs;
            std::vector<Lanes> packed;
            packed.resize(std::size_t(n));
            for (int lane = 0; lane < 4; ++lane)
            {
                inputs.push_back(randomSignal(n, unsigned(n * 4 + lane)));
                for (int i = 0; i < n; ++i)
                    packed[std::size_t(i)][lane] = inputs.back()[std::size_t(i)];
            }
            CLaneFourierTransform lanes(n);
            std::vector<Lanes> re, im, back;
            lanes.ForwardReal(packed.data(), re, im);
            QCOMPARE(int(re.size()), n / 2 + 1);
            double largest = 0;
            for (int lane = 0; lane < 4; ++lane)
            {
                std::vector<CFastFourierTransform::Complex> half;
                CFastFourierTransform(n).ForwardRealHalf(inputs[std::size_t(lane)].data(), half);
                for (std::size_t k = 0; k < half.size(); ++k)
                {
                    largest = std::max(largest, double(std::abs(half[k])));
                    const double error = std::abs(std::complex<double>(re[k][lane], im[k][lane]) -
                                                  std::complex<double>(half[k]));
                    QVERIFY2(
                        error <= 1e-5 * std::sqrt(double(n)) * std::max(1.0, largest),
                        qPrintable(QString("n %1, lane %2, bin %3: %4").arg(n).arg(lane).arg(k).arg(error)));
                }
            }
            lanes.InverseReal(re.data(), im.data(), back);
            for (int lane = 0; lane < 4; ++lane)
                for (int i = 0; i < n; ++i)
                    QVERIFY2(std::abs(back[std::size_t(i)][lane] -
                                      inputs[std::size_t(lane)][std::size_t(i)]) < 1e-5,
                             qPrintable(QString("n %1, lane %2, sample %3").arg(n).arg(lane).arg(i)));
        }
    }

    void transformMatchesDirectDftForEveryKindOfLength_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("method");
        QTest::newRow("2") << 2 << int(CFastFourierTransform::Method::Direct);
        QTest::newRow("3") << 3 << int(CFastFourierTransform::Method::Direct);
        QTest::newRow("odd smooth 225") << 225 << int(CFastFourierTransform::Method::Direct);
        QTest::newRow("1000") << 1000 << int(CFastFourierTransform::Method::Direct);
        QTest::newRow("1024") << 1024 << int(CFastFourierTransform::Method::Direct);
        QTest::newRow("prime 127 (Rader)") << 127 << int(CFastFourierTransform::Method::Rader);
        QTest::newRow("prime 1009 (Rader)") << 1009 << int(CFastFourierTransform::Method::Rader);
        QTest::newRow("2*97 (Bluestein)") << 194 << int(CFastFourierTransform::Method::Bluestein);
        QTest::newRow("prime 1019 (Bluestein)") << 1019 << int(CFastFourierTransform::Method::Bluestein);
        QTest::newRow("2*5591 (Bluestein)") << 11182 << int(CFastFourierTransform::Method::Bluestein);
    }

    void transformMatchesDirectDftForEveryKindOfLength()
    {
        QFETCH(int, n);
        QFETCH(int, method);
        CFastFourierTransform transform(n);
        QCOMPARE(int(transform.GetMethod()), method);
        const CFluxList signal = randomSignal(n, unsigned(n));
        const std::vector<double> x(signal.begin(), signal.end());
        const auto reference = directDft(x);
        double scale = 0;
        for (const auto& bin : reference)
            scale = std::max(scale, std::abs(bin));

        std::vector<std::complex<float>> full;
        transform.ForwardReal(signal.data(), full);
        QCOMPARE(int(full.size()), n);
        double worst = 0;
        for (int k = 0; k < n; ++k)
            worst = std::max(worst, std::abs(std::complex<double>(full[k]) - reference[std::size_t(k)]));
        QVERIFY2(worst / scale < 2e-6, qPrintable(QString::number(worst / scale)));

        std::vector<std::complex<float>> half;
        transform.ForwardRealHalf(signal.data(), half);
        QCOMPARE(int(half.size()), n / 2 + 1);
        for (int k = 0; k <= n / 2; ++k)
            QVERIFY(std::abs(std::complex<double>(half[k]) - reference[std::size_t(k)]) / scale < 2e-6);

        std::vector<float> back;
        transform.InverseRealHalf(half.data(), back);
        double error = 0;
        for (int i = 0; i < n; ++i)
            error = std::max(error, std::fabs(double(back[std::size_t(i)]) - x[std::size_t(i)]));
        QVERIFY2(error < 1e-5, qPrintable(QString::number(error)));
    }

    void spectrumSizesAndConstant()
    {
        CFluxList spectrum;
        QVERIFY(ComputeSpectrum({1, 2}, spectrum));
        QCOMPARE(spectrum.size(), std::size_t(2));
        QVERIFY(ComputeSpectrum({1, 2, 3}, spectrum));
        QCOMPARE(spectrum.size(), std::size_t(2));
        QVERIFY(ComputeSpectrum(CFluxList(1024, 0.0f), spectrum));
        QCOMPARE(spectrum.size(), std::size_t(513));
        QVERIFY(!ComputeSpectrum({1}, spectrum));
        QVERIFY(spectrum.empty());

        for (const int n : {3, 100, 101, 10007})
        {
            QVERIFY(ComputeSpectrum(CFluxList(std::size_t(n), 2.0f), spectrum));
            const float expected = 2.0f * float(n - 1) / float(n);
            QVERIFY2(std::fabs(spectrum[0] - expected) < 1e-5f * 2.0f, qPrintable(QString::number(n)));
        }
    }

    void spectrumMatchesWindowedReference()
    {
        for (const int n : {64, 257, 1000, 1019})
        {
            const CFluxList signal = randomSignal(n, 7);
            std::vector<double> windowed(static_cast<std::size_t>(n));
            for (int i = 0; i < n; ++i)
            {
                const double s = std::sin(i * M_PI / (n - 1));
                windowed[std::size_t(i)] = signal[std::size_t(i)] * s * s;
            }
            const auto reference = directDft(windowed);
            CFluxList spectrum;
            QVERIFY(ComputeSpectrum(signal, spectrum));
            QCOMPARE(int(spectrum.size()), n / 2 + 1);
            for (int k = 0; k <= n / 2; ++k)
                QVERIFY(std::fabs(spectrum[std::size_t(k)] - 2.0 / n * std::abs(reference[std::size_t(k)])) <
                        1e-5);
        }
    }

    void sinusoidOnAndBetweenBinsAndItsPeak()
    {
        const int n = 1000;
        const double fs = 1000;
        // A little noise gives the spectrum a noise floor, as a real probe's has.
        const auto noisy = [&](CFluxList signal) {
            const CFluxList noise = randomSignal(n, 11);
            for (std::size_t i = 0; i < signal.size(); ++i)
                signal[i] += 1e-3f * noise[i];
            return signal;
        };
        CFluxList spectrum;
        QVERIFY(ComputeSpectrum(noisy(sinusoids(n, fs, {{50, 2.0}})), spectrum));
        QVERIFY(std::fabs(spectrum[50] - 1.0f) < 0.01f); // A / 2 on its bin

        std::vector<float> frequencies, amplitudes;
        QVERIFY(ComputeSpectralPeaks(spectrum, float(fs / n), 20, frequencies, amplitudes));
        QCOMPARE(frequencies.size(), std::size_t(1));
        QVERIFY(std::fabs(frequencies[0] - 50.0f) < 0.01f);
        QVERIFY(std::fabs(amplitudes[0] - 2.0f) < 0.02f); // doubled in the peak list

        QVERIFY(ComputeSpectrum(noisy(sinusoids(n, fs, {{120.4, 1.0}})), spectrum));
        QVERIFY(ComputeSpectralPeaks(spectrum, float(fs / n), 20, frequencies, amplitudes));
        QCOMPARE(frequencies.size(), std::size_t(1));
        QVERIFY2(std::fabs(frequencies[0] - 120.4f) < 0.1f, qPrintable(QString::number(frequencies[0])));
        QVERIFY(amplitudes[0] > 0.8f && amplitudes[0] < 1.05f);
    }

    void peakEdgeCases()
    {
        std::vector<float> f, a;
        QVERIFY(ComputeSpectralPeaks({5, 1}, 1, 0, f, a));
        QVERIFY(f.empty());
        QVERIFY(!ComputeSpectralPeaks({5}, 1, 0, f, a));

        // One above bin between lower neighbours: no refinement, amplitude doubled.
        QVERIFY(ComputeSpectralPeaks({1, 1, 9, 1, 1, 1}, 2, 6, f, a));
        QCOMPARE(f, std::vector<float>({4}));
        QCOMPARE(a, std::vector<float>({18}));

        // A run whose maximum is its first bin is not interpolated; at 0 Hz it is not doubled.
        QVERIFY(ComputeSpectralPeaks({9, 5, 1, 1, 1, 1, 1}, 1, 6, f, a));
        QCOMPARE(f, std::vector<float>({0}));
        QCOMPARE(a, std::vector<float>({9}));

        // Interpolated interior maximum.
        QVERIFY(ComputeSpectralPeaks({1, 1, 4, 8, 6, 1, 1, 1}, 1, 6, f, a));
        QCOMPARE(f.size(), std::size_t(1));
        const double delta = 0.5 * (4.0 - 6.0) / (4.0 - 16.0 + 6.0);
        QCOMPARE(f[0], float(3.0 + delta));
        QCOMPARE(a[0], float(2.0 * (8.0 - 0.25 * (4.0 - 6.0) * delta)));

        // Above bins only in the last two places: no peak.
        QVERIFY(ComputeSpectralPeaks({1, 1, 1, 1, 9, 9}, 1, 6, f, a));
        QVERIFY(f.empty());

        // 0 dB: the median itself is the threshold and equal bins are not above.
        QVERIFY(ComputeSpectralPeaks({2, 2, 2, 2, 2}, 1, 0, f, a));
        QVERIFY(f.empty());

        // Bin width 0: every frequency 0, nothing doubled.
        QVERIFY(ComputeSpectralPeaks({1, 1, 9, 1, 1, 1}, 0, 6, f, a));
        QCOMPARE(f, std::vector<float>({0}));
        QCOMPARE(a, std::vector<float>({9}));
    }

    void bandFiguresMatchTimeDomainFilters()
    {
        // Components on exact bins, so each band's signal is the component itself.
        for (const int n : {1000, 1009, 1019})
        {
            const double fs = n;
            const CFluxList signal = sinusoids(n, fs, {{50, 1.0}, {300, 0.5}}, 0.25);
            std::vector<float> figures;
            QVERIFY(
                ComputeACFigureOfMeritPerBand(signal, float(fs), {10, 100, float(fs / 2)}, kRMS, figures));
            QCOMPARE(figures.size(), std::size_t(3));
            std::vector<double> band0(static_cast<std::size_t>(n), 0.25);
            QVERIFY2(std::fabs(figures[0] - rms(band0)) < 1e-4, qPrintable(QString::number(figures[0])));
            QVERIFY(std::fabs(figures[1] - 1.0 / std::sqrt(2.0)) < 1e-4);
            QVERIFY(std::fabs(figures[2] - 0.5 / std::sqrt(2.0)) < 1e-4);

            // Against the peak-to-peak of each component alone, computed in the time domain.
            float low = 0, high = 0;
            QVERIFY(ComputeP2PValue(sinusoids(n, fs, {{50, 1.0}}), low));
            QVERIFY(ComputeP2PValue(sinusoids(n, fs, {{300, 0.5}}), high));
            QVERIFY(
                ComputeACFigureOfMeritPerBand(signal, float(fs), {100, float(fs / 2)}, kPeakToPeak, figures));
            QVERIFY(std::fabs(figures[0] - low) < 1e-3f);
            QVERIFY(std::fabs(figures[1] - high) < 1e-3f);
        }
    }

    void bandWalkEdgeCases()
    {
        const int n = 1024;
        const float fs = 1024;
        const CFluxList signal = randomSignal(n, 3);
        std::vector<float> figures;
        float whole = 0;
        QVERIFY(ComputeRMSValue(signal, whole));
        QVERIFY(ComputeACFigureOfMeritPerBand(signal, fs, {fs}, kRMS, figures));
        QVERIFY(std::fabs(figures[0] - whole) < 1e-5f);

        QVERIFY(ComputeACFigureOfMeritPerBand(signal, fs, {fs / 4, fs / 2, fs}, kRMS, figures));
        QCOMPARE(figures.size(), std::size_t(3));
        QCOMPARE(figures[2], 0.0f);
        QVERIFY(std::fabs(std::hypot(figures[0], figures[1]) - whole) < 1e-5f);

        // A band narrower than half a bin is 0 and the next band starts where it did.
        QVERIFY(ComputeACFigureOfMeritPerBand(signal, fs, {100, 100.2f, fs / 2}, kRMS, figures));
        QCOMPARE(figures[1], 0.0f);
        std::vector<float> two;
        QVERIFY(ComputeACFigureOfMeritPerBand(signal, fs, {100, fs / 2}, kRMS, two));
        QVERIFY(std::fabs(figures[2] - two[1]) < 1e-6f);

        const CFluxList constant(std::size_t(n), -3.0f);
        QVERIFY(ComputeACFigureOfMeritPerBand(constant, fs, {10, fs / 2}, kRMS, figures));
        QVERIFY(std::fabs(figures[0] - 3.0f) < 1e-5f);
        QVERIFY(std::fabs(figures[1]) < 1e-5f);
        QVERIFY(ComputeACFigureOfMeritPerBand(constant, fs, {10}, kPeakToPeak, figures));
        QVERIFY(std::fabs(figures[0]) < 1e-4f);

        QVERIFY(!ComputeACFigureOfMeritPerBand(signal, fs, {10, 10}, kRMS, figures));
        QVERIFY(figures.empty());
        QVERIFY(!ComputeACFigureOfMeritPerBand(signal, fs, {0, 10}, kRMS, figures));
        QVERIFY(!ComputeACFigureOfMeritPerBand(signal, fs, {}, kRMS, figures));
        QVERIFY(!ComputeACFigureOfMeritPerBand({1}, fs, {10}, kRMS, figures));
        QVERIFY(!ComputeACFigureOfMeritPerBand(signal, fs, {std::nanf("")}, kRMS, figures));
    }
};

QTEST_GUILESS_MAIN(tst_Spectrum)
#include "tst_spectrum.moc"
