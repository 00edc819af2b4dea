#include "skin/forms/FrameLayout.h"

#include "skin/forms/WinSkinForm.h"

namespace {
int CountOf(const TDataSkinObject& o) {
    return o.FrameCount < 1 ? 1 : o.FrameCount;
}

const TDataSkinBorder& BorderOf(const TSkinModel& skin, int n) {
    switch (n) {
    case 1:
        return skin.BorderLeft;
    case 2:
        return skin.BorderRight;
    case 3:
        return skin.BorderTop;
    default:
        return skin.BorderBottom;
    }
}

bool Has(TSkinFormIcons icons, TSkinFormIcon i) {
    return (icons & i) != 0;
}

// One visibility condition; `first` selects the "Visibility" reading where the two keys differ.
bool Condition(int value, bool first, const TDataSkinSysButton& b, const TCaptionState& s) {
    switch (value) {
    case 0:
        return !first || b.Action != sbaClose || Has(s.Icons, sbisystem);
    case 1:
        return s.State == swsMax;
    case 2:
        return s.State != swsMax;
    case 3:
        return s.Active;
    case 4:
        return !s.Active;
    case 6:
        return Has(s.Icons, sbiMax) && (!first || Has(s.Icons, sbisystem));
    case 7:
        return !Has(s.Icons, sbiMax);
    case 8:
        return Has(s.Icons, sbiMin) && (!first || Has(s.Icons, sbisystem));
    case 9:
        return !Has(s.Icons, sbiMin);
    case 100:
        return s.MDIChildMaximized && s.Metrics.MenuBar > 0;
    default:
        return value >= 200 && value <= 2000;
    }
}
} // namespace

TFrameMetrics FrameMetricsOf(const TSkinModel& skin, TSkinFormBorder border, int menuBarHeight) {
    TFrameMetrics m;
    if (border == sbsNone) return m;
    // A piece thicker than any screen could show is cut to kMaxFrameThickness, so the pictures the
    // frame is drawn and cut from stay within what a bitmap may hold.
    auto cut = [](int t) { return Min(t, kMaxFrameThickness); };
    m.Caption = cut(skin.BorderTop.Bitmap.Height() / CountOf(skin.BorderTop));
    m.Left = cut(skin.BorderLeft.Bitmap.Width() / CountOf(skin.BorderLeft));
    m.Right = cut(skin.BorderRight.Bitmap.Width() / CountOf(skin.BorderRight));
    m.Bottom = cut(skin.BorderBottom.Bitmap.Height() / CountOf(skin.BorderBottom));
    m.MenuBar = menuBarHeight;
    return m;
}

TRect SkinClientRect(const TRect& window, const TFrameMetrics& m) {
    TRect r{window.Left + m.Left, window.Top + m.Caption + m.MenuBar, window.Right - m.Right, window.Bottom - m.Bottom};
    r.Right = Max(r.Right, r.Left);
    r.Bottom = Max(r.Bottom, r.Top);
    return r;
}

int BorderFrame(const TDataSkinObject& border, bool active) {
    return Min(active ? 1 : 2, CountOf(border));
}

TBitmap32 RenderBorder(const TSkinModel& skin, int n, const TRect& dest, bool active) {
    const TDataSkinBorder& b = BorderOf(skin, n);
    return GetHMap(dest, b.Bitmap, b.Margins, BorderFrame(b, active), CountOf(b), b.Tile != 1, n >= 3);
}

bool SysButtonVisible(const TDataSkinSysButton& b, const TCaptionState& s) {
    if (!Condition(b.Visibility, true, b, s) || !Condition(b.Visibility1, false, b, s)) return false;
    switch (b.Action) {
    case sbaMaximize:
        return Has(s.Icons, sbiMax);
    case sbaMinimize:
        return Has(s.Icons, sbiMin);
    case sbaIcon:
    case sbaIcon2:
    case sbaSysMenu:
        return s.Border != sbsDialog;
    default:
        return true;
    }
}

TRect SysButtonRect(const TDataSkinSysButton& b, const TCaptionState& s) {
    if (b.Bitmap.Empty()) return TRect{};
    const int fw = b.Bitmap.Width() / CountOf(b), fh = b.Bitmap.Height();
    int x = 0, y = 0;
    switch (b.Align) {
    case 0:
        x = b.Xcoord;
        y = b.Ycoord;
        break;
    case 1:
        x = s.Width - b.Xcoord;
        y = b.Ycoord;
        break;
    case 2:
    case 8:
        x = s.TextRect.Left - fw - b.Xcoord;
        y = b.Ycoord;
        break;
    case 3:
    case 9:
        x = s.TextRect.Right + b.Xcoord;
        y = b.Ycoord;
        break;
    case 100:
        x = s.RightToLeft ? b.Xcoord + s.Metrics.Left + s.MenuTileLeft
                          : s.Width - b.Xcoord - s.Metrics.Right - s.MenuTileLeft;
        y = s.Metrics.Caption + (s.Metrics.MenuBar - fh) / 2;
        break;
    default:
        break;
    }
    return Bounds(x, y, fw, fh);
}

int RightButtonsLeft(const std::vector<const TDataSkinSysButton*>& buttons, const TCaptionState& s) {
    int left = 0;
    for (const TDataSkinSysButton* e : buttons) {
        const TDataSkinSysButton& b = *e;
        if (b.Align != 1 || b.Bitmap.Empty() || !SysButtonVisible(b, s)) continue;
        const int x = s.Width - b.Xcoord;
        if (left == 0 || x < left) left = x;
    }
    return left;
}

