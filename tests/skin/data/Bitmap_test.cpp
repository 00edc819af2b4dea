#include "skin/data/Bitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <vector>

namespace {

TPixel P(int v) {
    return PixelRGB(std::uint8_t(v), std::uint8_t(v * 3), 9);
}

TBitmap32 Row(std::initializer_list<int> values) {
    TBitmap32 b(int(values.size()), 1);
    int x = 0;
    for (int v : values)
        b.SetPixel(x++, 0, P(v));
    return b;
}

std::vector<TPixel> Pixels(const TBitmap32& b, int y = 0) {
    return std::vector<TPixel>(b.ScanLine(y), b.ScanLine(y) + b.Width());
}

} // namespace

TEST(Bitmap, SizesAndOwnership) {
    TBitmap32 b(3, 2);
    EXPECT_EQ(b.Stride(), 12);
    EXPECT_EQ(b.Pixel(2, 1), 0u);
    EXPECT_TRUE(TBitmap32(0, 5).Empty());
    EXPECT_TRUE(TBitmap32(-3, 5).Empty());
    EXPECT_EQ(TBitmap32(0, 5).Height(), 0);
    EXPECT_THROW(TBitmap32(1 << 14, 1 << 13), std::length_error);

    b.Fill(P(1));
    b.SetPixel(3, 0, P(2)); // outside: ignored
    EXPECT_EQ(b.Pixel(-1, 0), 0u);
    TBitmap32 copy = b;
    copy.SetPixel(0, 0, P(7));
    EXPECT_EQ(b.Pixel(0, 0), P(1)) << "copies are deep";
    TBitmap32 moved = std::move(copy);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(moved.Pixel(0, 0), P(7));
    moved.SetSize(2, 2);
    EXPECT_EQ(moved, TBitmap32(2, 2)) << "resizing drops the content";
}

TEST(Bitmap, AttachedMemoryWithWiderRows) {
    // 2 x 2 pixels in rows of 3 words; the third word of each row must never be touched.
    std::vector<TPixel> mem(6, 0xDEADBEEF);
    TBitmap32 b = TBitmap32::Attach(2, 2, 12, mem.data(), nullptr);
    ASSERT_EQ(b.Width(), 2);
    b.Fill(P(4));
    StretchCopy(b, Rect(0, 0, 3, 3), Row({5, 6}), Rect(0, 0, 2, 1));
    EXPECT_EQ(mem, (std::vector<TPixel>{P(5), P(6), 0xDEADBEEF, P(5), P(6), 0xDEADBEEF}));
    TBitmap32 own = b;
    EXPECT_EQ(own.Stride(), 8);
    EXPECT_EQ(own, b);

    EXPECT_TRUE(TBitmap32::Attach(2, 2, 6, mem.data(), nullptr).Empty()) << "stride below the width";
    EXPECT_TRUE(TBitmap32::Attach(2, 2, 10, mem.data(), nullptr).Empty()) << "stride not in whole words";
    EXPECT_TRUE(TBitmap32::Attach(2, 2, 12, nullptr, nullptr).Empty());
}

TEST(Stretch, NearestNeighbourRepeatsAndDrops) {
    TBitmap32 dst(5, 1);
    StretchCopy(dst, Rect(0, 0, 5, 1), Row({0, 1}), Rect(0, 0, 2, 1));
    EXPECT_EQ(Pixels(dst), (std::vector<TPixel>{P(0), P(0), P(1), P(1), P(1)}));

    TBitmap32 small(2, 1);
    StretchCopy(small, Rect(0, 0, 2, 1), Row({0, 1, 2, 3, 4}), Rect(0, 0, 5, 1));
    EXPECT_EQ(Pixels(small), (std::vector<TPixel>{P(1), P(3)}));

    // Vertical scaling picks whole rows.
    TBitmap32 col(1, 3);
    col.SetPixel(0, 0, P(10));
    col.SetPixel(0, 1, P(11));
    col.SetPixel(0, 2, P(12));
    TBitmap32 tall(2, 6);
    StretchCopy(tall, Rect(0, 0, 2, 6), col, Rect(0, 0, 1, 3));
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(tall.Pixel(1, y), P(10 + y / 2));
}

