// The Outlook imports and actions against the replacement store.

#include "model/date_time.h"
#include "platform/poom.h"
#include "platform/poom_store/poom_display.h"
#include "support/moments.h"
#include "text/builtin_texts.h"
#include "win32/outlook/outlook_session.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace vantrel {
namespace {

using testing::At;

// Thursday 2026-12-10 15:00.
const SystemTime kNow = At(2026, 12, 10, 15, 0);

class OutlookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path = std::wstring(base) + L"vantrel_outlook_store.txt";
        SetEnvironmentVariableW(L"VANTREL_STORE", path.c_str());
        SetPoomDisplayHandler([this](PoomDisplayRequest& r) {
            displays.push_back(r.summary);
            r.subject = u"\u65B0\u3057\u3044\u4E88\u5B9A"; // 新しい予定
            r.start = u"2026-12-11 09:00";
            r.end = u"2026-12-11 10:00";
            return true;
        });
    }
    void TearDown() override {
        if (session.app != nullptr) {
            session.app->Release();
        }
        SetPoomDisplayHandler(nullptr);
        DeleteFileW(path.c_str());
    }
    void Open(const std::string& store) {
        std::ofstream(path.c_str(), std::ios::binary) << store;
        ASSERT_EQ(OpenOutlookSession(session), S_OK);
    }
    std::string StoreText() {
        std::ifstream in(path.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::u16string> Titles(const ItemList& list) {
        std::vector<std::u16string> titles;
        for (const Item& i : list) {
            titles.push_back(i.title);
        }
        return titles;
    }

    std::wstring path;
    OutlookSession session;
    ItemStore store;
    Settings settings;
    BuiltinTextTable texts;
    OutlookContext ctx{session, store, settings, texts};
    std::vector<std::u16string> displays;
};

// The window holds what touches its day: an appointment that runs past
// midnight into it counts.
TEST_F(OutlookTest, TodayWindowHoldsWhatTouchesTheDay) {
    Open("[appointment]\nsubject: overnight\nstart: 2026-12-09 23:00\nend: 2026-12-10 01:00\n"
         "[appointment]\nsubject: lunch\nlocation: cafe\nstart: 2026-12-10 12:00\nend: 2026-12-10 "
         "13:00\n"
         "[appointment]\nsubject: tomorrow\nstart: 2026-12-11 00:00\nend: 2026-12-11 01:00\n"
         "[appointment]\nsubject: before\nstart: 2026-12-09 08:00\nend: 2026-12-09 09:00\n");
    EXPECT_EQ(ImportAppointmentsInWindow(ctx, kFilterToday, 0, kNow), 2);
    EXPECT_EQ(Titles(store.appointments),
              (std::vector<std::u16string>{u"overnight", u"lunch(cafe)"}));
    EXPECT_EQ(store.appointments[1].source, kAppointment);
    EXPECT_EQ(store.appointments[1].startDate, (DateTime{2026, 12, 10, 12, 0}));
    EXPECT_EQ(store.appointments[1].endDate, (DateTime{2026, 12, 10, 13, 0}));
    EXPECT_EQ(ImportAppointmentsInWindow(ctx, kFilterToday, 1, kNow), 1); // paged to tomorrow
    EXPECT_EQ(store.appointments[0].title, u"tomorrow");
    // 昨日 paged one day on is today, as the view counts it.
    EXPECT_EQ(ImportAppointmentsInWindow(ctx, kFilterYesterday, 1, kNow), 2);
    EXPECT_EQ(store.appointments[1].title, u"lunch(cafe)");
    EXPECT_EQ(ImportAppointmentsInWindow(ctx, kFilterYesterday, 0, kNow), 2);
    EXPECT_EQ(store.appointments[0].title, u"before");
}

TEST_F(OutlookTest, AllDayAndZeroLengthDates) {
    Open("[appointment]\nsubject: one day\nstart: 2026-12-10\nend: 2026-12-10\n"
         "[appointment]\nsubject: three days\nstart: 2026-12-10\nend: 2026-12-12\n"
         "[appointment]\nsubject: instant\nstart: 2026-12-10 16:00\nend: 2026-12-10 16:00\n");
    ASSERT_EQ(ImportAllAppointments(ctx, kNow), 3);
    EXPECT_EQ(store.appointments[0].startDate, (DateTime{2026, 12, 10, -1, -1}));
    EXPECT_EQ(store.appointments[0].endDate, (DateTime{0, 0, 0, -1, -1}));
    EXPECT_EQ(store.appointments[1].endDate, (DateTime{2026, 12, 12, -1, -1}));
    EXPECT_EQ(store.appointments[2].endDate, (DateTime{0, 0, 0, -1, -1}));
}

TEST_F(OutlookTest, BusySensitivityAndCategoryFilters) {
    const std::string file =
        "[appointment]\nsubject: free\nstart: 2026-12-10 16:00\nend: 2026-12-10 17:00\nbusy: free\n"
        "[appointment]\nsubject: holiday\nstart: 2026-12-10\nend: 2026-12-10\n"
        "categories: \xE4\xBC\x91\xE6\x9A\x87, \xE7\xA5\x9D\xE6\x97\xA5\n" // 休暇, 祝日
        "[appointment]\nsubject: private\nstart: 2026-12-10 18:00\nend: 2026-12-10 19:00\n"
        "sensitivity: private\n";
    Open(file);
    ImportAllAppointments(ctx, kNow);
    EXPECT_EQ(Titles(store.appointments), (std::vector<std::u16string>{u"holiday", u"private"}));
    EXPECT_EQ(store.appointments[0].tags, u"\u4F11\u6687\t\u795D\u65E5");
    EXPECT_EQ(CountOfTag(store.appointmentTags, u"\u795D\u65E5"), 1u);

    settings.ViewHoliday = 0;
    settings.ApptSens = 3; // normal and personal only
    ImportAllAppointments(ctx, kNow);
    EXPECT_TRUE(store.appointments.empty());

    settings = Settings{};
    settings.ApptVRL = 1;
    ImportAllAppointments(ctx, kNow);
    EXPECT_TRUE(store.appointments.empty()); // none has the VRL category
}

TEST_F(OutlookTest, SeriesShowTheirCurrentOrNextOccurrence) {
    Open(
        "[appointment]\noid: 10\nsubject: biweekly\nstart: 2026-11-30 10:00\nend: 2026-11-30 "
        "11:00\n"
        "repeat: weekly every 2 on mon,wed\n"
        "[appointment]\noid: 11\nsubject: running\nstart: 2026-12-01 14:00\nend: 2026-12-01 16:00\n"
        "repeat: daily every 1\n"
        "[appointment]\noid: 12\nsubject: moved\nstart: 2026-12-03 09:00\nend: 2026-12-03 10:00\n"
        "repeat: weekly every 1 on thu\nskip: 2026-12-17\n"
        "move: 2026-12-10 -> 2026-12-11 09:00 - 2026-12-11 10:00 | moved once\n"
        "[appointment]\noid: 13\nsubject: ended\nstart: 2026-11-02 09:00\nend: 2026-11-02 10:00\n"
        "repeat: weekly every 1 on mon\nuntil: 2026-11-30\n");
    ASSERT_EQ(ImportAllAppointments(ctx, kNow), 3);
    EXPECT_EQ(store.appointments[0].startDate,
              (DateTime{2026, 12, 14, 10, 0})); // next on-week Monday
    EXPECT_EQ(store.appointments[0].recurring, 1);
    EXPECT_EQ(store.appointments[0].index, 10);
    EXPECT_EQ(store.appointments[1].startDate, (DateTime{2026, 12, 10, 14, 0})); // in progress
    EXPECT_EQ(store.appointments[2].title, u"moved once");
    EXPECT_EQ(store.appointments[2].startDate, (DateTime{2026, 12, 11, 9, 0}));

    // This week (from Monday 12/07): seven days of the daily series and the
    // moved Thursday; the biweekly series is in its off week.
    EXPECT_EQ(ImportAppointmentsInWindow(ctx, kFilterThisWeek, 0, kNow), 8);
}

// The full import lists every single appointment already: the recently-ended
// pass adds nothing of them a second time.
TEST_F(OutlookTest, FutureListsEachSingleAppointmentOnce) {
    Open("[appointment]\nsubject: later\nstart: 2026-12-10 18:00\nend: 2026-12-10 19:00\n"
         "[appointment]\nsubject: this morning\nstart: 2026-12-10 08:00\nend: 2026-12-10 09:00\n"
         "[appointment]\nsubject: long ago\nstart: 2026-12-08 08:00\nend: 2026-12-08 09:00\n");
    settings.Future = 1;
    EXPECT_EQ(ImportAllAppointments(ctx, kNow), 3);
    EXPECT_EQ(Titles(store.appointments),
              (std::vector<std::u16string>{u"later", u"this morning", u"long ago"}));
}

TEST_F(OutlookTest, TasksCompleteAndFutureStart) {
    Open("[task]\noid: 20\nsubject: done\nstart: 2026-12-20\ndue: 2026-12-21\ncomplete: yes "
         "2026-12-09\n"
         "[task]\nsubject: not yet\nstart: 2026-12-20\ndue: 2026-12-21\n"
         "[task]\nsubject: open\ndue: 2026-12-12\nimportance: high\ncategories: home\n"
         "[task]\nsubject: no due\n");
    ASSERT_EQ(ImportTasks(ctx, kNow), 3);
    EXPECT_EQ(Titles(store.tasks), (std::vector<std::u16string>{u"done", u"open", u"no due"}));
    EXPECT_EQ(store.tasks[0].checkState, 1);
    EXPECT_EQ(store.tasks[0].checkDate, (DateTime{2026, 12, 9, -1, -1}));
    EXPECT_EQ(store.tasks[0].index, 20);
    EXPECT_EQ(store.tasks[1].importance, 2);
    EXPECT_EQ(store.tasks[1].endDate, (DateTime{2026, 12, 12, -1, -1}));
    EXPECT_EQ(store.tasks[1].startDate, (DateTime{0, 0, 0, -1, -1}));
    EXPECT_FALSE(store.tasks[2].endDate.HasDate()); // 4501 is no valid year
    settings.Importance = 3;                        // low and normal
    EXPECT_EQ(ImportTasks(ctx, kNow), 2);
}

TEST_F(OutlookTest, ActionsChangeTheStoreFile) {
    Open("[appointment]\noid: 30\nsubject: weekly\nstart: 2026-12-03 09:00\nend: 2026-12-03 10:00\n"
         "repeat: weekly every 1 on thu\n"
         "[appointment]\noid: 31\nsubject: single\nstart: 2026-12-12 09:00\nend: 2026-12-12 10:00\n"
         "[task]\noid: 40\nsubject: toggle\ndue: 2026-12-12\n"
         "[task]\noid: 41\nsubject: repeat\ndue: 2026-12-13\nrepeat: weekly every 1 on sun\n");
    // No: only this occurrence goes; the series shows the following one.
    OutlookItemAction(session, kAppointment, 30, kOutlookDeleteOccurrence, At(2026, 12, 10, 15, 0));
    ImportAllAppointments(ctx, kNow);
    EXPECT_EQ(store.appointments[0].startDate, (DateTime{2026, 12, 17, 9, 0}));
    EXPECT_NE(StoreText().find("skip: 2026-12-10"), std::string::npos);

    OutlookItemAction(session, kAppointment, 31, kOutlookDelete, kNow);
    OutlookItemAction(session, kAppointment, 30, kOutlookDelete, kNow); // the whole series
    EXPECT_EQ(ImportAllAppointments(ctx, kNow), 0);

    OutlookItemAction(session, kTask, 40, kOutlookToggleComplete, kNow);
    ImportTasks(ctx, kNow);
    EXPECT_EQ(store.tasks[0].checkState, 1);
    OutlookItemAction(session, kTask, 40, kOutlookToggleComplete, kNow);
    ImportTasks(ctx, kNow);
    EXPECT_EQ(store.tasks[0].checkState, 0);

    OutlookItemAction(session, kTask, 41, kOutlookDeleteOccurrence, kNow); // skip recurrence
    ImportTasks(ctx, kNow);
    EXPECT_EQ(store.tasks[1].endDate, (DateTime{2026, 12, 20, -1, -1}));

    OutlookItemAction(session, kAppointment, 0, kOutlookCreate, kNow);
    EXPECT_EQ(ImportAllAppointments(ctx, kNow), 1);
    EXPECT_EQ(store.appointments[0].title, u"\u65B0\u3057\u3044\u4E88\u5B9A");
    OutlookItemAction(session, kAppointment, 999, kOutlookView, kNow); // gone: nothing happens
    OutlookItemAction(session, kAppointment, store.appointments[0].index, kOutlookView, kNow);
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_NE(displays[1].find(u"2026-12-11 09:00"), std::u16string::npos);
}

TEST_F(OutlookTest, RefreshReimportsThroughTheLoaders) {
    Open(
        "[appointment]\noid: 50\nsubject: meeting\nstart: 2026-12-10 16:00\nend: 2026-12-10 17:00\n"
        "[task]\noid: 60\nsubject: task\ndue: 2026-12-11\n");
    ViewState state;
    state.sourceMask = kSourceOwnBit | kSourceAppointmentsBit | kSourceTasksBit;
    const testing::FixedClock clock{kNow};
    ViewContext view{store, state, settings, texts, clock, OutlookLoaders(ctx), {}};
    refresh(view, kFilterToday); // the task's deadline runs until tomorrow
    EXPECT_EQ(Titles(store.view), (std::vector<std::u16string>{u"task", u"meeting"}));
    refresh(view, kFilterTomorrow);
    EXPECT_EQ(Titles(store.view), (std::vector<std::u16string>{u"task"}));

    OutlookItemAction(session, kAppointment, 50, kOutlookDelete, kNow);
    refresh(view, kFilterAll);
    EXPECT_EQ(Titles(store.view), (std::vector<std::u16string>{u"task"}));
    state.sourceMask = kSourceOwnBit;
    refresh(view, kFilterAll);
    EXPECT_TRUE(store.view.empty());
    EXPECT_TRUE(store.tasks.empty());
}

std::string StoreDay(int dayNumber) {
    const CalendarDate d = DateOfDayNumber(dayNumber);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

std::string StoreMoment(int dayNumber, int minute) {
    char time[8];
    std::snprintf(time, sizeof time, " %02d:%02d", minute / 60, minute % 60);
    return StoreDay(dayNumber + minute / 1440).append(time, 6);
}

// For a random calendar, random moments and settings, every windowed filter
// and viewShift -3..3: the view after a refresh lists exactly what the
// same filter lists over the whole calendar.
TEST_F(OutlookTest, WindowedImportsShowWhatTheWholeCalendarShows) {
    std::mt19937 random(7);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    const int base = DayNumberOf(kNow);
    std::string file;
    for (int i = 0; i < 60; ++i) {
        const int day = base + pick(-20, 20);
        file += "[appointment]\nsubject: a" + std::to_string(i) + "\n";
        if (pick(0, 4) == 0) {
            file += "start: " + StoreDay(day) + "\nend: " + StoreDay(day + pick(0, 2)) + "\n";
        } else {
            const int start = pick(0, 1439);
            file += "start: " + StoreMoment(day, start) +
                    "\nend: " + StoreMoment(day, start + pick(0, 2 * 1440)) + "\n";
        }
    }
    Open(file);
    const auto shown = [&](bool windowed, int code, int shift, const SystemTime& now) {
        ItemStore into;
        ViewState state;
        state.sourceMask = kSourceAppointmentsBit;
        state.viewShift = shift;
        const testing::FixedClock clock{now};
        OutlookContext source{session, into, settings, texts};
        ViewContext view{into, state, settings, texts, clock, {}, {}};
        view.loaders.appointments = [&](ItemStore&, int c, int v, const SystemTime& at) {
            if (windowed) {
                ImportAppointmentsInWindow(source, c, v, at);
            } else {
                ImportAllAppointments(source, at);
            }
        };
        refresh(view, code);
        std::vector<std::u16string> titles = Titles(into.view);
        std::sort(titles.begin(), titles.end());
        return titles;
    };
    int listed = 0;
    for (int round = 0; round < 12; ++round) {
        const CalendarDate d = DateOfDayNumber(base + pick(-3, 3));
        const SystemTime now = testing::At(d.year, d.month, d.day, pick(0, 23), pick(0, 59));
        settings = Settings{};
        settings.StartWeek = pick(0, 6);
        settings.Future = pick(0, 1);
        settings.DSpanFs = pick(-10, 5);
        settings.DSpanFe = settings.DSpanFs + pick(0, 10);
        for (const int code : {kFilterToday, kFilterYesterday, kFilterTomorrow, kFilterWeekAhead,
                               kFilterThisWeek, kFilterNextWeek, kFilterRange}) {
            for (int shift = -3; shift <= 3; ++shift) {
                const std::vector<std::u16string> whole = shown(false, code, shift, now);
                EXPECT_EQ(shown(true, code, shift, now), whole)
                    << "code " << code << " shift " << shift << " round " << round;
                listed += static_cast<int>(whole.size());
            }
        }
    }
    EXPECT_GT(listed, 200);
}

// Future on: an appointment that ended an hour ago is listed once; a series
// shows its next occurrence and, from the recently-ended pass, the one that
// just ended.
TEST_F(OutlookTest, FutureListsAnAppointmentThatJustEndedOnce) {
    Open("[appointment]\nsubject: ended\nstart: 2026-12-10 13:00\nend: 2026-12-10 14:00\n"
         "[appointment]\nsubject: daily\nstart: 2026-12-01 13:30\nend: 2026-12-01 14:30\n"
         "repeat: daily every 1\n");
    settings.Future = 1;
    ImportAllAppointments(ctx, kNow);
    std::vector<std::u16string> titles = Titles(store.appointments);
    std::sort(titles.begin(), titles.end());
    // The series shows its next occurrence and the one that just ended.
    EXPECT_EQ(titles, (std::vector<std::u16string>{u"daily", u"daily", u"ended"}));
}

TEST_F(OutlookTest, NoStoreMeansNoSession) {
    DeleteFileW(path.c_str());
    EXPECT_TRUE(FAILED(OpenOutlookSession(session)));
    EXPECT_EQ(ImportAllAppointments(ctx, kNow), -1);
    EXPECT_EQ(ImportTasks(ctx, kNow), -1);
}

TEST_F(OutlookTest, RecordsTheStoreCannotReadAreLeftAsTheyAre) {
    const std::string broken = "# a weekly series without days\r\n[appointment]\r\nsubject: "
                               "broken\r\nstart: 2026-12-01 10:00\r\nrepeat: weekly every 1\r\n"
                               "x-colour: red\r\n\r\n";
    const std::string good =
        "[appointment]\r\noid: 70\r\nsubject: good\r\nstart: 2026-12-11 10:00\r\n";
    Open(broken + good);
    EXPECT_EQ(ImportAllAppointments(ctx, kNow), 1);
    EXPECT_EQ(store.appointments[0].title, u"good");
    OutlookItemAction(session, kAppointment, 70, kOutlookDelete, kNow);
    EXPECT_EQ(StoreText(), broken); // only the deleted record's lines went
    EXPECT_EQ(ImportAllAppointments(ctx, kNow), 0);
}

TEST_F(OutlookTest, WritesApplyToTheFileAsItIsNow) {
    Open("[appointment]\noid: 80\nsubject: weekly\nstart: 2026-12-03 09:00\nend: 2026-12-03 "
         "10:00\nrepeat: weekly every 1 on thu\n\n[task]\noid: 81\nsubject: t\ndue: 2026-12-12\n");
    ImportAllAppointments(ctx, kNow);
    // Another program rewrites the file after the import read it.
    const std::string other = "# added elsewhere\n[appointment]\nsubject: other\nstart: "
                              "2026-12-11 08:00\n\n[appointment]\noid: 80\nsubject: weekly "
                              "(renamed)\nstart: 2026-12-03 09:00\nend: 2026-12-03 10:00\n"
                              "repeat: weekly every 1 on thu\n\n[task]\noid: 81\nsubject: t\n"
                              "due: 2026-12-12\n";
    std::ofstream(path.c_str(), std::ios::binary) << other;
    SetEnvironmentVariableW(L"VANTREL_NOW", L"2026-12-10 15:00");
    OutlookItemAction(session, kAppointment, 80, kOutlookDeleteOccurrence, kNow);
    OutlookItemAction(session, kTask, 81, kOutlookToggleComplete, kNow);
    SetEnvironmentVariableW(L"VANTREL_NOW", nullptr);
    std::string expected = other;
    expected.insert(expected.find("\n\n[task]") + 1, "skip: 2026-12-10\n");
    expected += "complete: yes 2026-12-10\n"; // the completion day is the item's today
    EXPECT_EQ(StoreText(), expected);
}

// The store's writes go through a uniquely named temporary: a user's own
// "<store>.tmp" is never touched, and a read-only store is not replaced;
// the failure reaches the caller, which tells the user.
TEST_F(OutlookTest, StoreWritesLeaveOtherFilesAndReadOnlyStoresAlone) {
    const std::wstring own = path + L".tmp";
    std::ofstream(own.c_str(), std::ios::binary) << "the user's own";
    const std::string store = "[appointment]\noid: 85\nsubject: a\nstart: 2026-12-11 10:00\n\n"
                              "[appointment]\noid: 86\nsubject: b\nstart: 2026-12-12 10:00\n";
    Open(store);
    EXPECT_EQ(OutlookItemAction(session, kAppointment, 85, kOutlookDelete, kNow), u"");
    EXPECT_EQ(StoreText(), store.substr(store.find("[appointment]\noid: 86")));
    std::ifstream in(own.c_str(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the user's own");
    in.close();
    DeleteFileW(own.c_str());

    const std::string before = StoreText();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::u16string failed =
        OutlookItemAction(session, kAppointment, 86, kOutlookDelete, kNow);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(failed.rfind(u"Outlook appointment Delete (0x", 0), 0u);
    EXPECT_EQ(StoreText(), before);
}

TEST_F(OutlookTest, OccurrenceDaysTakeTheTimeAsItIs) {
    Open("[appointment]\noid: 90\nsubject: daily\nstart: 2026-12-01 09:00\nend: 2026-12-01 "
         "10:00\nrepeat: daily every 1\n");
    SystemTime late = At(2026, 12, 10, 23, 59);
    late.second = 30; // rounded to the minute, this would be 12/11
    OutlookItemAction(session, kAppointment, 90, kOutlookDeleteOccurrence, late);
    EXPECT_NE(StoreText().find("skip: 2026-12-10\n"), std::string::npos) << StoreText();
}

TEST_F(OutlookTest, NewItemDefaultsFollowTheItemsClock) {
    Open("[task]\noid: 95\nsubject: t\ncomplete: yes\n");
    std::vector<std::u16string> starts;
    SetPoomDisplayHandler([&](PoomDisplayRequest& r) {
        starts.push_back(r.isTask ? r.end : r.start);
        return false; // cancelled
    });
    SetEnvironmentVariableW(L"VANTREL_NOW", L"2031-05-06 07:00");
    OutlookItemAction(session, kAppointment, 0, kOutlookCreate, kNow);
    OutlookItemAction(session, kTask, 0, kOutlookCreate, kNow);
    ImportTasks(ctx, kNow);
    SetEnvironmentVariableW(L"VANTREL_NOW", nullptr);
    EXPECT_EQ(starts, (std::vector<std::u16string>{u"2031-05-06 09:00", u"2031-05-13"}));
    ASSERT_EQ(store.tasks.size(), 1u);
    EXPECT_EQ(store.tasks[0].checkDate, (DateTime{2031, 5, 6, -1, -1})); // not 4501
}

// Pocket Outlook answers a Restrict that matches nothing with S_OK and no
// collection; the store does the same.
TEST_F(OutlookTest, RestrictWithNoMatchAnswersNoCollection) {
    Open("[appointment]\nsubject: a\nstart: 2026-12-01 10:00\nend: 2026-12-01 11:00\n");
    IFolder* folder = nullptr;
    ASSERT_EQ(session.app->GetDefaultFolder(olFolderCalendar, &folder), S_OK);
    IPOutlookItemCollection* items = nullptr;
    ASSERT_EQ(folder->get_Items(&items), S_OK);
    items->put_IncludeRecurrences(VARIANT_TRUE);
    const struct {
        const wchar_t* query;
        bool found;
    } rows[] = {{L"[Start] >= \"<46366.000000\" AND [Start] < \"<46367.000000\"", false},
                {L"[Start] >= \"<46357.000000\" AND [Start] < \"<46358.000000\"", true}};
    for (const auto& row : rows) {
        BSTR text = SysAllocString(row.query);
        IPOutlookItemCollection* result = reinterpret_cast<IPOutlookItemCollection*>(1);
        EXPECT_EQ(items->Restrict(text, &result), S_OK);
        EXPECT_EQ(result != nullptr, row.found) << row.query;
        if (result != nullptr) {
            result->Release();
        }
        SysFreeString(text);
    }
    items->Release();
    folder->Release();
}

// Windowed filters on days without appointments: the store answers "nothing"
// and the view shows the own entries only.
TEST_F(OutlookTest, WindowedFiltersOnAnEmptyDayShowOnlyTheOwnEntries) {
    Open("[appointment]\nsubject: before\nstart: 2026-11-02 10:00\nend: 2026-11-02 11:00\n"
         "[appointment]\nsubject: after\nstart: 2027-03-01\nend: 2027-03-01\n"
         "[appointment]\nsubject: february\nstart: 2026-02-21 10:00\nend: 2026-02-21 11:00\n"
         "repeat: yearly-nth month 2 instance 3 on sat\nskip: 2027-02-20\n"
         "[appointment]\nsubject: ended\nstart: 2026-11-01 10:00\nend: 2026-11-01 11:00\n"
         "repeat: daily every 1\nuntil: 2026-11-20\n"
         "[appointment]\nsubject: june\nstart: 2026-06-01 10:00\nend: 2026-06-01 11:00\n"
         "repeat: yearly month 6 day 1\nskip: 2027-06-01\n");
    for (const int day : {9, 10, 11, 15}) {
        Item own = NewOwnEntry();
        own.title = u"own " + std::u16string(1, static_cast<char16_t>(u'0' + day % 10));
        own.startDate = {2026, 12, day};
        own.endDate = own.checkDate = kNoDate;
        store.own.push_back(own);
    }
    ViewState state;
    const testing::FixedClock clock{kNow};
    ViewContext view{store, state, settings, texts, clock, OutlookLoaders(ctx), {}};
    std::size_t ownShown = 0;
    for (const int code : {kFilterToday, kFilterYesterday, kFilterTomorrow, kFilterWeekAhead,
                           kFilterThisWeek, kFilterNextWeek, kFilterRange}) {
        for (const int shift : {-1, 0, 1}) {
            state.viewShift = shift;
            state.sourceMask = kSourceOwnBit;
            refresh(view, code);
            const std::vector<std::u16string> ownOnly = Titles(store.view);
            ownShown += ownOnly.size();
            state.sourceMask = kSourceOwnBit | kSourceAppointmentsBit;
            refresh(view, code);
            EXPECT_EQ(ImportAppointmentsInWindow(ctx, code, shift, kNow), 0) << code;
            EXPECT_TRUE(store.appointments.empty()) << code << " " << shift;
            EXPECT_EQ(Titles(store.view), ownOnly) << code << " " << shift;
        }
    }
    EXPECT_GT(ownShown, 0u); // the windows did show the own entries
}

// The same actions on an iCalendar store: the file changes component by
// component, and what the item shows follows.
TEST_F(OutlookTest, AnIcsStoreTakesTheSameActions) {
    DeleteFileW(path.c_str());
    path.replace(path.size() - 4, 4, L".ics");
    SetEnvironmentVariableW(L"VANTREL_STORE", path.c_str());
    const std::string head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n";
    const std::string weekly = "BEGIN:VEVENT\r\nUID:weekly\r\nDTSTAMP:20261201T000000Z\r\n"
                               "DTSTART:20261203T090000\r\nDTEND:20261203T100000\r\n"
                               "SUMMARY:weekly\r\nRRULE:FREQ=WEEKLY;BYDAY=TH\r\nEND:VEVENT\r\n";
    const std::string single = "BEGIN:VEVENT\r\nUID:single\r\nDTSTAMP:20261201T000000Z\r\n"
                               "DTSTART:20261212T090000\r\nDTEND:20261212T100000\r\n"
                               "SUMMARY:single\r\nX-KEPT:yes\r\nEND:VEVENT\r\n";
    const std::string todo = "BEGIN:VTODO\r\nUID:toggle\r\nDTSTAMP:20261201T000000Z\r\n"
                             "DUE;VALUE=DATE:20261212\r\nSUMMARY:toggle\r\nEND:VTODO\r\n";
    const std::string tail = "BEGIN:X-OTHER\r\nX-A:1\r\nEND:X-OTHER\r\nEND:VCALENDAR\r\n";
    Open(head + weekly + single + todo + tail);
    ASSERT_EQ(ImportAllAppointments(ctx, kNow), 2);
    const auto find = [&](std::u16string_view title) -> const Item* {
        for (const Item& i : store.appointments) {
            if (i.title == title) {
                return &i;
            }
        }
        return nullptr;
    };
    const auto oidOf = [&](std::u16string_view title) {
        const Item* i = find(title);
        return i != nullptr ? i->index : -1;
    };
    const int weeklyOid = oidOf(u"weekly");

    OutlookItemAction(session, kAppointment, weeklyOid, kOutlookDeleteOccurrence, kNow);
    const std::string skipped = head + weekly.substr(0, weekly.find("END:VEVENT")) +
                                "EXDATE:20261210T090000\r\nEND:VEVENT\r\n" + single + todo + tail;
    EXPECT_EQ(StoreText(), skipped);
    ImportAllAppointments(ctx, kNow);
    ASSERT_NE(find(u"weekly"), nullptr);
    EXPECT_EQ(find(u"weekly")->startDate, (DateTime{2026, 12, 17, 9, 0}));

    ImportTasks(ctx, kNow);
    ASSERT_EQ(store.tasks.size(), 1u);
    OutlookItemAction(session, kTask, store.tasks[0].index, kOutlookToggleComplete, kNow);
    EXPECT_NE(StoreText().find("STATUS:COMPLETED\r\nCOMPLETED:"), std::string::npos);
    ImportTasks(ctx, kNow);
    EXPECT_EQ(store.tasks[0].checkState, 1);
    OutlookItemAction(session, kTask, store.tasks[0].index, kOutlookToggleComplete, kNow);
    EXPECT_EQ(StoreText(), skipped.substr(0, skipped.find("BEGIN:VTODO")) +
                               todo.substr(0, todo.find("END:VTODO")) +
                               "STATUS:NEEDS-ACTION\r\nEND:VTODO\r\n" + tail);

    OutlookItemAction(session, kAppointment, weeklyOid, kOutlookDelete, kNow); // the series
    OutlookItemAction(session, kAppointment, oidOf(u"single"), kOutlookDelete, kNow);
    EXPECT_EQ(ImportAllAppointments(ctx, kNow), 0);

    OutlookItemAction(session, kAppointment, 0, kOutlookCreate, kNow);
    EXPECT_EQ(ImportAllAppointments(ctx, kNow), 1);
    EXPECT_EQ(store.appointments[0].title, u"\u65B0\u3057\u3044\u4E88\u5B9A");
    EXPECT_EQ(store.appointments[0].startDate, (DateTime{2026, 12, 11, 9, 0}));
    const std::string text = StoreText();
    EXPECT_NE(text.find("DTSTART:20261211T090000\r\n"), std::string::npos);
    // Added just before the calendar's end, after everything it had.
    EXPECT_NE(text.find("END:X-OTHER\r\nBEGIN:VEVENT\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 27), "END:VEVENT\r\nEND:VCALENDAR\r\n");
}

} // namespace
} // namespace vantrel
