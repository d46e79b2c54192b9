// resources/resource_ids.h against the files that use its names: the two
// .rc files and vantrel.def. No two ids of one kind share a value unless
// the header marks the sharing as intended; no dialog holds a control id
// twice and no menu a command id; the .rc files name every id.

#include "resource_ids.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace vantrel {
namespace {

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(VANTREL_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// ---- The header ----------------------------------------------------------

enum class Kind { kResource, kControl, kCommand, kOrdinal, kNone };

// Icons, menus and dialogs share one kind: a number two of them share is
// marked even where the resource types differ.
Kind KindOf(const std::string& name) {
    if (StartsWith(name, "IDI_") || StartsWith(name, "IDR_") || StartsWith(name, "IDD_")) {
        return Kind::kResource;
    }
    if (StartsWith(name, "IDC_")) {
        return Kind::kControl;
    }
    if (StartsWith(name, "IDM_")) {
        return Kind::kCommand;
    }
    return StartsWith(name, "ORDINAL_") ? Kind::kOrdinal : Kind::kNone;
}

struct HeaderId {
    std::string name;
    int value = 0;
    std::string sharedWith; // the "shared with NAME:" comment right above
    int line = 0;
};

struct Header {
    std::vector<HeaderId> ids; // in file order, IDC_STATIC left out
    std::map<std::string, int> values;
    std::vector<std::string> problems;
};

Header ReadHeader(const std::string& text) {
    static const std::regex define(R"(#define\s+(\w+)(.*))");
    static const std::regex number(R"(\s*(\(-1\)|\d+)\s*(//.*)?)");
    static const std::regex shared(R"(//\s*shared with (\w+):.*)");
    Header header;
    std::string pending;
    int lineNumber = 0;
    for (const std::string& line : Lines(text)) {
        ++lineNumber;
        std::smatch m;
        if (std::regex_match(line, m, shared)) {
            pending = m[1];
            continue;
        }
        if (StartsWith(line, "//")) {
            continue; // a marker holds through the rest of its comment
        }
        if (std::regex_match(line, m, define) && m[1] != "VANTREL_RESOURCE_IDS_H") {
            const std::string name = m[1], rest = m[2];
            std::smatch v;
            if (!std::regex_match(rest, v, number)) {
                header.problems.push_back(name + " is not a plain number:" + rest);
            } else if (name == "IDC_STATIC") {
                header.values[name] = -1;
            } else {
                const int value = v[1] == "(-1)" ? -1 : std::stoi(v[1]);
                header.ids.push_back({name, value, pending, lineNumber});
                header.values[name] = value;
            }
        }
        pending.clear();
    }
    return header;
}

const Header& TheHeader() {
    static const Header header = ReadHeader(ReadSource("resources/resource_ids.h"));
    return header;
}

// ---- The .rc files -------------------------------------------------------

struct RcId {
    std::string name; // the name the expression starts from
    int value = 0;
    int line = 0;
};

struct RcBlock {
    std::string type; // DIALOG, MENU, ICON, ...
    std::string name;
    std::optional<RcId> id;    // for DIALOG, MENU and ICON
    std::vector<RcId> entries; // controls of a dialog, commands of a menu
};

struct RcFile {
    std::vector<RcBlock> blocks;
    std::vector<std::string> problems;
};

// The id an expression stands for: a name of the header (or IDOK and
// IDCANCEL of the platform), maybe plus or minus a number. A bare number
// is a problem: the .rc files name their ids.
std::optional<RcId> Evaluate(const std::string& expression, int line,
                             std::vector<std::string>& problems) {
    static const std::regex form(R"(\s*([A-Za-z_]\w*)\s*(?:([+-])\s*(\d+))?\s*)");
    static const std::map<std::string, int> platform{{"IDOK", 1}, {"IDCANCEL", 2}};
    std::smatch m;
    if (!std::regex_match(expression, m, form)) {
        problems.push_back("line " + std::to_string(line) + ": not a named id: " + expression);
        return std::nullopt;
    }
    const std::string name = m[1];
    const auto& values = TheHeader().values;
    int value = 0;
    if (const auto found = values.find(name); found != values.end()) {
        value = found->second;
    } else if (const auto known = platform.find(name); known != platform.end()) {
        value = known->second;
    } else {
        problems.push_back("line " + std::to_string(line) + ": unknown name " + name);
        return std::nullopt;
    }
    if (m[2].matched) {
        const int offset = std::stoi(m[3]);
        value += m[2] == "+" ? offset : -offset;
    }
    return RcId{name, value, line};
}

// The arguments of a statement, split at the commas outside quotes.
std::vector<std::string> Arguments(const std::string& text) {
    std::vector<std::string> arguments(1);
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        }
        if (c == ',' && !quoted) {
            arguments.emplace_back();
        } else {
            arguments.back().push_back(c);
        }
    }
    for (std::string& argument : arguments) {
        argument = Trimmed(argument);
    }
    return arguments;
}

