#!/usr/bin/python3
"""What vantrel-ics-probe should print, computed with recurring_ical_events.

The occurrences come from recurring_ical_events (icalendar + dateutil, no
libical), so the probe's engine is checked against one written by other
people. This module only picks the occurrences the probe's three kinds of
line ask for and writes them in the host's local time:

  now store     the occurrence in progress (start <= now <= end), else the
                next one; a single event as it is; a series with nothing
                left is left out
  now list      the first occurrence with end > now, else the series' last
                one; a single event as it is
  window store  every occurrence starting in [now, now + DAYS days)

Used as a module by run.py, and on its own with the probe's command line
(TZ from the environment), which is how a stand-in probe can be made.
"""

import datetime
import os
import sys
import zoneinfo

import icalendar
import recurring_ical_events

MINUTE = datetime.timedelta(minutes=1)
# recurring_ical_events works between 1970 and 2038 (pytz and zoneinfo).
EARLIEST = datetime.datetime(1971, 1, 1)
LATEST = datetime.datetime(2037, 12, 1)
# The months around the moments run.py looks at: each series is unfolded
# there once (recurring_ical_events walks a rule from its DTSTART on every
# call, which for an hourly rule from 2010 is slow) and every moment and
# host zone inside it is answered from that list.
FOCUS_FROM = datetime.datetime(2026, 11, 20)
FOCUS_TO = datetime.datetime(2027, 2, 10)
# Host zones lie within 14 hours of UTC, floating times too.
FOCUS_MARGIN = datetime.timedelta(days=1)


class Occurrence:
    __slots__ = ("start", "end", "all_day", "summary")

    def __init__(self, start, end, all_day, summary):
        self.start = start  # naive host-local wall time (midnight for a date)
        self.end = end
        self.all_day = all_day
        self.summary = summary

    def line(self, kind):
        fmt = "%Y%m%d" if self.all_day else "%Y%m%dT%H%M"
        return "\t".join(
            (kind, self.start.strftime(fmt), self.end.strftime(fmt), self.summary))


def _local(value, host):
    """A DTSTART/DTEND value as naive host wall time; dates and floating
    times are taken as they are."""
    if isinstance(value, datetime.datetime):
        if value.tzinfo is not None:
            value = value.astimezone(host).replace(tzinfo=None)
        return value.replace(second=0, microsecond=0), False
    return datetime.datetime(value.year, value.month, value.day), True


def _occurrence(vevent, host):
    start, all_day = _local(vevent["DTSTART"].dt, host)
    if "DTEND" in vevent:
        end_value = vevent["DTEND"].dt
    elif "DURATION" in vevent:
        end_value = vevent["DTSTART"].dt + vevent["DURATION"].dt
    else:
        end_value = vevent["DTSTART"].dt
    end, _ = _local(end_value, host)
    return Occurrence(start, end, all_day, str(vevent.get("SUMMARY", "")))


def _cancelled(vevent):
    return str(vevent.get("STATUS", "")).upper() == "CANCELLED"


def _period_rdates_to_starts(vevent):
    """recurring_ical_events 2.0 raises on RDATE;VALUE=PERIOD (icalendar
    gives it (start, end) tuples), so a period comes in as its start; the
    occurrence then lasts as long as the series (an accepted difference)."""
    rdates = vevent.get("RDATE")
    if rdates is None:
        return
    for rdate in rdates if isinstance(rdates, list) else [rdates]:
        for item in rdate.dts:
            if isinstance(item.dt, tuple):
                item.dt = item.dt[0]


