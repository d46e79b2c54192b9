// Figures for the calendar primitives that every evaluation runs.
#include "model/date_parse.h"
#include "model/date_time.h"

#include <benchmark/benchmark.h>

namespace {

void BM_DayNumberRoundTrip(benchmark::State& state) {
    int n = 1;
    for ([[maybe_unused]] auto _ : state) {
        const vantrel::CalendarDate d = vantrel::DateOfDayNumber(n);
        benchmark::DoNotOptimize(vantrel::DayNumberOf(d.year, d.month, d.day));
        n = n % 1460970 + 7919;
    }
}
BENCHMARK(BM_DayNumberRoundTrip);

void BM_ParseDateTime(benchmark::State& state) {
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(vantrel::ParseDateTime("2013/11/02 09:05"));
        benchmark::DoNotOptimize(vantrel::ParseDateTime("2013-11-02"));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_ParseDateTime);

} // namespace