std::string WithoutComment(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && line.compare(i, 2, "//") == 0) {
            return line.substr(0, i);
        }
    }
    return line;
}

// The ids one control line declares. The .rc macros NUMBER, LIST and
// SWATCH take the id first; NUMBER's up-down takes the id after it.
void ReadControl(const std::string& line, int lineNumber, RcBlock& dialog,
                 std::vector<std::string>& problems) {
    static const std::regex call(R"((\w+)\s*\((.*)\))");
    static const std::map<std::string, int> macroIds{{"NUMBER", 2}, {"LIST", 1}, {"SWATCH", 1}};
    std::smatch m;
    std::vector<std::string> arguments;
    int count = 1;
    if (std::regex_match(line, m, call)) {
        const auto macro = macroIds.find(m[1]);
        if (macro == macroIds.end()) {
            problems.push_back("line " + std::to_string(lineNumber) + ": unknown macro " +
                               std::string(m[1]));
            return;
        }
        arguments = Arguments(m[2]);
        count = macro->second;
    } else {
        const std::size_t space = line.find_first_of(" \t");
        arguments = Arguments(space == std::string::npos ? "" : line.substr(space));
        if (!arguments.empty() && StartsWith(arguments[0], "\"")) {
            arguments.erase(arguments.begin()); // the control's text
        }
    }
    if (arguments.empty()) {
        problems.push_back("line " + std::to_string(lineNumber) + ": no id: " + line);
        return;
    }
    if (const std::optional<RcId> id = Evaluate(arguments[0], lineNumber, problems)) {
        for (int i = 0; i < count; ++i) {
            dialog.entries.push_back(RcId{id->name, id->value + i, lineNumber});
        }
    }
}

RcFile ReadRc(const std::string& text) {
    static const std::set<std::string> attributes{"STYLE",    "EXSTYLE", "CAPTION",
                                                  "FONT",     "CLASS",   "MENU",
                                                  "LANGUAGE", "VERSION", "CHARACTERISTICS"};
    RcFile rc;
    int depth = 0;
    bool continued = false; // inside a #define that goes on
    int lineNumber = 0;
    for (const std::string& raw : Lines(text)) {
        ++lineNumber;
        const std::string line = Trimmed(WithoutComment(raw));
        if (continued || StartsWith(line, "#")) {
            continued = !line.empty() && line.back() == '\\';
            continue;
        }
        if (line.empty()) {
            continue;
        }
        if (line == "BEGIN" || line == "{") {
            ++depth;
            continue;
        }
        if (line == "END" || line == "}") {
            --depth;
            continue;
        }
        const std::size_t space = line.find_first_of(" \t");
        const std::string first = line.substr(0, space);
        if (depth == 0) {
            if (!rc.blocks.empty() && attributes.count(first) != 0) {
                continue; // of the dialog above
            }
            RcBlock block;
            block.name = first;
            if (space != std::string::npos) {
                const std::string rest = Trimmed(line.substr(space));
                block.type = rest.substr(0, rest.find_first_of(" \t"));
            }
            if (block.type == "DIALOG" || block.type == "DIALOGEX" || block.type == "MENU" ||
                block.type == "MENUEX" || block.type == "ICON") {
                block.id = Evaluate(block.name, lineNumber, rc.problems);
            } else if (!block.name.empty() &&
                       block.name.find_first_not_of("0123456789") == std::string::npos) {
                rc.problems.push_back("line " + std::to_string(lineNumber) +
                                      ": resource by bare number " + block.name);
            }
            rc.blocks.push_back(block);
            continue;
        }
        if (rc.blocks.empty()) {
            continue;
        }
        RcBlock& block = rc.blocks.back();
        if (StartsWith(block.type, "DIALOG") && depth == 1) {
            ReadControl(line, lineNumber, block, rc.problems);
        } else if (StartsWith(block.type, "MENU") && first == "MENUITEM" &&
                   line.find("SEPARATOR") == std::string::npos) {
            const std::vector<std::string> arguments = Arguments(line.substr(space));
            if (arguments.size() < 2) {
                rc.problems.push_back("line " + std::to_string(lineNumber) + ": no id: " + line);
            } else if (const std::optional<RcId> id =
                           Evaluate(arguments[1], lineNumber, rc.problems)) {
                block.entries.push_back(*id);
            }
        }
    }
    return rc;
}

