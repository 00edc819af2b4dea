#include "skin/data/WinSkinIni.h"

#include "framework/SysUtils.h"
#include "skin/data/Lzh.h"

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string& s) {
    return TrimIniBlanks(s);
}

bool IsHeaderText(const std::string& s) {
    return !s.empty() && s.front() == '[' && s.back() == ']';
}

} // namespace

std::string TrimIniBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

void TQuickIni::LoadFromStream(TStream* stream) {
    if (!stream) return;
    TMemoryStream rest;
    rest.LoadFromStream(*stream);
    const std::string& all = rest.Bytes();
    size_t end = all.find('\0');
    if (end == std::string::npos) end = all.size();

    Clear();
    size_t i = 0;
    while (i < end) {
        size_t e = i;
        while (e < end && all[e] != '\r' && all[e] != '\n')
            ++e;
        std::string line = Trim(all.substr(i, e - i));
        if (!line.empty() && line[0] != ';') {
            int index = lines_.Add(line);
            if (IsHeaderText(line)) sections_.push_back({line, index});
        }
        if (e < end && all[e] == '\r' && e + 1 < end && all[e + 1] == '\n') ++e;
        i = e + 1;
    }
}

void TQuickIni::LoadFromFile(const std::string& fileName) {
    TMemoryStream file;
    file.LoadFromFile(fileName);
    LoadFromStream(&file);
}

void TQuickIni::SaveToStream(TStream* stream) const {
    if (!stream) return;
    std::string text = lines_.Text();
    stream->WriteBuffer(text.data(), int64_t(text.size()));
}

void TQuickIni::SaveToFile(const std::string& fileName) const {
    WriteFileBytes(fileName, lines_.Text());
}

void TQuickIni::SetIniFile(const TStringList& strings) {
    lines_ = strings;
    RebuildSections();
}

void TQuickIni::RebuildSections() {
    sections_.clear();
    for (int i = 0; i < lines_.Count(); ++i)
        if (IsHeaderText(lines_[i])) sections_.push_back({Trim(lines_[i]), i});
}

void TQuickIni::Clear() {
    lines_.Clear();
    sections_.clear();
}

void TQuickIni::SetFileName(const std::string& name) {
    if (name != fileName_) fileName_ = name;
}

void TQuickIni::Compress(TStream& source, TStream& destination) {
    LzhCompressStream(source, destination);
}

bool TQuickIni::Decompress(TStream& source, TMemoryStream& destination) {
    return LzhDecompressStream(source, destination) == TLzhStatus::Ok;
}

void TQuickIni::LoadFromZip(const std::string& fileName) {
    TMemoryStream packed, text;
    packed.LoadFromFile(fileName);
    Decompress(packed, text);
    text.SetPosition(0);
    LoadFromStream(&text);
}

void TQuickIni::SavetoZip(const std::string& fileName) const {
    TMemoryStream text, packed;
    SaveToStream(&text);
    Compress(text, packed);
    packed.SaveToFile(fileName);
}

int TQuickIni::GetSectionIndex(const std::string& section) const {
    std::string header = "[" + section + "]";
    for (const SectionEntry& s : sections_)
        if (SameText(s.header, header)) return s.line;
    return -1;
}

bool TQuickIni::IsSection(const std::string& line) {
    return IsHeaderText(Trim(line));
}

std::string TQuickIni::GetName(const std::string& line) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return std::string();
    return LowerCase(Trim(line.substr(0, eq)));
}

std::string TQuickIni::GetValue(const std::string& line, const std::string& name) {
    if (line.empty() || name.empty()) return std::string();
    size_t eq = line.find('=');
    if (eq == std::string::npos || GetName(line) != name) return std::string();
    return Trim(line.substr(eq + 1));
}

int TQuickIni::SectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.Count() && !IsSection(lines_[i]))
        ++i;
    return i;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    int header = GetSectionIndex(section);
    if (header < 0 || lines_.Count() == 0) return def;
    std::string name = LowerCase(key);
    for (int i = header + 1, end = SectionEnd(header); i < end; ++i) {
        if (GetName(lines_[i]) != name) continue;
        std::string value = GetValue(lines_[i], name);
        return value.empty() ? def : value;
    }
    return def;
}

int TQuickIni::ReadInteger(const std::string& section, const std::string& key, int def) const {
    std::string s = ReadString(section, key, "");
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
    return StrToIntDef(s, def);
}

bool TQuickIni::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TQuickIni::ReadSection(const std::string& section, TStringList& list) const {
    list.Clear();
    int header = GetSectionIndex(section);
    if (header < 0) return;
    for (int i = header + 1, end = SectionEnd(header); i < end; ++i) {
        std::string name = GetName(lines_[i]);
        if (!name.empty()) list.Add(name);
    }
}

void TQuickIni::ReadSections(TStringList& list) const {
    list.Clear();
    for (const SectionEntry& s : sections_) {
        std::string t = Trim(s.header);
        list.Add(Trim(t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string()));
    }
}

void TQuickIni::ReadSectionValues(const std::string& section, TStringList& list) const {
    list.Clear();
    int header = GetSectionIndex(section);
    if (header < 0) return;
    for (int i = header + 1, end = SectionEnd(header); i < end; ++i)
        list.Add(lines_[i]);
}

void TQuickIni::ShiftSections(int line, int delta) {
    for (SectionEntry& s : sections_)
        if (s.line >= line) s.line += delta;
}

void TQuickIni::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    int header = GetSectionIndex(section);
    if (header < 0) {
        std::string text = "[" + section + "]";
        sections_.push_back({text, lines_.Add(text)});
        if (!key.empty()) lines_.Add(key + "=" + value);
        return;
    }
    std::string name = LowerCase(key);
    int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (GetName(lines_[i]) == name) {
            if (!key.empty()) lines_[i] = key + "=" + value;
            return;
        }
    }
    if (key.empty()) return;
    if (end >= lines_.Count()) {
        lines_.Add(key + "=" + value);
    } else {
        lines_.Insert(end, key + "=" + value);
        ShiftSections(end, 1);
    }
}

void TQuickIni::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TQuickIni::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TQuickIni::DeleteKey(const std::string& section, const std::string& key) {
    int header = GetSectionIndex(section);
    if (header < 0) return;
    for (int i = header + 1, end = SectionEnd(header); i < end; ++i) {
        if (GetName(lines_[i]) == key) {
            lines_.Delete(i);
            ShiftSections(i, -1);
            return;
        }
    }
}

void TQuickIni::EraseSection(const std::string& section) {
    int header = GetSectionIndex(section);
    if (header < 0) return;
    int end = SectionEnd(header);
    for (size_t k = 0; k < sections_.size(); ++k) {
        if (sections_[k].line == header) {
            sections_.erase(sections_.begin() + long(k));
            break;
        }
    }
    for (int i = end - 1; i >= header; --i)
        lines_.Delete(i);
    int removed = end - header;
    if (header > 0) {
        lines_.Insert(header, ""); // keeps the sections apart when saved
        removed -= 1;
    }
    ShiftSections(end, -removed);
}
