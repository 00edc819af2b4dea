#include "skin/data/BmpCodec.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>

namespace {

// Builds BMP files byte by byte, independently of the writer under test.
struct BmpSpec {
    int width = 5;
    int height = 3;
    int bpp = 24;
    bool topDown = false;
    std::uint32_t headerSize = 40; // 12, 40, 108
    std::uint32_t compression = 0; // 0 BI_RGB, 3 BI_BITFIELDS
    std::uint32_t masks[4] = {0, 0, 0, 0};
    std::vector<TColor> palette; // for 1, 4, 8 bits
    std::uint32_t colorsUsed = 0;
    // Raw pixel value at (x, y) of the top-down image: a palette index or the packed bits.
    std::function<std::uint32_t(int, int)> value = [](int x, int y) { return std::uint32_t(x * 40 + y * 7); };
};

void Put(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int bytes) {
    if (b.size() < at + std::size_t(bytes)) b.resize(at + std::size_t(bytes));
    for (int i = 0; i < bytes; ++i)
        b[at + std::size_t(i)] = i < 4 ? std::uint8_t(v >> (8 * i)) : 0;
}

std::vector<std::uint8_t> BuildBmp(const BmpSpec& s) {
    std::vector<std::uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put(b, 2, 0, 12);
    Put(b, 14, s.headerSize, 4);
    if (s.headerSize == 12) {
        Put(b, 18, std::uint32_t(s.width), 2);
        Put(b, 20, std::uint32_t(s.height), 2);
        Put(b, 22, 1, 2);
        Put(b, 24, std::uint32_t(s.bpp), 2);
    } else {
        Put(b, 18, std::uint32_t(s.width), 4);
        Put(b, 22, std::uint32_t(s.topDown ? -s.height : s.height), 4);
        Put(b, 26, 1, 2);
        Put(b, 28, std::uint32_t(s.bpp), 2);
        Put(b, 30, s.compression, 4);
        Put(b, 34, 0, 12);
        Put(b, 46, s.colorsUsed, 4);
        Put(b, 50, 0, 4);
        if (s.headerSize >= 56) {
            for (int i = 0; i < 4; ++i)
                Put(b, 54 + 4 * std::size_t(i), s.masks[i], 4);
        }
        Put(b, 14 + std::size_t(s.headerSize) - 1, 0, 1);
        if (s.compression == 3 && s.headerSize == 40) {
            for (int i = 0; i < 3; ++i)
                Put(b, 54 + 4 * std::size_t(i), s.masks[i], 4);
        }
    }
    for (TColor c : s.palette) {
        b.push_back(GetBValue(c));
        b.push_back(GetGValue(c));
        b.push_back(GetRValue(c));
        if (s.headerSize != 12) b.push_back(0);
    }
    Put(b, 10, std::uint32_t(b.size()), 4);
    const std::size_t rowBytes = (std::size_t(s.width) * std::size_t(s.bpp) + 31) / 32 * 4;
    for (int fileRow = 0; fileRow < s.height; ++fileRow) {
        const int y = s.topDown ? fileRow : s.height - 1 - fileRow;
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (int x = 0; x < s.width; ++x) {
            std::uint32_t v = s.value(x, y);
            switch (s.bpp) {
            case 1:
                row[std::size_t(x / 8)] |= std::uint8_t((v & 1) << (7 - x % 8));
                break;
            case 4:
                row[std::size_t(x / 2)] |= std::uint8_t((v & 15) << (x % 2 ? 0 : 4));
                break;
            default:
                for (int i = 0; i < s.bpp / 8; ++i)
                    row[std::size_t(x * s.bpp / 8 + i)] = std::uint8_t(v >> (8 * i));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    Put(b, 2, std::uint32_t(b.size()), 4);
    return b;
}

std::vector<TColor> Palette(int n) {
    std::vector<TColor> p;
    for (int i = 0; i < n; ++i)
        p.push_back(RGBColor(std::uint8_t(i * 37), std::uint8_t(255 - i), std::uint8_t(i * 5 + 1)));
    return p;
}

// Every sample file the tests build; written out as a fuzzing seed corpus when TELLIT_BMP_CORPUS
// names a folder.
void Keep(const std::string& name, const std::vector<std::uint8_t>& file) {
    const char* dir = std::getenv("TELLIT_BMP_CORPUS");
    if (!dir) return;
    std::ofstream(std::string(dir) + "/" + name + ".bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

TBitmap32 Read(const std::vector<std::uint8_t>& f) {
    return ReadBmp(f.data(), f.size());
}

} // namespace

TEST(BmpRead, PalettedDepthsBothRowOrders) {
    for (int bpp : {1, 4, 8}) {
        for (bool topDown : {false, true}) {
            BmpSpec s;
            s.width = 13; // not a whole number of bytes or words per row
            s.height = 4;
            s.bpp = bpp;
            s.topDown = topDown;
            s.palette = Palette(1 << bpp);
            const std::uint32_t mod = 1u << bpp;
            s.value = [mod](int x, int y) { return std::uint32_t(x * 3 + y * 5) % mod; };
            auto file = BuildBmp(s);
            Keep("pal" + std::to_string(bpp) + (topDown ? "td" : "bu"), file);
            TBitmap32 b = Read(file);
            ASSERT_EQ(b.Width(), 13) << bpp;
            ASSERT_EQ(b.Height(), 4) << bpp;
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 13; ++x)
                    ASSERT_EQ(b.Pixel(x, y), PixelFromColor(s.palette[s.value(x, y)]))
                        << "bpp " << bpp << " topDown " << topDown << " at " << x << "," << y;
        }
    }
}

TEST(BmpRead, DirectDepthsBothRowOrders) {
    for (int bpp : {16, 24, 32}) {
        for (bool topDown : {false, true}) {
            BmpSpec s;
            s.width = 7;
            s.height = 3;
            s.bpp = bpp;
            s.topDown = topDown;
            s.value = [bpp](int x, int y) {
                if (bpp == 16) return std::uint32_t((x << 10) | (y << 5) | (31 - x)); // 5-5-5
                return std::uint32_t((x * 30) << 16 | (y * 80) << 8 | (255 - x));
            };
            auto file = BuildBmp(s);
            Keep("rgb" + std::to_string(bpp) + (topDown ? "td" : "bu"), file);
            TBitmap32 b = Read(file);
            ASSERT_EQ(b.Width(), 7);
            ASSERT_EQ(b.Height(), 3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 7; ++x) {
                    TPixel want = bpp == 16
                                      ? PixelRGB(std::uint8_t((x * 255 + 15) / 31), std::uint8_t((y * 255 + 15) / 31),
                                                 std::uint8_t(((31 - x) * 255 + 15) / 31))
                                      : PixelRGB(std::uint8_t(x * 30), std::uint8_t(y * 80), std::uint8_t(255 - x));
                    ASSERT_EQ(b.Pixel(x, y), want)
                        << "bpp " << bpp << " topDown " << topDown << " at " << x << "," << y;
                }
        }
    }
}

TEST(BmpRead, BitfieldsInBothHeaderKinds) {
    // 16 bits 5-6-5 with the masks after a 40-byte header.
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bpp = 16;
    s.compression = 3;
    s.masks[0] = 0xF800, s.masks[1] = 0x07E0, s.masks[2] = 0x001F;
    s.value = [](int x, int y) {
        return x == 0 ? 0xF800u : x == 1 ? 0x07E0u : std::uint32_t(y == 0 ? 0x001F : 0x0000);
    };
    auto file = BuildBmp(s);
    Keep("bf16", file);
    TBitmap32 b = Read(file);
    ASSERT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Pixel(0, 0), PixelRGB(255, 0, 0));
    EXPECT_EQ(b.Pixel(1, 1), PixelRGB(0, 255, 0));
    EXPECT_EQ(b.Pixel(2, 0), PixelRGB(0, 0, 255));
    EXPECT_EQ(b.Pixel(2, 1), PixelRGB(0, 0, 0));

    // 32 bits in a 108-byte header with an alpha mask and the colours in unusual places.
    BmpSpec t;
    t.width = 2;
    t.height = 2;
    t.bpp = 32;
    t.headerSize = 108;
    t.compression = 3;
    t.masks[0] = 0x000000FF, t.masks[1] = 0x0000FF00, t.masks[2] = 0x00FF0000, t.masks[3] = 0xFF000000;
    t.value = [](int x, int y) {
        return std::uint32_t(0x80000000u | (x ? 0x10u : 0xF0u) | (y ? 0x2000u : 0) | 0x330000u);
    };
    file = BuildBmp(t);
    Keep("bf32v4", file);
    b = Read(file);
    ASSERT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Pixel(0, 0), PixelRGB(0xF0, 0x00, 0x33, 0x80));
    EXPECT_EQ(b.Pixel(1, 1), PixelRGB(0x10, 0x20, 0x33, 0x80));
}

TEST(BmpRead, CoreHeaderAndShortPalette) {
    BmpSpec s;
    s.headerSize = 12;
    s.bpp = 8;
    s.width = 4;
    s.height = 2;
    s.palette = Palette(256);
    s.value = [](int x, int y) { return std::uint32_t(x + 100 * y); };
    auto file = BuildBmp(s);
    Keep("core8", file);
    TBitmap32 b = Read(file);
    ASSERT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Pixel(3, 1), PixelFromColor(s.palette[103]));

    // Two colours declared; indexes past them read as black.
    BmpSpec t;
    t.bpp = 4;
    t.width = 4;
    t.height = 1;
    t.palette = {RGBColor(1, 2, 3), RGBColor(200, 100, 50)};
    t.colorsUsed = 2;
    t.value = [](int x, int) { return std::uint32_t(x * 5); }; // 0, 5, 10, 15
    file = BuildBmp(t);
    Keep("short4", file);
    b = Read(file);
    ASSERT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Pixel(0, 0), PixelRGB(1, 2, 3));
    EXPECT_EQ(b.Pixel(1, 0), PixelRGB(0, 0, 0));
    EXPECT_EQ(b.Pixel(3, 0), PixelRGB(0, 0, 0));
}

