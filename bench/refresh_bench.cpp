// A full refresh (evaluate, sort, re-index) and view build with the
// "from now" filter over an own list of the given size.
#include "text/builtin_texts.h"
#include "view/view_list.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace vantrel;

struct BenchClock : Clock {
    SystemTime Now() const override { return SystemTimeAt(2013, 11, 2, 9, 0); }
};

void BM_Refresh(benchmark::State& state) {
    ItemStore store;
    ViewState view;
    Settings settings;
    const BuiltinTextTable texts;
    const BenchClock clock;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> offset(-700, 700);
    const int today = DayNumberOf(2013, 11, 2);
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        Item item = NewOwnEntry();
        const CalendarDate c = DateOfDayNumber(today + offset(rng));
        item.startDate = i % 9 == 0 ? kNoDate : DateTime{c.year, c.month, c.day, -1, -1};
        item.endDate = item.checkDate = kNoDate;
        item.title = u"entry";
        item.tags = i % 4 == 0 ? u"work\thome" : u"";
        store.own.push_back(item);
    }
    ViewContext ctx{store, view, settings, texts, clock, {}, {}};
    // Start from the list as the start-up leaves it: read from a file that
    // the writer saved in the standard order, so the strings of neighbouring
    // entries were allocated one after another.
    refresh(ctx, kFilterFromNow);
    store.own = ItemList(store.own);
    for ([[maybe_unused]] auto _ : state) {
        refresh(ctx, kFilterFromNow);
        benchmark::DoNotOptimize(store.view.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Refresh)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
