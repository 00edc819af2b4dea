#include "app/SkinSetup.h"

#include "app/Settings.h"

#include "framework/SysUtils.h"
#include "skin/forms/FrameLayout.h"

#include <windows.h>

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
