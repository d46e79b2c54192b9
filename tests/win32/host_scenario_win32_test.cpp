// A user's day through the real host and module: the host runs a script
// (taps, menus, dialogs, options, a clock passing midnight), then a second
// host starts on what the first left behind.

#include "resource_ids.h"
#include "win32/item_harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <random>
#include <sstream>
#include <string>

namespace {

using namespace vantrel::testing;

// vantrel-host running with `arguments`, for a test that acts while it runs.
class HostRun {
  public:
    explicit HostRun(const std::wstring& arguments) {
        std::wstring command = L"\"" + BinFolder() + L"\\vantrel-host.exe\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  BinFolder().c_str(), &startup, &process_) != FALSE;
    }
    ~HostRun() {
        if (started_) {
            Finish();
        }
    }
    HostRun(const HostRun&) = delete;
    HostRun& operator=(const HostRun&) = delete;

    // Waits for the host to end (two minutes at most: then it is ended);
    // its exit code.
    DWORD Finish() {
        if (!started_) {
            return 1000;
        }
        started_ = false;
        if (WaitForSingleObject(process_.hProcess, 120000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1002);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        DWORD code = 1001;
        GetExitCodeProcess(process_.hProcess, &code);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        return code;
    }

    // Ends the host at once, as a crash or a pulled battery would.
    void Kill() {
        if (!started_) {
            return;
        }
        started_ = false;
        TerminateProcess(process_.hProcess, 1003);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    // A dialog the host shows, once one is up (null after a minute).
    HWND Dialog() const {
        struct Search {
            DWORD process;
            HWND found;
        } search{process_.dwProcessId, nullptr};
        for (int i = 0; i < 1200 && search.found == nullptr; ++i) {
            EnumWindows(
                [](HWND window, LPARAM param) -> BOOL {
                    auto& s = *reinterpret_cast<Search*>(param);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    wchar_t name[16] = {};
                    GetClassNameW(window, name, 16);
                    if (owner == s.process && std::wstring(name) == L"#32770" &&
                        IsWindowVisible(window)) {
                        s.found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found == nullptr) {
                Sleep(50);
            }
        }
        return search.found;
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// Runs vantrel-host with `arguments`; its exit code.
DWORD RunHost(const std::wstring& arguments) {
    return HostRun(arguments).Finish();
}

// True once the file holds `text` (false after a minute).
bool WaitForText(const std::wstring& path, const std::string& text) {
    for (int i = 0; i < 1200; ++i) {
        if (FileBytes(path).find(text) != std::string::npos) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

// A file's bytes through a handle that allows no other.
std::string HeldBytes(HANDLE file) {
    std::string bytes;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    return bytes;
}

// Records of a data file: each ends at CR LF, and no other CR or LF occurs.
int Records(const std::string& bytes) {
    int records = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++records;
            ++i;
        } else if (bytes[i] == '\r' || bytes[i] == '\n') {
            return -1;
        }
    }
    return records;
}

// The log's "label TAB line" entries.
std::multimap<std::string, std::string> Copies(const std::wstring& path) {
    std::multimap<std::string, std::string> copies;
    std::istringstream in(FileBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        copies.emplace(line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1));
    }
    return copies;
}

std::string Utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

bool AnyContains(const std::multimap<std::string, std::string>& copies, const std::string& label,
                 const std::string& text) {
    const auto [first, last] = copies.equal_range(label);
    for (auto it = first; it != last; ++it) {
        if (it->second.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// Script lines naming the module's ids; the script takes their numbers.
std::string Menu(int id) {
    return "menu " + std::to_string(id) + "\n";
}

std::string DialogLine(const char* verb, int id, const std::string& rest = "") {
    return std::string("dialog ") + verb + " " + std::to_string(id) +
           (rest.empty() ? "" : " " + rest) + "\n";
}

std::string Lines(const char* label, int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) {
        lines += std::string("copy ") + label + "\nkey down\n";
    }
    return lines;
}

TEST(HostScenario, AUsersDay) {
    const std::wstring root = DriveRoot() + L"vantrel_day\\";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring data = root + L"day.vrl", store = root + L"store.txt",
                       log = root + L"log.txt", script = root + L"day.txt",
                       next = root + L"next.txt";
    const std::wstring examples = BinFolder() + L"\\..\\..\\..\\examples\\";
    ASSERT_TRUE(CopyFileW((examples + L"sample.vrl").c_str(), data.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((examples + L"outlook-store.txt").c_str(), store.c_str(), FALSE));
    DeleteFileW(log.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    SetDword(L"ViewLine", 40); // a whole day on one page of the large screen
    const std::string logLine = "log " + Utf8(log.c_str()) + "\n";
    PutFile(script, logLine +
                        "now 2026-12-08 09:00\npoll\n"
                        "copy first\n"
                        "answer yes\ntap 8 8\n" // the first line's check box
                        "copy checked\n" +
                        DialogLine("text", IDC_ENTRY_TITLE, "通院") + "dialog ok\n" +
                        Menu(IDM_ADD) + DialogLine("text", IDC_TAG_SEARCH_TEXT, "通院") +
                        "dialog ok\n" + Menu(IDM_FILTER_SEARCH) + "copy found\n" +
                        Menu(IDM_DELETE) +                       // confirmed
                        Menu(IDM_FILTER_TODAY) + "key right\n" + // then a day on
                        Lines("tomorrow", 40) + DialogLine("text", IDC_TAG_SEARCH_TEXT, "家族") +
                        "dialog ok\n" + Menu(IDM_FILTER_TAG) + Lines("tag", 40) +
                        // Options: start with すべて, 範囲＋2 in the palette's red.
                        "dialog page 0\n" + DialogLine("check", IDC_BASIC_FILTER_BOX, "on") +
                        DialogLine("pick", IDC_BASIC_FILTER_LIST, "0") + "dialog page 5\n" +
                        DialogLine("command", IDC_COLOUR_BUTTON) + "dialog ok\ndialog next\n" +
                        DialogLine("command", IDC_CHOOSER_PALETTE + 8) +
                        "dialog ok\noptions\n"
                        "now 2026-12-08 23:59\n" +
                        Menu(IDM_FILTER_TOMORROW) + Lines("before", 40) + "advance 2\npoll\n" +
                        Lines("after", 40));
    ASSERT_EQ(RunHost(L"--hires --data \"" + data + L"\" --store \"" + store + L"\" --script \"" +
                      script + L"\""),
              0u);

    auto copies = Copies(log);
    EXPECT_EQ(copies.find("first")->second, "2026-12-24\tクリスマス\t0\tイベント");
    EXPECT_EQ(copies.find("checked")->second, "2026-12-08T09:00\tクリスマス\t0\tイベント");
    EXPECT_EQ(copies.find("found")->second, "2026-12-08\t通院\t0");
    // Paged from 今日 to the 9th: the store's appointments of that day.
    EXPECT_TRUE(AnyContains(copies, "tomorrow", "月次報告会"));
    EXPECT_TRUE(AnyContains(copies, "tomorrow", "燃えないゴミ"));
    EXPECT_FALSE(AnyContains(copies, "tomorrow", "健康診断(市民病院)")); // the 8th's
    EXPECT_TRUE(AnyContains(copies, "tag", "京都旅行"));
    EXPECT_FALSE(AnyContains(copies, "tag", "燃えないゴミ"));
    // 明日 at 23:59 is the 9th; two minutes later the day has turned.
    EXPECT_TRUE(AnyContains(copies, "before", "燃えないゴミ"));
    EXPECT_FALSE(AnyContains(copies, "after", "燃えないゴミ"));
    EXPECT_TRUE(AnyContains(copies, "after", "企画書を提出"));

    // On disk: the check, and the added entry deleted again.
    const std::string file = FileBytes(data);
    EXPECT_NE(file.find("2026/12/24,,\x83\x4e\x83\x8a\x83\x58\x83\x7d\x83\x58,"),
              std::string::npos);
    EXPECT_NE(file.find(",1,1,2026/12/08 09:00\r\n"), std::string::npos);
    EXPECT_EQ(file.find("\x92\xca\x89\x40"), std::string::npos); // 通院 in Shift_JIS
    EXPECT_EQ(GetDword(L"CrDataTx5"), 0x0000FFu);
    EXPECT_EQ(GetDword(L"StartFilter"), 0u);

    // A new host starts with すべて: the first line is still the pinned one.
    DeleteFileW(log.c_str());
    PutFile(next, logLine + "now 2026-12-09 08:00\npoll\ncopy restarted\n");
    ASSERT_EQ(RunHost(L"--hires --store \"" + store + L"\" --script \"" + next + L"\""), 0u);
    copies = Copies(log);
    EXPECT_EQ(copies.find("restarted")->second, "2026-12-08T09:00\tクリスマス\t0\tイベント");
    // Saved again at start-up, in the new day's order, with the same entries.
    const std::string again = FileBytes(data);
    EXPECT_EQ(again.size(), file.size());
    EXPECT_NE(again.find(",1,1,2026/12/08 09:00\r\n"), std::string::npos);
    EXPECT_EQ(again.find("\x92\xca\x89\x40"), std::string::npos);
    for (const std::wstring& path : {data, store, log, script, next}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

// The data file through the real host: a line break typed into the edit
// dialog is stored as a blank, and a file another program holds at start-up
// is never written over; once it is free, a file not in the item's own
// form is kept whole before the first change.
TEST(HostScenario, TheDataFileSurvivesAHolderAndLineBreaks) {
    const std::wstring root = DriveRoot() + L"vantrel_safety\\";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring data = root + L"v.vrl", script = root + L"add.txt",
                       prompts = root + L"prompts.txt";
    // LF only, as another program may write it: not what the item writes.
    const std::string original = "2026/12/10,,kept,,,\n2026/12/11,,also,,,\n";
    PutFile(data, original);
    DeleteFileW(prompts.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    SetEnvironmentVariableW(L"VANTREL_ANSWER", L"ok");
    SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", prompts.c_str());
    PutFile(script, "now 2026-12-08 09:00\npoll\n" +
                        DialogLine("text", IDC_ENTRY_TITLE, "first\\r\\nsecond\\nthird") +
                        "dialog ok\n" + Menu(IDM_ADD));
    const std::wstring arguments = L"--data \"" + data + L"\" --script \"" + script + L"\"";

    HANDLE holder = CreateFileW(data.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunHost(arguments), 0u);
    CloseHandle(holder);
    EXPECT_EQ(FileBytes(data), original);
    const std::string said = FileBytes(prompts);
    EXPECT_NE(said.find("error\tCan't open"), std::string::npos);
    EXPECT_NE(said.find(" (32)"), std::string::npos); // not saved: the original is held

    EXPECT_EQ(RunHost(arguments), 0u);
    const std::wstring kept = data + L".orig-20261208-0900";
    EXPECT_EQ(FileBytes(kept), original);
    EXPECT_EQ(FileBytes(data), "2026/12/08,,first second third,,,\r\n"
                               "2026/12/10,,kept,,,\r\n2026/12/11,,also,,,\r\n");
    EXPECT_NE(FileBytes(prompts).find("orig-20261208-0900"), std::string::npos);

    SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
    SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", nullptr);
    for (const std::wstring& path : {data, kept, script, prompts}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

// Another program holds the data file with no sharing while the host starts
// and while the user adds an entry: nothing is written. Once it lets go, the
// next change in the same session is applied to what the file holds, with
// the entry that could not be saved before: nothing is lost, nothing copied.
TEST(HostScenario, AFileHeldAtStartUpGetsTheChangesOnceItIsFree) {
    const std::wstring root = DriveRoot() + L"vantrel_held\\";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring data = root + L"held.vrl", script = root + L"add.txt",
                       prompts = root + L"prompts.txt", kept = data + L".orig-20261208-0900";
    const std::string original = "2026/12/10,,kept,,,\r\n2026/12/11,,also,,,\r\n";
    PutFile(data, original);
    DeleteFileW(prompts.c_str());
    DeleteFileW(kept.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    SetEnvironmentVariableW(L"VANTREL_ANSWER", L"ok");
    SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", prompts.c_str());
    // The second 追加 has no actions queued: its dialog waits for the test.
    PutFile(script, "now 2026-12-08 09:00\npoll\n" + DialogLine("text", IDC_ENTRY_TITLE, "first") +
                        "dialog ok\n" + Menu(IDM_ADD) + Menu(IDM_ADD));

    HANDLE holder = CreateFileW(data.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    HostRun host(L"--data \"" + data + L"\" --now \"2026-12-08 09:00\" --script \"" + script +
                 L"\"");
    // Started, and the first entry added, while the file is held.
    EXPECT_TRUE(WaitForText(prompts, "\n" + Utf8(data.c_str()) + " (32)"));
    EXPECT_NE(FileBytes(prompts).find("error\tCan't open '" + Utf8(data.c_str()) + "'"),
              std::string::npos);
    HWND dialog = host.Dialog();
    EXPECT_EQ(HeldBytes(holder), original);
    CloseHandle(holder);
    EXPECT_EQ(FileBytes(data), original);
    EXPECT_EQ(GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_ENTRY_TITLE, L"second");
    SendMessageTimeoutW(dialog, WM_COMMAND, IDM_BAR_OK, 0, SMTO_NORMAL, 60000, nullptr);
    EXPECT_EQ(host.Finish(), 0u);
    EXPECT_EQ(GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FileBytes(data), original + "2026/12/08,,first,,,\r\n2026/12/08,,second,,,\r\n");

    SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
    SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", nullptr);
    for (const std::wstring& path : {data, kept, script, prompts}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

// A sync tool appends a record while the user's 追加 dialog is open: the
// item's save applies its one change to the file as it is now, so both
// records end in the file.
TEST(HostScenario, AnotherProgramsRecordSurvivesAnAdd) {
    const std::wstring root = DriveRoot() + L"vantrel_synced\\";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring data = root + L"synced.vrl", script = root + L"add.txt",
                       prompts = root + L"prompts.txt";
    const std::string mine = "2026/12/10,,mine,,,\r\n";
    PutFile(data, mine);
    DeleteFileW(prompts.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    SetEnvironmentVariableW(L"VANTREL_ANSWER", L"ok");
    SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", prompts.c_str());
    PutFile(script, "now 2026-12-08 09:00\npoll\n" + Menu(IDM_ADD));

    HostRun host(L"--data \"" + data + L"\" --now \"2026-12-08 09:00\" --script \"" + script +
                 L"\"");
    HWND dialog = host.Dialog();
    ASSERT_NE(dialog, nullptr);
    const std::string theirs = "2026/12/11,,theirs,,,\r\n";
    PutFile(data, mine + theirs);
    SetDlgItemTextW(dialog, IDC_ENTRY_TITLE, L"new");
    SendMessageTimeoutW(dialog, WM_COMMAND, IDM_BAR_OK, 0, SMTO_NORMAL, 60000, nullptr);
    EXPECT_EQ(host.Finish(), 0u);
    EXPECT_EQ(FileBytes(data), mine + theirs + "2026/12/08,,new,,,\r\n");
    EXPECT_EQ(FileBytes(prompts), ""); // nothing to tell: nothing was lost

    SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
    SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", nullptr);
    for (const std::wstring& path : {data, script, prompts}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

// The host ended at random moments while it saves a 5 MB data file: the
// file is always the old or the new content, and the next start removes
// what a killed save left.
TEST(HostScenario, AKilledSaveLeavesTheOldOrTheNewFile) {
    const std::wstring root = DriveRoot() + L"vantrel_killed\\";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring data = root + L"big.vrl", script = root + L"add.txt";
    std::string old;
    for (int i = 0; old.size() < (5u << 20); ++i) {
        char date[16];
        std::snprintf(date, sizeof date, "2026/%02d/%02d", 1 + i % 12, 1 + i % 28);
        old += std::string(date) + ",,entry " + std::to_string(i) + " " + std::string(40, 'x') +
               ",,,\r\n";
    }
    PutFile(script, "now 2026-12-08 09:00\npoll\n" + DialogLine("text", IDC_ENTRY_TITLE, "new") +
                        "dialog ok\n" + Menu(IDM_ADD));
    SetEnvironmentVariableW(L"VANTREL_ANSWER", L"ok");
    const std::wstring arguments =
        L"--data \"" + data + L"\" --now \"2026-12-08 09:00\" --script \"" + script + L"\"";
    const auto isTemporary = [](const std::wstring& name) {
        return name.size() >= 8 && name.compare(0, 3, L"vrl") == 0 &&
               name.compare(name.size() - 4, 4, L".tmp") == 0;
    };
    const auto temporaries = [&] {
        int count = 0;
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((root + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                count += isTemporary(found.cFileName) ? 1 : 0;
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        return count;
    };

    PutFile(data, old);
    const DWORD begun = GetTickCount();
    ASSERT_EQ(RunHost(arguments), 0u);
    const DWORD whole = GetTickCount() - begun;
    const std::string saved = FileBytes(data);
    ASSERT_NE(saved, old);
    ASSERT_NE(saved.find(",,new,,,\r\n"), std::string::npos);

    std::mt19937 random(26);
    for (int i = 0; i < 100; ++i) {
        PutFile(data, old);
        HostRun host(arguments);
        Sleep(std::uniform_int_distribution<DWORD>(0, whole)(random));
        host.Kill();
        const std::string now = FileBytes(data);
        ASSERT_TRUE(now == old || now == saved) << "kill " << i << ": " << now.size() << " bytes";
    }
    PutFile(data, old);
    ASSERT_EQ(RunHost(arguments), 0u); // the next start
    EXPECT_EQ(FileBytes(data), saved);
    EXPECT_EQ(temporaries(), 0);

    SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
    for (const std::wstring& path : {data, script}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

// Editors and sync tools keep a file open for writing and share it: the
// host still reads it, and leaves it as it is.
TEST(HostScenario, AFileOpenForWritingElsewhereIsRead) {
    const std::wstring root = DriveRoot() + L"vantrel_shared\\";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring data = root + L"shared.vrl", script = root + L"read.txt",
                       log = root + L"log.txt", prompts = root + L"prompts.txt";
    const std::string original = "2026/12/10,,shared,,,\r\n";
    PutFile(data, original);
    DeleteFileW(log.c_str());
    DeleteFileW(prompts.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    SetEnvironmentVariableW(L"VANTREL_ANSWER", L"ok");
    SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", prompts.c_str());
    PutFile(script, "log " + Utf8(log.c_str()) + "\nnow 2026-12-08 09:00\npoll\ncopy first\n");

    HANDLE editor =
        CreateFileW(data.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(editor, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunHost(L"--data \"" + data + L"\" --script \"" + script + L"\""), 0u);
    EXPECT_EQ(FileBytes(data), original);
    CloseHandle(editor);
    EXPECT_EQ(Copies(log).find("first")->second, "2026-12-10\tshared\t0");
    EXPECT_EQ(FileBytes(prompts).find("Can't open"), std::string::npos);
    EXPECT_EQ(FileBytes(data), original);

    SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
    SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", nullptr);
    for (const std::wstring& path : {data, script, log, prompts}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

// Line breaks typed into the real edit dialog, in a title and in a tag, on
// an edit and on a duplicate: each is one blank, and every entry stays one
// record. The file is read back after every host run.
TEST(HostScenario, LineBreaksTypedIntoTheEditDialogAreBlanks) {
    const std::wstring root = DriveRoot() + L"vantrel_breaks\\";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring data = root + L"breaks.vrl", script = root + L"step.txt",
                       log = root + L"log.txt";
    PutFile(data, "2026/12/10,,one,,,\r\n2026/12/11,,two,,,\r\n");
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    SetEnvironmentVariableW(L"VANTREL_ANSWER", L"ok");
    // Each run ends by copying the first line: the entry as the item holds it.
    const auto step = [&](const std::string& actions) {
        DeleteFileW(log.c_str());
        PutFile(script, "log " + Utf8(log.c_str()) + "\nnow 2026-12-08 09:00\npoll\n" + actions +
                            "copy first\n");
        return RunHost(L"--data \"" + data + L"\" --script \"" + script + L"\"");
    };
    const auto first = [&] { return FileBytes(log); };

    // 編集 on the first line: a title with CR LF, a lone CR and a lone LF.
    EXPECT_EQ(step(DialogLine("text", IDC_ENTRY_TITLE, "a\\r\\nb\\rc\\nd") + "dialog ok\n" +
                   Menu(IDM_EDIT)),
              0u);
    std::string file = FileBytes(data);
    EXPECT_EQ(file, "2026/12/10,,a b c d,,,\r\n2026/12/11,,two,,,\r\n");
    EXPECT_EQ(Records(file), 2);
    EXPECT_EQ(first(), "first\t2026-12-10\ta b c d\t0\n");

    // A tag typed with a line break, registered, then the entry confirmed.
    EXPECT_EQ(step(DialogLine("text", IDC_ENTRY_TAG_COMBO, "x\\r\\ny") +
                   DialogLine("command", IDC_ENTRY_TAG_REGISTER) + "dialog ok\n" + Menu(IDM_EDIT)),
              0u);
    file = FileBytes(data);
    EXPECT_EQ(file, "2026/12/10,,a b c d,x y,,\r\n2026/12/11,,two,,,\r\n");
    EXPECT_EQ(Records(file), 2);
    EXPECT_EQ(first(), "first\t2026-12-10\ta b c d\t0\tx y\n");

    // 複製 of the first line, its title ending in two line breaks.
    EXPECT_EQ(step(DialogLine("text", IDC_ENTRY_TITLE, "e\\r\\n\\r\\n") + "dialog ok\n" +
                   Menu(IDM_DUPLICATE)),
              0u);
    file = FileBytes(data);
    EXPECT_EQ(file, "2026/12/10,,a b c d,x y,,\r\n2026/12/10,,e  ,x y,,\r\n"
                    "2026/12/11,,two,,,\r\n");
    EXPECT_EQ(Records(file), 3);

    SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
    for (const std::wstring& path : {data, script, log}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

// A device in Tokyo follows a Berlin meeting: the calendar names the zone
// but carries no VTIMEZONE, so the module's own zone data places it, and
// the occurrence shown moves on with the clock within one run. The copy
// carries the end: a 10:00-11:00 Berlin winter day is 18:00-19:00 in Tokyo.
// Wine takes a process's zone from the Unix TZ it inherits, which a Windows
// parent cannot change for its child: this suite's CTest entry sets it.
TEST(HostScenarioInTokyo, ABerlinSeriesFollowsTheClock) {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    ASSERT_EQ(zone.Bias, -540) << "run with TZ=Asia/Tokyo, as its CTest entry does";

    const std::wstring root = DriveRoot() + L"vantrel_berlin\\";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring data = root + L"own.vrl", store = root + L"berlin.ics",
                       log = root + L"log.txt", script = root + L"days.txt";
    const std::string calendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Vantrel tests//EN\r\n"
                                 "BEGIN:VEVENT\r\nUID:berlin-daily@vantrel.test\r\n"
                                 "DTSTAMP:20260101T000000Z\r\n"
                                 "DTSTART;TZID=Europe/Berlin:20260301T100000\r\n"
                                 "DTEND;TZID=Europe/Berlin:20260301T110000\r\n"
                                 "RRULE:FREQ=DAILY\r\nSUMMARY:ベルリン定例\r\n"
                                 "END:VEVENT\r\nEND:VCALENDAR\r\n";
    PutFile(data, "");
    PutFile(store, calendar);
    DeleteFileW(log.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    PutFile(script, "log " + Utf8(log.c_str()) +
                        "\nnow 2026-12-09 12:00\npoll\ncopy first\n"
                        "advance 2880\npoll\ncopy two days on\n");
    ASSERT_EQ(RunHost(L"--data \"" + data + L"\" --store \"" + store + L"\" --script \"" + script +
                      L"\""),
              0u);

    const auto copies = Copies(log);
    ASSERT_EQ(copies.count("first"), 1u);
    ASSERT_EQ(copies.count("two days on"), 1u);
    EXPECT_EQ(copies.find("first")->second, "2026-12-09T19:00\tベルリン定例\t0");
    EXPECT_EQ(copies.find("two days on")->second, "2026-12-11T19:00\tベルリン定例\t0");
    EXPECT_EQ(FileBytes(store), calendar); // read, never written back

    for (const std::wstring& path : {data, store, log, script}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

} // namespace

// Four own entries ahead of 2026-12-08, one a line in a fixed geometry:
// 14 px text, 2 px apart, so line N (from 1) spans y = 2 + (N-1)*16 .. +16.
class HeldLines : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryW(root_.c_str(), nullptr);
        PutFile(data_, "2026/12/01,,past,,,\r\n2026/12/10,,one,,,\r\n2026/12/11,,two,,,\r\n"
                       "2026/12/12,,three,,,\r\n2026/12/13,,four,,,\r\n");
        DeleteFileW(log_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
        SetDword(L"FontSize", 14);
        SetDword(L"LineSpace", 2);
        SetDword(L"ExFocus", 0); // no enlarged line to move the others
        SetEnvironmentVariableW(L"VANTREL_ANSWER", L"yes");
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
        for (const std::wstring& path : {data_, log_, script_}) {
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(root_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    }
    // Runs `lines` after the clock and the first poll, logging to log.txt
    // beside the script (a relative path).
    DWORD Run(const std::string& lines) {
        PutFile(script_, "log log.txt\nnow 2026-12-08 09:00\npoll\n" + lines);
        return RunHost(L"--data \"" + data_ + L"\" --script \"" + script_ + L"\"");
    }
    static std::string LineY(int line) { return std::to_string(2 + (line - 1) * 16 + 8); }

    const std::wstring root_ = DriveRoot() + L"vantrel_hold\\";
    const std::wstring data_ = root_ + L"hold.vrl", log_ = root_ + L"log.txt",
                       script_ = root_ + L"hold.txt";
};

// A hold on line 3 acts on line 3, whichever line the cursor was on: the
// Command menu's choice (here 削除, confirmed) takes the held entry.
TEST_F(HeldLines, AHoldActsOnTheHeldLine) {
    ASSERT_EQ(Run("copy start\npopup cancel\nhold 120 " + LineY(3) + "\ncopy held\n" + "popup " +
                  std::to_string(IDM_DELETE) + "\nhold 120 " + LineY(2) + "\ncopy after\n"),
              0u);
    const auto copies = Copies(log_);
    ASSERT_EQ(copies.count("held"), 1u);
    EXPECT_EQ(copies.find("start")->second, "2026-12-10\tone\t0");
    EXPECT_EQ(copies.find("held")->second, "2026-12-12\tthree\t0");
    const std::string file = FileBytes(data_);
    EXPECT_EQ(file.find(",two,"), std::string::npos);
    EXPECT_NE(file.find(",three,"), std::string::npos);
    EXPECT_NE(file.find(",one,"), std::string::npos);
}

// No popup menu waits for a person who is not there: an unanswered one is
// cancelled and the script goes on; a queued pick is the menu's choice.
TEST_F(HeldLines, PopupsInAScriptAreAnsweredOrCancelled) {
    ASSERT_EQ(Run("hold 120 " + LineY(1) + "\n" + Menu(IDM_FILTER_MENU) + Menu(IDM_DATA_MENU) +
                  "copy unchanged\npopup " + std::to_string(IDM_FILTER_PAST) + "\n" +
                  Menu(IDM_FILTER_MENU) + "copy past\ncopy end\n"),
              0u);
    const auto copies = Copies(log_);
    EXPECT_EQ(copies.find("unchanged")->second, "2026-12-10\tone\t0");
    EXPECT_EQ(copies.find("past")->second, "2026-12-01\tpast\t0");
    EXPECT_EQ(copies.count("end"), 1u);
    EXPECT_NE(FileBytes(data_).find(",two,"), std::string::npos); // nothing was chosen
}
