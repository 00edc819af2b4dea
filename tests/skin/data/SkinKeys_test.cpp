// The list of what the readers read: the edges where a section or key is easy to misclassify.
#include "skin/data/SkinKeys.h"

#include <gtest/gtest.h>

TEST(SkinKeys, SectionsAndKeysAsTheReadersTakeThem) {
    constexpr TSkinKeyKind V = TSkinKeyKind::Value, I = TSkinKeyKind::Image, U = TSkinKeyKind::Unread;
    // Case does not matter, for sections nor keys.
    EXPECT_EQ(SkinKeyKind("PERSONALITY", "MenuBar"), I);
    EXPECT_EQ(SkinKeyKind("toolbars", "IMAGE"), I);
    // Border keys are the border's name plus a suffix.
    EXPECT_EQ(SkinKeyKind("Personality", "BottomBotHeight"), V);
    EXPECT_EQ(SkinKeyKind("Personality", "BottomTile"), U);
    EXPECT_EQ(SkinKeyKind("Personality", "Image"), U);
    // Numbered sections by prefix; Colours itself is the scheme table, not a predefined colour.
    EXPECT_EQ(SkinKeyKind("Colour12", "color"), V);
    EXPECT_EQ(SkinKeyKind("Colours", "color"), U);
    EXPECT_EQ(SkinKeyKind("Colours", "MenuBarText"), V);
    EXPECT_EQ(SkinKeyKind("Button7", "ButtonImage"), I);
    EXPECT_EQ(SkinKeyKind("Buttons", "ButtonImage"), U);
    EXPECT_EQ(SkinKeyKind("Buttons", "CheckButtonFrame"), V);
    for (const char* skipped : {"Button", "Button.Radio", "BUTTON.CHECKBOX"}) {
        EXPECT_EQ(SkinKeyKind(skipped, "ButtonImage"), U) << skipped;
        EXPECT_FALSE(IsSkinSection(skipped)) << skipped;
    }
    // Style is not read for the elements with a second image; the second image keys are their own.
    EXPECT_EQ(SkinKeyKind("Tabs", "Style"), U);
    EXPECT_EQ(SkinKeyKind("Tabs", "Border"), I);
    EXPECT_EQ(SkinKeyKind("UpDown.Vert", "GlyphImage"), I);
    EXPECT_EQ(SkinKeyKind("Tabs", "GlyphImage"), U);
    EXPECT_EQ(SkinKeyKind("Progress", "Chunk"), I);
    EXPECT_EQ(SkinKeyKind("Progress", "NormalColour2"), U);
    EXPECT_EQ(SkinKeyKind("GroupBox", "BackgroundLeftShift"), V);
    EXPECT_EQ(SkinKeyKind("GroupBoxEdge", "BackgroundLeftShift"), U);
    EXPECT_EQ(SkinKeyKind("VertScrollThumb", "FrameCount"), V);
    EXPECT_EQ(SkinKeyKind("MenuItem", "FrameCount"), U);
    for (const char* section : {"Personality", "Fonts", "MDICONTROLS", "Trackbar.ThumbDown", "Colour0", "Button0"})
        EXPECT_TRUE(IsSkinSection(section)) << section;
    EXPECT_FALSE(IsSkinSection("Trackbar"));
    EXPECT_FALSE(IsSkinSection("Info"));
}
