// A PNG encoder for previews and screenshots: 24-bit RGB, no compression (stored deflate blocks),
// so it is small and needs no library. Files are larger than a compressing encoder's.
#pragma once

#include "skin/data/Bitmap.h"

#include <cstdint>
#include <vector>

// The PNG file of the bitmap's red, green and blue (alpha is dropped). Empty for an empty bitmap.
std::vector<std::uint8_t> WritePng(const TBitmap32& bitmap);
