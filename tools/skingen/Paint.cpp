#include "tools/skingen/Paint.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

TPixel Mix(TPixel a, TPixel b, double t) {
    auto ch = [t](int x, int y) { return std::uint8_t(std::lround(x + (y - x) * t)); };
    return PixelRGB(ch(PixelR(a), PixelR(b)), ch(PixelG(a), PixelG(b)), ch(PixelB(a), PixelB(b)));
}

TBitmap32 Canvas(int width, int height, TPixel fill) {
    TBitmap32 b(width, height);
    b.Fill(fill);
    return b;
}

void HLine(TBitmap32& b, int x0, int x1, int y, TPixel p) {
    b.FillRect(Rect(x0, y, x1, y + 1), p);
}
void VLine(TBitmap32& b, int x, int y0, int y1, TPixel p) {
    b.FillRect(Rect(x, y0, x + 1, y1), p);
}

void Outline(TBitmap32& b, const TRect& r, TPixel p) {
    HLine(b, r.Left, r.Right, r.Top, p);
    HLine(b, r.Left, r.Right, r.Bottom - 1, p);
    VLine(b, r.Left, r.Top, r.Bottom, p);
    VLine(b, r.Right - 1, r.Top, r.Bottom, p);
}

void VGradient(TBitmap32& b, const TRect& r, TPixel top, TPixel bottom) {
    int h = r.Height();
    for (int y = r.Top; y < r.Bottom; ++y)
        HLine(b, r.Left, r.Right, y, Mix(top, bottom, h > 1 ? double(y - r.Top) / (h - 1) : 0.0));
}

void HGradient(TBitmap32& b, const TRect& r, TPixel left, TPixel right) {
    int w = r.Width();
    for (int x = r.Left; x < r.Right; ++x)
        VLine(b, x, r.Top, r.Bottom, Mix(left, right, w > 1 ? double(x - r.Left) / (w - 1) : 0.0));
}

namespace {

// Distance of the pixel centre (x, y) from the centre of the rounded corner it lies in, or -1
// when the pixel is not in a corner square of r.
double CornerDistance(const TRect& r, int radius, unsigned corners, int x, int y) {
    if (radius <= 0) return -1;
    double px = x + 0.5, py = y + 0.5;
    bool left = x < r.Left + radius, right = x >= r.Right - radius;
    bool top = y < r.Top + radius, bottom = y >= r.Bottom - radius;
    double cx, cy;
    if (left && top && (corners & kTopLeft)) {
        cx = r.Left + radius;
        cy = r.Top + radius;
    } else if (right && top && (corners & kTopRight)) {
        cx = r.Right - radius;
        cy = r.Top + radius;
    } else if (left && bottom && (corners & kBottomLeft)) {
        cx = r.Left + radius;
        cy = r.Bottom - radius;
    } else if (right && bottom && (corners & kBottomRight)) {
        cx = r.Right - radius;
        cy = r.Bottom - radius;
    } else {
        return -1;
    }
    return std::hypot(px - cx, py - cy);
}

} // namespace

void Box(TBitmap32& b, const TRect& r, const BoxStyle& s) {
    int h = r.Height();
    for (int y = r.Top; y < r.Bottom; ++y) {
        TPixel fill = Mix(s.top, s.bottom, h > 1 ? double(y - r.Top) / (h - 1) : 0.0);
        for (int x = r.Left; x < r.Right; ++x) {
            double d = CornerDistance(r, s.radius, s.corners, x, y);
            bool edge = x == r.Left || x == r.Right - 1 || y == r.Top || y == r.Bottom - 1;
            if (d > s.radius) {
                b.SetPixel(x, y, kKey);
            } else if (s.border != kKey && (edge || d > s.radius - 1.0)) {
                b.SetPixel(x, y, s.border);
            } else if (s.top != kKey) {
                b.SetPixel(x, y, fill);
            }
        }
    }
}

void CutCorners(TBitmap32& b, const TRect& r, int radius, unsigned corners) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (CornerDistance(r, radius, corners, x, y) > radius) b.SetPixel(x, y, kKey);
}

void Disc(TBitmap32& b, double cx, double cy, double radius, TPixel p) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) b.SetPixel(x, y, p);
}

void Ring(TBitmap32& b, double cx, double cy, double radius, double width, TPixel p) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d <= radius && d > radius - width) b.SetPixel(x, y, p);
        }
}

void Line(TBitmap32& b, double x0, double y0, double x1, double y1, double thickness, TPixel p) {
    double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            double px = x + 0.5 - x0, py = y + 0.5 - y0;
            double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
            if (std::hypot(px - t * dx, py - t * dy) <= thickness / 2) b.SetPixel(x, y, p);
        }
}

void Arrow(TBitmap32& b, int cx, int cy, int depth, Dir dir, TPixel p) {
    // Row i of the head (0 at the tip) is 2i + 1 pixels wide.
    int tip = -(depth / 2);
    for (int i = 0; i < depth; ++i) {
        int along = tip + i;
        switch (dir) {
        case Dir::Up:
            HLine(b, cx - i, cx + i + 1, cy + along, p);
            break;
        case Dir::Down:
            HLine(b, cx - i, cx + i + 1, cy - along, p);
            break;
        case Dir::Left:
            VLine(b, cx + along, cy - i, cy + i + 1, p);
            break;
        case Dir::Right:
            VLine(b, cx - along, cy - i, cy + i + 1, p);
            break;
        }
    }
}

TBitmap32 Strip(const std::vector<TBitmap32>& frames, bool vertical) {
    if (frames.empty()) return {};
    int fw = frames[0].Width(), fh = frames[0].Height();
    for (const TBitmap32& f : frames)
        if (f.Width() != fw || f.Height() != fh) throw std::logic_error("frames of a strip differ in size");
    int n = int(frames.size());
    TBitmap32 strip = vertical ? TBitmap32(fw, fh * n) : TBitmap32(fw * n, fh);
    for (int i = 0; i < n; ++i)
        DrawBitmap(strip, vertical ? 0 : i * fw, vertical ? i * fh : 0, frames[size_t(i)]);
    return strip;
}

TBitmap32 Columns(const TBitmap32& src, int from, int count) {
    TBitmap32 out(count, src.Height());
    DrawBitmap(out, -from, 0, src);
    return out;
}

TBitmap32 Rows(const TBitmap32& src, int from, int count) {
    TBitmap32 out(src.Width(), count);
    DrawBitmap(out, 0, -from, src);
    return out;
}
