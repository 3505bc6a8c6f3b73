#include "app/CSettings.h"
#include "compute/FieldStatistics.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMetaTypes.h"
#include "report/CSurveyReport.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

// The survey report's assessment: the same answer in every unit, the decision rule at
// its edges, a limits file of steps, and where the largest index occurred.
class tst_SurveyReport : public QObject
{
    Q_OBJECT

    using Verdict = CSurveyAssessment::Verdict;

    std::unique_ptr<QTemporaryDir> m_Dir;
    std::unique_ptr<CSettings> m_Settings;

    // `blocks` blocks of 500 samples at 5 kHz in `unit`: 40 uT static along x and a 50 Hz
    // line along z whose RMS (uT) is `rms(block)`.
    std::unique_ptr<CDataSetMeasurement> recording(CUnits::UnitType unit, int blocks,
                                                   const std::function<double(int)>& rms)
    {
        auto set = std::make_unique<CDataSetMeasurement>(*m_Settings);
        // The data set keeps a pointer to its parameters: they live as long as it does.
        auto* parameters = new CMeasurementParameters(set.get());
        parameters->setApplyConfiguration(false);
        parameters->setUnits(unit);
        parameters->setAcquisitionRate(5000);
        parameters->setBlockSize(500);
        parameters->setApplyConfiguration(true);
        set->setMeasurementParameters(parameters);
        const double scale = KVL::TeslaToUnit(unit) * 1e-6;
        const qint64 start = QDateTime(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC).toMSecsSinceEpoch();
        for (int b = 0; b < blocks; ++b)
        {
            auto block = QSharedPointer<CMeasureBlock>::create();
            for (int i = 0; i < 500; ++i)
            {
                const qint64 k = qint64(b) * 500 + i;
                const qint64 ns = k * 200000;
                auto sample = QSharedPointer<CFieldIntensityResult>::create();
                sample->Timestamp = QDateTime::fromMSecsSinceEpoch(start + ns / 1000000, Qt::UTC);
                sample->TimestampNanosecond = quint64(ns % 1000000000);
                const double z = rms(b) * std::sqrt(2.0) * std::sin(2 * M_PI * 50 * double(k) / 5000);
                sample->setBx(float(40 * scale));
                sample->setBz(float(z * scale));
                sample->setB(float(std::hypot(40.0, z) * scale));
                sample->setdB(float(0.01 * sample->B()));
                block->Results.append(sample);
            }
            set->AddMeasureBlock(block);
        }
        return set;
    }

    static std::vector<const CMeasureBlock*> blocksOf(const CDataSetMeasurement& set)
    {
        std::vector<const CMeasureBlock*> blocks;
        for (const auto& block : *set.MeasureBlocks())
            blocks.push_back(block.data());
        return blocks;
    }

private slots:
    void initTestCase() { CMetaTypes::Register(); }

    void init()
    {
        m_Dir = std::make_unique<QTemporaryDir>();
        m_Settings = std::make_unique<CSettings>("/p", nullptr, m_Dir->filePath("settings"));
    }

    void decisionRuleAtItsEdges()
    {
        // Method only: U = 2 x 2 % / sqrt 3 = 2.31 %.
        const CSurveyAssessment::Judged below = CSurveyAssessment::Judge(0.97, 0.02, NAN);
        QVERIFY(std::abs(below.expandedUncertainty - 0.0230940) < 1e-6);
        QCOMPARE(below.verdict, Verdict::Below);
        QCOMPARE(CSurveyAssessment::Judge(0.98, 0.02, NAN).verdict, Verdict::Inconclusive);
        QCOMPARE(CSurveyAssessment::Judge(1.0, 0.02, NAN).verdict, Verdict::Inconclusive);
        QCOMPARE(CSurveyAssessment::Judge(1.02, 0.02, NAN).verdict, Verdict::Inconclusive);
        QCOMPARE(CSurveyAssessment::Judge(1.03, 0.02, NAN).verdict, Verdict::Exceeds);
        // The instrument's 5 % widens it: 1.03 can no longer be told apart from 1.
        const CSurveyAssessment::Judged wide = CSurveyAssessment::Judge(1.03, 0.02, 0.05);
        QVERIFY(std::abs(wide.expandedUncertainty - 2 * std::sqrt(0.02 * 0.02 / 3 + 0.05 * 0.05)) < 1e-12);
        QCOMPARE(wide.verdict, Verdict::Inconclusive);
        QCOMPARE(CSurveyReport::VerdictText(Verdict::Exceeds, 1.2),
                 QString("exceeds the reference levels by 20 %"));
    }

