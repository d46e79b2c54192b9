#include "view/view_list.h"

#include "counter/evaluate_item.h"
#include "view/standard_order.h"

#include <algorithm>

namespace vantrel {
namespace {

// Today's entry whose time has passed counts as one day past.
bool PassedToday(const Item& item, const Settings& s) {
    return item.dayCount == 0 && item.minuteCount > 0 && item.minuteCount < 1440 && s.Future == 0;
}

class ListScan {
  public:
    ListScan(ViewContext& ctx, int code, const SystemTime& now) : ctx_(ctx), code_(code) {
        const int v = ctx.state.viewShift;
        dayTarget_ = code == kFilterToday ? -v : code == kFilterYesterday ? 1 - v : -1 - v;
        const int weekday = WeekdayOf(DayNumberOf(now));
        week_ = ((weekday - ctx.settings.StartWeek) % 7 + 7) % 7 -
                (code == kFilterNextWeek ? 7 : 0) - 7 * v;
    }

    void Scan(const ItemList& list, std::size_t from, bool own) {
        switch (code_) {
        case kFilterAll:
            Plain(list, from, own, [](const Item&) { return true; });
            break;
        case kFilterToDo:
            Plain(list, from, own, [](const Item& i) {
                return i.source == kOwnEntry || (i.source == kTask && !i.startDate.HasDate());
            });
            break;
        case kFilterSearch: {
            const std::u16string& text = ctx_.state.searchText;
            Plain(list, from, own, [&](const Item& i) {
                return text.empty() || i.title.find(text) != std::u16string::npos;
            });
            break;
        }
        case kFilterToday:
        case kFilterYesterday:
        case kFilterTomorrow:
            // Every Item is looked at: the order is by day count, and a ToDo
            // whose deadline has passed sorts among today's Items without
            // covering today, so the admitted Items need not form a run.
            Plain(list, from, own, [this](const Item& i) {
                return i.endOffset <= dayTarget_ && dayTarget_ <= i.startOffset;
            });
            break;
        case kFilterThisWeek:
        case kFilterNextWeek:
            Run(list, from, own,
                [this](const Item& i) { return week_ - 6 <= i.dayCount && i.dayCount <= week_; });
            break;
        case kFilterRange:
            Run(list, from, own, [this](const Item& i) {
                const int v = PassedToday(i, ctx_.settings) ? 1 : i.dayCount;
                return ctx_.settings.DSpanFs <= v && v < ctx_.settings.DSpanFe;
            });
            break;
        case kFilterFromNow:
        case kFilterWeekAhead:
            FromNow(list, from, own);
            break;
        case kFilterPast:
            for (std::size_t i = from; i < list.size(); ++i) {
                if (!(list[i].dayCount > 0 || PassedToday(list[i], ctx_.settings))) {
                    break;
                }
                Add(list, i, own);
            }
            break;
        default:
            break;
        }
    }

    void Add(const ItemList& list, std::size_t position, bool own) {
        // Assign over the previous view's lines where there are some: that
        // keeps their string buffers instead of freeing and allocating anew.
        ItemList& view = ctx_.store.view;
        if (used_ < view.size()) {
            view[used_] = list[position];
        } else {
            view.push_back(list[position]);
        }
        if (own) {
            view[used_].index = static_cast<int>(position);
        }
        ++used_;
    }

    // Drops what is left of the previous view.
    void Finish() { ctx_.store.view.resize(used_); }

  private:
    template <class Admits>
    void Plain(const ItemList& list, std::size_t from, bool own, Admits admits) {
        for (std::size_t i = from; i < list.size(); ++i) {
            if (admits(list[i])) {
                Add(list, i, own);
            }
        }
    }

    // Skip to the first admitted Item, then stop at the first that is not:
    // the lists are in the standard order, so the admitted ones form a run.
    template <class Admits>
    void Run(const ItemList& list, std::size_t from, bool own, Admits admits) {
        bool inRun = false;
        for (std::size_t i = from; i < list.size(); ++i) {
            if (admits(list[i])) {
                inRun = true;
                Add(list, i, own);
            } else if (inRun) {
                break;
            }
        }
    }

    void FromNow(const ItemList& list, std::size_t from, bool own) {
        bool admittedAny = false;
        for (std::size_t i = from; i < list.size(); ++i) {
            const Item& item = list[i];
            const bool qualifies =
                item.minuteCount < 1 || (ctx_.settings.Future != 0 && item.dayCount == 0);
            if (!qualifies) {
                continue;
            }
            if (code_ == kFilterWeekAhead && item.dayCount <= -8) {
                if (admittedAny) {
                    break;
                }
                continue;
            }
            admittedAny = true;
            Add(list, i, own);
        }
    }