class Series:
    """One UID: its master VEVENT and overrides, unfolded on their own so a
    far search for one series does not expand the others."""

    def __init__(self, uid, components, timezones, calendar_properties):
        self.uid = uid
        self.master = next(
            (c for c in components if "RECURRENCE-ID" not in c), components[0])
        self.recurring = "RRULE" in self.master or "RDATE" in self.master
        for c in components:
            _period_rdates_to_starts(c)
        calendar = icalendar.Calendar()
        for name, value in calendar_properties:
            calendar.add(name, value)
        for tz in timezones:
            calendar.add_component(tz)
        for c in components:
            calendar.add_component(c)
        self.unfolded = recurring_ical_events.of(calendar)
        self._focus = None
        self._focus_local = {}
        self._ended = None

    def _in_focus(self, host):
        if self._focus is None:
            self._focus = [
                e for e in self.unfolded.between(FOCUS_FROM, FOCUS_TO) if not _cancelled(e)]
        if host.key not in self._focus_local:
            self._focus_local[host.key] = [_occurrence(e, host) for e in self._focus]
        return self._focus_local[host.key]

    def _nothing_after_focus(self):
        """Whether the series has ended by the focus' end; asked only when a
        search runs past it, which a dense endless series never does."""
        if self._ended is None:
            self._ended = not any(
                not _cancelled(e)
                for e in self.unfolded.between(FOCUS_TO - FOCUS_MARGIN, LATEST))
        return self._ended

    def between(self, host, start, stop):
        """Occurrences overlapping [start, stop) (naive host times); a few
        more may come, the callers filter."""
        if FOCUS_FROM + FOCUS_MARGIN <= start and (
                stop <= FOCUS_TO - FOCUS_MARGIN or self._nothing_after_focus()):
            return [o for o in self._in_focus(host)
                    if o.start < stop and o.end >= start]
        events = self.unfolded.between(
            start.replace(tzinfo=host), stop.replace(tzinfo=host))
        return [_occurrence(e, host) for e in events if not _cancelled(e)]

    def single(self, host):
        return _occurrence(self.master, host)

    def first_not_ended(self, host, now, in_progress_at_end):
        """The first occurrence by start that has not ended at now; with
        in_progress_at_end an occurrence ending exactly at now still counts."""
        span = datetime.timedelta(days=1)
        while True:
            stop = min(now + span, LATEST)
            found = [
                o for o in self.between(host, now - MINUTE, stop)
                if (o.end >= now if in_progress_at_end else o.end > now)
            ]
            if found:
                return min(found, key=lambda o: (o.start, o.summary))
            if stop >= LATEST:
                return None
            span *= 4

    def last_before(self, host, now):
        span = datetime.timedelta(days=1)
        while True:
            start = max(now - span, EARLIEST)
            found = self.between(host, start, now + MINUTE)
            if found:
                return max(found, key=lambda o: (o.start, o.summary))
            if start <= EARLIEST:
                return None
            span *= 4


class Calendar:
    def __init__(self, text):
        calendar = icalendar.Calendar.from_ical(text)
        timezones = list(calendar.walk("VTIMEZONE"))
        properties = [(k, v) for k, v in calendar.items() if k.startswith("X-WR-")]
        by_uid = {}
        for vevent in calendar.walk("VEVENT"):
            by_uid.setdefault(str(vevent.get("UID", "")), []).append(vevent)
        self.series = [
            Series(uid, components, timezones, properties)
            for uid, components in by_uid.items()
        ]


def lines_at(calendar, host, now, window_days=7):
    """The probe's lines for one moment (now: naive host wall time), each
    kind sorted by START then SUMMARY."""
    store, listed, window = [], [], []
    window_end = now + datetime.timedelta(days=window_days)
    for series in calendar.series:
        if not series.recurring:
            single = series.single(host)
            store.append(single)
            listed.append(single)
        else:
            shown = series.first_not_ended(host, now, True)
            if shown is not None:
                store.append(shown)
            first = series.first_not_ended(host, now, False)
            if first is None:
                first = series.last_before(host, now)
            if first is not None:
                listed.append(first)
        window.extend(
            o for o in series.between(host, now, window_end)
            if now <= o.start < window_end)

    def sort(occurrences, kind):
        def key(o):
            return (o.line("").split("\t")[1], o.summary)

        return [o.line(kind) for o in sorted(occurrences, key=key)]

    return (sort(store, "now\tstore") + sort(listed, "now\tlist") +
            sort(window, "window\tstore"))


def parse_moment(text):
    return datetime.datetime.strptime(text, "%Y%m%dT%H%M")


def load(path):
    with open(path, "rb") as f:
        return Calendar(f.read())


def main(argv):
    args = argv[1:]
    path, moments, window = None, [], 7
    while args:
        a = args.pop(0)
        if a == "--at" and args:
            moments.append(args.pop(0))
        elif a == "--window" and args:
            window = int(args.pop(0))
        elif path is None and not a.startswith("--"):
            path = a
        else:
            print("usage: expected.py FILE.ics --at YYYYMMDDTHHMM ... [--window DAYS]",
                  file=sys.stderr)
            return 2
    if path is None or not moments:
        print("usage: expected.py FILE.ics --at YYYYMMDDTHHMM ... [--window DAYS]",
              file=sys.stderr)
        return 2
    try:
        calendar = load(path)
    except (OSError, ValueError) as e:
        print(f"expected.py: {path}: {e}", file=sys.stderr)
        return 2
    host = zoneinfo.ZoneInfo(os.environ.get("TZ", "UTC"))
    out = []
    for m in moments:
        out.append("at\t" + m)
        out.extend(lines_at(calendar, host, parse_moment(m), window))
    sys.stdout.write("".join(line + "\n" for line in out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
