#include "skin/data/SkinScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

int DpiOrBase(int dpi) {
    return dpi < 1 ? kBaseDpi : dpi;
}

// The source pixels a destination pixel covers along one axis, with their overlap as weights. The
// destination pixel i of dn spans [i * sn, (i + 1) * sn) in units where source pixel j spans
// [j * dn, (j + 1) * dn): all integer, so whole factors give one source pixel of full weight.
struct TTap {
    int First = 0;              // first source index (relative to the part)
    std::vector<int> Weights;   // one per source pixel from First
    int Nearest = 0;            // the source pixel under the destination pixel's centre
};

std::vector<TTap> Taps(int sn, int dn) {
    std::vector<TTap> taps(static_cast<std::size_t>(dn));
    for (int i = 0; i < dn; ++i) {
        const std::int64_t a = std::int64_t(i) * sn, b = std::int64_t(i + 1) * sn;
        TTap& t = taps[std::size_t(i)];
        t.First = int(a / dn);
        const int last = int((b - 1) / dn);
        for (int j = t.First; j <= last; ++j) {
            const std::int64_t lo = std::max<std::int64_t>(a, std::int64_t(j) * dn);
            const std::int64_t hi = std::min<std::int64_t>(b, std::int64_t(j + 1) * dn);
            t.Weights.push_back(int(hi - lo));
        }
        t.Nearest = int((std::int64_t(2 * i + 1) * sn) / (2 * std::int64_t(dn)));
    }
    return taps;
}

// Cut positions along one axis of a strip: for each frame its start, its two margin cuts and its
// end, in the original and scaled. Returns pairs of (source span, destination span).
struct TSpan {
    int S0, S1, D0, D1;
};

std::vector<TSpan> AxisSpans(int length, int frames, int nearMargin, int farMargin, int dpi, int& scaledNear,
                             int& scaledFar, int& scaledLength) {
    std::vector<TSpan> spans;
    const int fl = length / frames;
    int m0 = std::clamp(nearMargin, 0, fl);
    int m1 = std::clamp(farMargin, 0, fl - m0);
    const int sfl = ScaleValue(fl, dpi);
    const int c1 = ScaleValue(m0, dpi), c2 = ScaleValue(fl - m1, dpi);
    scaledNear = c1;
    scaledFar = sfl - c2;
    scaledLength = sfl * frames;
    const int cuts[4] = {0, m0, fl - m1, fl};
    const int scuts[4] = {0, c1, c2, sfl};
    for (int f = 0; f < frames; ++f)
        for (int k = 0; k < 3; ++k)
            if (cuts[k + 1] > cuts[k] && scuts[k + 1] > scuts[k])
                spans.push_back({f * fl + cuts[k], f * fl + cuts[k + 1], f * sfl + scuts[k], f * sfl + scuts[k + 1]});
    return spans;
}

} // namespace

int ScaleValue(int v, int dpi) {
    dpi = DpiOrBase(dpi);
    const std::int64_t p = std::int64_t(v) * dpi;
    const std::int64_t q = p >= 0 ? (p + kBaseDpi / 2) / kBaseDpi : -((-p + kBaseDpi / 2) / kBaseDpi);
    return int(std::clamp<std::int64_t>(q, -kCoordLimit, kCoordLimit));
}

TRect ScaleRect(const TRect& r, int dpi) {
    return {ScaleValue(r.Left, dpi), ScaleValue(r.Top, dpi), ScaleValue(r.Right, dpi), ScaleValue(r.Bottom, dpi)};
}

