#include "model/CMetaTypes.h"
#include "operations/COperationParameters.h"

#include <QSignalSpy>
#include <QTest>

#include <limits>

using T = CTrigger::TriggerMode;

namespace
{
// Records the ApplyConfiguration transitions and every coupled value a listener sees.
struct Recorder
{
    QStringList events;
    explicit Recorder(CMeasurementParameters& p)
    {
        QObject::connect(&p, &CMeasurementParameters::ApplyConfigurationChanged,
                         [this](bool v) { events << QString("Apply=%1").arg(v); });
        QObject::connect(&p, &CMeasurementParameters::AcquisitionRateChanged,
                         [this](double v) { events << QString("AR=%1").arg(v); });
        QObject::connect(&p, &CMeasurementParameters::DisplayRateChanged,
                         [this](double v) { events << QString("DR=%1").arg(v); });
        QObject::connect(&p, &CMeasurementParameters::BlockSizeChanged,
                         [this](int v) { events << QString("BS=%1").arg(v); });
        QObject::connect(&p, &CMeasurementParameters::FrequencyMaxChanged,
                         [this](double v) { events << QString("FMAX=%1").arg(v); });
        QObject::connect(&p, &CMeasurementParameters::NumberOfBinsChanged,
                         [this](double v) { events << QString("NB=%1").arg(v); });
    }
    int count(const QString& e) const { return events.count(e); }
};
} // namespace