TEST(BmpWrite, KnownBytesAndRoundTrips) {
    TBitmap32 two(2, 1);
    two.SetPixel(0, 0, PixelRGB(1, 2, 3));
    two.SetPixel(1, 0, PixelRGB(4, 5, 6));
    auto f = WriteBmp24(two);
    // clang-format off
    const std::vector<std::uint8_t> want = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                      // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0, // info header
        0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           //
        3, 2, 1, 6, 5, 4, 0, 0};                                             // one padded row
    // clang-format on
    EXPECT_EQ(f, want);

    std::mt19937 rng(20261207);
    for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {4, 4}, {17, 5}}) {
        TBitmap32 src(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                src.SetPixel(x, y, rng() | 0xFF000000u);
        auto file = WriteBmp24(src);
        Keep("w" + std::to_string(w) + "x" + std::to_string(h), file);
        EXPECT_EQ(Read(file), src) << w << "x" << h;
    }
    EXPECT_TRUE(Read(WriteBmp24(TBitmap32())).Empty());
}

TEST(BmpRead, HeadersThatDoNotMatchTheDataAreRefused) {
    BmpSpec s;
    s.bpp = 8;
    s.palette = Palette(256);
    const auto good = BuildBmp(s);
    ASSERT_FALSE(Read(good).Empty());

    auto edit = [&](std::size_t at, std::uint32_t v, int bytes) {
        auto f = good;
        Put(f, at, v, bytes);
        return Read(f).Empty();
    };
    EXPECT_TRUE(edit(0, 'X', 1)) << "signature";
    EXPECT_TRUE(edit(10, 20, 4)) << "pixel offset inside the header";
    EXPECT_TRUE(edit(10, std::uint32_t(good.size()), 4)) << "pixel offset at the end";
    EXPECT_TRUE(edit(14, 30, 4)) << "unknown header size";
    EXPECT_TRUE(edit(14, 0xFFFFFFF0u, 4)) << "header larger than the file";
    EXPECT_TRUE(edit(18, 0, 4)) << "zero width";
    EXPECT_TRUE(edit(18, 0x80000000u, 4)) << "negative width";
    EXPECT_TRUE(edit(22, 0, 4)) << "zero height";
    EXPECT_TRUE(edit(22, 0x80000000u, 4)) << "height INT_MIN";
    EXPECT_TRUE(edit(22, 4, 4)) << "one row more than the data";
    EXPECT_TRUE(edit(26, 2, 2)) << "two planes";
    EXPECT_TRUE(edit(28, 2, 2)) << "2 bits per pixel";
    EXPECT_TRUE(edit(30, 1, 4)) << "run-length compression";
    EXPECT_TRUE(edit(30, 3, 4)) << "bit fields on a paletted image";
    EXPECT_TRUE(edit(46, 300, 4) == false) << "more colours than the depth allows are capped, not refused";
    // A huge 1-bit image claimed by a small file must not allocate.
    EXPECT_TRUE(edit(18, 1u << 20, 4)) << "width beyond the data";
    auto f = good;
    Put(f, 18, 30000, 4);
    Put(f, 22, 30000, 4);
    EXPECT_TRUE(Read(f).Empty()) << "more pixels than the data holds";
    f.resize(good.size() - 1);
    EXPECT_TRUE(Read(f).Empty()) << "last row one byte short";
    EXPECT_TRUE(ReadBmp(nullptr, 0).Empty());
}

