#pragma once

// The records of the replacement Pocket Outlook store and its text file.
// Portable: the COM-shaped objects of the Win32 build sit on top of it.

#include "outlook/recurrence.h"

#include <cstdint>
#include <memory>
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
Minutes MinutesOfVariant(double v); // to the nearest minute
// The day a variant time falls on, from the time as it is: 23:59:30 is
// still that day.
int DayOfVariant(double v);
inline constexpr double kVariantNoDate = 949998.0;

struct Exception {
    int originalDay = 0; // the day the occurrence would have had
    bool deleted = false;
    Minutes start = 0; // the moved occurrence (when not deleted)
    Minutes end = 0;
    std::u16string subject; // empty: the series' subject
};

// Where a record sits in the text it was read from: the bytes from its
// header line to its last key line, and whether the file names its Oid (a
// record without one is found again by its text).
struct RecordSpan {
    std::size_t begin = 0, end = 0;
    int line = 0; // of the header
    bool oidInFile = false;
};

struct Appointment;
struct Occurrence;

// A series the recurrence pattern cannot express: its occurrences are
// computed at the moment they are asked for.
class LiveSeries {
  public:
    virtual ~LiveSeries() = default;
    // The occurrence in progress at `now` or the next one; nullopt when
    // every one has ended.
    virtual std::optional<Occurrence> Current(Minutes now) const = 0;
    // The occurrences that start in [from, to), in start order.
    virtual std::vector<Occurrence> StartingBetween(Minutes from, Minutes to) const = 0;
    // The longest of its occurrences, in minutes.
    virtual Minutes Longest() const = 0;
};

struct Appointment {
    int oid = 0;
    RecordSpan span;
    std::u16string subject, location, categories;
    Minutes start = 0; // of the first occurrence for a series
    Minutes end = 0;
    bool allDay = false;
    int busyStatus = 2;
    int sensitivity = 0;
    std::optional<RecurrenceValues> recurrence;
    std::vector<Exception> exceptions;
    // Of a series: each regular occurrence lasts this many seconds exactly,
    // across a change of the clocks too (else `end - start` by the clock).
    std::optional<std::int64_t> exactSeconds;
    // Set for a series without `recurrence`: `start`, `end`, `subject` and
    // `slotUtc` then hold its occurrence current at the last AdvanceLive.
    std::shared_ptr<const LiveSeries> live;
    std::optional<std::int64_t> slotUtc;
    bool ended = false; // a live series with no occurrence left: not listed
};

struct Task {
    int oid = 0;
    RecordSpan span;
    std::u16string subject, categories;
    std::optional<int> startDay, dueDay;
    bool complete = false;
    std::optional<int> completedDay;
    int importance = 1;
    int sensitivity = 0;
    std::optional<RecurrenceValues> recurrence;
    // A series without `recurrence`: the days follow its current occurrence.
    std::shared_ptr<const LiveSeries> live;
};

struct Store {
    std::vector<Appointment> appointments;
    std::vector<Task> tasks;
    int nextOid = 1000;
};

// A record the store cannot represent is set aside: it is reported as
// "line N: ..." and stays in the file as it is, but is not in `store`.
// Unknown keys are kept in the file and otherwise ignored.
struct ParsedStore {
    bool ok = false;   // every record was read
    Store store;       // the records that were
    std::string error; // the first of `problems`
    std::vector<std::string> problems;
    // An iCalendar file whose lines and libical agree: it may be changed,
    // and its records' spans are their components.
    bool exact = false;
};
ParsedStore ParseStore(std::string_view utf8);
std::string FormatStore(const Store& store);

// Moves every live series of the store to its occurrence at `now`; true
// when one of them moved.
bool AdvanceLive(Store& store, Minutes now);

// One change to the file. It names its record by Oid and by the record's
// text in the version it was read from, so it applies to a newer version
// of the file too; everything but the lines it changes is kept byte for
// byte.
struct StoreChange {
    enum Kind {
        kDelete,         // the whole record
        kSkipOccurrence, // of a series, by its original day
        kSetComplete,    // a task: complete (on `day`) or not
        kSkipTask,       // a recurring task moves on to its next due day
        kAdd,            // a new record: `record` is its text without an Oid
    } kind = kDelete;
    bool task = false;
    int oid = 0;
    std::string recordText; // the record's bytes where the change was asked for
    std::size_t at = 0;     // and where they began: of two equal records, that one
    bool oidInFile = false;
    int day = 0;
    // The regular start (UTC seconds) of the occurrence a skip names, when
    // the day alone may not: a live series.
    std::optional<std::int64_t> slotUtc;
    bool complete = false;
    std::string record;
};
// The change made to `text`: the new text (and for kAdd the new Oid), or
// nullopt when the record is no longer there.
struct ChangedText {
    std::string text;
    int oid = 0;
};
std::optional<ChangedText> ApplyChange(std::string_view text, const StoreChange& change);
// A change to a record as it was read from `text`.
StoreChange ChangeOf(StoreChange::Kind kind, std::string_view text, const Appointment& a);
StoreChange ChangeOf(StoreChange::Kind kind, std::string_view text, const Task& t);

// A record's text for kAdd; line breaks in the values become blanks.
std::string AppointmentRecord(std::u16string_view subject, std::u16string_view start,
                              std::u16string_view end);
std::string TaskRecord(std::u16string_view subject, std::u16string_view start,
                       std::u16string_view due);

// The completion day a task shows: its own, or `today` for "complete: yes"
// without one. Nullopt while not complete.
std::optional<int> CompletionDay(const Task& task, int today);

// One occurrence of an appointment: the appointment itself when it does not
// recur, else a regular day of the series or a moved exception.
struct Occurrence {
    const Appointment* series = nullptr;
    Minutes start = 0;
    Minutes end = 0;
    std::u16string subject;
    int originalDay = 0;
    std::optional<std::int64_t> slotUtc = std::nullopt; // of a live series' occurrence
};

// Occurrences that start on the days [fromDay, toDay], in start order.
std::vector<Occurrence> OccurrencesStarting(const Appointment& a, int fromDay, int toDay);
// The longest of a series' occurrences (moved ones included), in minutes.
Minutes LongestOccurrence(const Appointment& a);
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
// Compares with the query's times as they are, seconds included.
bool Matches(const std::vector<Condition>& query, Minutes start, Minutes end, int oid);

// The next due day of a recurring task after its current one.
std::optional<int> NextTaskDay(const Task& task);

} // namespace vantrel::store
