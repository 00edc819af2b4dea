#include "skin/data/SkinCheck.h"

#include "framework/SysUtils.h"
#include "skin/data/SkinCheckParts.h"
#include "skin/data/SkinFolder.h"
#include "skin/data/SkinKeys.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

using L = TSkinProblemLevel;

std::string Trim(const std::string& s) {
    return TrimIniBlanks(s);
}

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

// Edit distance without regard to ASCII case, for "did you mean".
size_t Distance(const std::string& a0, const std::string& b0) {
    const std::string a = LowerCase(a0), b = LowerCase(b0);
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

// "; did you mean X?" for the closest name within a third of its length, else "".
std::string Suggestion(const std::string& written, const std::vector<std::string>& names) {
    std::string best;
    size_t bestDistance = 0;
    for (const std::string& n : names) {
        const size_t d = Distance(written, n);
        if (best.empty() || d < bestDistance) {
            best = n;
            bestDistance = d;
        }
    }
    if (best.empty() || bestDistance == 0 || bestDistance > std::max<size_t>(1, best.size() / 3)) return "";
    return "; did you mean " + best + "?";
}

std::string EntryAsIs(const TCheckContext&, const std::string& storedName) {
    return storedName;
}
std::string EntryInFolder(const TCheckContext& c, const std::string& storedName) {
    return SkinFolderFile(c.Dir, storedName);
}

// Reads the package as LoadSkin does and runs every part of the check.
std::vector<TSkinProblem> CheckPackage(const std::string& bytes, const std::string& packageName,
                                       const std::string& dir) {
    std::vector<TSkinProblem> out;
    auto whole = [&](const std::string& file, const std::string& message) {
        TSkinProblem p;
        p.File = file;
        p.Message = message;
        out.push_back(p);
        return out;
    };
    TSkinReader package;
    TMemoryStream stream;
    stream.Assign(bytes);
    if (!package.Loadfromstream(stream))
        return whole(packageName, std::string("not a skin package: ") + SkinReadStatusText(package.Status()) +
                                      "; the engine keeps the skin it has");
    TMemoryStream text;
    std::string iniName;
    package.readIni(".ini", text, iniName);
    if (iniName.empty())
        return whole(packageName, "no description (an entry whose name holds \".ini\"); the engine reads no keys "
                                  "and leaves every element out");
    std::string stored = iniName;
    for (int i = 0; i < package.Count(); ++i)
        if (package.Names()[i] == iniName) {
            stored = package.StoredNames()[i];
            break;
        }

    const TDescription desc = ParseDescription(text.Bytes());
    TQuickIni ini;
    text.SetPosition(0);
    ini.LoadFromStream(&text);
    auto model = std::make_unique<TSkinModel>();
    model->LoadFromIni(ini, &package);

    TCheckContext c{package, desc, *model, "", stored, dir.empty() ? EntryAsIs : EntryInFolder, dir, out, {}};
    c.DescriptionFile = c.FileOf(stored);
    c.NamedEntries.insert(iniName);
    CheckStructure(c);
    CheckValues(c);
    CheckImages(c);
    CheckContrast(c);

    // The description first, by line; then the other files by name.
    std::stable_sort(out.begin(), out.end(), [&](const TSkinProblem& a, const TSkinProblem& b) {
        const bool da = a.File == c.DescriptionFile, db = b.File == c.DescriptionFile;
        if (da != db) return da;
        if (a.File != b.File) return a.File < b.File;
        return a.Line < b.Line;
    });
    return out;
}

} // namespace

// ---- The description's lines ----

TDescription ParseDescription(const std::string& all) {
    TDescription d;
    size_t end = all.find('\0');
    if (end == std::string::npos) end = all.size();
    int line = 1;
    if (end < all.size())
        for (size_t i = 0; i < end; ++i)
            if (all[i] == '\n' || (all[i] == '\r' && !(i + 1 < end && all[i + 1] == '\n'))) ++line;
    if (end < all.size()) d.ZeroByteLine = line;

    line = 1;
    size_t i = 0;
    while (i < end) {
        size_t e = i;
        while (e < end && all[e] != '\r' && all[e] != '\n')
            ++e;
        const std::string text = Trim(all.substr(i, e - i));
        if (!text.empty() && text[0] != ';') {
            d.Stored.push_back(text);
            if (text.front() == '[' && text.back() == ']') {
                TDescSection s;
                s.Line = line;
                s.Header = text;
                s.Name = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
                d.Sections.push_back(std::move(s));
            } else {
                const size_t eq = text.find('=');
                const std::string name = eq == std::string::npos ? std::string() : Trim(text.substr(0, eq));
                if (d.Sections.empty())
                    d.BeforeFirst.push_back({line, text});
                else if (name.empty())
                    d.Sections.back().Other.push_back({line, text});
                else
                    d.Sections.back().Keys.push_back({line, name, Trim(text.substr(eq + 1))});
            }
        }
        if (e < end && all[e] == '\r' && e + 1 < end && all[e + 1] == '\n') ++e;
        i = e + 1;
        ++line;
    }
    return d;
}

