#include "../support/MessageCapture.h"
#include "../support/ModelTester.h"
#include "../support/OperationCore.h"
#include "../support/RecordingPrompt.h"
#include "app/CConstants.h"
#include "model/CMeasureBlockMapping.h"
#include "model/CMetaTypes.h"
#include "operations/CMapperPositionSourceCartesian.h"
#include "operations/COperationMapping.h"
#include "operations/CRecordingManagerMapping.h"
#include "viewmodels/CArrowListModel.h"
#include "viewmodels/CChart2DMappingData.h"
#include "viewmodels/CColourMap.h"
#include "viewmodels/CMappingOperationDatasetViewModel.h"
#include "viewmodels/CMappingOperationViewModel.h"
#include "viewmodels/CMappingParametersViewModel.h"
#include "viewmodels/CMeasureBlockData.h"

#include <QDateTime>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

// The mapping page's models without an instrument: arrows, extent, the chart's
// horizontal axis, the frame rotation, the mapper and source panel, the bar.
namespace
{
QSharedPointer<CMeasureBlockMapping> point(double x, double y, double z, float bx, float by, float bz,
                                           int second = 0)
{
    auto block = QSharedPointer<CMeasureBlockMapping>::create();
    block->Position.setX(x);
    block->Position.setY(y);
    block->Position.setZ(z);
    auto s = QSharedPointer<CFieldIntensityResult>::create();
    s->Timestamp = QDateTime(QDate(2026, 5, 6), QTime(7, 8, second), Qt::UTC);
    s->setBx(bx);
    s->setBy(by);
    s->setBz(bz);
    s->setB(std::sqrt(bx * bx + by * by + bz * bz));
    block->Results.append(s);
    return block;
}
} // namespace

