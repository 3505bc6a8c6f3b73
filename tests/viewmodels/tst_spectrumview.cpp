#include "../support/MessageCapture.h"
#include "../support/ModelTester.h"
#include "../support/OperationCore.h"
#include "../support/RecordingPrompt.h"
#include "app/CConstants.h"
#include "compute/CFastFourierTransform.h"
#include "compute/FieldStatistics.h"
#include "compute/FigureOfMerit.h"
#include "files/CXMLResultsSerializer.h"
#include "files/LimitsXmlFile.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMetaTypes.h"
#include "operations/COperationMeasure.h"
#include "report/CSurveyReport.h"
#include "viewmodels/CAcAnalysisOperationViewModel.h"
#include "viewmodels/CAlarmParametersAcAnalysisViewModel.h"
#include "viewmodels/CChart2DAcAnalysisData.h"
#include "viewmodels/CChart2DSpectrumData.h"
#include "viewmodels/CExposureViewModel.h"
#include "viewmodels/CFrequencyPeakListData.h"
#include "viewmodels/CFrequencyTableData.h"
#include "viewmodels/CMeasurementParametersViewModel.h"
#include "viewmodels/CReportViewModel.h"
#include "viewmodels/CSpectrumOperationViewModel.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <random>

// The spectrum and AC analysis pages' models: downsampling over frequency, the
// peak and band tables against a limits file, the limit checks, the exposure
// index, the band figures, and the limits files shipped with the program.
namespace
{
constexpr double Pi = 3.14159265358979323846;

// n samples at `rate` of Bz = B = f(t) (in the operation's unit), 1 ms apart in time stamps.
QSharedPointer<CMeasureBlock> signalBlock(int n, double rate, const std::function<double(double)>& f)
{
    QSharedPointer<CMeasureBlock> block(new CMeasureBlock());
    const qint64 start = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC).toMSecsSinceEpoch();
    for (int i = 0; i < n; ++i)
    {
        auto s = QSharedPointer<CFieldIntensityResult>::create();
        const qint64 ns = qint64(double(i) / rate * 1e9);
        s->Timestamp = QDateTime::fromMSecsSinceEpoch(start + ns / 1000000, Qt::UTC);
        s->TimestampNanosecond = quint64((start * 1000000 + ns) % 1000000000);
        const float v = float(f(double(i) / rate));
        s->setB(v);
        s->setBBprime(v);
        s->setBx(0.5f * v);
        s->setBy(0);
        s->setBz(v);
        block->Results.append(s);
    }
    return block;
}

// A block whose field vector (Bx, By, Bz) at time t is f(t).
QSharedPointer<CMeasureBlock> vectorBlock(int n, double rate,
                                          const std::function<std::array<double, 3>(double)>& f)
{
    QSharedPointer<CMeasureBlock> block = signalBlock(n, rate, [](double) { return 0.0; });
    for (int i = 0; i < n; ++i)
    {
        const std::array<double, 3> b = f(double(i) / rate);
        CFieldIntensityResult& s = *block->Results[i];
        s.setBx(float(b[0]));
        s.setBy(float(b[1]));
        s.setBz(float(b[2]));
        s.setB(float(std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2])));
    }
    return block;
}

QSharedPointer<CMeasureBlock> sine(int n, double rate, double frequency, double rms)
{
    return signalBlock(n, rate,
                       [=](double t) { return rms * std::sqrt(2.0) * std::sin(2 * Pi * frequency * t); });
}

QString shippedLimits(const QString& name)
{
    return qEnvironmentVariable("TESVANA_BIN_DIR") + "/tesvana/limits/" + name;
}
} // namespace