// ---- The context ----

const TDescSection* TCheckContext::Section(const std::string& name) const {
    for (const TDescSection& s : Desc.Sections)
        if (SameText(s.Header, "[" + name + "]")) return &s;
    return nullptr;
}

const TDescKey* TCheckContext::Key(const std::string& section, const std::string& key) const {
    const TDescSection* s = Section(section);
    if (!s) return nullptr;
    const std::string wanted = LowerCase(key);
    for (const TDescKey& k : s->Keys)
        if (LowerCase(k.Name) == wanted) return &k;
    return nullptr;
}

int TCheckContext::LineOf(const std::string& section, const std::string& key) const {
    if (const TDescKey* k = Key(section, key)) return k->Line;
    if (const TDescSection* s = Section(section)) return s->Line;
    return 0;
}

std::string TCheckContext::Spelled(const std::string& section, const std::string& key) const {
    const TDescKey* k = Key(section, key);
    return k ? k->Name : key;
}

std::string TCheckContext::SectionSpelled(const std::string& section) const {
    const TDescSection* s = Section(section);
    return s ? s->Name : section;
}

void TCheckContext::Add(TSkinProblemLevel level, int line, const std::string& section, const std::string& key,
                        const std::string& message) {
    TSkinProblem p;
    p.Level = level;
    p.File = DescriptionFile;
    p.Line = line;
    p.Section = section;
    p.Key = key;
    p.Message = message;
    Out.push_back(std::move(p));
}

// ---- Values ----

bool EngineInteger(const std::string& value, int& out) {
    // Through the engine's own reading, so that the check cannot drift from it.
    TStringList lines;
    lines.Add("[s]");
    lines.Add("k=" + value);
    TQuickIni ini;
    ini.SetIniFile(lines);
    const TSkinDescription d{ini, nullptr};
    const int a = d.ReadInteger("s", "k", 0), b = d.ReadInteger("s", "k", 1);
    if (a != b) return false;
    out = a;
    return true;
}

std::string ColourText(TColor colour) {
    return std::to_string(GetRValue(colour)) + " " + std::to_string(GetGValue(colour)) + " " +
           std::to_string(GetBValue(colour));
}

std::string ColourTextProblem(const std::string& value, TSkinProblemLevel& level) {
    level = L::Error;
    const std::string lower = LowerCase(value);
    if (lower.rfind("0x", 0) == 0 || lower.rfind("$", 0) == 0 || lower.rfind("#", 0) == 0)
        return "a colour is three decimal numbers (red green blue), not hexadecimal";
    if (std::any_of(value.begin(), value.end(), [](char ch) { return (ch | 0x20) >= 'a' && (ch | 0x20) <= 'z'; }))
        return "a colour is three decimal numbers (red green blue), not a name";
    std::vector<std::string> numbers;
    std::string run;
    for (size_t i = 0; i <= value.size(); ++i) {
        if (i < value.size() && value[i] >= '0' && value[i] <= '9') {
            run += value[i];
        } else if (!run.empty()) {
            numbers.push_back(run);
            run.clear();
        }
    }
    if (numbers.size() < 3)
        return "a colour is three numbers (red green blue); " + std::to_string(numbers.size()) +
               (numbers.size() == 1 ? " is" : " are") + " given";
    for (const std::string& n : numbers)
        if (n.size() > 3 || std::stoi(n) > 255) return n + " is past 255";
    if (numbers.size() > 3) {
        level = L::Warning;
        return std::to_string(numbers.size()) + " numbers given, and only red, green and blue are read";
    }
    return "";
}

// ---- Structure: sections, keys, repeats and stray lines ----