TEST(Stretch, ClipsToBothBitmaps) {
    const TBitmap32 src = Row({0, 1, 2, 3});
    // Destination starting left of the target: the visible part keeps its phase.
    TBitmap32 dst = Row({9, 9, 9});
    StretchCopy(dst, Rect(-2, 0, 2, 1), src, Rect(0, 0, 4, 1));
    EXPECT_EQ(Pixels(dst), (std::vector<TPixel>{P(2), P(3), P(9)}));
    // Source reaching past the source bitmap: those destination pixels stay as they were.
    dst = Row({9, 9, 9});
    StretchCopy(dst, Rect(0, 0, 3, 1), src, Rect(2, 0, 5, 1));
    EXPECT_EQ(Pixels(dst), (std::vector<TPixel>{P(2), P(3), P(9)}));
    dst = Row({9, 9, 9});
    StretchCopy(dst, Rect(0, 0, 6, 1), src, Rect(-1, 0, 2, 1));      // scaled, partly outside
    EXPECT_EQ(Pixels(dst), (std::vector<TPixel>{P(9), P(9), P(0)})); // columns -1, -1, 0
    TBitmap32 block(3, 2);                                           // the same with a repeated row
    block.Fill(P(9));
    StretchCopy(block, Rect(0, 0, 6, 2), src, Rect(-1, 0, 2, 1));
    EXPECT_EQ(Pixels(block, 1), (std::vector<TPixel>{P(9), P(9), P(0)}));
    // Empty, inverted and absurd rectangles draw nothing.
    const TBitmap32 before = dst;
    StretchCopy(dst, Rect(0, 0, 0, 1), src, Rect(0, 0, 4, 1));
    StretchCopy(dst, Rect(0, 0, 3, 1), src, Rect(3, 0, 1, 1));
    StretchCopy(dst, Rect(INT_MIN, 0, INT_MAX, 1), src, Rect(0, 0, 4, 1));
    StretchCopy(dst, Rect(0, 0, 3, 1), src, Rect(0, 0, INT_MAX, 1));
    EXPECT_EQ(dst, before);
}

TEST(Stretch, KeyedCopyAndCopyOntoItself) {
    TBitmap32 src = Row({0, 1, 2});
    src.SetPixel(1, 0, PixelRGB(255, 0, 255, 0)); // key colour with another alpha
    TBitmap32 dst = Row({9, 9, 9});
    StretchCopyKeyed(dst, Rect(0, 0, 3, 1), src, Rect(0, 0, 3, 1), clSkinKey);
    EXPECT_EQ(Pixels(dst), (std::vector<TPixel>{P(0), P(9), P(2)}));
    dst = Row({9, 9, 9});
    DrawBitmapKeyed(dst, 1, 0, src, RGBColor(0, 0, 9)); // P(0) is red 0, green 0, blue 9
    EXPECT_EQ(Pixels(dst), (std::vector<TPixel>{P(9), P(9), PixelRGB(255, 0, 255, 0)}));

    // Overlapping copy within one bitmap reads the pixels as they were before the call.
    TBitmap32 row = Row({0, 1, 2, 3});
    StretchCopy(row, Rect(1, 0, 4, 1), row, Rect(0, 0, 3, 1));
    EXPECT_EQ(Pixels(row), (std::vector<TPixel>{P(0), P(0), P(1), P(2)}));
    DrawBitmap(row, -1, 0, Row({5, 6, 7}));
    EXPECT_EQ(Pixels(row), (std::vector<TPixel>{P(6), P(7), P(1), P(2)}));
}
