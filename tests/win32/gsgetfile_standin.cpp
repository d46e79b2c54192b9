// A stand-in for the outside file-dialog library "gsgetfile.dll", built for
// the tests only. It shows nothing: it notes in the calling process's
// environment which dialog was asked for, the start name and the capacity
// it got, and answers with the name in GSGETFILE_ANSWER (cancels without).

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace {

BOOL Answer(OPENFILENAMEW* ofn, const wchar_t* dialog) {
    SetEnvironmentVariableW(L"GSGETFILE_DIALOG", dialog);
    SetEnvironmentVariableW(L"GSGETFILE_MAX", std::to_wstring(ofn->nMaxFile).c_str());
    // The start name ends at its terminator, or at the buffer's end without one.
    std::wstring start;
    for (DWORD i = 0; i < ofn->nMaxFile && ofn->lpstrFile[i] != L'\0'; ++i) {
        start += ofn->lpstrFile[i];
    }
    SetEnvironmentVariableW(L"GSGETFILE_START", start.c_str());
    wchar_t answer[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"GSGETFILE_ANSWER", answer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || n >= ofn->nMaxFile) {
        return FALSE;
    }
    lstrcpynW(ofn->lpstrFile, answer, static_cast<int>(ofn->nMaxFile));
    return TRUE;
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI gsGetSaveFileName(OPENFILENAMEW* ofn) {
    return Answer(ofn, L"save");
}

extern "C" __declspec(dllexport) BOOL WINAPI gsGetOpenFileName(OPENFILENAMEW* ofn) {
    return Answer(ofn, L"open");
}
