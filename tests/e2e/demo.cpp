// tellit_demo: shows Tellit at work where nobody watches the display: starts it, types a message,
// sends it, and saves screenshots of the whole screen at each step, as a user would see it.
//   tellit_demo TELLIT_EXE SCREENSHOT_FOLDER
// Exits with 0 when the gateway took the message.
#include "tests/e2e/Driver.h"

#include "framework/SysUtils.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: tellit_demo TELLIT_EXE SCREENSHOT_FOLDER\n", stderr);
        return 2;
    }
    const std::wstring shots = argv[2];
    HWND screen = GetDesktopWindow();
    Tellit t{std::wstring(argv[1])};
    if (!t.Main()) {
        std::fputs("tellit_demo: Tellit did not show its window\n", stderr);
        return 1;
    }
    Tellit::Screenshot(screen, shots, "run_1_started");
    Tellit::Type(t.NumberEdit(), L"1234567");
    Tellit::Type(t.MessageMemo(), L"Привет из Tellit!");
    Tellit::Screenshot(screen, shots, "run_2_typed");
    Tellit::Click(t.Button(L"Послать SMS"));
    HWND box = nullptr;
    std::wstring verdict = t.WaitMessageBox(15000, &box);
    Tellit::Screenshot(screen, shots, "run_3_verdict");
    std::printf("tellit_demo: the message box says: %s\n", WideToUtf8(verdict).c_str());
    t.CloseMessageBox();
    Sleep(3000);
    Tellit::Screenshot(screen, shots, "run_4_countdown");
    return verdict == L"SMS отправлена!" ? 0 : 1;
}