class tst_Mapping : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<OperationCore<COperationMapping>> m_Core;
    COperationMapping* m_Operation = nullptr;
    CSettings* m_Settings = nullptr;
    std::unique_ptr<CMappingOperationViewModel> m_Page;

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        CConstants::Translate();
    }

    void init()
    {
        m_Core = std::make_unique<OperationCore<COperationMapping>>();
        m_Operation = &m_Core->operation;
        m_Settings = &m_Core->settings;
        m_Operation->MeasurementParameters()->setUnits(CUnits::UnitType::MILLI_TESLA);
        m_Operation->MeasurementParameters()->setBlockSize(1);
        m_Page = std::make_unique<CMappingOperationViewModel>(*m_Settings, m_Operation);
        checkModel(m_Page->Arrows());
        checkModel(m_Page->MappingOperationDatasetViewModel()->Chart2DData());
        checkModel(m_Page->MappingOperationDatasetViewModel()->TableData());
    }

    void cleanup()
    {
        m_Page.reset();
        m_Core.reset();
    }

    // A second run over a map not saved asks first; refused, the map stays; agreed, the
    // run starts a fresh recording.
    void aSecondRunAsksAndStartsAFreshRecording()
    {
        CRecordingManagerMapping& recorder = *m_Operation->RecordingManager();
        m_Page->resume();
        QVERIFY(recorder.IsRecording());
        recorder.AddMeasureBlock(point(0, 0, 0, 1, 0, 0));
        recorder.AddMeasureBlock(point(1, 0, 0, 1, 0, 0, 1));
        recorder.StopRecord();
        QVERIFY(recorder.IsIdleWithData() && recorder.HasUnsavedData());
        RecordingPrompt prompt;
        prompt.confirm = false;
        m_Page->resume();
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(recorder.NumBlocks(), 2);
        QVERIFY(!recorder.IsRecording());
        prompt.confirm = true;
        m_Page->resume();
        QCOMPARE(prompt.asked.size(), 2);
        QCOMPARE(recorder.NumBlocks(), 0);
        QVERIFY(recorder.IsRecording());
        QVERIFY(!recorder.IsIdleWithData());
        recorder.AddMeasureBlock(point(2, 0, 0, 1, 0, 0, 2));
        QCOMPARE(recorder.NumBlocks(), 1);
        QVERIFY(recorder.HasUnsavedData());
    }

    void arrowsFollowTheField()
    {
        // Nothing is taken before a run is resumed or a map loaded.
        m_Page->OnNewMeasure(point(0, 0, 0, 0, 1, 0));
        QCOMPARE(m_Page->Arrows()->rowCount(), 0);
        m_Page->resume();
        QVERIFY(m_Page->CanAcceptNewMeasure());
        // A field along +Y: the arrow at rest, the identity rotation.
        m_Page->OnNewMeasure(point(1, 2, 3, 0, 2, 0));
        QCOMPARE(m_Page->QuatScalar(), 1.0);
        QCOMPARE(m_Page->QuatX(), 0.0);
        QCOMPARE(m_Page->QuatZ(), 0.0);
        QCOMPARE(m_Page->Scale(), 2.0);
        QCOMPARE(m_Page->MaxScale(), 2.0);
        QCOMPARE(m_Page->Position()->Z(), 3.0);
        QCOMPARE(m_Page->ByLastBlock(), 2.0);
        // The history keeps MaxVectorCount arrows: a fourth removes the first.
        m_Page->setMaxVectorCount(3);
        m_Page->OnNewMeasure(point(2, 0, 0, 1, 0, 0));
        m_Page->OnNewMeasure(point(3, 0, 0, 1, 0, 0));
        m_Page->OnNewMeasure(point(4, 0, 0, 1, 0, 0));
        CArrowListModel& arrows = *m_Page->Arrows();
        QCOMPARE(arrows.rowCount(), 3);
        QCOMPARE(arrows.data(arrows.index(0), CArrowListModel::XRole).toFloat(), 2.0f);
        QCOMPARE(m_Page->HelpPath(), QString("mapping_numeric"));
        m_Page->setSectionIndex(4); // the colour map
        QCOMPARE(m_Page->HelpPath(), QString("mapping_colour_map"));
        m_Page->setSectionIndex(5);
        QVERIFY(m_Page->HelpPath().isEmpty());
    }

    void extentFollowsTheSourceAndTheBlocks()
    {
        CMapperPositionSourceCartesian* grid = m_Operation->MappingParameters()->MapperSourceCartesian();
        grid->X()->setStart(-5);
        grid->X()->setStop(5);
        QCOMPARE(m_Page->XStart(), -5.0);
        QCOMPARE(m_Page->XStop(), 5.0);
        // A loaded map whose points all lie at X = 2: 2 to 3.
        m_Page->resume();
        CRecordingManagerMapping& recorder = *m_Operation->RecordingManager();
        recorder.DataSet()->setMeasurementParameters(m_Operation->MeasurementParameters());
        for (int i = 0; i < 3; ++i)
            recorder.DataSet()->AddMeasureBlock(point(2, i, 0, 0, 1, 0, i));
        emit m_Page->DatasetLoaded();
        QCOMPARE(m_Page->XStart(), 2.0);
        QCOMPARE(m_Page->XStop(), 3.0);
        QCOMPARE(m_Page->YStop(), 2.0);
        QCOMPARE(m_Page->Arrows()->rowCount(), 3);
    }

    // The X axis says what it plots; a map of a plane at Z = 0 remembered on "Z Position"
    // opens on the first axis that spreads its points; too small a step names every axis.
    void chartAxisTitleAndAFirstChoiceThatSpreads()
    {
        CChart2DMappingData& chart = *m_Page->Chart();
        chart.setHorizontalAxisType(0);
        QCOMPARE(chart.XAxisTitle(), QString("Time [s]"));
        chart.setHorizontalAxisType(3);
        QCOMPARE(chart.XAxisTitle(), QString("Z Position [mm]"));
        chart.ClearAll();
        m_Page->resume();
        m_Page->OnNewMeasure(point(0, 0, 0, 1, 0, 0, 1));
        QCOMPARE(chart.HorizontalAxisType(), 3); // one point: nothing to tell yet
        m_Page->OnNewMeasure(point(0, 4, 0, 2, 0, 0, 2));
        m_Page->OnNewMeasure(point(2, 4, 0, 2, 0, 0, 3));
        QCOMPARE(chart.HorizontalAxisType(), 2); // X did not spread at the second point, Y did
        QCOMPARE(chart.XAxisTitle(), QString("Y Position [mm] (row at X = 2 mm, Z = 0 mm)"));
        // Chosen once: the user's later choice stays.
        chart.setHorizontalAxisType(3);
        m_Page->OnNewMeasure(point(4, 4, 0, 2, 0, 0, 4));
        QCOMPARE(chart.HorizontalAxisType(), 3);

        MessageCapture log;
        CMapperPositionSourceCartesian* grid = m_Operation->MappingParameters()->MapperSourceCartesian();
        grid->X()->setStepSize(0);
        grid->Z()->setStepSize(0.0001);
        QCOMPARE(grid->PointCount(), 0);
        QVERIFY2(log.contains("The grid's step is too small on X (0 mm), Z (0.0001 mm)"),
                 qPrintable(log.all().join('\n')));
    }

    // A grid along X draws the row of the newest point, in order of X: the other rows are
    // not joined to it across the map (a zigzag); every row shares one X axis.
    void chartAlongAPositionDrawsOneRowOfAGrid()
    {
        CChart2DMappingData& chart = *m_Page->Chart();
        chart.setHorizontalAxisType(1);
        chart.ClearAll();
        m_Page->resume();
        QSignalSpy titles(&chart, &CChart2DFieldsData::XAxisTitleChanged);
        int second = 0;
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 4; ++column)
            {
                // Each row measured the other way round, as a serpentine scan does.
                const int x = row % 2 == 0 ? column : 3 - column;
                m_Page->OnNewMeasure(point(10.0 * x, 5.0 * row, 0, float(100 * row + x), 0, 0, second++));
            }
        QCOMPARE(chart.HorizontalAxisType(), 1);
        QCOMPARE(chart.XAxisTitle(), QString("X Position [mm] (row at Y = 10 mm, Z = 0 mm)"));
        QVERIFY(titles.count() >= 2); // once per new row at least
        QCOMPARE(chart.MeasureResultCount(), quint64(4));
        QCOMPARE(chart.MeasureResultMinX(), 0.0);
        QCOMPARE(chart.MeasureResultMaxX(), 30.0);
        chart.setXmin(-5);
        chart.setXmax(35);
        chart.UpdateDownsampling();
        QCOMPARE(chart.DownsampledSignalLength(), 4);
        for (int x = 0; x < 4; ++x)
        {
            QCOMPARE(chart.data(chart.index(x, 0)).toDouble(), 10.0 * x);
            QCOMPARE(chart.PointValue(x, 3), float(200 + x)); // Bx of row Y = 10 only
        }
        // Along Y the line through the newest point (X = 30) holds one point of each row.
        chart.setHorizontalAxisType(2);
        QCOMPARE(chart.XAxisTitle(), QString("Y Position [mm] (row at X = 30 mm, Z = 0 mm)"));
        QCOMPARE(chart.MeasureResultCount(), quint64(3));
        // In time every sample is drawn.
        chart.setHorizontalAxisType(0);
        QCOMPARE(chart.XAxisTitle(), QString("Time [s]"));
        QCOMPARE(chart.MeasureResultCount(), quint64(12));
    }

    void chartAlongTimeOrPositionAndRotatedOnce()
    {
        CChart2DMappingData& chart = *m_Page->Chart();
        m_Page->resume();
        m_Page->OnNewMeasure(point(5, 0, 0, 1, 0, 0, 1));
        m_Page->OnNewMeasure(point(1, 0, 0, 2, 0, 0, 2));
        m_Page->OnNewMeasure(point(3, 0, 0, 3, 0, 0, 3));
        QCOMPARE(chart.MeasureResultCount(), quint64(3));
        // Along X: the points in order of position, shown at their positions.
        chart.setHorizontalAxisType(1);
        QCOMPARE(m_Settings->Mapping2DPlotHorizontalAxisType(), CSettings::e_HorizAxisIsXPosition);
        QCOMPARE(chart.MeasureResultMinX(), 1.0);
        QCOMPARE(chart.MeasureResultMaxX(), 5.0);
        chart.setXmin(0);
        chart.setXmax(10);
        chart.UpdateDownsampling();
        QCOMPARE(chart.DownsampledSignalLength(), 3);
        QCOMPARE(chart.data(chart.index(0, 0)).toDouble(), 1.0);
        QCOMPARE(chart.data(chart.index(2, 0)).toDouble(), 5.0);
        QCOMPARE(chart.PointValue(0, 3), 2.0f); // Bx of the point at X = 1
        chart.setHorizontalAxisType(0);
        chart.setXmin(0);
        chart.setXmax(10);
        chart.UpdateDownsampling();
        QCOMPARE(chart.PointValue(0, 3), 1.0f); // in time, the first measured

        // A block turned by its orientation once: plotting it again changes nothing.
        auto turned = point(0, 0, 0, 1, 0, 0);
        turned->Orientation.setYaw(90);
        CChart2DMappingData::RotateOnce(*turned);
        const float bx = turned->Results.first()->Bx();
        const float bz = turned->Results.first()->Bz();
        QVERIFY(turned->RotAppliedOnMeasBlock());
        QVERIFY(std::fabs(bx - 1.0f) > 0.5f); // turned a quarter
        CChart2DMappingData::RotateOnce(*turned);
        QCOMPARE(turned->Results.first()->Bx(), bx);
        QCOMPARE(turned->Results.first()->Bz(), bz);
    }

    // A map measured with the probe turned is saved in the mapping's frame; reloaded, it
    // shows the values shown live everywhere (chart, colour map, table, last values,
    // arrows), never turned a second time.
    void aTurnedMapReloadsAsShownLive()
    {
        m_Page->Chart()->setHorizontalAxisType(0); // along time, whatever an earlier test chose
        m_Page->resume();
        CRecordingManagerMapping& recorder = *m_Operation->RecordingManager();
        recorder.DataSet()->setMeasurementParameters(m_Operation->MeasurementParameters());
        recorder.setIsHolding(false);
        recorder.setIsRecording(true);
        for (int i = 0; i < 3; ++i)
        {
            auto block = point(i, 2 * i, 0, 1.0f + float(i), 2.0f, -0.5f, i);
            block->Orientation.setRoll(30);
            block->Orientation.setPitch(-20);
            block->Orientation.setYaw(75);
            recorder.AddMeasureBlock(block);
            m_Page->OnNewMeasure(block);
        }
        struct Shown
        {
            QList<float> chart;
            QList<double> table;
            std::array<double, 3> last{};
            double colour = 0;
            double quat = 0;
        };
        const auto shown = [this] {
            Shown result;
            CChart2DMappingData& chart = *m_Page->Chart();
            chart.setXmin(0);
            chart.setXmax(100);
            chart.UpdateDownsampling();
            for (int j = 0; j < chart.DownsampledSignalLength(); ++j)
                for (int column = 3; column <= 5; ++column)
                    result.chart << chart.PointValue(j, column);
            CMeasureBlockData& table = *m_Page->Table();
            for (int row = 0; row < table.rowCount(); ++row)
                for (const int role :
                     {CMeasureBlockData::BxRole, CMeasureBlockData::ByRole, CMeasureBlockData::BzRole})
                    result.table << table.data(table.index(row, 0), role).toDouble();
            result.last = {m_Page->BxLastBlock(), m_Page->ByLastBlock(), m_Page->BzLastBlock()};
            m_Page->ColourMap()->setQuantityIndex(1);
            result.colour = m_Page->ColourMap()->ValueMax();
            result.quat = m_Page->QuatScalar();
            return result;
        };
        const Shown live = shown();
        QCOMPARE(live.chart.size(), 9);
        QVERIFY(std::fabs(live.last[0] - 3.0) > 0.1); // turned from (3, 2, -0.5)

        QTemporaryDir folder;
        const QString path = folder.filePath("turned.xml");
        recorder.StopRecord();
        recorder.Save(path);
        QVERIFY(QFile::exists(path));
        recorder.ResetRecord();
        QVERIFY(recorder.Load(path));
        emit m_Page->DatasetLoaded();
        const Shown reloaded = shown();
        QCOMPARE(reloaded.chart.size(), live.chart.size());
        for (int i = 0; i < live.chart.size(); ++i)
            QVERIFY2(std::fabs(reloaded.chart[i] - live.chart[i]) < 1e-5f,
                     qPrintable(QString("chart value %1: %2 live, %3 reloaded")
                                    .arg(i)
                                    .arg(live.chart[i])
                                    .arg(reloaded.chart[i])));
        QCOMPARE(reloaded.table.size(), live.table.size());
        for (int i = 0; i < live.table.size(); ++i)
            QVERIFY(std::fabs(reloaded.table[i] - live.table[i]) < 1e-5);
        for (int c = 0; c < 3; ++c)
            QVERIFY2(std::fabs(reloaded.last[std::size_t(c)] - live.last[std::size_t(c)]) < 1e-5,
                     qPrintable(QString::number(reloaded.last[std::size_t(c)])));
        QVERIFY(std::fabs(reloaded.colour - live.colour) < 1e-5);
        QVERIFY(std::fabs(reloaded.quat - live.quat) < 1e-5);
    }

    // Each row of the map's table shows its own block's place, and the table keeps no
    // more rows than the map keeps samples.
    void mapTableRowsKeepTheirPlaceAndTheLimit()
    {
        CMeasureBlockData table;
        checkModel(&table);
        table.setMaxRows(4);
        for (int i = 1; i <= 3; ++i)
        {
            auto block = point(i, 10 * i, 0, 1, 0, 0, i);
            block->Results.append(point(i, 0, 0, 2, 0, 0, i)->Results.first());
            block->Orientation.setYaw(5 * i);
            table.DisplayFields(*block);
        }
        QCOMPARE(table.rowCount(), 4);
        const QList<double> xs = {2, 2, 3, 3};
        for (int row = 0; row < 4; ++row)
        {
            QCOMPARE(table.data(table.index(row, 0), CMeasureBlockData::XRole).toDouble(), xs[row]);
            QCOMPARE(table.data(table.index(row, 0), CMeasureBlockData::YRole).toDouble(), 10 * xs[row]);
            QCOMPARE(table.data(table.index(row, 0), CMeasureBlockData::YawRole).toDouble(), 5 * xs[row]);
        }
    }

    void averagingWithinEachBlock()
    {
        using C = CChart2DMappingData;
        // Exponential, N = 2: y0 = x0, y = (y + x) / 2.
        QCOMPARE(C::Filtered({0, 4, 4}, 1, 2), std::vector<float>({0, 2, 3}));
        // Moving, N = 3, the window starting full of the first value.
        QCOMPARE(C::Filtered({3, 6, 9, 12}, 2, 3), std::vector<float>({3, 4, 6, 9}));
        QCOMPARE(C::Filtered({1, 2}, 0, 3), std::vector<float>({1, 2}));
        QCOMPARE(C::Filtered({1, 2}, 2, 0), std::vector<float>({1, 2}));
        // The chart averages within a block, never across blocks, and leaves the samples as measured.
        CChart2DMappingData& chart = *m_Page->Chart();
        chart.setHorizontalAxisType(0);
        chart.onAveragingModeIndexChange(1);
        chart.onAveragingCountIndexChange(2);
        m_Page->resume();
        auto block = point(0, 0, 0, 0, 0, 0, 1);
        block->Results.append(point(0, 0, 0, 4, 0, 0, 2)->Results.first());
        m_Page->OnNewMeasure(block);
        m_Page->OnNewMeasure(point(1, 0, 0, 8, 0, 0, 2));
        chart.setXmin(0);
        chart.setXmax(100);
        chart.UpdateDownsampling();
        QCOMPARE(chart.DownsampledSignalLength(), 3);
        QCOMPARE(chart.PointValue(1, 3), 2.0f); // (0 + 4) / 2
        QCOMPARE(chart.PointValue(2, 3), 8.0f); // a new block starts afresh
        QCOMPARE(block->Results.last()->Bx(), 4.0f);
        chart.onAveragingModeIndexChange(0);
        chart.setXmin(0);
        chart.setXmax(100);
        chart.UpdateDownsampling();
        QCOMPARE(chart.PointValue(1, 3), 4.0f);
    }

    void mapperAndSourcePanel()
    {
        CMappingParametersViewModel& panel = *m_Page->MappingParametersViewModel();
        QCOMPARE(panel.Sources(), QStringList({"Cartesian", "File"}));
        QCOMPARE(panel.SelectedSourceIndex(), 0);
        panel.setSelectedSourceIndex(1);
        QVERIFY(!panel.IsCartesianSource());
        QCOMPARE(m_Operation->MappingParameters()->MapperSource(),
                 static_cast<CMapperPositionSource*>(m_Operation->MappingParameters()->MapperSourceFile()));
        panel.setSelectedSourceIndex(0);
        QVERIFY(panel.IsCartesianSource());
        // No mapper plug-in loaded here: no selection, and an index beyond is ignored.
        QCOMPARE(panel.SelectedMapperIndex(), -1);
        panel.setSelectedMapperIndex(3);
        QVERIFY(!m_Operation->MappingParameters()->SelectedMapper());
        // A grid axis is refused with a reason and left as it was.
        CAxisStepSeries& x = *panel.Grid()->X();
        QVERIFY(panel.applyAxis(0, 0, 10, 2));
        QVERIFY(!panel.applyAxis(0, 5, 1, 1));
        QVERIFY(panel.InputError().contains("start"));
        QVERIFY(!panel.applyAxis(0, 0, 1, 0));
        QVERIFY(!panel.applyAxis(0, 0, 1, -1));
        QVERIFY(!panel.applyAxis(0, 0, 1, 0.0005)); // finer than the grid takes
        QVERIFY(!panel.applyAxis(0, 0, std::nan(""), 1));
        QCOMPARE(x.Stop(), 10.0);
        QCOMPARE(x.StepSize(), 2.0);
        QVERIFY(panel.applyAxis(0, 0, 1, 1));
        QVERIFY(panel.InputError().isEmpty());
        QCOMPARE(panel.GridText(), QString("8 points"));
        QCOMPARE(CMappingParametersViewModel::GridPointCount(0, 2, 1, 0, 2, 1, 0, 0, 1), 9.0);
        QVERIFY(CMappingParametersViewModel::GridPointCount(0, 1e6, 0.01, 0, 1, 1, 0, 0, 1) >
                CMapperPositionSourceCartesian::MaxPoints);
        // A mapping file that is missing: the panel says so.
        RecordingPrompt prompt;
        prompt.files << m_Core->dir.path() + "/missing.xml";
        panel.setSelectedSourceIndex(1);
        panel.chooseMappingFile();
        QVERIFY(!panel.MappingFileText().isEmpty());
    }

    void colourMapOfAPlanarGrid()
    {
        CColourMap map;
        map.Add(0, 0, 5, {1, 0, 0, 1});
        QVERIFY(!map.Planar()); // one point is no plane
        map.Add(2, 0, 5, {3, 0, 0, 3});
        map.Add(0, 1, 5, {2, 0, 0, 2});
        QVERIFY(map.Planar());
        QCOMPARE(map.UName(), QString("X"));
        QCOMPARE(map.VName(), QString("Y"));
        QCOMPARE(map.UMax(), 2.0);
        QCOMPARE(map.VMax(), 1.0);
        QCOMPARE(map.ValueMin(), 1.0);
        QCOMPARE(map.ValueMax(), 3.0);
        // The unmeasured corner (2, 1) is left out of the interpolation, not taken as zero.
        QCOMPARE(map.valueAt(2, 0), 3.0);
        QCOMPARE(map.valueAt(1, 0), 2.0);
        QCOMPARE(map.valueAt(0, 0.5), 1.5);
        QCOMPARE(map.Nodes().size(), std::size_t(3));
        QVERIFY(std::isnan(map.valueAt(3, 0))); // off the grid
        map.setQuantityIndex(1);                // Bx is 0 everywhere: a flat scale, no failure
        QCOMPARE(map.ValueMin(), 0.0);
        QCOMPARE(map.valueAt(1, 0.5), 0.0);
        // A point off the plane: a volume, no colour map.
        map.Add(0, 0, 6, {1, 0, 0, 1});
        QVERIFY(!map.Planar());
        QVERIFY(std::isnan(map.valueAt(0, 0)));
        map.Clear();
        QCOMPARE(map.PointCount(), 0);
    }

    void colourMapInterpolatesAKnownField()
    {
        // A plane field linear in both coordinates is reproduced exactly between the points,
        // on an uneven grid in the Y-Z plane whose coordinates carry stepping rounding.
        CColourMap map;
        const auto field = [](double y, double z) { return 2 * y - 3 * z + 10; };
        const double ys[] = {-1, 0.1 + 0.2, 2};
        const double zs[] = {0, 0.5, 4};
        for (double y : ys)
            for (double z : zs)
                map.Add(7, y, z, {field(y, z), 0, 0, 0});
        QVERIFY(map.Planar());
        QCOMPARE(map.UName(), QString("Y"));
        QCOMPARE(map.VName(), QString("Z"));
        QCOMPARE(map.PointCount(), 9);
        for (double y : {-1.0, -0.4, 0.3, 1.1, 2.0})
            for (double z : {0.0, 0.25, 1.0, 3.9})
                QVERIFY2(std::fabs(map.valueAt(y, z) - field(y, z)) < 1e-9, qPrintable(QString::number(y)));
        QCOMPARE(map.ValueMin(), field(-1, 4));
        QCOMPARE(map.ValueMax(), field(2, 0));

        // The same point again shows its newest value.
        map.Add(7, -1, 4, {100, 0, 0, 0});
        QCOMPARE(map.valueAt(-1, 4), 100.0);
        QCOMPARE(map.ValueMax(), 100.0);

        // The scale: the ends are the first and last stops, the middle between them.
        const QVector<QColor> stops{QColor(0, 0, 0), QColor(200, 100, 0), QColor(255, 255, 255)};
        QCOMPARE(CColourMap::ColourOf(0, stops), stops[0]);
        QCOMPARE(CColourMap::ColourOf(1, stops), stops[2]);
        QCOMPARE(CColourMap::ColourOf(2, stops), stops[2]);
        QCOMPARE(CColourMap::ColourOf(0.25, stops), QColor(100, 50, 0));
        QCOMPARE(CColourMap::ColourOf(std::nan(""), stops), stops[0]);

        // The rendered image: the top right corner is the highest value (V upwards).
        CColourMap corner;
        corner.Add(0, 0, 0, {0, 0, 0, 0});
        corner.Add(1, 0, 0, {0, 0, 0, 0});
        corner.Add(0, 1, 0, {0, 0, 0, 0});
        corner.Add(1, 1, 0, {1, 0, 0, 0});
        const QImage image = corner.Render(11, 11, stops);
        QCOMPARE(QColor(image.pixel(10, 0)), stops[2]);
        QCOMPARE(QColor(image.pixel(0, 10)), stops[0]);
        QCOMPARE(QColor(image.pixel(5, 5)), CColourMap::ColourOf(0.25, stops));
    }

    void mappingBar()
    {
        using VM = CMeasurementOperationViewModel;
        // Connected, no run: Resume, Record, Load.
        int actions =
            VM::VisibleMappingActions({true, false, false, false, false, false, false, false}, false);
        QVERIFY(actions & VM::Resume);
        QVERIFY(actions & VM::Load);
        // A run in progress: no Resume, no Load; Stop while recording.
        actions = VM::VisibleMappingActions({true, true, false, true, false, false, false, false}, true);
        QVERIFY(!(actions & VM::Resume));
        QVERIFY(!(actions & VM::Load));
        QVERIFY(actions & VM::Stop);
        // A replay: Hold while it runs, Resume once held.
        actions = VM::VisibleMappingActions({true, false, true, false, true, false, false, true}, false);
        QVERIFY(actions & VM::Hold);
        actions = VM::VisibleMappingActions({true, false, true, false, true, true, false, true}, false);
        QVERIFY(actions & VM::Resume);
        QCOMPARE(VM::ProposedFileName("ZRQ5520", "S", QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)),
                                      VM::Kind::Mapping),
                 QString("5520_S_2026-01-02_03.04.05_mapping.kxr.xml"));
    }
};

QTEST_MAIN(tst_Mapping)
#include "tst_mapping.moc"
