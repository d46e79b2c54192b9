#pragma once

// The calendars the iCalendar benchmarks read: the Outlook import's own (one
// appointment in ten a series of every pattern type, moved occurrences,
// to-dos; all in Tokyo time) and one made of the kinds of events real
// exporters write (zones with daylight saving time, descriptions,
// locations, attendees, alarms, series with EXDATE and overrides).

#include <cstdio>
#include <sstream>
#include <string>

namespace vantrel::bench {

// The same calendar as iCalendar. Each series starts on one of its own days.
inline std::string BenchIcsCalendar(int n) {
    std::ostringstream out;
    struct Series {
        const char* rule;
        const char* start; // YYYYMMDD
    };
    const Series series[] = {{"FREQ=DAILY;INTERVAL=2", "20260102"},
                             {"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", "20260105"},
                             {"FREQ=WEEKLY;BYDAY=MO,WE,FR", "20260105"},
                             {"FREQ=WEEKLY;INTERVAL=2;BYDAY=TU", "20260106"},
                             {"FREQ=MONTHLY;BYMONTHDAY=15", "20260115"},
                             {"FREQ=MONTHLY;BYDAY=2TU", "20260113"},
                             {"FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=1", "20260301"},
                             {"FREQ=YEARLY;BYMONTH=11;BYDAY=4TH", "20261126"}};
    out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Vantrel//Bench//EN\r\n"
           "BEGIN:VTIMEZONE\r\nTZID:Asia/Tokyo\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
           "TZOFFSETFROM:+0900\r\nTZOFFSETTO:+0900\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
    char line[400];
    for (int i = 0; i < n; ++i) {
        const int day = 1 + i % 28, month = 1 + (i / 28) % 12, year = 2025 + i % 3;
        const int hour = 8 + i % 10;
        const bool repeats = i % 10 == 0;
        const Series& s = series[(i / 10) % 8];
        char start[16];
        if (repeats) {
            std::snprintf(start, sizeof start, "%s", s.start);
        } else {
            std::snprintf(start, sizeof start, "%04d%02d%02d", year, month, day);
        }
        std::snprintf(line, sizeof line,
                      "BEGIN:VEVENT\r\nUID:bench-%d@vantrel\r\nDTSTAMP:20261201T000000Z\r\n"
                      "DTSTART;TZID=Asia/Tokyo:%sT%02d0000\r\nDTEND;TZID=Asia/Tokyo:%sT%02d3000\r\n"
                      "SUMMARY:\xE4\xBC\x9A\xE8\xAD\xB0 %d\r\nCATEGORIES:work,team\r\n",
                      i, start, hour, start, hour, i);
        out << line;
        if (!repeats) {
            out << "END:VEVENT\r\n";
            continue;
        }
        const int index = i / 10;
        out << "RRULE:" << s.rule << (index % 5 == 1 ? ";UNTIL=20270630" : "") << "\r\n";
        out << "END:VEVENT\r\n";
        if (index % 3 == 0) {
            // A moved occurrence: found by the series' own day near today.
            std::snprintf(line, sizeof line,
                          "BEGIN:VEVENT\r\nUID:bench-%d@vantrel\r\nDTSTAMP:20261201T000000Z\r\n"
                          "RECURRENCE-ID;TZID=Asia/Tokyo:%sT%02d0000\r\n"
                          "DTSTART;TZID=Asia/Tokyo:20261210T070000\r\n"
                          "DTEND;TZID=Asia/Tokyo:20261210T090000\r\nSUMMARY:moved\r\n"
                          "END:VEVENT\r\n",
                          i, s.start, hour);
            out << line;
        }
    }
    for (int i = 0; i < n / 4; ++i) {
        out << "BEGIN:VTODO\r\nUID:task-" << i << "@vantrel\r\nSUMMARY:task " << i
            << "\r\nDUE;VALUE=DATE:202612" << (10 + i % 20) << "\r\nPRIORITY:" << (1 + 4 * (i % 3))
            << "\r\n";
        if (i % 7 == 0) {
            out << "STATUS:COMPLETED\r\nCOMPLETED:20261201T000000Z\r\n";
        }
        if (i % 11 == 0) {
            out << "DTSTART;VALUE=DATE:20261204\r\nRRULE:FREQ=WEEKLY;BYDAY=FR\r\n";
        }
        out << "END:VTODO\r\n";
    }
    out << "END:VCALENDAR\r\n";
    return out.str();
}

// Zones as exporters write them, with daylight saving time.
inline const char* kBenchZones =
    "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nX-LIC-LOCATION:Europe/Berlin\r\n"
    "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nTZNAME:CEST\r\n"
    "DTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nTZNAME:CET\r\n"
    "DTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\n"
    "END:VTIMEZONE\r\n"
    "BEGIN:VTIMEZONE\r\nTZID:W. Europe Standard Time\r\nBEGIN:STANDARD\r\n"
    "DTSTART:16010101T030000\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
    "RRULE:FREQ=YEARLY;INTERVAL=1;BYDAY=-1SU;BYMONTH=10\r\nEND:STANDARD\r\nBEGIN:DAYLIGHT\r\n"
    "DTSTART:16010101T020000\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
    "RRULE:FREQ=YEARLY;INTERVAL=1;BYDAY=-1SU;BYMONTH=3\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n"
    "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\nBEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\n"
    "TZOFFSETTO:-0400\r\nTZNAME:EDT\r\nDTSTART:20070311T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\nBEGIN:STANDARD\r\n"
    "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\nDTSTART:20071104T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

// n events in the forms Google, Outlook and Apple write, one in ten a
// series (with an EXDATE, every third with a moved occurrence).
inline std::string ExporterCalendar(int n) {
    std::ostringstream out;
    out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Vantrel//Bench exporters//EN\r\n"
           "CALSCALE:GREGORIAN\r\nX-WR-TIMEZONE:Europe/Berlin\r\n"
        << kBenchZones;
    const char* zones[] = {"Europe/Berlin", "W. Europe Standard Time", "America/New_York"};
    const char* rules[] = {"FREQ=WEEKLY;BYDAY=MO", "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR",
                           "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU,TH;WKST=MO", "FREQ=MONTHLY;BYDAY=2WE",
                           "FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=12"};
    char line[1200];
    for (int i = 0; i < n; ++i) {
        const char* zone = zones[i % 3];
        const int year = 2024 + i % 4, month = 1 + (i / 7) % 12, day = 1 + i % 28;
        const int hour = 8 + i % 10;
        std::snprintf(line, sizeof line,
                      "BEGIN:VEVENT\r\nDTSTART;TZID=%s:%04d%02d%02dT%02d0000\r\n"
                      "DTEND;TZID=%s:%04d%02d%02dT%02d4500\r\nDTSTAMP:20261201T083000Z\r\n"
                      "UID:%08x-%04x-4%03x-a%03x-%012x@example.com\r\n"
                      "SUMMARY:Project review %d\r\nLOCATION:Room %d\\, Building B\r\n"
                      "DESCRIPTION:Status\\, risks and next steps.\\nhttps://meet.example.com/"
                      "abc-%03d\r\nSEQUENCE:%d\r\nSTATUS:CONFIRMED\r\n",
                      zone, year, month, day, hour, zone, year, month, day, hour,
                      static_cast<unsigned>(i * 2654435761U), i % 65536, i % 4096, i % 4096,
                      static_cast<unsigned>(i), i, i % 40, i % 1000, i % 3);
        out << line;
        const bool series = i % 10 == 0;
        if (series) {
            out << "RRULE:" << rules[(i / 10) % 5] << "\r\n";
            std::snprintf(line, sizeof line, "EXDATE;TZID=%s:%04d%02d%02dT%02d0000\r\n", zone, 2026,
                          12, 1 + (i / 10) % 28, hour);
            out << line;
        }
        out << "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\n"
               "TRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VEVENT\r\n";
        if (series && (i / 10) % 3 == 0) {
            std::snprintf(line, sizeof line,
                          "BEGIN:VEVENT\r\nUID:%08x-%04x-4%03x-a%03x-%012x@example.com\r\n"
                          "RECURRENCE-ID;TZID=%s:%04d%02d%02dT%02d0000\r\n"
                          "DTSTART;TZID=%s:20261211T150000\r\nDTEND;TZID=%s:20261211T160000\r\n"
                          "DTSTAMP:20261201T083000Z\r\nSUMMARY:Project review %d (moved)\r\n"
                          "END:VEVENT\r\n",
                          static_cast<unsigned>(i * 2654435761U), i % 65536, i % 4096, i % 4096,
                          static_cast<unsigned>(i), zone, year, month, day, hour, zone, zone, i);
            out << line;
        }
    }
    out << "END:VCALENDAR\r\n";
    return out.str();
}

} // namespace vantrel::bench
