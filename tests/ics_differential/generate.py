#!/usr/bin/python3
"""Small random calendars for the differential test of the iCalendar engine.

generate.py DIR [--count N] [--seed S]

Every calendar holds one to three VEVENTs, each with its own SUMMARY (which
names its rule, time form and extras, so a difference can be read off the
line). The first VEVENT of calendar i walks through every rule and time
form in turn; the rest is drawn from a seeded generator, so the same seed
always writes the same files. The series lie around 2026-12-09, the
moments run.py looks at.
"""

import datetime
import os
import random
import sys
import zoneinfo

from dateutil.rrule import rrulestr

# Current rules, as a calendar program writes them today.
VTIMEZONES = {
    "Europe/Berlin": """BEGIN:VTIMEZONE
TZID:{tzid}
BEGIN:DAYLIGHT
TZOFFSETFROM:+0100
TZOFFSETTO:+0200
TZNAME:CEST
DTSTART:19700329T020000
RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU
END:DAYLIGHT
BEGIN:STANDARD
TZOFFSETFROM:+0200
TZOFFSETTO:+0100
TZNAME:CET
DTSTART:19701025T030000
RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU
END:STANDARD
END:VTIMEZONE""",
    "America/New_York": """BEGIN:VTIMEZONE
TZID:{tzid}
BEGIN:DAYLIGHT
TZOFFSETFROM:-0500
TZOFFSETTO:-0400
TZNAME:EDT
DTSTART:20070311T020000
RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU
END:DAYLIGHT
BEGIN:STANDARD
TZOFFSETFROM:-0400
TZOFFSETTO:-0500
TZNAME:EST
DTSTART:20071104T020000
RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU
END:STANDARD
END:VTIMEZONE""",
    "Australia/Sydney": """BEGIN:VTIMEZONE
TZID:{tzid}
BEGIN:STANDARD
TZOFFSETFROM:+1100
TZOFFSETTO:+1000
TZNAME:AEST
DTSTART:20080406T030000
RRULE:FREQ=YEARLY;BYMONTH=4;BYDAY=1SU
END:STANDARD
BEGIN:DAYLIGHT
TZOFFSETFROM:+1000
TZOFFSETTO:+1100
TZNAME:AEDT
DTSTART:20081005T020000
RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=1SU
END:DAYLIGHT
END:VTIMEZONE""",
    "Asia/Tokyo": """BEGIN:VTIMEZONE
TZID:{tzid}
BEGIN:STANDARD
TZOFFSETFROM:+0900
TZOFFSETTO:+0900
TZNAME:JST
DTSTART:19700101T000000
END:STANDARD
END:VTIMEZONE""",
}

# How a VEVENT's times are written. "custom" is Berlin's rules under a TZID
# no zone database knows, so only the file's VTIMEZONE can place it.
FORMS = ["Europe/Berlin", "America/New_York", "Australia/Sydney", "Asia/Tokyo",
         "utc", "floating", "date", "custom"]
CUSTOM_TZID = "Vantrel Test Central European"
SHORT = {"Europe/Berlin": "berlin", "America/New_York": "newyork",
         "Australia/Sydney": "sydney", "Asia/Tokyo": "tokyo", "utc": "utc",
         "floating": "floating", "date": "allday", "custom": "customtz"}
DAYS = ["MO", "TU", "WE", "TH", "FR", "SA", "SU"]

