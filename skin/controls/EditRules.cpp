#include "skin/controls/EditRules.h"

#include <algorithm>
#include <cmath>

int StripFrames(int frameCount, int imageWidth) {
    return std::max(1, std::min(frameCount, std::max(imageWidth, 1)));
}

int ClampFrame(int index, int frames) {
    return std::clamp(index, 1, std::max(frames, 1));
}

bool EditHasBorder(const TRect& client, int windowW, int windowH) {
    return client.Width() != windowW && client.Height() != windowH;
}

bool EditPrintFrame(const TRect& client, int windowW, int windowH) {
    return client.Width() + 2 < windowW && client.Height() + 2 < windowH;
}

int ButtonState(bool enabled, bool focused, bool down, bool mouseIn) {
    int s = kBtnNormal;
    if (!enabled) return kBtnDisabled;
    if (focused) s = kBtnHot;
    if (down) return kBtnPressed;
    if (mouseIn) s = kBtnHot;
    return s;
}

TComboLayout ComboLayout(int w, int h, int b, bool buttonLeft) {
    TComboLayout l;
    l.Mirrored = buttonLeft;
    if (!buttonLeft) {
        l.TextArea = TRect{2, 2, w - b - 4, h - 2};
        l.ButtonCell = TRect{w - b - 2, 0, w, h};
        l.GlyphArea = TRect{w - b - 2, 0, w - 2, h};
    } else {
        l.TextArea = TRect{b + 4, 2, w - 2, h - 2};
        l.ButtonCell = TRect{0, 0, b + 2, h};
        l.GlyphArea = TRect{2, 0, b + 2, h};
    }
    return l;
}

TRect FlatComboButton(int w, int h, int thumbW) {
    return TRect{w - 2 - thumbW, 2, w - 2, h - 2};
}

TRect CenterIn(const TRect& area, int gw, int gh) {
    return Bounds(area.Left + (area.Width() - gw) / 2, area.Top + (area.Height() - gh) / 2, gw, gh);
}

int UpDownFrame(int state, int kind, int frames) {
    const int f = kind <= 1 ? state + 4 * kind : state + 4 * kind - 8;
    return ClampFrame(f, frames);
}

TUpDownLayout UpDownLayout(const TRect& client, bool inset, bool horizontal, TPoint cursor, bool down, bool mouseIn,
                           bool enabled, int frames) {
    TRect c = client;
    if (inset) c = TRect{c.Left + 1, c.Top + 1, c.Right - 1, c.Bottom - 1};
    TUpDownLayout l;
    bool firstActive;
    if (!horizontal) {
        const int hh = c.Height() / 2;
        l.First = {TRect{c.Left, c.Top, c.Right, c.Top + hh}, 0};
        l.Second = {TRect{c.Left, c.Top + hh, c.Right, c.Bottom}, 1};
        // The split is measured where the buttons meet, inset or not.
        firstActive = cursor.Y < c.Top + hh;
    } else {
        const int hw = c.Width() / 2;
        l.First = {TRect{c.Left, c.Top, c.Left + hw, c.Bottom}, 2};
        l.Second = {TRect{c.Left + hw, c.Top, c.Right, c.Bottom}, 3};
        firstActive = cursor.X < c.Left + hw;
    }
    auto state = [&](bool active) {
        if (!enabled) return int(kBtnDisabled);
        if (active && down) return int(kBtnPressed);
        if (active && mouseIn) return int(kBtnHot);
        return int(kBtnNormal);
    };
    l.First.State = state(firstActive);
    l.Second.State = state(!firstActive);
    l.First.Frame = UpDownFrame(l.First.State, l.First.Kind, frames);
    l.Second.Frame = UpDownFrame(l.Second.State, l.Second.Kind, frames);
    return l;
}

int ProgressFill(int w, int pos, int hi) {
    if (hi <= 0 || pos <= 0 || w <= 0) return 0;
    // Exact in double for every int input; nearbyint rounds halves to even.
    const double fill = std::nearbyint(double(w) * double(pos) / double(hi));
    return int(std::min(fill, double(w)));
}

int ProgressChunkFill(int w, int pos, int hi) {
    if (hi <= 0 || pos <= 0 || w <= 0) return 0;
    return int(std::min<long long>((long long)w * pos / hi, w));
}

int ProgressChunks(int fill, int chunkW) {
    if (fill <= 0 || chunkW <= 0) return 0;
    return fill / chunkW + 1;
}

TThumbImage TrackThumbImage(bool vertical, bool hasVert, bool hasHorz) {
    if (vertical && hasVert) return tiVert;
    if (hasHorz) return tiHorz;
    return tiNone;
}
