#include "skin/forms/WinSkinForm.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An image whose pixel (x, y) encodes its own position, so every drawn pixel tells where it came from.
TPixel Src(int x, int y) {
    return PixelRGB(std::uint8_t(x), std::uint8_t(y), 100);
}

TBitmap32 Numbered(int w, int h) {
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, Src(x, y));
    return b;
}

const TPixel kBack = PixelRGB(1, 2, 3);
const TPixel kMagenta = PixelRGB(255, 0, 255);

TBitmap32 Filled(int w, int h, TPixel p = kBack) {
    TBitmap32 b(w, h);
    b.Fill(p);
    return b;
}

// Checks that pixel (x, y) of `got` shows image pixel (cols[x] + dx, rows[y] + dy) everywhere.
void ExpectMapped(const TBitmap32& got, const std::vector<int>& cols, const std::vector<int>& rows, int dx = 0,
                  int dy = 0) {
    ASSERT_EQ(got.Width(), int(cols.size()));
    ASSERT_EQ(got.Height(), int(rows.size()));
    for (int y = 0; y < got.Height(); ++y)
        for (int x = 0; x < got.Width(); ++x)
            ASSERT_EQ(got.Pixel(x, y), Src(cols[size_t(x)] + dx, rows[size_t(y)] + dy)) << "at " << x << "," << y;
}

} // namespace

TEST(FrameStrip, FramesAreWholeDivisionsWithTheIndexClamped) {
    TBitmap32 strip(31, 4);
    EXPECT_EQ(FrameRect(strip, 1, 2, false), Rect(0, 0, 15, 4));
    EXPECT_EQ(FrameRect(strip, 2, 2, false), Rect(15, 0, 30, 4)) << "column 30 is never used";
    EXPECT_EQ(FrameRect(strip, 0, 2, false), Rect(0, 0, 15, 4));
    EXPECT_EQ(FrameRect(strip, 7, 2, false), Rect(15, 0, 30, 4));
    EXPECT_EQ(FrameRect(strip, 1, 0, false), Rect(0, 0, 31, 4)) << "a count of 0 reads as one frame";
    EXPECT_EQ(FrameRect(strip, 3, 4, true), Rect(0, 2, 31, 3));
    EXPECT_TRUE(FrameRect(strip, 1, 40, false).IsEmpty());
    EXPECT_TRUE(FrameRect(TBitmap32(), 1, 1, false).IsEmpty());
}

TEST(NineSlice, CornersKeepTheirSizeEdgesAndMiddleStretch) {
    const TBitmap32 img = Numbered(12, 6); // two 6 x 6 frames
    // Frame 2, margins 2 all round, into 10 x 8: the middle two columns become six, two rows four.
    TBitmap32 m = GetHMap(Rect(50, 50, 60, 58), img, Rect(2, 2, 2, 2), 2, 2, false, false);
    ExpectMapped(m, {0, 1, 2, 2, 2, 3, 3, 3, 4, 5}, {0, 1, 2, 2, 3, 3, 4, 5}, 6, 0);

    // Unequal margins (left 1, top 2, right 3, bottom 1) into 8 x 5.
    m = GetHMap(Rect(0, 0, 8, 5), img, Rect(1, 2, 3, 1), 1, 2, false, false);
    ExpectMapped(m, {0, 1, 1, 2, 2, 3, 4, 5}, {0, 1, 2, 4, 5});

    // Shrinking: into 7 x 5 the two middle columns become three, the rows the same as above.
    m = GetHMap(Rect(0, 0, 7, 5), img, Rect(2, 2, 2, 2), 1, 2, false, false);
    ExpectMapped(m, {0, 1, 2, 3, 3, 4, 5}, {0, 1, 3, 4, 5});
}

TEST(NineSlice, MarginsAreDroppedOnAnAxisTheDestinationCannotHold) {
    const TBitmap32 img = Numbered(6, 6);
    // 3 columns < 2 + 2: the whole frame width is stretched, corners included; rows keep margins.
    TBitmap32 m = GetHMap(Rect(0, 0, 3, 8), img, Rect(2, 2, 2, 2), 1, 1, false, false);
    ExpectMapped(m, {1, 3, 5}, {0, 1, 2, 2, 3, 3, 4, 5});
    // And the other way round; exactly L + R still keeps the margins.
    m = GetHMap(Rect(0, 0, 4, 3), img, Rect(2, 2, 2, 2), 1, 1, false, false);
    ExpectMapped(m, {0, 1, 4, 5}, {1, 3, 5});
    // Zero margins: a plain stretch of the frame, the same as DrawRect1.
    m = GetHMap(Rect(0, 0, 9, 4), img, Rect(0, 0, 0, 0), 1, 1, false, false);
    TBitmap32 direct(9, 4);
    DrawRect1(direct, Rect(0, 0, 9, 4), img, 1, 1, false);
    EXPECT_EQ(m, direct);
    // Negative margins read as 0.
    EXPECT_EQ(GetHMap(Rect(0, 0, 9, 4), img, Rect(-3, -1, -2, -5), 1, 1, false, false), direct);
}

