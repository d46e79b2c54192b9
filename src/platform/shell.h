#pragma once

// The few device shell services the item uses, on the desktop: PNG loading
// through the Windows Imaging Component, transparent blits through
// TransparentBlt, the tap-and-hold recogniser (the desktop's right click
// already arrives as WM_CONTEXTMENU) and the menu-bar lookup (none here).

#include <windows.h>

namespace vantrel {

// A 24-bit DIB section of the PNG file, or nullptr.
HBITMAP SHLoadImageFile(const wchar_t* path);

// Draws the source rectangle scaled into the destination, leaving out the
// pixels of the transparent colour.
BOOL TransparentImage(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                      int sourceY, int sourceWidth, int sourceHeight, COLORREF transparent);

struct SHRGINFO {
    DWORD cbSize;
    HWND hwndClient;
    POINT ptDown;
    DWORD dwFlags;
};
inline constexpr DWORD SHRG_RETURNCMD = 1;
DWORD SHRecognizeGesture(SHRGINFO* info);

// Height of the shell's menu bar of a window; 0 where there is none.
int MenuBarHeight(HWND window);

} // namespace vantrel
