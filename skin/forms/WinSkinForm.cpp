#include "skin/forms/WinSkinForm.h"

#include <algorithm>
#include <cstring>

namespace {

// Margins as the slicing uses them: negative widths read as 0, and anything past the coordinate
// limit is cut there, so that sums of two margins cannot overflow.
int Margin(int m) {
    return std::clamp(m, 0, kCoordLimit);
}

// A scratch bitmap of dest's size, where only the size of dest matters. Empty for an inverted dest;
// a size past the coordinate limit is refused as well (the bitmap could not be made anyway).
TBitmap32 ScratchFor(const TRect& dest) {
    const std::int64_t w = std::int64_t(dest.Right) - dest.Left, h = std::int64_t(dest.Bottom) - dest.Top;
    if (w < 0 || h < 0 || w > kCoordLimit || h > kCoordLimit) return {};
    return TBitmap32(int(w), int(h));
}

void DrawScratch(TBitmap32& target, int x, int y, const TBitmap32& scratch, bool transparent) {
    if (transparent)
        DrawBitmapKeyed(target, x, y, scratch, clSkinKey);
    else
        DrawBitmap(target, x, y, scratch);
}

void PaintPiece(TBitmap32& target, const TPiece& p, const TBitmap32& image) {
    if (p.Tiled)
        DrawBGbmp(target, p.Dest, image, p.Source);
    else
        StretchCopy(target, p.Dest, image, p.Source);
}

} // namespace

TRect FrameRect(const TBitmap32& image, int frame, int frameCount, bool vertical) {
    if (image.Empty()) return {};
    const int n = Max(frameCount, 1);
    const int i = std::clamp(frame, 1, n);
    if (vertical) {
        const int fh = image.Height() / n;
        return Bounds(0, (i - 1) * fh, image.Width(), fh);
    }
    const int fw = image.Width() / n;
    return Bounds((i - 1) * fw, 0, fw, image.Height());
}

std::vector<TPiece> NineSlicePieces(int dw, int dh, const TRect& frame, const TRect& margins, bool withMiddle,
                                    bool tileMiddle) {
    std::vector<TPiece> pieces;
    if (dw <= 0 || dh <= 0 || dw > kCoordLimit || dh > kCoordLimit || frame.IsEmpty() || !InCoordRange(frame))
        return pieces;
    int L = Margin(margins.Left), T = Margin(margins.Top), R = Margin(margins.Right), B = Margin(margins.Bottom);
    // Margins that do not fit are dropped on their axis: the frame is then stretched edge to edge.
    if (dw < L + R) L = R = 0;
    if (dh < T + B) T = B = 0;
    const int FW = frame.Width(), FH = frame.Height(), X0 = frame.Left, Y0 = frame.Top;

    auto add = [&](bool when, TRect dst, int sl, int st, int sr, int sb, bool tiled = false) {
        TRect src{X0 + sl, Y0 + st, X0 + sr, Y0 + sb};
        if (when && !dst.IsEmpty() && !src.IsEmpty()) pieces.push_back(TPiece{src, dst, tiled});
    };
    // This order matters for tiling: the last pieces paint over tiles that run past the middle.
    add(L > 0 && T > 0, Rect(0, 0, L, T), 0, 0, L, T);
    add(L > 0 && B > 0, Rect(0, dh - B, L, dh), 0, FH - B, L, FH);
    add(R > 0 && T > 0, Rect(dw - R, 0, dw, T), FW - R, 0, FW, T);
    add(L > 0, Rect(0, T, L, dh - B), 0, T, L, FH - B);
    add(T > 0, Rect(L, 0, dw - R, T), L, 0, FW - R, T);
    add(withMiddle, Rect(L, T, dw - R, dh - B), L, T, FW - R, FH - B, tileMiddle);
    add(R > 0 && B > 0, Rect(dw - R, dh - B, dw, dh), FW - R, FH - B, FW, FH);
    add(R > 0, Rect(dw - R, T, dw, dh - B), FW - R, T, FW, FH - B);
    add(B > 0, Rect(L, dh - B, dw - R, dh), L, FH - B, FW - R, FH);
    return pieces;
}

std::vector<TPiece> BorderPieces(const TRect& dest, const TBitmap32& image, const TRect& margins, int frame,
                                 int frameCount, bool vertical) {
    if (dest.IsInverted() || !InCoordRange(dest)) return {};
    std::vector<TPiece> pieces = NineSlicePieces(dest.Width(), dest.Height(),
                                                 FrameRect(image, frame, frameCount, vertical), margins, false, false);
    for (TPiece& p : pieces)
        p.Dest = p.Dest.Offset(dest.Left, dest.Top);
    return pieces;
}

