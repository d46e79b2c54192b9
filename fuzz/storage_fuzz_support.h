#pragma once

#include "counter/counter_settings.h"
#include "settings/settings.h"
#include "storage/iconv_codec.h"
#include "storage/record_load.h"
#include "text/builtin_texts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace vantrel::fuzzing {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

struct Loader {
    IconvCodec codec;
    BuiltinTextTable texts;
    ItemList own;
    TagIndex tags;
    RecordLoad load{
        own, tags, codec, SystemTimeAt(2013, 11, 2, 9, 0), CounterSettingsFrom(Settings{}), texts};
};

inline void CheckLoaded(const Loader& loader, int count, std::size_t titleLimit) {
    Check(count >= 0 && static_cast<std::size_t>(count) == loader.own.size());
    for (const Item& item : loader.own) {
        Check(item.title.size() <= titleLimit && item.tags.size() <= 512);
        Check(item.pinned == 0 || item.pinned == 1);
        Check(item.checkState >= 0 && item.checkState <= 2);
        Check(item.countText.size() < 260 && item.dateText.size() < 260);
    }
    for (const auto& [tag, positions] : loader.tags.positions) {
        Check(!tag.empty());
        for (const int p : positions) {
            Check(p >= 0 && static_cast<std::size_t>(p) < loader.own.size());
        }
    }
}

} // namespace vantrel::fuzzing
