#pragma once

#include <optional>

namespace vantrel {

// The command codes every gesture, key and menu choice ends in. The
// options sheet lists them in code order (combo index = code + 1).
inline constexpr int kCmdNone = -1;
inline constexpr int kCmdAdd = 0;
inline constexpr int kCmdEdit = 1;
inline constexpr int kCmdView = 2;
inline constexpr int kCmdMenu = 3;
inline constexpr int kCmdFilterMenu = 4;
inline constexpr int kCmdCheck = 5;
inline constexpr int kCmdPin = 6;
inline constexpr int kCmdRefresh = 7;
inline constexpr int kCmdDelete = 8;
inline constexpr int kCmdDuplicate = 9;
inline constexpr int kCmdDataMenu = 10;
inline constexpr int kCmdToggleOwn = 11;
inline constexpr int kCmdToggleAppointments = 12;
inline constexpr int kCmdToggleTasks = 13;
inline constexpr int kCmdNewAppointment = 14;
inline constexpr int kCmdNewTask = 15;
inline constexpr int kCmdUp = 16;
inline constexpr int kCmdDown = 17;
inline constexpr int kCmdPrevPage = 18;
inline constexpr int kCmdNextPage = 19;
inline constexpr int kCmdFilterAll = 20; // 20..29: filter kinds 0..9
inline constexpr int kCmdFilterToDo = 29;
inline constexpr int kCmdFilterTag = 30;
inline constexpr int kCmdFilterSearch = 31;
inline constexpr int kCmdLeft = 32;
inline constexpr int kCmdRight = 33;
inline constexpr int kCmdFilterPast = 34;
inline constexpr int kCmdEnlarge = 35;
inline constexpr int kCmdCopy = 36;
inline constexpr int kCmdLast = kCmdCopy;

// Popups of the menu IDR_POPUP_MENUS (resources/resource_ids.h), by index.
inline constexpr int kPopupFilter = 0;
inline constexpr int kPopupCommand = 1;
inline constexpr int kPopupData = 2;

// The command a menu id (IDM_...) stands for; none for ids outside the
// table.
std::optional<int> CommandOfMenuId(int id);

// The Filter popup item of filter kind 0..12; 0 for other kinds.
int MenuIdOfFilter(int kind);

} // namespace vantrel
