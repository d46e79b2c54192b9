#include "win32/outlook/outlook_session.h"
#include "win32/bindings/debug_trace.h"
#include "win32/scoped.h"

#include "counter/evaluate_item.h"
#include "outlook/appointment_window.h"
#include "outlook/match_categories.h"
#include "outlook/recurrence.h"
#include "platform/poom.h"
#include "win32/bindings/wide_text.h"
#include "win32/bindings/win32_system_time.h"

#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vantrel {
namespace {

template <class T> bool QueryAs(IUnknown* unknown, const IID& iid, Held<T>& into) {
    return unknown != nullptr &&
           SUCCEEDED(unknown->QueryInterface(iid, reinterpret_cast<void**>(into.out()))) && into;
}

// A call that hands over an interface: it succeeded and there is one. The
// platform may answer S_OK with NULL (Restrict with no match), which means
// "nothing".
template <class T> bool Got(HRESULT hr, const Held<T>& out) {
    return SUCCEEDED(hr) && out;
}

// An action's failure is traced; a failed change is also handed back, so
// the user learns that it did not happen.
void Check(HRESULT hr, std::wstring_view what) {
    if (FAILED(hr)) {
        TraceFailure(what, static_cast<std::uint32_t>(hr));
    }
}

std::u16string Failure(HRESULT hr, std::wstring_view what) {
    if (SUCCEEDED(hr)) {
        return {};
    }
    TraceFailure(what, static_cast<std::uint32_t>(hr));
    wchar_t code[16];
    swprintf(code, 16, L" (0x%08lX)", static_cast<unsigned long>(hr));
    return FromWide(std::wstring(what) + code);
}

// How many items a collection's walk may visit: its count, or until Item
// fails when the count cannot be read.
int WalkLimit(IPOutlookItemCollection* items) {
    int count = 0;
    return SUCCEEDED(items->get_Count(&count)) ? count : INT_MAX;
}

double VariantNow(const SystemTime& now, bool dayOnly) {
    SYSTEMTIME s = ToSystem(now);
    if (dayOnly) {
        s.wHour = s.wMinute = s.wSecond = s.wMilliseconds = 0;
    }
    double v = 0;
    SystemTimeToVariantTime(&s, &v);
    return v;
}

bool ToDateTime(DATE v, DateTime& out) {
    SYSTEMTIME s{};
    if (!VariantTimeToSystemTime(v, &s)) {
        return false;
    }
    out = DateTime{s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute};
    return true;
}

DateTime NowAsDate(const SystemTime& now) {
    return DateTime{now.year, now.month, now.day, now.hour, now.minute};
}

std::u16string TakeBstr(IPOutlookApp* app, BSTR text, std::size_t limit) {
    std::u16string s;
    if (text != nullptr) {
        s = FromWide(std::wstring_view(text, SysStringLen(text))).substr(0, limit);
        app->SysFreeString(text);
    }
    return s;
}

bool Admits(int mask, LONG value) {
    return value < 0 || value > 30 || ((mask >> value) & 1) != 0;
}

CounterSettings Counter(const Settings& s) {
    return CounterSettingsFrom(s);
}

// Start, end, all-day flag, subject and location of an appointment or
// occurrence into the Item, as the import lists them.
void ReadTimesAndTitle(OutlookContext& ctx, IAppointment* a, Item& item, const SystemTime& now) {
    VARIANT_BOOL allDay = VARIANT_FALSE;
    if (FAILED(a->get_AllDayEvent(&allDay))) {
        allDay = VARIANT_FALSE;
    }
    DATE start = 0, end = 0;
    DateTime s = NowAsDate(now), e = NowAsDate(now);
    if (SUCCEEDED(a->get_Start(&start))) {
        ToDateTime(start, s);
    }
    if (SUCCEEDED(a->get_End(&end))) {
        ToDateTime(allDay != VARIANT_FALSE ? end - 1.0 : end, e);
    } else if (allDay != VARIANT_FALSE) {
        e = s;
    }
    if (allDay != VARIANT_FALSE) {
        item.startDate = {s.year, s.month, s.day, -1, -1};
        item.endDate = DayNumberOf(e) == DayNumberOf(s) ? DateTime{0, 0, 0, -1, -1}
                                                        : DateTime{e.year, e.month, e.day, -1, -1};
    } else {
        item.startDate = s;
        item.endDate = s == e ? DateTime{0, 0, 0, -1, -1} : e;
    }
    BSTR subject = nullptr, location = nullptr;
    std::u16string title;
    if (SUCCEEDED(a->get_Subject(&subject))) {
        title = TakeBstr(ctx.session.app, subject, 127);
    }
    std::u16string place;
    if (SUCCEEDED(a->get_Location(&location))) {
        place = TakeBstr(ctx.session.app, location, 127);
    }
    item.title = place.empty() ? title : title + u"(" + place + u")";
}

// Categories through MatchCategories; a failed read admits with no tags.
bool ReadCategories(OutlookContext& ctx, HRESULT hr, BSTR text, int isTask, Item& item) {
    if (FAILED(hr)) {
        item.tags.clear();
        return true;
    }
    item.tags = TakeBstr(ctx.session.app, text, 1023);
    return MatchCategories(isTask, item.tags, ctx.settings) != 0;
}

void Append(OutlookContext& ctx, ItemList& list, Item& item, const SystemTime& now) {
    EvaluateItem(item, now, Counter(ctx.settings), ctx.texts);
    list.push_back(item);
}

Item NewAppointmentItem() {
    Item item;
    item.source = kAppointment;
    item.importance = 1;
    item.startDate = item.endDate = item.checkDate = DateTime{0, 0, 0, 0, 0};
    return item;
}

RecurrenceValues ReadPattern(IRecurrencePattern* p) {
    RecurrenceValues r;
    LONG v = 0;
    DATE d = 0;
    DateTime when;
    if (SUCCEEDED(p->get_RecurrenceType(&v))) {
        r.type = v;
    } else {
        r.type = -1;
    }
    if (SUCCEEDED(p->get_PatternStartDate(&d)) && ToDateTime(d, when)) {
        r.patternStart = {when.year, when.month, when.day};
    }
    r.interval = SUCCEEDED(p->get_Interval(&v)) ? std::optional<int>(v) : std::nullopt;
    r.dayOfWeekMask = SUCCEEDED(p->get_DayOfWeekMask(&v)) ? v : 0;
    r.dayOfMonth = SUCCEEDED(p->get_DayOfMonth(&v)) ? v : 0;
    r.instance = SUCCEEDED(p->get_Instance(&v)) ? v : 0;
    r.monthOfYear = SUCCEEDED(p->get_MonthOfYear(&v)) ? v : 0;
    VARIANT_BOOL noEnd = VARIANT_TRUE;
    r.noEndDate = FAILED(p->get_NoEndDate(&noEnd)) || noEnd != VARIANT_FALSE;
    if (!r.noEndDate && SUCCEEDED(p->get_PatternEndDate(&d)) && ToDateTime(d, when)) {
        r.patternEnd = {when.year, when.month, when.day};
    }
    return r;
}

// The day-by-day search gives up after this many days: far beyond any
// calendar a Today screen shows, and a bound for patterns that disagree
// with the store's own idea of their days.
constexpr int kOccurrenceSearchDays = 5 * 366;

// The current or next occurrence of a series, judged against `now`.
bool FindOccurrence(IAppointment* series, LONG oid, IPOutlookItemCollection* withRecurrences,
                    const SystemTime& now, Held<IAppointment>& occurrence) {
    Held<IRecurrencePattern> pattern;
    if (!Got(series->GetRecurrencePattern(pattern.out()), pattern)) {
        return false;
    }
    const double n = VariantNow(now, false);
    wchar_t query[160];
    std::swprintf(query, 160, L"[Start] <= \"<%f\" AND [End] >= \"<%f\" AND [Oid]=%d", n, n,
                  static_cast<int>(oid));
    const Bstr text(query);
    Held<IPOutlookItemCollection> inProgress;
    const HRESULT restricted = withRecurrences->Restrict(text.get(), inProgress.out());
    if (Got(restricted, inProgress)) {
        const int limit = WalkLimit(inProgress.get());
        for (int i = 1; i <= limit; ++i) {
            Held<IUnknown> unknown;
            if (FAILED(inProgress->Item(i, unknown.out()))) {
                break;
            }
            Held<IAppointment> candidate;
            DATE start = 0;
            if (QueryAs(unknown.get(), kIidAppointment, candidate) &&
                SUCCEEDED(candidate->get_Start(&start)) &&
                Got(pattern->GetOccurrence(start, occurrence.out()), occurrence)) {
                return true;
            }
        }
    }

    Held<IExceptions> exceptions;
    int exceptionCount = 0;
    if (!Got(pattern->get_Exceptions(exceptions.out()), exceptions) ||
        FAILED(exceptions->get_Count(&exceptionCount))) {
        exceptionCount = 0;
    }
    // Judges an occurrence: all-day ones are taken, ended ones move on.
    const auto takes = [&](IAppointment* a) {
        VARIANT_BOOL allDay = VARIANT_FALSE;
        DATE end = 0;
        if (SUCCEEDED(a->get_AllDayEvent(&allDay)) && allDay != VARIANT_FALSE) {
            return true;
        }
        return !(SUCCEEDED(a->get_End(&end)) && end < n);
    };
    const RecurrenceValues values = ReadPattern(pattern.get());
    SystemTime d = now;
    bool found = false;
    // The appointment of an exception the search took: it stands in when
    // the pattern does not answer for the day it names.
    Held<IAppointment> earlier;
    const auto keep = [&](Held<IAppointment>& moved) { earlier = std::move(moved); };
    for (int step = 0; step < kOccurrenceSearchDays && !found; ++step) {
        if (NextOccurrence(values, d) == 0) {
            break;
        }
        const double day = VariantNow(d, true);
        Held<IAppointment> candidate;
        if (Got(pattern->GetOccurrence(day, candidate.out()), candidate)) {
            found = takes(candidate.get());
        } else {
            bool replaced = false;
            for (int i = 1; i <= exceptionCount && !replaced; ++i) {
                Held<IException> ex;
                VARIANT_BOOL deleted = VARIANT_TRUE;
                DATE original = 0;
                Held<IAppointment> moved;
                if (Got(exceptions->Item(i, ex.out()), ex) &&
                    SUCCEEDED(ex->get_Deleted(&deleted)) && deleted == VARIANT_FALSE &&
                    Got(ex->get_AppointmentItem(moved.out()), moved) &&
                    SUCCEEDED(ex->get_OriginalDate(&original)) &&
                    static_cast<long>(original) == static_cast<long>(day)) {
                    replaced = true;
                    found = takes(moved.get());
                    if (found) {
                        keep(moved);
                    }
                }
            }
        }
        if (!found) {
            const int next = DayNumberOf(d) + 1;
            const CalendarDate c = DateOfDayNumber(next);
            d.year = static_cast<std::uint16_t>(c.year);
            d.month = static_cast<std::uint16_t>(c.month);
            d.day = static_cast<std::uint16_t>(c.day);
        }
    }
    // A moved exception that starts between now and the day found comes first.
    for (int i = 1; i <= exceptionCount; ++i) {
        Held<IException> ex;
        VARIANT_BOOL deleted = VARIANT_TRUE;
        Held<IAppointment> moved;
        DATE start = 0;
        if (Got(exceptions->Item(i, ex.out()), ex) && SUCCEEDED(ex->get_Deleted(&deleted)) &&
            deleted == VARIANT_FALSE && Got(ex->get_AppointmentItem(moved.out()), moved) &&
            SUCCEEDED(moved->get_Start(&start)) && start > n &&
            (!found || start < VariantNow(d, true))) {
            SYSTEMTIME s{};
            VariantTimeToSystemTime(start, &s);
            d.year = s.wYear;
            d.month = s.wMonth;
            d.day = s.wDay;
            found = true;
            keep(moved);
        }
    }
    if (!found) {
        return false;
    }
    if (Got(pattern->GetOccurrence(VariantNow(d, true), occurrence.out()), occurrence)) {
        return true;
    }
    if (earlier) {
        occurrence = std::move(earlier);
        return true;
    }
    return false;
}

// The fields read before anything else: the sensitivity filter (a failed
// read admits), the Oid (-1 when unreadable). Nullopt when filtered out.
std::optional<Item> StartAppointmentItem(OutlookContext& ctx, IAppointment* a) {
    Item item = NewAppointmentItem();
    LONG value = 0;
    if (SUCCEEDED(a->get_Sensitivity(&value))) {
        if (!Admits(ctx.settings.ApptSens, value)) {
            return std::nullopt;
        }
        item.sensitivity = value;
    }
    LONG oid = -1;
    item.index = SUCCEEDED(a->get_Oid(&oid)) ? oid : -1;
    return item;
}

// The busy-status filter, dates and title of `source` (the appointment or
// the chosen occurrence), the categories of `owner` (the appointment or its
// series); appends the Item when admitted.
bool FinishAppointmentItem(OutlookContext& ctx, IAppointment* source, IAppointment* owner,
                           Item& item, const SystemTime& now) {
    LONG value = 0;
    if (SUCCEEDED(source->get_BusyStatus(&value))) {
        if (!Admits(ctx.settings.BusyStatus, value)) {
            return false;
        }
        item.busyStatus = value;
    }
    ReadTimesAndTitle(ctx, source, item, now);
    BSTR categories = nullptr;
    const HRESULT hr = owner->get_Categories(&categories);
    if (!ReadCategories(ctx, hr, categories, 0, item)) {
        return false;
    }
    Append(ctx, ctx.store.appointments, item, now);
    return true;
}

// `occurrencesOnly`: appointments that are not recurring are left out (the
// full import lists them already).
int WalkRestricted(OutlookContext& ctx, IPOutlookItemCollection* restricted, const SystemTime& now,
                   bool occurrencesOnly) {
    int count = 0;
    if (restricted == nullptr) {
        return 0; // nothing matched
    }
    const int limit = WalkLimit(restricted);
    for (int i = 1; i <= limit; ++i) {
        Held<IUnknown> unknown;
        if (FAILED(restricted->Item(i, unknown.out()))) {
            break;
        }
        Held<IAppointment> a;
        if (!QueryAs(unknown.get(), kIidAppointment, a)) {
            continue;
        }
        std::optional<Item> item = StartAppointmentItem(ctx, a.get());
        if (!item) {
            continue;
        }
        VARIANT_BOOL recurring = VARIANT_FALSE;
        if (SUCCEEDED(a->get_IsRecurring(&recurring)) && recurring != VARIANT_FALSE) {
            item->recurring = 1;
        } else if (occurrencesOnly) {
            continue;
        }
        count += FinishAppointmentItem(ctx, a.get(), a.get(), *item, now) ? 1 : 0;
    }
    return count;
}

} // namespace