TBitmap32 GetHMap(const TRect& dest, const TBitmap32& image, const TRect& margins, int frame, int frameCount, bool tile,
                  bool vertical) {
    TBitmap32 out = ScratchFor(dest);
    const TRect fr = FrameRect(image, frame, frameCount, vertical);
    for (const TPiece& p : NineSlicePieces(out.Width(), out.Height(), fr, margins, true, tile))
        PaintPiece(out, p, image);
    return out;
}

void DrawRect2(TBitmap32& target, const TRect& dest, const TBitmap32& image, const TRect& margins, int frame,
               int frameCount, bool transparent, bool tile, bool vertical) {
    if (dest.IsInverted() || !InCoordRange(dest) || image.Empty()) return;
    const TBitmap32 map = GetHMap(dest, image, margins, frame, frameCount, tile, vertical);
    DrawScratch(target, dest.Left, dest.Top, map, transparent);
}

void DrawBorder(TBitmap32& target, const TRect& dest, const TBitmap32& image, const TRect& margins, int frame,
                int frameCount, bool vertical) {
    for (const TPiece& p : BorderPieces(dest, image, margins, frame, frameCount, vertical))
        StretchCopy(target, p.Dest, image, p.Source);
}

void DrawRectTile(TBitmap32& target, const TRect& dest, const TBitmap32& image, const TRect& margins, int frame,
                  int frameCount, bool transparent, bool vertical) {
    if (dest.IsInverted() || !InCoordRange(dest)) return;
    const TRect fr = FrameRect(image, frame, frameCount, vertical);
    if (fr.IsEmpty()) return;
    TBitmap32 band(dest.Width(), dest.Height());
    if (band.Empty()) return;
    const int DW = band.Width(), DH = band.Height();
    const int X0 = fr.Left, Y0 = fr.Top, FW = fr.Width(), FH = fr.Height();
    const int L = Margin(margins.Left), R = Margin(margins.Right);

    StretchCopy(band, Rect(0, 0, L, DH), image, Rect(X0, Y0, X0 + L, Y0 + FH));
    // The middle keeps its width and is stretched only to the band's height; without room for it
    // in the frame (M <= 0) there is nothing to tile.
    const int M = FW - L - R;
    if (M > 0) {
        for (int x = L; x < DW - R; x += M)
            StretchCopy(band, Rect(x, 0, x + M, DH), image, Rect(X0 + L, Y0, X0 + L + M, Y0 + FH));
    }
    StretchCopy(band, Rect(DW - R, 0, DW, DH), image, Rect(X0 + FW - R, Y0, X0 + FW, Y0 + FH));
    DrawScratch(target, dest.Left, dest.Top, band, transparent);
}

void DrawRect1(TBitmap32& target, const TRect& dest, const TBitmap32& image, int frame, int frameCount,
               bool transparent) {
    if (dest.IsInverted()) return;
    const TRect fr = FrameRect(image, frame, frameCount, false);
    // One piece scaled to the destination: drawing it straight is the same as going through a scratch bitmap.
    if (transparent)
        StretchCopyKeyed(target, dest, image, fr, clSkinKey);
    else
        StretchCopy(target, dest, image, fr);
}

void DrawRect3(TBitmap32& target, const TRect& dest, const TBitmap32& image, int frame, int frameCount,
               bool transparent) {
    if (dest.IsInverted() || !InCoordRange(dest)) return;
    const TRect fr = FrameRect(image, frame, frameCount, false);
    if (fr.IsEmpty()) return;
    const int x = dest.Left + (dest.Width() - fr.Width()) / 2;
    const int y = dest.Top + (dest.Height() - fr.Height()) / 2;
    const TRect at = Bounds(x, y, fr.Width(), fr.Height());
    if (transparent)
        StretchCopyKeyed(target, at, image, fr, clSkinKey);
    else
        StretchCopy(target, at, image, fr);
}

