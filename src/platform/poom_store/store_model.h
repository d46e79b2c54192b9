#pragma once

// The records of the replacement Pocket Outlook store and its text file.
// Portable: the COM-shaped objects of the Win32 build sit on top of it.

#include "outlook/recurrence.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::store {

// Moments are minutes since day number 0; whole days are day numbers.
using Minutes = std::int64_t;
inline Minutes MomentOf(int dayNumber, int hour, int minute) {
    return static_cast<Minutes>(dayNumber) * 1440 + static_cast<Minutes>(hour) * 60 + minute;
}
inline int DayOf(Minutes m) {
    return static_cast<int>(m >= 0 ? m / 1440 : (m - 1439) / 1440);
}

// Variant time: days since 1899-12-30 as a double.
double VariantOf(Minutes m);
Minutes MinutesOfVariant(double v);
inline constexpr double kVariantNoDate = 949998.0;

struct Exception {
    int originalDay = 0; // the day the occurrence would have had
    bool deleted = false;
    Minutes start = 0; // the moved occurrence (when not deleted)
    Minutes end = 0;
    std::u16string subject; // empty: the series' subject
};

struct Appointment {
    int oid = 0;
    std::u16string subject, location, categories;
    Minutes start = 0; // of the first occurrence for a series
    Minutes end = 0;
    bool allDay = false;
    int busyStatus = 2;
    int sensitivity = 0;
    std::optional<RecurrenceValues> recurrence;
    std::vector<Exception> exceptions;
};

struct Task {
    int oid = 0;
    std::u16string subject, categories;
    std::optional<int> startDay, dueDay;
    bool complete = false;
    std::optional<int> completedDay;
    int importance = 1;
    int sensitivity = 0;
    std::optional<RecurrenceValues> recurrence;
};

struct Store {
    std::vector<Appointment> appointments;
    std::vector<Task> tasks;
    int nextOid = 1000;
};

struct ParsedStore {
    bool ok = false;
    Store store;
    std::string error; // "line N: ..." when not ok
};
ParsedStore ParseStore(std::string_view utf8);
std::string FormatStore(const Store& store);

// One occurrence of an appointment: the appointment itself when it does not
// recur, else a regular day of the series or a moved exception.
struct Occurrence {
    const Appointment* series = nullptr;
    Minutes start = 0;
    Minutes end = 0;
    std::u16string subject;
    int originalDay = 0;
};

// Occurrences that start on the days [fromDay, toDay], in start order.
std::vector<Occurrence> OccurrencesStarting(const Appointment& a, int fromDay, int toDay);
// The occurrence on that day: a regular one, or an exception moved there.
std::optional<Occurrence> OccurrenceOn(const Appointment& a, int day);

// The Restrict texts: conditions on [Start], [End] and [Oid] joined by AND,
// dates as variant times ("[Start] >= \"<45999.000000\""). Nullopt for a
// text it cannot read.
struct Condition {
    enum Field { kStart, kEnd, kOid } field = kStart;
    enum Op { kLess, kLessEqual, kEqual, kGreaterEqual, kGreater } op = kEqual;
    double value = 0;
};
std::optional<std::vector<Condition>> ParseQuery(std::u16string_view text);
bool Matches(const std::vector<Condition>& query, Minutes start, Minutes end, int oid);

// The next due day of a recurring task after its current one.
std::optional<int> NextTaskDay(const Task& task);

} // namespace vantrel::store