std::int32_t OpenOutlookSession(OutlookSession& session) {
    if (session.loggedOn != 0) {
        return S_OK;
    }
    const HRESULT init = CoInitializeEx(nullptr, 0);
    if (FAILED(init)) {
        TraceFailure(L"CoInitializeEx for Outlook", static_cast<std::uint32_t>(init));
        return init;
    }
    if (session.app == nullptr) {
        const HRESULT created = CreatePoomApplication(&session.app);
        if (FAILED(created) || session.app == nullptr) {
            TraceFailure(L"creating the Outlook application", static_cast<std::uint32_t>(created));
            session.app = nullptr;
            return FAILED(created) ? created : E_POINTER;
        }
    }
    const HRESULT logon = session.app->Logon(0);
    if (SUCCEEDED(logon)) {
        session.loggedOn = 1;
    } else {
        TraceFailure(L"Outlook Logon", static_cast<std::uint32_t>(logon));
    }
    return logon;
}

int ImportAppointmentsInWindow(OutlookContext& ctx, int mode, int viewShift,
                               const SystemTime& now) {
    if (ctx.session.loggedOn == 0) {
        return -1;
    }
    Held<IFolder> folder;
    Held<IPOutlookItemCollection> items;
    if (!Got(ctx.session.app->GetDefaultFolder(olFolderCalendar, folder.out()), folder) ||
        !Got(folder->get_Items(items.out()), items)) {
        if (mode != kRecentlyEndedMode) {
            ctx.store.appointments.clear();
            ClearTagIndex(ctx.store.appointmentTags);
        }
        return 0;
    }
    wchar_t query[160];
    if (mode == kRecentlyEndedMode) {
        const double n = VariantNow(now, false);
        std::swprintf(query, 160, L"[End] >= \"<%f\" AND [End] < \"<%f\"", n - 1.0, n);
    } else {
        // Every appointment that touches the window's days: one that began
        // before them and runs past midnight into them counts too. The view
        // then admits exactly what it would admit from the whole calendar.
        const DayWindow w =
            AppointmentWindow(mode, viewShift, WeekdayOf(DayNumberOf(now)), ctx.settings);
        const double today = VariantNow(now, true);
        ctx.store.appointments.clear();
        std::swprintf(query, 160, L"[Start] < \"<%f\" AND [End] >= \"<%f\"", today + w.end,
                      today + w.first);
    }
    Check(items->put_IncludeRecurrences(VARIANT_TRUE), L"Outlook IncludeRecurrences");
    const Bstr text(query);
    Held<IPOutlookItemCollection> restricted;
    const HRESULT hr = items->Restrict(text.get(), restricted.out());
    const int count = Got(hr, restricted)
                          ? WalkRestricted(ctx, restricted.get(), now, mode == kRecentlyEndedMode)
                          : 0;
    if (mode != kRecentlyEndedMode) {
        RebuildTagIndex(ctx.store.appointmentTags, ctx.store.appointments);
    }
    return count;
}