# (name, builder(rng) -> RRULE without its end, may an all-day series use it)
RULES = [
    ("daily", lambda r: "FREQ=DAILY", True),
    ("daily-interval", lambda r: f"FREQ=DAILY;INTERVAL={r.randint(2, 5)}", True),
    ("workdays", lambda r: "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", True),
    ("weekly", lambda r: "FREQ=WEEKLY", True),
    ("weekly-days", lambda r: "FREQ=WEEKLY;BYDAY=" + ",".join(sorted(
        r.sample(DAYS, 2), key=DAYS.index)), True),
    ("weekly-wkst", lambda r: "FREQ=WEEKLY;INTERVAL=2;WKST=" + r.choice(["MO", "SU", "WE", "TH"]) +
     ";BYDAY=" + ",".join(sorted(r.sample(DAYS, r.randint(2, 3)), key=DAYS.index)), True),
    ("weekly-i3", lambda r: "FREQ=WEEKLY;INTERVAL=3;BYDAY=" + r.choice(DAYS), True),
    ("monthday", lambda r: f"FREQ=MONTHLY;BYMONTHDAY={r.randint(1, 28)}", True),
    ("monthday-neg", lambda r: f"FREQ=MONTHLY;BYMONTHDAY={r.choice([-1, -2, -9])}", True),
    ("monthday-31", lambda r: "FREQ=MONTHLY;BYMONTHDAY=" + r.choice(["31", "30,31", "1,15"]), True),
    ("month-nth", lambda r: "FREQ=MONTHLY;BYDAY=" + r.choice(["1", "2", "3", "4", "-1", "-2"]) +
     r.choice(DAYS), True),
    ("month-setpos", lambda r: "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=" +
     r.choice(["1", "-1", "2", "-2"]), True),
    ("month-interval", lambda r: "FREQ=MONTHLY;INTERVAL=2;BYDAY=2" + r.choice(DAYS), True),
    ("month-bymonth", lambda r: "FREQ=MONTHLY;BYMONTH=1,12;BYDAY=" +
     r.choice(["1MO", "-1FR", "2WE"]), True),
    ("yearly", lambda r: "FREQ=YEARLY", True),
    ("yearly-monthday", lambda r: f"FREQ=YEARLY;BYMONTH=12;BYMONTHDAY={r.randint(5, 20)}", True),
    ("yearly-nth", lambda r: "FREQ=YEARLY;BYMONTH=12;BYDAY=" + r.choice(["2WE", "-1FR", "1TH"]), True),
    ("yearly-months", lambda r: f"FREQ=YEARLY;BYMONTH=1,12;BYMONTHDAY={r.randint(8, 20)}", True),
    ("yearly-setpos", lambda r: "FREQ=YEARLY;BYMONTH=12;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", True),
    ("hourly", lambda r: f"FREQ=HOURLY;INTERVAL={r.choice([1, 3, 5, 7])}", False),
    ("hourly-byhour", lambda r: "FREQ=HOURLY;BYHOUR=9,13,17", False),
    ("minutely", lambda r: f"FREQ=MINUTELY;INTERVAL={r.choice([45, 90, 7919])}", False),
    ("minutely-byhour", lambda r: "FREQ=MINUTELY;INTERVAL=20;BYHOUR=9,10", False),
]
DENSE = ("hourly", "minutely")

MOMENTS_FROM = datetime.datetime(2026, 12, 8)
MOMENTS_TO = datetime.datetime(2027, 1, 26)


def fold(line):
    data = line.encode("utf-8")
    if len(data) <= 75:
        return line + "\r\n"
    out, chunk = [], b""
    for ch in line:
        b = ch.encode("utf-8")
        if len(chunk) + len(b) > (75 if not out else 74):
            out.append(chunk)
            chunk = b""
        chunk += b
    out.append(chunk)
    return "\r\n ".join(c.decode("utf-8") for c in out) + "\r\n"


class Timed:
    """Writes a local wall time (naive) in one time form."""

    def __init__(self, form):
        self.form = form
        self.zone = None
        if form in VTIMEZONES:
            self.zone = zoneinfo.ZoneInfo(form)
        elif form == "custom":
            self.zone = zoneinfo.ZoneInfo("Europe/Berlin")

    @property
    def all_day(self):
        return self.form == "date"

    def tzid(self):
        return CUSTOM_TZID if self.form == "custom" else self.form

    def value(self, t):
        if self.form == "date":
            return f"{t:%Y%m%d}"
        return f"{t:%Y%m%dT%H%M%S}" + ("Z" if self.form == "utc" else "")

    def prop(self, name, *times):
        if self.form == "date":
            name += ";VALUE=DATE"
        elif self.zone is not None:
            name += f";TZID={self.tzid()}"
        return name + ":" + ",".join(self.value(t) for t in times)

    def utc(self, t):
        """The same moment in UTC (for UNTIL and UTC EXDATEs)."""
        if self.zone is None:
            return t
        return t.replace(tzinfo=self.zone).astimezone(datetime.timezone.utc).replace(tzinfo=None)

    def until(self, t):
        if self.form == "date":
            return f"{t:%Y%m%d}"
        if self.form == "floating":
            return f"{t:%Y%m%dT%H%M%S}"
        return f"{self.utc(t):%Y%m%dT%H%M%S}Z"


def near(occurrences):
    return [o for o in occurrences if MOMENTS_FROM <= o <= MOMENTS_TO]


