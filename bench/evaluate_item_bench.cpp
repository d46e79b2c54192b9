// EvaluateItem over a realistic mix of entries: every form, near and far.
#include "counter/evaluate_item.h"
#include "text/builtin_texts.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using namespace vantrel;

std::vector<Item> MixedItems(std::size_t count) {
    std::mt19937 rng(20131102);
    std::uniform_int_distribution<int> days(-800, 800);
    std::uniform_int_distribution<int> nearDays(-1, 1);
    std::uniform_int_distribution<int> hour(0, 23);
    std::uniform_int_distribution<int> minute(0, 59);
    std::uniform_int_distribution<int> kind(0, 9);
    const int today = DayNumberOf(2013, 11, 2);
    auto date = [&](int offset, bool withTime) {
        const CalendarDate c = DateOfDayNumber(today + offset);
        return withTime ? DateTime{c.year, c.month, c.day, hour(rng), minute(rng)}
                        : DateTime{c.year, c.month, c.day, -1, -1};
    };
    std::vector<Item> items;
    items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Item item = NewOwnEntry();
        item.title = u"予定 " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
        item.startDate = item.endDate = item.checkDate = kNoDate;
        switch (kind(rng)) {
        case 0:
            break; // ToDo
        case 1:
            item.endDate = date(days(rng) / 20, i % 2 == 0);
            break; // deadline
        case 2:
            item.checkDate = date(days(rng) % 30 < 0 ? 0 : days(rng) % 30, true);
            break;
        case 3: // running or past period
            item.startDate = date(days(rng) / 10 + 5, false);
            item.endDate = date(item.startDate.day % 9 - 3, false);
            break;
        case 4:
        case 5:
            item.startDate = date(nearDays(rng), true);
            break; // near
        default:
            item.startDate = date(days(rng), i % 3 == 0);
            break; // far
        }
        items.push_back(item);
    }
    return items;
}

void BM_EvaluateItem(benchmark::State& state) {
    const BuiltinTextTable texts;
    std::vector<Item> items = MixedItems(static_cast<std::size_t>(state.range(0)));
    SystemTime now;
    now.year = 2013;
    now.month = 11;
    now.day = 2;
    now.hour = 9;
    const CounterSettings settings;
    for ([[maybe_unused]] auto _ : state) {
        for (Item& item : items) {
            benchmark::DoNotOptimize(EvaluateItem(item, now, settings, texts));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items.size()));
}
BENCHMARK(BM_EvaluateItem)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