TEST(NineSlice, TiledMiddleOverrunIsCoveredByRightAndBottomPieces) {
    const TBitmap32 img = Numbered(7, 7);
    // Margins 2 all round leave a 3 x 3 middle; an 8 x 8 destination middle takes 2 2/3 tiles, and
    // the last tile's overrun is painted over by the right and bottom edges and the corner.
    // Edges are stretched along their length, only the middle is tiled.
    TBitmap32 m = GetHMap(Rect(0, 0, 12, 12), img, Rect(2, 2, 2, 2), 1, 1, true, false);
    const int tiled[12] = {0, 1, 2, 3, 4, 2, 3, 4, 2, 3, 5, 6};
    const int stretched[12] = {0, 1, 2, 2, 2, 3, 3, 4, 4, 4, 5, 6};
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool midRow = y >= 2 && y < 10, midCol = x >= 2 && x < 10;
            ASSERT_EQ(m.Pixel(x, y), Src(midRow ? tiled[x] : stretched[x], midCol ? tiled[y] : stretched[y]))
                << x << "," << y;
        }

    // With only a right margin, the single column of tiles runs one pixel under the right edge and
    // its rows past the bottom are clipped by the bitmap.
    m = GetHMap(Rect(0, 0, 6, 4), img, Rect(0, 0, 2, 0), 1, 1, true, false);
    EXPECT_EQ(m.Pixel(3, 3), Src(3, 3));
    EXPECT_EQ(m.Pixel(4, 1), Src(5, 2));
    EXPECT_EQ(m.Pixel(5, 3), Src(6, 6));
}

TEST(NineSlice, DegenerateSizes) {
    const TBitmap32 img = Numbered(6, 6);
    EXPECT_TRUE(GetHMap(Rect(5, 5, 5, 9), img, Rect(1, 1, 1, 1), 1, 1, false, false).Empty());
    EXPECT_TRUE(GetHMap(Rect(5, 5, 4, 9), img, Rect(1, 1, 1, 1), 1, 1, false, false).Empty());

    TBitmap32 target = Filled(8, 8);
    const TBitmap32 before = target;
    DrawRect2(target, Rect(3, 3, 2, 6), img, Rect(1, 1, 1, 1), 1, 1, false, false, false); // inverted
    DrawRect2(target, Rect(3, 3, 3, 6), img, Rect(1, 1, 1, 1), 1, 1, false, false, false); // zero width
    DrawRect2(target, Rect(0, 0, 8, 8), TBitmap32(), Rect(1, 1, 1, 1), 1, 1, false, false, false);
    DrawRectTile(target, Rect(0, 0, 8, 0), img, Rect(1, 1, 1, 1), 1, 1, false, false);
    EXPECT_EQ(target, before);

    // A one-pixel strip of three stacked frames: each frame is one pixel, stretched everywhere.
    TBitmap32 strip(1, 3);
    strip.SetPixel(0, 0, PixelRGB(10, 0, 0));
    strip.SetPixel(0, 1, PixelRGB(20, 0, 0));
    strip.SetPixel(0, 2, PixelRGB(30, 0, 0));
    TBitmap32 m = GetHMap(Rect(0, 0, 4, 3), strip, Rect(0, 0, 0, 0), 2, 3, false, true);
    TBitmap32 want = Filled(4, 3, PixelRGB(20, 0, 0));
    EXPECT_EQ(m, want);
    // Margins a 1 x 1 frame cannot hold on a small destination are dropped, so it still fills it.
    m = GetHMap(Rect(0, 0, 1, 1), strip, Rect(1, 1, 1, 1), 3, 3, false, true);
    EXPECT_EQ(m.Pixel(0, 0), PixelRGB(30, 0, 0));
}

