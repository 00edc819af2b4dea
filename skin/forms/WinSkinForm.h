// Drawing primitives of the skin engine, as raster operations on our bitmaps: they cut skin images
// into frames and pieces (frame strips, nine-slice, three-slice, tiles), put them on a target
// bitmap with nearest-neighbour scaling and optional key-colour transparency, and turn an image
// into a region given as a list of rectangles.
//
// Every function is stateless: scratch bitmaps live only for the call. Nothing is drawn from an
// empty image. Functions that need a scratch bitmap of the destination's size throw
// std::length_error when it would exceed TBitmap32::kMaxPixels, as a failed bitmap creation would;
// painters catch and drop such faults.
//
// Windows side: a target bitmap can be attached to a DIB section's memory (TBitmap32::Attach), so
// what is drawn here reaches a window DC in one blit. DrawBorder paints a window DC straight and
// must leave the client area alone: the Windows side blits the pieces of BorderPieces itself.
// BitmapToRegion's rectangles become a region there.
#pragma once

#include "skin/data/Bitmap.h"

#include <cstdint>
#include <vector>

inline int Max(int a, int b) {
    return a > b ? a : b;
}
inline int Min(int a, int b) {
    return a < b ? a : b;
}

// Frame `frame` (counted from 1) of a strip of `frameCount` equal frames laid side by side, or
// stacked when `vertical`. The frame index is clamped to [1, frameCount] and a count below 1 reads
// as 1. Frames are width div count wide (height div count high when vertical); the columns or rows
// left over at the right or bottom are never used. Empty when the image is.
TRect FrameRect(const TBitmap32& image, int frame, int frameCount, bool vertical);

// One piece of a sliced drawing: Source in the skin image, Dest in the target. A tiled piece
// repeats Source from Dest's top-left corner, the last row and column of tiles unclipped.
struct TPiece {
    TRect Source;
    TRect Dest;
    bool Tiled = false;
};

// The pieces of a nine-slice drawing of `frame` (a rectangle of the image) into a destination of
// dw x dh at (0, 0), in drawing order: top-left, bottom-left, top-right corners, left edge, top
// edge, middle (when withMiddle), bottom-right corner, right edge, bottom edge. Corners keep
// their size; edges are stretched along their length and the middle is stretched, or tiled when
// tileMiddle. Margins (Left, Top, Right, Bottom widths, negative read as 0) wider than the
// destination are dropped on that axis: with dw < Left + Right both become 0, with dh < Top +
// Bottom likewise. Pieces whose source or destination covers no pixel are left out.
std::vector<TPiece> NineSlicePieces(int dw, int dh, const TRect& frame, const TRect& margins, bool withMiddle,
                                    bool tileMiddle);

// The pieces DrawBorder paints: the eight outer pieces of the nine-slice of frame `frame` of
// `frameCount`, offset to the destination rectangle. Empty for an inverted destination.
std::vector<TPiece> BorderPieces(const TRect& dest, const TBitmap32& image, const TRect& margins, int frame,
                                 int frameCount, bool vertical);

// A new bitmap of dest's size (only the size of dest is used) with the nine-slice rendering of one
// frame of the image. Pixels no piece covers are 0. Empty for an empty or inverted dest.
TBitmap32 GetHMap(const TRect& dest, const TBitmap32& image, const TRect& margins, int frame, int frameCount, bool tile,
                  bool vertical);

// Draws GetHMap's rendering at dest, leaving out magenta pixels when `transparent`. Nothing for an
// inverted dest.
void DrawRect2(TBitmap32& target, const TRect& dest, const TBitmap32& image, const TRect& margins, int frame,
               int frameCount, bool transparent, bool tile, bool vertical);

// Draws the eight outer pieces (no middle) of the nine-slice straight onto the target, so what
// lies under the middle is left alone.
void DrawBorder(TBitmap32& target, const TRect& dest, const TBitmap32& image, const TRect& margins, int frame,
                int frameCount, bool vertical);

// A horizontal three-slice band: the left and right pieces (margins Left and Right; Top and Bottom
// are ignored) stretched to dest's height, the middle tiled across between them at its own width.
// The last tile may run under the right piece, which is drawn after it. No middle when the frame
// has no room for one.
void DrawRectTile(TBitmap32& target, const TRect& dest, const TBitmap32& image, const TRect& margins, int frame,
                  int frameCount, bool transparent, bool vertical);

// One frame of a horizontal strip stretched over dest.
void DrawRect1(TBitmap32& target, const TRect& dest, const TBitmap32& image, int frame, int frameCount,
               bool transparent);

// One frame of a horizontal strip at its own size, centred on dest (halves truncated toward zero,
// so a frame larger than dest overhangs it on both sides).
void DrawRect3(TBitmap32& target, const TRect& dest, const TBitmap32& image, int frame, int frameCount,
               bool transparent);

// A new bitmap of dest's size with a vertical three-slice of one frame of a horizontal strip: the
// frame's top rows (margin Top) and bottom rows (margin Bottom) at their own height, the rows
// between stretched, all of them stretched across the whole width. With `skip` the bitmap is
// returned undrawn (all 0).
TBitmap32 GetThumbMap(const TRect& dest, const TBitmap32& image, const TRect& margins, int frame, int frameCount,
                      bool skip);

// Copies the top-left part of source of dest's size to dest, unscaled, leaving out pixels of the
// key colour.
void DrawTranmap(TBitmap32& target, const TRect& dest, const TBitmap32& source, TColor key);

// Tiles srcRect of the image over dest from its top-left corner; the last row and column of tiles
// are not clipped to dest (only to the target). Nothing for an empty or inverted srcRect.
void DrawBGbmp(TBitmap32& target, const TRect& dest, const TBitmap32& image, const TRect& srcRect);

// Plain copy of the top-left part of source of dest's size to dest. (Our bitmaps carry no palette;
// realising one is the Windows side's concern.)
void Bitmapdraw(TBitmap32& target, const TRect& dest, const TBitmap32& source);

// The region of every pixel that does not match the key colour, as one rectangle per maximal run
// of such pixels in each row (rows top first, runs left to right, never merged across rows), each
// shifted by (xOffset, yOffset). A pixel matches when each of its red, green and blue lies between
// the key's component and that component plus its tolerance (capped at 255), both inclusive.
std::vector<TRect> BitmapToRegion(const TBitmap32& source, int xOffset, int yOffset, TColor key,
                                  std::uint8_t redTolerance, std::uint8_t greenTolerance, std::uint8_t blueTolerance);
