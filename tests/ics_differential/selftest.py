#!/usr/bin/python3
"""Checks of the reference itself, against results worked out by hand, and
of how run.py judges a difference. Needs no probe."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import expected  # noqa: E402
import generate  # noqa: E402
import run  # noqa: E402

BERLIN = generate.VTIMEZONES["Europe/Berlin"].format(tzid="Europe/Berlin") + "\n"


def calendar(*events):
    text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Vantrel//selftest//EN\n" + BERLIN
    for uid, lines in events:
        text += f"BEGIN:VEVENT\nUID:{uid}\nDTSTAMP:20261201T000000Z\n{lines.strip()}\nEND:VEVENT\n"
    text += "END:VCALENDAR\n"
    return expected.Calendar(text.replace("\n", "\r\n").encode())


def lines(cal, zone, at, kind, window=7):
    import zoneinfo
    out = expected.lines_at(cal, zoneinfo.ZoneInfo(zone), expected.parse_moment(at), window)
    prefix = kind.replace(" ", "\t") + "\t"
    return [line[len(prefix):] for line in out if line.startswith(prefix)]


BERLIN_DAILY = ("daily", """
SUMMARY:Berlin daily
DTSTART;TZID=Europe/Berlin:20261201T100000
DTEND;TZID=Europe/Berlin:20261201T110000
RRULE:FREQ=DAILY""")
UTC_MON_TUE = ("mt", """
SUMMARY:Mon Tue UTC
DTSTART:20261130T200000Z
DTEND:20261130T210000Z
RRULE:FREQ=WEEKLY;BYDAY=MO,TU""")
WKST = ("wkst", """
SUMMARY:Every other week from Wednesday
DTSTART:20260107T100000
DTEND:20260107T110000
RRULE:FREQ=WEEKLY;INTERVAL=2;WKST=WE;BYDAY=MO,WE;COUNT=4""")
FLOATING = ("float", """
SUMMARY:Floating
DTSTART:20261201T100000
DTEND:20261201T110000
RRULE:FREQ=DAILY""")


class Reference(unittest.TestCase):
    def test_zoned_series_in_the_host_zone(self):
        cal = calendar(BERLIN_DAILY)
        self.assertEqual(lines(cal, "Asia/Tokyo", "20261209T1200", "now store"),
                         ["20261209T1800\t20261209T1900\tBerlin daily"])
        self.assertEqual(lines(cal, "America/New_York", "20261209T1200", "now store"),
                         ["20261210T0400\t20261210T0500\tBerlin daily"])

    def test_the_window_takes_occurrences_starting_from_now_only(self):
        cal = calendar(BERLIN_DAILY)
        self.assertEqual(lines(cal, "Europe/Berlin", "20261209T1030", "window store", window=2),
                         ["20261210T1000\t20261210T1100\tBerlin daily",
                          "20261211T1000\t20261211T1100\tBerlin daily"])
        self.assertEqual(lines(cal, "Europe/Berlin", "20261209T1030", "now store"),
                         ["20261209T1000\t20261209T1100\tBerlin daily"])

    def test_utc_weekdays_move_to_the_next_day_in_tokyo(self):
        cal = calendar(UTC_MON_TUE)
        self.assertEqual(lines(cal, "Asia/Tokyo", "20261209T1200", "window store"),
                         ["20261215T0500\t20261215T0600\tMon Tue UTC",
                          "20261216T0500\t20261216T0600\tMon Tue UTC"])

    def test_week_start_decides_which_weeks_count(self):
        # Weeks begin on Wednesday: 01-07 and 01-12 share one, 01-14/19 are skipped.
        cal = calendar(WKST)
        self.assertEqual(
            [line.split("\t")[0] for line in
             lines(cal, "Asia/Tokyo", "20260101T0000", "window store", window=60)],
            ["20260107T1000", "20260112T1000", "20260121T1000", "20260126T1000"])

    def test_ended_series_is_listed_as_its_last_occurrence_and_not_stored(self):
        cal = calendar(WKST)
        self.assertEqual(lines(cal, "Asia/Tokyo", "20261209T1200", "now list"),
                         ["20260126T1000\t20260126T1100\tEvery other week from Wednesday"])
        self.assertEqual(lines(cal, "Asia/Tokyo", "20261209T1200", "now store"), [])

    def test_an_occurrence_ending_now_is_in_progress_for_the_store_only(self):
        cal = calendar(FLOATING)
        self.assertEqual(lines(cal, "Europe/Berlin", "20261209T1100", "now store"),
                         ["20261209T1000\t20261209T1100\tFloating"])
        self.assertEqual(lines(cal, "Europe/Berlin", "20261209T1100", "now list"),
                         ["20261210T1000\t20261210T1100\tFloating"])

    def test_floating_times_stay_as_written_in_every_zone(self):
        cal = calendar(FLOATING)
        for zone in ("Asia/Tokyo", "America/New_York"):
            self.assertEqual(lines(cal, zone, "20261209T1200", "now list"),
                             ["20261210T1000\t20261210T1100\tFloating"])

    def test_overrides_move_rename_and_cancel(self):
        cal = calendar(BERLIN_DAILY, ("daily", """