// The blocks of both .rc files; what they cannot read fails the test.
std::vector<RcBlock> TheBlocks() {
    std::vector<RcBlock> blocks;
    for (const char* file : {"resources/vantrel.rc", "resources/options_dialogs.rc"}) {
        const RcFile rc = ReadRc(ReadSource(file));
        for (const std::string& problem : rc.problems) {
            ADD_FAILURE() << file << ' ' << problem;
        }
        blocks.insert(blocks.end(), rc.blocks.begin(), rc.blocks.end());
    }
    return blocks;
}

std::vector<RcBlock> BlocksOf(const std::vector<RcBlock>& blocks, const std::string& type) {
    std::vector<RcBlock> found;
    for (const RcBlock& block : blocks) {
        if (block.type == type) {
            found.push_back(block);
        }
    }
    return found;
}

// The first two entries with one value, or nothing.
std::optional<std::pair<RcId, RcId>> Repeated(const std::vector<RcId>& ids) {
    std::map<int, RcId> seen;
    for (const RcId& id : ids) {
        const auto [at, fresh] = seen.emplace(id.value, id);
        if (!fresh) {
            return std::make_pair(at->second, id);
        }
    }
    return std::nullopt;
}

// ---- The tests -----------------------------------------------------------

TEST(ResourceIds, EveryNameIsAPlainNumberOfOneKind) {
    const Header& header = TheHeader();
    for (const std::string& problem : header.problems) {
        ADD_FAILURE() << problem;
    }
    EXPECT_GT(header.ids.size(), 150u);
    for (const HeaderId& id : header.ids) {
        EXPECT_NE(KindOf(id.name), Kind::kNone) << id.name;
        EXPECT_GE(id.value, 1) << id.name; // ids travel in a WORD
        EXPECT_LE(id.value, 0xFFFF) << id.name;
    }
    // The parse reads what the compiler reads.
    EXPECT_EQ(header.values.at("IDC_STATIC"), IDC_STATIC);
    EXPECT_EQ(header.values.at("IDD_TAG_SEARCH"), IDD_TAG_SEARCH);
    EXPECT_EQ(header.values.at("IDM_BAR_CANCEL"), IDM_BAR_CANCEL);
    EXPECT_EQ(header.values.at("ORDINAL_CUSTOMITEMOPTIONSDLGPROC"),
              ORDINAL_CUSTOMITEMOPTIONSDLGPROC);
}

TEST(ResourceIds, SharedValuesAreExactlyTheMarkedOnes) {
    const Header& header = TheHeader();
    std::map<std::pair<Kind, int>, std::vector<const HeaderId*>> byValue;
    std::map<std::string, const HeaderId*> byName;
    for (const HeaderId& id : header.ids) {
        byValue[{KindOf(id.name), id.value}].push_back(&id);
        byName[id.name] = &id;
    }
    // Each later name of a shared value marks an earlier one ...
    for (const auto& [key, ids] : byValue) {
        for (std::size_t i = 1; i < ids.size(); ++i) {
            bool marked = false;
            for (std::size_t j = 0; j < i; ++j) {
                marked = marked || ids[i]->sharedWith == ids[j]->name;
            }
            EXPECT_TRUE(marked) << ids[i]->name << " shares " << key.second << " with "
                                << ids[0]->name << " unmarked (line " << ids[i]->line << ")";
        }
    }
    // ... and a mark names an earlier id of the same kind and value.
    int marks = 0;
    for (const HeaderId& id : header.ids) {
        if (id.sharedWith.empty()) {
            continue;
        }
        ++marks;
        const auto other = byName.find(id.sharedWith);
        ASSERT_NE(other, byName.end()) << id.name << " marks unknown " << id.sharedWith;
        EXPECT_LT(other->second->line, id.line) << id.name;
        EXPECT_EQ(KindOf(other->second->name), KindOf(id.name)) << id.name;
        EXPECT_EQ(other->second->value, id.value)
            << id.name << " is marked shared with " << id.sharedWith << " but differs";
    }
    // Dialog and menu bar 109, 1019 in two dialogs, キャンセル and 追加: a new
    // sharing is a decision taken here too.
    EXPECT_EQ(marks, 3);
}

