// Small images for tests that build skins: a filled bitmap, and a bitmap as the bytes of a BMP file.
#pragma once

#include "skin/data/Bitmap.h"
#include "skin/data/BmpCodec.h"

#include <string>
#include <vector>

inline TBitmap32 Filled(int w, int h, TPixel p) {
    TBitmap32 b(w, h);
    b.Fill(p);
    return b;
}

inline std::string Bmp(const TBitmap32& b) {
    const std::vector<std::uint8_t> bytes = WriteBmp24(b);
    return std::string(bytes.begin(), bytes.end());
}
