// TQuickIni: an INI text held in memory, answering section/key look-ups without the system's profile
// functions. The skin description is read through it.
#pragma once

#include "framework/Classes.h"
#include "skin/data/Streams.h"

#include <string>
#include <vector>

// The trimming applied to every stored line: bytes at or below the space character go at both ends.
std::string TrimIniBlanks(const std::string& s);

// Lines are stored trimmed (every byte <= space removed at both ends); comments (first character
// ';') and empty lines are dropped on load. Section names are matched without regard to ASCII case;
// key names are stored as written and compared after lower-casing. The first of duplicate sections
// or keys wins. Missing sections and keys are never errors.
class TQuickIni : public TObject {
public:
    // Rebuilds both lists from everything between the stream's position and its end (a zero byte
    // ends the text). A null stream changes nothing.
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const std::string& fileName); // EFOpenError
    // Each stored line followed by CR LF. A null stream is ignored.
    void SaveToStream(TStream* stream) const;
    void SaveToFile(const std::string& fileName) const; // EFCreateError, EWriteError
    // Takes the lines as they are (no trimming or dropping) and rebuilds the section index.
    void SetIniFile(const TStringList& strings);
    void RebuildSections();
    void Clear();
    void SetFileName(const std::string& name);
    const std::string& FileName() const { return fileName_; }
    const TStringList& Lines() const { return lines_; }

    // The compressed form: 4-byte size, then the LZH code of the text. Compress rewinds both streams
    // and packs the whole source. Decompress empties the destination and returns false (leaving it
    // empty) when the stream is refused: too short, an implausible size, or truncated code.
    static void Compress(TStream& source, TStream& destination);
    static bool Decompress(TStream& source, TMemoryStream& destination);
    // A refused file loads as an empty text. File errors propagate.
    void LoadFromZip(const std::string& fileName);
    void SavetoZip(const std::string& fileName) const;

    // Line index of the section's header, or -1.
    int GetSectionIndex(const std::string& section) const;
    static bool IsSection(const std::string& line);
    // The lower-cased, trimmed text before the first '=' (empty without one).
    static std::string GetName(const std::string& line);
    // The trimmed text after the first '=' when the line's name is name; empty otherwise.
    static std::string GetValue(const std::string& line, const std::string& name);

    // The first key line of the section named key; def when absent or empty (the search does not go
    // on past an empty value).
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Decimal, or hexadecimal after "$" or "0x"; def when absent or not a number.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    void ReadSection(const std::string& section, TStringList& list) const;       // lower-cased key names
    void ReadSections(TStringList& list) const;                                  // section names in order
    void ReadSectionValues(const std::string& section, TStringList& list) const; // lines as stored

    // Replaces the section's first line named key, or adds key=value at the section's end (a missing
    // section is appended). An empty key only creates the section.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // Removes the section's first line whose name equals key as given (so only lower-case keys are
    // ever found).
    void DeleteKey(const std::string& section, const std::string& key);
    // Removes the header and its lines; a section that did not start the text leaves one empty line.
    void EraseSection(const std::string& section);

private:
    struct SectionEntry {
        std::string header; // as stored, brackets included
        int line;           // index of the header in lines_
    };

    // One past the section's last line: the next header or the end.
    int SectionEnd(int header) const;
    // Adds delta to the line index of every section whose header lies at or after line.
    void ShiftSections(int line, int delta);

    TStringList lines_;
    std::vector<SectionEntry> sections_;
    std::string fileName_;
};
