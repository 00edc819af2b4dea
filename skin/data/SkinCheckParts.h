// Inside the skin check (SkinCheck.h): the description's lines with their numbers, and what the
// check's parts share. Not for use outside the check.
#pragma once

#include "skin/data/SkinCheck.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"

#include <set>
#include <string>
#include <vector>

// One stored line of the description, as TQuickIni stores it (trimmed), with its line number.
struct TDescLine {
    int Line = 0;
    std::string Text;
};

// A key line: the name as written (trimmed, case kept) and the value (trimmed).
struct TDescKey {
    int Line = 0;
    std::string Name;
    std::string Value;
};

struct TDescSection {
    int Line = 0;
    std::string Header; // the stored line, brackets included
    std::string Name;   // between the brackets, blanks kept
    std::vector<TDescKey> Keys;
    std::vector<TDescLine> Other; // lines without a key name
};

// The description split the way TQuickIni splits it (CR, LF and CR LF end a line; blanks at or
// below the space character trimmed; empty lines and lines starting with ";" dropped; a zero byte
// ends the text), with the line numbers an editor shows.
struct TDescription {
    std::vector<TDescLine> BeforeFirst; // lines before the first section header
    std::vector<TDescSection> Sections;
    int ZeroByteLine = 0;            // the line of a zero byte that ends the text early; 0 when none
    std::vector<std::string> Stored; // every stored line in order, as TQuickIni keeps them
};
TDescription ParseDescription(const std::string& text);

// What the check's parts share while checking one skin.
struct TCheckContext {
    const TSkinReader& Package;
    const TDescription& Desc;
    const TSkinModel& Model;
    std::string DescriptionFile;
    std::string DescriptionName; // the description's entry name, as stored
    std::string (*FileOfEntry)(const TCheckContext&, const std::string& storedName) = nullptr;
    std::string Dir; // the folder of a folder skin; empty for a package
    std::vector<TSkinProblem>& Out;
    std::set<std::string> NamedEntries; // lower-case entry names the description's image keys name

    // The section the engine reads for name (the first whose header is "[" + name + "]", without
    // regard to ASCII case); null when there is none.
    const TDescSection* Section(const std::string& name) const;
    // The key line the engine reads: the first of that name in Section(section); null when absent.
    const TDescKey* Key(const std::string& section, const std::string& key) const;
    // The line of the key, else of the section, else 0.
    int LineOf(const std::string& section, const std::string& key) const;
    // The key's spelling in the description when given there, else key.
    std::string Spelled(const std::string& section, const std::string& key) const;
    std::string SectionSpelled(const std::string& section) const;
    std::string FileOf(const std::string& storedName) const { return FileOfEntry(*this, storedName); }

    void Add(TSkinProblemLevel level, int line, const std::string& section, const std::string& key,
             const std::string& message);
    // A problem of a key the engine reads: at its line, with the spelling written.
    void AddKey(TSkinProblemLevel level, const std::string& section, const std::string& key,
                const std::string& message) {
        Add(level, LineOf(section, key), SectionSpelled(section), Spelled(section, key), message);
    }
};

// The engine's integer reading of a value (TSkinDescription::ReadInteger); false when it is not a
// number, so that the key's default is used.
bool EngineInteger(const std::string& value, int& out);
// What is wrong with a colour text by the rule "three decimal numbers, 0 to 255, red, green,
// blue"; empty when nothing. level tells whether the engine reads something else than meant.
std::string ColourTextProblem(const std::string& value, TSkinProblemLevel& level);
std::string ColourText(TColor colour); // "R G B"

// Where the model keeps a key's value (SkinCheckKeys.cpp). The record the engine made from a
// section (null when it made none: a slot without an image, a caption button it dropped).
const TDataSkinObject* ModelRecord(const TSkinModel& m, const std::string& section);
// The integer the engine keeps for key of section; false when the model keeps none of its own.
bool ModelInteger(const TSkinModel& m, const std::string& section, const std::string& key, int& out);
// The colour the engine keeps; position is the section's place among the Colour... sections.
bool ModelColour(const TSkinModel& m, const std::string& section, const std::string& key, int position, TColor& out);
// The image a key loads into the model (the element's own strip), null when none.
const TBitmap32* ModelImage(const TSkinModel& m, const std::string& section, const std::string& key);

// The check's parts, in the order they run.
void CheckStructure(TCheckContext& c); // sections, keys, repeats, stray lines
void CheckValues(TCheckContext& c);    // numbers, switches, colours against what the model made
void CheckImages(TCheckContext& c);    // image keys, unnamed entries, frames, margins, the caption
void CheckContrast(TCheckContext& c);  // text colours on their backgrounds