int SysButtonFrame(const TDataSkinSysButton& b, int state, bool active) {
    const int count = CountOf(b);
    int frame = 1;
    if (state == kStatePressed)
        frame = 2;
    else if (state == kStateHot)
        frame = b.Visibility == 100 ? 4 : 3;
    else if (!active && count >= 4)
        frame = 4;
    return Min(frame, count);
}

TTitleLayout TitleLayout(const TDataSkinTitle& title, const TTitleInput& in) {
    const TRect& c = in.Caption;
    const int shift = title.Margins.Left, vert = title.Margins.Top, clip = title.Margins.Right;
    const int tw = in.TextWidth + title.TXTBackleft + title.TXTBackRight, th = in.TextHeight;
    int dx = shift;
    if (in.RightToLeft || title.TextAlignment == 2)
        dx = c.Width() - clip - tw;
    else if (title.TextAlignment == 1)
        dx = (c.Width() - tw) / 2;
    const int dy = (c.Height() - th) / 2 + vert / 2;
    TRect t = Bounds(c.Left + dx, c.Top + dy, tw, th);
    if (in.Popup) {
        if (in.RightButtonsLeft > 5 && t.Right > in.RightButtonsLeft - 5) t.Right = in.RightButtonsLeft - 5;
    } else {
        t.Right = Min(t.Right, c.Right - clip);
    }
    // Dialogs show no icon: their title starts further left, but never left of the caption strip
    // (a skin with a small text shift would put it over the border or off the window).
    if (in.Border == sbsDialog && title.TextAlignment == 0) t.Left = Max(t.Left - 16, c.Left);
    TTitleLayout out;
    out.Stored = t;
    out.Back = TRect{t.Left, c.Top, t.Right, c.Bottom};
    out.Text = TRect{t.Left + title.TXTBackleft, t.Top, t.Right - title.TXTBackRight, t.Bottom};
    return out;
}

int RefineHitTest(int code, int y, const TFrameMetrics& m) {
    if (code != kHitNowhere && code != kHitCaption) return code;
    if (y > 3) code = kHitCaption;
    if (y > m.Caption) code = kHitMenu;
    return code;
}

int DialogMinWidth(int captionLength, int blankWidth, const TFrameMetrics& m, const TDataSkinTitle& title) {
    return (captionLength + 5) * blankWidth + m.Left + m.Right + title.Margins.Left + title.Margins.Right +
           title.TXTBackleft + title.TXTBackRight + 14;
}

std::vector<TRect> FrameRegionRects(const TSkinModel& skin, const TFrameMetrics& m, int W, int H, bool borderless,
                                    bool active, const TBitmap32* captionStrip, bool& whole) {
    whole = !(skin.BorderLeft.Trans || skin.BorderRight.Trans || skin.BorderTop.Trans || skin.BorderBottom.Trans);
    std::vector<TRect> out;
    if (whole) return out;
    const TRect inner = borderless ? TRect{0, 0, W, H} : TRect{m.Left, m.Caption, W - m.Right, H - m.Bottom};
    if (!inner.IsEmpty()) out.push_back(inner);
    if (borderless) return out;
    const int middle = W - m.Left - m.Right;
    const struct {
        int n;
        TRect place;
        int thickness;
    } pieces[] = {
        {1, Bounds(0, 0, m.Left, H), m.Left},
        {2, Bounds(W - m.Right, 0, m.Right, H), m.Right},
        {3, Bounds(m.Left, 0, middle, m.Caption), m.Caption},
        {4, Bounds(m.Left, H - m.Bottom, middle, m.Bottom), m.Bottom},
    };
    for (const auto& p : pieces) {
        if (p.place.IsEmpty()) continue;
        if (BorderOf(skin, p.n).Trans != 1 || p.thickness <= 1) {
            out.push_back(p.place);
            continue;
        }
        TBitmap32 image;
        if (p.n == 3 && captionStrip && captionStrip->Width() == W && captionStrip->Height() >= m.Caption) {
            image = TBitmap32(p.place.Width(), p.place.Height());
            DrawBitmap(image, -m.Left, 0, *captionStrip);
        } else {
            image = RenderBorder(skin, p.n, p.place, active);
        }
        std::vector<TRect> rects = BitmapToRegion(image, p.place.Left, p.place.Top, clSkinKey, 1, 1, 1);
        out.insert(out.end(), rects.begin(), rects.end());
    }
    return out;
}

TNCObject::~TNCObject() {
    if (Owner && Owner->HotObject == this) Owner->HotObject = nullptr;
}

void TNCObject::Become(int state, bool hot) {
    if (hot) Owner->HotObject = this;
    State = state;
    Draw();
}

void TNCObject::MouseEnter() {
    if (!Visible || Owner->HotObject == this) return;
    if (Owner->HotObject) Owner->HotObject->MouseLeave();
    Become(kStateHot, true);
}

void TNCObject::MouseDown() {
    if (!Visible) return;
    if (Owner->HotObject && Owner->HotObject != this) Owner->HotObject->MouseLeave();
    Become(kStatePressed, true);
}

void TNCObject::MouseUp() {
    if (!Visible) return;
    Become(kStateHot, false);
}

void TNCObject::MouseLeave() {
    if (!Visible) return;
    if (Owner->HotObject == this) Owner->HotObject = nullptr;
    Become(kStateNormal, false);
}
