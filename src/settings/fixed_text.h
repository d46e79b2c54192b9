#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// A text field of fixed capacity (terminator included, as the registry and
// the dialogs see it): it never holds more than Capacity - 1 units.
template <std::size_t Capacity> class FixedText {
    static_assert(Capacity >= 1);

  public:
    static constexpr std::size_t kCapacity = Capacity;

    FixedText() = default;
    FixedText(std::u16string_view text) { assign(text); } // NOLINT: implicit on purpose

    FixedText& operator=(std::u16string_view text) {
        assign(text);
        return *this;
    }
    void assign(std::u16string_view text) { text_.assign(text.substr(0, Capacity - 1)); }

    const std::u16string& str() const { return text_; }
    std::u16string_view view() const { return text_; }
    bool empty() const { return text_.empty(); }
    std::size_t size() const { return text_.size(); }

    friend bool operator==(const FixedText& a, const FixedText& b) = default;
    friend bool operator==(const FixedText& a, std::u16string_view b) { return a.text_ == b; }

  private:
    std::u16string text_;
};

} // namespace vantrel
