// The button, check box and group box rules: state frames, text colours, glyph layout, check glyph
// frames and places, the group box line.
#include "skin/controls/ButtonRules.h"
#include "skin/data/SkinModel.h"

#include <gtest/gtest.h>

namespace {
TEST(ButtonRules, StateFrames) {
    struct Case {
        const char* name;
        TButtonLook look;
        int button, bitButton, speed;
    } cases[] = {
        // Focused, Default, Down, MouseIn, Enabled, Latched
        {"normal", {false, false, false, false, true, false}, 1, 1, 1},
        {"focused", {true, false, false, false, true, false}, 4, 4, 1},
        {"default", {false, true, false, false, true, false}, 5, 5, 1},
        // The default style wins over focus for plain buttons, focus wins for bitmap buttons.
        {"focused default", {true, true, false, false, true, false}, 5, 4, 1},
        {"hot default", {false, true, false, true, true, false}, 4, 4, 4},
        {"pressed under the mouse", {true, true, true, true, true, false}, 2, 2, 2},
        {"disabled under the mouse", {false, false, false, true, false, false}, 3, 3, 3},
        {"disabled pressed", {false, true, true, true, false, false}, 3, 3, 3},
        // A latched speed button shows pressed whatever the mouse or the enabled state say.
        {"latched", {false, false, false, true, true, true}, 4, 4, 2},
        {"latched disabled", {false, false, false, false, false, true}, 3, 3, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ButtonFrame(c.look), c.button) << c.name;
        EXPECT_EQ(BitButtonFrame(c.look), c.bitButton) << c.name;
        EXPECT_EQ(SpeedButtonFrame(c.look), c.speed) << c.name;
    }
}

TEST(ButtonRules, GlyphsPerState) {
    // frame, glyphs in the strip: glyph frame drawn and whether it is greyed.
    struct Case {
        int frame, numGlyphs, glyphFrame;
        bool greyed;
    } cases[] = {
        {kBtnNormal, 1, 1, false},  {kBtnHot, 4, 1, false},     {kBtnDefault, 4, 1, false},
        {kBtnPressed, 4, 3, false}, {kBtnPressed, 2, 1, false}, {kBtnDisabled, 2, 1, true},
        {kBtnDisabled, 4, 2, true}, {kBtnDisabled, 1, 1, true}, {kBtnDisabled, 3, 1, true},
    };
    for (const Case& c : cases) {
        const int index = GlyphIndex(c.frame);
        EXPECT_EQ(GlyphFrame(index, c.numGlyphs), c.glyphFrame) << c.frame << "/" << c.numGlyphs;
        EXPECT_EQ(GlyphGreyed(index), c.greyed) << c.frame;
    }
}

TEST(ButtonRules, TextColours) {
    TDataSkinButton given;
    given.NormalColour2 = 0x111111;
    given.MouseOverColour2 = 0x222222;
    given.PressedColour2 = 0x333333;
    given.HasNormalColour2 = given.HasMouseOverColour2 = given.HasPressedColour2 = true;
    TDataSkinButton none;
    const TColor text = 0x0000AA;
    struct Case {
        const TDataSkinButton* skin;
        int frame;
        bool enabled, framework;
        TColor want;
    } cases[] = {
        {&given, kBtnNormal, true, true, 0x111111},
        {&given, kBtnHot, true, true, 0x222222},
        {&given, kBtnPressed, true, true, 0x333333},
        {&given, kBtnDefault, true, true, clNone},
        {&given, kBtnDisabled, false, true, clBtnShadow},
        {&given, kBtnDisabled, false, false, 0x808080},
        {&none, kBtnNormal, true, true, clNone},
        {&none, kBtnHot, true, true, clNone},
        // Raw windows always get a colour: the skin's button text where the key is missing.
        {&none, kBtnNormal, true, false, text},
        {&none, kBtnDefault, true, false, text},
        {&given, kBtnHot, true, false, 0x222222},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ButtonTextColor(*c.skin, c.frame, c.enabled, c.framework, text), c.want)
            << c.frame << " framework " << c.framework;
}

TEST(ButtonRules, GlyphLayout) {
    struct Case {
        const char* name;
        TGlyphLayoutInput in;
        TPoint glyph, text;
        unsigned flags;
        int margin, spacing;
    } cases[] = {
        // Client, Glyph, Text, Layout, Margin, Spacing, AlignCenter, Speed
        {"auto margin and spacing", {{100, 24}, {16, 16}, {40, 13}, kGlyphLeft, -1, -1}, {14, 4}, {44, 6}, 0, 14, 14},
        {"auto margin", {{100, 24}, {16, 16}, {40, 13}, kGlyphLeft, -1, 4}, {20, 4}, {40, 6}, 0, 20, 4},
        {"speed: one further",
         {{100, 24}, {16, 16}, {40, 13}, kGlyphLeft, -1, 4, false, true},
         {21, 4},
         {41, 6},
         0,
         21,
         4},
        {"given margin, auto spacing", {{100, 24}, {16, 16}, {40, 13}, kGlyphLeft, 6, -1}, {6, 4}, {41, 6}, 0, 6, 19},
        {"centred alignment overrides the margin",
         {{100, 24}, {16, 16}, {40, 13}, kGlyphLeft, 6, 4, true},
         {20, 4},
         {40, 6},
         0,
         20,
         4},
        {"speed ignores the alignment",
         {{100, 24}, {16, 16}, {40, 13}, kGlyphLeft, 6, 4, true, true},
         {6, 4},
         {26, 6},
         0,
         6,
         4},
        {"right", {{100, 24}, {16, 16}, {40, 13}, kGlyphRight, 5, 4}, {79, 4}, {35, 6}, 2, 5, 4},
        {"top", {{60, 50}, {16, 16}, {40, 13}, kGlyphTop, 3, 2}, {22, 3}, {10, 21}, 1, 3, 2},
        {"bottom", {{60, 50}, {16, 16}, {40, 13}, kGlyphBottom, 3, 2}, {22, 31}, {10, 16}, 1, 3, 2},
        // Without a caption (or a glyph) there is no spacing.
        {"no caption", {{100, 24}, {16, 16}, {0, 0}, kGlyphLeft, -1, 4}, {42, 4}, {58, 12}, 0, 42, 0},
        {"no glyph", {{100, 24}, {0, 0}, {40, 13}, kGlyphLeft, -1, 4}, {30, 12}, {30, 6}, 0, 30, 0},
        // Odd sizes round up across: (25 - 16 + 1) / 2 = 5.
        {"odd height", {{100, 25}, {16, 16}, {40, 13}, kGlyphLeft, 2, 2}, {2, 5}, {20, 6}, 0, 2, 2},
    };
    for (const Case& c : cases) {
        const TGlyphLayout l = LayoutGlyph(c.in);
        EXPECT_EQ(l.GlyphPos.X, c.glyph.X) << c.name;
        EXPECT_EQ(l.GlyphPos.Y, c.glyph.Y) << c.name;
        EXPECT_EQ(l.TextPos.X, c.text.X) << c.name;
        EXPECT_EQ(l.TextPos.Y, c.text.Y) << c.name;
        EXPECT_EQ(l.TextFlags, c.flags) << c.name;
        EXPECT_EQ(l.Margin, c.margin) << c.name;
        EXPECT_EQ(l.Spacing, c.spacing) << c.name;
    }
    EXPECT_EQ(LayoutFromName("blGlyphTop"), kGlyphTop);
    EXPECT_EQ(LayoutFromName("BLGLYPHBOTTOM"), kGlyphBottom);
    EXPECT_EQ(LayoutFromName("blGlyphRight"), kGlyphRight);
    EXPECT_EQ(LayoutFromName("sideways"), kGlyphLeft);
}

TEST(ButtonRules, CheckAndRadioFrames) {
    // checked, disabled, indeterminate -> frame of a 4-, 12- and 2-frame check strip.
    struct Check {
        bool checked, disabled, indeterminate;
        int four, twelve, two;
    } checks[] = {
        {false, false, false, 1, 1, 1}, {true, false, false, 2, 5, 2}, {false, true, false, 3, 4, 1},
        {true, true, false, 4, 8, 2},   {false, false, true, 4, 9, 2}, {true, true, true, 4, 12, 2},
    };
    for (const Check& c : checks) {
        EXPECT_EQ(CheckBoxFrame(c.checked, c.disabled, c.indeterminate, 4), c.four);
        EXPECT_EQ(CheckBoxFrame(c.checked, c.disabled, c.indeterminate, 12), c.twelve);
        // A short strip never names a frame it does not have.
        EXPECT_EQ(CheckBoxFrame(c.checked, c.disabled, c.indeterminate, 2), c.two);
        EXPECT_EQ(CheckBoxFrame(c.checked, c.disabled, c.indeterminate, 1), 1);
        EXPECT_EQ(CheckBoxFrame(c.checked, c.disabled, c.indeterminate, 0), 1);
    }
    // checked, disabled -> frame of a 4-, 8- and 3-frame radio strip.
    struct Radio {
        bool checked, disabled;
        int four, eight, three;
    } radios[] = {{false, false, 1, 1, 1}, {true, false, 2, 5, 2}, {false, true, 3, 4, 3}, {true, true, 4, 8, 2}};
    for (const Radio& r : radios) {
        EXPECT_EQ(RadioButtonFrame(r.checked, r.disabled, 4), r.four);
        EXPECT_EQ(RadioButtonFrame(r.checked, r.disabled, 8), r.eight);
        EXPECT_EQ(RadioButtonFrame(r.checked, r.disabled, 3), r.three);
    }
}

TEST(ButtonRules, CheckPlaces) {
    const TRect r{0, 0, 120, 17};
    struct Case {
        int frameW;
        bool right, radio;
        int left, rightEdge;
    } cases[] = {
        {13, false, false, 2, 15}, {10, false, false, 4, 14},   {16, false, false, 2, 18},   {10, false, true, 2, 12},
        {16, false, true, 0, 16},  {16, true, false, 103, 119}, {10, true, false, 108, 118}, {16, true, true, 103, 119},
    };
    for (const Case& c : cases) {
        const TCheckPlace p = CheckPlace(r, c.frameW, 13, 13, c.right, c.radio);
        EXPECT_EQ(p.Glyph.Left, c.left) << c.frameW << " right " << c.right << " radio " << c.radio;
        EXPECT_EQ(p.Glyph.Right, c.rightEdge) << c.frameW;
        EXPECT_EQ(p.Glyph.Top, 2); // (17 - 13) / 2
        EXPECT_EQ(p.Glyph.Bottom, 15);
        EXPECT_EQ(p.Background, c.right ? (TRect{104, 0, 120, 17}) : (TRect{0, 0, 16, 17}));
    }
}

TEST(ButtonRules, GroupBoxLine) {
    const TGroupBoxFrame g = GroupBoxFrame(TRect{0, 0, 268, 124}, 13);
    EXPECT_EQ(g.LineY, 5);
    EXPECT_EQ(g.Erase, (TRect{0, 5, 268, 124}));
    EXPECT_EQ(g.Round, (TRect{1, 5, 267, 123}));
    EXPECT_EQ(g.Caption, (TRect{9, 0, 268, 124}));
    EXPECT_EQ(GroupBoxFrame(TRect{0, 0, 100, 50}, 16).LineY, 7);
}
} // namespace