TEST(ResourceIds, NoDialogHoldsAControlIdTwice) {
    const std::vector<RcBlock> dialogs = BlocksOf(TheBlocks(), "DIALOG");
    EXPECT_EQ(dialogs.size(), 13u);
    for (const RcBlock& dialog : dialogs) {
        std::vector<RcId> ids;
        for (const RcId& id : dialog.entries) {
            if (id.value != IDC_STATIC) {
                ids.push_back(id);
            }
        }
        if (const auto twice = Repeated(ids)) {
            ADD_FAILURE() << dialog.name << ": " << twice->first.name << " (line "
                          << twice->first.line << ") and " << twice->second.name << " (line "
                          << twice->second.line << ") are both " << twice->first.value;
        }
    }
}

TEST(ResourceIds, NoMenuHoldsACommandIdTwice) {
    const std::vector<RcBlock> menus = BlocksOf(TheBlocks(), "MENU");
    EXPECT_EQ(menus.size(), 2u);
    for (const RcBlock& menu : menus) {
        EXPECT_FALSE(menu.entries.empty()) << menu.name;
        if (const auto twice = Repeated(menu.entries)) {
            ADD_FAILURE() << menu.name << ": " << twice->first.name << " and " << twice->second.name
                          << " are both " << twice->first.value;
        }
    }
}

TEST(ResourceIds, DialogsAreDistinctAndMenusAreDistinct) {
    const std::vector<RcBlock> blocks = TheBlocks();
    for (const char* type : {"DIALOG", "MENU", "ICON"}) {
        std::vector<RcId> ids;
        for (const RcBlock& block : BlocksOf(blocks, type)) {
            ASSERT_TRUE(block.id.has_value()) << block.name;
            ids.push_back(*block.id);
        }
        if (const auto twice = Repeated(ids)) {
            ADD_FAILURE() << type << ' ' << twice->first.name << " and " << twice->second.name
                          << " are both " << twice->first.value;
        }
    }
}

// Each name has one place: a dialog or menu or icon resource of its own
// kind, a control of one dialog, a command of at most one menu.
TEST(ResourceIds, EveryNameIsUsedInItsOwnPlace) {
    const std::vector<RcBlock> blocks = TheBlocks();
    std::map<std::string, std::set<std::string>> placesOf; // name -> the blocks using it
    for (const RcBlock& block : blocks) {
        if (block.id) {
            const std::string prefix = block.type == "DIALOG" ? "IDD_"
                                       : block.type == "MENU" ? "IDR_"
                                                              : "IDI_";
            EXPECT_TRUE(StartsWith(block.id->name, prefix)) << block.type << ' ' << block.name;
            placesOf[block.id->name].insert(block.type);
        }
        for (const RcId& entry : block.entries) {
            if (block.type == "MENU") {
                EXPECT_TRUE(StartsWith(entry.name, "IDM_")) << block.name << ' ' << entry.name;
            } else {
                EXPECT_TRUE(StartsWith(entry.name, "IDC_") || entry.name == "IDOK" ||
                            entry.name == "IDCANCEL")
                    << block.name << ' ' << entry.name;
            }
            placesOf[entry.name].insert(block.name);
        }
    }
    for (const HeaderId& id : TheHeader().ids) {
        const std::size_t places = placesOf[id.name].size();
        switch (KindOf(id.name)) {
        case Kind::kResource:
        case Kind::kControl:
            EXPECT_EQ(places, 1u) << id.name;
            break;
        case Kind::kCommand:
            EXPECT_LE(places, 1u) << id.name;
            break;
        default:
            EXPECT_EQ(places, 0u) << id.name;
            break;
        }
    }
}

// vantrel.def cannot include the header: its ordinals are checked here.
TEST(ResourceIds, TheDefFileExportsAtTheNamedOrdinals) {
    static const std::regex exported(R"(\s*(\w+)\s+@(\d+).*)");
    std::map<std::string, int> ordinals;
    for (const std::string& line : Lines(ReadSource("resources/vantrel.def"))) {
        std::smatch m;
        if (std::regex_match(line, m, exported)) {
            std::string name = "ORDINAL_";
            for (const char c : std::string(m[1])) {
                name.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
            }
            ordinals[name] = std::stoi(m[2]);
        }
    }
    std::map<std::string, int> named;
    for (const HeaderId& id : TheHeader().ids) {
        if (KindOf(id.name) == Kind::kOrdinal) {
            named[id.name] = id.value;
        }
    }
    EXPECT_EQ(named.size(), 2u);
    EXPECT_EQ(ordinals, named);
}

} // namespace
} // namespace vantrel
