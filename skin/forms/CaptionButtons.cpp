#include "skin/forms/CaptionButtons.h"

#include "skin/forms/WinSkinForm.h"

#include <algorithm>

namespace {
// A maximized MDI child's buttons sit in the menu bar.
constexpr int kAlignMenuBar = 100;

std::uint8_t Blend(std::uint8_t premultiplied, std::uint8_t under, int alpha) {
    return std::uint8_t(std::min(255, premultiplied + (under * (255 - alpha) + 127) / 255));
}
} // namespace

bool SysButtonDrawn(const TDataSkinSysButton& b, bool visible, const TRect& r, TFacePass pass) {
    if (!visible || b.Bitmap.Empty() || r.IsEmpty()) return false;
    switch (pass) {
    case TFacePass::Caption:
        return b.Align != kAlignMenuBar;
    case TFacePass::MenuBar:
        return b.Align == kAlignMenuBar;
    case TFacePass::Mouse:
        return true;
    }
    return false;
}

TBitmap32 IconFromBlackWhite(const TBitmap32& overBlack, const TBitmap32& overWhite) {
    if (overBlack.Width() != overWhite.Width() || overBlack.Height() != overWhite.Height()) return TBitmap32();
    TBitmap32 icon(overBlack.Width(), overBlack.Height());
    for (int y = 0; y < icon.Height(); ++y) {
        const TPixel* b = overBlack.ScanLine(y);
        const TPixel* w = overWhite.ScanLine(y);
        TPixel* out = icon.ScanLine(y);
        for (int x = 0; x < icon.Width(); ++x) {
            // What shows of the white is what the icon lets through; over black, its colour times
            // its coverage, i.e. premultiplied.
            int through = 0;
            for (int shift : {0, 8, 16})
                through = std::max(through, int(std::uint8_t(w[x] >> shift)) - int(std::uint8_t(b[x] >> shift)));
            const int a = 255 - through;
            auto c = [&](std::uint8_t v) { return std::uint8_t(std::min(int(v), a)); };
            out[x] = PixelRGB(c(PixelR(b[x])), c(PixelG(b[x])), c(PixelB(b[x])), std::uint8_t(a));
        }
    }
    return icon;
}

TBitmap32 IconFromKeyed(const TBitmap32& image, TColor key) {
    TBitmap32 icon(image.Width(), image.Height());
    for (int y = 0; y < icon.Height(); ++y) {
        const TPixel* in = image.ScanLine(y);
        TPixel* out = icon.ScanLine(y);
        for (int x = 0; x < icon.Width(); ++x)
            out[x] = PixelIs(in[x], key) ? 0 : (in[x] | 0xFF000000u);
    }
    return icon;
}

void DrawSysButtonFace(TBitmap32& target, const TBitmap32& back, const TRect& r, const TDataSkinSysButton& b, int state,
                       bool active, const TBitmap32& icon) {
    const TRect clip = IntersectRect(r, target.BoundsRect());
    if (clip.IsEmpty()) return;
    if (&back != &target) StretchCopy(target, clip, back, clip);
    if (!ShowsWindowIcon(b.Action)) {
        DrawRect1(target, r, b.Bitmap, SysButtonFrame(b, state, active), std::max(b.FrameCount, 1), true);
        return;
    }
    // The icon at the rectangle's top-left corner, cut to the rectangle.
    const TRect at = IntersectRect(Bounds(r.Left, r.Top, icon.Width(), icon.Height()), clip);
    for (int y = at.Top; y < at.Bottom; ++y) {
        const TPixel* src = icon.ScanLine(y - r.Top) + (at.Left - r.Left);
        TPixel* dst = target.ScanLine(y) + at.Left;
        for (int x = at.Left; x < at.Right; ++x, ++src, ++dst) {
            const int a = int(*src >> 24);
            if (a == 255)
                *dst = *src;
            else if (a > 0)
                *dst =
                    PixelRGB(Blend(PixelR(*src), PixelR(*dst), a), Blend(PixelG(*src), PixelG(*dst), a),
                             Blend(PixelB(*src), PixelB(*dst), a), Blend(std::uint8_t(a), std::uint8_t(*dst >> 24), a));
        }
    }
}