TBitmap32 GetThumbMap(const TRect& dest, const TBitmap32& image, const TRect& margins, int frame, int frameCount,
                      bool skip) {
    TBitmap32 out = ScratchFor(dest);
    if (skip || out.Empty()) return out;
    const TRect fr = FrameRect(image, frame, frameCount, false);
    if (fr.IsEmpty()) return out;
    const int DW = out.Width(), DH = out.Height();
    const int X0 = fr.Left, Y0 = fr.Top, FW = fr.Width(), FH = fr.Height();
    const int T = Margin(margins.Top), B = Margin(margins.Bottom);
    if (T > 0) StretchCopy(out, Rect(0, 0, DW, T), image, Rect(X0, Y0, X0 + FW, Y0 + T));
    StretchCopy(out, Rect(0, T, DW, DH - B), image, Rect(X0, Y0 + T, X0 + FW, Y0 + FH - B));
    if (B > 0) StretchCopy(out, Rect(0, DH - B, DW, DH), image, Rect(X0, Y0 + FH - B, X0 + FW, Y0 + FH));
    return out;
}

void DrawTranmap(TBitmap32& target, const TRect& dest, const TBitmap32& source, TColor key) {
    if (dest.IsInverted() || !InCoordRange(dest)) return;
    StretchCopyKeyed(target, dest, source, Rect(0, 0, dest.Width(), dest.Height()), key);
}

void DrawBGbmp(TBitmap32& target, const TRect& dest, const TBitmap32& image, const TRect& srcRect) {
    if (srcRect.IsEmpty() || !InCoordRange(srcRect) || !InCoordRange(dest) || target.Empty()) return;
    if (std::int64_t(srcRect.Width()) * srcRect.Height() > TBitmap32::kMaxPixels) return;
    TBitmap32 tile(srcRect.Width(), srcRect.Height());
    StretchCopy(tile, tile.BoundsRect(), image, srcRect);
    const int SW = tile.Width(), SH = tile.Height();
    if (dest.IsEmpty()) return;
    // Whole tiles from the top-left corner until one starts at or past the right (bottom) edge.
    const std::int64_t cols = (std::int64_t(dest.Width()) + SW - 1) / SW;
    const std::int64_t rows = (std::int64_t(dest.Height()) + SH - 1) / SH;
    const int x0 = Max(dest.Left, 0), y0 = Max(dest.Top, 0);
    const int x1 = int(std::min<std::int64_t>(dest.Left + cols * SW, target.Width()));
    const int y1 = int(std::min<std::int64_t>(dest.Top + rows * SH, target.Height()));
    for (int y = y0; y < y1; ++y) {
        const TPixel* srow = tile.ScanLine((y - dest.Top) % SH);
        TPixel* drow = target.ScanLine(y);
        int sx = (x0 - dest.Left) % SW;
        for (int x = x0; x < x1;) {
            const int n = Min(SW - sx, x1 - x);
            std::memcpy(drow + x, srow + sx, size_t(n) * sizeof(TPixel));
            x += n;
            sx = 0;
        }
    }
}

void Bitmapdraw(TBitmap32& target, const TRect& dest, const TBitmap32& source) {
    if (dest.IsInverted() || !InCoordRange(dest)) return;
    StretchCopy(target, dest, source, Rect(0, 0, dest.Width(), dest.Height()));
}

std::vector<TRect> BitmapToRegion(const TBitmap32& source, int xOffset, int yOffset, TColor key,
                                  std::uint8_t redTolerance, std::uint8_t greenTolerance, std::uint8_t blueTolerance) {
    std::vector<TRect> rects;
    if (xOffset < -kCoordLimit || xOffset > kCoordLimit || yOffset < -kCoordLimit || yOffset > kCoordLimit)
        return rects;
    const int r0 = GetRValue(key), g0 = GetGValue(key), b0 = GetBValue(key);
    const int r1 = Min(255, r0 + redTolerance), g1 = Min(255, g0 + greenTolerance), b1 = Min(255, b0 + blueTolerance);
    // c0 <= c <= c1 as one unsigned comparison per channel (c - c0 wraps round when c < c0).
    const unsigned dr = unsigned(r1 - r0), dg = unsigned(g1 - g0), db = unsigned(b1 - b0);
    auto transparent = [=](TPixel p) {
        return (unsigned(PixelR(p) - r0) <= dr) & (unsigned(PixelG(p) - g0) <= dg) & (unsigned(PixelB(p) - b0) <= db);
    };
    const int w = source.Width();
    for (int y = 0; y < source.Height(); ++y) {
        const TPixel* row = source.ScanLine(y);
        int x = 0;
        while (x < w) {
            while (x < w && transparent(row[x]))
                ++x;
            const int start = x;
            while (x < w && !transparent(row[x]))
                ++x;
            if (x > start) rects.push_back(Rect(start + xOffset, y + yOffset, x + xOffset, y + yOffset + 1));
        }
    }
    return rects;
}
