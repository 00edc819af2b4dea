// Message pumping for the Windows tests of the skin engine: they wait for what they expect while
// the thread's messages (paint, timers, posted requests) are dispatched. Also the count of the
// process's GDI objects, for leak checks.
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

// Live GDI objects of this process: GetGuiResources where the system has it, else the entries of
// the process's GDI handle table in use (Wine's GetGuiResources returns 0); -1 when neither is
// there (Wine's 32-bit processes have no table).
inline int GdiObjects() {
    const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return int(n);
    // The PEB's address from the process's basic information (its second pointer-sized field).
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    void* info[6] = {};
    if (!query || query(GetCurrentProcess(), 0, info, sizeof info, nullptr) != 0) return -1;
    const BYTE* peb = static_cast<const BYTE*>(info[1]);
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    if (!table) return -1;
    int count = 0;
    for (int i = 0; i < 65536; ++i)
        count += table[i * 24 + 14] != 0;
    return count;
}