int ImportAllAppointments(OutlookContext& ctx, const SystemTime& now) {
    if (ctx.session.loggedOn == 0) {
        return -1;
    }
    ctx.store.appointments.clear();
    Held<IFolder> folder;
    Held<IPOutlookItemCollection> all, withRecurrences;
    int total = 0;
    if (!Got(ctx.session.app->GetDefaultFolder(olFolderCalendar, folder.out()), folder) ||
        !Got(folder->get_Items(all.out()), all) || FAILED(all->get_Count(&total)) || total < 1 ||
        !Got(folder->get_Items(withRecurrences.out()), withRecurrences)) {
        RebuildTagIndex(ctx.store.appointmentTags, ctx.store.appointments);
        return 0;
    }
    Check(withRecurrences->put_IncludeRecurrences(VARIANT_TRUE), L"Outlook IncludeRecurrences");
    int count = 0;
    for (int i = 1; i <= total; ++i) {
        Held<IUnknown> unknown;
        Held<IAppointment> a;
        if (FAILED(all->Item(i, unknown.out())) || !QueryAs(unknown.get(), kIidAppointment, a)) {
            continue;
        }
        std::optional<Item> item = StartAppointmentItem(ctx, a.get());
        if (!item) {
            continue;
        }
        VARIANT_BOOL recurring = VARIANT_FALSE;
        if (FAILED(a->get_IsRecurring(&recurring))) {
            recurring = VARIANT_FALSE;
        }
        Held<IAppointment> occurrence;
        IAppointment* source = a.get();
        if (recurring != VARIANT_FALSE) {
            if (!FindOccurrence(a.get(), item->index, withRecurrences.get(), now, occurrence)) {
                continue;
            }
            source = occurrence.get();
            item->recurring = 1;
        }
        count += FinishAppointmentItem(ctx, source, a.get(), *item, now) ? 1 : 0;
    }
    if (ctx.settings.Future != 0) {
        ImportAppointmentsInWindow(ctx, kRecentlyEndedMode, 0, now);
    }
    RebuildTagIndex(ctx.store.appointmentTags, ctx.store.appointments);
    return count;
}

