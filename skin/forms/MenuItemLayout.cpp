#include "skin/forms/MenuItemLayout.h"

namespace {
int LeftOf(const TMenuMeasureSkin& s) {
    return s.HasItemObject ? s.ItemLeftMargin : 0;
}
} // namespace

int MenuTextItemWidth(int textWidth, const TMenuMeasureSkin& s) {
    return textWidth + 26 + LeftOf(s);
}

int MenuTextItemHeight(int systemHeight, bool hasText) {
    return hasText ? systemHeight + 4 : 8;
}

int FrameworkItemWidth(int ownWidth, const TMenuMeasureSkin& s) {
    return ownWidth + LeftOf(s) + (s.HasImages ? 0 : 25) + 10;
}

int PopupItemWidth(int ownWidth, const TMenuMeasureSkin& s) {
    return ownWidth + LeftOf(s) + (s.HasImages ? 0 : 23) + 12;
}

TRect MirrorRect(const TRect& r, const TRect& within) {
    return TRect{within.Left + within.Right - r.Right, r.Top, within.Left + within.Right - r.Left, r.Bottom};
}

TRect CentreMark(const TRect& square, int w, int h) {
    const int left = square.Left + (square.Width() - w) / 2 + 1;
    const int top = square.Top + (square.Height() - h) / 2 + 1;
    return Bounds(left, top, w, h);
}

TMenuItemLayout LayoutMenuItem(const TMenuItemLayoutIn& in) {
    const TRect& item = in.Item;
    int g = in.ImageWidth > 0 ? in.ImageWidth : 16;
    if (in.Checked && g < 16) g = 16;
    TMenuItemLayout l;
    const int glyphLeft = item.Left + 1 + in.LeftMargin;
    l.Glyph =
        in.Separator ? TRect{glyphLeft, item.Top + 1, glyphLeft, item.Top + 1} : Bounds(glyphLeft, item.Top + 1, g, g);
    l.Text = TRect{l.Glyph.Right + 3, item.Top, item.Right - 1, item.Bottom};
    const int top = item.Top + (item.Height() - in.CaptionHeight) / 2;
    l.Caption = Bounds(l.Text.Left, top, in.CaptionWidth, in.CaptionHeight);
    l.Shortcut = TRect{l.Caption.Right, top, item.Right - 11, top + in.CaptionHeight};
    if (in.RightToLeft) {
        l.Glyph = MirrorRect(l.Glyph, item);
        l.Text = MirrorRect(l.Text, item);
        l.Caption = MirrorRect(l.Caption, item);
        l.Shortcut = MirrorRect(l.Shortcut, item);
    }
    return l;
}

TRect SeparatorSource(const TRect& frame, int itemHeight) {
    if (itemHeight >= frame.Height() || itemHeight <= 0) return frame;
    return TRect{frame.Left, frame.Bottom - itemHeight, frame.Right, frame.Bottom};
}

void DrawMask(TBitmap32& target, int x, int y, const TBitmap32& mask, TPixel colour) {
    for (int my = 0; my < mask.Height(); ++my)
        for (int mx = 0; mx < mask.Width(); ++mx) {
            const TPixel p = mask.Pixel(mx, my);
            if (PixelR(p) + PixelG(p) + PixelB(p) < 3 * 128) target.SetPixel(x + mx, y + my, colour);
        }
}

int ToolButtonFrame(bool selected, bool focusedOrHot, bool greyed, bool isDefault) {
    if (selected) return 2;
    if (focusedOrHot) return 4;
    if (greyed) return 0;
    return isDefault ? 1 : 0;
}
