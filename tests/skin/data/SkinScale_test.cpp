#include "skin/data/SkinScale.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const TPixel kKey = PixelFromColor(clSkinKey);

// The colour of part (col, row) of frame f in the test images: every part of every frame differs.
TPixel PartColour(int f, int col, int row) {
    return PixelRGB(std::uint8_t(40 * f + 10), std::uint8_t(60 * col + 5), std::uint8_t(70 * row + 3));
}

// A strip of `frames` frames of fw x fh (stacked when vertical), each frame's nine parts cut by m
// painted in their own flat colour.
TBitmap32 PartImage(int frames, int fw, int fh, const TRect& m, bool vertical) {
    TBitmap32 b(vertical ? fw : fw * frames, vertical ? fh * frames : fh);
    for (int f = 0; f < frames; ++f)
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x) {
                const int col = x < m.Left ? 0 : x < fw - m.Right ? 1 : 2;
                const int row = y < m.Top ? 0 : y < fh - m.Bottom ? 1 : 2;
                b.SetPixel(vertical ? x : f * fw + x, vertical ? f * fh + y : y, PartColour(f, col, row));
            }
    return b;
}

// Pixels with a pattern, so that replication can be told from any other filter.
TBitmap32 Noise(int w, int h, unsigned seed) {
    TBitmap32 b(w, h);
    unsigned s = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1103515245u + 12345u;
            b.SetPixel(x, y, PixelRGB(std::uint8_t(s >> 16), std::uint8_t(s >> 8), std::uint8_t(s >> 24)));
        }
    return b;
}

} // namespace

TEST(SkinScale, ScaleValueRoundsHalvesAwayFromZero) {
    struct Case {
        int V, Dpi, Want;
    } cases[] = {
        {331, 144, 497}, {216, 144, 324}, {1, 144, 2},   {3, 120, 4},   {2, 120, 3},   {5, 120, 6},
        {7, 192, 14},    {0, 192, 0},     {-3, 144, -5}, {10, 96, 10},  {10, 0, 10},   {13, 72, 10},
        {1, 240, 3},     {4, 168, 7},     {1 << 28, 192, kCoordLimit},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleValue(c.V, c.Dpi), c.Want) << c.V << " at " << c.Dpi;
}

