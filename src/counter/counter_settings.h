#pragma once

#include "settings/settings.h"

namespace vantrel {

// The one record of the defaults, made once.
inline const Settings& DefaultSettings() {
    static const Settings defaults;
    return defaults;
}

// The eight setting values every evaluation reads, in the order callers
// pass them. A default CounterSettings holds the Settings record's defaults.
struct CounterSettings {
    int DrawWDay = DefaultSettings().DrawWDay;
    int CheckDate = DefaultSettings().CheckDate;
    int ShortView = DefaultSettings().ShortView;
    int DrawTomorrow = DefaultSettings().DrawTomorrow;
    int DrawSpan = DefaultSettings().DrawSpan;
    int MaxMinutes = DefaultSettings().MaxMinutes;
    int Future = DefaultSettings().Future;
    int DSpanTs = DefaultSettings().DSpanTs;
};

inline CounterSettings CounterSettingsFrom(const Settings& s) {
    return {s.DrawWDay, s.CheckDate,  s.ShortView, s.DrawTomorrow,
            s.DrawSpan, s.MaxMinutes, s.Future,    s.DSpanTs};
}

} // namespace vantrel
