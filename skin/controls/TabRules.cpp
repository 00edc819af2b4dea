#include "skin/controls/TabRules.h"

#include "skin/controls/ControlText.h"

namespace {
constexpr unsigned kTcsBottom = 0x2, kTcsVertical = 0x80;
constexpr unsigned kHdfRight = 0x1, kHdfCenter = 0x2, kHdfImage = 0x0800, kHdfOwnerDraw = 0x8000;
} // namespace

TSkinTabPosition TabPosition(unsigned style) {
    const bool bottom = (style & kTcsBottom) != 0, vertical = (style & kTcsVertical) != 0;
    if (bottom && vertical) return Stright;
    if (bottom) return Stbottom;
    if (vertical) return Stleft;
    return StTop;
}

TRect TabPageArea(const TRect& display, TSkinTabPosition pos) {
    TRect a{display.Left - 4, display.Top - 4, display.Right + 4, display.Bottom + 4};
    switch (pos) {
    case StTop:
        ++a.Top;
        break;
    case Stbottom:
        --a.Bottom;
        break;
    case Stleft:
        ++a.Left;
        break;
    case Stright:
        --a.Right;
        break;
    }
    return a;
}

TRect TabStripRect(const TRect& window, const TRect& page, TSkinTabPosition pos) {
    switch (pos) {
    case StTop:
        return TRect{window.Left, window.Top, window.Right, page.Top};
    case Stbottom:
        return TRect{window.Left, page.Bottom, window.Right, window.Bottom};
    case Stleft:
        return TRect{window.Left, window.Top, page.Left, window.Bottom};
    case Stright:
        return TRect{page.Right, window.Top, window.Right, window.Bottom};
    }
    return {};
}

TPoint TabStripSize(const TRect& strip, TSkinTabPosition pos) {
    if (pos == StTop || pos == Stbottom) return TPoint{strip.Width(), strip.Height()};
    return TPoint{strip.Height(), strip.Width()};
}

TRect TabToStrip(const TRect& t, TSkinTabPosition pos, const TRect& window, const TRect& page, int composedW) {
    switch (pos) {
    case StTop:
        return t.Offset(0, 1);
    case Stbottom:
        return t.Offset(0, -(page.Bottom + 1));
    case Stleft:
        return TRect{composedW - t.Bottom, t.Left, composedW - t.Top, t.Right};
    case Stright:
        return TRect{t.Top - 1, window.Right - t.Right, t.Bottom - 1, window.Right - t.Left};
    }
    return t;
}

std::vector<TTabSetCell> TabSetLayout(int width, int startMargin, int endMargin, int firstVisible,
                                      const std::vector<int>& textWidths, bool scrollerVisible) {
    std::vector<TTabSetCell> cells;
    int x = startMargin;
    const int limit = width - endMargin;
    const int room = scrollerVisible ? 21 : 9;
    for (int i = firstVisible < 0 ? 0 : firstVisible; i < int(textWidths.size()); ++i) {
        const int w = textWidths[size_t(i)];
        if (limit < x + w + room) continue;
        cells.push_back(TTabSetCell{i, x, x + w + 9});
        x += w + 9;
    }
    return cells;
}

int HeaderAlign(unsigned format) {
    if (format & kHdfRight) return kAlignRight;
    if (format & kHdfCenter) return kAlignCenter;
    return kAlignLeft;
}

int HeaderImage(unsigned format, int image) {
    return (format & (kHdfImage | kHdfOwnerDraw)) ? image : -1;
}

int PanelTextAlign(int alignment, bool rightToLeft) {
    // taLeftJustify 0, taRightJustify 1, taCenter 2.
    if (alignment == 2) return kAlignCenter;
    const bool right = (alignment == 1) != rightToLeft;
    return right ? kAlignRight : kAlignLeft;
}

int PanelBevelFrame(int bevel) {
    return bevel == 1 ? 2 : bevel == 2 ? 3 : 1;
}

TBevelColors AdjustColors(int bevelFrame) {
    if (bevelFrame == 1) return bcShadowOverLight;
    if (bevelFrame == 2) return bcLightOverShadow;
    return bcNone;
}

bool StatusSimple(bool simplePanel, int panelCount) {
    return simplePanel || panelCount <= 0;
}

TRect SizeGripRect(int w, int h, int fw, int fh) {
    return TRect{w - 1 - fw, h - 1 - fh, w - 1, h - 1};
}
