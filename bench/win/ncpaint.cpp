// Figures for the skinned frame under the system in use (Wine here): one full non-client paint
// of a skinned window against the system's own non-client paint of the same window unskinned, and
// one region build, at Tellit's main window size and at 1920 x 1080.
//   bench_ncpaint [SKIN.skn]
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/SysUtils.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

double Measure(const std::function<void()>& f) {
    using clock = std::chrono::steady_clock;
    f();
    int n = 0;
    const auto start = clock::now();
    double seconds = 0;
    do {
        f();
        ++n;
        seconds = std::chrono::duration<double>(clock::now() - start).count();
    } while (seconds < 0.5);
    return seconds * 1000 / n;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

HWND Window(int cw, int ch) {
    RECT r{0, 0, cw, ch};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 1, L"&Файл");
    AppendMenuW(bar, MF_STRING, 2, L"&Настройки");
    HWND hwnd = CreateWindowExW(0, L"NcPaintBench", L"Tellit", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                                r.bottom - r.top, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    Pump();
    return hwnd;
}

void Row(const char* what, double system, double skinned) {
    std::printf("%-34s system %8.3f ms   skinned %8.3f ms   ratio %5.2f\n", what, system, skinned, skinned / system);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    TSkinDataCore skin;
    const std::string path = argc > 1 ? WideToUtf8(argv[1]) : TELLIT_SKIN;
    if (!skin.LoadFromFile(path)) {
        std::fprintf(stderr, "bench_ncpaint: cannot load %s\n", path.c_str());
        return 1;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NcPaintBench";
    RegisterClassW(&wc);
    for (SIZE size : {SIZE{331, 216}, SIZE{1920, 1080}}) {
        HWND plain = Window(size.cx, size.cy), skinned = Window(size.cx, size.cy);
        auto f = SkinWindow(skinned, &skin);
        Pump();
        RECT r{};
        GetWindowRect(skinned, &r);
        char what[64];
        std::snprintf(what, sizeof what, "frame paint, client %ldx%ld", size.cx, size.cy);
        const double system = Measure([&] { SendMessageW(plain, WM_NCPAINT, 1, 0); });
        const double ours = Measure([&] { SendMessageW(skinned, WM_NCPAINT, 1, 0); });
        Row(what, system, ours);
        std::snprintf(what, sizeof what, "region build, window %ldx%ld", r.right - r.left, r.bottom - r.top);
        std::printf("%-34s skinned %8.3f ms\n", what, Measure([&] { f->RebuildRegion(); }));
        f.reset();
        DestroyWindow(skinned);
        DestroyWindow(plain);
    }
    return 0;
}
