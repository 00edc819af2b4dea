#include "app/Settings.h"

#include "app/Gateway.h"
#include "framework/Forms.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"

#include <windows.h>

#include <vector>

std::wstring SettingsFileNameFor(const std::wstring& exePath) {
    if (exePath.size() < 3) return L"ini";
    return exePath.substr(0, exePath.size() - 3) + L"ini";
}

std::wstring ExePath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) return std::wstring(path.data(), n);
        path.resize(path.size() * 2);
    }
}

std::wstring SettingsFileName() {
    return SettingsFileNameFor(ExePath());
}

std::string GatewayHostSetting() {
    TIniFile ini(SettingsFileName());
    std::wstring host = ini.ReadString(L"Gateway", L"Host", L"");
    return host.empty() ? std::string(DefaultGatewayHost) : WideToUtf8(host);
}

std::wstring SaveFailedText(const std::wstring& fileName, unsigned long error) {
    std::wstring cause;
    switch (error) {
    case ERROR_ACCESS_DENIED:
        cause = L"Файл или папка защищены от записи.";
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        cause = L"Файл занят другой программой.";
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        cause = L"На диске нет места.";
        break;
    case ERROR_PATH_NOT_FOUND:
        cause = L"Папка не найдена.";
        break;
    default:
        cause = L"Код ошибки " + std::to_wstring(error) + L".";
    }
    // The buttons speak the system's language, so the text does not name them.
    return L"Не удалось сохранить настройки в файл\n" + fileName + L"\n" + cause +
           L"\n\nСнимите с файла защиту от записи или закройте программу, которая его держит, и повторите "
           L"попытку.";
}

bool SaveSettings(const std::function<bool(TIniFile& ini)>& write) {
    for (;;) {
        TIniFile ini(SettingsFileName());
        if (write(ini)) return true;
        const std::wstring text = SaveFailedText(ini.FileName(), ini.LastError());
        if (Application->MessageBox(text, Application->Title, MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY) return false;
    }
}
