// Message pumping for the Windows tests of the skin engine: they wait for what they expect while
// the thread's messages (paint, timers, posted requests) are dispatched.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches what is waiting; with ms, keeps doing so (sleeping until messages come) for ms.
inline void Pump(int ms = 0) {
    const DWORD end = GetTickCount() + DWORD(ms);
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (ms) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (int(GetTickCount() - end) < 0);
}

// Pumps messages until the condition holds, for up to five seconds.
inline bool WaitFor(const std::function<bool()>& condition) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
        Pump(20);
        if (condition()) return true;
    }
    return condition();
}