void ScalePart(TBitmap32& dst, const TRect& dr, const TBitmap32& src, const TRect& sr, TColor key) {
    if (dr.IsEmpty() || sr.IsEmpty()) return;
    if (IntersectRect(dr, dst.BoundsRect()) != dr || IntersectRect(sr, src.BoundsRect()) != sr) return;
    if (dr.Width() % sr.Width() == 0 && dr.Height() % sr.Height() == 0) {
        // A whole factor on both axes: each pixel repeated, the key included (the filter below gives
        // the same, slower).
        const int kx = dr.Width() / sr.Width(), ky = dr.Height() / sr.Height();
        for (int y = 0; y < dr.Height(); ++y) {
            const TPixel* in = src.ScanLine(sr.Top + y / ky) + sr.Left;
            TPixel* out = dst.ScanLine(dr.Top + y) + dr.Left;
            for (int x = 0; x < dr.Width(); ++x)
                out[x] = in[x / kx];
        }
        return;
    }
    const std::vector<TTap> tx = Taps(sr.Width(), dr.Width()), ty = Taps(sr.Height(), dr.Height());
    for (int y = 0; y < dr.Height(); ++y) {
        const TTap& vy = ty[std::size_t(y)];
        TPixel* out = dst.ScanLine(dr.Top + y) + dr.Left;
        for (int x = 0; x < dr.Width(); ++x) {
            const TTap& vx = tx[std::size_t(x)];
            const TPixel nearest = src.ScanLine(sr.Top + vy.Nearest)[sr.Left + vx.Nearest];
            if (PixelIs(nearest, key)) {
                out[x] = nearest;
                continue;
            }
            std::uint64_t sa = 0, sr8 = 0, sg = 0, sb = 0, total = 0;
            for (std::size_t j = 0; j < vy.Weights.size(); ++j) {
                const TPixel* row = src.ScanLine(sr.Top + vy.First + int(j)) + sr.Left + vx.First;
                for (std::size_t i = 0; i < vx.Weights.size(); ++i) {
                    const TPixel p = row[i];
                    if (PixelIs(p, key)) continue; // the key never tints its neighbours
                    const std::uint64_t w = std::uint64_t(vy.Weights[j]) * std::uint64_t(vx.Weights[i]);
                    sa += w * (p >> 24);
                    sr8 += w * PixelR(p);
                    sg += w * PixelG(p);
                    sb += w * PixelB(p);
                    total += w;
                }
            }
            // total > 0: the nearest pixel lies among the covered ones and is not key.
            const auto avg = [total](std::uint64_t s) { return std::uint8_t((s + total / 2) / total); };
            out[x] = PixelRGB(avg(sr8), avg(sg), avg(sb), avg(sa));
        }
    }
}

TPoint ScaledSkinImageSize(int width, int height, int dpi, int frameCount, bool vertical) {
    if (width <= 0 || height <= 0) return {};
    const int n = std::max(frameCount, 1);
    const int along = vertical ? height : width, across = vertical ? width : height;
    const int fl = along / n;
    const int sAlong = fl > 0 ? ScaleValue(fl, dpi) * n : ScaleValue(along, dpi);
    const int sAcross = ScaleValue(across, dpi);
    return vertical ? TPoint{sAcross, sAlong} : TPoint{sAlong, sAcross};
}

TScaledImage ScaleSkinImage(const TBitmap32& image, int dpi, const TRect& margins, int frameCount, bool vertical,
                            TColor key) {
    dpi = DpiOrBase(dpi);
    if (image.Empty() || dpi == kBaseDpi) return {image, margins};
    int n = std::max(frameCount, 1);
    const int along = vertical ? image.Height() : image.Width();
    if (along / n == 0) n = 1; // more frames than pixels: the image is one frame
    // Along the strip: frames and the margins across them; across it: the other two margins.
    const int nearAlong = vertical ? margins.Top : margins.Left, farAlong = vertical ? margins.Bottom : margins.Right;
    const int nearAcross = vertical ? margins.Left : margins.Top, farAcross = vertical ? margins.Right : margins.Bottom;
    int a0 = 0, a1 = 0, aLen = 0, b0 = 0, b1 = 0, bLen = 0;
    const std::vector<TSpan> sa = AxisSpans(along, n, nearAlong, farAlong, dpi, a0, a1, aLen);
    const std::vector<TSpan> sb =
        AxisSpans(vertical ? image.Width() : image.Height(), 1, nearAcross, farAcross, dpi, b0, b1, bLen);
    TScaledImage out;
    out.Bitmap = vertical ? TBitmap32(bLen, aLen) : TBitmap32(aLen, bLen);
    out.Margins = vertical ? TRect{b0, a0, b1, a1} : TRect{a0, b0, a1, b1};
    for (const TSpan& a : sa)
        for (const TSpan& b : sb) {
            const TRect s = vertical ? Rect(b.S0, a.S0, b.S1, a.S1) : Rect(a.S0, b.S0, a.S1, b.S1);
            const TRect d = vertical ? Rect(b.D0, a.D0, b.D1, a.D1) : Rect(a.D0, b.D0, a.D1, b.D1);
            ScalePart(out.Bitmap, d, image, s, key);
        }
    return out;
}
