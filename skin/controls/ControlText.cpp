#include "skin/controls/ControlText.h"

#include <algorithm>

TRect CaptionRect(const TRect& rect, int textW, int textH, int align) {
    const int dy = (rect.Height() - textH) / 2 - 1;
    TRect t{rect.Left, rect.Top, rect.Left + textW, rect.Top + textH};
    if (align == kAlignCenter) return t.Offset((rect.Width() - textW) / 2, dy);
    t = t.Offset(0, dy);
    t.Left = rect.Left;
    t.Right = rect.Right;
    return t;
}

TRect CenteredCaptionRect(const TRect& rect, int textW, int textH) {
    const TRect t{rect.Left, rect.Top, rect.Left + textW, rect.Top + textH};
    return t.Offset((rect.Width() - textW) / 2, (rect.Height() - textH) / 2);
}

TImgCaptionLayout ImgCaptionLayout(const TRect& rect, bool showImage, int imageW, int imageH, int textW, int textH,
                                   int align) {
    TImgCaptionLayout l;
    l.ShowImage = showImage && imageW < rect.Width();
    const int cx = l.ShowImage ? imageW : 0;
    const int cy = l.ShowImage ? imageH : 0;
    // Without text the block is zero wide and as high as the rectangle.
    if (textW <= 0) {
        textW = 0;
        textH = rect.Height();
    }
    int x = 2;
    if (align == kAlignCenter) x = (rect.Width() - cx - textW) / 2;
    if (align == kAlignRight) x = rect.Width() - cx - textW - 2;
    x = std::max(x, 2);
    if (l.ShowImage) l.Image = TRect{0, 0, cx, cy}.Offset(rect.Left + x, rect.Top + (rect.Height() - cy) / 2);
    l.Text = TRect{rect.Left, rect.Top, rect.Left + textW, rect.Top + textH}.Offset(x + cx + 1,
                                                                                     (rect.Height() - textH) / 2);
    l.Text.Left = std::max(l.Text.Left, rect.Left);
    l.Text.Right = std::min(l.Text.Right, rect.Right);
    return l;
}

std::vector<TStroke> ArrowStrokes(int x, int y, int kind) {
    auto p = [x, y](int dx, int dy) { return TPoint{x + dx, y + dy}; };
    switch (kind) {
    case 0:
        return {{p(0, 0), p(0, -1)},  {p(1, 1), p(4, 4)},   {p(0, 1), p(3, 4)},  {p(0, 2), p(2, 4)},
                {p(-1, 1), p(-4, 4)}, {p(0, 2), p(-3, 4)}, {p(0, 1), p(-2, 4)}};
    case 1:
        return {{p(0, 3), p(0, 4)},    {p(1, 2), p(4, -1)},   {p(0, 2), p(3, -1)}, {p(0, 1), p(2, 0)},
                {p(-1, 2), p(-4, -1)}, {p(0, 2), p(-3, -1)}, {p(0, 1), p(-2, 0)}};
    case 2:
        return {{p(0, 0), p(1, 2), p(1, -2), p(-1, 0), p(1, 2)}};
    case 3:
        return {{p(0, 0), p(-1, 2), p(-1, -2), p(1, 0), p(-1, 2)}};
    default:
        return {};
    }
}
