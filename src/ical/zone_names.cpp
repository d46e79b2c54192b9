#include "ical/zone_names.h"

#include "ical/zone_data.h"

#include <algorithm>
#include <array>
#include <span>

namespace vantrel::ical {
namespace {

using zone_data::NameEntry;

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Orders as the generator sorts the tables: bytewise after ASCII folding.
bool FoldedLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldCase(x)) < static_cast<unsigned char>(FoldCase(y));
    });
}

bool FoldedEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && !FoldedLess(a, b) && !FoldedLess(b, a);
}

// The entry whose key is name (ignoring ASCII case when fold is set).
// Keys of a table never differ only in case, so at most one can match.
const NameEntry* Find(std::span<const NameEntry> table, std::string_view name, bool fold) {
    const auto it = std::lower_bound(
        table.begin(), table.end(), name,
        [](const NameEntry& entry, std::string_view key) { return FoldedLess(entry.key, key); });
    if (it == table.end() || !FoldedEqual(it->key, name))
        return nullptr;
    if (!fold && it->key != name)
        return nullptr;
    return &*it;
}

// The IANA name that name is in one of the tables, or empty.
std::string_view Lookup(std::string_view name, bool fold) {
    if (name.empty())
        return {};
    if (const NameEntry* zone = Find(zone_data::Zones(), name, fold))
        return zone->key;
    if (const NameEntry* link = Find(zone_data::Aliases(), name, fold))
        return link->value;
    if (const NameEntry* windows = Find(zone_data::WindowsZones(), name, fold))
        return windows->value;
    return {};
}

bool IsPadding(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '\'';
}

std::string_view Unpadded(std::string_view text) {
    while (!text.empty() && IsPadding(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsPadding(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string IanaZoneName(std::string_view tzid) {
    const std::string_view name = Unpadded(tzid);
    // Vendors put their own path before the IANA name, so every tail after
    // a slash is tried, the longest first: "/citadel.org/20220930_1/Europe/
    // Berlin" is Europe/Berlin, not a zone named Berlin.
    for (const bool fold : std::array{false, true}) {
        for (std::size_t start = 0; start <= name.size();) {
            const std::string_view iana = Lookup(name.substr(start), fold);
            if (!iana.empty())
                return std::string(iana);
            const std::size_t slash = name.find('/', start);
            if (slash == std::string_view::npos)
                break;
            start = slash + 1;
        }
    }
    return {};
}

std::string_view ZoneDefinition(std::string_view iana) {
    const NameEntry* zone = Find(zone_data::Zones(), iana, false);
    return zone != nullptr ? zone->value : std::string_view{};
}

} // namespace vantrel::ical
