#include "skin/data/BmpCodec.h"

#include <cstring>

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

// Bounds-checked little-endian reads over the file; a read outside yields 0 and clears ok.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Has(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
    std::uint32_t U8(std::uint64_t off) { return Has(off, 1) ? data_[off] : Fail(); }
    std::uint32_t U16(std::uint64_t off) {
        return Has(off, 2) ? data_[off] | (std::uint32_t(data_[off + 1]) << 8) : Fail();
    }
    std::uint32_t U32(std::uint64_t off) {
        if (!Has(off, 4)) return Fail();
        return data_[off] | (std::uint32_t(data_[off + 1]) << 8) | (std::uint32_t(data_[off + 2]) << 16) |
               (std::uint32_t(data_[off + 3]) << 24);
    }
    const std::uint8_t* At(std::uint64_t off) const { return data_ + off; }
    bool ok = true;

private:
    std::uint32_t Fail() {
        ok = false;
        return 0;
    }
    const std::uint8_t* data_;
    std::size_t size_;
};

// One colour channel of a bit-field pixel: the masked bits shifted down and scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0; // mask >> shift

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m == 0) return;
        while (((m >> shift) & 1) == 0)
            ++shift;
        max = m >> shift;
    }
    bool Present() const { return mask != 0; }
    std::uint8_t Get(std::uint32_t v) const {
        if (max == 0) return 0;
        std::uint64_t c = (v & mask) >> shift;
        return std::uint8_t((c * 255 + max / 2) / max);
    }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    std::uint32_t bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t paletteEntrySize = 4;
    std::uint64_t paletteStart = 0;
    std::uint64_t paletteCount = 0;
    std::uint64_t pixelStart = 0;
    std::uint64_t rowBytes = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
};

// Checks the headers against each other and against the file size. False when they disagree.
bool ReadLayout(ByteReader& in, std::size_t size, Layout& L) {
    if (in.U8(0) != 'B' || in.U8(1) != 'M') return false;
    const std::uint32_t offBits = in.U32(10);
    const std::uint32_t headerSize = in.U32(14);
    if (!in.ok) return false;
    std::uint32_t planes = 0, colorsUsed = 0;
    if (headerSize == kCoreHeaderSize) {
        L.width = in.U16(18);
        L.height = in.U16(20);
        planes = in.U16(22);
        L.bpp = in.U16(24);
        L.paletteEntrySize = 3;
    } else if (headerSize >= kInfoHeaderSize) {
        if (!in.Has(kFileHeaderSize, headerSize)) return false;
        L.width = std::int32_t(in.U32(18));
        std::int64_t h = std::int32_t(in.U32(22));
        planes = in.U16(26);
        L.bpp = in.U16(28);
        L.compression = in.U32(30);
        colorsUsed = in.U32(46);
        L.topDown = h < 0;
        L.height = h < 0 ? -h : h;
    } else {
        return false;
    }
    if (!in.ok || planes != 1 || L.width <= 0 || L.height <= 0) return false;
    if (L.width * L.height > TBitmap32::kMaxPixels) return false;

    std::uint64_t tableStart = kFileHeaderSize + std::uint64_t(headerSize);
    switch (L.bpp) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (L.compression != kBiRgb) return false;
        break;
    case 16:
    case 32:
        if (L.compression == kBiRgb) {
            if (L.bpp == 16) {
                L.masks[0] = 0x7C00, L.masks[1] = 0x03E0, L.masks[2] = 0x001F;
            } else {
                L.masks[0] = 0xFF0000, L.masks[1] = 0x00FF00, L.masks[2] = 0x0000FF;
            }
        } else if (L.compression == kBiBitfields) {
            // Headers of 52 bytes and more carry the masks; a 40-byte header is followed by them.
            std::uint64_t at = kFileHeaderSize + kInfoHeaderSize;
            for (int i = 0; i < 3; ++i)
                L.masks[i] = in.U32(at + 4 * std::uint64_t(i));
            if (headerSize >= 56) L.masks[3] = in.U32(at + 12);
            if (headerSize < 52) tableStart = at + 12;
            if (!in.ok) return false;
        } else {
            return false;
        }
        break;
    default:
        return false;
    }

    L.paletteStart = tableStart;
    if (L.bpp <= 8) {
        const std::uint64_t full = std::uint64_t(1) << L.bpp;
        L.paletteCount = (colorsUsed == 0 || colorsUsed > full) ? full : colorsUsed;
    }
    const std::uint64_t tableEnd = tableStart + L.paletteCount * L.paletteEntrySize;
    if (tableEnd > size) return false;
    // A zero offset is read as "the pixels follow the colour table"; any other offset must not
    // point into the headers or the table.
    L.pixelStart = offBits == 0 ? tableEnd : offBits;
    if (L.pixelStart < tableEnd) return false;

    L.rowBytes = ((std::uint64_t(L.width) * L.bpp + 31) / 32) * 4;
    return in.Has(L.pixelStart, L.rowBytes * std::uint64_t(L.height));
}

} // namespace