int ImportTasks(OutlookContext& ctx, const SystemTime& now) {
    if (ctx.session.loggedOn == 0) {
        return -1;
    }
    ctx.store.tasks.clear();
    Held<IFolder> folder;
    Held<IPOutlookItemCollection> items;
    int total = 0;
    if (!Got(ctx.session.app->GetDefaultFolder(olFolderTasks, folder.out()), folder) ||
        !Got(folder->get_Items(items.out()), items) || FAILED(items->get_Count(&total)) ||
        total < 1) {
        RebuildTagIndex(ctx.store.taskTags, ctx.store.tasks);
        return 0;
    }
    const double n = VariantNow(now, false);
    int count = 0;
    for (int i = 1; i <= total; ++i) {
        Held<IUnknown> unknown;
        Held<ITask> t;
        if (FAILED(items->Item(i, unknown.out())) || !QueryAs(unknown.get(), kIidTask, t)) {
            continue;
        }
        Item item;
        item.source = kTask;
        item.startDate = item.endDate = item.checkDate = DateTime{0, 0, 0, 0, 0};
        LONG value = 0;
        if (SUCCEEDED(t->get_Importance(&value))) {
            if (!Admits(ctx.settings.Importance, value)) {
                continue;
            }
            item.importance = value;
        }
        if (SUCCEEDED(t->get_Sensitivity(&value))) {
            if (!Admits(ctx.settings.TaskSens, value)) {
                continue;
            }
            item.sensitivity = value;
        }
        VARIANT_BOOL complete = VARIANT_FALSE;
        DATE date = 0;
        DateTime d;
        if (SUCCEEDED(t->get_Complete(&complete)) && complete != VARIANT_FALSE) {
            item.checkState = 1;
            if (SUCCEEDED(t->get_DateCompleted(&date)) && ToDateTime(date, d)) {
                item.checkDate = {d.year, d.month, d.day, -1, -1};
            }
        }
        if (SUCCEEDED(t->get_StartDate(&date)) && date != kPoomNoDate && date > n &&
            item.checkState == 0) {
            continue;
        }
        LONG oid = -1;
        item.index = SUCCEEDED(t->get_Oid(&oid)) ? oid : -1;
        VARIANT_BOOL recurring = VARIANT_FALSE;
        if (SUCCEEDED(t->get_IsRecurring(&recurring)) && recurring != VARIANT_FALSE) {
            item.recurring = 1;
        }
        BSTR subject = nullptr;
        if (SUCCEEDED(t->get_Subject(&subject))) {
            item.title = TakeBstr(ctx.session.app, subject, 1023);
        }
        BSTR categories = nullptr;
        const HRESULT hr = t->get_Categories(&categories);
        const bool admitted = ReadCategories(ctx, hr, categories, 1, item);
        item.endDate = {0, 0, 0, -1, -1};
        if (SUCCEEDED(t->get_DueDate(&date)) && ToDateTime(date, d)) {
            item.endDate = {d.year, d.month, d.day, -1, -1};
        }
        item.startDate = {0, 0, 0, -1, -1};
        if (admitted) {
            Append(ctx, ctx.store.tasks, item, now);
            ++count;
        }
    }
    RebuildTagIndex(ctx.store.taskTags, ctx.store.tasks);
    return count;
}

