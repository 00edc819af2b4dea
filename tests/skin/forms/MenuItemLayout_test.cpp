// Owner-drawn menu items: measure rules, the places of glyph, caption and shortcut (mirrored for
// right-to-left menus), separator rows and tool bar button frames.
#include "skin/forms/MenuItemLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuItemLayout, MeasureRules) {
    const TMenuMeasureSkin none, object{true, 4, false}, images{true, 4, true}, marginOnly{false, 9, false};
    const struct {
        TMenuMeasureSkin s;
        int text, plain, framework, popup;
    } cases[] = {
        {none, 50, 76, 85, 85},       // 50 + 26; 50 + 25 + 10; 50 + 23 + 12
        {object, 50, 80, 89, 89},     // the element's left margin on top
        {images, 50, 80, 64, 66},     // an image list takes the place of the glyph allowance
        {marginOnly, 50, 76, 85, 85}, // a margin counts only with the element
        {none, 0, 26, 35, 35},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MenuTextItemWidth(c.text, c.s), c.plain) << c.text;
        EXPECT_EQ(FrameworkItemWidth(c.text, c.s), c.framework) << c.text;
        EXPECT_EQ(PopupItemWidth(c.text, c.s), c.popup) << c.text;
    }
    EXPECT_EQ(MenuTextItemHeight(16, true), 20);
    EXPECT_EQ(MenuTextItemHeight(16, false), 8);
    EXPECT_EQ(MenuTextItemHeight(30, false), 8);
}

TEST(MenuItemLayout, GlyphCaptionAndShortcutPlaces) {
    struct Case {
        const char* name;
        TMenuItemLayoutIn in;
        TRect glyph, caption, shortcut;
    };
    auto in = [](int imageWidth, int margin, bool checked, bool separator, bool rtl) {
        TMenuItemLayoutIn i;
        i.Item = Rect(0, 0, 150, 20);
        i.ImageWidth = imageWidth;
        i.LeftMargin = margin;
        i.Checked = checked;
        i.Separator = separator;
        i.RightToLeft = rtl;
        i.CaptionWidth = 40;
        i.CaptionHeight = 13;
        return i;
    };
    const Case cases[] = {
        {"no images, no element", in(0, 0, false, false, false), Rect(1, 1, 17, 17), Rect(20, 3, 60, 16),
         Rect(60, 3, 139, 16)},
        {"element margin", in(0, 4, false, false, false), Rect(5, 1, 21, 17), Rect(24, 3, 64, 16),
         Rect(64, 3, 139, 16)},
        {"wide images", in(24, 4, false, false, false), Rect(5, 1, 29, 25), Rect(32, 3, 72, 16), Rect(72, 3, 139, 16)},
        {"small images", in(10, 0, false, false, false), Rect(1, 1, 11, 11), Rect(14, 3, 54, 16), Rect(54, 3, 139, 16)},
        {"checked takes at least 16", in(10, 0, true, false, false), Rect(1, 1, 17, 17), Rect(20, 3, 60, 16),
         Rect(60, 3, 139, 16)},
        {"separator has no glyph", in(0, 4, false, true, false), Rect(5, 1, 5, 1), Rect(8, 3, 48, 16),
         Rect(48, 3, 139, 16)},
        {"right to left", in(0, 4, false, false, true), Rect(129, 1, 145, 17), Rect(86, 3, 126, 16),
         Rect(11, 3, 86, 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TMenuItemLayout l = LayoutMenuItem(c.in);
        EXPECT_EQ(l.Glyph, c.glyph);
        EXPECT_EQ(l.Caption, c.caption);
        EXPECT_EQ(l.Shortcut, c.shortcut);
        EXPECT_EQ(l.Text.Top, 0);
        EXPECT_EQ(l.Text.Bottom, 20);
        if (c.in.RightToLeft)
            EXPECT_EQ(l.Text, Rect(1, 0, 126, 20));
        else
            EXPECT_EQ(l.Text.Right, 149);
    }
    // An item placed anywhere keeps its places relative to itself.
    TMenuItemLayoutIn moved = in(0, 4, false, false, true);
    moved.Item = Rect(3, 25, 153, 45);
    const TMenuItemLayout l = LayoutMenuItem(moved);
    EXPECT_EQ(l.Glyph, Rect(132, 26, 148, 42));
    EXPECT_EQ(l.Caption, Rect(89, 28, 129, 41));
}

TEST(MenuItemLayout, MarksSeparatorsAndBackground) {
    EXPECT_EQ(CentreMark(Rect(1, 1, 17, 17), 12, 12), Rect(4, 4, 16, 16));
    EXPECT_EQ(CentreMark(Rect(5, 1, 21, 17), 7, 7), Rect(10, 6, 17, 13));
    EXPECT_EQ(CentreMark(Rect(0, 0, 16, 16), 20, 20), Rect(-1, -1, 19, 19)); // larger than the square
    EXPECT_EQ(MirrorRect(Rect(10, 2, 30, 8), Rect(0, 0, 100, 10)), Rect(70, 2, 90, 8));
    EXPECT_EQ(MirrorRect(Rect(10, 2, 30, 8), Rect(50, 0, 150, 10)), Rect(170, 2, 190, 8));

    const TRect frame = Rect(24, 0, 48, 22); // frame 2 of a 5-frame strip of 24 x 22
    EXPECT_EQ(SeparatorSource(frame, 8), Rect(24, 14, 48, 22));
    EXPECT_EQ(SeparatorSource(frame, 22), frame);
    EXPECT_EQ(SeparatorSource(frame, 40), frame);
    EXPECT_EQ(SeparatorSource(frame, 0), frame);

    // A mark paints only its dark pixels, clipped to the target.
    TBitmap32 mask(3, 2), target(4, 3);
    mask.Fill(PixelRGB(255, 255, 255));
    mask.SetPixel(0, 0, PixelRGB(0, 0, 0));
    mask.SetPixel(2, 1, PixelRGB(100, 100, 100));
    target.Fill(PixelRGB(1, 1, 1));
    DrawMask(target, 2, 1, mask, PixelRGB(9, 8, 7));
    EXPECT_EQ(target.Pixel(2, 1), PixelRGB(9, 8, 7));
    EXPECT_EQ(target.Pixel(3, 1), PixelRGB(1, 1, 1));
    EXPECT_EQ(target.Pixel(3, 2), PixelRGB(1, 1, 1)); // white leaves alone; (4, 2) lies outside

    EXPECT_EQ(BackgroundSource(Rect(0, 0, 120, 20), 3), Rect(3, 3, 123, 23));
    EXPECT_EQ(BackgroundSource(Rect(3, 23, 123, 43), 0), Rect(3, 23, 123, 43));
}

TEST(MenuItemLayout, ToolButtonFrames) {
    const struct {
        bool selected, hot, greyed, isDefault;
        int frame;
    } cases[] = {
        {false, false, false, false, 0}, {true, false, false, false, 2}, {false, true, false, false, 4},
        {true, true, false, false, 2},   {false, false, true, false, 0}, {false, true, true, false, 4},
        {false, false, false, true, 1},  {false, false, true, true, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToolButtonFrame(c.selected, c.hot, c.greyed, c.isDefault), c.frame)
            << c.selected << c.hot << c.greyed << c.isDefault;
}

} // namespace
