// The skin engine's raster type and the few operations the drawing code is built on: nearest-neighbour
// scaled copy, the same with one key colour left out, and filling.
#pragma once

#include "skin/data/RasterTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// A pixel is one 32-bit word 0xAARRGGBB, i.e. the bytes blue, green, red, alpha in memory on the
// little-endian machines we build for; the same layout as a 32-bit top-down DIB section. Alpha is
// carried along but no operation here blends with it; colour comparisons look at red, green, blue.
using TPixel = std::uint32_t;

constexpr TPixel PixelRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
    return (TPixel(a) << 24) | (TPixel(r) << 16) | (TPixel(g) << 8) | TPixel(b);
}
constexpr TPixel PixelFromColor(TColor c) {
    return PixelRGB(GetRValue(c), GetGValue(c), GetBValue(c));
}
constexpr TColor ColorFromPixel(TPixel p) {
    return RGBColor(std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p));
}
constexpr std::uint8_t PixelR(TPixel p) {
    return std::uint8_t(p >> 16);
}
constexpr std::uint8_t PixelG(TPixel p) {
    return std::uint8_t(p >> 8);
}
constexpr std::uint8_t PixelB(TPixel p) {
    return std::uint8_t(p);
}
// True when the pixel shows exactly the colour c (alpha ignored).
constexpr bool PixelIs(TPixel p, TColor c) {
    return (p & 0x00FFFFFF) == (PixelFromColor(c) & 0x00FFFFFF);
}

// A 32-bit top-down raster. Width and height are both positive, or both 0 (the empty bitmap).
// Copies are deep; a copy always owns its memory. Not thread-safe, as nothing in the skin engine is.
class TBitmap32 {
public:
    // Larger bitmaps are refused: no skin image or window comes near, and decoders rely on the cap.
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

    TBitmap32() = default;
    // A bitmap of all-zero pixels. A width or height of 0 or less gives the empty bitmap; more than
    // kMaxPixels pixels throws std::length_error.
    TBitmap32(int width, int height);
    TBitmap32(const TBitmap32& other);
    TBitmap32& operator=(const TBitmap32& other);
    TBitmap32(TBitmap32&& other) noexcept;
    TBitmap32& operator=(TBitmap32&& other) noexcept;
    ~TBitmap32() = default;

    // Wraps pixel memory that something else owns (on Windows, the bits of a DIB section). keeper is
    // held until the bitmap is resized or destroyed, so it can own that memory. strideBytes must be
    // a multiple of 4 and at least width * 4; anything inconsistent gives the empty bitmap.
    static TBitmap32 Attach(int width, int height, int strideBytes, TPixel* bits, std::shared_ptr<void> keeper);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Bytes from the start of one row to the start of the next.
    int Stride() const { return stride_; }
    bool Empty() const { return width_ == 0; }
    TRect BoundsRect() const { return TRect{0, 0, width_, height_}; }

    // Row y, top row 0; y must lie in [0, Height()).
    TPixel* ScanLine(int y) {
        return reinterpret_cast<TPixel*>(reinterpret_cast<std::uint8_t*>(bits_) + std::ptrdiff_t(y) * stride_);
    }
    const TPixel* ScanLine(int y) const {
        return reinterpret_cast<const TPixel*>(reinterpret_cast<const std::uint8_t*>(bits_) +
                                               std::ptrdiff_t(y) * stride_);
    }

    // Bounds-checked access: reading outside gives 0, writing outside does nothing.
    TPixel Pixel(int x, int y) const;
    void SetPixel(int x, int y, TPixel p);

    // Gives the bitmap a new size with all-zero pixels (the old content is dropped), like the
    // framework bitmap's width and height setters. Same limits as the constructor.
    void SetSize(int width, int height);
    void Fill(TPixel p);
    // Fills the part of r that lies inside the bitmap.
    void FillRect(const TRect& r, TPixel p);

    // Same size and same pixels, alpha included.
    bool operator==(const TBitmap32& o) const;
    bool operator!=(const TBitmap32& o) const { return !(*this == o); }

private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    TPixel* bits_ = nullptr;
    std::vector<TPixel> own_;      // the pixels, unless they are attached memory
    std::shared_ptr<void> keeper_; // keeps attached memory alive
};

// Copies src's rectangle sr into dst's rectangle dr, scaling nearest-neighbour (rows and columns
// are repeated or dropped, never blended). Nothing is drawn when either rectangle covers no pixel.
// Destination pixels outside dst are clipped; those whose source pixel lies outside src are left
// unchanged. src and dst may be the same bitmap. Rectangles outside InCoordRange draw nothing.
void StretchCopy(TBitmap32& dst, const TRect& dr, const TBitmap32& src, const TRect& sr);
// The same, but destination pixels whose source pixel has the key colour are left unchanged.
void StretchCopyKeyed(TBitmap32& dst, const TRect& dr, const TBitmap32& src, const TRect& sr, TColor key);

// Unscaled copy of all of src with its top-left corner at (x, y), clipped to dst.
void DrawBitmap(TBitmap32& dst, int x, int y, const TBitmap32& src);
// The same, leaving out pixels of the key colour.
void DrawBitmapKeyed(TBitmap32& dst, int x, int y, const TBitmap32& src, TColor key);
