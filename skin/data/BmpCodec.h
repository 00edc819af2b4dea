// Windows BMP files: the reader used for skin images, and a 24-bit writer.
#pragma once

#include "skin/data/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Decodes a complete BMP file (starting with "BM"). Reads 1, 4, 8, 16, 24 and 32 bits per pixel,
// bottom-up and top-down rows, BI_RGB and BI_BITFIELDS, with the core (12-byte) header or any
// info header from 40 bytes up. Palette indexes past the palette read as black; alpha comes from
// a bit-field alpha mask when there is one, else it is 255.
// Anything else, and any file whose headers do not match its data (sizes, offsets, a file too short
// for its rows, more than TBitmap32::kMaxPixels pixels), gives the empty bitmap. Never throws for
// bad data, reads nothing outside [data, data + size) and allocates only for pixels the data holds.
TBitmap32 ReadBmp(const std::uint8_t* data, std::size_t size);
TBitmap32 ReadBmp(const std::string& bytes);

// Encodes the bitmap as a 24-bit bottom-up BI_RGB BMP file (alpha is dropped). The empty bitmap
// gives a valid file of size 0 x 0, which ReadBmp reads back as empty.
std::vector<std::uint8_t> WriteBmp24(const TBitmap32& bitmap);
