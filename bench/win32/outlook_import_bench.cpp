// Times ImportAllAppointments + ImportTasks over generated replacement
// stores: N appointments, one in ten a series (every recurrence type, some
// ending, some with skipped and moved occurrences, a few moved to longer
// spans), and N/4 tasks. A Win32 program: run it under Wine.
//
//   vantrel_outlook_bench.exe [--ics] [N ...]     (default 10000)
//
// With --ics the same calendar is written as an iCalendar file (VEVENTs
// with RRULE, EXDATE and moved occurrences, VTODOs) and read through the
// .ics store.
//
// One line per N: the time to open the store, the best of eleven imports,
// and the growth over N/2 when that was measured too.

#include "bench/ics_bench_calendars.h"
#include "platform/poom.h"
#include "text/builtin_texts.h"
#include "win32/outlook/outlook_session.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace vantrel;

namespace {

void WriteStore(const std::wstring& path, int n) {
    std::ofstream out(path.c_str(), std::ios::binary);
    const char* repeats[] = {"daily every 2",
                             "daily weekdays",
                             "weekly every 1 on mon,wed,fri",
                             "weekly every 2 on tue",
                             "monthly every 1 day 15",
                             "monthly-nth every 1 instance 2 on tue",
                             "yearly month 3 day 1",
                             "yearly-nth month 11 instance 4 on thu"};
    char line[320];
    for (int i = 0; i < n; ++i) {
        const int day = 1 + i % 28, month = 1 + (i / 28) % 12, year = 2025 + i % 3;
        const int hour = 8 + i % 10;
        std::snprintf(line, sizeof line,
                      "[appointment]\nsubject: \xE4\xBC\x9A\xE8\xAD\xB0 %d\n"
                      "start: %04d-%02d-%02d %02d:00\nend: %04d-%02d-%02d %02d:30\n"
                      "categories: work, team\n",
                      i, year, month, day, hour, year, month, day, hour);
        out << line;
        if (i % 10 != 0) {
            continue;
        }
        const int series = i / 10;
        out << "repeat: " << repeats[series % 8] << "\n";
        if (series % 5 == 1) {
            out << "until: 2027-06-30\n";
        }
        if (series % 3 == 0) {
            // Skipped and moved occurrences around the benchmark's today.
            for (int k = 0; k < 4; ++k) {
                std::snprintf(line, sizeof line, "skip: 2026-12-%02d\n", 1 + (series + 7 * k) % 28);
                out << line;
            }
            const int from = 1 + series % 28;
            std::snprintf(line, sizeof line,
                          "move: 2026-11-%02d -> 2026-12-%02d 07:00 - 2026-12-%02d 09:00 | moved\n",
                          from, 1 + (series + 3) % 25, 1 + (series + 3) % 25 + (series % 4));
            out << line;
        }
    }
    for (int i = 0; i < n / 4; ++i) {
        out << "[task]\nsubject: task " << i << "\ndue: 2026-12-" << (10 + i % 20)
            << "\nimportance: " << (i % 3) << "\n";
        if (i % 7 == 0) {
            out << "complete: yes 2026-12-01\n";
        }
        if (i % 11 == 0) {
            out << "repeat: weekly every 1 on fri\n";
        }
    }
}

void WriteIcsStore(const std::wstring& path, int n) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << bench::BenchIcsCalendar(n);
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    bool ics = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--ics") {
            ics = true;
            continue;
        }
        const int n = std::atoi(argv[i]);
        if (n < 1) {
            std::fprintf(stderr, "usage: vantrel_outlook_bench [--ics] [N ...]\n");
            return 2;
        }
        sizes.push_back(n);
    }
    if (sizes.empty()) {
        sizes.push_back(10000);
    }
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    const SystemTime now = SystemTimeAt(2026, 12, 8, 9, 0);
    // One open store per size; the rounds visit every size in turn, so a
    // passing load on the machine slows all sizes alike and the best of
    // the rounds is each size's own cost.
    struct Bench {
        int n = 0;
        std::wstring path;
        OutlookSession session;
        ItemStore store;
        Settings settings;
        double open = 0, best = 1e30;
        int appointments = 0, tasks = 0;
    };
    std::vector<std::unique_ptr<Bench>> benches;
    BuiltinTextTable texts;
    LARGE_INTEGER t0, t1;
    for (const int n : sizes) {
        auto b = std::make_unique<Bench>();
        b->n = n;
        b->path = std::wstring(base) + L"vantrel_bench_store_" + std::to_wstring(benches.size()) +
                  (ics ? L".ics" : L".txt");
        if (ics) {
            WriteIcsStore(b->path, n);
        } else {
            WriteStore(b->path, n);
        }
        SetEnvironmentVariableW(L"VANTREL_STORE", b->path.c_str());
        QueryPerformanceCounter(&t0);
        if (OpenOutlookSession(b->session) != S_OK) {
            std::fprintf(stderr, "no session\n");
            return 1;
        }
        QueryPerformanceCounter(&t1);
        b->open = Milliseconds(t0, t1);
        benches.push_back(std::move(b));
    }
    for (int round = 0; round < 11; ++round) {
        for (const auto& b : benches) {
            OutlookContext ctx{b->session, b->store, b->settings, texts};
            QueryPerformanceCounter(&t0);
            b->appointments = ImportAllAppointments(ctx, now);
            b->tasks = ImportTasks(ctx, now);
            QueryPerformanceCounter(&t1);
            b->best = std::min(b->best, Milliseconds(t0, t1));
        }
    }
    std::printf(
        "| appointments | series | tasks | open | import (best of 11) | growth from N/2 |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& b : benches) {
        char growth[32] = "";
        for (const auto& half : benches) {
            if (half->n * 2 == b->n) {
                std::snprintf(growth, sizeof growth, "%.2f\xC3\x97", b->best / half->best);
            }
        }
        std::printf("| %d | %d | %d | %.1f ms | %.1f ms | %s |\n", b->n, (b->n + 9) / 10, b->n / 4,
                    b->open, b->best, growth);
        std::fprintf(stderr, "N=%d: %d appointments, %d tasks listed\n", b->n, b->appointments,
                     b->tasks);
        b->session.app->Release();
        DeleteFileW(b->path.c_str());
    }
    return 0;
}
