#include "skin/data/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

TBitmap32::TBitmap32(int width, int height) {
    SetSize(width, height);
}

TBitmap32::TBitmap32(const TBitmap32& other) {
    *this = other;
}

TBitmap32& TBitmap32::operator=(const TBitmap32& other) {
    if (this == &other) return *this;
    SetSize(other.width_, other.height_);
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), other.ScanLine(y), size_t(width_) * sizeof(TPixel));
    return *this;
}

TBitmap32::TBitmap32(TBitmap32&& other) noexcept {
    *this = std::move(other);
}

TBitmap32& TBitmap32::operator=(TBitmap32&& other) noexcept {
    if (this == &other) return *this;
    // Moving a vector keeps its buffer, so bits_ stays valid whether it points into own_ or not.
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    bits_ = other.bits_;
    own_ = std::move(other.own_);
    keeper_ = std::move(other.keeper_);
    other.width_ = other.height_ = other.stride_ = 0;
    other.bits_ = nullptr;
    other.own_.clear();
    return *this;
}

TBitmap32 TBitmap32::Attach(int width, int height, int strideBytes, TPixel* bits, std::shared_ptr<void> keeper) {
    TBitmap32 b;
    if (width <= 0 || height <= 0 || bits == nullptr || strideBytes % 4 != 0 ||
        std::int64_t(strideBytes) < std::int64_t(width) * 4 || std::int64_t(width) * height > kMaxPixels)
        return b;
    b.width_ = width;
    b.height_ = height;
    b.stride_ = strideBytes;
    b.bits_ = bits;
    b.keeper_ = std::move(keeper);
    return b;
}

void TBitmap32::SetSize(int width, int height) {
    keeper_.reset();
    if (width <= 0 || height <= 0) {
        width_ = height_ = stride_ = 0;
        bits_ = nullptr;
        own_.clear();
        own_.shrink_to_fit();
        return;
    }
    std::int64_t n = std::int64_t(width) * height;
    if (n > kMaxPixels) throw std::length_error("bitmap too large");
    own_.assign(size_t(n), 0);
    width_ = width;
    height_ = height;
    stride_ = width * int(sizeof(TPixel));
    bits_ = own_.data();
}

TPixel TBitmap32::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return ScanLine(y)[x];
}

void TBitmap32::SetPixel(int x, int y, TPixel p) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    ScanLine(y)[x] = p;
}

void TBitmap32::Fill(TPixel p) {
    FillRect(BoundsRect(), p);
}

void TBitmap32::FillRect(const TRect& r, TPixel p) {
    TRect c = IntersectRect(r, BoundsRect());
    for (int y = c.Top; y < c.Bottom; ++y) {
        TPixel* row = ScanLine(y);
        for (int x = c.Left; x < c.Right; ++x)
            row[x] = p;
    }
}

bool TBitmap32::operator==(const TBitmap32& o) const {
    if (width_ != o.width_ || height_ != o.height_) return false;
    for (int y = 0; y < height_; ++y)
        if (std::memcmp(ScanLine(y), o.ScanLine(y), size_t(width_) * sizeof(TPixel)) != 0) return false;
    return true;
}

namespace {

// Source coordinate for destination offset i of n when n destination pixels show s source pixels:
// the source pixel under the centre of the destination pixel.
inline int NearestSource(std::int64_t i, std::int64_t s, std::int64_t n) {
    return int(((2 * i + 1) * s) / (2 * n));
}

template <bool Keyed>
void Stretch(TBitmap32& dst, const TRect& dr, const TBitmap32& srcIn, const TRect& sr, TColor key) {
    if (dr.IsEmpty() || sr.IsEmpty() || dst.Empty() || srcIn.Empty() || !InCoordRange(dr) || !InCoordRange(sr)) return;
    // Drawing a bitmap onto itself reads from a snapshot so that no pixel is read after it is written.
    TBitmap32 snapshot;
    const TBitmap32* srcp = &srcIn;
    if (&dst == &srcIn) {
        snapshot = srcIn;
        srcp = &snapshot;
    }
    const TBitmap32& src = *srcp;
    const TRect clip = IntersectRect(dr, dst.BoundsRect());
    if (clip.IsEmpty()) return;
    const std::int64_t dw = dr.Width(), dh = dr.Height(), sw = sr.Width(), sh = sr.Height();
    const TPixel keyPixel = PixelFromColor(key) & 0x00FFFFFF;

    // Column map for the clipped span. The mapping is monotonic, so the columns whose source lies
    // inside src form one run [x0, x1); the others are left alone.
    std::vector<int> xs(size_t(clip.Width()));
    int x0 = clip.Right, x1 = clip.Left;
    for (int x = clip.Left; x < clip.Right; ++x) {
        const int sx = sr.Left + NearestSource(x - dr.Left, sw, dw);
        xs[size_t(x - clip.Left)] = sx;
        if (sx >= 0 && sx < src.Width()) {
            x0 = std::min(x0, x);
            x1 = x + 1;
        }
    }
    if (x0 >= x1) return;
    const int* map = xs.data() + (x0 - clip.Left); // map[x - x0]: source column of x in [x0, x1)
    const bool unscaledX = (dw == sw);
    int lastSy = -1; // source row of the previous destination row, when that row was copied opaque
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        const int sy = sr.Top + NearestSource(y - dr.Top, sh, dh);
        if (sy < 0 || sy >= src.Height()) {
            lastSy = -1;
            continue;
        }
        const TPixel* srow = src.ScanLine(sy);
        TPixel* drow = dst.ScanLine(y);
        if (!Keyed) {
            // A repeated source row gives the pixels of the row above; an unscaled row is one run.
            if (sy == lastSy)
                std::memcpy(drow + x0, dst.ScanLine(y - 1) + x0, size_t(x1 - x0) * sizeof(TPixel));
            else if (unscaledX)
                std::memmove(drow + x0, srow + map[0], size_t(x1 - x0) * sizeof(TPixel));
            else
                for (int x = x0; x < x1; ++x)
                    drow[x] = srow[map[x - x0]];
            lastSy = sy;
            continue;
        }
        for (int x = x0; x < x1; ++x) {
            const TPixel p = srow[map[x - x0]];
            if ((p & 0x00FFFFFF) != keyPixel) drow[x] = p;
        }
    }
}

} // namespace

void StretchCopy(TBitmap32& dst, const TRect& dr, const TBitmap32& src, const TRect& sr) {
    Stretch<false>(dst, dr, src, sr, 0);
}

void StretchCopyKeyed(TBitmap32& dst, const TRect& dr, const TBitmap32& src, const TRect& sr, TColor key) {
    Stretch<true>(dst, dr, src, sr, key);
}

void DrawBitmap(TBitmap32& dst, int x, int y, const TBitmap32& src) {
    StretchCopy(dst, Bounds(x, y, src.Width(), src.Height()), src, src.BoundsRect());
}

void DrawBitmapKeyed(TBitmap32& dst, int x, int y, const TBitmap32& src, TColor key) {
    StretchCopyKeyed(dst, Bounds(x, y, src.Width(), src.Height()), src, src.BoundsRect(), key);
}