// Every part of every frame keeps its own flat colour at its scaled place: nothing of a neighbour
// part or frame is blended in, with any factor.
TEST(SkinScale, PartsAndFramesStayApart) {
    struct Case {
        int Frames, FW, FH;
        TRect M;
        bool Vertical;
        int Dpi;
    } cases[] = {
        {1, 9, 7, {2, 3, 2, 1}, false, 120},  {1, 9, 7, {2, 3, 2, 1}, false, 144}, {3, 5, 6, {1, 2, 1, 2}, false, 144},
        {3, 5, 6, {1, 2, 1, 2}, true, 120},   {4, 7, 3, {3, 1, 3, 1}, false, 192}, {2, 3, 3, {0, 0, 0, 0}, false, 168},
        {5, 1, 1, {0, 0, 0, 0}, true, 144},   {2, 4, 4, {4, 0, 0, 4}, false, 144}, {3, 6, 5, {2, 1, 2, 1}, true, 192},
    };
    for (const Case& c : cases) {
        const TBitmap32 src = PartImage(c.Frames, c.FW, c.FH, c.M, c.Vertical);
        const TScaledImage s = ScaleSkinImage(src, c.Dpi, c.M, c.Frames, c.Vertical);
        const int sfw = ScaleValue(c.FW, c.Dpi), sfh = ScaleValue(c.FH, c.Dpi);
        const std::string what = std::to_string(c.Frames) + " frames " + std::to_string(c.FW) + "x" +
                                 std::to_string(c.FH) + " at " + std::to_string(c.Dpi);
        ASSERT_EQ(s.Bitmap.Width(), c.Vertical ? sfw : sfw * c.Frames) << what;
        ASSERT_EQ(s.Bitmap.Height(), c.Vertical ? sfh * c.Frames : sfh) << what;
        const TPoint size = ScaledSkinImageSize(src.Width(), src.Height(), c.Dpi, c.Frames, c.Vertical);
        EXPECT_EQ(size.X, s.Bitmap.Width()) << what;
        EXPECT_EQ(size.Y, s.Bitmap.Height()) << what;
        // Margins that were given are there, scaled within a pixel of their exact value.
        const int ms[4] = {c.M.Left, c.M.Top, c.M.Right, c.M.Bottom};
        const int got[4] = {s.Margins.Left, s.Margins.Top, s.Margins.Right, s.Margins.Bottom};
        for (int k = 0; k < 4; ++k) {
            EXPECT_LE(std::abs(got[k] - ScaleValue(ms[k], c.Dpi)), 1) << what << " margin " << k;
            EXPECT_EQ(got[k] == 0, ms[k] == 0) << what << " margin " << k;
        }
        for (int f = 0; f < c.Frames; ++f)
            for (int y = 0; y < sfh; ++y)
                for (int x = 0; x < sfw; ++x) {
                    const TRect& m = s.Margins;
                    const int col = x < m.Left ? 0 : x < sfw - m.Right ? 1 : 2;
                    const int row = y < m.Top ? 0 : y < sfh - m.Bottom ? 1 : 2;
                    const int px = c.Vertical ? x : f * sfw + x, py = c.Vertical ? f * sfh + y : y;
                    ASSERT_EQ(s.Bitmap.Pixel(px, py), PartColour(f, col, row))
                        << what << ": frame " << f << " pixel " << x << "," << y;
                }
    }
}

// At whole factors the result is the original with each pixel repeated factor x factor times,
// whatever the margins and frames.
TEST(SkinScale, WholeFactorsReplicatePixels) {
    struct Case {
        int W, H, Frames;
        TRect M;
        int Dpi;
    } cases[] = {
        {12, 5, 3, {1, 1, 1, 1}, 192}, {7, 9, 1, {3, 2, 0, 4}, 192}, {1, 1, 1, {0, 0, 0, 0}, 192},
        {6, 4, 2, {0, 0, 0, 0}, 288},  {10, 3, 5, {1, 0, 0, 1}, 384},
    };
    for (const Case& c : cases) {
        const TBitmap32 src = Noise(c.W, c.H, unsigned(c.W * 31 + c.H));
        const int k = c.Dpi / kBaseDpi;
        const TScaledImage s = ScaleSkinImage(src, c.Dpi, c.M, c.Frames, false);
        ASSERT_EQ(s.Bitmap.Width(), c.W * k);
        ASSERT_EQ(s.Bitmap.Height(), c.H * k);
        EXPECT_EQ(s.Margins, (TRect{c.M.Left * k, c.M.Top * k, c.M.Right * k, c.M.Bottom * k}));
        for (int y = 0; y < c.H * k; ++y)
            for (int x = 0; x < c.W * k; ++x)
                ASSERT_EQ(s.Bitmap.Pixel(x, y), src.Pixel(x / k, y / k)) << c.W << "x" << c.H << " at " << c.Dpi;
    }
}

