#include "framework/IniFiles.h"

#include "framework/SysUtils.h"

#include <windows.h>

#include <vector>

TIniFile::TIniFile(std::wstring fileName) : fileName_(std::move(fileName)) {}

TIniFile::~TIniFile() {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, fileName_.c_str());
}

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& ident,
                                  const std::wstring& def) const {
    // The system cuts a value that does not fit and says so only by the length: grow until it fits.
    for (DWORD size = 256;; size *= 2) {
        std::vector<wchar_t> buffer(size);
        DWORD n = GetPrivateProfileStringW(section.c_str(), ident.c_str(), def.c_str(), buffer.data(), size,
                                           fileName_.c_str());
        if (n + 1 < size || size >= (1u << 20)) return std::wstring(buffer.data(), n);
    }
}

void TIniFile::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) {
    WritePrivateProfileStringW(section.c_str(), ident.c_str(), value.c_str(), fileName_.c_str());
}

int TIniFile::ReadInteger(const std::wstring& section, const std::wstring& ident, int def) const {
    std::wstring s = ReadString(section, ident, L"");
    if (s.empty()) return def;
    return StrToIntDef(WideToUtf8(s), def);
}

void TIniFile::WriteInteger(const std::wstring& section, const std::wstring& ident, int value) {
    WriteString(section, ident, std::to_wstring(value));
}

bool TIniFile::ReadBool(const std::wstring& section, const std::wstring& ident, bool def) const {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::wstring& section, const std::wstring& ident, bool value) {
    WriteString(section, ident, value ? L"1" : L"0");
}
