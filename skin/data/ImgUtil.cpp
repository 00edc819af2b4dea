#include "skin/data/ImgUtil.h"

#include <algorithm>
#include <utility>

void ConvertBitmapToGrayscale(TBitmap32& bmp) {
    for (int y = 0; y < bmp.Height(); ++y) {
        TPixel* row = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x) {
            const TPixel p = row[x];
            const auto g = std::uint8_t((unsigned(PixelB(p)) + PixelG(p) + PixelR(p)) / 3);
            row[x] = PixelRGB(g, g, g, std::uint8_t(p >> 24));
        }
    }
}

void SpiegelnHorizontal(TBitmap32& bmp) {
    for (int y = 0; y < bmp.Height(); ++y) {
        TPixel* row = bmp.ScanLine(y);
        std::reverse(row, row + bmp.Width());
    }
}

void SpiegelnVertikal(TBitmap32& bmp) {
    for (int top = 0, bottom = bmp.Height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bmp.ScanLine(top), bmp.ScanLine(top) + bmp.Width(), bmp.ScanLine(bottom));
}

void Drehen180Grad(TBitmap32& bmp) {
    SpiegelnVertikal(bmp);
    SpiegelnHorizontal(bmp);
}

namespace {

// The quarter turn of src: counter-clockwise maps (x, y) to (y, w - 1 - x), clockwise to (h - 1 - y, x).
TBitmap32 QuarterTurn(const TBitmap32& src, bool clockwise) {
    const int w = src.Width(), h = src.Height();
    TBitmap32 out(h, w);
    for (int y = 0; y < h; ++y) {
        const TPixel* row = src.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (clockwise)
                out.ScanLine(x)[h - 1 - y] = row[x];
            else
                out.ScanLine(w - 1 - x)[y] = row[x];
        }
    }
    return out;
}

} // namespace

void Drehen90Grad(TBitmap32& bmp) {
    bmp = QuarterTurn(bmp, true);
}

void Drehen270Grad(TBitmap32& bmp) {
    bmp = QuarterTurn(bmp, false);
}

TBitmap32 Rotate90(const TBitmap32& src) {
    return QuarterTurn(src, false);
}
