#include "view/check_toggle.h"

#include "counter/evaluate_item.h"

namespace vantrel {
namespace {

void ToggleOwnEntry(ViewContext& ctx, Item& entry, const SystemTime& now) {
    if (entry.checkState != 0) {
        entry.checkState = 0;
        entry.checkDate = kNoDate;
    } else {
        entry.checkState = 1;
        const bool withTime = ctx.settings.CheckTime != 0;
        entry.checkDate = {now.year, now.month, now.day, withTime ? now.hour : -1,
                           withTime ? now.minute : -1};
    }
    if (ctx.settings.CheckSort == 0) {
        EvaluateItem(entry, now, CounterSettingsFrom(ctx.settings), ctx.texts);
        WriteBack(ctx.store.own, entry);
    } else {
        WriteBack(ctx.store.own, entry);
        refresh(ctx, ctx.state.currentFilter);
    }
}

} // namespace

void ToggleCheck(ViewContext& ctx, int selected, const CheckActions& actions) {
    ItemStore& store = ctx.store;
    const bool hasSelection =
        selected >= 0 && static_cast<std::size_t>(selected) < store.view.size();
    if (hasSelection && !(store.own.empty() && store.tasks.empty())) {
        const SystemTime now = ctx.clock.Now();
        Item& entry = store.view[static_cast<std::size_t>(selected)];
        const bool confirmed =
            entry.source != kAppointment &&
            (ctx.settings.CheckWarn == 0 || !actions.confirm || actions.confirm());
        if (confirmed && entry.source == kTask) {
            if (actions.toggleTask) {
                actions.toggleTask(entry.index, now);
            }
            refresh(ctx, ctx.state.currentFilter);
        } else if (confirmed && entry.source == kOwnEntry) {
            ToggleOwnEntry(ctx, entry, now);
        }
    }
    if (actions.save) {
        actions.save();
    }
}

} // namespace vantrel
