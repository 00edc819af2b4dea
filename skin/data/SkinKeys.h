// The sections and keys of a skin description that the model's readers read (SkinModel.cpp), and
// what kind of value each holds, for tools that tell a skin author which lines of a description have
// no effect or a value the engine cannot use. Kept beside the readers: a reader that starts reading
// a key adds it here.
#pragma once

#include <string>
#include <vector>

enum class TSkinKeyKind {
    Unread,
    Value, // a number, a colour or a text
    Image, // a bitmap file name
};

// What a key's value is to its reader.
enum class TSkinValueType {
    Unread,
    Text,        // taken as written (SkinName)
    Integer,     // decimal, or hexadecimal after "$" or "0x"
    Switch,      // an integer the drawing takes as 0 or 1 (Trans, Tile, Stretch...)
    Colour,      // three decimal numbers: red, green, blue
    ColourIndex, // an index into the [ColourN] list, -1 for none
    Image,       // a bitmap file name
};

// What the readers make of key in section; section and key are matched without regard to ASCII
// case, as TQuickIni does. Numbered sections (Colour..., the caption-button sections Button...)
// count by their prefix.
TSkinValueType SkinValueType(const std::string& section, const std::string& key);
TSkinKeyKind SkinKeyKind(const std::string& section, const std::string& key);
// Whether the readers read anything from section.
bool IsSkinSection(const std::string& section);
// The keys read in section, spelled as the documentation spells them; empty for an unread section.
std::vector<std::string> SkinSectionKeys(const std::string& section);
// Every section the readers know, spelled as documented; numbered ones as Colour0 and Button0.
std::vector<std::string> SkinSectionNames();
