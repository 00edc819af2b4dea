// Figures for the raster work of the skin engine on a 1024 x 768 window: nine-slice rendering
// (stretched and tiled middle, opaque and keyed draw), region building, BMP decoding.
#include "skin/data/BmpCodec.h"
#include "skin/forms/WinSkinForm.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

// Runs f repeatedly for about half a second and prints the mean time per call.
void Measure(const char* what, const std::function<void()>& f, double pixels) {
    using clock = std::chrono::steady_clock;
    f(); // warm-up
    int n = 0;
    const auto start = clock::now();
    double seconds = 0;
    do {
        f();
        ++n;
        seconds = std::chrono::duration<double>(clock::now() - start).count();
    } while (seconds < 0.5);
    const double ms = seconds * 1000 / n;
    std::printf("%-48s %9.3f ms  %8.1f Mpixel/s  (%d runs)\n", what, ms, pixels / (ms * 1000), n);
}

// A three-frame skin strip with a magenta rim, like a frame border image.
TBitmap32 SkinStrip() {
    TBitmap32 b(3 * 96, 64);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const bool rim = (x % 96 < 2 || y < 2) && ((x + y) & 1);
            b.SetPixel(x, y, rim ? PixelFromColor(clSkinKey) : PixelRGB(std::uint8_t(x), std::uint8_t(y * 3), 128));
        }
    return b;
}

// A window-sized image with rounded key-colour corners and a few holes, as a shaped frame gives.
TBitmap32 ShapedWindow() {
    TBitmap32 b(1024, 768);
    b.Fill(PixelRGB(40, 80, 120));
    const TPixel key = PixelFromColor(clSkinKey);
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            const int cx = x < 16 ? 16 - x : (x >= 1008 ? x - 1007 : 0);
            const int cy = y < 16 ? 16 - y : (y >= 752 ? y - 751 : 0);
            if (cx * cx + cy * cy > 256 || (y % 64 == 10 && x % 100 < 3)) b.SetPixel(x, y, key);
        }
    return b;
}

} // namespace

int main() {
    const TBitmap32 strip = SkinStrip();
    const TRect window = Rect(0, 0, 1024, 768);
    const TRect margins = Rect(24, 30, 24, 12);
    const double px = 1024.0 * 768.0;
    TBitmap32 target(1024, 768);

    Measure(
        "GetHMap 1024x768, stretched middle", [&] { GetHMap(window, strip, margins, 2, 3, false, false); }, px);
    Measure(
        "GetHMap 1024x768, tiled middle", [&] { GetHMap(window, strip, margins, 2, 3, true, false); }, px);
    Measure(
        "DrawRect2 1024x768, opaque", [&] { DrawRect2(target, window, strip, margins, 2, 3, false, false, false); },
        px);
    Measure(
        "DrawRect2 1024x768, key colour", [&] { DrawRect2(target, window, strip, margins, 2, 3, true, false, false); },
        px);
    Measure(
        "DrawBorder 1024x768 (no middle)", [&] { DrawBorder(target, window, strip, margins, 2, 3, false); }, px);

    const TBitmap32 shaped = ShapedWindow();
    std::size_t rects = 0;
    Measure(
        "BitmapToRegion 1024x768, shaped", [&] { rects = BitmapToRegion(shaped, 0, 0, clSkinKey, 1, 1, 1).size(); },
        px);
    std::printf("  rectangles: %zu\n", rects);

    const std::vector<std::uint8_t> file = WriteBmp24(shaped);
    Measure(
        "ReadBmp 1024x768, 24 bits", [&] { ReadBmp(file.data(), file.size()); }, px);
    Measure(
        "WriteBmp24 1024x768", [&] { WriteBmp24(shaped); }, px);
    return 0;
}
