#include "app/SkinSetup.h"

#include "app/Settings.h"

#include "framework/SysUtils.h"
#include "skin/data/SkinFolder.h"
#include "skin/data/Streams.h"
#include "skin/forms/FrameLayout.h"

#include <windows.h>

#include <algorithm>

namespace {
std::wstring ExeFolder() {
    const std::wstring p = ExePath();
    const size_t slash = p.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : p.substr(0, slash + 1);
}

// The executable's stored skin: SkinStream as the main form stores it (N, then N bytes).
void ReadStoredSkin(TSkinData& skin) {
    HRSRC res = FindResourceW(nullptr, L"SKINSTREAM", MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes) return;
    TMemoryStream stream;
    stream.Assign(std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, res)));
    skin.ReadData(stream);
}
} // namespace

std::wstring SkinFilePath(const std::wstring& value) {
    const bool absolute =
        (value.size() > 1 && value[1] == L':') || (!value.empty() && (value[0] == L'\\' || value[0] == L'/'));
    return absolute ? value : ExeFolder() + value;
}

bool SkinPackageLoads(const std::wstring& path) {
    TSkinDataCore probe;
    if (!probe.LoadFromFile(WideToUtf8(path))) return false;
    // A caption too thin to hold, move or close a window by is no skin to use.
    return FrameMetricsOf(probe, sbsSingle, 0).Caption >= kMinCaptionHeight;
}

std::vector<TSkinChoice> ShippedSkins() {
    const std::wstring folder = ExeFolder() + L"skins\\";
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    const HANDLE find = FindFirstFileW((folder + L"*.skn").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(found.cFileName);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    // The stored skin's package first, then by name (the system's listing order is its own).
    std::sort(files.begin(), files.end(), [](const std::wstring& a, const std::wstring& b) {
        const bool sa =
            CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, L"tellit.skn", -1) == CSTR_EQUAL;
        const bool sb =
            CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, b.c_str(), -1, L"tellit.skn", -1) == CSTR_EQUAL;
        if (sa != sb) return sa;
        return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    std::vector<TSkinChoice> choices;
    for (const std::wstring& file : files) {
        std::string bytes;
        const std::string name =
            TryReadFileBytes(WideToUtf8(folder + file), bytes) ? SkinNameOfPackage(bytes) : std::string();
        choices.push_back({name.empty() ? file : Utf8ToWide(name), L"skins\\" + file});
    }
    return choices;
}

bool SameSkinFile(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return false;
    std::wstring fa = SkinFilePath(a), fb = SkinFilePath(b);
    for (std::wstring* f : {&fa, &fb})
        for (wchar_t& c : *f)
            if (c == L'/') c = L'\\';
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, fa.c_str(), -1, fb.c_str(), -1) == CSTR_EQUAL;
}

void SetUpSkin(TSkinData& skin, const TIniFile& ini) {
    ReadStoredSkin(skin);
    const std::wstring file = ini.ReadString(L"Skin", L"File", L"");
    if (!file.empty()) {
        const std::wstring path = SkinFilePath(file);
        if (SkinPackageLoads(path)) skin.LoadFromFile(WideToUtf8(path));
    }
    skin.DisableTag = 99;
    skin.SkinFormtype = sfMainform;
    skin.SetActive(ini.ReadInteger(L"Skin", L"Active", 1) != 0);
}
