#include "platform/today.h"

// Entry at ordinal 240. The item window arrives with the Today window work;
// until then the Today screen shows no item.
extern "C" HWND APIENTRY InitializeCustomItem(TODAYLISTITEM* /*item*/, HWND /*parent*/) {
    return nullptr;
}