class tst_Parameters : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CMetaTypes::Register(); }

    void initialValues()
    {
        CMeasurementParameters p;
        QCOMPARE(p.Averaging(), 1);
        QCOMPARE(p.BlockSize(), 1);
        QCOMPARE(p.DisplayRate(), 1.0);
        QCOMPARE(p.Units(), CUnits::UnitType::UNKNOWN);
        QCOMPARE(p.TriggerMode(), T::IMMEDIATE);
        QCOMPARE(p.ApplyConfiguration(), true);
        QVERIFY(p.ToString(";").startsWith("Units= ;Range=0;AutoRange=0;TriggerMode=Immediate"));
        QCOMPARE(p.ToString(";"),
                 QString("Units= ;Range=0;AutoRange=0;TriggerMode=Immediate;AcqRate=0;DispRate=1;"
                         "Avg=1;FreqMin=0;FreqMax=0;Bins=0;BlockSize=1"));
    }

    void workedCascadeAsTheOperationDefaults()
    {
        CMeasurementParameters p;
        p.setApplyConfiguration(false);
        Recorder r(p);
        p.setAcquisitionRate(20);
        // Handlers run before outside listeners, so a listener sees a cascade inside out.
        QCOMPARE(r.events, QStringList({"NB=10", "FMAX=10", "DR=20", "AR=20"}));
        p.setDisplayRate(10);
        p.setAveraging(10);
        p.setTriggerMode(T::CONTINUOUS);
        QCOMPARE(r.count("Apply=0") + r.count("Apply=1"), 0); // nested frames keep the flag false
        p.setApplyConfiguration(true);
        QCOMPARE(p.AcquisitionRate(), 20.0);
        QCOMPARE(p.DisplayRate(), 10.0);
        QCOMPARE(p.BlockSize(), 2);
        QCOMPARE(p.FrequencyMax(), 10.0);
        QCOMPARE(p.NumberOfBins(), 1.0);
        QCOMPARE(p.Averaging(), 10);
        QCOMPARE(r.events.last(), QString("Apply=1"));
        QCOMPARE(p.DeltaFrequency(), 10.0);
    }

    void oneApplyPairAroundACascade()
    {
        CMeasurementParameters p;
        p.setTriggerMode(T::CONTINUOUS);
        Recorder r(p);
        p.setFrequencyMax(50);
        QCOMPARE(r.events.first(), QString("Apply=0"));
        // Raised once the cascade is done; only the change that started it is announced later.
        QCOMPARE(r.events.mid(r.events.indexOf("Apply=1")), QStringList({"Apply=1", "FMAX=50"}));
        QCOMPARE(r.count("Apply=0"), 1);
        QCOMPARE(r.count("Apply=1"), 1);
        QCOMPARE(p.AcquisitionRate(), 100.0);
        QCOMPARE(r.count("FMAX=50"), 1); // the acquisition-rate rule does not write it again
        QCOMPARE(p.FrequencyMax(), 50.0);
    }

    void continuousTruncatesBlockSize()
    {
        CMeasurementParameters p;
        p.setTriggerMode(T::CONTINUOUS);
        p.setDisplayRate(30);
        p.setAcquisitionRate(100);
        QCOMPARE(p.BlockSize(), 3);
    }

    void hugeRatesClampTheBlockSize()
    {
        CMeasurementParameters p;
        p.setTriggerMode(T::CONTINUOUS);
        p.setDisplayRate(1e-3);
        p.setAcquisitionRate(1e31);
        QCOMPARE(p.BlockSize(), std::numeric_limits<int>::max());
    }

    void divisionsByZeroAreSkipped()
    {
        CMeasurementParameters p;
        p.setTriggerMode(T::CONTINUOUS);
        p.setDisplayRate(0);
        const int blockSize = p.BlockSize();
        p.setAcquisitionRate(100);
        QCOMPARE(p.BlockSize(), blockSize);
        QCOMPARE(p.NumberOfBins(), 0.0);

        CMeasurementParameters q;
        q.setTriggerMode(T::EXTERNAL);
        q.setBlockSize(0);
        const double displayRate = q.DisplayRate();
        q.setAcquisitionRate(50);
        QCOMPARE(q.DisplayRate(), displayRate);
        QCOMPARE(q.DeltaFrequency(), 0.0);

        CMeasurementParameters r;
        r.setFrequencyMax(10);
        const double dr = r.DisplayRate();
        r.setNumberOfBins(0);
        QCOMPARE(r.DisplayRate(), dr);
    }

    void immediateRateOnlyCountsInImmediateMode()
    {
        CMeasurementParameters p;
        p.setTriggerMode(T::CONTINUOUS);
        Recorder r(p);
        p.setImmediateAcquisitionRate(500);
        QCOMPARE(r.events, QStringList());
        p.setTriggerMode(T::IMMEDIATE);
        QCOMPARE(p.FrequencyMax(), 250.0);
        QCOMPARE(p.AcquisitionRate(), 500.0);
        p.setImmediateAcquisitionRate(1000);
        QCOMPARE(p.FrequencyMax(), 500.0);
    }

    void cascadeStartedWithApplyFalseLeavesItFalse()
    {
        CMeasurementParameters p;
        p.setApplyConfiguration(false);
        QSignalSpy spy(&p, &CMeasurementParameters::ApplyConfigurationChanged);
        p.setFrequencyMax(40);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(p.ApplyConfiguration(), false);
    }

    void blockSizeDrivesRatesByMode()
    {
        CMeasurementParameters p;
        p.setTriggerMode(T::CONTINUOUS);
        p.setDisplayRate(5);
        p.setBlockSize(40);
        QCOMPARE(p.AcquisitionRate(), 200.0);
        p.setTriggerMode(T::TIMER);
        p.setBlockSize(100);
        QCOMPARE(p.DisplayRate(), 2.0);
        QCOMPARE(p.AcquisitionRate(), 200.0);
    }

    void otherParameterClasses()
    {
        COperationParameters container;
        QVERIFY(container.MeasurementParameters());
        QCOMPARE(container.AlarmParametersMeter()->State(), CAlarm::AlarmState::Off);
        QCOMPARE(container.AlarmParametersMeter()->Axis(), CAxis::AxisType::B);
        QCOMPARE(container.AlarmParametersMapping()->DisplayAlarmUnits(), CUnits::UnitType::TESLA);
        QCOMPARE(container.AlarmParametersAcAnalysis()->Axis(), CAxis::AxisType::B);
        QCOMPARE(container.ReplayParameters()->SelectedTimeWarpIndex(), -1);
        QCOMPARE(container.ReplayParameters()->StartingBlock(), 1);
        QVERIFY(!container.MappingParameters()->SelectedMapper());

        CLimitsParameters* limits = container.LimitsParameters();
        QSignalSpy pathSpy(limits, &CLimitsParameters::LimitsFilePathChanged);
        QSignalSpy nameSpy(limits, &CLimitsParameters::LimitsFileNameChanged);
        limits->setLimitsFilePath("/a.xml");
        limits->setLimitsFilePath("/a.xml");
        limits->setLimitsFileName("a.xml");
        limits->setLimitsFileName("a.xml");
        QCOMPARE(pathSpy.count(), 2);
        QCOMPARE(nameSpy.count(), 1);

        QSignalSpy sourceSpy(container.MappingParameters(), &CMappingParameters::SourceChanged);
        container.MappingParameters()->SignalMappingSourceChanged();
        QCOMPARE(sourceSpy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_Parameters)
#include "tst_parameters.moc"
