#pragma once

// The text of an iCalendar file as lines and components, with the byte
// ranges they occupy, so that a change can replace exactly the bytes it
// means and keep every other byte.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::ical {

// One content line, unfolded, and the bytes of its physical lines
// (continuations and the final line break included).
struct ContentLine {
    std::size_t begin = 0, end = 0;
    int number = 0; // of its first physical line
    std::string text;
};
std::vector<ContentLine> ContentLines(std::string_view text);

// The property or BEGIN/END name of a content line, in capitals, and its
// value (after the first colon outside quotes).
std::string NameOf(std::string_view line);
std::string_view ValueOf(std::string_view line);

// A component directly inside the VCALENDAR.
struct ComponentSpan {
    std::string name; // VEVENT, VTODO, VTIMEZONE, ...
    std::size_t begin = 0, end = 0;
    std::size_t endLine = 0; // where its END line begins
    int line = 0;
    std::string uid;
    bool hasRecurrenceId = false;
};
struct CalendarSpans {
    bool found = false;                    // a VCALENDAR begins and ends
    bool paired = true;                    // every END closes the BEGIN it names
    std::size_t endLine = 0;               // where END:VCALENDAR begins
    std::string eol = "\r\n";              // the line break the file uses
    std::vector<ComponentSpan> components; // in file order
};
CalendarSpans ScanCalendar(std::string_view text);

// The UID of the first component in `componentText`.
std::string UidOf(std::string_view componentText);

// Text value escaping and line folding for lines this program writes.
std::string Escaped(std::string_view utf8);
std::string Folded(std::string_view line, std::string_view eol);

// Edits inside one component's text: the component's own properties only
// (not those of a nested VALARM).
struct ComponentEdit {
    std::string text; // the component, BEGIN to END line break
    std::string eol;
    // Replaces the first `name` property with `line` (or adds it before
    // END) and removes any others; an empty line removes them all.
    void Set(std::string_view name, std::string_view line);
    void Remove(std::string_view name) { Set(name, {}); }
    // Adds a line just before END.
    void Add(std::string_view line);
    // The component's first `name` property line, unfolded, or empty.
    std::string Get(std::string_view name) const;
};

} // namespace vantrel::ical
