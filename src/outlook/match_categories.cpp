#include "outlook/match_categories.h"

#include <vector>

namespace vantrel {

int MatchCategories(int isTask, std::u16string& categories, const Settings& settings) {
    const bool hideActive = isTask != 0 ? settings.TaskNoVRL == 1 : settings.ViewHoliday == 0;
    const std::u16string_view hide =
        isTask != 0 ? settings.TaskNoVRLCat.view() : settings.ApptHoliday.view();
    const bool showRequired = isTask != 0 ? settings.TaskVRL == 1 : settings.ApptVRL == 1;
    const std::u16string_view show =
        isTask != 0 ? settings.TaskVRLCat.view() : settings.ApptVRLCat.view();

    // Successive commas count as one; every category after the first loses
    // its first character (the blank the store puts after each comma).
    std::vector<std::u16string_view> names;
    const std::u16string_view text = categories;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t comma = text.find(u',', at);
        const std::size_t end = comma == std::u16string_view::npos ? text.size() : comma;
        if (end > at) {
            std::u16string_view name = text.substr(at, end - at);
            if (!names.empty()) {
                name.remove_prefix(1);
            }
            names.push_back(name);
        }
        at = end + 1;
    }

    bool hidden = false;
    bool shown = false;
    std::u16string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        hidden = hidden || names[i] == hide;
        shown = shown || names[i] == show;
        if (i > 0) {
            joined.push_back(u'\t');
        }
        joined.append(names[i]);
    }
    categories = std::move(joined);
    if (hideActive && hidden) {
        return 0;
    }
    if (showRequired && !shown) {
        return 0;
    }
    return 1;
}

} // namespace vantrel
