#include "skin/data/ImgUtil.h"

#include <gtest/gtest.h>

namespace {

// A w x h bitmap whose pixel (x, y) encodes its own position, so every move can be traced.
TBitmap32 Numbered(int w, int h) {
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, PixelRGB(std::uint8_t(x), std::uint8_t(y), 7, std::uint8_t(x * 16 + y)));
    return b;
}

TPixel At(int x, int y) {
    return PixelRGB(std::uint8_t(x), std::uint8_t(y), 7, std::uint8_t(x * 16 + y));
}

} // namespace

TEST(ImgUtil, GrayscaleIsThePlainMeanAndKeepsAlpha) {
    TBitmap32 b(2, 1);
    b.SetPixel(0, 0, PixelRGB(31, 20, 10, 0x40)); // red 31, green 20, blue 10
    b.SetPixel(1, 0, PixelRGB(255, 255, 254));
    ConvertBitmapToGrayscale(b);
    EXPECT_EQ(b.Pixel(0, 0), PixelRGB(20, 20, 20, 0x40));
    EXPECT_EQ(b.Pixel(1, 0), PixelRGB(254, 254, 254));
}

TEST(ImgUtil, MirrorsMovePixelsToTheOppositeSide) {
    TBitmap32 b = Numbered(3, 2);
    SpiegelnHorizontal(b);
    EXPECT_EQ(b.Pixel(0, 0), At(2, 0));
    EXPECT_EQ(b.Pixel(1, 1), At(1, 1));
    EXPECT_EQ(b.Pixel(2, 1), At(0, 1));

    b = Numbered(2, 3);
    SpiegelnVertikal(b);
    EXPECT_EQ(b.Pixel(0, 0), At(0, 2));
    EXPECT_EQ(b.Pixel(1, 1), At(1, 1));
    EXPECT_EQ(b.Pixel(1, 2), At(1, 0));

    b = Numbered(3, 2);
    Drehen180Grad(b);
    EXPECT_EQ(b.Pixel(0, 0), At(2, 1));
    EXPECT_EQ(b.Pixel(2, 0), At(0, 1));

    // Degenerate shapes are left as they are.
    TBitmap32 column = Numbered(1, 4), row = Numbered(4, 1);
    TBitmap32 c = column, r = row;
    SpiegelnHorizontal(c);
    SpiegelnVertikal(r);
    EXPECT_EQ(c, column);
    EXPECT_EQ(r, row);
    TBitmap32 empty;
    SpiegelnHorizontal(empty);
    Drehen90Grad(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST(ImgUtil, QuarterTurns) {
    TBitmap32 b = Numbered(3, 1);
    Drehen90Grad(b); // clockwise: the leftmost pixel ends on top
    ASSERT_EQ(b.Width(), 1);
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Pixel(0, 0), At(0, 0));
    EXPECT_EQ(b.Pixel(0, 2), At(2, 0));

    b = Numbered(3, 1);
    Drehen270Grad(b); // counter-clockwise: the leftmost pixel ends at the bottom
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Pixel(0, 2), At(0, 0));
    EXPECT_EQ(b.Pixel(0, 0), At(2, 0));

    // (x, y) -> (old height - 1 - y, x) on a non-square image.
    const TBitmap32 src = Numbered(4, 3);
    b = src;
    Drehen90Grad(b);
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(b.Pixel(3 - 1 - y, x), At(x, y));

    Drehen270Grad(b);
    EXPECT_EQ(b, src);

    TBitmap32 twice = src, half = src;
    Drehen90Grad(twice);
    Drehen90Grad(twice);
    Drehen180Grad(half);
    EXPECT_EQ(twice, half);

    TBitmap32 ccw = src;
    Drehen270Grad(ccw);
    EXPECT_EQ(Rotate90(src), ccw);
    EXPECT_EQ(src, Numbered(4, 3)) << "Rotate90 leaves its source alone";
}
