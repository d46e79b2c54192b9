// The module's entry points: the class registration at load, and the
// Today screen's entry at ordinal 240.

#include "platform/today.h"
#include "win32/bindings/debug_trace.h"
#include "win32/item/item_window.h"

namespace {

constexpr const wchar_t* kClassName = L"VantrelClass";

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    vantrel::TodayItem& item = vantrel::TheItem();
    if (reason == DLL_PROCESS_ATTACH) {
        item.instance = instance;
        item.state.instance = reinterpret_cast<std::uintptr_t>(instance);
        item.texts = std::make_unique<vantrel::ModuleTextTable>(instance);
        WNDCLASSW wc{};
        wc.style = 0;
        wc.lpfnWndProc = vantrel::ItemWindowProc;
        wc.hInstance = instance;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kClassName;
        if (RegisterClassW(&wc) == 0) {
            vantrel::TraceFailure(L"RegisterClassW VantrelClass", GetLastError());
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        UnregisterClassW(kClassName, item.instance);
    }
    return TRUE;
}

extern "C" HWND APIENTRY InitializeCustomItem(TODAYLISTITEM* /*item*/, HWND parent) {
    HWND window = CreateWindowExW(0, kClassName, L"", WS_CHILD, 0, 0, 0, 0, parent, nullptr,
                                  vantrel::TheItem().instance, nullptr);
    if (window == nullptr) {
        vantrel::TraceFailure(L"CreateWindowExW VantrelClass", GetLastError());
    } else {
        ShowWindow(window, SW_SHOW);
    }
    return window;
}
