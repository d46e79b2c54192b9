// Times ImportAllAppointments + ImportTasks over a generated replacement
// store of 2,000 appointments (200 of them recurring series) and 500 tasks.
// A Win32 program: run it under Wine (see docs in the README).

#include "text/builtin_texts.h"
#include "win32/outlook/outlook_session.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

using namespace vantrel;

int main() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    const std::wstring path = std::wstring(base) + L"vantrel_bench_store.txt";
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        const char* repeats[] = {"daily every 2",          "weekly every 1 on mon,wed,fri",
                                 "monthly every 1 day 15", "monthly-nth every 1 instance 2 on tue",
                                 "yearly month 3 day 1",   "yearly-nth month 11 instance 4 on thu"};
        for (int i = 0; i < 2000; ++i) {
            const int day = 1 + i % 28, month = 1 + (i / 28) % 12, year = 2025 + i % 3;
            char line[256];
            std::snprintf(
                line, sizeof line,
                "[appointment]\nsubject: \xE4\xBC\x9A\xE8\xAD\xB0 %d\nstart: %04d-%02d-%02d 10:00\n"
                "end: %04d-%02d-%02d 11:00\ncategories: work, team\n",
                i, year, month, day, year, month, day);
            out << line;
            if (i % 10 == 0) {
                out << "repeat: " << repeats[(i / 10) % 6] << "\n";
                if (i % 30 == 0) {
                    std::snprintf(line, sizeof line, "skip: %04d-%02d-%02d\n", 2026, 12,
                                  1 + i % 28);
                    out << line;
                }
            }
        }
        for (int i = 0; i < 500; ++i) {
            out << "[task]\nsubject: task " << i << "\ndue: 2026-12-" << (10 + i % 20)
                << "\nimportance: " << (i % 3) << "\n";
        }
    }
    SetEnvironmentVariableW(L"VANTREL_STORE", path.c_str());
    OutlookSession session;
    if (OpenOutlookSession(session) != S_OK) {
        std::fprintf(stderr, "no session\n");
        return 1;
    }
    ItemStore store;
    Settings settings;
    BuiltinTextTable texts;
    OutlookContext ctx{session, store, settings, texts};
    SYSTEMTIME s;
    GetLocalTime(&s);
    const SystemTime now = SystemTimeAt(2026, 12, 8, 9, 0);
    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    int appointments = 0, tasks = 0;
    for (int run = 0; run < 5; ++run) {
        QueryPerformanceCounter(&t0);
        appointments = ImportAllAppointments(ctx, now);
        tasks = ImportTasks(ctx, now);
        QueryPerformanceCounter(&t1);
        best = std::min(best, static_cast<double>(t1.QuadPart - t0.QuadPart) * 1000.0 /
                                  static_cast<double>(frequency.QuadPart));
    }
    std::printf(
        "ImportAllAppointments + ImportTasks: %.1f ms (best of 5; %d appointments, %d tasks "
        "listed)\n",
        best, appointments, tasks);
    DeleteFileW(path.c_str());
    return 0;
}
