#include "counter/evaluate_item.h"

#include "counter/date_column_text.h"
#include "counter/day_count_text.h"
#include "counter/near_time_text.h"
#include "model/normalize_dates.h"

#include <optional>

namespace vantrel {
namespace {

constexpr int kNoDeadline = 42185; // 〆なし
constexpr int kToDo = 42186;       // ToDo

struct Evaluation {
    Item& item;
    const SystemTime& now;
    const CounterSettings& s;
    const TextTable& texts;
    int today;

    // Near counts apply within a day, and with Future = 2 only on today's date.
    bool Near(int minutes, const DateTime& moment) const {
        return minutes <= kNearLimit && !(s.Future == 2 && moment.day != now.day);
    }

    // The minutes since a timed end that is near, or nothing.
    std::optional<int> NearEnd() const {
        const DateTime& end = item.endDate;
        if (!end.HasTime()) {
            return std::nullopt;
        }
        const int me = MinutesSince(now, end);
        return Near(me, end) ? std::optional<int>(me) : std::nullopt;
    }

    void SetNear(const NearTexts& near) {
        item.countText = near.countText;
        item.dateText = near.dateText;
    }

    // Minutes left in the day of a moment that has passed, or 1440 without a time.
    static int RestOfDay(const DateTime& t) {
        return t.HasTime() ? (24 - t.hour) * 60 - t.minute : 1440;
    }

    void DateForm(int d, int m) {
        if (Near(m, item.startDate)) {
            SetNear(NearDateTexts(texts, s, item, m, now.day));
            item.dayCount = 0;
            item.minuteCount = m;
            return;
        }
        const DateTime& start = item.startDate;
        item.dayCount = d;
        if (d == 0) {
            item.minuteCount = 0;
        } else if (d > 0) {
            item.minuteCount = RestOfDay(start);
        } else {
            item.minuteCount = start.HasTime() ? -(start.hour * 60 + start.minute) : -1440;
        }
        item.anniversaryYears = AnniversaryYears(start, d, now);
        item.dateText = DateColumnText(texts, s, item, d, now);
        item.countText = DateCountText(texts, s, d);
    }

    void PeriodForm(int e) {
        const DateTime& end = item.endDate;
        if (const std::optional<int> me = NearEnd()) {
            SetNear(NearPeriodTexts(texts, s, item, *me, now.day));
            item.dayCount = 0;
            item.minuteCount = *me;
            return;
        }
        if (e == 0) {
            item.dayCount = 0;
            item.minuteCount = (now.hour - 24) * 60 + now.minute;
        } else if (e > 0) {
            item.dayCount = e;
            item.minuteCount = RestOfDay(end);
        } else {
            // Running periods sort with today's entries, the one ending soonest last.
            item.dayCount = 0;
            item.minuteCount = e - 1440;
        }
        item.dateText = PeriodColumnText(texts, s, item, e);
        item.countText = PeriodCountText(texts, s, e);
    }

    void DeadlineForm(int e) {
        const DateTime& end = item.endDate;
        if (const std::optional<int> me = NearEnd()) {
            item.orderKey = kUndatedOrderKey + static_cast<std::uint32_t>(*me);
            if (s.DSpanTs < 1) {
                item.minuteCount = *me;
            }
            SetNear(NearDeadlineTexts(texts, s, item, *me, now.day));
            return;
        }
        // Signed minutes since the deadline, negative before it; wraps like
        // the unsigned key it is.
        std::int64_t adjust = 0;
        if (!end.HasTime()) {
            adjust = e > 0 ? 1439 : -1439;
        } else {
            adjust = e > 0 ? RestOfDay(end) : -(end.hour * 60 + end.minute);
        }
        item.orderKey = static_cast<std::uint32_t>(kUndatedOrderKey +
                                                   static_cast<std::int64_t>(e) * 1440 + adjust);
        if (s.DSpanTs < 1 && e < s.DSpanTs) {
            item.dayCount = e;
            item.minuteCount = e - 1440;
        }
        item.dateText = DeadlineColumnText(texts, s, item, e);
        item.countText = DeadlineCountText(texts, s, e);
    }

    void DoneForm() {
        const DateTime& check = item.checkDate;
        const int a = today - DayNumberOf(check);
        item.startOffset = item.endOffset = a;
        if (check.HasTime()) {
            const int cm = MinutesSince(now, check);
            if (cm >= 0 && Near(cm, check)) {
                SetNear(NearDoneTexts(texts, s, item, cm, now.day));
                item.dayCount = 0;
                item.minuteCount = cm;
                return;
            }
        }
        if (a < 0) {
            return; // checked "in the future": the previous texts and counts stay
        }
        item.dateText = DoneColumnText(texts, s, item, a);
        item.dayCount = a;
        item.minuteCount = a == 0 ? now.hour * 60 + now.minute : RestOfDay(check);
        item.countText = DoneCountText(texts, s, a);
    }
};

} // namespace

int EvaluateItem(Item& item, const SystemTime& now, const CounterSettings& settings,
                 const TextTable& texts) {
    NormalizeDates(item);
    Evaluation ev{item, now, settings, texts, DayNumberOf(now)};
    item.orderKey = 0;
    const DateTime& start = item.startDate;
    if (!start.HasDate()) {
        item.startOffset = item.endOffset = item.dayCount = item.minuteCount = 0;
        item.orderKey = kUndatedOrderKey;
        item.dateText = LoadText(texts, kNoDeadline);
        item.countText = LoadText(texts, kToDo);
    }
    item.anniversaryYears = 0;
    if (settings.CheckDate != 0 && item.checkDate.HasDate()) {
        ev.DoneForm();
        return 1;
    }
    int d = 0;
    int m = kNotNear;
    if (start.HasDate()) {
        d = ev.today - DayNumberOf(start);
        item.startOffset = item.endOffset = d;
        if (start.HasTime()) {
            m = MinutesSince(now, start);
        }
    }
    if (!item.endDate.HasDate()) {
        if (start.HasDate()) {
            ev.DateForm(d, m);
        }
        return 1;
    }
    const int e = ev.today - DayNumberOf(item.endDate);
    item.endOffset = e;
    if (start.HasDate() && (d < 0 || (d == 0 && m <= 0))) {
        ev.DateForm(d, m); // the period has not begun
        return 1;
    }
    if (start.HasDate()) {
        ev.PeriodForm(e);
    } else {
        ev.DeadlineForm(e);
    }
    return 1;
}

} // namespace vantrel
