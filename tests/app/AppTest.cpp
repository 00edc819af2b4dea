#include "tests/app/AppTest.h"

#include "app/Settings.h"
#include "app/Startup.h"
#include "framework/CodePages.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::wstring SettingsFile() {
    return SettingsFileName();
}

void WriteSettings(const std::string& text) {
    // The profile functions cache files; flush before the file changes under them.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, SettingsFile().c_str());
    _wremove(SettingsFile().c_str());
    if (text.empty()) return;
    std::string bytes = WideToCodePage(Utf8ToWide(text), CP_RUSSIAN);
    FILE* f = _wfopen(SettingsFile().c_str(), L"wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string ReadSettingsText() {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, SettingsFile().c_str());
    FILE* f = _wfopen(SettingsFile().c_str(), L"rb");
    if (!f) return "";
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    std::fclose(f);
    return out;
}

namespace {
MessageBoxWatcher* watcher = nullptr;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

MessageBoxWatcher::MessageBoxWatcher() {
    watcher = this;
    timer_ = SetTimer(nullptr, 0, 20, &MessageBoxWatcher::Tick);
}

MessageBoxWatcher::~MessageBoxWatcher() {
    KillTimer(nullptr, timer_);
    watcher = nullptr;
}

void CALLBACK MessageBoxWatcher::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!watcher) return;
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box || GetPropW(box, L"TestSeen")) return;
    SetPropW(box, L"TestSeen", reinterpret_cast<HANDLE>(1));
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    watcher->texts_.push_back(text);
    if (watcher->WhileOpen) watcher->WhileOpen();
    PostMessageW(box, WM_COMMAND, WPARAM(watcher->Answer), 0);
}

void Type(TWinControl* control, const std::wstring& text) {
    for (wchar_t c : text)
        SendMessageW(control->Handle(), WM_CHAR, WPARAM(c), 1);
}

void AppFixture::CreateForms() {
    CreateTellitForms();
    // The countdown is driven by the tests themselves.
    Form1->Timer1->SetEnabled(false);
    SendDelay = 0;
}

void AppFixture::TearDown() {
    delete Form5;
    delete Form4;
    delete Form3;
    delete Form2;
    delete Form1;
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    Form5 = nullptr;
    WriteSettings("");
}
