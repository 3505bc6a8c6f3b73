// Downsampling a time-series chart window: 120,000 results (the default
// retained-results limit) and 1,000,000, always to at most 401 points a series.
#include "operations/COperationParameters.h"
#include "tests/support/ChartFeed.h"

#include <benchmark/benchmark.h>

namespace
{
void BM_UpdateDownsampling(benchmark::State& state)
{
    COperationParameters parameters;
    ChartFeed chart(&parameters);
    const int results = int(state.range(0));
    chart.feed(results, 10.0 / results); // all inside the ten-second window
    chart.setXmin(0);
    chart.setXmax(10.0);
    for (auto _ : state)
        chart.UpdateDownsampling();
    if (chart.DownsampledSignalLength() > 401)
        state.SkipWithError("more than 401 points");
    state.counters["points"] = chart.DownsampledSignalLength();
}
BENCHMARK(BM_UpdateDownsampling)->Arg(120000)->Arg(1000000)->Unit(benchmark::kMillisecond);
} // namespace
