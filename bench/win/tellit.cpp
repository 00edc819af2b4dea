// Figures for Tellit's main window in one process, skinned or with the system look:
//   bench_tellit skinned|system SKIN.skn [HOST:PORT SENDS]
// prints "repaint_ms X" (one full repaint of the main window, frame and every control) and, with a
// gateway, "verdict_ms X" (a send from its start to the message box with the verdict, median).
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/Unit1.h"

#include "framework/SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point gBoxShown;
bool gBoxSeen = false;
HHOOK gHook = nullptr;

// The verdict's message box: noted when it is activated, answered at once.
LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        wchar_t cls[16] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 16);
        if (std::wstring(cls) == L"#32770" && !gBoxSeen) {
            gBoxShown = Clock::now();
            gBoxSeen = true;
            PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(gHook, code, wParam, lParam);
}

void Pump(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: bench_tellit skinned|system SKIN.skn [HOST:PORT SENDS]\n");
        return 2;
    }
    const bool skinned = std::wstring(argv[1]) == L"skinned";
    {
        std::ofstream ini(SettingsFileName().c_str(), std::ios::binary | std::ios::trunc);
        ini << "[Skin]\r\nFile=" << WideToUtf8(argv[2]) << "\r\nActive=" << (skinned ? 1 : 0) << "\r\n";
        if (argc == 5) ini << "[Gateway]\r\nHost=" << WideToUtf8(argv[3]) << "\r\n";
    }
    CreateTellitForms();
    Form1->Timer1->SetEnabled(false);
    Form1->Show();
    Pump(800); // activation, and for the skin the frame taken over
    HWND main = Form1->Handle();
    if (skinned != (SendMessageW(main, 13572 /* WM_SKIN_QUERY */, 0, 0) == 1)) {
        std::fprintf(stderr, "bench_tellit: the window is not as asked (%s)\n", skinned ? "skinned" : "system");
        return 1;
    }
    const UINT all = RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
    RedrawWindow(main, nullptr, nullptr, all);
    int n = 0;
    const auto start = Clock::now();
    double seconds = 0;
    do {
        RedrawWindow(main, nullptr, nullptr, all);
        GdiFlush();
        ++n;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    } while (seconds < 1.0);
    std::printf("repaint_ms %.3f\n", seconds * 1000 / n);

    if (argc == 5) {
        gHook = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
        std::vector<double> times;
        const int sends = std::max(1, _wtoi(argv[4]));
        for (int i = 0; i < sends; ++i) {
            SendDelay = 0;
            gBoxSeen = false;
            const auto t0 = Clock::now();
            Form1->SendSms(L"1234567", L"bench");
            if (gBoxSeen) times.push_back(std::chrono::duration<double, std::milli>(gBoxShown - t0).count());
            Pump(50);
        }
        UnhookWindowsHookEx(gHook);
        std::printf("verdict_ms %.3f (%zu of %d)\n", Median(times), times.size(), sends);
    }
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 0); // no settings written back
    return 0;
}