RECURRENCE-ID;TZID=Europe/Berlin:20261209T100000
SUMMARY:Moved
DTSTART;TZID=Europe/Berlin:20261209T140000
DTEND;TZID=Europe/Berlin:20261209T150000"""), ("daily", """
RECURRENCE-ID;TZID=Europe/Berlin:20261210T100000
SUMMARY:Gone
STATUS:CANCELLED
DTSTART;TZID=Europe/Berlin:20261210T100000
DTEND;TZID=Europe/Berlin:20261210T110000"""))
        self.assertEqual(lines(cal, "Europe/Berlin", "20261209T0800", "window store", window=3),
                         ["20261209T1400\t20261209T1500\tMoved",
                          "20261211T1000\t20261211T1100\tBerlin daily"])

    def test_a_series_with_every_occurrence_excluded_is_not_shown(self):
        cal = calendar(("ex", """
SUMMARY:Excluded
DTSTART;VALUE=DATE:20261207
DTEND;VALUE=DATE:20261208
RRULE:FREQ=DAILY;COUNT=2
EXDATE;VALUE=DATE:20261207,20261208"""))
        self.assertEqual(lines(cal, "Asia/Tokyo", "20261209T1200", "now list"), [])
        self.assertEqual(lines(cal, "Asia/Tokyo", "20261209T1200", "now store"), [])

    def test_a_single_event_is_listed_even_when_past(self):
        cal = calendar(("one", """
SUMMARY:Past
DTSTART:20261201T090000Z
DURATION:PT2H"""))
        self.assertEqual(lines(cal, "Europe/Berlin", "20261209T1200", "now store"),
                         ["20261201T1000\t20261201T1200\tPast"])
        self.assertEqual(lines(cal, "Europe/Berlin", "20261209T1200", "window store"), [])

    def test_a_series_from_2010_every_hour_is_answered(self):
        cal = calendar(("hourly", """
SUMMARY:Hourly
DTSTART;TZID=Europe/Berlin:20100301T000500
DTEND;TZID=Europe/Berlin:20100301T001500
RRULE:FREQ=HOURLY"""))
        self.assertEqual(lines(cal, "Asia/Tokyo", "20261209T1200", "now store"),
                         ["20261209T1205\t20261209T1215\tHourly"])


class Judging(unittest.TestCase):
    def diffs(self, want, got):
        return run.compare("gen001.ics", "Asia/Tokyo", "20261209T1200", want, got)

    def test_a_changed_end_pairs_with_its_line(self):
        d = self.diffs(["now\tstore\t20261209T1800\t20261209T1900\tc001a x rdate-period"],
                       ["now\tstore\t20261209T1800\t20261209T2100\tc001a x rdate-period"])
        self.assertEqual(len(d), 1)
        self.assertTrue(d[0].only_end_differs())
        self.assertIsNotNone(run.accepted(d[0]))

    def test_a_changed_start_is_not_accepted_for_a_period(self):
        d = self.diffs(["now\tstore\t20261209T1800\t20261209T1900\tc001a x rdate-period"],
                       ["now\tstore\t20261209T1900\t20261209T2000\tc001a x rdate-period"])
        self.assertEqual([(x.want is None, x.got is None) for x in d],
                         [(False, True), (True, False)])
        self.assertEqual([run.accepted(x) for x in d], [None, None])

    def test_an_extra_line_of_an_ordinary_series_fails(self):
        d = self.diffs([], ["window\tstore\t20261209T1800\t20261209T1900\tc001a daily berlin"])
        self.assertEqual(len(d), 1)
        self.assertIsNone(run.accepted(d[0]))

    def test_a_repeated_line_counts(self):
        line = "window\tstore\t20261209T1800\t20261209T1900\tc001a daily berlin"
        self.assertEqual(len(self.diffs([line], [line, line])), 1)


if __name__ == "__main__":
    unittest.main()
