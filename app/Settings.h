// The settings file: an INI file beside the executable, named after it.
#pragma once

#include <functional>
#include <string>

class TIniFile;

// The running executable's full path.
std::wstring ExePath();
// The executable's path with its last three characters replaced by "ini".
std::wstring SettingsFileName();
std::wstring SettingsFileNameFor(const std::wstring& exePath);

// The gateway's host (or host:port) from "Gateway"/"Host", DefaultGatewayHost when absent.
std::string GatewayHostSetting();

// Writes to the settings file: write stores the values and returns false when a write failed. A
// failure is shown in a message box that names the file and the likely cause and offers to try again
// (once the user has freed the file); the values stay where they came from either way. True when
// everything was written.
bool SaveSettings(const std::function<bool(TIniFile& ini)>& write);

// The text of that message box for a system error code.
std::wstring SaveFailedText(const std::wstring& fileName, unsigned long error);
