// relprobe: reads back, under Wine, what the release test checks of Windows files and folders.
//   relprobe version EXE     the version resource, the machine and the manifest, one KEY=VALUE a line
//   relprobe shortcut LNK    the shortcut's target and working folder
//   relprobe folders         the user's folders the installer writes to
//   relprobe wizard SETUP    goes through the installer's pages as a user would, pressing the
//                            default button of each: prints each page's button and check boxes,
//                            then whether the program the last page offers to start came up
// Paths starting with "/" are Linux paths (drive Z:). Output is UTF-8; exit status 1 on failure.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring WindowsPath(std::wstring p) {
    if (!p.empty() && p[0] == L'/') {
        for (wchar_t& c : p)
            if (c == L'/') c = L'\\';
        p = L"Z:" + p;
    }
    return p;
}

void Line(const char* key, const std::wstring& value) {
    std::printf("%s=%s\n", key, Utf8(value).c_str());
}

std::wstring Dotted(DWORD ms, DWORD ls) {
    wchar_t b[64];
    swprintf(b, 64, L"%u.%u.%u.%u", unsigned(HIWORD(ms)), unsigned(LOWORD(ms)), unsigned(HIWORD(ls)),
             unsigned(LOWORD(ls)));
    return b;
}

int Version(const std::wstring& exe) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (size == 0) {
        std::fprintf(stderr, "relprobe: no version resource in %s\n", Utf8(exe).c_str());
        return 1;
    }
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) && fixed) {
        Line("FixedFileVersion", Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
        Line("FixedProductVersion", Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    }
    struct Translation {
        WORD language, codePage;
    }* tr = nullptr;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr), &len) ||
        len < sizeof *tr)
        return 1;
    wchar_t block[64];
    swprintf(block, 64, L"%04x%04x", unsigned(tr->language), unsigned(tr->codePage));
    Line("Translation", block);
    for (const char* key : {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
                            "OriginalFilename", "ProductName", "ProductVersion"}) {
        std::wstring wkey(key, key + std::char_traits<char>::length(key));
        std::wstring path = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + wkey;
        wchar_t* value = nullptr;
        if (VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &len) && value)
            Line(key, value);
    }

    // The machine from the PE header, and the manifest (resource 1 of type 24).
    HMODULE m = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m) return 1;
    HANDLE f = CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        char head[4096];
        DWORD got = 0;
        ReadFile(f, head, sizeof head, &got, nullptr);
        CloseHandle(f);
        DWORD pe = got >= 64 ? *reinterpret_cast<DWORD*>(head + 60) : 0;
        if (pe + 6 <= got) {
            WORD machine = *reinterpret_cast<WORD*>(head + pe + 4);
            Line("Machine", machine == IMAGE_FILE_MACHINE_AMD64 ? L"x64"
                            : machine == IMAGE_FILE_MACHINE_I386 ? L"x86"
                                                                 : L"other");
        }
    }
    HRSRC r = FindResourceW(m, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    std::string manifest;
    if (r) {
        const char* p = static_cast<const char*>(LockResource(LoadResource(m, r)));
        if (p) manifest.assign(p, SizeofResource(m, r));
    }
    FreeLibrary(m);
    Line("Manifest", manifest.empty() ? L"none" : L"present");
    Line("ManifestAsInvoker", manifest.find("level=\"asInvoker\"") != std::string::npos ? L"yes" : L"no");
    return 0;
}

int Shortcut(const std::wstring& lnk) {
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    int rc = 1;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ))) {
                wchar_t target[MAX_PATH] = {}, dir[MAX_PATH] = {};
                link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
                link->GetWorkingDirectory(dir, MAX_PATH);
                Line("Target", target);
                Line("WorkingDirectory", dir);
                rc = 0;
            } else {
                std::fprintf(stderr, "relprobe: cannot read the shortcut %s\n", Utf8(lnk).c_str());
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return rc;
}