void CheckStructure(TCheckContext& c) {
    const TDescription& d = c.Desc;
    if (d.ZeroByteLine)
        c.Add(L::Warning, d.ZeroByteLine, "", "", "a zero byte ends the text here; the engine reads nothing after it");
    for (const TDescLine& l : d.BeforeFirst)
        c.Add(L::Warning, l.Line, "", "",
              Quoted(l.Text) + " lies before the first [section]; the engine never reads it");

    std::map<std::string, int> firstSection; // lower-case header -> line
    for (const TDescSection& s : d.Sections) {
        const std::string header = LowerCase(s.Header);
        auto [at, first] = firstSection.insert({header, s.Line});
        if (!first) {
            c.Add(L::Warning, s.Line, s.Name, "",
                  "repeated section; the engine reads only the one at line " + std::to_string(at->second));
            continue;
        }
        const std::string stripped = Trim(s.Name);
        if (stripped != s.Name && IsSkinSection(stripped)) {
            c.Add(L::Error, s.Line, s.Name, "",
                  "blanks inside the brackets: the engine looks for [" + stripped + "] and does not find this section");
            continue;
        }
        if (!IsSkinSection(s.Name)) {
            c.Add(L::Warning, s.Line, s.Name, "",
                  "not a section the engine reads" + Suggestion(s.Name, SkinSectionNames()));
            continue;
        }
        for (const TDescLine& o : s.Other)
            c.Add(L::Warning, o.Line, s.Name, "", Quoted(o.Text) + " is not a key=value line; the engine ignores it");
        std::map<std::string, const TDescKey*> firstKey;
        for (const TDescKey& k : s.Keys) {
            auto [seen, isFirst] = firstKey.insert({LowerCase(k.Name), &k});
            if (SkinValueType(s.Name, k.Name) == TSkinValueType::Unread) {
                c.Add(L::Warning, k.Line, s.Name, k.Name,
                      "not a key the engine reads in this section" + Suggestion(k.Name, SkinSectionKeys(s.Name)));
                continue;
            }
            if (isFirst) continue;
            const TDescKey& read = *seen->second;
            c.Add(
                L::Warning, k.Line, s.Name, k.Name,
                "repeated key; the engine reads line " + std::to_string(read.Line) +
                    (read.Value.empty() ? " (empty there, so the engine uses the default)" : " and ignores this one"));
        }
    }
}

// ---- Values against what the model made of them ----

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Why the model holds another value than the one written, to follow "<value> is ".
std::string OutOfRange(const std::string& key, int given, const TBitmap32* image, bool horizontal) {
    const std::string k = LowerCase(key);
    const std::string length =
        image ? std::to_string(horizontal ? image->Width() : image->Height()) : std::string("its");
    const std::string along = horizontal ? "width" : "height";
    if (EndsWith(k, "frame") || EndsWith(k, "framecount"))
        return given < 1 ? "below 1" : "more frames than the image's " + length + " pixels of " + along;
    const bool margin = EndsWith(k, "width") || EndsWith(k, "height") || EndsWith(k, "leftmenu") ||
                        EndsWith(k, "rightmenu") || k == "txtbackleft" || k == "txtbackright";
    if (margin && given < 0) return "negative";
    if (margin && image) return "past the image's " + along + " of " + length + " pixels";
    return "out of the range the engine accepts";
}

// Whether a key's number runs across its image (widths, and the frames of a strip laid side by
// side) rather than down it.
bool Horizontal(const std::string& section, const std::string& key) {
    const std::string k = LowerCase(key), s = LowerCase(section);
    if (s == "personality") {
        if (k.find("menu") != std::string::npos) return true;
        const bool sideBorder = k.rfind("left", 0) == 0 || k.rfind("right", 0) == 0;
        // Side borders: frames side by side, margins down; top and bottom: frames stacked, margins across.
        return EndsWith(k, "frame") ? sideBorder : !sideBorder;
    }
    if (EndsWith(k, "frame") || EndsWith(k, "framecount")) return true;
    return k.find("left") != std::string::npos || k.find("right") != std::string::npos;
}

