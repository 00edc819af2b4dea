// Figures for Tellit as a whole, skinned against the system look ("Skin"/"Active" = 0), measured
// in one run: start-up to the first idle message loop, and private memory after start-up.
//   bench_startup [TELLIT.EXE] [RUNS]
#include "framework/SysUtils.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Run {
    double startMs = 0;
    double privateKb = 0;
};

struct FindMain {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMainOne(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<FindMain*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    if (owner == f->pid && std::wstring(cls) == L"TForm1") {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND MainWindowOf(DWORD pid) {
    FindMain find{pid, nullptr};
    EnumWindows(FindMainOne, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool Once(const std::wstring& exe, const std::wstring& folder, Run& run) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return false;
    WaitForInputIdle(pi.hProcess, 30000);
    run.startMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    HWND main = nullptr;
    for (int i = 0; i < 200 && !main; ++i, Sleep(25))
        main = MainWindowOf(pi.dwProcessId);
    Sleep(500); // the skin takes the frame over after the first activation
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    // Wine leaves PrivateUsage 0; its PagefileUsage is the process's private commit.
    run.privateKb = double(pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage) / 1024;
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring source = argc > 1 ? argv[1] : Utf8ToWide(TELLIT_EXE);
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    struct Mode {
        const char* name;
        const char* ini;
        std::vector<double> start, memory;
    } modes[] = {{"system look", "[Skin]\r\nActive=0\r\n", {}, {}}, {"skinned", "[Skin]\r\nActive=1\r\n", {}, {}}};
    for (auto& m : modes) {
        const std::wstring folder = std::wstring(temp) + L"tellit-bench-" + Utf8ToWide(m.name).substr(0, 6);
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring exe = folder + L"\\Tellit.exe";
        if (!CopyFileW(source.c_str(), exe.c_str(), FALSE)) {
            std::fprintf(stderr, "bench_startup: cannot copy %s\n", WideToUtf8(source).c_str());
            return 1;
        }
        std::ofstream((folder + L"\\Tellit.ini").c_str(), std::ios::binary | std::ios::trunc) << m.ini;
    }
    // Alternate the modes, so both see the same machine.
    for (int i = 0; i < runs; ++i)
        for (auto& m : modes) {
            const std::wstring folder = std::wstring(temp) + L"tellit-bench-" + Utf8ToWide(m.name).substr(0, 6);
            Run r;
            if (!Once(folder + L"\\Tellit.exe", folder, r)) return 1;
            m.start.push_back(r.startMs);
            m.memory.push_back(r.privateKb);
        }
    const double s0 = Median(modes[0].start), s1 = Median(modes[1].start);
    const double m0 = Median(modes[0].memory), m1 = Median(modes[1].memory);
    std::printf("start-up to first idle loop   system look %8.1f ms   skinned %8.1f ms   ratio %5.2f  (median of %d)\n",
                s0, s1, s1 / s0, runs);
    std::printf("private memory after start-up system look %8.0f KiB  skinned %8.0f KiB  ratio %5.2f\n", m0, m1,
                m1 / m0);
    return 0;
}
