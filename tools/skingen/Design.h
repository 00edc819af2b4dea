// The design of the skin Tellit ships: its colours and the sizes the description and the images
// must agree on. A deep blue caption with white text over light, cool grey faces.
#pragma once

#include "tools/skingen/Paint.h"

#include <string>
#include <utility>
#include <vector>

namespace design {

// Window frame.
constexpr TPixel kCaptionTop = Hex(0x2F5597), kCaptionBottom = Hex(0x21457F);
constexpr TPixel kCaptionShine = Hex(0x5479B8), kCaptionRule = Hex(0x1A3766);
constexpr TPixel kFrameOutline = Hex(0x10264A), kFrameBody = Hex(0x21457F), kFrameInner = Hex(0x3B62A3);
constexpr TPixel kCaptionTopOff = Hex(0x5D687A), kCaptionBottomOff = Hex(0x505B6D);
constexpr TPixel kCaptionShineOff = Hex(0x768296), kCaptionRuleOff = Hex(0x444E5F);
constexpr TPixel kFrameOutlineOff = Hex(0x343C4A), kFrameBodyOff = Hex(0x505B6D), kFrameInnerOff = Hex(0x6A768A);
constexpr TPixel kTitleText = Hex(0xFFFFFF), kTitleTextOff = Hex(0xEEF1F5);
constexpr TPixel kTitleAccent = Hex(0x8FB3EA), kTitleAccentOff = Hex(0x8D97A6);

// Faces and text.
constexpr TPixel kFace = Hex(0xE9ECF1), kFaceLight = Hex(0xF6F7FA), kFaceDark = Hex(0xD9DEE6);
constexpr TPixel kText = Hex(0x1A1F29), kTextHot = Hex(0x10284F), kTextPressed = Hex(0x0B1A33);
constexpr TPixel kHilight = Hex(0x2F5597), kHilightText = Hex(0xFFFFFF);
constexpr TPixel kWhite = Hex(0xFFFFFF), kLight = Hex(0xF5F7FA);
constexpr TPixel kShadow = Hex(0x8C97A8), kDkShadow = Hex(0x4A5568), kDisabled = Hex(0xA7AFBB);
constexpr TPixel kFocus = Hex(0x3F6FB5), kHotTint = Hex(0xE3ECF8), kPressedFace = Hex(0xCBD4E1);

// Menus and bars.
constexpr TPixel kMenuBar = Hex(0xDDE3EC), kMenuBarBottom = Hex(0xD0D7E2), kMenuBg = Hex(0xFBFCFD);
constexpr TPixel kMenuGutter = Hex(0xE6EBF2), kMenuEdge = Hex(0x6A7A94), kScrollTrack = Hex(0xE1E5EB);
constexpr TPixel kCloseHot = Hex(0xC0392B), kCloseDown = Hex(0x962D22);

// Frame geometry: side and bottom borders, caption height, rounded top corners.
constexpr int kBorder = 4, kCaption = 26, kCornerRadius = 8;
// Caption buttons: frame size and where they sit.
constexpr int kCapButton = 18, kCapButtonTop = 4;

} // namespace design

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
