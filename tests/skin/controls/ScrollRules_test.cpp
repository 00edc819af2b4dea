// The arithmetic of skinned scroll bars: thumb size and place, hit testing, thumb drags, where a
// window's bars lie, the pieces of a bar's picture, and the frames each part shows.
#include "skin/controls/ScrollRules.h"

#include <gtest/gtest.h>

namespace {
const TThumbMetrics k17{17, 8, 17};

TEST(ScrollRules, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDivRound(20, 83, 99), 17);
    EXPECT_EQ(MulDivRound(40, 66, 79), 33);
    EXPECT_EQ(MulDivRound(1, 1, 2), 1);
    EXPECT_EQ(MulDivRound(-1, 1, 2), -1);
    EXPECT_EQ(MulDivRound(3, -1, 2), -2);
    EXPECT_EQ(MulDivRound(100000, 100000, 100000), 100000); // no overflow of the product
    EXPECT_EQ(MulDivRound(5, 5, 0), -1);
}

TEST(ScrollRules, ThumbSizeAndPlace) {
    struct Case {
        int length;
        TScrollData si;
        TBarGeometry want;
    } cases[] = {
        // A 117-pixel bar: track 83; page 20 of 0..99 at 40: thumb MulDiv(20, 83, 99) = 17 at
        // MulDiv(40, 83 - 17, 99 - 20) = 33.
        {117, {0, 99, 20, 40}, {17, 83, 17, 33, true}},
        // The position at its end keeps the thumb on the track: MulDiv(80, 66, 79) = 67 -> 66.
        {117, {0, 99, 20, 80}, {17, 83, 17, 66, true}},
        // Without a page the thumb has the system's default length.
        {117, {0, 100, 0, 50}, {17, 83, 17, 33, true}},
        // A tiny page gets the shortest thumb: MulDiv(500, 75, 999) = 38.
        {117, {0, 1000, 1, 500}, {17, 83, 8, 38, true}},
        // A range exactly one page long: the whole track less one pixel, at 0.
        {117, {0, 50, 50, 0}, {17, 83, 82, 0, true}},
        // The page shows more than the range: nothing to scroll, no thumb.
        {117, {0, 5, 10, 0}, {17, 83, 83, 0, false}},
        // Min above 0 shifts the position only.
        {117, {10, 109, 20, 50}, {17, 83, 17, 33, true}},
        // A bar shorter than two arrows has no track and no thumb.
        {20, {0, 99, 20, 40}, {17, 0, 0, 0, false}},
    };
    for (const Case& c : cases) {
        TBarGeometry g;
        ASSERT_TRUE(ComputeThumb(c.length, c.si, k17, g));
        EXPECT_EQ(g.Arrow, c.want.Arrow);
        EXPECT_EQ(g.Track, c.want.Track);
        EXPECT_EQ(g.Thumb, c.want.Thumb) << c.si.Max << " " << c.si.Page;
        EXPECT_EQ(g.Offset, c.want.Offset) << c.si.Max << " " << c.si.Page << " " << c.si.Pos;
        EXPECT_EQ(g.ThumbShown, c.want.ThumbShown) << c.si.Max << " " << c.si.Page;
    }
    // An empty or inverted range leaves the previous geometry alone.
    TBarGeometry g{1, 2, 3, 4, true};
    EXPECT_FALSE(ComputeThumb(117, {5, 5, 0, 0}, k17, g));
    EXPECT_FALSE(ComputeThumb(117, {5, 2, 0, 0}, k17, g));
    EXPECT_EQ(g.Offset, 4);
}

TEST(ScrollRules, PartsAlongTheBar) {
    const TBarGeometry g{17, 83, 17, 33, true};
    const struct {
        int p;
        TScrollPart part;
    } cases[] = {{0, spFirstArrow},    {16, spFirstArrow},   {17, spPageBefore}, {49, spPageBefore},
                 {50, spThumb},        {66, spThumb},        {67, spPageAfter},  {99, spPageAfter},
                 {100, spSecondArrow}, {116, spSecondArrow}, {117, spOutside}};
    for (const auto& c : cases)
        EXPECT_EQ(PartAt(g, c.p), c.part) << c.p;
}

TEST(ScrollRules, ThumbDrag) {
    const TBarGeometry g{17, 83, 17, 33, true};
    const TScrollData paged{0, 99, 20, 40};
    struct Case {
        TScrollData si;
        int delta;
        int offset, pos;
    } cases[] = {
        // Position from the offset over the track: MulDiv(33, 99, 83) = 39; MulDiv(53, 99, 83) = 63.
        {paged, 0, 33, 39},
        {paged, 20, 53, 63},
        // Into the last page: the last position a page allows, Max - Page + 1.
        {paged, 33, 66, 80},
        // Past the end: still 80, and the thumb stays on the track.
        {paged, 500, 66, 80},
        {paged, -500, 0, 0},
        // Without a page the thumb's free room maps onto the whole range, Max at most.
        {{0, 100, 0, 50}, 0, 33, 50},
        {{0, 100, 0, 50}, 500, 66, 100},
        {{10, 109, 20, 50}, 0, 33, 49},
    };
    for (const Case& c : cases) {
        const TDragStep s = DragThumbStep(g, 33, c.delta, c.si);
        EXPECT_EQ(s.Offset, c.offset) << c.delta << " page " << c.si.Page;
        EXPECT_EQ(s.Pos, c.pos) << c.delta << " page " << c.si.Page;
    }
    // Any drag: the position rises with the mouse and stays within what a page allows.
    int last = -1000;
    for (int delta = -200; delta <= 200; ++delta) {
        const TDragStep s = DragThumbStep(g, 33, delta, paged);
        ASSERT_GE(s.Pos, last) << delta;
        ASSERT_GE(s.Pos, paged.Min);
        ASSERT_LE(s.Pos, paged.Max - paged.Page + 1);
        ASSERT_LE(s.Offset, g.Track - g.Thumb);
        last = s.Pos;
    }
    // No track to drag along: the position stays.
    EXPECT_EQ(DragThumbStep(TBarGeometry{17, 0, 0, 0, false}, 0, 40, paged).Pos, 40);
}

