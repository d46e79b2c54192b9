// The iCalendar store: what a VEVENT and a VTODO become, and changes that
// touch only the bytes they mean.

#include "ical/ical_text.h"
#include "ics_test_zone.h"
#include "platform/poom_store/ics_store.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <libical/ical.h>

#include <fstream>
#include <iterator>
#include <string>

namespace vantrel::store {
namespace {

int Day(int y, int m, int d) {
    return DayNumberOf(y, m, d);
}

// Lines joined with CR LF.
std::string Crlf(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

const std::string kHead =
    Crlf({"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Example//Test//EN", "X-WR-CALNAME:test",
          "BEGIN:VTIMEZONE", "TZID:Asia/Tokyo", "BEGIN:STANDARD", "DTSTART:19700101T000000",
          "TZOFFSETFROM:+0900", "TZOFFSETTO:+0900", "TZNAME:JST", "END:STANDARD", "END:VTIMEZONE"});

const std::string kMeeting = Crlf({
    "BEGIN:VEVENT",
    "UID:meeting-1@example.com",
    "DTSTAMP:20260101T000000Z",
    "DTSTART;TZID=Asia/Tokyo:20260105T100000",
    "DTEND;TZID=Asia/Tokyo:20260105T110000",
    "SUMMARY:部内定例",
    "LOCATION:会議室A",
    "CATEGORIES:仕事,会議",
    "RRULE:FREQ=WEEKLY;BYDAY=MO",
    "EXDATE;TZID=Asia/Tokyo:20261228T100000",
    "X-UNKNOWN-THING;X-PARAM=1:kept as it is",
    "BEGIN:VALARM",
    "ACTION:DISPLAY",
    "DESCRIPTION:reminder",
    "TRIGGER:-PT15M",
    "END:VALARM",
    "END:VEVENT",
});

const std::string kMoved = Crlf({
    "BEGIN:VEVENT",
    "UID:meeting-1@example.com",
    "DTSTAMP:20260101T000000Z",
    "RECURRENCE-ID;TZID=Asia/Tokyo:20261214T100000",
    "DTSTART;TZID=Asia/Tokyo:20261215T140000",
    "DTEND;TZID=Asia/Tokyo:20261215T150000",
    "SUMMARY:部内定例 (火曜に変更)",
    "END:VEVENT",
});

const std::string kTrip = Crlf({
    "BEGIN:VEVENT",
    "UID:trip@example.com",
    "DTSTAMP:20260101T000000Z",
    "DTSTART;VALUE=DATE:20261218",
    "DTEND;VALUE=DATE:20261221",
    "SUMMARY:京都旅行",
    "TRANSP:TRANSPARENT",
    "CLASS:PRIVATE",
    "END:VEVENT",
});

const std::string kHourly = Crlf({
    "BEGIN:VEVENT",
    "UID:hourly@example.com",
    "DTSTAMP:20260101T000000Z",
    "DTSTART:20261201T080000",
    "DTEND:20261201T081000",
    "SUMMARY:水分補給",
    "RRULE:FREQ=HOURLY;INTERVAL=4",
    "X-MICROSOFT-CDO-BUSYSTATUS:OOF",
    "END:VEVENT",
});

const std::string kTodo = Crlf({
    "BEGIN:VTODO",
    "UID:todo-1@example.com",
    "DTSTAMP:20260101T000000Z",
    "DTSTART;VALUE=DATE:20261201",
    "DUE;VALUE=DATE:20261215",
    "SUMMARY:年賀状を書く",
    "PRIORITY:2",
    "STATUS:NEEDS-ACTION",
    "CATEGORIES:家",
    "CLASS:CONFIDENTIAL",
    "END:VTODO",
});

const std::string kDoneTodo = Crlf({
    "BEGIN:VTODO",
    "UID:todo-2@example.com",
    "DTSTAMP:20260101T000000Z",
    "DUE:20261130T170000Z",
    "SUMMARY:大掃除の計画",
    "STATUS:COMPLETED",
    "COMPLETED:20261128T160000Z",
    "PRIORITY:7",
    "END:VTODO",
});

const std::string kRecurringTodo = Crlf({
    "BEGIN:VTODO",
    "UID:todo-3@example.com",
    "DTSTAMP:20260101T000000Z",
    "DTSTART;VALUE=DATE:20261201",
    "DUE;VALUE=DATE:20261201",
    "SUMMARY:月次報告",
    "RRULE:FREQ=MONTHLY;BYMONTHDAY=1",
    "END:VTODO",
});

const std::string kOther =
    Crlf({"BEGIN:VJOURNAL", "UID:journal@example.com", "DTSTAMP:20260101T000000Z", "SUMMARY:日記",
          "END:VJOURNAL", "BEGIN:X-OWN-COMPONENT", "X-A:1", "END:X-OWN-COMPONENT"});

const std::string kTail = Crlf({"END:VCALENDAR"});

const std::string kFile = kHead + kMeeting + kMoved + kTrip + kHourly + kTodo + kDoneTodo +
                          kRecurringTodo + kOther + kTail;

class IcsStore : public ::testing::Test {
  protected:
    LocalZone zone_{"Asia/Tokyo"};
    IcsClock clock_ = IcsClockAt(MomentOf(Day(2026, 12, 9), 9, 30));

    ParsedStore Parse(const std::string& text) const { return ParseIcsStore(text, clock_); }
    static const Appointment& Find(const Store& s, std::u16string_view subject) {
        for (const Appointment& a : s.appointments) {
            if (a.subject == subject) {
                return a;
            }
        }
        ADD_FAILURE() << "no appointment " << ToUtf8(subject);
        return s.appointments.front();
    }
    static const Task& FindTask(const Store& s, std::u16string_view subject) {
        for (const Task& t : s.tasks) {
            if (t.subject == subject) {
                return t;
            }
        }
        ADD_FAILURE() << "no task " << ToUtf8(subject);
        return s.tasks.front();
    }
    StoreChange Change(StoreChange::Kind kind, const std::string& text, std::u16string_view subject,
                       bool task = false) const {
        const ParsedStore p = Parse(text);
        return task ? ChangeOf(kind, text, FindTask(p.store, subject))
                    : ChangeOf(kind, text, Find(p.store, subject));
    }
};

TEST_F(IcsStore, EventsBecomeAppointmentsWithTheirFields) {
    const ParsedStore p = Parse(kFile);
    ASSERT_EQ(p.store.appointments.size(), 3U);
    const Appointment& meeting = Find(p.store, u"部内定例");
    EXPECT_EQ(meeting.location, u"会議室A");
    EXPECT_EQ(meeting.categories, u"仕事, 会議");
    EXPECT_EQ(meeting.start, MomentOf(Day(2026, 1, 5), 10, 0));
    EXPECT_EQ(meeting.end, MomentOf(Day(2026, 1, 5), 11, 0));
    EXPECT_FALSE(meeting.allDay);
    EXPECT_EQ(meeting.busyStatus, 2);
    EXPECT_EQ(meeting.sensitivity, 0);
    ASSERT_TRUE(meeting.recurrence.has_value());
    EXPECT_EQ(meeting.recurrence->type, kRecursWeekly);
    EXPECT_EQ(meeting.recurrence->dayOfWeekMask, 2);
    EXPECT_TRUE(meeting.recurrence->noEndDate);
    ASSERT_EQ(meeting.exceptions.size(), 2U);
    EXPECT_EQ(meeting.exceptions[0].originalDay, Day(2026, 12, 28));
    EXPECT_TRUE(meeting.exceptions[0].deleted);
    EXPECT_EQ(meeting.exceptions[1].originalDay, Day(2026, 12, 14));
    EXPECT_FALSE(meeting.exceptions[1].deleted);
    EXPECT_EQ(meeting.exceptions[1].start, MomentOf(Day(2026, 12, 15), 14, 0));
    EXPECT_EQ(meeting.exceptions[1].end, MomentOf(Day(2026, 12, 15), 15, 0));
    EXPECT_EQ(meeting.exceptions[1].subject, u"部内定例 (火曜に変更)");

    // DTEND of a day is exclusive: three days, the 18th to the 20th.
    const Appointment& trip = Find(p.store, u"京都旅行");
    EXPECT_TRUE(trip.allDay);
    EXPECT_EQ(trip.start, MomentOf(Day(2026, 12, 18), 0, 0));
    EXPECT_EQ(trip.end, MomentOf(Day(2026, 12, 21), 0, 0));
    EXPECT_EQ(trip.busyStatus, 0);
    EXPECT_EQ(trip.sensitivity, 2);
    EXPECT_FALSE(trip.recurrence.has_value());
}

TEST_F(IcsStore, ASeriesThePatternCannotExpressFollowsTheClock) {
    ParsedStore p = Parse(kFile);
    EXPECT_TRUE(p.ok) << p.error;
    const Appointment& hourly = Find(p.store, u"水分補給");
    EXPECT_FALSE(hourly.recurrence.has_value());
    ASSERT_NE(hourly.live, nullptr);
    // Every four hours from 08:00: at 09:30 the next one is 12:00.
    EXPECT_EQ(hourly.start, MomentOf(Day(2026, 12, 9), 12, 0));
    EXPECT_EQ(hourly.end, MomentOf(Day(2026, 12, 9), 12, 10));
    EXPECT_EQ(hourly.busyStatus, 3);
    // The same store, two days and five minutes later: it has moved on,
    // and an occurrence in progress is still the one shown.
    EXPECT_TRUE(AdvanceLive(p.store, MomentOf(Day(2026, 12, 11), 12, 5)));
    EXPECT_EQ(hourly.start, MomentOf(Day(2026, 12, 11), 12, 0));
    EXPECT_FALSE(AdvanceLive(p.store, MomentOf(Day(2026, 12, 11), 12, 9)));
    EXPECT_TRUE(AdvanceLive(p.store, MomentOf(Day(2026, 12, 11), 12, 11)));
    EXPECT_EQ(hourly.start, MomentOf(Day(2026, 12, 11), 16, 0));
    // A window yields each occurrence in it.
    const std::vector<Occurrence> day =
        OccurrencesStarting(hourly, Day(2026, 12, 12), Day(2026, 12, 12));
    ASSERT_EQ(day.size(), 6U);
    EXPECT_EQ(day[0].start, MomentOf(Day(2026, 12, 12), 0, 0));
    EXPECT_EQ(day[5].start, MomentOf(Day(2026, 12, 12), 20, 0));
    EXPECT_EQ(day[5].series, &hourly);
}

TEST_F(IcsStore, TodosBecomeTasks) {
    const ParsedStore p = Parse(kFile);
    ASSERT_EQ(p.store.tasks.size(), 3U);
    const Task& cards = FindTask(p.store, u"年賀状を書く");
    EXPECT_EQ(cards.startDay, Day(2026, 12, 1));
    EXPECT_EQ(cards.dueDay, Day(2026, 12, 15));
    EXPECT_FALSE(cards.complete);
    EXPECT_EQ(cards.importance, 2);
    EXPECT_EQ(cards.sensitivity, 3);
    EXPECT_EQ(cards.categories, u"家");
    const Task& done = FindTask(p.store, u"大掃除の計画");
    EXPECT_TRUE(done.complete);
    EXPECT_EQ(done.completedDay, Day(2026, 11, 29)); // 16:00Z is 01:00 the next day here
    EXPECT_EQ(done.dueDay, Day(2026, 12, 1));
    EXPECT_EQ(done.importance, 0);
    const Task& report = FindTask(p.store, u"月次報告");
    ASSERT_TRUE(report.recurrence.has_value());
    EXPECT_EQ(report.recurrence->type, kRecursMonthly);
    EXPECT_EQ(report.recurrence->dayOfMonth, 1);
}

TEST_F(IcsStore, PriorityBecomesImportance) {
    for (const auto& [priority, importance] : {std::pair{"", 1},
                                               {"PRIORITY:0\r\n", 1},
                                               {"PRIORITY:1\r\n", 2},
                                               {"PRIORITY:4\r\n", 2},
                                               {"PRIORITY:5\r\n", 1},
                                               {"PRIORITY:6\r\n", 0},
                                               {"PRIORITY:9\r\n", 0}}) {
        const std::string text =
            kHead + "BEGIN:VTODO\r\nUID:p\r\nSUMMARY:x\r\n" + priority + "END:VTODO\r\n" + kTail;
        const ParsedStore p = Parse(text);
        ASSERT_EQ(p.store.tasks.size(), 1U) << priority;
        EXPECT_EQ(p.store.tasks[0].importance, importance) << priority;
    }
}

TEST_F(IcsStore, OidsStayWhenTheFileChangesAroundTheirComponent) {
    const ParsedStore before = Parse(kFile);
    const std::string grown = kHead + kTrip + kOther + kMeeting + kMoved + kHourly + kTodo +
                              kDoneTodo + kRecurringTodo + kTail;
    const ParsedStore after = Parse(grown);
    for (const Appointment& a : before.store.appointments) {
        EXPECT_EQ(Find(after.store, a.subject).oid, a.oid);
        EXPECT_GE(a.oid, 1000);
    }
    for (const Task& t : before.store.tasks) {
        EXPECT_EQ(FindTask(after.store, t.subject).oid, t.oid);
    }
    // Two components with the same UID still get two Oids.
    const ParsedStore twice = Parse(kHead + kTrip + kTrip + kTail);
    ASSERT_EQ(twice.store.appointments.size(), 2U);
    EXPECT_NE(twice.store.appointments[0].oid, twice.store.appointments[1].oid);
}

TEST_F(IcsStore, DeleteRemovesTheComponentAndItsMovedOccurrences) {
    const auto changed =
        ApplyIcsChange(kFile, Change(StoreChange::kDelete, kFile, u"部内定例"), clock_);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->text,
              kHead + kTrip + kHourly + kTodo + kDoneTodo + kRecurringTodo + kOther + kTail);
    const auto task =
        ApplyIcsChange(kFile, Change(StoreChange::kDelete, kFile, u"年賀状を書く", true), clock_);
    ASSERT_TRUE(task.has_value());
    EXPECT_EQ(task->text, kHead + kMeeting + kMoved + kTrip + kHourly + kDoneTodo + kRecurringTodo +
                              kOther + kTail);
}

TEST_F(IcsStore, SkippingAnOccurrenceOfALiveSeriesExcludesThatOccurrenceOnly) {
    StoreChange change = Change(StoreChange::kSkipOccurrence, kFile, u"水分補給");
    change.slotUtc = UtcOfLocal(MomentOf(Day(2026, 12, 9), 12, 0));
    const auto changed = ApplyIcsChange(kFile, change, clock_);
    ASSERT_TRUE(changed.has_value());
    std::string hourly = kHourly;
    hourly.insert(hourly.find("END:VEVENT"), "EXDATE:20261209T120000\r\n");
    EXPECT_EQ(changed->text, kHead + kMeeting + kMoved + kTrip + hourly + kTodo + kDoneTodo +
                                 kRecurringTodo + kOther + kTail);
    // An instant that is no occurrence of it names none.
    change.slotUtc = *change.slotUtc + 60;
    EXPECT_FALSE(ApplyIcsChange(kFile, change, clock_).has_value());
}

TEST_F(IcsStore, SkippingAnOccurrenceAddsAnExdateInTheStartsForm) {
    StoreChange change = Change(StoreChange::kSkipOccurrence, kFile, u"部内定例");
    change.day = Day(2026, 12, 21);
    const auto changed = ApplyIcsChange(kFile, change, clock_);
    ASSERT_TRUE(changed.has_value());
    std::string meeting = kMeeting;
    meeting.insert(meeting.rfind("END:VEVENT"), "EXDATE;TZID=Asia/Tokyo:20261221T100000\r\n");
    EXPECT_EQ(changed->text, kHead + meeting + kMoved + kTrip + kHourly + kTodo + kDoneTodo +
                                 kRecurringTodo + kOther + kTail);
    const ParsedStore p = Parse(changed->text);
    const Appointment& a = Find(p.store, u"部内定例");
    EXPECT_FALSE(OccurrenceOn(a, Day(2026, 12, 21)).has_value());
    EXPECT_TRUE(OccurrenceOn(a, Day(2027, 1, 4)).has_value());

    // Skipping the moved occurrence removes its override too.
    change.day = Day(2026, 12, 14);
    const auto moved = ApplyIcsChange(kFile, change, clock_);
    ASSERT_TRUE(moved.has_value());
    meeting = kMeeting;
    meeting.insert(meeting.rfind("END:VEVENT"), "EXDATE;TZID=Asia/Tokyo:20261214T100000\r\n");
    EXPECT_EQ(moved->text, kHead + meeting + kTrip + kHourly + kTodo + kDoneTodo + kRecurringTodo +
                               kOther + kTail);

    // A day the series has no occurrence on changes nothing.
    change.day = Day(2026, 12, 22);
    EXPECT_FALSE(ApplyIcsChange(kFile, change, clock_).has_value());
}

TEST_F(IcsStore, CompletingATaskSetsStatusCompletedAndPercent) {
    StoreChange change = Change(StoreChange::kSetComplete, kFile, u"年賀状を書く", true);
    change.complete = true;
    change.day = Day(2026, 12, 9);
    const auto done = ApplyIcsChange(kFile, change, clock_);
    ASSERT_TRUE(done.has_value());
    std::string todo = kTodo;
    todo.replace(todo.find("STATUS:NEEDS-ACTION"), 19, "STATUS:COMPLETED");
    todo.insert(todo.find("END:VTODO"), "COMPLETED:20261209T003000Z\r\nPERCENT-COMPLETE:100\r\n");
    EXPECT_EQ(done->text, kHead + kMeeting + kMoved + kTrip + kHourly + todo + kDoneTodo +
                              kRecurringTodo + kOther + kTail);
    const ParsedStore after = Parse(done->text);
    const Task& t = FindTask(after.store, u"年賀状を書く");
    EXPECT_TRUE(t.complete);
    EXPECT_EQ(t.completedDay, Day(2026, 12, 9));

    // And back: the completion goes, the rest stays.
    StoreChange undo = Change(StoreChange::kSetComplete, done->text, u"年賀状を書く", true);
    undo.complete = false;
    const auto undone = ApplyIcsChange(done->text, undo, clock_);
    ASSERT_TRUE(undone.has_value());
    EXPECT_EQ(undone->text, kFile);
}

TEST_F(IcsStore, SkippingARecurringTaskMovesItsDatesToTheNextOccurrence) {
    const auto changed =
        ApplyIcsChange(kFile, Change(StoreChange::kSkipTask, kFile, u"月次報告", true), clock_);
    ASSERT_TRUE(changed.has_value());
    std::string todo = kRecurringTodo;
    todo.replace(todo.find("DTSTART;VALUE=DATE:20261201"), 27, "DTSTART;VALUE=DATE:20270101");
    todo.replace(todo.find("DUE;VALUE=DATE:20261201"), 23, "DUE;VALUE=DATE:20270101");
    EXPECT_EQ(changed->text, kHead + kMeeting + kMoved + kTrip + kHourly + kTodo + kDoneTodo +
                                 todo + kOther + kTail);
}

TEST_F(IcsStore, ANewRecordGetsAUidAStampAndGoesBeforeTheEnd) {
    StoreChange add;
    add.kind = StoreChange::kAdd;
    add.record =
        AppointmentRecord(u"忘年会, 二次会; 未定", u"2026-12-25 18:30", u"2026-12-25 21:00");
    const auto changed = ApplyIcsChange(kFile, add, clock_);
    ASSERT_TRUE(changed.has_value());
    ASSERT_EQ(changed->text.substr(0, kFile.size() - kTail.size()),
              kFile.substr(0, kFile.size() - kTail.size()));
    const std::string added =
        changed->text.substr(kFile.size() - kTail.size(), changed->text.size() - kFile.size());
    EXPECT_EQ(added.substr(0, 27), "BEGIN:VEVENT\r\nUID:vantrel-2");
    EXPECT_NE(added.find("DTSTAMP:20261209T003000Z\r\n"), std::string::npos);
    EXPECT_NE(added.find("DTSTART:20261225T183000\r\nDTEND:20261225T210000\r\n"),
              std::string::npos);
    EXPECT_NE(added.find("SUMMARY:忘年会\\, 二次会\\; 未定\r\n"), std::string::npos);
    EXPECT_EQ(changed->text.substr(changed->text.size() - kTail.size()), kTail);
    const ParsedStore p = Parse(changed->text);
    const Appointment& a = Find(p.store, u"忘年会, 二次会; 未定");
    EXPECT_EQ(a.oid, changed->oid);
    EXPECT_EQ(a.start, MomentOf(Day(2026, 12, 25), 18, 30));

    // A task: all-day dates; a second add the same second gets another UID.
    StoreChange task;
    task.kind = StoreChange::kAdd;
    task.record = TaskRecord(u"買い物", u"", u"2026-12-20");
    const auto one = ApplyIcsChange(changed->text, task, clock_);
    ASSERT_TRUE(one.has_value());
    const auto two = ApplyIcsChange(one->text, task, clock_);
    ASSERT_TRUE(two.has_value());
    EXPECT_NE(one->oid, two->oid);
    const ParsedStore q = Parse(two->text);
    int shopping = 0;
    for (const Task& t : q.store.tasks) {
        if (t.subject == u"買い物") {
            ++shopping;
            EXPECT_EQ(t.dueDay, Day(2026, 12, 20));
            EXPECT_FALSE(t.startDay.has_value());
        }
    }
    EXPECT_EQ(shopping, 2);
}

TEST_F(IcsStore, LongTextsAreFoldedWithoutSplittingACharacter) {
    const std::u16string subject(60, u'\u6f22'); // 180 octets in UTF-8
    const std::string folded = ical::Folded("SUMMARY:" + ToUtf8(subject), "\r\n");
    std::size_t at = 0;
    while (at < folded.size()) {
        const std::size_t end = folded.find("\r\n", at);
        EXPECT_LE(end - at, 75U);
        at = end + 2;
    }
    StoreChange add;
    add.kind = StoreChange::kAdd;
    add.record = AppointmentRecord(subject, u"2026-12-25", u"2026-12-25");
    const auto changed = ApplyIcsChange(kFile, add, clock_);
    ASSERT_TRUE(changed.has_value());
    const ParsedStore after = Parse(changed->text);
    const Appointment& a = Find(after.store, subject);
    EXPECT_TRUE(a.allDay);
    EXPECT_EQ(a.end, MomentOf(Day(2026, 12, 26), 0, 0));
}

// A moved occurrence whose series is not in the file is a record of its
// own; deleting it takes out its bytes and no one else's.
TEST_F(IcsStore, DeletingAnOccurrenceWithoutItsSeriesTakesOnlyIt) {
    const std::string text = kHead + kMoved + kTrip + kTodo + kTail;
    const ParsedStore p = Parse(text);
    ASSERT_EQ(p.store.appointments.size(), 2U);
    const auto changed =
        ApplyIcsChange(text, Change(StoreChange::kDelete, text, u"部内定例 (火曜に変更)"), clock_);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->text, kHead + kTrip + kTodo + kTail);
}

// Of two equal components the change meets the one it was asked for.
// What a store read again only where the file changed holds: the same as
// reading the new file whole, whatever the change.
TEST_F(IcsStore, AnUpdateReadsWhatAWholeReadingReads) {
    std::string moved = kMoved;
    moved.replace(moved.find("140000"), 6, "160000");
    std::string renamed = kTrip;
    renamed.replace(renamed.find("京都旅行"), std::string("京都旅行").size(), "奈良旅行");
    StoreChange skip = Change(StoreChange::kSkipOccurrence, kFile, u"部内定例");
    skip.day = Day(2026, 12, 21);
    StoreChange done = Change(StoreChange::kSetComplete, kFile, u"年賀状を書く", true);
    done.complete = true;
    StoreChange add;
    add.kind = StoreChange::kAdd;
    add.record = AppointmentRecord(u"追加", u"2026-12-24 18:00", u"2026-12-24 20:00");
    const struct {
        const char* what;
        std::string text;
    } versions[] = {
        {"an override moved by another program", kHead + kMeeting + moved + kTrip + kHourly +
                                                     kTodo + kDoneTodo + kRecurringTodo + kOther +
                                                     kTail},
        {"a record renamed", kHead + kMeeting + kMoved + renamed + kHourly + kTodo + kDoneTodo +
                                 kRecurringTodo + kOther + kTail},
        {"a skipped occurrence", ApplyIcsChange(kFile, skip, clock_, true)->text},
        {"a deleted series",
         ApplyIcsChange(kFile, Change(StoreChange::kDelete, kFile, u"部内定例"), clock_, true)
             ->text},
        {"a completed task", ApplyIcsChange(kFile, done, clock_, true)->text},
        {"an added event", ApplyIcsChange(kFile, add, clock_, true)->text},
        {"records swapped", kHead + kTrip + kMeeting + kMoved + kHourly + kTodo + kDoneTodo +
                                kRecurringTodo + kOther + kTail},
        {"the zone changed", kHead + kMeeting + kMoved + kTrip + kTodo + kTail},
    };
    for (const auto& v : versions) {
        SCOPED_TRACE(v.what);
        ParsedStore updated = Parse(kFile);
        ASSERT_TRUE(updated.exact);
        UpdateIcsStore(updated, kFile, v.text, clock_);
        const ParsedStore whole = Parse(v.text);
        ASSERT_EQ(updated.store.appointments.size(), whole.store.appointments.size());
        for (std::size_t i = 0; i < whole.store.appointments.size(); ++i) {
            const Appointment& x = updated.store.appointments[i];
            const Appointment& y = whole.store.appointments[i];
            EXPECT_EQ(x.oid, y.oid);
            EXPECT_EQ(x.subject, y.subject);
            EXPECT_EQ(x.start, y.start);
            EXPECT_EQ(x.end, y.end);
            EXPECT_EQ(x.span.begin, y.span.begin);
            EXPECT_EQ(x.span.end, y.span.end);
            EXPECT_EQ(x.span.line, y.span.line);
            EXPECT_EQ(x.exceptions.size(), y.exceptions.size());
            EXPECT_EQ(x.recurrence.has_value(), y.recurrence.has_value());
            EXPECT_EQ(x.live != nullptr, y.live != nullptr);
        }
        ASSERT_EQ(updated.store.tasks.size(), whole.store.tasks.size());
        for (std::size_t i = 0; i < whole.store.tasks.size(); ++i) {
            EXPECT_EQ(updated.store.tasks[i].oid, whole.store.tasks[i].oid);
            EXPECT_EQ(updated.store.tasks[i].complete, whole.store.tasks[i].complete);
            EXPECT_EQ(updated.store.tasks[i].span.begin, whole.store.tasks[i].span.begin);
        }
        EXPECT_EQ(updated.store.nextOid >= whole.store.nextOid, true);
    }
}

TEST_F(IcsStore, OfTwoEqualComponentsNeitherIsChanged) {
    // Which one the user meant cannot be told: nothing is written.
    const std::string text = kHead + kTodo + kTrip + kTodo + kTail;
    const ParsedStore p = Parse(text);
    ASSERT_EQ(p.store.tasks.size(), 2U);
    StoreChange second = ChangeOf(StoreChange::kSetComplete, text, p.store.tasks[1]);
    second.complete = true;
    EXPECT_FALSE(ApplyIcsChange(text, second, clock_).has_value());
    EXPECT_FALSE(
        ApplyIcsChange(text, ChangeOf(StoreChange::kDelete, text, p.store.tasks[1]), clock_)
            .has_value());
}

TEST_F(IcsStore, AChangeAppliesToANewerFileByItsUid) {
    const StoreChange change = Change(StoreChange::kDelete, kFile, u"京都旅行");
    const std::string newer = kHead + kTodo + kTrip + kTail;
    const auto changed = ApplyIcsChange(newer, change, clock_);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->text, kHead + kTodo + kTail);
    EXPECT_FALSE(ApplyIcsChange(kHead + kTodo + kTail, change, clock_).has_value());
}

