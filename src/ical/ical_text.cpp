#include "ical/ical_text.h"

#include <algorithm>
#include <cctype>

namespace vantrel::ical {
namespace {

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// The first ':' that is not inside a quoted parameter value.
std::size_t ValueColon(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            return i;
        }
    }
    return std::string_view::npos;
}

} // namespace

std::vector<ContentLine> ContentLines(std::string_view text) {
    std::vector<ContentLine> lines;
    std::size_t at = 0;
    int number = 0;
    while (at < text.size()) {
        std::size_t lf = text.find('\n', at);
        const std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        std::size_t contentEnd = lf == std::string_view::npos ? text.size() : lf;
        if (contentEnd > at && text[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        ++number;
        const std::string_view content = text.substr(at, contentEnd - at);
        const bool continuation =
            !lines.empty() && !content.empty() && (content[0] == ' ' || content[0] == '\t');
        if (continuation) {
            lines.back().text.append(content.substr(1));
            lines.back().end = next;
        } else {
            lines.push_back({at, next, number, std::string(content)});
        }
        at = next;
    }
    return lines;
}

std::string NameOf(std::string_view line) {
    const std::size_t end = line.find_first_of(";:");
    return Upper(line.substr(0, end == std::string_view::npos ? line.size() : end));
}

namespace {

// The name of a content line; empty for a BEGIN or END without a value,
// which opens or closes nothing (libical reads it as an error).
std::string LineName(std::string_view line) {
    std::string name = NameOf(line);
    const bool delimiter = name == "BEGIN" || name == "END";
    return delimiter && ValueColon(line) == std::string_view::npos ? std::string() : name;
}

} // namespace

std::string_view ValueOf(std::string_view line) {
    const std::size_t colon = ValueColon(line);
    return colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
}

namespace {

bool SameName(std::string_view name, std::string_view upper) {
    return name.size() == upper.size() &&
           std::equal(name.begin(), name.end(), upper.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == y;
           });
}

// Calls visit(line) for each content line the scan reads (BEGIN, END, UID,
// RECURRENCE-ID, and a line without a name's end), unfolded; the others
// are only stepped over, so a whole calendar is scanned without copying it.
template <class Visit> void ForEachNamedLine(std::string_view text, Visit visit) {
    std::size_t at = 0;
    int number = 0;
    const auto physical = [&](std::size_t from, std::size_t* next) {
        const std::size_t lf = text.find('\n', from);
        *next = lf == std::string_view::npos ? text.size() : lf + 1;
        std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        if (end > from && text[end - 1] == '\r') {
            --end;
        }
        return text.substr(from, end - from);
    };
    while (at < text.size()) {
        ContentLine line;
        line.begin = at;
        line.number = ++number;
        std::size_t next = 0;
        const std::string_view first = physical(at, &next);
        std::size_t last = next;
        bool folded = false;
        while (last < text.size() && (text[last] == ' ' || text[last] == '\t')) {
            std::size_t after = 0;
            physical(last, &after);
            ++number;
            folded = true;
            last = after;
        }
        line.end = last;
        const std::size_t nameEnd = first.find_first_of(";:");
        const std::string_view name =
            first.substr(0, nameEnd == std::string_view::npos ? first.size() : nameEnd);
        const bool wanted = nameEnd == std::string_view::npos || SameName(name, "BEGIN") ||
                            SameName(name, "END") || SameName(name, "UID") ||
                            SameName(name, "RECURRENCE-ID");
        if (wanted) {
            if (folded) {
                for (std::size_t p = line.begin; p < last;) {
                    std::size_t after = 0;
                    const std::string_view part = physical(p, &after);
                    line.text.append(p == line.begin ? part : part.substr(1));
                    p = after;
                }
            } else {
                line.text.assign(first);
            }
            visit(line);
        }
        at = last;
    }
}

} // namespace

CalendarSpans ScanCalendar(std::string_view text) {
    CalendarSpans cal;
    const std::size_t lf = text.find('\n');
    cal.eol = lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
    int depth = 0;
    bool inCalendar = false;
    std::vector<std::string> open;
    ForEachNamedLine(text, [&](const ContentLine& line) {
        const std::string name = LineName(line.text);
        if (name != "BEGIN" && name != "END" && name != "UID" && name != "RECURRENCE-ID") {
            return;
        }
        const std::string value = Upper(ValueOf(line.text));
        if (name == "BEGIN") {
            open.push_back(value);
        } else if (name == "END") {
            cal.paired = cal.paired && !open.empty() && open.back() == value;
            if (!open.empty()) {
                open.pop_back();
            }
        }
        if (name == "BEGIN") {
            if (depth == 0 && value == "VCALENDAR" && !cal.found && !inCalendar) {
                inCalendar = true;
            } else if (depth == 1 && inCalendar) {
                ComponentSpan c;
                c.name = value;
                c.begin = line.begin;
                c.line = line.number;
                cal.components.push_back(c);
            }
            ++depth;
        } else if (name == "END") {
            depth = depth > 0 ? depth - 1 : 0;
            if (depth == 1 && inCalendar && !cal.components.empty()) {
                cal.components.back().end = line.end;
                cal.components.back().endLine = line.begin;
            } else if (depth == 0 && inCalendar && value == "VCALENDAR") {
                cal.found = true;
                inCalendar = false;
                cal.endLine = line.begin;
            }
        } else if (depth == 2 && inCalendar && !cal.components.empty()) {
            ComponentSpan& c = cal.components.back();
            if (name == "UID" && c.uid.empty()) { // the first, as libical reads it
                c.uid = std::string(ValueOf(line.text));
            } else if (name == "RECURRENCE-ID") {
                c.hasRecurrenceId = true;
            }
        }
    });
    cal.paired = cal.paired && open.empty();
    // A component whose END never came is not one.
    std::erase_if(cal.components, [](const ComponentSpan& c) { return c.end == 0; });
    return cal;
}

std::string UidOf(std::string_view componentText) {
    int depth = 0;
    for (const ContentLine& line : ContentLines(componentText)) {
        const std::string name = LineName(line.text);
        if (name == "BEGIN") {
            ++depth;
        } else if (name == "END") {
            --depth;
        } else if (depth == 1 && name == "UID") {
            return std::string(ValueOf(line.text));
        }
    }
    return {};
}

std::string Escaped(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case ';':
            out += "\\;";
            break;
        case ',':
            out += "\\,";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Folded(std::string_view line, std::string_view eol) {
    std::string out;
    std::size_t width = 0;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(line[i]);
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        length = std::min(length, line.size() - i);
        // 75 octets a line, the leading blank of a continuation included.
        if (width + length > 75) {
            out.append(eol);
            out += ' ';
            width = 1;
        }
        out.append(line.substr(i, length));
        width += length;
        i += length;
    }
    out.append(eol);
    return out;
}

void ComponentEdit::Set(std::string_view name, std::string_view line) {
    const std::string wanted = Upper(name);
    std::string out;
    bool placed = line.empty();
    int depth = 0;
    for (const ContentLine& l : ContentLines(text)) {
        const std::string n = LineName(l.text);
        const std::string_view bytes = std::string_view(text).substr(l.begin, l.end - l.begin);
        if (n == "BEGIN") {
            ++depth;
        } else if (n == "END") {
            if (--depth == 0 && !placed) {
                out += Folded(line, eol);
                placed = true;
            }
        } else if (depth == 1 && n == wanted) {
            if (!placed) {
                out += Folded(line, eol);
                placed = true;
            }
            continue;
        }
        out.append(bytes);
    }
    text = std::move(out);
}

void ComponentEdit::Add(std::string_view line) {
    int depth = 0;
    for (const ContentLine& l : ContentLines(text)) {
        const std::string n = LineName(l.text);
        if (n == "BEGIN") {
            ++depth;
        } else if (n == "END" && --depth == 0) {
            text.insert(l.begin, Folded(line, eol));
            return;
        }
    }
}

std::string ComponentEdit::Get(std::string_view name) const {
    const std::string wanted = Upper(name);
    int depth = 0;
    for (const ContentLine& l : ContentLines(text)) {
        const std::string n = LineName(l.text);
        if (n == "BEGIN") {
            ++depth;
        } else if (n == "END") {
            --depth;
        } else if (depth == 1 && n == wanted) {
            return l.text;
        }
    }
    return {};
}

} // namespace vantrel::ical
