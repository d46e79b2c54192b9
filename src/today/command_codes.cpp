#include "today/command_codes.h"

#include "resource_ids.h"
#include "view/view_list.h"

#include <array>
#include <utility>

namespace vantrel {
namespace {

constexpr std::array<std::pair<int, int>, 29> kMenuCommands{{
    {IDM_FILTER_ALL, kCmdFilterAll + kFilterAll},
    {IDM_FILTER_TODAY, kCmdFilterAll + kFilterToday},
    {IDM_FILTER_YESTERDAY, kCmdFilterAll + kFilterYesterday},
    {IDM_FILTER_TOMORROW, kCmdFilterAll + kFilterTomorrow},
    {IDM_FILTER_FROM_NOW, kCmdFilterAll + kFilterFromNow},
    {IDM_FILTER_WEEK_AHEAD, kCmdFilterAll + kFilterWeekAhead},
    {IDM_FILTER_THIS_WEEK, kCmdFilterAll + kFilterThisWeek},
    {IDM_FILTER_NEXT_WEEK, kCmdFilterAll + kFilterNextWeek},
    {IDM_REFRESH, kCmdRefresh},
    {IDM_FILTER_MENU, kCmdFilterMenu},
    {IDM_CHECK, kCmdCheck},
    {IDM_ADD, kCmdAdd},
    {IDM_EDIT, kCmdEdit},
    {IDM_DELETE, kCmdDelete},
    {IDM_PIN, kCmdPin},
    {IDM_FILTER_TAG, kCmdFilterTag},
    {IDM_FILTER_TODO, kCmdFilterToDo},
    {IDM_FILTER_RANGE, kCmdFilterAll + kFilterRange},
    {IDM_DUPLICATE, kCmdDuplicate},
    {IDM_DATA_MENU, kCmdDataMenu},
    {IDM_SOURCE_OWN, kCmdToggleOwn},
    {IDM_SOURCE_APPOINTMENTS, kCmdToggleAppointments},
    {IDM_SOURCE_TASKS, kCmdToggleTasks},
    {IDM_FILTER_SEARCH, kCmdFilterSearch},
    {IDM_NEW_APPOINTMENT, kCmdNewAppointment},
    {IDM_NEW_TASK, kCmdNewTask},
    {IDM_FILTER_PAST, kCmdFilterPast},
    {IDM_ENLARGE, kCmdEnlarge},
    {IDM_COPY, kCmdCopy},
}};

// By filter kind.
constexpr std::array<int, 13> kFilterMenuIds{
    IDM_FILTER_ALL,      IDM_FILTER_TODAY,      IDM_FILTER_YESTERDAY, IDM_FILTER_TOMORROW,
    IDM_FILTER_FROM_NOW, IDM_FILTER_WEEK_AHEAD, IDM_FILTER_THIS_WEEK, IDM_FILTER_NEXT_WEEK,
    IDM_FILTER_RANGE,    IDM_FILTER_TODO,       IDM_FILTER_TAG,       IDM_FILTER_SEARCH,
    IDM_FILTER_PAST};

} // namespace

std::optional<int> CommandOfMenuId(int id) {
    for (const auto& [menuId, code] : kMenuCommands) {
        if (menuId == id) {
            return code;
        }
    }
    return std::nullopt;
}

int MenuIdOfFilter(int kind) {
    return kind >= 0 && kind < static_cast<int>(kFilterMenuIds.size())
               ? kFilterMenuIds[static_cast<std::size_t>(kind)]
               : 0;
}

} // namespace vantrel