void CheckInteger(TCheckContext& c, const TDescSection& s, const TDescKey& k, TSkinValueType type) {
    int given = 0;
    int engine = 0;
    const bool kept = ModelInteger(c.Model, s.Name, k.Name, engine);
    const std::string uses = kept ? "; the engine uses " + std::to_string(engine) : "; the engine uses its default";
    if (!EngineInteger(k.Value, given)) {
        c.Add(L::Error, k.Line, s.Name, k.Name, Quoted(k.Value) + " is not a number" + uses);
        return;
    }
    const std::string key = LowerCase(k.Name);
    if (type == TSkinValueType::Switch && given != 0 && given != 1) {
        c.Add(L::Warning, k.Line, s.Name, k.Name,
              std::to_string(given) + " is not 0 or 1" +
                  (kept && engine != given ? uses : "; the engine keeps it, and its parts read it as 0 or as 1"));
        return;
    }
    if (type == TSkinValueType::ColourIndex) {
        const int count = int(c.Model.PreColors.size());
        if (given < -1 || given >= count)
            c.Add(L::Warning, k.Line, s.Name, k.Name,
                  std::to_string(given) + " is not -1 or the place of a [Colour...] section (there are " +
                      std::to_string(count) + ")");
        return;
    }
    if (key == "textalignment" && (given < 0 || given > 2)) {
        c.Add(L::Warning, k.Line, s.Name, k.Name, std::to_string(given) + " is not 0, 1 or 2; the engine aligns left");
        return;
    }
    if (key.size() > 1 && (key.rfind("activetext", 0) == 0 || key.rfind("inactivetext", 0) == 0)) {
        if (given > 255)
            c.Add(L::Error, k.Line, s.Name, k.Name,
                  std::to_string(given) + " is past 255; the engine uses " + std::to_string(given & 0xFF));
        return;
    }
    if (!kept || engine == given) return;
    // A count the engine works out from the image when none is given.
    const bool derived = key == "radiobuttonframe" || key == "checkbuttonframe" ||
                         (key == "frame" && LowerCase(s.Name).rfind("button", 0) == 0);
    if (derived && given == 0) return;
    if (derived && given < 0) {
        c.Add(L::Error, k.Line, s.Name, k.Name,
              std::to_string(given) + " is below 0; the engine counts the frames itself and uses " +
                  std::to_string(engine));
        return;
    }
    const TDataSkinObject* record = ModelRecord(c.Model, s.Name);
    const TBitmap32* image = record ? &record->Bitmap : nullptr;
    if (LowerCase(s.Name) == "personality") {
        for (const TDataSkinBorder* b :
             {&c.Model.BorderLeft, &c.Model.BorderRight, &c.Model.BorderTop, &c.Model.BorderBottom})
            if (key.rfind(LowerCase(b->Name), 0) == 0) image = &b->Bitmap;
        if (key.find("menu") != std::string::npos && c.Model.MenuBar) image = &c.Model.MenuBar->Bitmap;
    }
    c.Add(L::Error, k.Line, s.Name, k.Name,
          std::to_string(given) + " is " + OutOfRange(k.Name, given, image, Horizontal(s.Name, k.Name)) + uses);
}

void CheckColour(TCheckContext& c, const TDescSection& s, const TDescKey& k, int position) {
    TSkinProblemLevel level = L::Error;
    const std::string problem = ColourTextProblem(k.Value, level);
    if (problem.empty()) return;
    TColor engine = 0;
    const std::string uses = ModelColour(c.Model, s.Name, k.Name, position, engine)
                                 ? "; the engine uses " + ColourText(engine)
                                 : "; the engine uses " + ColourText(GetColor(k.Value, 0));
    c.Add(level, k.Line, s.Name, k.Name, Quoted(k.Value) + ": " + problem + uses);
}

// Action -1 drops a caption button unless its Visibility is 0.
bool DroppedButton(const TCheckContext& c, const TDescSection& s) {
    const std::string up = UpperCase(Trim(s.Name));
    if (up.rfind("BUTTON", 0) != 0 || !IsSkinSection(s.Name) || LowerCase(s.Name) == "buttons") return false;
    for (const TDataSkinSysButton& b : c.Model.SysButtons)
        if (b.Name == up) return false;
    return true;
}

// Element sections whose record exists only when the section names its image.
bool SlotWithoutImage(const TCheckContext& c, const TDescSection& s) {
    const std::string n = LowerCase(s.Name);
    if (n == "personality" || n == "colours" || n == "fonts" || n == "titlebarskin" || n == "buttons" ||
        n == "mdicontrols" || n.rfind("colour", 0) == 0 || n.rfind("button", 0) == 0)
        return false;
    return ModelRecord(c.Model, s.Name) == nullptr;
}

} // namespace

