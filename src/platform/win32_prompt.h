#pragma once

#include "ui/prompt.h"

#include <windows.h>

namespace vantrel {

// The prompt seam on Win32: MessageBoxW owned by the item's window, and the
// file dialogs of the outside library "gsgetfile.dll" when it is installed,
// else the platform's own.
class Win32Prompt : public Prompt {
  public:
    explicit Win32Prompt(HWND owner) : owner_(owner) {}

    int ShowMessage(std::u16string_view text, std::u16string_view caption, unsigned style) override;
    std::size_t askOpenFileName(std::u16string& path, std::u16string_view filter) override;
    std::size_t askSaveFileName(std::u16string& path, std::u16string_view filter) override;

  private:
    HWND owner_;
};

} // namespace vantrel
