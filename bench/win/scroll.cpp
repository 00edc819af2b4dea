// CPU time of a thumb drag held still: the mouse presses the thumb of a skinned memo's scroll bar
// and stays put for 2 s while the skinner's drag runs. Beside it, the same 2 s in the system's own
// thumb tracking (the memo unskinned), and in a loop that polls the queue instead of waiting.
//   bench_scroll [SKIN.skn]
// Prints "NAME cpu_ms wall_ms" lines: skinned_drag, system_drag, polling_loop.
#include "skin/controls/SkinScrollbar_win.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr DWORD kHeldMs = 2000;

double CpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (int(GetTickCount() - end) < 0);
}

void Button(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

// Measured from timers, which run inside whichever loop holds the thread during the drag.
struct Held {
    double cpu0 = 0, cpu = 0;
    DWORD wall0 = 0, wall = 0;
    bool done = false;
} gHeld;

void CALLBACK Finish(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    gHeld.cpu = CpuMs() - gHeld.cpu0;
    gHeld.wall = GetTickCount() - gHeld.wall0;
    gHeld.done = true;
    Button(false);
}

void CALLBACK Start(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    gHeld.cpu0 = CpuMs();
    gHeld.wall0 = GetTickCount();
    SetTimer(nullptr, 0, kHeldMs, Finish);
}

// Presses the memo's thumb and holds it still for kHeldMs; skin: null for the system's look.
Held HoldThumb(TSkinDataCore* skin) {
    auto* form = new TForm(Application, L"TScrollBench");
    form->SetClientSize(300, 200);
    auto* memo = new TMemo(form, form, true);
    memo->SetBounds(10, 10, 203, 150);
    std::wstring text;
    for (int i = 0; i < 200; ++i)
        text += L"Line " + std::to_wstring(i) + L"\r\n";
    memo->SetText(text);
    SendMessageW(memo->Handle(), EM_SETSEL, 0, 0);
    SendMessageW(memo->Handle(), EM_SCROLLCARET, 0, 0);
    form->Show();
    std::unique_ptr<TWinSkinForm> skinner;
    if (skin) skinner = SkinWindow(form->Handle(), skin);
    Pump(300);

    // The thumb sits at the top of the track, one arrow below the bar's top.
    RECT w{};
    GetWindowRect(memo->Handle(), &w);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL), edge = GetSystemMetrics(SM_CXEDGE);
    SetCursorPos(w.right - edge - arrow / 2, w.top + edge + arrow + 4);
    Pump(100);
    gHeld = Held{};
    SetTimer(nullptr, 0, 200, Start);
    Button(true);
    Pump(kHeldMs + 1000);
    if (skin) {
        auto* s = dynamic_cast<TSkinScrollbar*>(TSkinControl::FromHandle(memo->Handle()));
        if (!s || s->LastDragEnd != TDragEnd::Release) std::fprintf(stderr, "bench_scroll: the skinner did not drag\n");
    }
    skinner.reset();
    delete form;
    Pump(100);
    return gHeld;
}

// A loop that takes messages with PeekMessage and never waits, for the same time.
Held Polling() {
    Held h;
    h.cpu0 = CpuMs();
    h.wall0 = GetTickCount();
    while (GetTickCount() - h.wall0 < kHeldMs) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    h.cpu = CpuMs() - h.cpu0;
    h.wall = GetTickCount() - h.wall0;
    return h;
}

void Print(const char* name, const Held& h) {
    std::printf("%s %.0f %lu\n", name, h.cpu, static_cast<unsigned long>(h.wall));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    TSkinDataCore skin;
    const std::string path = argc > 1 ? WideToUtf8(argv[1]) : TELLIT_SKIN;
    if (!skin.LoadFromFile(path)) {
        std::fprintf(stderr, "bench_scroll: cannot load %s\n", path.c_str());
        return 1;
    }
    Application->Initialize();
    Print("skinned_drag", HoldThumb(&skin));
    Print("system_drag", HoldThumb(nullptr));
    Print("polling_loop", Polling());
    return 0;
}
