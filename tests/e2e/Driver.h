// Drives the real Tellit.exe from outside, as a user would: start it in a folder of its own with a
// settings file, find its windows, type, click, read and answer its message boxes, take screenshots.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A Linux path (from the environment) as a path Wine's Windows programs can open.
std::wstring WinPath(const std::string& unixPath);
std::string Env(const char* name);

class Tellit {
public:
    // Copies Tellit.exe into a fresh folder named after the test, writes ini (the settings file's
    // text, UTF-8) beside it, starts it and waits for its main window.
    Tellit(const std::string& testName, const std::string& ini);
    // Starts the executable where it stands, with whatever settings file is beside it.
    explicit Tellit(const std::wstring& exe);
    ~Tellit(); // closes the program (and kills it if it does not go)

    HWND Main() const { return main_; }
    // Why Main() is null: whether the process ran, its exit code, or the windows it had showing.
    const std::string& StartNote() const { return startNote_; }
    DWORD Pid() const { return pi_.dwProcessId; }
    // The program's visible top-level window of a class (and caption, when given), or nullptr.
    HWND FindTop(const wchar_t* cls, const wchar_t* caption = nullptr) const;
    // Waits up to ms for such a window.
    HWND WaitTop(const wchar_t* cls, const wchar_t* caption, int ms) const;
    // A child control of a window by class and caption (caption nullptr: any), the n-th match.
    static HWND Child(HWND parent, const wchar_t* cls, const wchar_t* caption = nullptr, int n = 0);
    static std::wstring Text(HWND w);

    HWND NumberEdit() const;  // the single-line edit
    HWND MessageMemo() const; // the multi-line edit
    HWND Button(const wchar_t* caption) const { return Child(main_, L"Button", caption); }

    // Types text into a control character by character (WM_CHAR), as the keyboard would.
    static void Type(HWND control, const std::wstring& text);
    static void Click(HWND button);
    // Chooses a command of the main window's menu from the keyboard: the item-th item (from 0) of
    // the menu-th menu of the bar.
    void Menu(int menu, int item) const;
    // Opens the menu-th menu of the bar from the keyboard and leaves it open.
    void OpenMenu(int menu) const;
    // A key pressed and released at the main window (the menu loop takes it while a menu is open).
    void Key(WPARAM vk) const;
    // Opens the menu-th menu while the program is busy, waits up to ms for its popup window,
    // closes it with Esc; true when it opened.
    bool MenuOpens(int menu, int ms) const;
    // Covers the main window with a window of the test, uncovers and invalidates it: true when
    // within ms its update region is empty again and the screen shows what it showed before.
    bool Repaints(int ms) const;

    // The program's TTimer windows take a tick as if a second had passed, n times; each tick is
    // handled before the next (the countdown of the send button runs on one).
    void Tick(int n) const;
    // Ticks until the send button (caption) is ready again; false when 100 ticks did not do it.
    bool EndCountdown(const wchar_t* caption) const;
    // Rewrites the settings file beside the executable (text, UTF-8).
    void WriteIni(const std::string& ini) const;

    // Waits up to ms for a message box, returns its text ("" when none came).
    std::wstring WaitMessageBox(int ms, HWND* box = nullptr) const;
    // Presses OK on the message box that is open.
    void CloseMessageBox() const;

    // Saves what the screen shows of a window as a 24-bit BMP: into the screenshot folder as
    // NAME.bmp, or into the given folder.
    static void Screenshot(HWND w, const std::string& name);
    static void Screenshot(HWND w, const std::wstring& folder, const std::string& name);

    // True while the window answers messages within ms.
    static bool Responsive(HWND w, int ms = 1000);

    std::wstring folder() const { return folder_; }
    HANDLE Process() const { return pi_.hProcess; }
    HANDLE ThreadHandle() const { return pi_.hThread; }
    DWORD Thread() const { return pi_.dwThreadId; }
    // Every top-level window of the program of a class (nullptr: any), visible or not.
    std::vector<HWND> TopWindows(const wchar_t* cls) const;

private:
    void Start(const std::wstring& exe);
    std::wstring folder_;
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
    std::string startNote_;
};

// The JSON lines of a gateway simulator log, as raw lines.
std::vector<std::string> LogLines(const std::string& unixPath);
// The value of a string field of one JSON line, unescaped (UTF-8), or "" when absent.
std::string JsonField(const std::string& line, const std::string& name);