class tst_SpectrumView : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<OperationCore<COperationMeasure>> m_Core;
    COperationMeasure* m_Operation = nullptr;
    CSettings* m_Settings = nullptr;

    void setRate(double rate, int blockSize)
    {
        CMeasurementParameters* m = m_Operation->MeasurementParameters();
        m->setAcquisitionRate(rate);
        m->setBlockSize(blockSize);
        m->setFrequencyMin(0);
        m->setFrequencyMax(rate / 2);
    }

    void addLimits(const QList<std::pair<double, double>>& entries)
    {
        for (const auto& [frequency, value] : entries)
            m_Operation->LimitsFile()->AddLimit(frequency, CUnits::UnitType::HZ, value,
                                                CUnits::UnitType::MICRO_TESLA);
        m_Operation->setLimitsFileLoaded(true);
    }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        CConstants::Translate();
    }

    void init()
    {
        m_Core = std::make_unique<OperationCore<COperationMeasure>>();
        m_Operation = &m_Core->operation;
        m_Settings = &m_Core->settings;
        m_Operation->MeasurementParameters()->setUnits(CUnits::UnitType::MICRO_TESLA);
        m_Operation->MeasurementParameters()->setUnits(CUnits::UnitType::MICRO_TESLA);
    }

    void cleanup() { m_Core.reset(); }

    void spectrumDownsampling()
    {
        CChart2DSpectrumData chart(m_Operation);
        // 512 samples at 1000 Hz: 257 bins, all shown between 0 and 500 Hz.
        setRate(1000, 512);
        chart.Plot(*sine(512, 1000, 50, 1), 4);
        QCOMPARE(int(chart.GetSpectrum().size()), 257);
        QCOMPARE(chart.DownsampledSignalLength(), 257);
        // Every bin shown: each point is its bin as a line's amplitude (twice the bin, which
        // the window halves; 0 Hz as it is), at its bin's frequency (the 50 Hz line where the
        // peak table says 50 Hz), the last bin included.
        const auto line = [&chart](int k) {
            return (k == 0 ? 1.0f : 2.0f) * chart.GetSpectrum()[std::size_t(k)];
        };
        for (int j = 0; j < 257; ++j)
        {
            QCOMPARE(chart.PointFrequency(j), 1000.0 / 512 * j);
            QCOMPARE(chart.PointAmplitude(j), line(j));
        }

        // 8192 samples: 4097 bins in view give 401 points. Point 0 is bin 0; the others
        // share out bins 1 … 4096 in consecutive spans, each showing the bin of its span
        // that deviates most from the point before, at that bin's frequency.
        setRate(8192, 8192);
        chart.Plot(
            *signalBlock(8192, 8192,
                         [](double t) { return std::sin(2 * Pi * 700 * t) + 0.01 * std::sin(t * 1e5); }),
            4);
        QCOMPARE(chart.DownsampledSignalLength(), 401);
        const auto& bins = chart.GetSpectrum();
        const double df = 8192.0 / 8192.0;
        for (int j = 1; j < 401; ++j)
        {
            const int from = 1 + (j - 1) * 4096 / 400;
            const int to = j * 4096 / 400;
            int chosen = from;
            float deviation = 0;
            for (int c = from; c <= to; ++c)
            {
                const float d = std::fabs(chart.PointAmplitude(j - 1) - line(c));
                if (d > deviation)
                {
                    deviation = d;
                    chosen = c;
                }
            }
            QCOMPARE(chart.PointAmplitude(j), line(chosen));
            QCOMPARE(chart.PointFrequency(j), df * chosen);
        }
        QCOMPARE(chart.MaxSpectrum(), 2.0 * double(*std::max_element(bins.begin() + 1, bins.end())));

        // A span of exactly 401 bins (402 in view) is shown with 401 points.
        chart.refreshAxisX(0, 401);
        QCOMPARE(chart.DownsampledSignalLength(), 401);
        // The Y range without limits: a fifth of the smallest, twice the largest amplitude.
        QCOMPARE(chart.Ymin(), chart.MinSpectrum() * 0.2);
        QCOMPARE(chart.Ymax(), chart.MaxSpectrum() * 2);
    }

    // A clean signal (a static field, lines at 50 and 120 Hz, no noise) stays above the
    // threshold from 0 Hz on: each line is a peak of its own, and the chart shows each at
    // the amplitude the table lists.
    void everyLineOfACleanSignalIsAPeak()
    {
        setRate(1000, 1000);
        CChart2DSpectrumData chart(m_Operation);
        chart.Plot(*signalBlock(1000, 1000,
                                [](double t) {
                                    return 20 + 0.8 * std::sin(2 * Pi * 50 * t) +
                                           0.3 * std::sin(2 * Pi * 120 * t);
                                }),
                   4);
        CFrequencyPeakListData table(m_Operation->LimitsFile());
        table.ComputeSpectralPeaks(chart.GetSpectrum(), float(chart.DeltaFrequency()), 10, 0);
        // The three lines, in order; anything else is the rounding's floor, 100 dB down.
        const double expected[3][2] = {{0, 20 * 0.999}, {50, 0.8}, {120, 0.3}};
        QVERIFY(table.Frequencies().size() >= 3);
        for (int p = 0; p < 3; ++p)
        {
            QVERIFY2(std::fabs(table.Frequencies()[std::size_t(p)] - expected[p][0]) < 0.5,
                     qPrintable(QString::number(table.Frequencies()[std::size_t(p)])));
            QVERIFY2(std::fabs(table.Amplitudes()[std::size_t(p)] / expected[p][1] - 1) < 0.02,
                     qPrintable(QString::number(table.Amplitudes()[std::size_t(p)])));
        }
        for (std::size_t p = 3; p < table.Amplitudes().size(); ++p)
            QVERIFY(table.Amplitudes()[p] < 1e-5);
        // The chart's point at 50 Hz: the table's amplitude (a tone on a bin).
        double at50 = 0;
        for (int j = 0; j < chart.DownsampledSignalLength(); ++j)
            if (std::fabs(chart.PointFrequency(j) - 50) < 0.01)
                at50 = chart.PointAmplitude(j);
        QVERIFY2(std::fabs(at50 / table.Amplitudes()[1] - 1) < 0.01, qPrintable(QString::number(at50)));
        // A noisy line is still one peak: no dip of 6 dB within its lobe.
        std::mt19937 generator(7);
        std::normal_distribution<double> noise(0, 0.001);
        chart.Plot(
            *signalBlock(1000, 1000, [&](double t) { return std::sin(2 * Pi * 200 * t) + noise(generator); }),
            4);
        table.ComputeSpectralPeaks(chart.GetSpectrum(), float(chart.DeltaFrequency()), 10, 0);
        QCOMPARE(table.Frequencies().size(), std::size_t(1));
    }

    // The spectrum and AC pages' way back to their defaults, with the panel's published
    // default values.
    // A chart's axes move to a new range in one step each: a range moved bound by bound
    // lays out the axis and every series twice per redraw.
    void axesTakeTheirRangesInOneStep()
    {
        setRate(1000, 512);
        CChart2DSpectrumData spectrum(m_Operation);
        spectrum.Plot(*sine(512, 1000, 50, 1), 4);
        QtCharts::QChart chart;
        auto* series = new QtCharts::QLineSeries;
        chart.addSeries(series);
        auto* x = new QtCharts::QValueAxis;
        auto* y = new QtCharts::QLogValueAxis;
        chart.addAxis(x, Qt::AlignBottom);
        chart.addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);
        QSignalSpy yMoved(y, &QtCharts::QLogValueAxis::rangeChanged);
        spectrum.updateSeries(series, y);
        QCOMPARE(yMoved.count(), 1);
        QCOMPARE(y->min(), spectrum.Ymin());
        QCOMPARE(y->max(), spectrum.Ymax());
        QCOMPARE(series->count(), spectrum.DownsampledSignalLength());
        // The time charts: both axes from the model's ranges, one change each.
        QSignalSpy xMoved(x, &QtCharts::QValueAxis::rangeChanged);
        auto* linear = new QtCharts::QValueAxis;
        chart.addAxis(linear, Qt::AlignRight);
        QSignalSpy linearMoved(linear, &QtCharts::QValueAxis::rangeChanged);
        spectrum.setXmin(10);
        spectrum.setXmax(20);
        spectrum.setYmin(-3);
        spectrum.setYmax(-1); // below the axis's old range: bound by bound this fails
        spectrum.applyRanges(x, linear);
        QCOMPARE(xMoved.count(), 1);
        QCOMPARE(linearMoved.count(), 1);
        QCOMPARE(x->min(), 10.0);
        QCOMPARE(x->max(), 20.0);
        QCOMPARE(linear->min(), -3.0);
        QCOMPARE(linear->max(), -1.0);
    }

    void defaultParameters()
    {
        CSpectrumOperationViewModel spectrum(*m_Settings, m_Operation);
        QVERIFY(spectrum.DefaultParametersOffered());
        CMeasurementParametersViewModel& panel = *spectrum.MeasurementParametersViewModel();
        QCOMPARE(panel.property("FrequencyMaxSpectrumDefaultValue").toDouble(), 100.0);
        QCOMPARE(panel.property("AcquisitionRateAcAnalysisDefaultValue").toDouble(), 200.0);
        QCOMPARE(panel.property("AveragingMappingDefaultValue").toInt(), 1000);
        CMeasurementParameters& m = *m_Operation->MeasurementParameters();
        m.setFrequencyMin(7);
        m.setAveraging(9);
        spectrum.setDefaultParameters();
        QCOMPARE(m.FrequencyMin(), 0.0);
        QCOMPARE(m.FrequencyMax(), 100.0);
        QCOMPARE(m.DisplayRate(), 1.0);
        QCOMPARE(m.Averaging(), 1);
        QCOMPARE(spectrum.Threshold(), 10.0);

        CAcAnalysisOperationViewModel ac(*m_Settings, m_Operation);
        ac.setDefaultParameters();
        QCOMPARE(m.AcquisitionRate(), 200.0);
        QCOMPARE(m.DisplayRate(), 1.0);
        QCOMPARE(m.Averaging(), 1);
    }

    void yRangeWithAndWithoutLimits()
    {
        const auto near = [](std::pair<double, double> range, double low, double high) {
            return std::fabs(range.first - low) < 1e-12 && std::fabs(range.second - high) < 1e-12;
        };
        QVERIFY(near(CChart2DSpectrumData::YRange(0.02, 3, false, 0, 0), 0.004, 6));
        QVERIFY(near(CChart2DSpectrumData::YRange(0.02, 3, true, 0.5, 2), 0.004, 6));
        QVERIFY(near(CChart2DSpectrumData::YRange(0.6, 1.5, true, 0.5, 2), 0.1, 4));
        // A file whose values reach 0 leaves the spectrum's own range.
        QVERIFY(near(CChart2DSpectrumData::YRange(0.6, 1.5, true, 0, 0), 0.12, 3));
    }

    void badLimitsFileIsClearedVisibly()
    {
        RecordingPrompt prompt;
        CSpectrumOperationViewModel page(*m_Settings, m_Operation);
        setRate(1000, 1000);
        prompt.files << shippedLimits("ICNIRP2010_GeneralPublic.xml");
        page.chooseLimitsFile();
        QCOMPARE(page.LimitsFileName(), QString("ICNIRP2010_GeneralPublic.xml"));
        // Text where numbers belong, then a file that is no limits file, then none at all.
        const QString texts = m_Core->dir.path() + "/texts.xml";
        QFile file(texts);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<KorvelinExposureLimitsFile ver=\"1.0\"><freqRange><upperFreqLimit>fifty</upperFreqLimit>"
                   "<exposureLimitValue>x</exposureLimitValue></freqRange></KorvelinExposureLimitsFile>");
        file.close();
        const QString other = m_Core->dir.path() + "/other.xml";
        QFile wrong(other);
        QVERIFY(wrong.open(QIODevice::WriteOnly));
        wrong.write("<KorvelinXmlRecord ver=\"1.0\"/>");
        wrong.close();
        prompt.files << other << m_Core->dir.path() + "/missing.xml";
        page.chooseLimitsFile();
        QVERIFY(prompt.asked.last().startsWith("Error: Could not load file"));
        QVERIFY(page.LimitsFileName().isEmpty());
        QVERIFY(!m_Operation->LimitsFileLoaded());
        page.chooseLimitsFile();
        QVERIFY(page.LimitsFileName().isEmpty());
        // The page goes on.
        m_Operation->OnNewMeasure(sine(1000, 1000, 50, 1));
        QVERIFY(std::isnan(page.Exposure()->SummationIndex()));
        // Text where a number belongs refuses the whole file, naming the entry: a band
        // read as 0 would silently leave the index.
        prompt.files << texts;
        page.chooseLimitsFile();
        QCOMPARE(prompt.asked.last(),
                 QString("Error: Could not load file / Entry 1: upperFreqLimit \"fifty\" is not a number"));
        QVERIFY(page.LimitsFileName().isEmpty());
        QVERIFY(m_Operation->OperationParameters()->LimitsParameters()->LimitsFilePath().isEmpty());
        QCOMPARE(m_Operation->getLimitsCount(), 0);
        m_Operation->OnNewMeasure(sine(1000, 1000, 50, 1));
        QVERIFY(std::isnan(page.Exposure()->SummationIndex()));
    }

    // The panel's limits file gone when it is read again: the panel forgets it and the
    // operation no longer counts a limits file as loaded.
    void limitsFileGoneOnReloadIsForgotten()
    {
        RecordingPrompt prompt;
        QTemporaryDir dir;
        const QString path = dir.filePath("limits.xml");
        QVERIFY(QFile::copy(shippedLimits("ICNIRP2010_GeneralPublic.xml"), path));
        CLimitsParameters* panel = m_Operation->OperationParameters()->LimitsParameters();
        panel->setLimitsFilePath(path);
        QVERIFY(m_Operation->LimitsFileLoaded());

        QVERIFY(QFile::remove(path));
        m_Operation->LimitsFile()->ConvertLimitsFileToCurrentUnits(true);
        QVERIFY(!m_Operation->LimitsFileLoaded());
        QCOMPARE(panel->LimitsFilePath(), QString());
        QCOMPARE(panel->LimitsFileName(), QString());
        QVERIFY(m_Operation->LimitsFile()->Limits().isEmpty());
    }

    // A file that fails part-way leaves no entry active: alarms never fire against a
    // file the panel shows as refused. "8,0e-5" is no number to the file (a comma).
    void limitsFileFailingPartWayLeavesNoEntry()
    {
        RecordingPrompt prompt;
        CSpectrumOperationViewModel page(*m_Settings, m_Operation);
        const QString path = m_Core->dir.path() + "/comma.xml";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "<KorvelinExposureLimitsFile ver=\"1.0\">"
            "<freqRange><upperFreqLimit>25</upperFreqLimit><freqUnits>Hz</freqUnits>"
            "<exposureLimitValue>2e-4</exposureLimitValue><valueUnits>T</valueUnits></freqRange>"
            "<freqRange><upperFreqLimit>400</upperFreqLimit>"
            "<exposureLimitValue>8,0e-5</exposureLimitValue></freqRange></KorvelinExposureLimitsFile>");
        file.close();
        prompt.files << path;
        page.chooseLimitsFile();
        QVERIFY2(prompt.asked.last().contains("Entry 2: exposureLimitValue \"8,0e-5\""),
                 qPrintable(prompt.asked.last()));
        QCOMPARE(m_Operation->getLimitsCount(), 0);
        QVERIFY(!m_Operation->LimitsFileLoaded());
        QVERIFY(m_Operation->OperationParameters()->LimitsParameters()->LimitsFilePath().isEmpty());
    }

    void peaksLimitsAndAlarm()
    {
        CSpectrumOperationViewModel page(*m_Settings, m_Operation);
        checkModel(page.Table());
        checkModel(page.Chart());
        page.setSelectedFieldIndex(4);
        page.setThreshold(60); // well above the leakage of the window
        setRate(1000, 1000);
        addLimits({{40, 5}, {60, 1}, {80, 3}});
        // A 50 Hz peak takes the limit of the 60 Hz entry; peaks below FrequencyMin are left out.
        m_Operation->OnNewMeasure(signalBlock(1000, 1000, [](double t) {
            return 2 * std::sin(2 * Pi * 50 * t) + 2 * std::sin(2 * Pi * 20 * t);
        }));
        CFrequencyPeakListData& peaks = *page.Table();
        QTRY_COMPARE(peaks.rowCount(), 2);
        QCOMPARE(peaks.data(peaks.index(1, 0), CFrequencyPeakListData::ExposureLimitRole).toDouble(), 1.0);
        QCOMPARE(peaks.ExposureLimit(40), 1.0); // strictly above
        QCOMPARE(peaks.ExposureLimit(90), 0.0);
        m_Operation->MeasurementParameters()->setFrequencyMin(30);
        page.loadData();
        QTRY_COMPARE(peaks.rowCount(), 1);
        QVERIFY(std::fabs(peaks.data(peaks.index(0, 0), CFrequencyPeakListData::FrequencyRole).toDouble() -
                          50) < 0.5);
        // With limits, the Y range takes them in.
        QVERIFY(page.Chart()->Ymax() >= 2 * 5.0);

        // The check compares what the peak table shows, a tone's amplitude (twice its bin,
        // which the window halves), with the limit. It walks the entries: 2.0 up to 100 Hz,
        // 1.0 up to 200 Hz, nothing beyond.
        m_Operation->LimitsFile()->ClearLimits();
        m_Operation->MeasurementParameters()->setFrequencyMin(0);
        addLimits({{100, 2.0}, {200, 1.0}});
        m_Operation->OperationParameters()->AlarmParametersSpectrum()->setState(
            CAlarm::AlarmState::Notification);
        QSignalSpy told(&page, &CSpectrumOperationViewModel::AlarmNotification);
        m_Operation->OnNewMeasure(sine(1000, 1000, 50, 1.5 / std::sqrt(2.0)));
        QVERIFY(!page.AlarmParametersViewModel()->FlagNotification());
        // Amplitude 3 against 2: between one and two times the limit, the table shows a
        // violation and the alarm rings (comparing the halved bin, 1.5, it stayed silent).
        m_Operation->OnNewMeasure(sine(1000, 1000, 50, 3 / std::sqrt(2.0)));
        QVERIFY(page.AlarmParametersViewModel()->FlagNotification());
        QCOMPARE(told.count(), 1);
        QCOMPARE(told.first().at(0).toString(), QString("Spectrum is out-of-limit"));
        QVERIFY2(told.first().at(1).toString().startsWith("Frequency = 50"),
                 qPrintable(told.first().at(1).toString()));
        QVERIFY2(told.first().at(1).toString().contains("Exposure = 2.99"),
                 qPrintable(told.first().at(1).toString()));
        m_Operation->OnNewMeasure(sine(1000, 1000, 150, 3 / std::sqrt(2.0)));
        QVERIFY(page.AlarmParametersViewModel()->FlagNotification());
        m_Operation->OnNewMeasure(sine(1000, 1000, 250, 3 / std::sqrt(2.0)));
        QVERIFY(!page.AlarmParametersViewModel()->FlagNotification());
        // Switched off, a raised flag comes down at once.
        m_Operation->OnNewMeasure(sine(1000, 1000, 150, 3 / std::sqrt(2.0)));
        QVERIFY(page.AlarmParametersViewModel()->FlagNotification());
        m_Operation->OperationParameters()->AlarmParametersSpectrum()->setState(CAlarm::AlarmState::Off);
        QVERIFY(!page.AlarmParametersViewModel()->FlagNotification());
        // A block of one sample or a constant signal: no peak, no crash.
        MessageCapture log;
        m_Operation->OnNewMeasure(signalBlock(1, 1000, [](double) { return 1.0; }));
        QTRY_COMPARE(peaks.rowCount(), 0);
        m_Operation->OnNewMeasure(signalBlock(1000, 1000, [](double) { return 1.0; }));
        QTRY_VERIFY(peaks.rowCount() <= 1); // at most the field itself, at 0 Hz
    }

    // Both pages show the exposure of the block against the limits: with a shipped
    // standard both indices, against a user's file of steps the summation only.
    // "Report…": the recording shown (in memory, or its file once saved) and files chosen,
    // the details remembered, the limits file offered once loaded, failures told.
    void surveyReportFromThePage()
    {
        RecordingPrompt prompt;
        QTemporaryDir dir;
        setRate(5000, 500);
        CSpectrumOperationViewModel spectrum(*m_Settings, m_Operation);
        CReportViewModel* report = spectrum.Report();
        report->setSite("Lab 3");
        report->setSurveyor("B. Tester");
        QCOMPARE(m_Settings->ReportSite(), QString("Lab 3"));
        QCOMPARE(report->LimitsNames().size(), 2);

        report->reportOnRecordingShown();
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY2(prompt.asked.first().startsWith("Information: No recording"),
                 qPrintable(prompt.asked.first()));

        CDataSetMeasurement* set = m_Operation->RecordingManager()->DataSet();
        for (int b = 0; b < 10; ++b)
            set->AddMeasureBlock(vectorBlock(500, 5000, [](double t) {
                return std::array<double, 3>{20, 0, 100 * std::sqrt(2.0) * std::sin(2 * Pi * 50 * t)};
            }));
        const QString pdf = dir.filePath("shown.pdf");
        prompt.asked.clear();
        prompt.files = QStringList{pdf};
        report->reportOnRecordingShown();
        QVERIFY(report->Busy());
        QTRY_VERIFY_WITH_TIMEOUT(!report->Busy(), 30000);
        QVERIFY2(report->Status().startsWith("Report written"), qPrintable(report->Status()));
        QVERIFY2(prompt.asked.last().startsWith("Save: Save the report"),
                 qPrintable(prompt.asked.join('\n')));
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString content = QString::fromUtf8(text.readAllStandardOutput());
        for (const char* expected :
             {"Lab 3", "B. Tester", "Recording not saved", "below the reference levels"})
            QVERIFY2(content.contains(expected), expected);

        // Files chosen: the recording saved; the page's limits file offered and used.
        const QString saved = dir.filePath("saved.xml");
        {
            QFile out(saved);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QVERIFY(CXMLResultsSerializer().Serialize(set, &out));
        }
        // The recording loaded from its file: the report is of the file, with its checksum.
        QVERIFY(m_Operation->RecordingManager()->Load(saved));
        QCOMPARE(m_Operation->RecordingManager()->WholeRecordingFile(), QFileInfo(saved).absoluteFilePath());
        prompt.files = QStringList{dir.filePath("loaded.pdf")};
        report->reportOnRecordingShown();
        QTRY_VERIFY_WITH_TIMEOUT(!report->Busy(), 30000);
        text.start("pdftotext", {dir.filePath("loaded.pdf"), "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString loaded = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(loaded.contains("saved.xml") && loaded.contains(CSurveyReport::Sha256(saved)),
                 qPrintable(loaded.left(2000)));
        QVERIFY(!loaded.contains("Recording not saved"));
        m_Operation->OperationParameters()->LimitsParameters()->setLimitsFilePath(
            shippedLimits("ICNIRP2010_Occupational.xml"));
        QCOMPARE(report->LimitsNames().size(), 3);
        report->setSelectedLimitsIndex(2);
        prompt.files = QStringList{saved, dir.filePath("files.pdf")};
        report->reportOnFiles();
        QTRY_VERIFY_WITH_TIMEOUT(!report->Busy(), 30000);
        QVERIFY2(QFile::exists(dir.filePath("files.pdf")), qPrintable(report->Status()));
        text.start("pdftotext", {dir.filePath("files.pdf"), "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString files = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY(files.contains("saved.xml"));
        QVERIFY(files.contains("ICNIRP2010_Occupational.xml"));

        // A report that cannot be written says so, and the page goes on.
        prompt.asked.clear();
        prompt.files = QStringList{dir.filePath("no/such/folder/x.pdf")};
        report->reportOnRecordingShown();
        QTRY_VERIFY_WITH_TIMEOUT(!report->Busy(), 30000);
        QVERIFY2(report->Status().startsWith("The report was not written"), qPrintable(report->Status()));
        QVERIFY2(prompt.asked.last().startsWith("Error: The report was not written"),
                 qPrintable(prompt.asked.join('\n')));
        // Cancelled: nothing asked beyond the file, nothing written.
        prompt.asked.clear();
        prompt.files.clear();
        report->reportOnFiles();
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(!report->Busy());
    }

    void exposureAgainstTheShippedLimits()
    {
        RecordingPrompt prompt;
        setRate(10000, 1000);
        m_Operation->MeasurementParameters()->setUnits(CUnits::UnitType::MICRO_TESLA);
        m_Operation->OperationParameters()->LimitsParameters()->setLimitsFilePath(
            shippedLimits("ICNIRP2010_GeneralPublic.xml"));
        QVERIFY(m_Operation->LimitsFileLoaded());
        QVERIFY(prompt.asked.isEmpty());
        CSpectrumOperationViewModel spectrum(*m_Settings, m_Operation);
        CAcAnalysisOperationViewModel ac(*m_Settings, m_Operation);
        for (QAbstractItemModel* model : std::initializer_list<QAbstractItemModel*>{
                 spectrum.Table(), spectrum.Chart(), ac.Table(), ac.Chart()})
            checkModel(model);
        for (CExposureViewModel* exposure : {spectrum.Exposure(), ac.Exposure()})
        {
            QCOMPARE(exposure->LimitsName(), QString("ICNIRP 2010 general public"));
            QVERIFY(exposure->Applies() && exposure->WeightedPeakOffered());
            QVERIFY(std::isnan(exposure->SummationIndex()));
        }
        // The bench's field: 16.5 uT static along x and the 50 Hz line of 0.8 uT RMS along
        // z. The static field never enters; the line is 0.8 / 200 of its reference level.
        const auto bench = [](double t) {
            return std::array<double, 3>{16.5, -2.0, 0.8 * std::sqrt(2.0) * std::sin(2 * Pi * 50 * t)};
        };
        m_Operation->OnNewMeasure(vectorBlock(1000, 10000, bench));
        for (CExposureViewModel* exposure : {spectrum.Exposure(), ac.Exposure()})
        {
            QVERIFY2(std::fabs(exposure->SummationIndex() / 0.004 - 1) < 0.02,
                     qPrintable(QString::number(exposure->SummationIndex())));
            QVERIFY2(std::fabs(exposure->WeightedPeakIndex() / 0.004 - 1) < 0.03,
                     qPrintable(QString::number(exposure->WeightedPeakIndex())));
            QVERIFY(std::fabs(exposure->DominantFrequency() - 50) < 0.5);
            QVERIFY(!exposure->Exceeded());
        }
        // 250 uT RMS at 50 Hz exceeds it; the largest stays after a smaller block, until reset.
        m_Operation->OnNewMeasure(vectorBlock(1000, 10000, [](double t) {
            return std::array<double, 3>{0, 250 * std::sqrt(2.0) * std::sin(2 * Pi * 50 * t), 0};
        }));
        QVERIFY(spectrum.Exposure()->Exceeded());
        QVERIFY(std::fabs(spectrum.Exposure()->SummationIndex() - 1.25) < 0.025);
        m_Operation->OnNewMeasure(vectorBlock(1000, 10000, bench));
        QVERIFY(std::fabs(spectrum.Exposure()->MaxSummationIndex() - 1.25) < 0.025);
        QVERIFY(std::fabs(spectrum.Exposure()->MaxWeightedPeakIndex() - 1.25) < 0.04);
        QVERIFY(spectrum.Exposure()->Exceeded());
        spectrum.Exposure()->resetMaxima();
        QCOMPARE(spectrum.Exposure()->MaxSummationIndex(), spectrum.Exposure()->SummationIndex());
        QVERIFY(!spectrum.Exposure()->Exceeded());
        // The other standard, through the same panel.
        m_Operation->OperationParameters()->LimitsParameters()->setLimitsFilePath(
            shippedLimits("ICNIRP2010_Occupational.xml"));
        QCOMPARE(ac.Exposure()->LimitsName(), QString("ICNIRP 2010 occupational"));
        m_Operation->OnNewMeasure(vectorBlock(1000, 10000, bench));
        QVERIFY2(std::fabs(ac.Exposure()->SummationIndex() / 0.0008 - 1) < 0.02,
                 qPrintable(QString::number(ac.Exposure()->SummationIndex())));
        // A user's file of steps: the summation only, named by the file.
        m_Operation->clearLimitsFile();
        QVERIFY(!ac.Exposure()->Applies() && std::isnan(ac.Exposure()->SummationIndex()));
        const QString steps = m_Core->dir.path() + "/site limits.xml";
        QFile file(steps);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<KorvelinExposureLimitsFile ver=\"1.0\">"
                   "<freqRange><upperFreqLimit>100</upperFreqLimit><freqUnits>Hz</freqUnits>"
                   "<exposureLimitValue>40</exposureLimitValue><valueUnits>µT</valueUnits></freqRange>"
                   "<freqRange><upperFreqLimit>5000</upperFreqLimit><freqUnits>Hz</freqUnits>"
                   "<exposureLimitValue>10</exposureLimitValue><valueUnits>µT</valueUnits></freqRange>"
                   "</KorvelinExposureLimitsFile>");
        file.close();
        m_Operation->OperationParameters()->LimitsParameters()->setLimitsFilePath(steps);
        QVERIFY(m_Operation->LimitsFileLoaded());
        QCOMPARE(spectrum.Exposure()->LimitsName(), QString("site limits.xml"));
        QVERIFY(!spectrum.Exposure()->WeightedPeakOffered());
        m_Operation->OnNewMeasure(vectorBlock(1000, 10000, [](double t) {
            return std::array<double, 3>{4 * std::sqrt(2.0) * std::sin(2 * Pi * 50 * t),
                                         std::sqrt(2.0) * std::sin(2 * Pi * 1000 * t), 30};
        }));
        const double expected = 4.0 / 40 + 1.0 / 10;
        QVERIFY2(std::fabs(spectrum.Exposure()->SummationIndex() / expected - 1) < 0.02,
                 qPrintable(QString::number(spectrum.Exposure()->SummationIndex())));
        QVERIFY(std::isnan(spectrum.Exposure()->WeightedPeakIndex()));
        // The data set cleared: nothing shown, the largest forgotten.
        m_Operation->RecordingManager()->DataSet()->Clear();
        QVERIFY(std::isnan(spectrum.Exposure()->SummationIndex()));
        QVERIFY(std::isnan(spectrum.Exposure()->MaxSummationIndex()));
        m_Operation->clearLimitsFile();
    }

    // One recording, in every field unit the probe offers, gives one physical answer:
    // the same indices, and limits (peak table, band table, chart line) scaled exactly.
    // The unit is chosen before the limits are loaded, and after (the pages already open).
    void oneAnswerInEveryUnit_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<bool>("limitsFirst");
        for (const CUnits::UnitType unit :
             {CUnits::UnitType::TESLA, CUnits::UnitType::MILLI_TESLA, CUnits::UnitType::MICRO_TESLA,
              CUnits::UnitType::NANO_TESLA, CUnits::UnitType::GAUSS, CUnits::UnitType::KILO_GAUSS,
              CUnits::UnitType::MILLI_GAUSS, CUnits::UnitType::MEGA_HERTZ_PROTON,
              CUnits::UnitType::AMPERE_PER_METER, CUnits::UnitType::KILO_AMPERE_PER_METER,
              CUnits::UnitType::MILLI_AMPERE_PER_METER})
        {
            const QByteArray name = CUnitsToQString(unit).toUtf8();
            QTest::newRow(name + ", unit first") << int(unit) << false;
            QTest::newRow(name + ", limits first") << int(unit) << true;
        }
    }

    void oneAnswerInEveryUnit()
    {
        QFETCH(int, unit);
        QFETCH(bool, limitsFirst);
        const auto u = CUnits::UnitType(unit);
        const double perTesla = KVL::TeslaToUnit(u);
        RecordingPrompt prompt;
        setRate(10000, 1000);
        CMeasurementParameters& m = *m_Operation->MeasurementParameters();
        CLimitsParameters& limits = *m_Operation->OperationParameters()->LimitsParameters();
        // The opposite unit first, so that a unit change always happens.
        m.setUnits(limitsFirst ? CUnits::UnitType::TESLA : u);
        if (!limitsFirst)
            limits.setLimitsFilePath(shippedLimits("ICNIRP2010_GeneralPublic.xml"));
        CSpectrumOperationViewModel spectrum(*m_Settings, m_Operation);
        CAcAnalysisOperationViewModel ac(*m_Settings, m_Operation);
        ac.setSectionIndex(1); // the band table shown: it follows the blocks
        if (limitsFirst)
        {
            limits.setLimitsFilePath(shippedLimits("ICNIRP2010_GeneralPublic.xml"));
            m.setUnits(u);
        }
        QVERIFY(m_Operation->LimitsFileLoaded());
        QCOMPARE(spectrum.DisplayUnits(), u);
        // The bench's field in tesla (16.5 uT static, the 50 Hz line of 0.8 uT RMS), in the unit.
        m_Operation->OnNewMeasure(vectorBlock(1000, 10000, [perTesla](double t) {
            return std::array<double, 3>{16.5e-6 * perTesla, -2e-6 * perTesla,
                                         0.8e-6 * perTesla * std::sqrt(2.0) * std::sin(2 * Pi * 50 * t)};
        }));
        const auto near = [](double value, double expected, double tolerance) {
            return std::fabs(value / expected - 1) <= tolerance;
        };
        const double limit50 = 200e-6 * perTesla; // the public's level at 50 Hz
        QVERIFY2(near(spectrum.Table()->ExposureLimit(50), limit50, 1e-6),
                 qPrintable(QString::number(spectrum.Table()->ExposureLimit(50))));
        QTRY_COMPARE(ac.Table()->rowCount(), m_Operation->LimitsFile()->Limits().size());
        double bandLimit = 0;
        for (int row = 0; row < ac.Table()->rowCount(); ++row)
            if (m_Operation->LimitsFile()->Limits().at(row)->UpperFrequencyLimitValue() >= 50)
            {
                bandLimit = ac.Table()->ExposureLimit(row);
                break;
            }
        QVERIFY2(near(bandLimit, limit50, 1e-6), qPrintable(QString::number(bandLimit)));
        // The chart's limit line follows on the display's beat: waited for, on a busy machine too.
        const auto lineAt50 = [&] {
            QtCharts::QLineSeries line;
            spectrum.Chart()->updateLimitSeries(&line);
            bool found = false;
            for (int i = 0; i + 1 < line.count(); i += 2)
                if (line.at(i).x() <= 50 && line.at(i + 1).x() >= 50)
                    found = near(line.at(i).y(), limit50, 1e-6);
            return found;
        };
        QTRY_VERIFY(lineAt50());
        for (CExposureViewModel* exposure : {spectrum.Exposure(), ac.Exposure()})
        {
            QVERIFY2(near(exposure->SummationIndex(), 0.004, 0.02),
                     qPrintable(QString::number(exposure->SummationIndex())));
            QVERIFY2(near(exposure->WeightedPeakIndex(), 0.004, 0.03),
                     qPrintable(QString::number(exposure->WeightedPeakIndex())));
            QVERIFY(!exposure->Exceeded());
        }
        // Cleared (End, a replay's start): the log axis spans the limits, not 300 decades from 0.
        spectrum.Chart()->Clear();
        QVERIFY2(spectrum.Chart()->Ymin() > 0 && spectrum.Chart()->Ymax() / spectrum.Chart()->Ymin() < 1e6,
                 qPrintable(QString("%1 .. %2").arg(spectrum.Chart()->Ymin()).arg(spectrum.Chart()->Ymax())));
        // Against the same block in tesla: within 0.1 %.
        static double teslaSummation = 0;
        static double teslaWeightedPeak = 0;
        if (u == CUnits::UnitType::TESLA)
        {
            teslaSummation = spectrum.Exposure()->SummationIndex();
            teslaWeightedPeak = spectrum.Exposure()->WeightedPeakIndex();
        }
        QVERIFY(teslaSummation > 0);
        QVERIFY2(
            near(spectrum.Exposure()->SummationIndex(), teslaSummation, 1e-3),
            qPrintable(
                QString("%1 against %2").arg(spectrum.Exposure()->SummationIndex()).arg(teslaSummation)));
        QVERIFY(near(spectrum.Exposure()->WeightedPeakIndex(), teslaWeightedPeak, 1e-3));
        // A unit with no relation to the field has no limits and no index.
        m.setUnits(CUnits::UnitType::ADC);
        QVERIFY(m_Operation->LimitsFile()->Limits().isEmpty());
        QVERIFY(!spectrum.Exposure()->Applies());
        QVERIFY(std::isnan(spectrum.Exposure()->SummationIndex()));
        QVERIFY2(ac.AnalysisNotice().contains("not a unit of the field"), qPrintable(ac.AnalysisNotice()));
        QVERIFY(prompt.asked.isEmpty());
    }

    // A recording whose rate is no number (another tool wrote "inf"): the pages show no
    // spectrum, peak, band or index, and say why.
    void pagesSayWhyTheyShowNoAnalysis()
    {
        RecordingPrompt prompt;
        CDataSetMeasurement set(*m_Settings);
        CMeasurementParameters parameters;
        parameters.setApplyConfiguration(false);
        parameters.setUnits(CUnits::UnitType::MICRO_TESLA);
        parameters.setAcquisitionRate(1000);
        parameters.setBlockSize(1000);
        parameters.setApplyConfiguration(true);
        set.setMeasurementParameters(&parameters);
        set.AddMeasureBlock(sine(1000, 1000, 50, 10));
        const QString path = m_Core->dir.path() + "/inf.xml";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(CXMLResultsSerializer().Serialize(&set, &file));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        QVERIFY(text.contains("AcqRate=1000"));
        text.replace("AcqRate=1000", "AcqRate=inf");
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();

        setRate(1000, 1000);
        m_Operation->OperationParameters()->LimitsParameters()->setLimitsFilePath(
            shippedLimits("ICNIRP2010_GeneralPublic.xml"));
        CSpectrumOperationViewModel spectrum(*m_Settings, m_Operation);
        QCOMPARE(spectrum.AnalysisNotice(), QString());
        prompt.files << path;
        spectrum.load();
        QVERIFY2(spectrum.AnalysisNotice().contains("is not a positive number"),
                 qPrintable(spectrum.AnalysisNotice()));
        QVERIFY(spectrum.Chart()->GetSpectrum().empty());
        QVERIFY(spectrum.Table()->Frequencies().empty());
        QVERIFY(std::isnan(spectrum.Exposure()->SummationIndex()));
        CAcAnalysisOperationViewModel ac(*m_Settings, m_Operation);
        ac.setSectionIndex(1);
        QVERIFY(ac.AnalysisNotice().contains("is not a positive number"));
        QTest::qWait(100); // the band table's pace
        QCOMPARE(ac.Table()->rowCount(), 0);
        QVERIFY2(prompt.asked.size() == 1, qPrintable(prompt.asked.join('\n'))); // the file dialog only
    }

    // The exposure panel is told to redraw only when what it shows changes: never while
    // no limits are loaded, and with limits only when a stretch is assessed (a quarter
    // of it apart), not at every block (100 a second at 100 kHz).
    void exposurePanelRedrawsOnlyWhenItChanges()
    {
        RecordingPrompt prompt;
        setRate(10000, 1000);
        m_Operation->MeasurementParameters()->setUnits(CUnits::UnitType::MICRO_TESLA);
        CSpectrumOperationViewModel spectrum(*m_Settings, m_Operation);
        QSignalSpy changed(spectrum.Exposure(), &CExposureViewModel::ExposureChanged);
        const auto feed = [this](int blocks) {
            for (int k = 0; k < blocks; ++k)
            {
                QSharedPointer<CMeasureBlock> block = vectorBlock(1000, 10000, [k](double t) {
                    return std::array<double, 3>{0, 0, std::sin(2 * Pi * 50 * (t + 0.1 * k))};
                });
                for (const QSharedPointer<CFieldIntensityResult>& sample : block->Results)
                    sample->Timestamp = sample->Timestamp.addMSecs(100 * k); // one after the other
                m_Operation->OnNewMeasure(block);
            }
        };
        feed(40);
        QCOMPARE(changed.count(), 0);
        m_Operation->OperationParameters()->LimitsParameters()->setLimitsFilePath(
            shippedLimits("ICNIRP2010_GeneralPublic.xml"));
        QVERIFY2(m_Operation->LimitsFileLoaded(), qPrintable(prompt.asked.join("; ")));
        changed.clear();
        feed(40);
        // 16384 samples assessed every 4096: about ten assessments, the first block's included.
        QVERIFY2(changed.count() >= 8 && changed.count() <= 12, qPrintable(QString::number(changed.count())));
        QVERIFY(std::fabs(spectrum.Exposure()->DominantFrequency() - 50) < 0.5);
    }

    void shippedLimitsFollowTheGuidelines_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<QList<double>>>("pieces");
        QTest::newRow("general public") << "ICNIRP2010_GeneralPublic.xml"
                                        << QList<QList<double>>{{1, 8, 4e-2, 2},
                                                                {8, 25, 5e-3, 1},
                                                                {25, 400, 2e-4, 0},
                                                                {400, 3e3, 8e-2, 1},
                                                                {3e3, 10e6, 2.7e-5, 0}};
        QTest::newRow("occupational") << "ICNIRP2010_Occupational.xml"
                                      << QList<QList<double>>{{1, 8, 0.2, 2},
                                                              {8, 25, 2.5e-2, 1},
                                                              {25, 300, 1e-3, 0},
                                                              {300, 3e3, 0.3, 1},
                                                              {3e3, 10e6, 1e-4, 0}};
    }

    void shippedLimitsFollowTheGuidelines()
    {
        QFETCH(QString, file);
        QFETCH(QList<QList<double>>, pieces);
        m_Operation->MeasurementParameters()->setUnits(CUnits::UnitType::TESLA);
        m_Operation->OperationParameters()->LimitsParameters()->setLimitsFilePath(shippedLimits(file));
        QVERIFY(m_Operation->LimitsFileLoaded());
        CFrequencyPeakListData lookup(m_Operation->LimitsFile());
        const auto curve = [&](double f) {
            double value = 1e300;
            for (const QList<double>& piece : pieces)
                if (f >= piece[0] && f <= piece[1]) // at a boundary the lower of both pieces
                    value = std::min(value, piece[2] / std::pow(f, piece[3]));
            return value;
        };
        for (int i = 0; i < 1000; ++i)
        {
            const double f = std::pow(10.0, 5.0 * i / 999.0);
            const double limit = lookup.ExposureLimit(f);
            const double standard = curve(f);
            QVERIFY2(limit <= standard * (1 + 1e-6),
                     qPrintable(QString("%1 Hz: %2 > %3").arg(f).arg(limit).arg(standard)));
            QVERIFY2(limit >= standard * 0.9,
                     qPrintable(QString("%1 Hz: %2 < %3").arg(f).arg(limit).arg(standard)));
        }
    }

    void bandTableAndChartPoint()
    {
        CAcAnalysisOperationViewModel page(*m_Settings, m_Operation);
        checkModel(page.Table());
        checkModel(page.Chart());
        page.setSectionIndex(1); // the band table shown: it follows the blocks
        setRate(200, 200);
        // Without a file: one band up to half the rate, whose RMS is the plain RMS.
        const QSharedPointer<CMeasureBlock> block = signalBlock(200, 200, [](double t) {
            return 1 + std::sin(2 * Pi * 10 * t) + 0.3 * std::sin(2 * Pi * 70 * t);
        });
        m_Operation->OnNewMeasure(block);
        CFrequencyTableData& table = *page.Table();
        QTRY_COMPARE(table.rowCount(), 1);
        QCOMPARE(table.BandText(0), QString("0-100"));
        QCOMPARE(table.data(table.index(0, 0), CFrequencyTableData::ExposureLimitRole).toString(),
                 QString("0"));
        KVL::Instrument::ZRQ5520Types::CFluxList bz;
        for (const auto& s : block->Results)
            bz.push_back(s->Bz());
        float rms = 0;
        QVERIFY(KVL::ComputeRMSValue(bz, rms));
        QVERIFY(std::fabs(table.Figure(4, 0) - rms) < 1e-4f * rms);

        // Bands 0-50, 50-100, 100-200: the last lies above the Nyquist frequency and, holding
        // nothing the block can show, is not listed (no row of zeros).
        addLimits({{50, 1.0}, {100, 0.5}, {200, 0.5}});
        m_Operation->OnNewMeasure(block);
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.BandText(1), QString("50-100"));
        QVERIFY(table.Figure(4, 1) > 0.0f);
        QCOMPARE(table.AboveRangeText(), QString("1 band from 100 Hz: above the measured range"));

        // The alarm on Bx: band 0 (0.7 RMS of 10 Hz and DC) within 1.0; band 1 (70 Hz) over 0.5? No: 0.106.
        m_Operation->OperationParameters()->AlarmParametersAcAnalysis()->setState(
            CAlarm::AlarmState::Notification);
        m_Operation->OperationParameters()->AlarmParametersAcAnalysis()->setAxis(CAxis::AxisType::Bz);
        QSignalSpy told(&page, &CMeasurementOperationViewModel::AlarmNotification);
        m_Operation->OnNewMeasure(block);
        QCOMPARE(told.count(), 1); // band 0 holds DC 1 and the 10 Hz tone: above 1.0
        QVERIFY2(told.first().at(1).toString().startsWith("Minimum = 0") &&
                     told.first().at(1).toString().contains("\nBz = "),
                 qPrintable(told.first().at(1).toString()));
        // Switched off, the raised flags come down at once.
        QVERIFY(page.AlarmParametersViewModel()->FlagNotification() && table.FlagNotification());
        m_Operation->OperationParameters()->AlarmParametersAcAnalysis()->setState(CAlarm::AlarmState::Off);
        QVERIFY(!page.AlarmParametersViewModel()->FlagNotification());
        QVERIFY(!table.FlagNotification());

        // The chart point: dB is half the difference of the figures of B + dB and B - dB.
        QSharedPointer<CMeasureBlock> uncertain = signalBlock(4, 200, [](double) { return 1.0; });
        for (const auto& s : uncertain->Results)
            s->setdB(0.2f);
        const auto point = CChart2DAcAnalysisData::FigurePoint(*uncertain, 0);
        QVERIFY(std::fabs(point->dB() - 0.2f) < 1e-6f);
        QVERIFY(std::isnan(point->dBConverted()));
        QCOMPARE(point->Timestamp, uncertain->Results.last()->Timestamp);

        // A block of one sample with the standard deviation: every series logs, the point is 0.
        MessageCapture log;
        const auto lone =
            CChart2DAcAnalysisData::FigurePoint(*signalBlock(1, 200, [](double) { return 1.0; }), 2);
        QCOMPARE(lone->B(), 0.0f);
        QVERIFY(log.contains("Error with ComputeStdDevValue: Bx"));
        QVERIFY(log.contains("Error with ComputeStdDevValue: B+dB"));
    }

    // The band RMS and standard deviation from the spectrum (Parseval) are the figures
    // of the band's own signal, transformed back.
    void bandFiguresEqualTheTimeDomain_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("even") << 4096;
        QTest::newRow("odd") << 1001;
        QTest::newRow("prime") << 997;
    }

    void bandFiguresEqualTheTimeDomain()
    {
        QFETCH(int, n);
        const float rate = 1000;
        KVL::Instrument::ZRQ5520Types::CFluxList signal;
        for (int i = 0; i < n; ++i)
        {
            const double t = i / double(rate);
            signal.push_back(float(0.3 + std::sin(2 * Pi * 20 * t) + 0.5 * std::sin(2 * Pi * 130 * t + 1) +
                                   0.2 * std::cos(2 * Pi * 410 * t)));
        }
        const std::vector<float> limits{50, 200, 300, 500, 700};
        // The reference: mask the bins of each band, transform back, take the figure.
        KVL::CFastFourierTransform transform(n);
        std::vector<KVL::CFastFourierTransform::Complex> full;
        transform.ForwardReal(signal.data(), full);
        std::vector<float> rmsExpected, stdExpected;
        const float binWidth = rate / float(n);
        long lo = 0, mirror = n;
        float previous = 0;
        for (const float limit : limits)
        {
            const float upper = std::min(limit, rate / 2);
            if (previous >= rate / 2)
            {
                rmsExpected.push_back(0);
                stdExpected.push_back(0);
                continue;
            }
            const long hi = std::lround(upper / binWidth);
            const long m = std::lround((rate - upper) / binWidth);
            std::vector<KVL::CFastFourierTransform::Complex> half(std::size_t(n / 2 + 1));
            for (int k = 0; k <= n / 2; ++k)
                half[std::size_t(k)] =
                    (lo <= k && k < hi) || (m <= k && k < mirror) ? full[std::size_t(k)] : 0.0f;
            KVL::Instrument::ZRQ5520Types::CFluxList band;
            transform.InverseRealHalf(half.data(), band);
            float r = 0, s = 0;
            QVERIFY(KVL::ComputeRMSValue(band, r));
            QVERIFY(KVL::ComputeStdDevValue(band, s));
            rmsExpected.push_back(r);
            stdExpected.push_back(s);
            lo = hi;
            mirror = m;
            previous = upper;
        }
        std::vector<float> rms, std;
        QVERIFY(KVL::ComputeACFigureOfMeritPerBand(signal, rate, limits, KVL::kRMS, rms));
        QVERIFY(KVL::ComputeACFigureOfMeritPerBand(signal, rate, limits, KVL::kStdDev, std));
        QCOMPARE(rms.size(), limits.size());
        for (std::size_t b = 0; b < limits.size(); ++b)
        {
            QVERIFY2(std::fabs(rms[b] - rmsExpected[b]) <= 1e-4f * std::max(1.0f, rmsExpected[b]),
                     qPrintable(QString("band %1: %2 vs %3").arg(b).arg(rms[b]).arg(rmsExpected[b])));
            QVERIFY2(std::fabs(std[b] - stdExpected[b]) <= 1e-4f * std::max(1.0f, stdExpected[b]),
                     qPrintable(QString("band %1: %2 vs %3").arg(b).arg(std[b]).arg(stdExpected[b])));
        }
    }

    void alarmPanels()
    {
        CAlarmParametersAcAnalysisViewModel ac(
            m_Operation->OperationParameters()->AlarmParametersAcAnalysis());
        QCOMPARE(ac.AxisNames().size(), 5); // no uncertainty axis
        ac.setSelectedStateIndex(7);
        QCOMPARE(m_Operation->OperationParameters()->AlarmParametersAcAnalysis()->State(),
                 CAlarm::AlarmState::Off);
        ac.setSelectedStateIndex(2);
        ac.setSelectedAxisIndex(3);
        QCOMPARE(m_Operation->OperationParameters()->AlarmParametersAcAnalysis()->State(),
                 CAlarm::AlarmState::Audio);
        QCOMPARE(m_Operation->OperationParameters()->AlarmParametersAcAnalysis()->Axis(),
                 CAxis::AxisType::By);
    }
};

QTEST_MAIN(tst_SpectrumView)
#include "tst_spectrumview.moc"