class Writer:
    def __init__(self, index, rng):
        self.index = index
        self.rng = rng
        self.events = []  # lists of property lines
        self.forms = set()
        self.dense = False

    def summary(self, letter, *tags):
        return f"c{self.index:03d}{letter} " + " ".join(t for t in tags if t)

    def uid(self, letter):
        return f"c{self.index:03d}{letter}@differential.vantrel.test"

    def event(self, lines):
        self.events.append(["BEGIN:VEVENT"] + lines + ["END:VEVENT"])

    def text(self):
        out = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Vantrel//differential test//EN",
               "CALSCALE:GREGORIAN"]
        for form in sorted(self.forms):
            if form in VTIMEZONES:
                out += VTIMEZONES[form].format(tzid=form).split("\n")
            elif form == "custom":
                out += VTIMEZONES["Europe/Berlin"].format(tzid=CUSTOM_TZID).split("\n")
        for e in self.events:
            out += e
        out.append("END:VCALENDAR")
        return "".join(fold(line) for line in out)

    def single(self, letter, form):
        r = self.rng
        t = Timed(form)
        self.forms.add(form)
        day = datetime.datetime(2026, 12, 1) + datetime.timedelta(days=r.randint(-20, 60))
        if t.all_day:
            start, end = day, day + datetime.timedelta(days=r.randint(1, 3))
        else:
            start = day.replace(hour=r.randint(0, 23), minute=r.choice([0, 15, 30, 45]))
            end = start + datetime.timedelta(minutes=r.choice([30, 60, 90, 600, 1500]))
        self.event([f"UID:{self.uid(letter)}", "DTSTAMP:20261201T000000Z",
                    f"SUMMARY:{self.summary(letter, 'single', SHORT[form])}",
                    t.prop("DTSTART", start), t.prop("DTEND", end)])

    def series(self, letter, rule_index, form, extras=None):
        r = self.rng
        name, build, dates_ok = RULES[rule_index]
        t = Timed(form)
        if t.all_day and not dates_ok:
            t = Timed(r.choice(FORMS[:6]))
        self.forms.add(t.form)
        rule = build(r)
        dense = name.startswith(DENSE)
        self.dense = self.dense or dense
        tags = [name, SHORT[t.form]]

        # Where the series begins: close to the moments, a year or more
        # back for the slow rules, in 2010 for half of the dense ones.
        if dense and r.random() < 0.5:
            anchor = datetime.datetime(2010, r.randint(1, 12), r.randint(1, 28))
            tags.append("from2010")
        elif name.startswith("yearly"):
            anchor = datetime.datetime(r.randint(2019, 2026), r.choice([1, 11, 12]), 1)
        elif name.startswith("month"):
            anchor = datetime.datetime(2026, r.randint(1, 12), r.randint(1, 28))
        else:
            anchor = datetime.datetime(2026, 12, 1) + datetime.timedelta(days=r.randint(-25, 20))
        if not t.all_day:
            anchor = anchor.replace(hour=r.randint(0, 23), minute=r.choice([0, 0, 15, 30]))
        unsync = not dense and r.random() < 0.06
        if unsync:
            start = anchor
            tags.append("unsync")
        else:
            start = rrulestr(rule, dtstart=anchor)[0]
        horizon = datetime.datetime(2027, 3, 1)
        occurrences = list(rrulestr(rule, dtstart=start).between(
            start, horizon, inc=True)) if not dense else list(rrulestr(rule, dtstart=start).between(
                MOMENTS_FROM - datetime.timedelta(days=2), horizon, inc=True))
        if unsync and start not in occurrences:
            occurrences = [start] + occurrences

        # Duration: shorter than the gap of a dense rule, up to a few days else.
        if t.all_day:
            length = datetime.timedelta(days=r.choice([1, 1, 1, 2, 3]))
        elif dense:
            step = 20 if "minutely" in name else 60
            length = datetime.timedelta(minutes=r.choice([step // 2, step - 5]))
        else:
            length = datetime.timedelta(minutes=r.choice([30, 60, 60, 90, 180, 1500]))

        end_part = ""
        choice = r.random()
        if extras == "all-excluded":
            end_part = ";COUNT=3"
        elif choice < 0.22 and not unsync:
            count = r.randint(1, 12)
            end_part = f";COUNT={count}"
            tags.append("count")
            if dense and start.year == 2010:
                end_part = ";COUNT=5"
            else:
                full = list(rrulestr(rule + end_part, dtstart=start))
                occurrences = [o for o in occurrences if o <= full[-1]]
        elif choice < 0.45:
            pool = near(occurrences) or occurrences
            last = r.choice(pool) if pool else start
            end_part = f";UNTIL={t.until(last)}"
            tags.append("until")
            occurrences = [o for o in occurrences if o <= last]

        lines = [f"UID:{self.uid(letter)}", "DTSTAMP:20261201T000000Z",
                 t.prop("DTSTART", start)]
        if r.random() < 0.2:
            minutes = int(length.total_seconds() // 60)
            if t.all_day:
                lines.append(f"DURATION:P{minutes // 1440}D")
            else:
                lines.append(f"DURATION:PT{minutes // 60}H{minutes % 60}M")
            tags.append("duration")
        else:
            lines.append(t.prop("DTEND", start + length))
        lines.append("RRULE:" + rule + end_part)

        candidates = near(occurrences)
        overrides = []
        if extras == "all-excluded":
            full = list(rrulestr(rule + end_part, dtstart=start))
            if unsync and start not in full:
                full = [start] + full[:2]
            lines.append(t.prop("EXDATE", *full[:3]))
            tags.append("all-excluded")
        else:
            if candidates and r.random() < 0.3:
                gone = r.choice(candidates)
                if t.zone is not None and r.random() < 0.5:
                    lines.append(f"EXDATE:{t.utc(gone):%Y%m%dT%H%M%S}Z")
                    tags.append("exdate-utc")
                else:
                    lines.append(t.prop("EXDATE", gone))
                    tags.append("exdate")
                candidates = [c for c in candidates if c != gone]
            if r.random() < 0.2:
                extra = (r.choice(candidates) if candidates else start) + datetime.timedelta(
                    days=r.randint(1, 3), hours=0 if t.all_day else r.randint(1, 5))
                if not t.all_day and r.random() < 0.5:
                    finish = extra + datetime.timedelta(minutes=r.choice([20, 240]))
                    if t.zone is not None and r.random() < 0.5:
                        lines.append(f"RDATE;VALUE=PERIOD:{t.utc(extra):%Y%m%dT%H%M%S}Z/"
                                     f"{t.utc(finish):%Y%m%dT%H%M%S}Z")
                    else:
                        lines.append(t.prop("RDATE;VALUE=PERIOD", extra) + "/" + t.value(finish))
                    tags.append("rdate-period")
                else:
                    lines.append(t.prop("RDATE", extra))
                    tags.append("rdate")
            for _ in range(r.choice([0, 0, 1, 1, 2])):
                if not candidates:
                    break
                which = r.choice(candidates)
                candidates = [c for c in candidates if c != which]
                overrides.append(which)

        if overrides:
            tags.append("overridden")
        self.event([f"SUMMARY:{self.summary(letter, *tags)}"] + lines)
        for n, which in enumerate(overrides):
            kind = r.choice(["moved", "moved", "renamed", "cancelled"])
            if kind == "moved":
                shift = (datetime.timedelta(days=r.choice([-1, 1, 2])) if t.all_day
                         else datetime.timedelta(hours=r.choice([-3, -1, 2, 26, 50])))
            else:
                shift = datetime.timedelta(0)
            body = [f"UID:{self.uid(letter)}", "DTSTAMP:20261201T000000Z",
                    t.prop("RECURRENCE-ID", which),
                    f"SUMMARY:{self.summary(letter, name, kind, str(n + 1))}",
                    t.prop("DTSTART", which + shift), t.prop("DTEND", which + shift + length)]
            if kind == "cancelled":
                body.append("STATUS:CANCELLED")
            self.event(body)


def calendar_text(index, seed):
    rng = random.Random(seed * 1000003 + index)
    w = Writer(index, rng)
    rule_index = index % len(RULES)
    form = FORMS[(index // len(RULES) + index) % len(FORMS)]
    w.series("a", rule_index, form, "all-excluded" if index % 97 == 13 else None)
    for letter in "bc"[:rng.choice([0, 1, 1, 2])]:
        if rng.random() < 0.35:
            w.single(letter, rng.choice(FORMS))
        else:
            pick = rng.randrange(len(RULES))
            # Keep one dense rule per calendar: expanding two of them from
            # 2010 is what makes a reference engine slow, not a probe.
            while w.dense and RULES[pick][0].startswith(DENSE):
                pick = rng.randrange(len(RULES))
            w.series(letter, pick, rng.choice(FORMS))
    return w.text()


def generate(directory, count=300, seed=1):
    os.makedirs(directory, exist_ok=True)
    names = []
    for i in range(count):
        name = f"gen{i:03d}.ics"
        with open(os.path.join(directory, name), "w", encoding="utf-8", newline="") as f:
            f.write(calendar_text(i, seed))
        names.append(name)
    return names


def main(argv):
    args = argv[1:]
    count, seed = 300, 1
    if "--count" in args:
        i = args.index("--count")
        count = int(args[i + 1])
        del args[i:i + 2]
    if "--seed" in args:
        i = args.index("--seed")
        seed = int(args[i + 1])
        del args[i:i + 2]
    if len(args) != 1:
        print("usage: generate.py DIR [--count N] [--seed S]", file=sys.stderr)
        return 2
    generate(args[0], count, seed)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