    ViewContext& ctx_;
    int code_;
    int dayTarget_ = 0;
    int week_ = 0;
    std::size_t used_ = 0;
};

void AddTagged(ViewContext& ctx, ListScan& scan, const ItemList& list, const TagIndex& index,
               bool own) {
    for (const int position : EntriesOfTag(index, ctx.settings.FilterTag)) {
        if (position >= 0 && static_cast<std::size_t>(position) < list.size()) {
            scan.Add(list, static_cast<std::size_t>(position), own);
        }
    }
}

// Evaluate, order and re-index the own list in one pass when it is still
// in order, which is the usual case: on a large list each pass over it
// costs a trip through memory.
void EvaluateOwnList(ViewContext& ctx, const SystemTime& now) {
    ItemList& own = ctx.store.own;
    const CounterSettings counter = CounterSettingsFrom(ctx.settings);
    bool inOrder = true;
    BeginTagRebuild(ctx.store.ownTags);
    for (std::size_t i = 0; i < own.size(); ++i) {
        EvaluateItem(own[i], now, counter, ctx.texts);
        if (!inOrder) {
            continue;
        }
        if (i > 0 && comesBefore(own[i], own[i - 1])) {
            inOrder = false;
            continue;
        }
        AddTagsAtEveryTab(ctx.store.ownTags, own[i].tags, static_cast<int>(i));
    }
    if (inOrder) {
        FinishTagRebuild(ctx.store.ownTags);
        return;
    }
    SortStandard(own);
    RebuildTagIndex(ctx.store.ownTags, own);
}

} // namespace

void OrderOutlookLists(ItemStore& store) {
    SortStandard(store.appointments);
    RebuildTagIndex(store.appointmentTags, store.appointments);
    SortStandard(store.tasks);
    RebuildTagIndex(store.taskTags, store.tasks);
}

void OrderAllLists(ItemStore& store) {
    SortStandard(store.own);
    RebuildTagIndex(store.ownTags, store.own);
    OrderOutlookLists(store);
}

void buildView(ViewContext& ctx, int code, const SystemTime& now) {
    ItemStore& store = ctx.store;
    ViewState& state = ctx.state;
    state.pageTop = 0;
    state.cursor = 0;
    state.currentFilter = code;

    const bool ownShown = (state.sourceMask & kSourceOwnBit) != 0 && !store.own.empty();
    ListScan scan(ctx, code, now);
    std::size_t ownFrom = 0;
    if (ownShown && (code <= kFilterRange || code == kFilterPast)) {
        while (ownFrom < store.own.size() && store.own[ownFrom].pinned != 0) {
            scan.Add(store.own, ownFrom++, true);
        }
    }
    if (code == kFilterTag) {
        if (ownShown) {
            AddTagged(ctx, scan, store.own, store.ownTags, true);
        }
        AddTagged(ctx, scan, store.appointments, store.appointmentTags, false);
        AddTagged(ctx, scan, store.tasks, store.taskTags, false);
    } else {
        if (ownShown) {
            scan.Scan(store.own, ownFrom, true);
        }
        scan.Scan(store.appointments, 0, false);
        scan.Scan(store.tasks, 0, false);
    }
    scan.Finish();
    if (!store.view.empty()) {
        SortStandard(store.view);
    }
}

void refresh(ViewContext& ctx, int code) {
    const SystemTime now = ctx.clock.Now();
    ItemStore& store = ctx.store;
    const int mask = ctx.state.sourceMask;
    if ((mask & kSourceAppointmentsBit) != 0 && ctx.loaders.appointments) {
        ctx.loaders.appointments(store, code, ctx.state.viewShift, now);
    } else {
        store.appointments.clear();
        ClearTagIndex(store.appointmentTags);
    }
    if ((mask & kSourceTasksBit) != 0 && ctx.loaders.tasks) {
        ctx.loaders.tasks(store, now);
    } else {
        store.tasks.clear();
        ClearTagIndex(store.taskTags);
    }
    OrderOutlookLists(store);
    if (!store.own.empty()) {
        EvaluateOwnList(ctx, now);
    }
    if (ctx.settings.SaveFilter != 0 && code != kFilterSearch) {
        ctx.settings.StartFilter = code;
        if (ctx.saveStartFilter) {
            ctx.saveStartFilter();
        }
    }
    buildView(ctx, code, now);
}

} // namespace vantrel