TEST(NineSlice, TransparentDrawLeavesKeyColourPixelsOut) {
    TBitmap32 img = Numbered(4, 4);
    img.SetPixel(0, 0, kMagenta);                 // a corner pixel
    img.SetPixel(2, 2, PixelRGB(255, 0, 255, 0)); // alpha does not matter
    img.SetPixel(3, 0, PixelRGB(254, 0, 255));    // near the key: drawn
    TBitmap32 target = Filled(10, 10);
    DrawRect2(target, Rect(3, 3, 7, 7), img, Rect(1, 1, 1, 1), 1, 1, true, false, false);
    EXPECT_EQ(target.Pixel(3, 3), kBack);
    EXPECT_EQ(target.Pixel(5, 5), kBack);
    EXPECT_EQ(target.Pixel(6, 3), PixelRGB(254, 0, 255));
    EXPECT_EQ(target.Pixel(4, 3), Src(1, 0));
    EXPECT_EQ(target.Pixel(2, 3), kBack) << "outside the destination";

    // Without the flag the key colour is copied like any other.
    DrawRect2(target, Rect(3, 3, 7, 7), img, Rect(1, 1, 1, 1), 1, 1, false, false, false);
    EXPECT_EQ(target.Pixel(3, 3), kMagenta);
}

TEST(Border, DrawsEightPiecesAndLeavesTheMiddleAlone) {
    const TBitmap32 img = Numbered(12, 6);
    TBitmap32 target = Filled(20, 20);
    DrawBorder(target, Rect(4, 5, 14, 13), img, Rect(2, 2, 2, 2), 2, 2, false);
    const std::vector<int> cols = {0, 1, 2, 2, 2, 3, 3, 3, 4, 5}, rows = {0, 1, 2, 2, 3, 3, 4, 5};
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 4 && x < 14 && y >= 5 && y < 13;
            const bool middle = x >= 6 && x < 12 && y >= 7 && y < 11;
            const TPixel want = inside && !middle ? Src(6 + cols[size_t(x - 4)], rows[size_t(y - 5)]) : kBack;
            ASSERT_EQ(target.Pixel(x, y), want) << x << "," << y;
        }
    // The same pieces as the nine-slice rendering, less the middle.
    EXPECT_EQ(BorderPieces(Rect(4, 5, 14, 13), img, Rect(2, 2, 2, 2), 2, 2, false).size(), 8u);
    EXPECT_EQ(BorderPieces(Rect(4, 5, 14, 13), img, Rect(0, 2, 0, 0), 2, 2, false).size(), 1u);
    EXPECT_TRUE(BorderPieces(Rect(4, 5, 3, 13), img, Rect(2, 2, 2, 2), 2, 2, false).empty());
}

TEST(ThreeSlice, MiddleTilesAtItsOwnWidthUnderTheRightPiece) {
    const TBitmap32 img = Numbered(7, 3);
    TBitmap32 target(12, 6);
    // Left 2, right 2, middle 3 wide: tiles at 2, 5, 8; the third runs under the right piece.
    DrawRectTile(target, Rect(0, 0, 12, 6), img, Rect(2, 99, 2, 99), 1, 1, false, false);
    ExpectMapped(target, {0, 1, 2, 3, 4, 2, 3, 4, 2, 3, 5, 6}, {0, 0, 1, 1, 2, 2});

    // Exactly L + R wide: no middle tile at all.
    TBitmap32 narrow = Filled(4, 3);
    DrawRectTile(narrow, Rect(0, 0, 4, 3), img, Rect(2, 0, 2, 0), 1, 1, false, false);
    ExpectMapped(narrow, {0, 1, 5, 6}, {0, 1, 2});

    // No room for a middle in the frame (M <= 0): only the two sides, the rest stays as created (0).
    TBitmap32 wide = Filled(10, 3);
    DrawRectTile(wide, Rect(0, 0, 10, 3), img, Rect(4, 0, 3, 0), 1, 1, false, false);
    EXPECT_EQ(wide.Pixel(3, 0), Src(3, 0));
    EXPECT_EQ(wide.Pixel(5, 1), PixelRGB(0, 0, 0, 0));
    EXPECT_EQ(wide.Pixel(7, 2), Src(4, 2));
}

