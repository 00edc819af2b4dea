// Colours of a skin: the system-colour codes the skin falls back to, the scheme colour table, and
// the parsing of colour values written in a skin description.
#pragma once

#include "framework/Colors.h"
#include "skin/data/RasterTypes.h"

#include <array>
#include <cstdint>
#include <string>

constexpr bool IsSystemColor(TColor c) {
    return (c & clSystemColor) != 0;
}
// The Windows system colour index of a system-colour code.
constexpr int SystemColorIndex(TColor c) {
    return int(c & 0xFF);
}

// Index into the scheme colour table; the order is fixed (skinners index the table by it).
enum TShemeColor {
    csText,
    csTitleTextActive,
    csTitleTextNoActive,
    csButtonFace,
    csButtonText,
    csButtonHilight,
    csButtonlight,
    csButtonShadow,
    csButtonDkshadow,
    csSelectText,
    csSelectBg,
    csHilightText,
    csHilight,
    csMenuBar,
    csMenuBarText,
    csMenuText,
    csMenubg,
    csScrollbar,
    csTextDisable,
};
constexpr int kShemeColorCount = csTextDisable + 1;
using TShemeColors = std::array<TColor, kShemeColorCount>;

// The table before any skin is read: every entry the system colour the description key defaults
// to. The three entries no description sets (csSelectText, csSelectBg, csTextDisable) keep these
// values for good: highlight text, highlight, grey text.
TShemeColors DefaultShemeColors();

// red + green * 256 + blue * 65536.
constexpr TColor RGBToColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return RGBColor(red, green, blue);
}

// Parses a colour written as three decimal numbers, red, green, blue, separated by any non-digit
// characters ("255 0 128", "255,0,128"). A run of digits counts once a non-digit ends it; the last
// run counts only when two numbers came before it, so one or two numbers give only what was closed
// by a separator, and a single number gives black. Numbers past the third are ignored; each number
// contributes its low byte, and a run too long for a 32-bit integer counts as 0. Hexadecimal
// ("0x00FF00") thus gives black.
TColor strcolor(const std::string& text);

// def when text is empty, else strcolor(text).
TColor GetColor(const std::string& text, TColor def);
