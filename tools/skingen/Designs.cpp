// The designs skingen draws, and the tone mapping that makes the dark one's tints from the light
// one's.
#include "tools/skingen/Design.h"

#include <algorithm>
#include <cmath>

using namespace design;

namespace {

bool gDark = false;
size_t gCurrent = 0;

// The dark design's named colours. Text stays at 4.5:1 or more against every face it is drawn on.
void UseDark() {
    kCaptionTop = Hex(0x33373F), kCaptionBottom = Hex(0x272A31);
    kCaptionShine = Hex(0x454A54), kCaptionRule = Hex(0x17191D);
    kFrameOutline = Hex(0x0C0D10), kFrameBody = Hex(0x272A31), kFrameInner = Hex(0x3C414B);
    kCaptionTopOff = Hex(0x2C2F35), kCaptionBottomOff = Hex(0x25282D);
    kCaptionShineOff = Hex(0x393C43), kCaptionRuleOff = Hex(0x1A1C20);
    kFrameOutlineOff = Hex(0x141518), kFrameBodyOff = Hex(0x25282D), kFrameInnerOff = Hex(0x34373D);
    kTitleText = Hex(0xF2F4F7), kTitleTextOff = Hex(0xAEB4BE);
    kTitleAccent = Hex(0x5B8DEF), kTitleAccentOff = Hex(0x5F6670);
    kCaptionGlyph = Hex(0xE8EBF0), kCaptionGlyphOff = Hex(0x8A919C);

    kFace = Hex(0x2D3036), kFaceLight = Hex(0x3A3E46), kFaceDark = Hex(0x2B2E34);
    kText = Hex(0xE4E7EC), kTextHot = Hex(0xFFFFFF), kTextPressed = Hex(0xD3D8DF);
    kHilight = Hex(0x2F5597), kHilightText = Hex(0xFFFFFF);
    kWhite = Hex(0x4A4F58), kLight = Hex(0x42464E);
    kShadow = Hex(0x5C626C), kDkShadow = Hex(0x14161A), kDisabled = Hex(0x6E747E);
    kFocus = Hex(0x5B8DEF), kHotTint = Hex(0x3A4352), kPressedFace = Hex(0x25292F);
    kDisabledBorder = Hex(0x40444B), kDisabledFace = Hex(0x303338);

    kMenuBar = Hex(0x26292E), kMenuBarBottom = Hex(0x202226), kMenuBg = Hex(0x2A2D33);
    kMenuGutter = Hex(0x24272C), kMenuEdge = Hex(0x4F5661), kScrollTrack = Hex(0x24272C);
    kCloseHot = Hex(0xC0392B), kCloseDown = Hex(0x962D22);
}

} // namespace

const std::vector<SkinDesign>& SkinDesigns() {
    static const std::vector<SkinDesign> designs = {{"tellit", "Tellit"}, {"dark", "Tellit Dark"}};
    return designs;
}

bool SelectDesign(const std::string& name) {
    const auto& designs = SkinDesigns();
    const auto it = std::find_if(designs.begin(), designs.end(), [&](const SkinDesign& d) { return name == d.name; });
    if (it == designs.end()) return false;
    gCurrent = size_t(it - designs.begin());
    gDark = name == "dark";
    if (gDark) UseDark();
    return true;
}

const SkinDesign& CurrentDesign() {
    return SkinDesigns()[gCurrent];
}

TPixel design::Tone(unsigned rgb) {
    const TPixel p = Hex(rgb);
    if (!gDark) return p;
    const double r = PixelR(p) / 255.0, g = PixelG(p) / 255.0, b = PixelB(p) / 255.0;
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    // Saturated accents (the blues of selections and progress, the reds of close) stay as they are.
    if (hi - lo >= 0.3) return p;
    // HSL, with the lightness turned over into the dark range: light greys become dark faces.
    const double l = (hi + lo) / 2, d = hi - lo;
    const double s = d == 0 ? 0 : d / (1 - std::fabs(2 * l - 1));
    double h = 0;
    if (d > 0) {
        if (hi == r)
            h = std::fmod((g - b) / d + 6, 6);
        else if (hi == g)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
    }
    const double l2 = 0.12 + 0.62 * (1 - l), s2 = std::min(s, 0.25);
    const double c = (1 - std::fabs(2 * l2 - 1)) * s2, x = c * (1 - std::fabs(std::fmod(h, 2) - 1)), m = l2 - c / 2;
    double rr = 0, gg = 0, bb = 0;
    switch (int(h)) {
    case 0:
        rr = c, gg = x;
        break;
    case 1:
        rr = x, gg = c;
        break;
    case 2:
        gg = c, bb = x;
        break;
    case 3:
        gg = x, bb = c;
        break;
    case 4:
        rr = x, bb = c;
        break;
    default:
        rr = c, bb = x;
        break;
    }
    auto byte = [](double v) { return std::uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return PixelRGB(byte(rr + m), byte(gg + m), byte(bb + m));
}
