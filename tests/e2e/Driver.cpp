#include "tests/e2e/Driver.h"

#include "framework/SysUtils.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

void Nap(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

double Now() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct FindData {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindTopProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != d->pid || !IsWindowVisible(w)) return TRUE;
    wchar_t cls[256];
    GetClassNameW(w, cls, 256);
    if (wcscmp(cls, d->cls) != 0) return TRUE;
    if (d->caption && Tellit::Text(w) != d->caption) return TRUE;
    d->found = w;
    return FALSE;
}

struct ChildData {
    const wchar_t* cls;
    const wchar_t* caption;
    int n;
    HWND found;
};

BOOL CALLBACK ChildProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<ChildData*>(lp);
    wchar_t cls[256];
    GetClassNameW(w, cls, 256);
    if (_wcsicmp(cls, d->cls) != 0) return TRUE;
    if (d->caption && Tellit::Text(w) != d->caption) return TRUE;
    if (d->n-- > 0) return TRUE;
    d->found = w;
    return FALSE;
}

std::wstring ScreenshotDir() { return WinPath(SCREENSHOT_DIR); }

} // namespace

std::wstring WinPath(const std::string& unixPath) {
    std::wstring w = Utf8ToWide(unixPath);
    if (!w.empty() && w[0] == L'/') w = L"Z:" + w;
    for (wchar_t& c : w)
        if (c == L'/') c = L'\\';
    return w;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

Tellit::Tellit(const std::string& testName, const std::string& ini) {
    std::wstring work = WinPath(SCREENSHOT_DIR "/../e2e-work");
    CreateDirectoryW(work.c_str(), nullptr);
    folder_ = work + L"\\" + Utf8ToWide(testName);
    CreateDirectoryW(folder_.c_str(), nullptr);
    std::wstring exe = folder_ + L"\\Tellit.exe";
    CopyFileW(WinPath(TELLIT_EXE).c_str(), exe.c_str(), FALSE);
    {
        std::ofstream f((folder_ + L"\\Tellit.ini").c_str(), std::ios::binary | std::ios::trunc);
        f << ini;
    }
    Start(exe);
}

Tellit::Tellit(const std::wstring& exe) {
    folder_ = exe.substr(0, exe.find_last_of(L"\\/"));
    Start(exe);
}

void Tellit::Start(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si, &pi_)) {
        startNote_ = "CreateProcess failed, error " + std::to_string(GetLastError());
        return;
    }
    // Generous: a busy machine starting Wine processes side by side can take seconds.
    WaitForInputIdle(pi_.hProcess, 20000);
    main_ = WaitTop(L"TForm1", nullptr, 30000);
    if (main_) return;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    if (code != STILL_ACTIVE) {
        startNote_ = "the program exited with code " + std::to_string(code);
        return;
    }
    startNote_ = "the program runs; its main thread's top-level windows:";
    for (HWND w : TopWindows(nullptr)) {
        wchar_t cls[256] = {};
        GetClassNameW(w, cls, 256);
        startNote_ += " [" + WideToUtf8(cls) + " \"" + WideToUtf8(Text(w)) + "\"]";
    }
}

