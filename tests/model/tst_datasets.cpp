#include "app/CSettings.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMeasurementParameters.h"
#include "model/CMetaTypes.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{
QSharedPointer<CMeasureBlock> block(int samples)
{
    QSharedPointer<CMeasureBlock> b(new CMeasureBlock());
    for (int i = 0; i < samples; ++i)
        b->Results.append(QSharedPointer<CFieldIntensityResult>(new CFieldIntensityResult()));
    return b;
}
} // namespace

class tst_Datasets : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;

private slots:
    void initTestCase() { CMetaTypes::Register(); }

    void measurementKeepsLimitInWholeBlocks()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        CDataSetMeasurement set(settings);
        QSignalSpy counts(&set, &CDataset::ResultsCountChanged);
        set.AddMeasureBlock(block(50000));
        set.AddMeasureBlock(block(50000));
        set.AddMeasureBlock(block(50000));
        QCOMPARE(set.ResultsCount(), qulonglong(100000));
        QCOMPARE(set.MeasureBlocks()->size(), std::size_t(2));
        QCOMPARE(counts.last().first().toULongLong(), qulonglong(100000));
        QCOMPARE(counts.at(2).first().toULongLong(), qulonglong(150000));

        set.AddMeasureBlock(block(0));
        QCOMPARE(set.ResultsCount(), qulonglong(100000));
        QCOMPARE(set.MeasureBlocks()->size(), std::size_t(3));

        set.AddMeasureBlock(block(130000));
        QCOMPARE(set.MeasureBlocks()->size(), std::size_t(1));
        QCOMPARE(set.ResultsCount(), qulonglong(130000));
    }

    void mappingCountsBlocks()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        CMeasurementParameters parameters;
        parameters.setTriggerMode(CTrigger::TriggerMode::TIMER);
        parameters.setBlockSize(3000);
        CDataSetMapping set(settings);
        set.setMeasurementParameters(&parameters);
        for (int i = 0; i < 340; ++i)
            set.AddMeasureBlock(QSharedPointer<CMeasureBlockMapping>(new CMeasureBlockMapping()));
        QCOMPARE(set.MeasureBlocks()->size(), std::size_t(333));
        QCOMPARE(set.ResultsCount(), qulonglong(333));

        parameters.setBlockSize(2000000);
        set.AddMeasureBlock(QSharedPointer<CMeasureBlockMapping>(new CMeasureBlockMapping()));
        QCOMPARE(set.MeasureBlocks()->size(), std::size_t(1));
        QCOMPARE(set.ResultsCount(), qulonglong(1));

        parameters.setBlockSize(0);
        QSignalSpy counts(&set, &CDataset::ResultsCountChanged);
        for (int i = 0; i < 5; ++i)
            set.AddMeasureBlock(QSharedPointer<CMeasureBlockMapping>(new CMeasureBlockMapping()));
        QCOMPARE(set.MeasureBlocks()->size(), std::size_t(6));
        QCOMPARE(counts.count(), 0);

        // No parameters at all: kept without a bound rather than crashing.
        CDataSetMapping bare(settings);
        bare.AddMeasureBlock(QSharedPointer<CMeasureBlockMapping>(new CMeasureBlockMapping()));
        QCOMPARE(bare.MeasureBlocks()->size(), std::size_t(1));
    }

    void clearEmitsItsSequence()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        CDataSetMeasurement set(settings);
        QStringList seen;
        connect(&set, &CDataset::CommentChanged, [&] { seen << "Comment"; });
        connect(&set, &CDataset::FilePathChanged, [&] { seen << "FilePath"; });
        connect(&set, &CDataset::InstrumentNameChanged, [&] { seen << "InstrumentName"; });
        connect(&set, &CDataset::DateChanged, [&] { seen << "Date"; });
        connect(&set, &CDataset::ResultsCountChanged, [&] { seen << "ResultsCount"; });
        connect(&set, &CDataset::ClearedChanged, [&](bool v) { seen << QString("Cleared=%1").arg(v); });
        set.Clear();
        QCOMPARE(seen, QStringList({"FilePath", "InstrumentName", "Date", "Cleared=1"}));

        set.setComment("body");
        set.AddMeasureBlock(block(3));
        seen.clear();
        set.Clear();
        QCOMPARE(seen,
                 QStringList({"Comment", "FilePath", "InstrumentName", "Date", "ResultsCount", "Cleared=1"}));
        QCOMPARE(set.MeasureBlocks()->size(), std::size_t(0));
        QCOMPARE(set.ResultsCount(), qulonglong(0));
    }

    void parametersUpdateCarriesUnits()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        CDataSetMeasurement set(settings);
        CMeasurementParameters parameters;
        parameters.setUnits(CUnits::UnitType::MILLI_GAUSS);
        QSignalSpy spy(&set, &CDataset::MeasurementParametersUpdated);
        set.setMeasurementParameters(&parameters);
        set.setMeasurementParameters(&parameters);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.first().first().value<CUnits::UnitType>(), CUnits::UnitType::MILLI_GAUSS);
        set.Clear();
        QCOMPARE(set.MeasurementParameters(), &parameters);
    }
};

QTEST_GUILESS_MAIN(tst_Datasets)
#include "tst_datasets.moc"
