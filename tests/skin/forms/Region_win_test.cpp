// The key-colour outline of an image becomes a real window region.
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TBitmap32 Shape(int w, int h) {
    // A key-coloured image with an opaque disc-like shape: each row opaque between |y - h/2| and
    // w - |y - h/2|, so every row is one run and the rows differ.
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int inset = std::abs(y - h / 2);
            bool opaque = x >= inset && x < w - inset;
            b.SetPixel(x, y, opaque ? PixelRGB(10, 20, 30) : PixelRGB(255, 0, 255));
        }
    return b;
}

TEST(RectsToRegion, MatchesThePixelsOfTheImage) {
    TBitmap32 shape = Shape(40, 30);
    std::vector<TRect> rects = BitmapToRegion(shape, 5, 7, clSkinKey, 0, 0, 0);
    ASSERT_FALSE(rects.empty());
    HRGN rgn = RectsToRegion(rects);
    ASSERT_TRUE(rgn);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            bool opaque = shape.Pixel(x, y) != PixelRGB(255, 0, 255);
            EXPECT_EQ(PtInRegion(rgn, x + 5, y + 7) != 0, opaque) << x << "," << y;
        }
    DeleteObject(rgn);
}

TEST(RectsToRegion, ManyRectanglesAndNone) {
    // A checkerboard gives one rectangle per opaque pixel: more than one chunk.
    std::vector<TRect> rects;
    for (int y = 0; y < 100; ++y)
        for (int x = y % 2; x < 100; x += 2)
            rects.push_back(TRect{x, y, x + 1, y + 1});
    ASSERT_GT(rects.size(), 2000u);
    HRGN rgn = RectsToRegion(rects);
    ASSERT_TRUE(rgn);
    EXPECT_TRUE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, 1, 0));
    EXPECT_TRUE(PtInRegion(rgn, 99, 99));
    EXPECT_FALSE(PtInRegion(rgn, 98, 99));
    DeleteObject(rgn);
    EXPECT_EQ(RectsToRegion({}), nullptr);
}

} // namespace