// Every single-byte change and every truncation of a valid file: the reader may refuse it, but it
// must not crash (the sanitizers watch), and what it accepts must fit in the file.
TEST(BmpRead, MutationsNeverCrash) {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (int bpp : {1, 4, 8, 24, 32}) {
        BmpSpec s;
        s.bpp = bpp;
        s.width = 6;
        s.height = 3;
        if (bpp <= 8) s.palette = Palette(1 << bpp);
        seeds.push_back(BuildBmp(s));
    }
    std::mt19937 rng(12345);
    int accepted = 0, refused = 0;
    for (const auto& seed : seeds) {
        for (std::size_t n = 0; n < seed.size(); ++n) {
            std::vector<std::uint8_t> cut(seed.begin(), seed.begin() + std::ptrdiff_t(n));
            EXPECT_TRUE(Read(cut).Empty()) << "truncated to " << n;
        }
        for (std::size_t i = 0; i < seed.size(); ++i) {
            for (std::uint8_t v :
                 {std::uint8_t(0), std::uint8_t(0xFF), std::uint8_t(seed[i] ^ 0x80), std::uint8_t(rng())}) {
                auto f = seed;
                f[i] = v;
                TBitmap32 b = Read(f);
                if (b.Empty()) {
                    ++refused;
                    continue;
                }
                ++accepted;
                EXPECT_LE(std::int64_t(b.Width()) * b.Height(), std::int64_t(f.size()) * 8);
            }
        }
    }
    // Pixel and palette bytes change colours only, so most mutants still decode; header fields refuse.
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}