TEST_F(IcsStore, LineBreaksOfTheFileAreKept) {
    std::string lf = kFile;
    for (std::size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) {
        lf.erase(at, 1);
    }
    StoreChange change = Change(StoreChange::kSkipOccurrence, lf, u"部内定例");
    change.day = Day(2026, 12, 21);
    const auto changed = ApplyIcsChange(lf, change, clock_);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->text.find('\r'), std::string::npos);
    EXPECT_NE(changed->text.find("\nEXDATE;TZID=Asia/Tokyo:20261221T100000\nEND:VEVENT"),
              std::string::npos);
}

// A BEGIN or END line without a value closes nothing, for libical and for
// the changes alike: deleting the task takes its stray line with it.
TEST_F(IcsStore, ABeginOrEndWithoutAValueClosesNothing) {
    const std::string stray = "BEGIN:VTODO\r\nUID:stray\r\nSUMMARY:stray\r\nEND\r\nBEGIN\r\n"
                              "DUE;VALUE=DATE:20261220\r\nEND:VTODO\r\n";
    const std::string text = kHead + stray + kTodo + kTail;
    const ParsedStore p = Parse(text);
    ASSERT_EQ(p.store.tasks.size(), 2U);
    EXPECT_EQ(FindTask(p.store, u"stray").dueDay, Day(2026, 12, 20));
    const auto changed =
        ApplyIcsChange(text, Change(StoreChange::kDelete, text, u"stray", true), clock_);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->text, kHead + kTodo + kTail);
}

