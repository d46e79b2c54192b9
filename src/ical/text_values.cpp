#include "ical/text_values.h"

#include "text/utf8.h"

namespace vantrel::ical {

std::u16string TextOf(icalcomponent* component, icalproperty_kind kind) {
    icalproperty* p = icalcomponent_get_first_property(component, kind);
    if (p == nullptr) {
        return {};
    }
    const icalvalue* value = icalproperty_get_value(p);
    const char* text = value == nullptr ? nullptr : icalvalue_get_text(value);
    return text == nullptr ? std::u16string() : FromUtf8(text);
}

std::vector<std::u16string> CategoriesOf(icalcomponent* component) {
    std::vector<std::u16string> out;
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_CATEGORIES_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(component, ICAL_CATEGORIES_PROPERTY)) {
        const char* v = icalproperty_get_categories(p);
        std::string_view rest = v == nullptr ? "" : v;
        while (true) {
            const std::size_t comma = rest.find(',');
            std::string_view word = rest.substr(0, comma);
            while (!word.empty() && (word.front() == ' ' || word.front() == '\t')) {
                word.remove_prefix(1);
            }
            while (!word.empty() && (word.back() == ' ' || word.back() == '\t')) {
                word.remove_suffix(1);
            }
            if (!word.empty()) {
                out.push_back(FromUtf8(word));
            }
            if (comma == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(comma + 1);
        }
    }
    return out;
}

std::vector<std::string> ReadErrorsOf(icalcomponent* component) {
    std::vector<std::string> out;
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        const char* message = icalproperty_get_xlicerror(p);
        const std::string_view text = message != nullptr ? message : "";
        if (text.rfind("No value for ", 0) != 0) {
            out.emplace_back(text);
        }
    }
    return out;
}

std::optional<std::string> XValueOf(icalcomponent* component, std::string_view name) {
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_X_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        const char* n = icalproperty_get_x_name(p);
        if (n != nullptr && name == n) {
            const char* v = icalproperty_get_x(p);
            return std::string(v != nullptr ? v : "");
        }
    }
    return std::nullopt;
}

} // namespace vantrel::ical
