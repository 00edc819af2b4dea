#include "app/Settings.h"

#include "app/Gateway.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"

#include <windows.h>

#include <vector>

std::wstring SettingsFileNameFor(const std::wstring& exePath) {
    if (exePath.size() < 3) return L"ini";
    return exePath.substr(0, exePath.size() - 3) + L"ini";
}

std::wstring SettingsFileName() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) return SettingsFileNameFor(std::wstring(path.data(), n));
        path.resize(path.size() * 2);
    }
}

std::string GatewayHostSetting() {
    TIniFile ini(SettingsFileName());
    std::wstring host = ini.ReadString(L"Gateway", L"Host", L"");
    return host.empty() ? std::string(DefaultGatewayHost) : WideToUtf8(host);
}
