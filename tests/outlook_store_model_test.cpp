#include "platform/poom_store/store_index.h"
#include "platform/poom_store/store_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace vantrel::store {
namespace {

constexpr const char* kStore = R"(# a store
[appointment]
oid: 5
subject: 定例会議
location: 本社
start: 2026-11-30 10:00
end: 2026-11-30 11:00
categories: 仕事, 会議
repeat: weekly every 2 on mon,wed
until: 2027-03-31
skip: 2026-12-14
move: 2026-12-16 -> 2026-12-17 15:00 - 2026-12-17 16:00 | 会議 (振替)

[appointment]
subject: 冬休み
start: 2026-12-28
end: 2026-12-30
busy: out-of-office

[task]
subject: 年賀状
due: 2026-12-20
complete: yes 2026-12-05
importance: high
repeat: yearly month 12 day 20
)";

int Day(int y, int m, int d) {
    return DayNumberOf(y, m, d);
}

TEST(StoreModel, ParsesAndWritesTheStoreFile) {
    const ParsedStore parsed = ParseStore(kStore);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const Store& s = parsed.store;
    ASSERT_EQ(s.appointments.size(), 2u);
    const Appointment& series = s.appointments[0];
    EXPECT_EQ(series.oid, 5);
    EXPECT_EQ(series.categories, u"仕事, 会議");
    ASSERT_TRUE(series.recurrence);
    EXPECT_EQ(series.recurrence->dayOfWeekMask, 2 | 8);
    EXPECT_EQ(series.recurrence->patternStart, (CalendarDate{2026, 11, 30}));
    EXPECT_FALSE(series.recurrence->noEndDate);
    ASSERT_EQ(series.exceptions.size(), 2u);
    EXPECT_TRUE(series.exceptions[0].deleted);
    EXPECT_EQ(series.exceptions[1].subject, u"会議 (振替)");
    const Appointment& holiday = s.appointments[1];
    EXPECT_TRUE(holiday.allDay);
    EXPECT_EQ(holiday.end, MomentOf(Day(2026, 12, 31), 0, 0)); // the last day is included
    EXPECT_EQ(holiday.busyStatus, 3);
    EXPECT_GE(holiday.oid, 1000);
    ASSERT_EQ(s.tasks.size(), 1u);
    EXPECT_TRUE(s.tasks[0].complete);
    EXPECT_EQ(s.tasks[0].completedDay, Day(2026, 12, 5));
    EXPECT_EQ(s.tasks[0].importance, 2);

    // What is written reads back the same.
    const ParsedStore again = ParseStore(FormatStore(s));
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_EQ(FormatStore(again.store), FormatStore(s));
}

TEST(StoreModel, RecordsItCannotReadAreReportedAndSetAside) {
    const struct {
        const char* record;
        const char* problem; // the record starts on line 3
    } rows[] = {
        {"[task]\nno colon\n", "line 4: expected \"key: value\""},
        {"[task]\ndue: tomorrow\n", "line 4: bad value for 'due': tomorrow"},
        {"[appointment]\nstart: 2026-12-01 10:00\nrepeat: hourly\n",
         "line 5: bad value for 'repeat': hourly"},
        {"[appointment]\nstart: 2026-12-01 10:00\nrepeat: weekly every 1\n",
         "line 5: the series names no days of the week"},
        {"[appointment]\nstart: 2026-12-01 10:00\nrepeat: monthly every 1\n",
         "line 5: the series names no day of the month"},
        {"[appointment]\nstart: 2026-12-01 10:00\nrepeat: yearly-nth month 2 on mon\n",
         "line 5: the series names no instance (1-5)"},
        {"[appointment]\nsubject: no start\nend: 2026-12-01 10:00\n",
         "line 3: an appointment needs a start"},
        {"[appointment]\nstart: 2026-12-01\nskip: 2026-12-01 -> 2026-12-02 10:00 - 2026-12-02 "
         "11:00\n",
         "line 5: bad value for 'skip': 2026-12-01 -> 2026-12-02 10:00 - 2026-12-02 11:00"},
        {"[appointment]\nstart: 2026-12-01\nuntil: 2026-12-31\n",
         "line 5: bad value for 'until': 2026-12-31"},
    };
    for (const auto& row : rows) {
        const std::string text = std::string("[task]\nsubject: good\n") + row.record +
                                 "[appointment]\nsubject: after\nstart: 2026-12-02 10:00\n";
        const ParsedStore parsed = ParseStore(text);
        EXPECT_FALSE(parsed.ok) << row.record;
        EXPECT_EQ(parsed.error, row.problem);
        EXPECT_EQ(parsed.problems.size(), 1u) << row.record;
        // The records around it are read; the bad one is in neither list.
        ASSERT_FALSE(parsed.store.tasks.empty());
        EXPECT_EQ(parsed.store.tasks.front().subject, u"good");
        ASSERT_FALSE(parsed.store.appointments.empty()) << row.record;
        EXPECT_EQ(parsed.store.appointments.back().subject, u"after");
        EXPECT_EQ(parsed.store.tasks.size() + parsed.store.appointments.size(), 2u) << row.record;
    }
    const ParsedStore stray = ParseStore("subject: x\n[task]\nsubject: y\n");
    EXPECT_EQ(stray.error, "line 1: expected [appointment], [task] or a comment");
    EXPECT_EQ(stray.store.tasks.size(), 1u);
    // Unknown keys are no problem: kept in the file, not read.
    const ParsedStore colour = ParseStore("[appointment]\ncolour: red\nstart: 2026-12-01\n");
    EXPECT_TRUE(colour.ok) << colour.error;
    EXPECT_EQ(colour.store.appointments.size(), 1u);
}

