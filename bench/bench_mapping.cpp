// Reloading a saved map of 10,000 points (blocks of 100 samples) into the mapping
// page's models until every arrow, the chart and the colour map are there.
#include "app/CSettings.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"
#include "model/CMeasureBlockMapping.h"
#include "operations/COperationMapping.h"
#include "viewmodels/CArrowListModel.h"
#include "viewmodels/CChart2DMappingData.h"
#include "viewmodels/CMappingOperationViewModel.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{
void BM_ReloadMap(benchmark::State& state)
{
    const int points = int(state.range(0));
    QTemporaryDir dir;
    CSettings settings("/p", nullptr, dir.path());
    settings.setMappingMaxMeasurementCount(quint64(points) * 100);
    CPluginsManager plugins(settings);
    CInstrumentSupervisor supervisor(settings);
    COperationMapping operation(settings, plugins, supervisor);
    operation.MeasurementParameters()->setUnits(CUnits::UnitType::MILLI_TESLA);
    operation.MeasurementParameters()->setBlockSize(100);
    CMappingOperationViewModel page(settings, &operation);
    page.resume(); // accepts blocks
    CDataSetMapping& data = *operation.RecordingManager()->DataSet();
    data.setMeasurementParameters(operation.MeasurementParameters());
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int p = 0; p < points; ++p)
    {
        auto block = QSharedPointer<CMeasureBlockMapping>::create();
        block->Position.setX(p % 100);
        block->Position.setY(p / 100);
        for (int i = 0; i < 100; ++i)
        {
            auto s = QSharedPointer<CFieldIntensityResult>::create();
            s->Timestamp = start.addMSecs(qint64(p) * 1000 + i);
            s->setBx(float(p % 100));
            s->setBy(1);
            s->setBz(float(i));
            s->setB(1);
            block->Results.append(s);
        }
        data.AddMeasureBlock(block);
    }
    for (auto _ : state)
        emit page.DatasetLoaded();
    state.counters["arrows"] = page.Arrows()->rowCount();
    state.counters["chart samples"] = double(page.Chart()->MeasureResultCount());
}
BENCHMARK(BM_ReloadMap)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