    void everyUnitGivesTheSameReport()
    {
        double summation = 0, peak = 0, staticShare = 0;
        for (const CUnits::UnitType unit :
             {CUnits::UnitType::TESLA, CUnits::UnitType::MILLI_TESLA, CUnits::UnitType::MICRO_TESLA,
              CUnits::UnitType::NANO_TESLA, CUnits::UnitType::GAUSS, CUnits::UnitType::MILLI_GAUSS,
              CUnits::UnitType::KILO_GAUSS, CUnits::UnitType::AMPERE_PER_METER,
              CUnits::UnitType::MILLI_AMPERE_PER_METER, CUnits::UnitType::KILO_AMPERE_PER_METER})
        {
            const auto set = recording(unit, 10, [](int) { return 100.0; });
            CSurveyReport report({});
            QString error;
            QVERIFY2(report.AddDataSet(*set, blocksOf(*set), "r", QString(), &error), qPrintable(error));
            const CSurveyAssessment& a = *report.Sections().front().assessment;
            const QString name = CUnitsToQString(unit);
            // 100 uT RMS at 50 Hz against the public's 200 uT.
            QVERIFY2(std::abs(a.LargestSummation().index - 0.5) < 0.01, qPrintable(name));
            if (summation == 0)
            {
                summation = a.LargestSummation().index;
                peak = a.LargestWeightedPeak().index;
                staticShare = a.MeanMagnitude() / a.StaticLimit();
            }
            QVERIFY2(std::abs(a.LargestSummation().index / summation - 1) < 1e-4, qPrintable(name));
            QVERIFY2(std::abs(a.LargestWeightedPeak().index / peak - 1) < 1e-4, qPrintable(name));
            QVERIFY2(std::abs(a.MeanMagnitude() / a.StaticLimit() / staticShare - 1) < 1e-4,
                     qPrintable(name));
            QVERIFY2(std::abs(a.InstrumentUncertainty() - 0.01) < 1e-5, qPrintable(name));
            QVERIFY2(std::abs(a.Lines().front().rms / (100e-6 * KVL::TeslaToUnit(unit)) - 1) < 0.02,
                     qPrintable(name));
            QCOMPARE(a.Overall(), Verdict::Below);
        }
        // Counts are no field: refused with the reason.
        const auto counts = recording(CUnits::UnitType::ADC, 2, [](int) { return 1.0; });
        CSurveyReport report({});
        QString error;
        QVERIFY(!report.AddDataSet(*counts, blocksOf(*counts), "counts", QString(), &error));
        QVERIFY2(error.contains("not a unit of the field"), qPrintable(error));
        QVERIFY(report.Sections().empty());
    }

    void whereTheLargestIndexOccurred()
    {
        // The line grows to 240 uT in blocks 12 to 15 (1.2 of the level), then falls back.
        const auto set = recording(CUnits::UnitType::MICRO_TESLA, 30,
                                   [](int b) { return b >= 12 && b < 16 ? 240.0 : 100.0; });
        CSurveyReport report({});
        QString error;
        QVERIFY(report.AddDataSet(*set, blocksOf(*set), "r", QString(), &error));
        const CSurveyAssessment& a = *report.Sections().front().assessment;
        QVERIFY2(a.LargestSummation().block >= 12 && a.LargestSummation().block <= 19,
                 qPrintable(QString::number(a.LargestSummation().block)));
        // Its time: within the stretch that has it, which ends with that block.
        const double blockEnd = a.FirstTime() + (a.LargestSummation().block + 1) * 0.1 - 0.0002;
        QVERIFY(std::abs(a.LargestSummation().time - blockEnd) < 1e-3);
        QVERIFY(a.LargestWeightedPeak().time >= a.LargestWeightedPeak().startTime);
        QVERIFY(a.LargestWeightedPeak().time >= a.FirstTime() + 1.2 - 1e-3);
        QVERIFY(a.LargestWeightedPeak().time <= a.FirstTime() + 1.6);
        QCOMPARE(a.Overall(), Verdict::Exceeds);
        // Stretches of 8192 samples (the power of two at or above the rate): at the first block,
        // after each half of one (3 times in 15,000 samples) and the recording's last.
        QCOMPARE(int(a.Series().size()), 1 + 15000 / 4096 + 1);
        QCOMPARE(a.Blocks(), 30);
        QCOMPARE(a.Samples(), qint64(15000));
    }

    void limitsFileOfSteps()
    {
        // 400 uT up to 100 Hz, 100 uT above: a line of 100 uT at 50 Hz is a quarter.
        const QByteArray limits =
            "<?xml version=\"1.0\"?><KorvelinExposureLimitsFile ver=\"1.0\">"
            "<freqRange><upperFreqLimit>100</upperFreqLimit><freqUnits>Hz</freqUnits>"
            "<exposureLimitValue>400</exposureLimitValue><valueUnits>\xc2\xb5T</valueUnits></freqRange>"
            "<freqRange><upperFreqLimit>3000</upperFreqLimit><freqUnits>Hz</freqUnits>"
            "<exposureLimitValue>100</exposureLimitValue><valueUnits>\xc2\xb5T</valueUnits></freqRange>"
            "</KorvelinExposureLimitsFile>";
        for (const CUnits::UnitType unit : {CUnits::UnitType::MICRO_TESLA, CUnits::UnitType::GAUSS})
        {
            CSurveyReport report({});
            QString error;
            QVERIFY2(report.SetLimitsFile("steps.xml", limits, &error), qPrintable(error));
            const auto set = recording(unit, 10, [](int) { return 100.0; });
            QVERIFY2(report.AddDataSet(*set, blocksOf(*set), "r", QString(), &error), qPrintable(error));
            const CSurveyAssessment& a = *report.Sections().front().assessment;
            QVERIFY2(std::abs(a.LargestSummation().index - 0.25) < 0.005,
                     qPrintable(QString::number(a.LargestSummation().index)));
            QVERIFY(!a.HasWeightedPeak());
            QCOMPARE(report.LimitsName(), QString("limits file steps.xml"));
            QCOMPARE(report.ToJson()["recordings"].toArray()[0].toObject()["limits"].toString(),
                     QString("limits file"));
        }
        CSurveyReport report({});
        QString error;
        QVERIFY(!report.SetLimitsFile("bad.xml", "<not limits/>", &error));
        QVERIFY2(error.startsWith("bad.xml: not a limits file"), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_SurveyReport)
#include "tst_surveyreport.moc"
