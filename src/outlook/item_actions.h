#pragma once

namespace vantrel {

// Operation codes of OutlookItemAction. A recurring item's occurrence is
// addressed by adding kOutlookOccurrence to view or edit.
inline constexpr int kOutlookCreate = 0;
inline constexpr int kOutlookView = -1;
inline constexpr int kOutlookEdit = 1;
inline constexpr int kOutlookToggleComplete = 5;
inline constexpr int kOutlookDelete = 8;
inline constexpr int kOutlookOccurrence = 10;
inline constexpr int kOutlookViewOccurrence = 9;
inline constexpr int kOutlookEditOccurrence = 11;
inline constexpr int kOutlookDeleteOccurrence = 18;

} // namespace vantrel
