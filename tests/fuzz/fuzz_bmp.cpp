// Feeds arbitrary bytes to the BMP reader. Whatever it accepts must survive a 24-bit round trip
// with the same size and colours. The decoded image then goes through the drawing primitives and
// transforms, with sizes, margins, frames and offsets taken from the input's last bytes (the
// reader ignores bytes after the pixels), so that hostile skin values meet hostile images.
#include "skin/data/BmpCodec.h"
#include "skin/data/ImgUtil.h"
#include "skin/forms/WinSkinForm.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

void RoundTrip(const TBitmap32& bmp) {
    std::vector<std::uint8_t> file = WriteBmp24(bmp);
    TBitmap32 back = ReadBmp(file.data(), file.size());
    if (back.Width() != bmp.Width() || back.Height() != bmp.Height()) std::abort();
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if ((bmp.Pixel(x, y) & 0xFFFFFF) != (back.Pixel(x, y) & 0xFFFFFF)) std::abort();
}

// A margin or offset from one byte: small values either way, or now and then an extreme one.
int Value(std::uint8_t b) {
    switch (b) {
    case 0x80:
        return INT_MIN;
    case 0x7F:
        return INT_MAX;
    default:
        return std::int8_t(b);
    }
}

void Draw(const TBitmap32& img, const std::uint8_t* p) {
    const TRect dest = Bounds(Value(p[0]) / 4, Value(p[1]) / 4, p[2] % 70, p[3] % 70);
    const TRect margins = Rect(Value(p[4]), Value(p[5]), Value(p[6]), Value(p[7]));
    const int frame = Value(p[8]), count = Value(p[9]);
    const bool a = p[10] & 1, b = p[10] & 2, c = p[10] & 4;

    TBitmap32 target(48, 40);
    TBitmap32 map = GetHMap(dest, img, margins, frame, count, a, b);
    const bool sized = dest.Width() > 0 && dest.Height() > 0; // otherwise the empty bitmap
    if (map.Width() != (sized ? dest.Width() : 0) || map.Height() != (sized ? dest.Height() : 0)) std::abort();
    if (GetThumbMap(dest, img, margins, frame, count, c) != TBitmap32(map.Width(), map.Height()) && c) std::abort();
    DrawRect2(target, dest, img, margins, frame, count, a, b, c);
    DrawBorder(target, dest, img, margins, frame, count, b);
    DrawRectTile(target, dest, img, margins, frame, count, a, b);
    DrawRect1(target, dest, img, frame, count, c);
    DrawRect3(target, dest, img, frame, count, a);
    DrawTranmap(target, dest, img, clSkinKey);
    Bitmapdraw(target, dest, img);
    DrawBGbmp(target, dest, img, Rect(Value(p[4]), Value(p[5]), Value(p[6]), Value(p[7])));

    const std::vector<TRect> region =
        BitmapToRegion(img, Value(p[0]), Value(p[1]), RGBColor(p[11], p[12], p[13]), p[14], p[15], p[11]);
    if (std::int64_t(region.size()) > std::int64_t(img.Width()) * img.Height()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBitmap32 bmp = ReadBmp(data, size);
    if (bmp.Empty()) return 0;
    if (bmp.Width() <= 0 || bmp.Height() <= 0) std::abort();
    RoundTrip(bmp);
    if (size >= 16 && std::int64_t(bmp.Width()) * bmp.Height() <= 65536) {
        Draw(bmp, data + size - 16);
        TBitmap32 turned = bmp;
        Drehen90Grad(turned);
        SpiegelnVertikal(turned);
        Drehen270Grad(turned);
        SpiegelnVertikal(turned);
        SpiegelnHorizontal(turned);
        Drehen180Grad(turned);
        SpiegelnHorizontal(turned);
        ConvertBitmapToGrayscale(turned);
        if (turned.Width() != bmp.Width() || turned.Height() != bmp.Height()) std::abort();
    }
    return 0;
}
