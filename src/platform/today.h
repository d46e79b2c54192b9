#pragma once

// The Today screen's side of the conversation: structures, messages and
// colour indexes as the device SDK defines them. Written from the public
// platform documentation; the desktop build has its own structure sizes.

#include <windows.h>

enum TODAYLISTITEMTYPE {
    tlitOwnerInfo = 0,
    tlitAppointments,
    tlitMail,
    tlitTasks,
    tlitCustom,
    tlitNil
};

struct TODAYLISTITEM {
    WCHAR szName[MAX_PATH];
    TODAYLISTITEMTYPE tlit;
    DWORD dwOrder;
    DWORD cyp; // the item's height, written by the item on a refresh query
    BOOL fEnabled;
    BOOL fOptions;
    DWORD grfFlags;
    WCHAR szDLLPath[MAX_PATH];
    HINSTANCE hinstDLL;
    HWND hwndCustom;
    BOOL fSizeOnDraw;
    BYTE* prgbCachedData;
    DWORD cbCachedData;
};

struct TODAYDRAWWATERMARKINFO {
    HDC hdc;
    RECT rc;
    HWND hwnd;
};

// Host -> item.
#define WM_TODAYCUSTOM_CLEARCACHE (WM_USER + 242)
#define WM_TODAYCUSTOM_QUERYREFRESHCACHE (WM_USER + 243)
#define WM_TODAYCUSTOM_RECEIVEDSELECTION (WM_USER + 244)
#define WM_TODAYCUSTOM_LOSTSELECTION (WM_USER + 245)
#define WM_TODAYCUSTOM_USERNAVIGATION (WM_USER + 246)
#define WM_TODAYCUSTOM_ACTION (WM_USER + 247)

// Item -> host.
#define TODAYM_GETCOLOR (WM_USER + 100)
#define TODAYM_DRAWWATERMARK (WM_USER + 101)
#define TODAYM_TOOKSELECTION (WM_USER + 102)

#define TODAYCOLOR_TEXT 0x10000004
#define TODAYCOLOR_HIGHLIGHT 0x10000022
#define TODAYCOLOR_HIGHLIGHTEDTEXT 0x10000023

// The two exports, found by ordinal (ORDINAL_INITIALIZECUSTOMITEM and
// ORDINAL_CUSTOMITEMOPTIONSDLGPROC, in resources/resource_ids.h).
typedef HWND(APIENTRY* PFNCUSTOMINITIALIZEITEM)(TODAYLISTITEM*, HWND);
typedef BOOL(APIENTRY* PFNCUSTOMOPTIONSDLGPROC)(HWND, UINT, WPARAM, LPARAM);