int Folders() {
    const struct {
        const char* key;
        int csidl;
    } folders[] = {{"LocalAppData", CSIDL_LOCAL_APPDATA}, {"Programs", CSIDL_PROGRAMS}, {"Desktop", CSIDL_DESKTOPDIRECTORY}};
    for (const auto& f : folders) {
        wchar_t path[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, f.csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return 1;
        Line(f.key, path);
    }
    return 0;
}

std::wstring TextOf(HWND w) {
    wchar_t text[512] = {};
    GetWindowTextW(w, text, 512);
    return text;
}

std::wstring ClassOf(HWND w) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    return cls;
}

// The visible top-level window of a process of a class, or nullptr.
HWND TopOf(DWORD pid, const wchar_t* cls) {
    struct Find {
        DWORD pid;
        const wchar_t* cls;
        HWND found;
    } find{pid, cls, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Find*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if ((f->pid == 0 || owner == f->pid) && IsWindowVisible(w) && ClassOf(w) == f->cls) {
                f->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// The installer's page: the visible child dialog of its window.
HWND PageOf(HWND wizard) {
    for (HWND c = GetWindow(wizard, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c) && ClassOf(c) == L"#32770") return c;
    return nullptr;
}

// The page's check boxes: "[x] text" or "[ ] text", one a line.
std::string CheckBoxes(HWND page) {
    std::string out;
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        LONG type = GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        if (IsWindowVisible(c) && ClassOf(c) == L"Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX))
            out += std::string("check=") + (SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? "[x] " : "[ ] ") +
                   Utf8(TextOf(c)) + "\n";
    }
    return out;
}

int Wizard(const std::wstring& setup) {
    std::wstring cmd = L"\"" + setup + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "relprobe: cannot start %s\n", Utf8(setup).c_str());
        return 1;
    }
    HWND last = nullptr;
    const DWORD start = GetTickCount();
    for (int pages = 0; pages < 12 && GetTickCount() - start < 90000;) {
        if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
        HWND wizard = TopOf(pi.dwProcessId, L"#32770");
        HWND page = wizard ? PageOf(wizard) : nullptr;
        HWND next = wizard ? GetDlgItem(wizard, IDOK) : nullptr;
        // A new page whose default button can be pressed; the progress page goes on by itself.
        if (!page || page == last || !next || !IsWindowEnabled(next) || !IsWindowVisible(next)) continue;
        if (FindWindowExW(page, nullptr, L"msctls_progress32", nullptr)) continue;
        Sleep(300); // let the page finish setting itself up
        last = page;
        ++pages;
        std::printf("page=%d\nbutton=%s\n%s", pages, Utf8(TextOf(next)).c_str(), CheckBoxes(page).c_str());
        std::fflush(stdout);
        PostMessageW(wizard, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(next));
    }
    DWORD done = WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("setup=%s\n", done == WAIT_OBJECT_0 ? (code == 0 ? "finished" : "failed") : "running");
    // The program the last page started, if it did: its main window, then closed.
    HWND main = nullptr;
    for (int i = 0; i < 200 && !main; ++i, Sleep(100)) main = TopOf(0, L"TForm1");
    std::printf("started=%s\n", main ? Utf8(TextOf(main)).c_str() : "");
    if (main) {
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        PostMessageW(main, WM_CLOSE, 0, 0);
        if (process) {
            if (WaitForSingleObject(process, 15000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
    std::fflush(stdout);
    return done == WAIT_OBJECT_0 && code == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int rc = 2;
    std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"version" && argc == 3) rc = Version(WindowsPath(argv[2]));
    else if (what == L"shortcut" && argc == 3) rc = Shortcut(WindowsPath(argv[2]));
    else if (what == L"folders" && argc == 2) rc = Folders();
    else if (what == L"wizard" && argc == 3) rc = Wizard(WindowsPath(argv[2]));
    else std::fputs("usage: relprobe version EXE | shortcut LNK | folders | wizard SETUP\n", stderr);
    std::fflush(stdout);
    return rc;
}