TEST(StoreModel, DaysOfVariantTimesAreNotRounded) {
    const int day = Day(2026, 12, 10);
    const double midnight = VariantOf(MomentOf(day, 0, 0));
    const struct {
        double seconds; // after midnight
        int day;
    } rows[] = {{0, day},         {1, day},      {12 * 3600, day},
                {86340, day},     {86370, day},  {86399.5, day}, // 23:59:30, 23:59:59.5
                {86400, day + 1}, {-30, day - 1}};
    for (const auto& row : rows) {
        EXPECT_EQ(DayOfVariant(midnight + row.seconds / 86400.0), row.day) << row.seconds;
    }
    // A query at 23:59:30 does not reach an appointment at midnight.
    char text[120];
    std::snprintf(text, sizeof text, "[Start] <= \"<%f\"", midnight + 86370 / 86400.0);
    const auto query = ParseQuery(std::u16string(text, text + std::strlen(text)));
    ASSERT_TRUE(query);
    EXPECT_FALSE(Matches(*query, MomentOf(day + 1, 0, 0), MomentOf(day + 1, 1, 0), 1));
    EXPECT_TRUE(Matches(*query, MomentOf(day, 23, 59), MomentOf(day + 1, 1, 0), 1));
}

TEST(StoreModel, OccurrencesHonourExceptions) {
    const Store s = ParseStore(kStore).store;
    const Appointment& series = s.appointments[0];
    std::vector<int> days;
    for (const Occurrence& o : OccurrencesStarting(series, Day(2026, 12, 1), Day(2026, 12, 20))) {
        days.push_back(DayOf(o.start));
    }
    // Biweekly Mon/Wed: 12/02, (12/14 skipped), 12/16 moved to 12/17.
    EXPECT_EQ(days, (std::vector<int>{Day(2026, 12, 2), Day(2026, 12, 17)}));
    EXPECT_FALSE(OccurrenceOn(series, Day(2026, 12, 16)));
    const std::optional<Occurrence> moved = OccurrenceOn(series, Day(2026, 12, 17));
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->originalDay, Day(2026, 12, 16));
    EXPECT_EQ(moved->subject, u"会議 (振替)");
    EXPECT_TRUE(OccurrencesStarting(series, Day(2027, 4, 1), Day(2027, 4, 30)).empty()); // ended
}

TEST(StoreModel, QueriesOfTheImport) {
    const Minutes day = MomentOf(Day(2026, 12, 8), 0, 0);
    const double v = VariantOf(day);
    EXPECT_DOUBLE_EQ(v, 46364.0); // 2026-12-08 as a variant time
    char text[160];
    std::snprintf(text, sizeof text, "[Start] >= \"<%f\" AND [Start] < \"<%f\"", v, v + 1);
    const std::u16string query(text, text + std::strlen(text));
    const auto parsed = ParseQuery(query);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(Matches(*parsed, day, day + 60, 1));
    EXPECT_FALSE(Matches(*parsed, day - 60, day + 60, 1)); // 23:00 yesterday to 01:00
    EXPECT_FALSE(Matches(*parsed, day + 1440, day + 1500, 1));
    const auto oid =
        ParseQuery(u"[Start] <= \"<46364.500000\" AND [End] >= \"<46364.500000\" AND [Oid]=77");
    ASSERT_TRUE(oid);
    EXPECT_TRUE(Matches(*oid, day + 600, day + 780, 77));
    EXPECT_FALSE(Matches(*oid, day + 600, day + 780, 78));
    EXPECT_FALSE(ParseQuery(u"[Subject] = \"x\""));
    EXPECT_FALSE(ParseQuery(u"[Start] >= \"<1.0\" OR [End] < 2"));
}

