// tellit_demo: shows Tellit at work where nobody watches the display: starts it, types a message,
// sends it, shows the dark skin from the skin menu, and saves screenshots of the whole screen at each
// step, as a user would see it.
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
    std::wstring verdict;
    {
        Tellit t{std::wstring(argv[1])};
        if (!t.Main()) {
            std::puts("tellit_demo: Tellit did not show its window");
            std::puts("tellit_demo: finished 1");
            return 1;
        }
        Tellit::Screenshot(screen, shots, "run_1_started");
        // The number field holds the number of the last run: clear it as a user would.
        SendMessageW(t.NumberEdit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        Tellit::Type(t.NumberEdit(), L"1234567");
        Tellit::Type(t.MessageMemo(), L"Привет из Tellit!");
        Tellit::Screenshot(screen, shots, "run_2_typed");
        Tellit::Click(t.Button(L"Послать SMS"));
        verdict = t.WaitMessageBox(15000);
        Tellit::Screenshot(screen, shots, "run_3_verdict");
        std::printf("tellit_demo: the message box says: %s\n", WideToUtf8(verdict).c_str());
        t.CloseMessageBox();
        Sleep(3000);
        Tellit::Screenshot(screen, shots, "run_4_countdown");
        // The second skin Tellit ships: "Настройки" > "Оформление" > the dark one (below the light
        // one), then back to the light one, which the settings file keeps.
        const std::wstring exe = argv[1];
        const std::wstring dark = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"skins\\dark.skn";
        if (GetFileAttributesW(dark.c_str()) != INVALID_FILE_ATTRIBUTES) {
            t.Menu(1, 1);
            t.Key(VK_DOWN);
            t.Key(VK_RETURN);
            Sleep(2000);
            Tellit::Screenshot(screen, shots, "run_5_dark");
            std::puts("tellit_demo: switched to the dark skin and back");
            t.Menu(1, 1);
            t.Key(VK_RETURN);
            Sleep(1000);
        }
    } // closes Tellit
    int status = verdict == L"SMS отправлена!" ? 0 : 1;
    // The last line: whoever started the demo inside a virtual desktop waits for it.
    std::printf("tellit_demo: finished %d\n", status);
    std::fflush(stdout);
    return status;
}
