// The design of the skin Tellit ships: its colours and the sizes the description and the images
// must agree on. The light design: a deep blue caption with white text over light, cool grey faces;
// the dark design: a charcoal frame with light text over dark faces and the same blue accents.
#pragma once

#include "tools/skingen/Paint.h"

#include <string>
#include <utility>
#include <vector>

namespace design {

// The colours of the skin being drawn. They start as the shipped light design; SelectDesign
// switches them to another design before anything is drawn.

// Window frame.
inline TPixel kCaptionTop = Hex(0x2F5597), kCaptionBottom = Hex(0x21457F);
inline TPixel kCaptionShine = Hex(0x5479B8), kCaptionRule = Hex(0x1A3766);
inline TPixel kFrameOutline = Hex(0x10264A), kFrameBody = Hex(0x21457F), kFrameInner = Hex(0x3B62A3);
inline TPixel kCaptionTopOff = Hex(0x5D687A), kCaptionBottomOff = Hex(0x505B6D);
inline TPixel kCaptionShineOff = Hex(0x768296), kCaptionRuleOff = Hex(0x444E5F);
inline TPixel kFrameOutlineOff = Hex(0x343C4A), kFrameBodyOff = Hex(0x505B6D), kFrameInnerOff = Hex(0x6A768A);
inline TPixel kTitleText = Hex(0xFFFFFF), kTitleTextOff = Hex(0xEEF1F5);
inline TPixel kTitleAccent = Hex(0x8FB3EA), kTitleAccentOff = Hex(0x8D97A6);
inline TPixel kCaptionGlyph = Hex(0xFFFFFF), kCaptionGlyphOff = Hex(0xC3CAD5);

// Faces and text.
inline TPixel kFace = Hex(0xE9ECF1), kFaceLight = Hex(0xF6F7FA), kFaceDark = Hex(0xD9DEE6);
inline TPixel kText = Hex(0x1A1F29), kTextHot = Hex(0x10284F), kTextPressed = Hex(0x0B1A33);
inline TPixel kHilight = Hex(0x2F5597), kHilightText = Hex(0xFFFFFF);
inline TPixel kWhite = Hex(0xFFFFFF), kLight = Hex(0xF5F7FA);
inline TPixel kShadow = Hex(0x8C97A8), kDkShadow = Hex(0x4A5568), kDisabled = Hex(0xA7AFBB);
inline TPixel kFocus = Hex(0x3F6FB5), kHotTint = Hex(0xE3ECF8), kPressedFace = Hex(0xCBD4E1);
inline TPixel kDisabledBorder = Hex(0xC2C8D0), kDisabledFace = Hex(0xEEF0F3);

// Menus and bars.
inline TPixel kMenuBar = Hex(0xDDE3EC), kMenuBarBottom = Hex(0xD0D7E2), kMenuBg = Hex(0xFBFCFD);
inline TPixel kMenuGutter = Hex(0xE6EBF2), kMenuEdge = Hex(0x6A7A94), kScrollTrack = Hex(0xE1E5EB);
inline TPixel kCloseHot = Hex(0xC0392B), kCloseDown = Hex(0x962D22);

// The other tints of the art, written where they are used: the light design takes them as they
// are; the dark design turns their greys dark (hue kept) and keeps the saturated accents.
TPixel Tone(unsigned rgb);

// Frame geometry: side and bottom borders, caption height, rounded top corners.
constexpr int kBorder = 4, kCaption = 26, kCornerRadius = 8;
// Caption buttons: frame size and where they sit.
constexpr int kCapButton = 18, kCapButtonTop = 4;

} // namespace design

// The designs skingen draws: "tellit" (the light one, shipped inside Tellit.exe) and "dark".
struct SkinDesign {
    const char* name;     // also the description's file name, name + ".ini"
    const char* skinName; // [TitlebarSkin] SkinName
};
const std::vector<SkinDesign>& SkinDesigns();
// Switches the colours to the named design; false (nothing changed) for an unknown name.
bool SelectDesign(const std::string& name);
const SkinDesign& CurrentDesign();

// The generated skin: named 24-bit images and the description that names them.
struct SkinImage {
    std::string name;
    TBitmap32 bitmap;
};
using SkinImages = std::vector<SkinImage>;

void AddFrameArt(SkinImages& images);   // borders, caption, caption buttons, menus, MDI buttons
void AddControlArt(SkinImages& images); // push buttons, glyphs, scroll bars and the other controls
std::string SkinDescription();          // the INI text
// "R G B" as the description writes colours.
std::string ColourText(TPixel p);