// The key colour: a scaled pixel is key exactly where the nearest source pixel is, and the others
// are mixed from non-key pixels only, so no magenta fringe appears beside a transparent area.
TEST(SkinScale, KeyColourStaysExactWithNoFringe) {
    const TPixel ink = PixelRGB(20, 120, 60);
    struct Case {
        int W, H, Dpi;
    } cases[] = {{7, 5, 120}, {7, 5, 144}, {9, 9, 168}, {4, 6, 192}, {5, 3, 72}};
    for (const Case& c : cases) {
        TBitmap32 src(c.W, c.H);
        for (int y = 0; y < c.H; ++y)
            for (int x = 0; x < c.W; ++x) src.SetPixel(x, y, (x * 3 + y * 5) % 4 == 0 ? kKey : ink);
        const TScaledImage s = ScaleSkinImage(src, c.Dpi, TRect{}, 1, false);
        const int dw = s.Bitmap.Width(), dh = s.Bitmap.Height();
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x) {
                const int nx = (2 * x + 1) * c.W / (2 * dw), ny = (2 * y + 1) * c.H / (2 * dh);
                const TPixel want = src.Pixel(nx, ny) == kKey ? kKey : ink;
                ASSERT_EQ(s.Bitmap.Pixel(x, y), want) << c.W << "x" << c.H << " at " << c.Dpi << ": " << x << "," << y;
            }
    }
}

// Inside a part, a fractional factor filters: a pixel that straddles two source pixels mixes them.
TEST(SkinScale, FractionalFactorsBlendInsideAPart) {
    TBitmap32 src(2, 1);
    src.SetPixel(0, 0, PixelRGB(0, 0, 0));
    src.SetPixel(1, 0, PixelRGB(200, 100, 50));
    const TScaledImage s = ScaleSkinImage(src, 144, TRect{}, 1, false); // 3 pixels from 2
    ASSERT_EQ(s.Bitmap.Width(), 3);
    EXPECT_EQ(s.Bitmap.Pixel(0, 0), PixelRGB(0, 0, 0));
    EXPECT_EQ(s.Bitmap.Pixel(1, 0), PixelRGB(100, 50, 25));
    EXPECT_EQ(s.Bitmap.Pixel(2, 0), PixelRGB(200, 100, 50));
    // Across a margin the same two pixels are never mixed.
    const TScaledImage cut = ScaleSkinImage(src, 144, TRect{1, 0, 0, 0}, 1, false);
    for (int x = 0; x < cut.Bitmap.Width(); ++x)
        EXPECT_TRUE(cut.Bitmap.Pixel(x, 0) == src.Pixel(0, 0) || cut.Bitmap.Pixel(x, 0) == src.Pixel(1, 0)) << x;
}

TEST(SkinScale, DegenerateInputs) {
    // Empty images and the base DPI give the input back.
    EXPECT_TRUE(ScaleSkinImage(TBitmap32(), 144, TRect{1, 1, 1, 1}, 2, false).Bitmap.Empty());
    const TBitmap32 n = Noise(5, 4, 9);
    const TScaledImage same = ScaleSkinImage(n, 96, TRect{1, 2, 3, 4}, 3, false);
    EXPECT_EQ(same.Bitmap, n);
    EXPECT_EQ(same.Margins, (TRect{1, 2, 3, 4}));
    // More frames than pixels: the image is one frame. Margins past the frame give way.
    const TScaledImage many = ScaleSkinImage(n, 144, TRect{}, 9, false);
    EXPECT_EQ(many.Bitmap.Width(), 8);
    EXPECT_EQ(many.Bitmap.Height(), 6);
    const TScaledImage wide = ScaleSkinImage(n, 192, TRect{9, -2, 9, 0}, 1, false);
    EXPECT_EQ(wide.Margins, (TRect{10, 0, 0, 0}));
    EXPECT_EQ(wide.Bitmap.Width(), 10);
    // Left-over columns after the last frame are dropped, so the frames are found again.
    const TScaledImage strip = ScaleSkinImage(Noise(11, 2, 3), 144, TRect{}, 2, false);
    EXPECT_EQ(strip.Bitmap.Width(), 16);
    // A one-pixel image grows to the rounded size.
    EXPECT_EQ(ScaleSkinImage(Noise(1, 1, 1), 120, TRect{}, 1, false).Bitmap.Width(), 1);
    EXPECT_EQ(ScaleSkinImage(Noise(1, 1, 1), 144, TRect{}, 1, false).Bitmap.Width(), 2);
}