TEST(SingleFrame, StretchedAndCentred) {
    const TBitmap32 img = Numbered(8, 4); // two 4 x 4 frames
    TBitmap32 target = Filled(20, 20);
    DrawRect1(target, Rect(2, 2, 10, 4), img, 2, 2, false);
    EXPECT_EQ(target.Pixel(2, 2), Src(4, 1)); // 4 rows into 2: rows 1 and 3
    EXPECT_EQ(target.Pixel(9, 3), Src(7, 3));
    EXPECT_EQ(target.Pixel(10, 3), kBack);

    // Centred at its own size: (7 - 4) / 2 = 1 column and (6 - 4) / 2 = 1 row in.
    target = Filled(20, 20);
    DrawRect3(target, Rect(10, 10, 17, 16), img, 1, 2, false);
    EXPECT_EQ(target.Pixel(11, 11), Src(0, 0));
    EXPECT_EQ(target.Pixel(14, 14), Src(3, 3));
    EXPECT_EQ(target.Pixel(10, 10), kBack);
    // Larger than the rectangle: overhangs both sides; (1 - 4) / 2 truncates to -1, not -2.
    target = Filled(20, 20);
    DrawRect3(target, Rect(10, 10, 11, 12), img, 1, 2, false);
    EXPECT_EQ(target.Pixel(9, 9), Src(0, 0));
    EXPECT_EQ(target.Pixel(12, 12), Src(3, 3));
    EXPECT_EQ(target.Pixel(8, 9), kBack);
    // The zero-size rectangle is not inverted: the frame is centred on the point.
    target = Filled(20, 20);
    DrawRect3(target, Rect(10, 10, 10, 10), img, 1, 2, false);
    EXPECT_EQ(target.Pixel(8, 8), Src(0, 0));

    TBitmap32 keyed = img;
    keyed.SetPixel(1, 1, kMagenta);
    target = Filled(20, 20);
    DrawRect3(target, Rect(0, 0, 4, 4), keyed, 1, 2, true);
    EXPECT_EQ(target.Pixel(1, 1), kBack);
    EXPECT_EQ(target.Pixel(2, 1), Src(2, 1));
}

TEST(Thumb, VerticalThreeSliceAcrossTheWholeWidth) {
    const TBitmap32 img = Numbered(8, 6); // two 4 x 6 frames
    TBitmap32 t = GetThumbMap(Rect(0, 0, 2, 10), img, Rect(9, 1, 9, 2), 2, 2, false);
    // Width 4 -> 2 ignoring left and right margins; top row kept, bottom two kept, three rows -> seven.
    ExpectMapped(t, {1, 3}, {0, 1, 1, 2, 2, 2, 3, 3, 4, 5}, 4, 0);

    t = GetThumbMap(Rect(0, 0, 2, 10), img, Rect(0, 1, 0, 2), 2, 2, true);
    EXPECT_EQ(t, TBitmap32(2, 10)) << "skipped: returned as created";
    EXPECT_TRUE(GetThumbMap(Rect(0, 0, -1, 10), img, Rect(0, 1, 0, 2), 2, 2, false).Empty());
}

TEST(Tranmap, CopiesTheTopLeftPartWithoutKeyPixels) {
    TBitmap32 src = Numbered(5, 5);
    src.SetPixel(1, 0, kMagenta);
    src.SetPixel(0, 1, PixelRGB(0, 0, 255)); // blue is not the key
    TBitmap32 target = Filled(6, 6);
    DrawTranmap(target, Rect(2, 3, 4, 5), src, clSkinKey);
    EXPECT_EQ(target.Pixel(2, 3), Src(0, 0));
    EXPECT_EQ(target.Pixel(3, 3), kBack);
    EXPECT_EQ(target.Pixel(2, 4), PixelRGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(3, 4), Src(1, 1));
    EXPECT_EQ(target.Pixel(4, 4), kBack) << "only the destination's size is drawn";

    // Another key colour, and no scaling even when the destination is larger than the source.
    target = Filled(8, 8);
    DrawTranmap(target, Rect(0, 0, 8, 8), src, RGBColor(0, 0, 255));
    EXPECT_EQ(target.Pixel(0, 1), kBack);
    EXPECT_EQ(target.Pixel(1, 0), kMagenta);
    EXPECT_EQ(target.Pixel(4, 4), Src(4, 4));
    EXPECT_EQ(target.Pixel(6, 6), kBack);

    target = Filled(6, 6);
    Bitmapdraw(target, Rect(1, 1, 3, 3), src);
    EXPECT_EQ(target.Pixel(2, 1), kMagenta);
    EXPECT_EQ(target.Pixel(2, 2), Src(1, 1));
    EXPECT_EQ(target.Pixel(3, 3), kBack);
}

