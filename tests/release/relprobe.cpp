// relprobe: reads back, under Wine, what the release test checks of Windows files and folders.
//   relprobe version EXE     the version resource, the machine and the manifest, one KEY=VALUE a line
//   relprobe shortcut LNK    the shortcut's target and working folder
//   relprobe folders         the user's folders the installer writes to
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

} // namespace

int wmain(int argc, wchar_t** argv) {
    int rc = 2;
    std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"version" && argc == 3) rc = Version(WindowsPath(argv[2]));
    else if (what == L"shortcut" && argc == 3) rc = Shortcut(WindowsPath(argv[2]));
    else if (what == L"folders" && argc == 2) rc = Folders();
    else std::fputs("usage: relprobe version EXE | shortcut LNK | folders\n", stderr);
    std::fflush(stdout);
    return rc;
}
