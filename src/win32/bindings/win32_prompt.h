#pragma once

#include "ui/prompt.h"

#include <windows.h>

#include <optional>
#include <string_view>

namespace vantrel {

// The prompt seam on Win32: MessageBoxW owned by the item's window, and the
// file dialogs of the outside library "gsgetfile.dll" when it is installed,
// else the platform's own.
class Win32Prompt : public Prompt {
  public:
    // `openCount`, when given, counts the boxes and dialogs now showing.
    explicit Win32Prompt(HWND owner, int* openCount = nullptr)
        : owner_(owner), openCount_(openCount) {}

    int ShowMessage(std::u16string_view text, std::u16string_view caption, unsigned style) override;
    std::size_t askOpenFileName(std::u16string& path, std::u16string_view filter) override;
    std::size_t askSaveFileName(std::u16string& path, std::u16string_view filter) override;

  private:
    HWND owner_;
    int* openCount_;
};

// A scripted run (tests, unattended hosts) sets VANTREL_ANSWER to "ok",
// "yes", "no" or "cancel": questions are then answered so without showing.
std::optional<int> ScriptedAnswer();

// Adds "caption<TAB>text" to the file named by VANTREL_PROMPT_LOG, if set.
void LogPromptLine(std::u16string_view caption, std::u16string_view text);

} // namespace vantrel