TEST(ScrollRules, BarsOfAWindow) {
    // A memo 203 x 105 with a 2-pixel client edge and 16-pixel bars.
    const TRect w{0, 0, 203, 105};
    struct Case {
        int clientRight, clientBottom;
        bool horz, vert, left;
        TScrollBarRects want;
    } cases[] = {
        {183, 101, false, true, false, {2, {}, {185, 2, 201, 103}, {}}},
        {199, 85, true, false, false, {2, {2, 87, 201, 103}, {}, {}}},
        {183, 85, true, true, false, {2, {2, 87, 185, 103}, {185, 2, 201, 87}, {185, 87, 201, 103}}},
        {183, 85, true, true, true, {2, {18, 87, 201, 103}, {2, 2, 18, 87}, {2, 87, 18, 103}}},
        {183, 101, false, true, true, {2, {}, {2, 2, 18, 103}, {}}},
        {199, 85, true, false, true, {2, {2, 87, 201, 103}, {}, {}}},
        {199, 101, false, false, false, {3, {}, {}, {}}}, // no bars: the system's edge width
    };
    for (const Case& c : cases) {
        const TScrollBarRects b = ScrollBarRects(w, c.clientRight, c.clientBottom, 16, 3, c.horz, c.vert, c.left);
        EXPECT_EQ(b.Edge, c.want.Edge);
        EXPECT_EQ(b.Horz, c.want.Horz) << c.horz << c.vert << c.left;
        EXPECT_EQ(b.Vert, c.want.Vert) << c.horz << c.vert << c.left;
        EXPECT_EQ(b.SizeBox, c.want.SizeBox) << c.horz << c.vert << c.left;
    }
}

TEST(ScrollRules, PiecesOfABarPicture) {
    const TBarGeometry g{16, 85, 17, 33, true};
    TBarLayout v = BarLayout(117, 16, true, g, true);
    EXPECT_EQ(v.FirstArrow, (TRect{0, 0, 16, 16}));
    EXPECT_EQ(v.SecondArrow, (TRect{0, 101, 16, 117}));
    EXPECT_EQ(v.Track, (TRect{0, 16, 16, 101}));
    EXPECT_EQ(v.Thumb, (TRect{0, 49, 16, 66}));
    EXPECT_TRUE(BarLayout(117, 16, true, g, false).Thumb.IsEmpty());
    TBarGeometry hidden = g;
    hidden.ThumbShown = false;
    EXPECT_TRUE(BarLayout(117, 16, true, hidden, true).Thumb.IsEmpty());
    TBarLayout h = BarLayout(117, 16, false, g, true);
    EXPECT_EQ(h.Thumb, (TRect{49, 0, 66, 16}));
    // Shorter than two arrows: two halves, no track, no thumb.
    TBarLayout s = BarLayout(21, 16, false, TBarGeometry{16, 0, 0, 0, false}, true);
    EXPECT_EQ(s.FirstArrow, (TRect{0, 0, 10, 16}));
    EXPECT_EQ(s.SecondArrow, (TRect{11, 0, 21, 16}));
    EXPECT_TRUE(s.Track.IsEmpty());
    EXPECT_TRUE(s.Thumb.IsEmpty());
}

TEST(ScrollRules, FramesClampToTheStrip) {
    const struct {
        int arrow;
        TPartState state;
        int count, frame;
    } arrows[] = {{0, psNormal, 23, 1}, {0, psPressed, 23, 2},   {1, psNormal, 23, 5},  {1, psPressed, 23, 6},
                  {2, psNormal, 23, 9}, {2, psPressed, 23, 10},  {3, psNormal, 23, 13}, {3, psPressed, 23, 14},
                  {3, psHot, 23, 15},   {3, psDisabled, 23, 16}, {3, psPressed, 8, 8},  {0, psPressed, 1, 1},
                  {2, psNormal, 0, 1}};
    for (const auto& c : arrows)
        EXPECT_EQ(ArrowFrame(c.arrow, c.state, c.count), c.frame) << c.arrow << " " << c.state << " " << c.count;
    // A one-frame thumb shows its one frame when dragged; shorter strips their last.
    EXPECT_EQ(ThumbFrame(psPressed, 1), 1);
    EXPECT_EQ(ThumbFrame(psPressed, 3), 2);
    EXPECT_EQ(ThumbFrame(psHot, 3), 3);
    EXPECT_EQ(ThumbFrame(psHot, 2), 2);
    EXPECT_EQ(ThumbFrame(psNormal, 0), 1);
}
} // namespace