TBitmap32 ReadBmp(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) return {};
    ByteReader in(data, size);
    Layout L;
    if (!ReadLayout(in, size, L)) return {};

    TPixel palette[256];
    for (std::uint64_t i = 0; i < 256; ++i) {
        if (i < L.paletteCount) {
            const std::uint8_t* e = in.At(L.paletteStart + i * L.paletteEntrySize);
            palette[i] = PixelRGB(e[2], e[1], e[0]);
        } else {
            palette[i] = PixelRGB(0, 0, 0);
        }
    }
    const Channel red(L.masks[0]), green(L.masks[1]), blue(L.masks[2]), alpha(L.masks[3]);

    const int w = int(L.width), h = int(L.height);
    TBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y) {
        const std::uint64_t fileRow = L.topDown ? std::uint64_t(y) : std::uint64_t(h - 1 - y);
        const std::uint8_t* src = in.At(L.pixelStart + fileRow * L.rowBytes);
        TPixel* out = bmp.ScanLine(y);
        switch (L.bpp) {
        case 1:
            for (int x = 0; x < w; ++x)
                out[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                out[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                out[x] = palette[src[x]];
            break;
        case 24:
            for (int x = 0; x < w; ++x, src += 3)
                out[x] = PixelRGB(src[2], src[1], src[0]);
            break;
        case 16:
        case 32:
            for (int x = 0; x < w; ++x) {
                std::uint32_t v;
                if (L.bpp == 16) {
                    v = src[0] | (std::uint32_t(src[1]) << 8);
                    src += 2;
                } else {
                    v = src[0] | (std::uint32_t(src[1]) << 8) | (std::uint32_t(src[2]) << 16) |
                        (std::uint32_t(src[3]) << 24);
                    src += 4;
                }
                out[x] = PixelRGB(red.Get(v), green.Get(v), blue.Get(v), alpha.Present() ? alpha.Get(v) : 255);
            }
            break;
        }
    }
    return bmp;
}

TBitmap32 ReadBmp(const std::string& bytes) {
    return ReadBmp(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

} // namespace

std::vector<std::uint8_t> WriteBmp24(const TBitmap32& bitmap) {
    const std::size_t w = std::size_t(bitmap.Width()), h = std::size_t(bitmap.Height());
    const std::size_t rowBytes = (w * 3 + 3) / 4 * 4;
    const std::size_t pixelStart = kFileHeaderSize + kInfoHeaderSize;
    std::vector<std::uint8_t> out(pixelStart + rowBytes * h, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, std::uint32_t(out.size()));
    Put32(out, 10, std::uint32_t(pixelStart));
    Put32(out, 14, kInfoHeaderSize);
    Put32(out, 18, std::uint32_t(w));
    Put32(out, 22, std::uint32_t(h));
    Put16(out, 26, 1);
    Put16(out, 28, 24);
    Put32(out, 30, kBiRgb);
    Put32(out, 34, std::uint32_t(rowBytes * h));
    Put32(out, 38, 2835); // 72 dots per inch, in pixels per metre
    Put32(out, 42, 2835);
    for (std::size_t y = 0; y < h; ++y) {
        const TPixel* src = bitmap.ScanLine(int(h - 1 - y));
        std::uint8_t* dst = out.data() + pixelStart + y * rowBytes;
        for (std::size_t x = 0; x < w; ++x) {
            dst[3 * x] = PixelB(src[x]);
            dst[3 * x + 1] = PixelG(src[x]);
            dst[3 * x + 2] = PixelR(src[x]);
        }
    }
    return out;
}
