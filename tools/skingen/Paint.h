// Drawing helpers for the skin generator: fills, gradients, outlines, rounded boxes, small glyphs
// and frame strips, all on TBitmap32. Pixels that must stay transparent get the skin key colour.
#pragma once

#include "skin/data/Bitmap.h"

#include <vector>

// The key colour as a pixel: skin images leave these pixels out when drawn.
constexpr TPixel kKey = PixelRGB(255, 0, 255);

// A colour written as 0xRRGGBB, the way designers write them.
constexpr TPixel Hex(unsigned rgb) {
    return PixelRGB(std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb));
}
// Linear mix: t = 0 gives a, t = 1 gives b.
TPixel Mix(TPixel a, TPixel b, double t);

// A bitmap of the given size filled with one pixel value (the key colour by default).
TBitmap32 Canvas(int width, int height, TPixel fill = kKey);

void HLine(TBitmap32& b, int x0, int x1, int y, TPixel p); // columns [x0, x1)
void VLine(TBitmap32& b, int x, int y0, int y1, TPixel p); // rows [y0, y1)
void Outline(TBitmap32& b, const TRect& r, TPixel p);
// Top row `top`, bottom row `bottom`, every row between them mixed.
void VGradient(TBitmap32& b, const TRect& r, TPixel top, TPixel bottom);
void HGradient(TBitmap32& b, const TRect& r, TPixel left, TPixel right);

enum Corner : unsigned { kTopLeft = 1, kTopRight = 2, kBottomLeft = 4, kBottomRight = 8, kAllCorners = 15 };

// A box with rounded corners: pixels outside the rounded outline become the key colour, a 1-pixel
// border (when border is not kKey) follows the outline, and the inside gets a vertical gradient.
// radius 0 gives a plain box.
struct BoxStyle {
    TPixel border = kKey;
    TPixel top = kKey;
    TPixel bottom = kKey;
    int radius = 0;
    unsigned corners = kAllCorners;
};
void Box(TBitmap32& b, const TRect& r, const BoxStyle& style);
// Turns every pixel of r outside the rounded corners into the key colour, leaving the rest.
void CutCorners(TBitmap32& b, const TRect& r, int radius, unsigned corners);

// A filled disc (pixel centres within radius of the centre).
void Disc(TBitmap32& b, double cx, double cy, double radius, TPixel p);
// A ring of the given width along the inside of a circle.
void Ring(TBitmap32& b, double cx, double cy, double radius, double width, TPixel p);
// A line of the given thickness between two points (pixel centres within thickness / 2).
void Line(TBitmap32& b, double x0, double y0, double x1, double y1, double thickness, TPixel p);

enum class Dir { Up, Down, Left, Right };
// A solid arrow head pointing dir, `depth` pixels deep (its base is 2 * depth - 1 wide), centred
// on (cx, cy).
void Arrow(TBitmap32& b, int cx, int cy, int depth, Dir dir, TPixel p);

// Frames of equal size side by side (vertical = false) or stacked (vertical = true).
TBitmap32 Strip(const std::vector<TBitmap32>& frames, bool vertical = false);
// Columns (or rows) [from, from + count) of src as a new bitmap.
TBitmap32 Columns(const TBitmap32& src, int from, int count);
TBitmap32 Rows(const TBitmap32& src, int from, int count);
