// Any byte string must parse without overruns or undefined behaviour, and a
// reported success must always carry a valid date and a valid-or-no time.
#include "model/date_parse.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const ParsedDateTime r =
        ParseDateTime(std::string_view(reinterpret_cast<const char*>(data), size));
    if (r.ok) {
        const DateTime& v = r.value;
        if (IsBadDate(v.year, v.month, v.day)) {
            std::abort();
        }
        if (v.hour != -1 && IsBadTime(v.hour, v.minute)) {
            std::abort();
        }
    }
    return 0;
}
