// The PNG encoder's output read back by ImageMagick, an independent decoder.
#include "skin/data/PngWrite.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return out;
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, pipe.get()))
        out.append(buf, n);
    return out;
}

TEST(PngWrite, DecodesToTheSamePixels) {
    if (Shell("command -v convert").empty()) GTEST_SKIP() << "ImageMagick is not installed";
    // Wide enough for two stored blocks.
    TBitmap32 b(12000, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, PixelRGB(std::uint8_t(x), std::uint8_t(y * 100), 7));
    const std::vector<std::uint8_t> png = WritePng(b);
    const std::string path = testing::TempDir() + "pngwrite_test.png";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    EXPECT_EQ(Shell("convert " + path + " -format '%w %h' info:"), "12000 3");
    EXPECT_EQ(Shell("convert " + path +
                    " -crop 1x1+300+1 -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:"),
              "44 100 7");
    EXPECT_TRUE(WritePng(TBitmap32()).empty());
}

} // namespace