std::u16string OutlookItemAction(OutlookSession& session, int kind, int oid, int action,
                                 const SystemTime& when) {
    if (session.loggedOn == 0 || (kind != kAppointment && kind != kTask)) {
        return {};
    }
    if (action == kOutlookCreate) {
        Held<IUnknown> created;
        if (FAILED(session.app->CreateItem(kind == kAppointment ? olAppointmentItem : olTaskItem,
                                           created.out()))) {
            return {};
        }
        Held<IAppointment> a;
        Held<ITask> t;
        if (kind == kAppointment && QueryAs(created.get(), kIidAppointment, a)) {
            Check(a->Display(), L"Outlook new appointment");
        } else if (kind == kTask && QueryAs(created.get(), kIidTask, t)) {
            Check(t->Display(), L"Outlook new task");
        }
        return {};
    }
    Held<IUnknown> unknown;
    if (FAILED(session.app->GetItemFromOid(oid, unknown.out()))) {
        return {};
    }
    if (kind == kTask) {
        Held<ITask> t;
        if (!QueryAs(unknown.get(), kIidTask, t)) {
            return {};
        }
        VARIANT_BOOL complete = VARIANT_FALSE;
        switch (action) {
        case kOutlookView:
        case kOutlookEdit:
        case kOutlookViewOccurrence:
        case kOutlookEditOccurrence:
            Check(t->Display(), L"Outlook task Display");
            break;
        case kOutlookToggleComplete:
            if (SUCCEEDED(t->get_Complete(&complete)) &&
                SUCCEEDED(
                    t->put_Complete(complete != VARIANT_FALSE ? VARIANT_FALSE : VARIANT_TRUE))) {
                return Failure(t->Save(), L"Outlook task Save");
            }
            break;
        case kOutlookDelete:
            return Failure(t->Delete(), L"Outlook task Delete");
        case kOutlookDeleteOccurrence:
            return Failure(t->SkipRecurrence(), L"Outlook task SkipRecurrence");
        default:
            break;
        }
        return {};
    }
    Held<IAppointment> a;
    if (!QueryAs(unknown.get(), kIidAppointment, a)) {
        return {};
    }
    switch (action) {
    case kOutlookView:
    case kOutlookEdit:
        Check(a->Display(), L"Outlook appointment Display");
        break;
    case kOutlookDelete:
        return Failure(a->Delete(), L"Outlook appointment Delete");
    case kOutlookViewOccurrence:
    case kOutlookEditOccurrence:
    case kOutlookDeleteOccurrence: {
        SYSTEMTIME s = ToSystem(when);
        double day = 0;
        Held<IRecurrencePattern> pattern;
        Held<IAppointment> occurrence;
        if (!SystemTimeToVariantTime(&s, &day) ||
            !Got(a->GetRecurrencePattern(pattern.out()), pattern) ||
            !Got(pattern->GetOccurrence(day, occurrence.out()), occurrence)) {
            return {};
        }
        if (action == kOutlookDeleteOccurrence) {
            return Failure(occurrence->Delete(), L"Outlook occurrence Delete");
        } else {
            Check(occurrence->Display(), L"Outlook occurrence Display");
        }
        break;
    }
    default:
        break;
    }
    return {};
}

SourceLoaders OutlookLoaders(OutlookContext& ctx) {
    SourceLoaders loaders;
    loaders.appointments = [&ctx](ItemStore&, int code, int viewShift, const SystemTime& now) {
        const bool windowed = (code >= kFilterToday && code <= kFilterTomorrow) ||
                              (code >= kFilterWeekAhead && code <= kFilterRange);
        if (windowed) {
            ImportAppointmentsInWindow(ctx, code, viewShift, now);
        } else {
            ImportAllAppointments(ctx, now);
        }
    };
    loaders.tasks = [&ctx](ItemStore&, const SystemTime& now) { ImportTasks(ctx, now); };
    return loaders;
}

} // namespace vantrel
