#pragma once

// Named string-table ids that more than one subsystem uses.
namespace vantrel::text_id {

inline constexpr int kFirst = 42010;
inline constexpr int kLast = 42307;

inline constexpr int kWeekdaySunday = 42019; // + WeekdayOf
inline constexpr int kMonthBase = 42051;     // + month: "01".."12"
inline constexpr int kDayBase = 42063;       // + day: "01".."31"

inline constexpr int kAskDelete = 42134;
inline constexpr int kSaveAsFailed = 42136;
inline constexpr int kNoData = 42138;
inline constexpr int kAskDeleteSettings = 42139;
inline constexpr int kVersionTitle = 42163;
inline constexpr int kAskToggleCheck = 42184;
inline constexpr int kAskKeepOnlyShown = 42222;
inline constexpr int kAskDeleteSeries = 42252;

// Texts of our own, after the item's classic range.
inline constexpr int kKeptOriginal = 42300;       // %s: the copy of the original
inline constexpr int kCannotKeepOriginal = 42301; // %s: the data file, %d: error code
inline constexpr int kFileTooLarge = 42302;       // %s: the data file
inline constexpr int kKeptExisting = 42303;       // %s: the copy of a file saved over
inline constexpr int kKeptOtherVersion = 42304;   // %s: the copy of another program's version
inline constexpr int kNotRegularFile = 42305;     // %s: a folder, pipe or device
inline constexpr int kAskDropUnsaved = 42306;
inline constexpr int kStoreNotSaved = 42307; // %s: the store file and the reason

} // namespace vantrel::text_id
