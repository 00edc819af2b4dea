#include "skin/controls/ScrollRules.h"

#include <cstdint>

int MulDivRound(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t p = std::int64_t(a) * b;
    const std::int64_t d = c;
    const bool negative = (p < 0) != (d < 0);
    const std::int64_t ap = p < 0 ? -p : p, ad = d < 0 ? -d : d;
    const std::int64_t q = (ap + ad / 2) / ad;
    return int(negative ? -q : q);
}

bool ComputeThumb(int barLength, const TScrollData& si, const TThumbMetrics& m, TBarGeometry& g) {
    const int range = si.Max - si.Min;
    if (range <= 0) return false;
    const int track = std::max(barLength - 2 * m.Arrow, 0);
    int thumb = si.Page == 0 ? m.DefaultThumb : std::max(MulDivRound(si.Page, track, range), m.MinThumb);
    thumb = std::min(thumb, track);
    int offset;
    if (range == si.Page) {
        offset = 0;
        thumb = std::max(thumb - 1, 0);
    } else {
        offset = MulDivRound(si.Pos - si.Min, track - thumb, range - si.Page);
    }
    offset = std::max(std::min(offset, track - thumb), 0);
    g.Arrow = m.Arrow;
    g.Track = track;
    g.Thumb = thumb;
    g.Offset = offset;
    // A page larger than the range shows everything: the system draws no thumb then.
    g.ThumbShown = si.Page <= range && thumb > 0;
    return true;
}

TScrollPart PartAt(const TBarGeometry& g, int p) {
    if (p < g.Arrow) return spFirstArrow;
    if (p < g.Arrow + g.Offset) return spPageBefore;
    if (p < g.Arrow + g.Offset + g.Thumb) return spThumb;
    if (p < g.Arrow + g.Track) return spPageAfter;
    if (p < 2 * g.Arrow + g.Track) return spSecondArrow;
    return spOutside;
}

TDragStep DragThumbStep(const TBarGeometry& g, int startOffset, int delta, const TScrollData& si) {
    TDragStep s;
    const int range = si.Max - si.Min;
    const int free = g.Track - g.Thumb; // the room the thumb moves in
    int offset = std::max(startOffset + delta, 0);
    int pos = si.Pos;
    if (si.Page != 0) {
        offset = std::min(offset, g.Track);
        if (g.Track > 0) pos = MulDivRound(offset, range, g.Track) + si.Min;
        if (pos >= si.Max - si.Page) pos = si.Max - si.Page + 1;
    } else {
        offset = std::min(offset, free);
        if (free > 0) pos = MulDivRound(offset, range, free) + si.Min;
        pos = std::min(pos, si.Max);
    }
    s.Pos = std::max(pos, si.Min);
    s.Offset = std::max(std::min(offset, free), 0);
    return s;
}

TScrollBarRects ScrollBarRects(const TRect& window, int clientRight, int clientBottom, int arrow, int cxEdge, bool horz,
                               bool vert, bool leftScrollBar) {
    TScrollBarRects b;
    const int sb = arrow, R = window.Right, B = window.Bottom, L = window.Left;
    int e = cxEdge;
    if (vert)
        e = (R - clientRight - sb) / 2;
    else if (horz)
        e = (B - clientBottom - sb) / 2;
    b.Edge = e;
    if (!leftScrollBar) {
        if (horz && vert) {
            b.Horz = {L + e, B - e - sb, R - e - sb, B - e};
            b.Vert = {R - e - sb, e, R - e, B - e - sb};
        } else if (vert) {
            b.Vert = {R - e - sb, e, R - e, B - e};
        } else if (horz) {
            b.Horz = {L + e, B - e - sb, R - e, B - e};
        }
    } else {
        if (horz && vert) {
            b.Horz = {e + sb, B - e - sb, R - e, B - e};
            b.Vert = {e, e, e + sb, B - e - sb};
        } else if (vert) {
            b.Vert = {e, e, e + sb, B - e};
        } else if (horz) {
            b.Horz = {e, B - e - sb, R - e, B - e};
        }
    }
    if (horz && vert) b.SizeBox = {b.Vert.Left, b.Horz.Top, b.Vert.Right, b.Horz.Bottom};
    return b;
}

TBarLayout BarLayout(int length, int thickness, bool vertical, const TBarGeometry& g, bool drawThumb) {
    // Built along x, then turned for a vertical bar.
    auto along = [vertical, thickness](int from, int to) {
        return vertical ? TRect{0, from, thickness, to} : TRect{from, 0, to, thickness};
    };
    TBarLayout l;
    int a = g.Arrow;
    if (length >= 2 * a)
        l.Track = along(a, length - a);
    else
        a = length / 2;
    l.FirstArrow = along(0, a);
    l.SecondArrow = along(length - a, length);
    if (drawThumb && g.ThumbShown && g.Thumb > 0 && g.Thumb <= g.Track)
        l.Thumb = along(a + g.Offset, a + g.Offset + g.Thumb);
    return l;
}

namespace {
int Clamp(int frame, int frameCount) {
    return std::max(std::min(frame, frameCount), 1);
}
} // namespace

int ArrowFrame(int arrow, TPartState state, int frameCount) {
    const int face = state == psPressed ? 1 : state == psHot ? 2 : state == psDisabled ? 3 : 0;
    return Clamp(4 * std::max(std::min(arrow, 3), 0) + face + 1, frameCount);
}

int ThumbFrame(TPartState state, int frameCount) {
    return Clamp(state == psPressed ? 2 : state == psHot ? 3 : 1, frameCount);
}