TEST(Tiling, TilesFromTheCornerUnclippedToTheDestination) {
    const TBitmap32 img = Numbered(10, 10);
    TBitmap32 target = Filled(12, 12);
    // A 3 x 2 tile from (4, 5) over (1, 1, 8, 4): 3 columns and 2 rows of tiles, reaching x = 10, y = 5.
    DrawBGbmp(target, Rect(1, 1, 8, 4), img, Rect(4, 5, 7, 7));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool tiled = x >= 1 && x < 10 && y >= 1 && y < 5;
            ASSERT_EQ(target.Pixel(x, y), tiled ? Src(4 + (x - 1) % 3, 5 + (y - 1) % 2) : kBack) << x << "," << y;
        }
    // Tiles starting left of and above the target keep their phase.
    target = Filled(4, 4);
    DrawBGbmp(target, Rect(-4, -1, 4, 4), img, Rect(0, 0, 3, 3));
    EXPECT_EQ(target.Pixel(0, 0), Src(1, 1));
    EXPECT_EQ(target.Pixel(3, 3), Src(1, 1));

    const TBitmap32 before = target;
    DrawBGbmp(target, Rect(0, 0, 4, 4), img, Rect(3, 3, 3, 8));
    DrawBGbmp(target, Rect(0, 0, 4, 4), img, Rect(3, 3, 2, 8));
    DrawBGbmp(target, Rect(0, 0, 0, 4), img, Rect(0, 0, 2, 2));
    EXPECT_EQ(target, before);
}

TEST(Region, RunsOfNonKeyPixelsPerRow) {
    TBitmap32 allKey = Filled(5, 3, kMagenta);
    EXPECT_TRUE(BitmapToRegion(allKey, 0, 0, clSkinKey, 1, 1, 1).empty());

    TBitmap32 noKey = Filled(5, 3);
    EXPECT_EQ(BitmapToRegion(noKey, 10, 20, clSkinKey, 0, 0, 0),
              (std::vector<TRect>{Rect(10, 20, 15, 21), Rect(10, 21, 15, 22), Rect(10, 22, 15, 23)}));

    // Row 0: opaque, key, opaque -> two runs; row 1: key at both ends; row 2 all key.
    TBitmap32 b = Filled(5, 3, kMagenta);
    b.SetPixel(0, 0, kBack);
    b.SetPixel(1, 0, kBack);
    b.SetPixel(4, 0, kBack);
    b.SetPixel(2, 1, kBack);
    b.SetPixel(3, 1, kBack);
    EXPECT_EQ(BitmapToRegion(b, -1, 0, clSkinKey, 0, 0, 0),
              (std::vector<TRect>{Rect(-1, 0, 1, 1), Rect(3, 0, 4, 1), Rect(1, 1, 3, 2)}));
    EXPECT_TRUE(BitmapToRegion(TBitmap32(), 0, 0, clSkinKey, 0, 0, 0).empty());
}

TEST(Region, ToleranceReachesUpFromTheKeyOnly) {
    // The form frame's call: magenta with tolerance 1 on each channel.
    TBitmap32 b(6, 1);
    b.SetPixel(0, 0, PixelRGB(255, 0, 255));
    b.SetPixel(1, 0, PixelRGB(255, 1, 255)); // green within 0..1: transparent
    b.SetPixel(2, 0, PixelRGB(255, 2, 255)); // opaque
    b.SetPixel(3, 0, PixelRGB(254, 0, 255)); // red below the key: opaque
    b.SetPixel(4, 0, PixelRGB(255, 0, 254)); // blue below the key: opaque
    b.SetPixel(5, 0, PixelRGB(255, 1, 255));
    EXPECT_EQ(BitmapToRegion(b, 0, 0, clSkinKey, 1, 1, 1), (std::vector<TRect>{Rect(2, 0, 5, 1)}));
    EXPECT_EQ(BitmapToRegion(b, 0, 0, clSkinKey, 0, 0, 0), (std::vector<TRect>{Rect(1, 0, 6, 1)}));

    // A wide tolerance on a dark key: every channel from the key up to key + tolerance, capped at 255.
    TBitmap32 c(3, 1);
    c.SetPixel(0, 0, PixelRGB(40, 40, 40));
    c.SetPixel(1, 0, PixelRGB(255, 30, 255));
    c.SetPixel(2, 0, PixelRGB(9, 40, 40));
    EXPECT_EQ(BitmapToRegion(c, 0, 0, RGBColor(10, 30, 10), 250, 10, 255), (std::vector<TRect>{Rect(2, 0, 3, 1)}));
}
