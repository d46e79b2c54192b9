// vantrel-list: prints the view of a data file as the Today item would show
// it, one line per entry (count text, TAB, date text, TAB, title), and can
// re-save the file in the standard order, export the view as iCalendar and
// add the events and to-dos of iCalendar files.
#include "model/date_parse.h"
#include "native/iconv_codec.h"
#include "native/std_file_access.h"
#include "settings/settings_values.h"
#include "storage/data_file.h"
#include "storage/data_file_path.h"
#include "storage/file_replace.h"
#include "storage/ics_entries.h"
#include "text/builtin_texts.h"
#include "text/utf8.h"
#include "view/view_list.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vantrel;

constexpr const char* kUsage =
    "usage: vantrel-list [--now \"YYYY-MM-DD HH:MM\"] [--filter CODE] [--set Name=Value]...\n"
    "                    [--from-ics IN.ics]... [--ics OUT.ics] [--save OUT] FILE\n"
    "       (FILE may be left out when --from-ics is given: the list starts empty)\n";

struct FixedClock : Clock {
    SystemTime now;
    SystemTime Now() const override { return now; }
};

// Messages go to stderr; there is no one to ask, so dialogs are cancelled.
struct StderrPrompt : Prompt {
    int ShowMessage(std::u16string_view text, std::u16string_view, unsigned) override {
        std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
        ++shown;
        return kIdOk;
    }
    int shown = 0;
    std::size_t askOpenFileName(std::u16string&, std::u16string_view) override { return 0; }
    std::size_t askSaveFileName(std::u16string&, std::u16string_view) override { return 0; }
};

// Nothing of the item's registry is touched from the desktop.
struct NoRegistry : Registry {
    std::unique_ptr<RegistryKey> Open(std::u16string_view) override { return nullptr; }
    std::unique_ptr<RegistryKey> Create(std::u16string_view) override { return nullptr; }
    bool DeleteKey(std::u16string_view) override { return false; }
};

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

bool ApplySetting(Settings& settings, std::string_view assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    const SettingValue* value = FindSettingValue(FromUtf8(assignment.substr(0, equals)));
    if (value == nullptr) {
        return false;
    }
    const std::string_view text = assignment.substr(equals + 1);
    return std::visit(
        [&](auto member) {
            using Field = std::remove_reference_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<Field, std::int32_t>) {
                const std::optional<int> number = ParseInt(text);
                if (number) {
                    settings.*member = *number;
                }
                return number.has_value();
            } else {
                settings.*member = FromUtf8(text);
                return true;
            }
        },
        value->field);
}

SystemTime LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    SystemTime now;
    now.year = static_cast<std::uint16_t>(local.tm_year + 1900);
    now.month = static_cast<std::uint16_t>(local.tm_mon + 1);
    now.day = static_cast<std::uint16_t>(local.tm_mday);
    now.hour = static_cast<std::uint16_t>(local.tm_hour);
    now.minute = static_cast<std::uint16_t>(local.tm_min);
    now.second = static_cast<std::uint16_t>(local.tm_sec);
    return now;
}

std::optional<SystemTime> ParseNow(std::string_view text) {
    const ParsedDateTime parsed = ParseDateTime(text);
    if (!parsed.ok) {
        return std::nullopt;
    }
    SystemTime now;
    now.year = static_cast<std::uint16_t>(parsed.value.year);
    now.month = static_cast<std::uint16_t>(parsed.value.month);
    now.day = static_cast<std::uint16_t>(parsed.value.day);
    if (parsed.value.HasTime()) {
        now.hour = static_cast<std::uint16_t>(parsed.value.hour);
        now.minute = static_cast<std::uint16_t>(parsed.value.minute);
    }
    return now;
}

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// Adds the events and to-dos of an iCalendar file to the own list; false
// (after saying why) when the file cannot be read or holds no calendar.
bool AddFromIcs(DataFileContext& data, const std::string& path) {
    const FileContent content = data.files.Read(FromNativeName(path), kMaxDataFileBytes);
    if (content.status != ReadStatus::kRead) {
        std::fprintf(stderr, "Can't open '%s'\n", path.c_str());
        return false;
    }
    IcsImport found = EntriesFromIcs(content.bytes, data.clock.Now(), data.codec);
    if (!found.parsed) {
        std::fprintf(stderr, "vantrel-list: '%s' holds no iCalendar data\n", path.c_str());
        return false;
    }
    for (const std::string& problem : found.problems) {
        std::fprintf(stderr, "vantrel-list: %s: %s\n", path.c_str(), problem.c_str());
    }
    std::fprintf(stderr,
                 "vantrel-list: %s: %zu entries added; %d recurring events as their next "
                 "occurrence\n",
                 path.c_str(), found.items.size(), found.recurring);
    for (Item& item : found.items) {
        data.store.own.push_back(std::move(item));
    }
    return true;
}