TEST_F(IcsStore, TextThatIsNotACalendarIsReportedAndNeverWritten) {
    const ParsedStore p = Parse("[appointment]\nsubject: x\n");
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.store.appointments.empty());
    StoreChange add;
    add.kind = StoreChange::kAdd;
    add.record = TaskRecord(u"x", u"", u"2026-12-20");
    EXPECT_FALSE(ApplyIcsChange("[appointment]\nsubject: x\n", add, clock_).has_value());
    // An empty file becomes a calendar.
    const auto fresh = ApplyIcsChange("", add, clock_);
    ASSERT_TRUE(fresh.has_value());
    EXPECT_EQ(Parse(fresh->text).store.tasks.size(), 1U);
    EXPECT_TRUE(Parse(fresh->text).ok);
}

TEST_F(IcsStore, TheSampleCalendarReadsWholeWithEachRecurrenceForm) {
    std::ifstream in(std::string(VANTREL_SOURCE_DIR) + "/examples/calendar.ics", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const ParsedStore p = Parse(text);
    EXPECT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.store.appointments.size(), 17U);
    EXPECT_EQ(p.store.tasks.size(), 6U);
    const struct {
        const char16_t* subject;
        int type;
        std::optional<int> interval;
        int mask, dayOfMonth, instance, month;
    } forms[] = {
        {u"朝の散歩", kRecursDaily, std::nullopt, kMaskWeekdays, 0, 0, 0},
        {u"ゴミ出し (資源)", kRecursDaily, 3, 0, 0, 0, 0},
        {u"部内定例", kRecursWeekly, 1, 2, 0, 0, 0},
        {u"英会話レッスン", kRecursWeekly, 2, 4 | 16, 0, 0, 0},
        {u"家賃の振込", kRecursMonthly, 1, 0, 25, 0, 0},
        {u"月次報告会", kRecursMonthNth, 1, 4, 0, 2, 0},
        {u"経費の締め日", kRecursMonthNth, 1, kMaskWeekdays, 0, 5, 0},
        {u"結婚記念日", kRecursYearly, 1, 0, 8, 0, 12},
        {u"成人の日", kRecursYearNth, 1, 2, 0, 2, 1},
        {u"ピアノ体験レッスン", kRecursWeekly, 1, 16, 0, 0, 0},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(ToUtf8(f.subject));
        const Appointment& a = Find(p.store, f.subject);
        ASSERT_TRUE(a.recurrence.has_value());
        EXPECT_EQ(a.recurrence->type, f.type);
        EXPECT_EQ(a.recurrence->interval, f.interval);
        EXPECT_EQ(a.recurrence->dayOfWeekMask, f.mask);
        EXPECT_EQ(a.recurrence->dayOfMonth, f.dayOfMonth);
        EXPECT_EQ(a.recurrence->instance, f.instance);
        EXPECT_EQ(a.recurrence->monthOfYear, f.month);
    }
    // UNTIL and COUNT become the last day.
    EXPECT_EQ(Find(p.store, u"英会話レッスン").recurrence->patternEnd.day, 31);
    const RecurrenceValues& piano = *Find(p.store, u"ピアノ体験レッスン").recurrence;
    EXPECT_FALSE(piano.noEndDate);
    EXPECT_EQ(DayNumberOf(piano.patternEnd.year, piano.patternEnd.month, piano.patternEnd.day),
              Day(2026, 12, 24));
    const Appointment& trip = Find(p.store, u"大阪出張");
    EXPECT_EQ(trip.end - trip.start, 3 * 1440);
    EXPECT_EQ(trip.busyStatus, 3);
}

TEST(IcsName, ChosenByExtension) {
    EXPECT_TRUE(IsICalendarName(u"C:\\data\\calendar.ics"));
    EXPECT_TRUE(IsICalendarName(u"CAL.ICS"));
    EXPECT_FALSE(IsICalendarName(u"store.txt"));
    EXPECT_FALSE(IsICalendarName(u"ics"));
    EXPECT_FALSE(IsICalendarName(u"a.icsx"));
}

} // namespace
} // namespace vantrel::store
