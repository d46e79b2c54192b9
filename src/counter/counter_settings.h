#pragma once

#include "settings/settings.h"

namespace vantrel {

// The eight setting values every evaluation reads, in the order callers
// pass them.
struct CounterSettings {
    int DrawWDay = 1;
    int CheckDate = 1;
    int ShortView = 0;
    int DrawTomorrow = 1;
    int DrawSpan = 0;
    int MaxMinutes = 180;
    int Future = 0;
    int DSpanTs = 1;
};

inline CounterSettings CounterSettingsFrom(const Settings& s) {
    return {s.DrawWDay, s.CheckDate,  s.ShortView, s.DrawTomorrow,
            s.DrawSpan, s.MaxMinutes, s.Future,    s.DSpanTs};
}

} // namespace vantrel
