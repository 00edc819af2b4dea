// The INI-file object over the system's profile functions: one value per key, read and written at
// once (the system caches and writes the file).
//
// The system keeps Unicode only in a file that starts with a UTF-16 LE byte-order mark; an 8-bit file
// is read and written in the ANSI code page, where text of another script turns into "?". So a file
// this object creates is UTF-16 LE with the mark, and an existing 8-bit file is rewritten as one,
// every line kept, before the first write of a text that the ANSI code page cannot hold.
#pragma once

#include "framework/Classes.h"

#include <string>

class TIniFile : public TObject {
public:
    explicit TIniFile(std::wstring fileName);
    // Flushes what the system keeps of the file.
    ~TIniFile() override;

    const std::wstring& FileName() const { return fileName_; }

    // A file that cannot be read (held open by another program without sharing, say) reads as empty.
    std::wstring ReadString(const std::wstring& section, const std::wstring& ident, const std::wstring& def) const;
    // False when the file could not be written (read-only, held by another program, no room);
    // LastError then tells why.
    bool WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value);
    // The value as a decimal or hexadecimal integer, or def when absent or not a number.
    int ReadInteger(const std::wstring& section, const std::wstring& ident, int def) const;
    bool WriteInteger(const std::wstring& section, const std::wstring& ident, int value);
    // True when the value is a non-zero integer; def when absent or not a number.
    bool ReadBool(const std::wstring& section, const std::wstring& ident, bool def) const;
    // Stored as "1" or "0".
    bool WriteBool(const std::wstring& section, const std::wstring& ident, bool value);

    // False when the file exists but cannot be opened for reading (so that reads give defaults).
    bool Readable() const;

    // The system's error code of the last failed write; 0 after a successful one.
    unsigned long LastError() const { return lastError_; }

private:
    // Makes the file fit to hold text: creates a missing or empty file as UTF-16 with the mark, and
    // converts an 8-bit file when text has a character its code page lacks.
    bool PrepareFor(const std::wstring& text);
    bool Fail(unsigned long error);

    std::wstring fileName_;
    unsigned long lastError_ = 0;
};

// True when every character of text has a form in the ANSI code page (no look-alike substitutes).
bool FitsAnsiCodePage(const std::wstring& text);
