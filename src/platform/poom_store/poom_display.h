#pragma once

#include <functional>
#include <string>

namespace vantrel {

// What Display of the replacement store shows: a summary of an existing
// item, or a small form for a new one (subject, start, end or due date as
// "YYYY-MM-DD[ HH:MM]").
struct PoomDisplayRequest {
    bool isTask = false;
    bool isNew = false;
    std::u16string summary;
    std::u16string subject, start, end;
};

// True when the user confirmed. The default shows a modal window; tests and
// the host's script set their own answer.
using PoomDisplayHandler = std::function<bool(PoomDisplayRequest&)>;
void SetPoomDisplayHandler(PoomDisplayHandler handler);
bool ShowPoomDisplay(PoomDisplayRequest& request);

} // namespace vantrel
