// Reading (with evaluation) and writing a 100,000-entry VRL file in memory,
// beside the floor of only finding its line feeds.
#include "counter/counter_settings.h"
#include "native/iconv_codec.h"
#include "settings/settings.h"
#include "storage/vrl_reader.h"
#include "storage/vrl_writer.h"
#include "text/builtin_texts.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

using namespace vantrel;

constexpr int kEntries = 100000;

ItemList SampleEntries() {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> day(1, 28), month(1, 12), year(2005, 2020), pick(0, 9);
    const std::u16string titles[] = {u"\u4F1A\u8B70", u"dentist", u"\u8A95\u751F\u65E5 (mother)",
                                     u"report, final", u"\u65C5\u884C \u4EAC\u90FD"};
    ItemList list;
    for (int i = 0; i < kEntries; ++i) {
        Item item = NewOwnEntry();
        item.startDate = {year(rng), month(rng), day(rng), pick(rng) < 3 ? 9 : -1,
                          pick(rng) < 3 ? 30 : -1};
        item.endDate = pick(rng) == 0 ? DateTime{2021, 1, 1} : kNoDate;
        item.checkDate = kNoDate;
        item.title = titles[i % 5];
        item.tags = i % 4 == 0 ? u"\u4ED5\u4E8B\thome" : u"";
        if (pick(rng) == 0) {
            item.checkState = 1;
            item.checkDate = {2013, 10, 1};
        }
        list.push_back(item);
    }
    return list;
}

const std::string& SampleFile() {
    static const std::string file = [] {
        IconvCodec codec;
        std::string out;
        for (const Item& item : SampleEntries()) {
            AppendVrlRecord(out, item, codec);
        }
        return out;
    }();
    return file;
}

void BM_ReadVrl(benchmark::State& state) {
    const std::string& file = SampleFile();
    IconvCodec codec;
    const BuiltinTextTable texts;
    for ([[maybe_unused]] auto _ : state) {
        ItemList own;
        TagIndex tags;
        RecordLoad load{
            own,  tags, codec, SystemTimeAt(2013, 11, 2, 9, 0), CounterSettingsFrom(Settings{}),
            texts};
        benchmark::DoNotOptimize(ReadVrlRecords(file, load));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_ReadVrl)->Unit(benchmark::kMillisecond);

void BM_WriteVrl(benchmark::State& state) {
    const ItemList entries = SampleEntries();
    IconvCodec codec;
    std::size_t bytes = 0;
    for ([[maybe_unused]] auto _ : state) {
        std::string out;
        for (const Item& item : entries) {
            AppendVrlRecord(out, item, codec);
        }
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_WriteVrl)->Unit(benchmark::kMillisecond);

void BM_ScanFloor(benchmark::State& state) {
    const std::string& file = SampleFile();
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(std::count(file.begin(), file.end(), '\n'));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_ScanFloor)->Unit(benchmark::kMillisecond);

} // namespace
