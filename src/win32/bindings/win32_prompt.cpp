#include "win32/bindings/win32_prompt.h"
#include "win32/scoped.h"

#include "text/utf8.h"
#include "win32/bindings/wide_text.h"

#include <commdlg.h>
#include <cwchar>
#include <optional>
#include <string>

namespace vantrel {

// The core's message-box values are the platform's.
static_assert(kMbOk == MB_OK && kMbIconExclamation == MB_ICONEXCLAMATION &&
              kMbIconInformation == MB_ICONINFORMATION && kMbYesNo == MB_YESNO &&
              kMbYesNoCancel == MB_YESNOCANCEL && kMbDefButton2 == MB_DEFBUTTON2 &&
              kMbDefButton3 == MB_DEFBUTTON3);
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL && kIdYes == IDYES && kIdNo == IDNO);
static_assert(kAskYesNo == 308 && kAskYesNoCancel == 0x233);
namespace {

constexpr std::size_t kPathCapacity = 260;

using FileDialog = BOOL(WINAPI*)(OPENFILENAMEW*);

std::size_t AskFileName(HWND owner, bool save, std::u16string& path, std::u16string_view filter) {
    wchar_t buffer[kPathCapacity] = {};
    // A view of `path` itself: a substr() copy would be gone before the copy.
    const std::u16string_view start = std::u16string_view(path).substr(0, kPathCapacity - 1);
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

// In a scripted run file dialogs are cancelled too, and VANTREL_PROMPT_LOG
// collects every message as a UTF-8 line.
std::optional<int> ScriptedAnswer() {
    wchar_t answer[16];
    const DWORD n = GetEnvironmentVariableW(L"VANTREL_ANSWER", answer, 16);
    if (n == 0 || n >= 16) {
        return std::nullopt;
    }
    const std::wstring a = answer;
    return a == L"yes" ? IDYES : a == L"no" ? IDNO : a == L"cancel" ? IDCANCEL : IDOK;
}

void LogPromptLine(std::u16string_view caption, std::u16string_view text) {
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return;
    }
    const std::string line = ToUtf8(caption) + "\t" + ToUtf8(text) + "\n";
    const Handle file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) {
        DWORD written = 0;
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

int Win32Prompt::ShowMessage(std::u16string_view text, std::u16string_view caption,
                             unsigned style) {
    if (const std::optional<int> answer = ScriptedAnswer()) {
        LogPromptLine(caption, text);
        return *answer;
    }
    ModalScope open(openCount_);
    return MessageBoxW(owner_, ToWide(text).c_str(), ToWide(caption).c_str(), style);
}

std::size_t Win32Prompt::askOpenFileName(std::u16string& path, std::u16string_view filter) {
    ModalScope open(openCount_);
    return ScriptedAnswer() ? 0 : AskFileName(owner_, false, path, filter);
}

std::size_t Win32Prompt::askSaveFileName(std::u16string& path, std::u16string_view filter) {
    ModalScope open(openCount_);
    return ScriptedAnswer() ? 0 : AskFileName(owner_, true, path, filter);
}

} // namespace vantrel
