// The geometry and state rules of the edit, combo, up-down, progress, track bar, tab, tab set,
// header and status bar skinners, as tables of cases.
#include "skin/controls/ControlText.h"
#include "skin/controls/EditRules.h"
#include "skin/controls/TabRules.h"

#include <gtest/gtest.h>

namespace {

TEST(EditRules, ProgressRoundingAndTruncation) {
    const struct {
        int w, pos, hi, bar, chunk;
    } cases[] = {
        {100, 1, 3, 33, 33},      // 33.33
        {100, 1, 8, 12, 12},      // 12.5: to even in bar style, truncated in chunk style
        {100, 3, 8, 38, 37},      // 37.5: to even upward
        {100, 2, 3, 67, 66},      // 66.67
        {100, 0, 8, 0, 0},        // nothing at position 0
        {100, 5, 0, 0, 0},        // nor with an empty range
        {100, -2, 8, 0, 0},       // nor below it
        {100, 9, 8, 100, 100},    // a position past the range fills the bar, no more
        {225, 50, 100, 112, 112}, // 112.5 to even
        {0, 5, 10, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgressFill(c.w, c.pos, c.hi), c.bar) << c.w << " " << c.pos << "/" << c.hi;
        EXPECT_EQ(ProgressChunkFill(c.w, c.pos, c.hi), c.chunk) << c.w << " " << c.pos << "/" << c.hi;
    }
    // Chunks from 0 on cover the fill, the last one cut: 33 px of 10-px chunks is 4 copies.
    EXPECT_EQ(ProgressChunks(33, 10), 4);
    EXPECT_EQ(ProgressChunks(30, 10), 4);
    EXPECT_EQ(ProgressChunks(0, 10), 0);
    EXPECT_EQ(ProgressChunks(5, 0), 0);
}

TEST(EditRules, UpDownHalvesAndFrames) {
    // 16 x 21: the upper button rows 0-9, the lower rows 10-20.
    const TRect c{0, 0, 16, 21};
    TUpDownLayout l = UpDownLayout(c, false, false, TPoint{5, 15}, true, true, true);
    EXPECT_EQ(l.First.Rect, (TRect{0, 0, 16, 10}));
    EXPECT_EQ(l.Second.Rect, (TRect{0, 10, 16, 21}));
    EXPECT_EQ(l.First.State, kBtnNormal);
    EXPECT_EQ(l.Second.State, kBtnPressed);
    EXPECT_EQ(l.First.Frame, 1);
    EXPECT_EQ(l.Second.Frame, 6); // 2 + 4 * 1
    // Hot upper button.
    l = UpDownLayout(c, false, false, TPoint{5, 9}, false, true, true);
    EXPECT_EQ(l.First.Frame, 4);
    EXPECT_EQ(l.Second.Frame, 5);
    // A horizontal pair's right button pressed: 2 + 4 * 3 - 8 = 6; the left one normal, frame 1.
    l = UpDownLayout(TRect{0, 0, 30, 14}, false, true, TPoint{20, 3}, true, true, true);
    EXPECT_EQ(l.First.Rect, (TRect{0, 0, 15, 14}));
    EXPECT_EQ(l.Second.Rect, (TRect{15, 0, 30, 14}));
    EXPECT_EQ(l.First.Kind, 2);
    EXPECT_EQ(l.Second.Kind, 3);
    EXPECT_EQ(l.Second.Frame, 6);
    EXPECT_EQ(l.First.Frame, 1);
    // Inset one pixel inside an edit; the split follows the inset buttons: rows 1-9 and 10-19.
    l = UpDownLayout(c, true, false, TPoint{5, 10}, true, false, true);
    EXPECT_EQ(l.First.Rect, (TRect{1, 1, 15, 10}));
    EXPECT_EQ(l.Second.Rect, (TRect{1, 10, 15, 20}));
    EXPECT_EQ(l.Second.State, kBtnPressed);
    // Disabled: both in the disabled frames.
    l = UpDownLayout(c, false, false, TPoint{5, 5}, true, true, false);
    EXPECT_EQ(l.First.Frame, 3);
    EXPECT_EQ(l.Second.Frame, 7);
    // Frames are clamped to a shorter strip.
    EXPECT_EQ(UpDownFrame(kBtnHot, 1, 5), 5);
    EXPECT_EQ(UpDownFrame(kBtnPressed, 3, 4), 4);
    EXPECT_EQ(UpDownFrame(kBtnNormal, 0, 0), 1);
}

TEST(EditRules, ComboBoxAndEdit) {
    // A 120 x 21 combo box with 16-pixel scroll arrows.
    TComboLayout r = ComboLayout(120, 21, 16, false);
    EXPECT_EQ(r.TextArea, (TRect{2, 2, 100, 19}));
    EXPECT_EQ(r.ButtonCell, (TRect{102, 0, 120, 21}));
    EXPECT_EQ(r.GlyphArea, (TRect{102, 0, 118, 21}));
    EXPECT_FALSE(r.Mirrored);
    // On the left (WS_EX_LEFTSCROLLBAR): the mirrored image in the left cell.
    TComboLayout l = ComboLayout(120, 21, 16, true);
    EXPECT_EQ(l.TextArea, (TRect{20, 2, 118, 19}));
    EXPECT_EQ(l.ButtonCell, (TRect{0, 0, 18, 21}));
    EXPECT_EQ(l.GlyphArea, (TRect{2, 0, 18, 21}));
    EXPECT_TRUE(l.Mirrored);
    EXPECT_EQ(CenterIn(l.GlyphArea, 7, 4), (TRect{6, 8, 13, 12}));
    EXPECT_EQ(FlatComboButton(120, 21, 16), (TRect{102, 2, 118, 19}));
    // States: disabled first, then pressed, hot, focused.
    EXPECT_EQ(ButtonState(false, true, true, true), kBtnDisabled);
    EXPECT_EQ(ButtonState(true, true, true, false), kBtnPressed);
    EXPECT_EQ(ButtonState(true, false, false, true), kBtnHot);
    EXPECT_EQ(ButtonState(true, true, false, false), kBtnHot);
    EXPECT_EQ(ButtonState(true, false, false, false), kBtnNormal);
    // An edit as wide as its client area has no border of its own.
    EXPECT_FALSE(EditHasBorder(TRect{0, 0, 100, 17}, 100, 21));
    EXPECT_TRUE(EditHasBorder(TRect{0, 0, 96, 17}, 100, 21));
    EXPECT_FALSE(EditPrintFrame(TRect{0, 0, 98, 17}, 100, 21));
    EXPECT_TRUE(EditPrintFrame(TRect{0, 0, 96, 17}, 100, 21));
    // Track bar thumbs.
    EXPECT_EQ(TrackThumbImage(true, true, true), tiVert);
    EXPECT_EQ(TrackThumbImage(true, false, true), tiHorz);
    EXPECT_EQ(TrackThumbImage(false, true, true), tiHorz);
    EXPECT_EQ(TrackThumbImage(false, true, false), tiNone);
    // Strips and frames.
    EXPECT_EQ(StripFrames(5, 3), 3);
    EXPECT_EQ(StripFrames(0, 30), 1);
    EXPECT_EQ(ClampFrame(5, 3), 3);
    EXPECT_EQ(ClampFrame(0, 3), 1);
}

TEST(TabRules, Sides) {
    const struct {
        unsigned style;
        TSkinTabPosition pos;
    } sides[] = {{0, StTop}, {0x2, Stbottom}, {0x80, Stleft}, {0x82, Stright}, {0x280, Stleft}};
    for (const auto& s : sides)
        EXPECT_EQ(TabPosition(s.style), s.pos) << std::hex << s.style;

    const TRect window{0, 0, 200, 150}, display{10, 30, 190, 140};
    const struct {
        TSkinTabPosition pos;
        TRect page, strip;
        TPoint size;
    } geo[] = {
        {StTop, {6, 27, 194, 144}, {0, 0, 200, 27}, {200, 27}},
        {Stbottom, {6, 26, 194, 143}, {0, 143, 200, 150}, {200, 7}},
        {Stleft, {7, 26, 194, 144}, {0, 0, 7, 150}, {150, 7}},
        {Stright, {6, 26, 193, 144}, {193, 0, 200, 150}, {150, 7}},
    };
    for (const auto& g : geo) {
        const TRect page = TabPageArea(display, g.pos);
        EXPECT_EQ(page, g.page) << g.pos;
        const TRect strip = TabStripRect(window, page, g.pos);
        EXPECT_EQ(strip, g.strip) << g.pos;
        EXPECT_EQ(TabStripSize(strip, g.pos).X, g.size.X) << g.pos;
        EXPECT_EQ(TabStripSize(strip, g.pos).Y, g.size.Y) << g.pos;
    }
    // Item rectangles into the composed strip: a left tab at rows 2-22 lies at 128-148 across.
    EXPECT_EQ(TabToStrip(TRect{2, 2, 24, 22}, Stleft, window, TRect{}, 150), (TRect{128, 2, 148, 24}));
    EXPECT_EQ(TabToStrip(TRect{176, 2, 198, 22}, Stright, window, TRect{}, 150), (TRect{1, 2, 21, 24}));
    EXPECT_EQ(TabToStrip(TRect{2, 144, 60, 150}, Stbottom, window, TRect{6, 26, 194, 143}, 200), (TRect{2, 0, 60, 6}));
    EXPECT_EQ(TabToStrip(TRect{2, 2, 60, 22}, StTop, window, TRect{}, 200), (TRect{2, 3, 60, 23}));
}

TEST(TabRules, TabSetFit) {
    // 200 wide, margins 5 and 10: a second tab too wide to fit while the third, shorter one fits
    // shows the first and the third side by side.
    std::vector<TTabSetCell> cells = TabSetLayout(200, 5, 10, 0, {40, 150, 60}, false);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].Index, 0);
    EXPECT_EQ(cells[0].Left, 5);
    EXPECT_EQ(cells[0].Right, 54);
    EXPECT_EQ(cells[1].Index, 2);
    EXPECT_EQ(cells[1].Left, 54);
    EXPECT_EQ(cells[1].Right, 123);
    // The exact fit: limit 63 >= 5 + 49 + 9.
    cells = TabSetLayout(63, 5, 0, 0, {49}, false);
    EXPECT_EQ(cells.size(), 1u);
    cells = TabSetLayout(62, 5, 0, 0, {49}, false);
    EXPECT_EQ(cells.size(), 0u);
    // With the scroller visible 12 more pixels are kept free.
    EXPECT_EQ(TabSetLayout(63 + 11, 5, 0, 0, {49}, true).size(), 0u);
    EXPECT_EQ(TabSetLayout(63 + 12, 5, 0, 0, {49}, true).size(), 1u);
    // From the first visible tab on.
    cells = TabSetLayout(200, 0, 0, 1, {40, 30, 20}, false);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].Index, 1);
    EXPECT_EQ(cells[0].Left, 0);
}