// A file with comments, an unknown key, a record without an Oid and one the
// store cannot represent (a weekly series with no days).
constexpr const char* kUserFile = R"(# my calendar
[appointment]
oid: 5
subject: 定例
start: 2026-11-30 10:00
end: 2026-11-30 11:00
x-colour: blue
# every week
repeat: weekly every 1 on mon,wed
move: 2026-12-16 -> 2026-12-17 15:00 - 2026-12-17 16:00
# keep this note

[appointment]
subject: 冬休み
start: 2026-12-28
end: 2026-12-30

[appointment]
subject: broken
start: 2026-12-01 10:00
repeat: weekly every 1

[task]
oid: 9
subject: 年賀状
due: 2026-12-20
complete: no
repeat: yearly month 12 day 20
)";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

const Appointment& AppointmentOf(const Store& s, const std::u16string& subject) {
    for (const Appointment& a : s.appointments) {
        if (a.subject == subject) {
            return a;
        }
    }
    ADD_FAILURE() << "no appointment";
    return s.appointments.front();
}

TEST(StoreModel, ChangesRewriteOnlyTheirLines) {
    const std::string moved = "move: 2026-12-16 -> 2026-12-17 15:00 - 2026-12-17 16:00\n";
    const std::string seriesRecord = "[appointment]\noid: 5\nsubject: 定例\nstart: 2026-11-30 "
                                     "10:00\nend: 2026-11-30 11:00\nx-colour: blue\n# every "
                                     "week\nrepeat: weekly every 1 on mon,wed\n" +
                                     moved;
    const struct {
        const char* name;
        StoreChange::Kind kind;
        const char16_t* subject; // of an appointment; null: the task
        int day;
        std::string from, to; // the one edit expected in the file
    } rows[] = {
        {"skip a day", StoreChange::kSkipOccurrence, u"定例", Day(2026, 12, 21), moved,
         moved + "skip: 2026-12-21\n"},
        {"skip the moved day", StoreChange::kSkipOccurrence, u"定例", Day(2026, 12, 16), moved,
         "skip: 2026-12-16\n"},
        {"delete a series", StoreChange::kDelete, u"定例", 0, seriesRecord, ""},
        {"delete a record without oid", StoreChange::kDelete, u"冬休み", 0,
         "[appointment]\nsubject: 冬休み\nstart: 2026-12-28\nend: 2026-12-30\n\n", ""},
        {"complete a task", StoreChange::kSetComplete, nullptr, Day(2026, 12, 8), "complete: no\n",
         "complete: yes 2026-12-08\n"},
        {"skip a task's occurrence", StoreChange::kSkipTask, nullptr, 0, "due: 2026-12-20\n",
         "due: 2027-12-20\n"},
    };
    for (const bool crlf : {false, true}) {
        const auto text = [&](const std::string& t) { return crlf ? WithCrLf(t) : t; };
        const std::string file = text(kUserFile);
        const ParsedStore read = ParseStore(file);
        ASSERT_EQ(read.problems.size(), 1u);
        EXPECT_EQ(read.error, "line 21: the series names no days of the week");
        for (const auto& row : rows) {
            StoreChange change =
                row.subject != nullptr
                    ? ChangeOf(row.kind, file, AppointmentOf(read.store, row.subject))
                    : ChangeOf(row.kind, file, read.store.tasks.front());
            change.day = row.day;
            change.complete = true;
            const std::optional<ChangedText> changed = ApplyChange(file, change);
            ASSERT_TRUE(changed) << row.name;
            EXPECT_EQ(changed->text, Replaced(file, text(row.from), text(row.to)))
                << row.name << (crlf ? " (CR LF)" : "");
        }
        // A new record goes at the end with an Oid past every Oid in use.
        StoreChange add;
        add.kind = StoreChange::kAdd;
        add.record = AppointmentRecord(u"new\none", u"2026-12-11 09:00", u"2026-12-11 10:00");
        const std::optional<ChangedText> added = ApplyChange(file, add);
        ASSERT_TRUE(added);
        EXPECT_EQ(added->oid, 1001); // 1000 is the record without an oid
        EXPECT_EQ(added->text,
                  file + text("\n[appointment]\noid: 1001\nsubject: new one\nstart: 2026-12-11 "
                              "09:00\nend: 2026-12-11 10:00\n"));
    }
}