void CheckValues(TCheckContext& c) {
    std::set<std::string> done;
    int colourPosition = 0;
    for (const TDescSection& s : c.Desc.Sections) {
        // The engine numbers Colour... sections by position, repeated ones included.
        const std::string up = UpperCase(Trim(s.Name));
        const bool colourSection = up.rfind("COLOUR", 0) == 0 && up != "COLOURS";
        const int position = colourSection ? colourPosition++ : -1;
        if (!done.insert(LowerCase(s.Header)).second || !IsSkinSection(s.Name) || Trim(s.Name) != s.Name) continue;
        if (DroppedButton(c, s)) {
            c.Add(L::Warning, s.Line, s.Name, "",
                  "Action -1 without Visibility=0: the engine drops this caption button and reads none of its keys");
            continue;
        }
        if (SlotWithoutImage(c, s)) {
            const char* imageKey = LowerCase(s.Name) == "progress" ? "Bitmap" : "Image";
            c.Add(L::Warning, s.Line, s.Name, "",
                  std::string("no ") + imageKey +
                      ": the engine leaves this element to the system and reads none of "
                      "its keys");
            continue;
        }
        std::set<std::string> keys;
        for (const TDescKey& k : s.Keys) {
            if (!keys.insert(LowerCase(k.Name)).second || k.Value.empty()) continue;
            switch (SkinValueType(s.Name, k.Name)) {
            case TSkinValueType::Integer:
            case TSkinValueType::Switch:
            case TSkinValueType::ColourIndex:
                CheckInteger(c, s, k, SkinValueType(s.Name, k.Name));
                break;
            case TSkinValueType::Colour:
                CheckColour(c, s, k, position);
                break;
            default:
                break;
            }
        }
    }

    // The caption text colours take effect only with all three parts.
    for (const char* prefix : {"ActiveText", "InActiveText"}) {
        int given = 0, valid = 0;
        for (const char* part : {"R", "G", "B"}) {
            const TDescKey* k = c.Key("Personality", std::string(prefix) + part);
            int v = 0;
            if (!k || k->Value.empty()) continue;
            ++given;
            if (EngineInteger(k->Value, v) && v >= 0) ++valid;
        }
        if (given > 0 && valid < 3) {
            const std::string p = prefix;
            const TDescKey* first = c.Key("Personality", p + "R");
            if (!first) first = c.Key("Personality", p + "G");
            if (!first) first = c.Key("Personality", p + "B");
            c.Add(L::Error, first ? first->Line : c.LineOf("Personality", ""), c.SectionSpelled("Personality"),
                  first ? first->Name : p + "R",
                  p + "R, " + p + "G and " + p +
                      "B are needed together, each 0 or more; the engine uses the [Colours] " +
                      (p == "ActiveText" ? "TitleTextActive" : "TitleTextNoActive") + " colour instead");
        }
    }
}

// ---- Entry points ----

std::string TSkinProblem::Text() const {
    std::string t = File;
    if (Line > 0) t += ":" + std::to_string(Line);
    t += ":";
    if (!Section.empty()) t += " [" + Section + "]";
    if (!Key.empty()) t += " " + Key;
    if (!Section.empty() || !Key.empty()) t += ":";
    return t + " " + Message;
}

std::vector<TSkinProblem> CheckSkinPackage(const std::string& packageBytes, const std::string& packageName) {
    return CheckPackage(packageBytes, packageName, "");
}

std::vector<TSkinProblem> CheckSkinFolder(const std::string& path) {
    const TSkinFolder folder = ListSkinFolder(path);
    std::string package, error;
    if (!PackSkinFolder(folder, package, error)) {
        TSkinProblem p;
        p.File = folder.Dir;
        p.Message = error + "; the engine keeps the skin it has";
        return {p};
    }
    std::vector<TSkinProblem> out = CheckPackage(package, folder.Dir, folder.Dir);
    auto fileProblem = [&](const std::string& name, const std::string& message) {
        TSkinProblem p;
        p.Level = L::Warning;
        p.File = SkinFolderFile(folder.Dir, name);
        p.Message = message;
        out.push_back(p);
    };
    for (const std::string& name : folder.Skipped)
        fileProblem(name, "not a plain file; a skin is one folder, and its sub-folders are not read");
    for (const std::string& name : folder.CaseTwins)
        fileProblem(name, "differs from another file's name only in case; the engine finds only the first");
    return out;
}

std::vector<TSkinProblem> CheckSkinPath(const std::string& path) {
    if (IsSkinFolderPath(path)) return CheckSkinFolder(path);
    std::string bytes;
    if (!TryReadFileBytes(path, bytes)) {
        TSkinProblem p;
        p.File = path;
        p.Message = "cannot be read";
        return {p};
    }
    return CheckSkinPackage(bytes, path);
}

int SkinCheckStatus(const std::vector<TSkinProblem>& problems) {
    int status = 0;
    for (const TSkinProblem& p : problems)
        status = std::max(status, p.Level == L::Error ? 2 : 1);
    return status;
}

const TSkinProblem* FirstSkinProblem(const std::vector<TSkinProblem>& problems) {
    for (const TSkinProblem& p : problems)
        if (p.Level == L::Error) return &p;
    return problems.empty() ? nullptr : &problems.front();
}