Tellit::~Tellit() {
    if (!pi_.hProcess) return;
    // Answer any message box still open, then close the main window as a user would.
    for (int i = 0; i < 5 && !WaitMessageBox(50).empty(); ++i) CloseMessageBox();
    if (main_ && IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
}

HWND Tellit::FindTop(const wchar_t* cls, const wchar_t* caption) const {
    FindData d{pi_.dwProcessId, cls, caption, nullptr};
    EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

HWND Tellit::WaitTop(const wchar_t* cls, const wchar_t* caption, int ms) const {
    double end = Now() + ms;
    do {
        if (HWND w = FindTop(cls, caption)) return w;
        Nap(20);
    } while (Now() < end);
    return nullptr;
}

HWND Tellit::Child(HWND parent, const wchar_t* cls, const wchar_t* caption, int n) {
    ChildData d{cls, caption, n, nullptr};
    EnumChildWindows(parent, ChildProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

std::wstring Tellit::Text(HWND w) {
    wchar_t buf[4096];
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &len))
        return L"";
    return std::wstring(buf, size_t(len));
}

HWND Tellit::NumberEdit() const {
    for (int i = 0;; ++i) {
        HWND e = Child(main_, L"Edit", nullptr, i);
        if (!e) return nullptr;
        if (!(GetWindowLongW(e, GWL_STYLE) & ES_MULTILINE)) return e;
    }
}

HWND Tellit::MessageMemo() const {
    for (int i = 0;; ++i) {
        HWND e = Child(main_, L"Edit", nullptr, i);
        if (!e) return nullptr;
        if (GetWindowLongW(e, GWL_STYLE) & ES_MULTILINE) return e;
    }
}

void Tellit::Type(HWND control, const std::wstring& text) {
    for (wchar_t c : text) {
        PostMessageW(control, WM_CHAR, WPARAM(c), 1);
        // Let the program keep up, as it would with a typist.
        if (text.size() < 64) Nap(2);
    }
    DWORD_PTR r;
    SendMessageTimeoutW(control, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
}

void Tellit::Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void Tellit::Key(WPARAM vk) const {
    PostMessageW(main_, WM_KEYDOWN, vk, 1);
    PostMessageW(main_, WM_KEYUP, vk, 0xC0000001);
    Nap(60);
}

void Tellit::OpenMenu(int menu) const {
    // Menus live in the program's own process, so they are worked from the keyboard, as a user
    // would: enter the menu bar, move right to the menu, open it.
    PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, 0);
    Nap(200);
    for (int i = 0; i < menu; ++i)
        Key(VK_RIGHT);
    Key(VK_RETURN);
}

void Tellit::Menu(int menu, int item) const {
    OpenMenu(menu);
    for (int i = 0; i < item; ++i)
        Key(VK_DOWN);
    Key(VK_RETURN);
}

bool Tellit::MenuOpens(int menu, int ms) const {
    OpenMenu(menu);
    bool opened = WaitTop(L"#32768", nullptr, ms) != nullptr;
    // Esc closes the menu, a second one leaves the menu bar.
    for (int i = 0; i < 2; ++i)
        Key(VK_ESCAPE);
    double end = Now() + ms;
    while (FindTop(L"#32768") && Now() < end)
        Nap(20);
    return opened;
}

namespace {

// What the screen shows in r, as 32-bit pixels.
std::vector<DWORD> Grab(const RECT& r) {
    int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<DWORD> pixels(size_t(width) * size_t(height));
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    GetDIBits(mem, bmp, 0, UINT(height), pixels.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The share of pixels (0..1) that differ between two grabs of one rectangle.
double Difference(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    size_t differ = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        differ += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    return a.empty() ? 1.0 : double(differ) / double(a.size());
}

void PumpOwn(int ms) {
    double end = Now() + ms;
    do {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
        Nap(10);
    } while (Now() < end);
}

} // namespace

bool Tellit::Repaints(int ms) const {
    RECT r;
    if (!GetWindowRect(main_, &r)) return false;
    std::vector<DWORD> before = Grab(r);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | SS_BLACKRECT, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    UpdateWindow(cover);
    PumpOwn(100);
    // A cover that hid nothing would prove nothing.
    bool covered = Difference(before, Grab(r)) > 0.5;
    DestroyWindow(cover);
    PumpOwn(10);
    RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    double end = Now() + ms;
    do {
        // The caret may blink meanwhile: allow a few pixels.
        if (!GetUpdateRect(main_, nullptr, FALSE) && Difference(before, Grab(r)) < 0.01) return covered;
        Nap(50);
    } while (Now() < end);
    return false;
}

namespace {

struct ClassWindows {
    const wchar_t* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK AddClassWindow(HWND w, LPARAM lp) {
    auto* data = reinterpret_cast<ClassWindows*>(lp);
    wchar_t name[256];
    GetClassNameW(w, name, 256);
    if (!data->cls || wcscmp(name, data->cls) == 0) data->found.push_back(w);
    return TRUE;
}

} // namespace

std::vector<HWND> Tellit::TopWindows(const wchar_t* cls) const {
    ClassWindows d{cls, {}};
    EnumThreadWindows(pi_.dwThreadId, AddClassWindow, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

void Tellit::Tick(int n) const {
    std::vector<HWND> timers = TopWindows(L"TTimerWindow");
    for (int i = 0; i < n; ++i)
        for (HWND w : timers) {
            DWORD_PTR r;
            SendMessageTimeoutW(w, WM_TIMER, 1, 0, SMTO_ABORTIFHUNG, 5000, &r);
        }
}

bool Tellit::EndCountdown(const wchar_t* caption) const {
    for (int i = 0; i < 100; ++i) {
        HWND b = Button(caption);
        if (b && IsWindowEnabled(b)) return true;
        Tick(1);
    }
    return false;
}

void Tellit::WriteIni(const std::string& ini) const {
    std::ofstream f((folder_ + L"\\Tellit.ini").c_str(), std::ios::binary | std::ios::trunc);
    f << ini;
}

std::wstring Tellit::WaitMessageBox(int ms, HWND* box) const {
    HWND w = WaitTop(L"#32770", nullptr, ms);
    if (box) *box = w;
    if (!w) return L"";
    // The message text is the static control with the id message boxes give it.
    HWND text = GetDlgItem(w, 0xFFFF);
    if (text) return Text(text);
    std::wstring longest;
    for (int i = 0;; ++i) {
        HWND s = Child(w, L"Static", nullptr, i);
        if (!s) break;
        std::wstring t = Text(s);
        if (t.size() > longest.size()) longest = t;
    }
    return longest;
}

void Tellit::CloseMessageBox() const {
    HWND box = FindTop(L"#32770");
    if (!box) return;
    HWND ok = GetDlgItem(box, IDOK);
    if (ok) Click(ok);
    else PostMessageW(box, WM_COMMAND, IDOK, 0);
    double end = Now() + 3000;
    while (IsWindow(box) && IsWindowVisible(box) && Now() < end) Nap(10);
    // The main window takes input again only once the box has gone for good.
    while (main_ && !IsWindowEnabled(main_) && Now() < end) Nap(10);
}

void Tellit::Screenshot(HWND w, const std::string& name) { Screenshot(w, ScreenshotDir(), name); }

void Tellit::Screenshot(HWND w, const std::wstring& folder, const std::string& name) {
    RECT r;
    if (!w || !GetWindowRect(w, &r)) return;
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    // Give the window a moment to finish painting.
    DWORD_PTR res;
    SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &res);
    Nap(150);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height; // bottom-up, as BMP files store rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        SelectObject(mem, old);
        GdiFlush();
        int stride = (width * 3 + 3) & ~3;
        BITMAPFILEHEADER fh{};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
        fh.bfSize = fh.bfOffBits + DWORD(stride * height);
        CreateDirectoryW(folder.c_str(), nullptr);
        std::ofstream f((folder + L"\\" + Utf8ToWide(name) + L".bmp").c_str(), std::ios::binary);
        f.write(reinterpret_cast<const char*>(&fh), sizeof fh);
        f.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
        f.write(static_cast<const char*>(bits), stride * height);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

bool Tellit::Responsive(HWND w, int ms) {
    DWORD_PTR r;
    return SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, UINT(ms), &r) != 0;
}

std::vector<std::string> LogLines(const std::string& unixPath) {
    std::ifstream f(WinPath(unixPath).c_str(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(f, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string JsonField(const std::string& line, const std::string& name) {
    std::string key = "\"" + name + "\":\"";
    size_t p = line.find(key);
    if (p == std::string::npos) return "";
    std::string out;
    for (size_t i = p + key.size(); i < line.size() && line[i] != '"'; ++i) {
        char c = line[i];
        if (c != '\\' || i + 1 >= line.size()) {
            out += c;
            continue;
        }
        char e = line[++i];
        switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u':
            if (i + 4 < line.size()) {
                std::wstring w(1, wchar_t(std::stoi(line.substr(i + 1, 4), nullptr, 16)));
                out += WideToUtf8(w);
                i += 4;
            }
            break;
        default: out += e;
        }
    }
    return out;
}
