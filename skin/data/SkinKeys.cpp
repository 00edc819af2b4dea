#include "skin/data/SkinKeys.h"

#include "framework/SysUtils.h"

#include <initializer_list>

namespace {

struct Key {
    std::string name;
    TSkinValueType type;
};
using Keys = std::vector<Key>;
constexpr TSkinValueType I = TSkinValueType::Integer, S = TSkinValueType::Switch, C = TSkinValueType::Colour,
                         X = TSkinValueType::ColourIndex, B = TSkinValueType::Image, T = TSkinValueType::Text;

Keys Plus(Keys a, const Keys& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Keys kMargins = {{"LeftWidth", I},    {"TopHeight", I}, {"RightWidth", I},
                       {"BottomHeight", I}, {"Trans", S},     {"Tile", S}};
const Keys kColours = {{"NormalColour", X},  {"MouseOverColour", X},  {"PressedColour", X},
                       {"NormalColour2", C}, {"MouseOverColour2", C}, {"PressedColour2", C}};
// ReadObject: the image, Style, the margins and the colours.
const Keys kObject = Plus(Plus({{"Image", B}, {"Style", I}}, kMargins), kColours);
// ReadObject2: no Style; the second image key is added per section.
const Keys kObject2 = Plus(Plus({{"Image", B}}, kMargins), kColours);

Keys PersonalityKeys() {
    Keys keys;
    for (const char* border : {"Left", "Right", "Top", "Bottom"}) {
        keys.push_back({border, B});
        for (const char* rest : {"TopHeight", "BotHeight", "Frame"})
            keys.push_back({std::string(border) + rest, I});
        for (const char* rest : {"Stretch", "Trans"})
            keys.push_back({std::string(border) + rest, S});
    }
    return Plus(keys, {{"menuBar", B},
                       {"TileMenu", S},
                       {"TileLeftMenu", I},
                       {"TileRightMenu", I},
                       {"TextBack", B},
                       {"TextShift", I},
                       {"TextShiftVert", I},
                       {"TextRightClip", I},
                       {"TextAlignment", I},
                       {"Textbackground", S},
                       {"TXTBackleft", I},
                       {"TXTBackRight", I},
                       {"ActiveTextR", I},
                       {"ActiveTextG", I},
                       {"ActiveTextB", I},
                       {"InActiveTextR", I},
                       {"InActiveTextG", I},
                       {"InActiveTextB", I}});
}

struct SectionKeys {
    const char* name;
    bool prefix; // Colour0, Colour1... and Button0, Button1...
    Keys keys;
};

const std::vector<SectionKeys>& Table() {
    static const std::vector<SectionKeys> table = [] {
        std::vector<SectionKeys> t = {
            {"TitlebarSkin", false, {{"SkinName", T}}},
            {"Personality", false, PersonalityKeys()},
            {"Fonts", false, {{"FontHeight", I}}},
            {"Colours",
             false,
             {{"WindowText", C},
              {"ButtonFace", C},
              {"Scrollbar", C},
              {"HilightText", C},
              {"Hilight", C},
              {"Menubar", C},
              {"Menu", C},
              {"MenuText", C},
              {"ButtonText", C},
              {"ButtonHilight", C},
              {"Buttonlight", C},
              {"ButtonShadow", C},
              {"ButtonDkShadow", C},
              {"MenuBarText", C},
              {"TitleTextActive", C},
              {"TitleTextNoActive", C}}},
            {"Colour", true, {{"color", C}}},
            {"Button",
             true,
             {{"ButtonImage", B},
              {"Action", I},
              {"Align", I},
              {"Xcoord", I},
              {"Ycoord", I},
              {"Visibility", I},
              {"Visibility1", I},
              {"CombineOp", I},
              {"frame", I}}},
            {"MDICONTROLS", false, {{"Image", B}}},
            {"Buttons", false,
             Plus(Plus({{"Bitmap", B}, {"CheckButton", B}, {"RadioButton", B}}, kMargins),
                  Plus(kColours, {{"RadioButtonFrame", I}, {"CheckButtonFrame", I}}))},
            {"Progress", false, Plus({{"Bitmap", B}, {"Chunk", B}, {"Style", I}}, kMargins)},
            {"GroupBox", false,
             Plus(kObject, {{"BackgroundAlignment", I}, {"BackgroundLeftShift", I}, {"BackgroundRightShift", I}})},
            {"Tabs", false, Plus(kObject2, {{"Border", B}})},
            {"ComboButton", false, kObject2},
            {"UpDown.Horz", false, Plus(kObject2, {{"GlyphImage", B}})},
            {"UpDown.Vert", false, Plus(kObject2, {{"GlyphImage", B}})},
            {"HorzScrollThumb", false, Plus(kObject, {{"FrameCount", I}})},
            {"VertScrollThumb", false, Plus(kObject, {{"FrameCount", I}})},
        };
        for (const char* s :
             {"GroupBoxEdge", "Toolbars", "StatusBarEdges", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem",
              "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll", "Trackbar.ThumbHorz", "Trackbar.ThumbVert",
              "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
            t.push_back({s, false, kObject});
        return t;
    }();
    return table;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The table entry of a section, matched as the readers match it (lower-cased).
const SectionKeys* Find(const std::string& section) {
    const std::string s = LowerCase(section);
    for (const SectionKeys& sectionKeys : Table()) {
        const std::string name = LowerCase(sectionKeys.name);
        if (!sectionKeys.prefix && s == name) return &sectionKeys;
    }
    // Colour... but not Colours; Button... but not Buttons, Button, Button.Radio, Button.Checkbox.
    if (StartsWith(s, "colour") && s != "colours") return &Table()[4];
    if (StartsWith(s, "button") && s != "buttons" && s != "button" && s != "button.radio" && s != "button.checkbox")
        return &Table()[5];
    return nullptr;
}

} // namespace

TSkinValueType SkinValueType(const std::string& section, const std::string& key) {
    const SectionKeys* sectionKeys = Find(section);
    if (!sectionKeys) return TSkinValueType::Unread;
    const std::string k = LowerCase(key);
    for (const Key& entry : sectionKeys->keys)
        if (LowerCase(entry.name) == k) return entry.type;
    return TSkinValueType::Unread;
}

TSkinKeyKind SkinKeyKind(const std::string& section, const std::string& key) {
    switch (SkinValueType(section, key)) {
    case TSkinValueType::Unread:
        return TSkinKeyKind::Unread;
    case TSkinValueType::Image:
        return TSkinKeyKind::Image;
    default:
        return TSkinKeyKind::Value;
    }
}

bool IsSkinSection(const std::string& section) {
    return Find(section) != nullptr;
}

std::vector<std::string> SkinSectionKeys(const std::string& section) {
    std::vector<std::string> keys;
    if (const SectionKeys* sectionKeys = Find(section))
        for (const Key& k : sectionKeys->keys)
            keys.push_back(k.name);
    return keys;
}

std::vector<std::string> SkinSectionNames() {
    std::vector<std::string> names;
    for (const SectionKeys& sectionKeys : Table())
        names.push_back(std::string(sectionKeys.name) + (sectionKeys.prefix ? "0" : ""));
    return names;
}
