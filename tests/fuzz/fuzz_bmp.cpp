// Feeds arbitrary bytes to the BMP reader. Whatever it accepts must survive a 24-bit round trip
// with the same size and colours.
#include "skin/data/BmpCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBitmap32 bmp = ReadBmp(data, size);
    if (bmp.Empty()) return 0;
    if (bmp.Width() <= 0 || bmp.Height() <= 0) std::abort();
    std::vector<std::uint8_t> file = WriteBmp24(bmp);
    TBitmap32 back = ReadBmp(file.data(), file.size());
    if (back.Width() != bmp.Width() || back.Height() != bmp.Height()) std::abort();
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if ((bmp.Pixel(x, y) & 0xFFFFFF) != (back.Pixel(x, y) & 0xFFFFFF)) std::abort();
    return 0;
}