TEST(StoreModel, AChangeAppliesToTheFileAsItIsNow) {
    const std::string read = kUserFile;
    const Store before = ParseStore(read).store;
    const StoreChange change =
        ChangeOf(StoreChange::kDelete, read, AppointmentOf(before, u"冬休み"));
    // Meanwhile another program added a record at the top (it takes the
    // assigned Oid 1000 now) and renamed the series.
    const std::string other = "[appointment]\nsubject: 他の予定\nstart: 2026-12-05 09:00\n\n";
    const std::string now = other + Replaced(read, "subject: 定例\n", "subject: 定例会\n");
    ASSERT_EQ(ParseStore(now).store.appointments.front().oid, 1000);
    const std::optional<ChangedText> changed = ApplyChange(now, change);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->text, Replaced(now,
                                      "[appointment]\nsubject: 冬休み\nstart: 2026-12-28\nend: "
                                      "2026-12-30\n\n",
                                      ""));
    // A record that is gone since is not looked for elsewhere.
    EXPECT_FALSE(ApplyChange(changed->text, change));
    StoreChange series = ChangeOf(StoreChange::kSkipOccurrence, read, before.appointments[0]);
    series.day = Day(2026, 12, 21);
    EXPECT_FALSE(ApplyChange(Replaced(read, "oid: 5\n", "oid: 6\n"), series));
}

TEST(StoreModel, MovedOccurrencesOfAnyLengthAreFound) {
    // A one-hour series whose 12/16 moved to a three-day span.
    const Store s = ParseStore("[appointment]\noid: 7\nsubject: s\nstart: 2026-12-02 10:00\n"
                               "end: 2026-12-02 11:00\nrepeat: weekly every 1 on wed\n"
                               "move: 2026-12-16 -> 2026-12-14 09:00 - 2026-12-17 18:00\n")
                        .store;
    StoreIndex index;
    index.Rebuild(s);
    const double day15 = VariantOf(MomentOf(Day(2026, 12, 15), 12, 0));
    char text[200];
    const struct {
        const char* query;
        std::size_t found;
    } rows[] = {
        {"[Start] <= \"<%f\" AND [End] >= \"<%f\" AND [Oid]=7", 1}, // in progress on 12/15
        {"[Start] <= \"<%f\" AND [End] >= \"<%f\"", 1},
        {"[End] >= \"<%f\" AND [End] < \"<%f\"", 0}, // ends 12/17 18:00
    };
    for (const auto& row : rows) {
        std::snprintf(text, sizeof text, row.query, day15, day15 + 1);
        const auto query = ParseQuery(std::u16string(text, text + std::strlen(text)));
        ASSERT_TRUE(query) << row.query;
        const std::vector<Occurrence> found = index.Restrict(*query, true);
        EXPECT_EQ(found.size(), row.found) << row.query;
        if (!found.empty()) {
            EXPECT_EQ(found[0].originalDay, Day(2026, 12, 16));
        }
    }
    std::snprintf(text, sizeof text, "[End] >= \"<%f\" AND [End] < \"<%f\"", day15 + 2, day15 + 3);
    EXPECT_EQ(
        index.Restrict(*ParseQuery(std::u16string(text, text + std::strlen(text))), true).size(),
        1u);
}

TEST(StoreModel, CompleteWithoutADayCompletesToday) {
    const Store s = ParseStore("[task]\nsubject: a\ncomplete: yes\n"
                               "[task]\nsubject: b\ncomplete: yes 2026-12-01\n"
                               "[task]\nsubject: c\ncomplete: no\n")
                        .store;
    const int today = Day(2026, 12, 8);
    EXPECT_EQ(CompletionDay(s.tasks[0], today), today);
    EXPECT_EQ(CompletionDay(s.tasks[1], today), Day(2026, 12, 1));
    EXPECT_EQ(CompletionDay(s.tasks[2], today), std::nullopt);
}

