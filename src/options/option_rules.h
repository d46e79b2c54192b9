#pragma once

#include "settings/settings.h"

#include <array>

namespace vantrel {

// The start-up filter list: index i is filter code i, except that index 11
// stands for 12 ("過去"); the search filter (11) cannot be chosen and
// shows as index 0.
int StartFilterIndex(int code);
int StartFilterCode(int index);

// The eight day-range values in the order the page shows them: the six
// colour ranges from the lowest up, then the filter pair.
enum DayRangeBox : int {
    kRangeMinus2,
    kRangeMinus1,
    kRangeZeroStart,
    kRangeZeroEnd,
    kRangePlus1,
    kRangePlus2,
    kFilterStart,
    kFilterEnd,
};
using DayRanges = std::array<int, 8>;

DayRanges DayRangesOf(const Settings& settings);
void StoreDayRanges(Settings& settings, const DayRanges& ranges);

// Out-of-order stored ranges are reset to their defaults; true when reset.
bool ValidateDayRanges(DayRanges& ranges);

// The value a range box settles on after the user typed `value` into it:
// not below its lower neighbour, not above its upper one.
int SettledRange(const DayRanges& ranges, int box, int value);
// Every box settled in turn, from 範囲－２ to フィルタ終: what Apply stores
// of boxes the user typed into and did not leave.
void SettleDayRanges(DayRanges& ranges);

// The ToDo span: shown unchecked (with 1) when off, stored as 1 when off
// or when a positive value is entered.
struct ToDoSpanView {
    bool on = false;
    int value = 1;
};
ToDoSpanView ShowToDoSpan(int stored);
int StoreToDoSpan(bool on, int value);

// Column positions 1..3: repaired on opening, kept a permutation when one
// list changes.
void RepairPositions(std::array<int, 3>& positions);
void PickPosition(std::array<int, 3>& positions, int changed, int position);

// String ids of the command names of the operation lists, by list index
// (command code + 1).
extern const std::array<int, 38> kCommandNameIds;

} // namespace vantrel
