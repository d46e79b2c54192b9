#include "model/normalize_dates.h"

namespace vantrel {
namespace {

bool RepairGroup(DateTime& d) {
    bool unchanged = true;
    if (IsBadDate(d.year, d.month, d.day)) {
        d = kNoDate;
        unchanged = false;
    }
    if (IsBadTime(d.hour, d.minute)) {
        d.hour = -1;
        d.minute = -1;
        unchanged = false;
    }
    return unchanged;
}

bool EndsAfterStart(const DateTime& start, const DateTime& end) {
    const int s = DayNumberOf(start);
    const int e = DayNumberOf(end);
    if (e != s) {
        return e > s;
    }
    return start.HasTime() && end.HasTime() &&
           (end.hour - start.hour) * 60 + end.minute - start.minute > 0;
}

} // namespace

bool NormalizeDates(Item& item) {
    bool unchanged = true;
    // Evaluate every group; `&&` would skip the later ones.
    unchanged = RepairGroup(item.startDate) && unchanged;
    unchanged = RepairGroup(item.endDate) && unchanged;
    unchanged = RepairGroup(item.checkDate) && unchanged;

    DateTime& start = item.startDate;
    DateTime& end = item.endDate;
    if (!end.HasDate() || !start.HasDate()) {
        return unchanged;
    }
    if (start.HasTime() != end.HasTime()) {
        start.hour = start.minute = -1;
        end.hour = end.minute = -1;
        unchanged = false;
    }
    if (!EndsAfterStart(start, end)) {
        end = kNoDate;
        unchanged = false;
    }
    return unchanged;
}

} // namespace vantrel
