#include "platform/today.h"

// Entry at ordinal 241. The options sheet arrives with the options work;
// until then no message is handled.
extern "C" BOOL APIENTRY CustomItemOptionsDlgProc(HWND /*dialog*/, UINT /*message*/,
                                                  WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return FALSE;
}
