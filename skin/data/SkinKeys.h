// The sections and keys of a skin description that the model's readers read (SkinModel.cpp), for
// tools that tell a skin author which lines of a description have no effect. Kept beside the
// readers: a reader that starts reading a key adds it here.
#pragma once

#include <string>

enum class TSkinKeyKind {
    Unread,
    Value, // a number or a colour
    Image, // a bitmap file name
};

// What the readers make of key in section; section and key are matched without regard to ASCII
// case, as TQuickIni does. Numbered sections (Colour..., the caption-button sections Button...)
// count by their prefix.
TSkinKeyKind SkinKeyKind(const std::string& section, const std::string& key);
// Whether the readers read anything from section.
bool IsSkinSection(const std::string& section);
