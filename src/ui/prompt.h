#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// Message box styles and answers, with the platform's values.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbYesNoCancel = 0x3;
inline constexpr unsigned kMbDefButton2 = 0x100;
inline constexpr unsigned kMbDefButton3 = 0x200;
// The item's questions: a warning with the safe answer (No, or Cancel) as
// the default button.
inline constexpr unsigned kAskYesNo = kMbYesNo | kMbIconExclamation | kMbDefButton2;
inline constexpr unsigned kAskYesNoCancel = kMbYesNoCancel | kMbIconExclamation | kMbDefButton3;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// The questions and choices the item puts to the user. The Win32 shell
// shows real message boxes and file dialogs owned by the item's window;
// tests answer them.
class Prompt {
  public:
    virtual ~Prompt() = default;
    // The answer (kIdOk, kIdYes ...).
    virtual int ShowMessage(std::u16string_view text, std::u16string_view caption,
                            unsigned style) = 0;
    // File dialogs: `path` holds the start name and receives the choice (at
    // most 259 units). `filter` is label/pattern pairs, each ended by a NUL,
    // the list ended by an empty string. The length of the chosen path, 0
    // when cancelled.
    virtual std::size_t askOpenFileName(std::u16string& path, std::u16string_view filter) = 0;
    virtual std::size_t askSaveFileName(std::u16string& path, std::u16string_view filter) = 0;
};

} // namespace vantrel