// The index answers as a scan of every record would, for random calendars
// and queries of every shape the import asks.
TEST(StoreModel, IndexAgreesWithAFullScan) {
    std::mt19937 random(18);
    const char* repeats[] = {"daily every 2",
                             "daily weekdays",
                             "weekly every 1 on mon,thu",
                             "monthly every 1 day 9",
                             "monthly-nth every 1 instance 2 on tue",
                             "yearly month 12 day 10",
                             "yearly-nth month 12 instance 2 on fri"};
    for (int round = 0; round < 20; ++round) {
        std::string text;
        for (int i = 0; i < 60; ++i) {
            const int day = 1 + static_cast<int>(random() % 28);
            const int hour = static_cast<int>(random() % 24);
            const int hours = static_cast<int>(random() % 50);
            const int endDay = std::min(28, day + (hour + hours) / 24);
            char record[300];
            std::snprintf(record, sizeof record,
                          "[appointment]\nsubject: %d\nstart: 2026-12-%02d %02d:30\n"
                          "end: 2026-12-%02d %02d:00\n",
                          i, day, hour, endDay, (hour + hours) % 24);
            text += record;
            if (random() % 4 == 0) {
                text += std::string("repeat: ") + repeats[random() % 7] + "\n";
                text += "skip: 2026-12-" + std::to_string(10 + random() % 10) + "\n";
                std::snprintf(record, sizeof record,
                              "move: 2026-12-%02d -> 2026-12-%02d 08:00 - 2026-12-%02d 09:00\n",
                              static_cast<int>(10 + random() % 10),
                              static_cast<int>(5 + random() % 10),
                              static_cast<int>(15 + random() % 3));
                text += record;
            }
        }
        const Store s = ParseStore(text).store;
        StoreIndex index;
        index.Rebuild(s);
        for (int q = 0; q < 40; ++q) {
            // A quarter hour within the 30 days (2880 of them).
            const double at = VariantOf(MomentOf(Day(2026, 12, 1), 0, 0)) +
                              static_cast<double>(random() % 2880U) / 96.0;
            const int oid = static_cast<int>(1000 + random() % 60);
            const char* shapes[] = {"[Start] >= \"<%f\" AND [Start] < \"<%f\"",
                                    "[End] >= \"<%f\" AND [End] < \"<%f\"",
                                    "[Start] <= \"<%f\" AND [End] >= \"<%f\" AND [Oid]=%d"};
            const int shape = q % 3;
            char query[200];
            std::snprintf(query, sizeof query, shapes[shape], shape == 2 ? at : at - 1,
                          shape == 2 ? at : at + static_cast<double>(random() % 8), oid);
            const auto parsed = ParseQuery(std::u16string(query, query + std::strlen(query)));
            ASSERT_TRUE(parsed) << query;
            for (const bool recurrences : {true, false}) {
                std::vector<std::pair<int, Minutes>> expected, got;
                for (const Appointment& a : s.appointments) {
                    const std::vector<Occurrence> all =
                        recurrences && a.recurrence
                            ? OccurrencesStarting(a, Day(2026, 11, 1), Day(2027, 1, 31))
                            : std::vector<Occurrence>{{&a, a.start, a.end, a.subject, 0}};
                    for (const Occurrence& o : all) {
                        if (Matches(*parsed, o.start, o.end, a.oid)) {
                            expected.emplace_back(a.oid, o.start);
                        }
                    }
                }
                for (const Occurrence& o : index.Restrict(*parsed, recurrences)) {
                    got.emplace_back(o.series->oid, o.start);
                }
                std::sort(expected.begin(), expected.end());
                std::vector<std::pair<int, Minutes>> sorted = got;
                std::sort(sorted.begin(), sorted.end());
                EXPECT_EQ(sorted, expected) << query;
                EXPECT_TRUE(std::is_sorted(got.begin(), got.end(), [](auto& x, auto& y) {
                    return x.second < y.second;
                })) << query;
            }
        }
    }
}

TEST(StoreModel, RecurringTaskSkipsToItsNextDay) {
    const Store s = ParseStore(kStore).store;
    EXPECT_EQ(NextTaskDay(s.tasks[0]), Day(2027, 12, 20));
}

} // namespace
} // namespace vantrel::store
