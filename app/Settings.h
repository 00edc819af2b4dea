// The settings file: an INI file beside the executable, named after it.
#pragma once

#include <string>

// The executable's path with its last three characters replaced by "ini".
std::wstring SettingsFileName();
std::wstring SettingsFileNameFor(const std::wstring& exePath);

// The gateway's host (or host:port) from "Gateway"/"Host", DefaultGatewayHost when absent.
std::string GatewayHostSetting();
