// The INI-file object over the system's profile functions: one value per key, read and written at
// once (the system caches and writes the file).
#pragma once

#include "framework/Classes.h"

#include <string>

class TIniFile : public TObject {
public:
    explicit TIniFile(std::wstring fileName);
    // Flushes what the system keeps of the file.
    ~TIniFile() override;

    const std::wstring& FileName() const { return fileName_; }

    std::wstring ReadString(const std::wstring& section, const std::wstring& ident, const std::wstring& def) const;
    // Fails silently (the system's profile functions report nothing useful).
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value);
    // The value as a decimal or hexadecimal integer, or def when absent or not a number.
    int ReadInteger(const std::wstring& section, const std::wstring& ident, int def) const;
    void WriteInteger(const std::wstring& section, const std::wstring& ident, int value);
    // True when the value is a non-zero integer; def when absent or not a number.
    bool ReadBool(const std::wstring& section, const std::wstring& ident, bool def) const;
    // Stored as "1" or "0".
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value);

private:
    std::wstring fileName_;
};
