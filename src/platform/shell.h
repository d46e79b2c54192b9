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

// The Today screen's font for its items, as the device sizes it for its
// screen: the DC's own font where no substitute host names a screen; under
// vantrel-host (VANTREL_DPI, 96 for QVGA, 192 for VGA) a 12 px face at
// 96 dpi, doubled on VGA, as the device's Today font is.
LOGFONTW TodayFont(HDC dc);

// SM_CXSMICON of the device: 16 on QVGA, 32 on VGA.
int SmallIconSize();

// GetDeviceCaps as the device answers it: under vantrel-host LOGPIXELSX and
// LOGPIXELSY of a screen DC are the host's screen (96 or 192), not the
// desktop's; everything else is the DC's own.
int DeviceCaps(HDC dc, int index);

// Height of the shell's menu bar of a window; 0 where there is none.
int MenuBarHeight(HWND window);

// Dialog initialisation: with SHIDIF_SIZEDLGFULLSCREEN the dialog covers
// the device screen (here the client area of the window that owns it). A
// property sheet is then laid out again for that size: its tab control in
// as many rows as the width needs, its pages in the tab control's display
// area and its buttons in one row at the bottom, all on the screen.
struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
inline constexpr DWORD SHIDIM_FLAGS = 0x1;
inline constexpr DWORD SHIDIF_DONEBUTTON = 0x1;
inline constexpr DWORD SHIDIF_SIZEDLG = 0x2;
inline constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x4;
inline constexpr DWORD SHIDIF_EMPTYMENU = 0x20;
BOOL SHInitDialog(SHINITDLGINFO* info);

// A menu bar along the bottom of its parent: one button per item of the
// menu resource nToolBarId, each sending its command id to the parent.
struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
};
inline constexpr DWORD SHCMBF_EMPTYBAR = 0x1;
inline constexpr DWORD SHCMBF_HMENU = 0x10;
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// What the item's own dialogs do first and last: full-screen sizing with
// the OK / キャンセル menu bar (menu resource `menuBar`), and closing with
// the menu bar destroyed. The menu bar's window, or nullptr.
HWND OpenFullScreenDialog(HWND dialog, HINSTANCE module, UINT menuBar);
void CloseFullScreenDialog(HWND dialog, HWND& menuBar, INT_PTR result);

// Runs the dialog template resource `id` of `module` modally.
INT_PTR RunDialogResource(HINSTANCE module, int id, HWND owner, DLGPROC procedure, LPARAM param);

} // namespace vantrel