// The view as iCalendar. An existing OUT with other content is kept beside
// it first, as a data file saved over is.
bool WriteIcs(DataFileContext& data, const std::string& name, const std::string& text) {
    const std::u16string path = FromNativeName(name);
    const FileContent before = data.files.Read(path, kMaxDataFileBytes);
    if (before.status != ReadStatus::kRead &&
        (before.identity.exists || before.status != ReadStatus::kCannotOpen)) {
        std::fprintf(stderr, "Can't open '%s'\n", name.c_str());
        return false;
    }
    if (before.status == ReadStatus::kRead && before.bytes != text) {
        std::uint32_t error = 0;
        int attempt = 1;
        std::u16string copy = KeptOriginalName(path, data.clock.Now(), attempt);
        while (data.files.Exists(copy) && attempt < 99) {
            copy = KeptOriginalName(path, data.clock.Now(), ++attempt);
        }
        if (!data.files.CreateNew(copy, before.bytes, error)) {
            std::fprintf(stderr,
                         "vantrel-list: %s is not replaced: no copy of it can be made (%u)\n",
                         name.c_str(), static_cast<unsigned>(error));
            return false;
        }
        std::fprintf(stderr, "vantrel-list: %s: its former content is kept in %s\n", name.c_str(),
                     ToNativeName(copy).c_str());
    }
    const ReplaceResult result =
        ReplaceIfUnchanged(data.files, path, before.identity, text, kMaxDataFileBytes);
    if (result.status == ReplaceStatus::kReplaced) {
        return true;
    }
    if (result.status == ReplaceStatus::kChanged) {
        std::fprintf(stderr, "vantrel-list: %s changed while it was written; it is left as it is\n",
                     name.c_str());
    } else {
        std::fprintf(stderr, "Can't create %s .(%u)\n", name.c_str(),
                     static_cast<unsigned>(result.error));
    }
    return false;
}

int Run(int argc, char** argv) {
    Settings settings;
    std::optional<SystemTime> now;
    std::optional<int> filter;
    std::optional<std::string> saveTo;
    std::optional<std::string> icsTo;
    std::vector<std::string> icsFrom;
    std::optional<std::string> file;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--now" && hasValue) {
            now = ParseNow(argv[++i]);
            if (!now) {
                return Usage();
            }
        } else if (arg == "--filter" && hasValue) {
            filter = ParseInt(argv[++i]);
            if (!filter || *filter < 0 || *filter > kFilterPast) {
                return Usage();
            }
        } else if (arg == "--set" && hasValue) {
            if (!ApplySetting(settings, argv[++i])) {
                std::fprintf(stderr, "vantrel-list: bad setting '%s'\n", argv[i]);
                return Usage();
            }
        } else if (arg == "--save" && hasValue) {
            saveTo = argv[++i];
            if (saveTo->empty()) {
                return Usage();
            }
            if (IsMorvikPath(FromNativeName(*saveTo))) {
                // The Morvik format is read, never written: such a name
                // would hold a data file its own reader takes apart.
                std::fprintf(stderr, "vantrel-list: '%s' is a Morvik file name; save as .vrl\n",
                             saveTo->c_str());
                return 2;
            }
        } else if (arg == "--ics" && hasValue) {
            icsTo = argv[++i];
        } else if (arg == "--from-ics" && hasValue) {
            icsFrom.emplace_back(argv[++i]);
        } else if (!arg.starts_with("--") && !file) {
            file = std::string(arg);
        } else {
            return Usage();
        }
    }
    if (!file && icsFrom.empty()) {
        return Usage();
    }

    IconvCodec codec;
    if (!codec.Available()) {
        std::fputs("vantrel-list: iconv has no CP932\n", stderr);
        return 1;
    }
    FixedClock clock;
    clock.now = now ? *now : LocalNow();
    ItemStore store;
    NoRegistry registry;
    StdFileAccess files;
    StderrPrompt prompt;
    const BuiltinTextTable texts;
    DataFileState fileState;
    DataFileContext data{store, settings, registry, files, prompt, codec, clock, texts, fileState};

    // Temporaries of a run killed during a save are removed, never read.
    for (const std::optional<std::string>* name : {&file, &saveTo, &icsTo}) {
        if (*name) {
            files.RemoveStaleTemporaries(FromNativeName(**name));
        }
    }
    if (file) {
        std::vector<std::string> cuts;
        data.cuts = &cuts;
        readByName(data, FromNativeName(*file));
        data.cuts = nullptr;
        for (const std::string& cut : cuts) {
            std::fprintf(stderr, "vantrel-list: %s: %s\n", file->c_str(), cut.c_str());
        }
        if (prompt.shown > 0) {
            return 1; // the file could not be opened
        }
    }
    for (const std::string& calendar : icsFrom) {
        if (!AddFromIcs(data, calendar)) {
            return 1;
        }
    }

    ViewState view;
    view.sourceMask = kSourceOwnBit;
    ViewContext ctx{store, view, settings, texts, clock, {}, {}};
    refresh(ctx, filter ? *filter : settings.StartFilter);
    if (icsTo) {
        const IcsExport calendar = EntriesToIcs(store.view, clock.now, codec);
        for (const std::string& entry : calendar.leftOut) {
            std::fprintf(stderr, "vantrel-list: %s: %s\n", icsTo->c_str(), entry.c_str());
        }
        if (!WriteIcs(data, *icsTo, calendar.text)) {
            return 1;
        }
    }
    // The item's rules: a file the list did not come from exactly is kept
    // beside it first (and named on stderr); a failure exits non-zero.
    if (saveTo && write(data, FromNativeName(*saveTo)) == 0) {
        return 1;
    }
    // Listed last, so a reader that stops early (| head) cannot stop a save.
    for (const Item& item : store.view) {
        std::printf("%s\t%s\t%s\n", ToUtf8(item.countText).c_str(), ToUtf8(item.dateText).c_str(),
                    ToUtf8(item.title).c_str());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("vantrel-list: the listing could not be written\n", stderr);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Nothing is written before the list is complete, so a failure (out of
    // memory on a huge file, say) leaves every file as it was.
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel-list: %s\n", e.what());
        return 1;
    }
}