TEST(TabRules, HeaderAndStatusBar) {
    EXPECT_EQ(HeaderAlign(0), kAlignLeft);
    EXPECT_EQ(HeaderAlign(1), kAlignRight);
    EXPECT_EQ(HeaderAlign(2), kAlignCenter);
    EXPECT_EQ(HeaderImage(0, 3), -1);
    EXPECT_EQ(HeaderImage(0x0800, 3), 3);
    EXPECT_EQ(HeaderImage(0x8000, 3), 3);

    const struct {
        int alignment;
        bool rtl;
        int align;
    } panels[] = {
        {0, false, kAlignLeft},  {1, false, kAlignRight}, {2, false, kAlignCenter},
        {0, true, kAlignRight},  {1, true, kAlignLeft}, // right-justified right-to-left: drawn left
        {2, true, kAlignCenter},
    };
    for (const auto& p : panels)
        EXPECT_EQ(PanelTextAlign(p.alignment, p.rtl), p.align) << p.alignment << " " << p.rtl;
    EXPECT_EQ(PanelBevelFrame(0), 1);
    EXPECT_EQ(PanelBevelFrame(1), 2);
    EXPECT_EQ(PanelBevelFrame(2), 3);
    EXPECT_EQ(AdjustColors(1), bcShadowOverLight);
    EXPECT_EQ(AdjustColors(2), bcLightOverShadow);
    EXPECT_EQ(AdjustColors(3), bcNone);
    EXPECT_TRUE(StatusSimple(true, 3));
    EXPECT_TRUE(StatusSimple(false, 0));
    EXPECT_FALSE(StatusSimple(false, 2));
    // The grip's bottom-right corner at (w - 1, h - 1).
    EXPECT_EQ(SizeGripRect(300, 20, 12, 12), (TRect{287, 7, 299, 19}));
    // Frame 5 of a strip that holds only 3 frames is its last one.
    EXPECT_EQ(ClampFrame(5, StripFrames(3, 36)), 3);
    EXPECT_EQ(ClampFrame(5, StripFrames(5, 4)), 4); // a strip narrower than its count
}

} // namespace
