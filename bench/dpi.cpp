// Figures for the skin at 200 % against 100 %: building the scaled skin (every image of the shipped
// skin scaled part by part) against loading the skin itself, and rendering the four borders of
// Tellit's main window (331 x 216 client) at 192 DPI against 96 DPI.
//   bench_dpi SKIN.skn
#include "bench/BenchFormat.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinScale.h"
#include "skin/data/SkinScaleModel.h"
#include "skin/forms/FrameLayout.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace {

// The median time of one call in ms, over runs of f for about half a second (at least 5 runs).
double MedianMs(const std::function<void()>& f) {
    using clock = std::chrono::steady_clock;
    f(); // warm-up
    std::vector<double> times;
    const auto start = clock::now();
    while (times.size() < 5 || std::chrono::duration<double>(clock::now() - start).count() < 0.5) {
        const auto t0 = clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(clock::now() - t0).count());
    }
    std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
    return times[times.size() / 2];
}

// The four borders of a window whose client area is cw x ch, rendered as the frame paint does.
std::size_t PaintFrame(const TSkinModel& m, int cw, int ch) {
    const TFrameMetrics fm = FrameMetricsOf(m, sbsSingle, 0);
    const int W = cw + fm.Left + fm.Right, H = ch + fm.Caption + fm.Bottom;
    std::size_t pixels = 0;
    pixels += RenderBorder(m, 1, Bounds(0, 0, fm.Left, H), true).Width();
    pixels += RenderBorder(m, 2, Bounds(0, 0, fm.Right, H), true).Width();
    pixels += RenderBorder(m, 3, Bounds(0, 0, W - fm.Left - fm.Right, fm.Caption), true).Width();
    pixels += RenderBorder(m, 4, Bounds(0, 0, W - fm.Left - fm.Right, fm.Bottom), true).Width();
    return pixels;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_dpi SKIN.skn\n");
        return 2;
    }
    TSkinDataCore skin;
    if (!skin.LoadFromFile(argv[1])) {
        std::fprintf(stderr, "bench_dpi: cannot load %s\n", argv[1]);
        return 1;
    }
    BenchSection("The skin at 200 % against 100 %");
    const double load = MedianMs([&] {
        TSkinDataCore s;
        s.LoadFromFile(argv[1]);
    });
    const double build144 = MedianMs([&] { ScaledSkinModel(skin, 144); });
    const double build192 = MedianMs([&] { ScaledSkinModel(skin, 192); });
    BenchDetail("loading the skin at 96 DPI: " + FormatNumber(load, 3) + " ms; scaled copy at 144 DPI: " +
                FormatNumber(build144, 3) + " ms, at 192 DPI: " + FormatNumber(build192, 3) + " ms");
    BenchFigure("scaled skin, 200 %", FormatNumber(build192, 3) + " ms", FormatNumber(load, 3) + " ms (load)",
                build192 / load, "x of load", "<= 2", "made once per DPI, then cached");

    const TSkinModel& at192 = skin.AtDpi(192);
    const double paint96 = MedianMs([&] { PaintFrame(skin, 331, 216); });
    const double paint192 = MedianMs([&] { PaintFrame(at192, 662, 432); });
    const double paint144 = MedianMs([&] { PaintFrame(skin.AtDpi(144), 497, 324); });
    BenchDetail("frame of the main window: " + FormatNumber(paint96, 3) + " ms at 96 DPI, " +
                FormatNumber(paint144, 3) + " ms at 144, " + FormatNumber(paint192, 3) + " ms at 192");
    BenchFigure("frame render, 200 %", FormatNumber(paint192, 3) + " ms", FormatNumber(paint96, 3) + " ms (100 %)",
                paint192 / paint96, "x of 100%", "<= 4", "4x the pixels; borders only");
    return 0;
}
