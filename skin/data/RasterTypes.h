// Small value types shared by the portable raster code: points, rectangles and colours.
#pragma once

#include <algorithm>
#include <cstdint>

struct TPoint {
    int X = 0;
    int Y = 0;
};

// Left and Top inclusive, Right and Bottom exclusive. A rectangle with Right <= Left or
// Bottom <= Top covers no pixel; one with Right < Left or Bottom < Top is "inverted".
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool IsInverted() const { return Right < Left || Bottom < Top; }
    constexpr bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    constexpr bool operator==(const TRect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    constexpr bool operator!=(const TRect& o) const { return !(*this == o); }
};

constexpr TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
constexpr TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

// Raster code draws nothing for rectangles with a coordinate beyond this limit, so that sums and
// products of coordinates can never overflow; no window or skin image comes near it.
constexpr int kCoordLimit = 1 << 28;
constexpr bool InCoordRange(const TRect& r) {
    return r.Left >= -kCoordLimit && r.Left <= kCoordLimit && r.Top >= -kCoordLimit && r.Top <= kCoordLimit &&
           r.Right >= -kCoordLimit && r.Right <= kCoordLimit && r.Bottom >= -kCoordLimit && r.Bottom <= kCoordLimit;
}

// The common part of two rectangles; empty (all zero) when they do not overlap.
inline TRect IntersectRect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

// A colour as skins and the framework write it: red in the low byte, then green, then blue
// (0x00BBGGRR). Values with the high bit set are system-colour codes, which raster code never sees.
using TColor = std::uint32_t;

constexpr TColor clNone = 0x1FFFFFFF;
// The transparent key colour of every skin image: red 255, green 0, blue 255.
constexpr TColor clSkinKey = 0x00FF00FF;

// windows.h defines these three as macros of the same meaning; the functions take their place, so
// that this header may follow windows.h.
#undef GetRValue
#undef GetGValue
#undef GetBValue
constexpr std::uint8_t GetRValue(TColor c) {
    return std::uint8_t(c & 0xFF);
}
constexpr std::uint8_t GetGValue(TColor c) {
    return std::uint8_t((c >> 8) & 0xFF);
}
constexpr std::uint8_t GetBValue(TColor c) {
    return std::uint8_t((c >> 16) & 0xFF);
}
constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
