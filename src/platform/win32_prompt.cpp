#include "platform/win32_prompt.h"

#include "platform/wide_text.h"

#include <commdlg.h>
#include <cwchar>

namespace vantrel {
namespace {

constexpr std::size_t kPathCapacity = 260;

using FileDialog = BOOL(WINAPI*)(OPENFILENAMEW*);

std::size_t AskFileName(HWND owner, bool save, std::u16string& path, std::u16string_view filter) {
    wchar_t buffer[kPathCapacity] = {};
    const std::u16string_view start = path.substr(0, kPathCapacity - 1);
    std::copy(start.begin(), start.end(), buffer);
    const std::wstring filterText = ToWide(filter);

    OPENFILENAMEW ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filterText.c_str();
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = kPathCapacity;

    // The outside library is loaded for each call and unloaded again.
    BOOL chosen = FALSE;
    HMODULE library = LoadLibraryW(L"gsgetfile.dll");
    const FileDialog outside =
        library == nullptr ? nullptr
                           : reinterpret_cast<FileDialog>(reinterpret_cast<void*>(GetProcAddress(
                                 library, save ? "gsGetSaveFileName" : "gsGetOpenFileName")));
    if (outside != nullptr) {
        chosen = outside(&ofn);
    } else {
        chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    }
    if (library != nullptr) {
        FreeLibrary(library);
    }
    buffer[kPathCapacity - 1] = L'\0';
    if (!chosen) {
        return 0;
    }
    path = FromWide(buffer);
    return path.size();
}

} // namespace

int Win32Prompt::ShowMessage(std::u16string_view text, std::u16string_view caption,
                             unsigned style) {
    return MessageBoxW(owner_, ToWide(text).c_str(), ToWide(caption).c_str(), style);
}

std::size_t Win32Prompt::askOpenFileName(std::u16string& path, std::u16string_view filter) {
    return AskFileName(owner_, false, path, filter);
}

std::size_t Win32Prompt::askSaveFileName(std::u16string& path, std::u16string_view filter) {
    return AskFileName(owner_, true, path, filter);
}

} // namespace vantrel
