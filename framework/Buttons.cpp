#include "framework/Buttons.h"

#include "framework/SysUtils.h"

namespace {
// The framework's notifications of the mouse coming onto a control and leaving it.
constexpr UINT kMouseEnter = 0xB000 + 19, kMouseLeave = 0xB000 + 20;
// The background the program's icon glyphs are drawn over, transparent when drawn.
constexpr COLORREF kGlyphKey = RGB(255, 0, 255);

// Frame `frame` (from 1) of a glyph strip at (x, y), its bottom-left pixel's colour left out.
void DrawGlyphFrame(HDC dc, const TGlyphSettings& g, int frame, int x, int y) {
    if (g.Bitmap.Empty()) return;
    const int n = g.NumGlyphs > 0 ? g.NumGlyphs : 1;
    const int w = g.Bitmap.Width() / n, h = g.Bitmap.Height();
    if (frame < 1 || frame > n) frame = 1;
    const std::uint32_t key = g.Bitmap.Pixel(0, h - 1);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const std::uint32_t p = g.Bitmap.Pixel((frame - 1) * w + col, row) & 0xFFFFFF;
            if (p != (key & 0xFFFFFF)) SetPixelV(dc, x + col, y + row, RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF));
        }
}
} // namespace

bool TGlyphSettings::Get(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Glyph")) {
        PropObject(value, &Bitmap);
    } else if (SameText(name, "NumGlyphs")) {
        PropInteger(value, NumGlyphs);
    } else if (SameText(name, "Margin")) {
        PropInteger(value, Margin);
    } else if (SameText(name, "Spacing")) {
        PropInteger(value, Spacing);
    } else if (SameText(name, "Layout")) {
        PropEnum(value, Layout, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
    } else {
        return false;
    }
    return true;
}

TBitBtn::TBitBtn(TComponent* AOwner, TWinControl* AParent) : TButton(AOwner, AParent) {}

bool TBitBtn::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Images")) return PropObject(value, images_);
    if (SameText(name, "ImageIndex")) return PropInteger(value, imageIndex_);
    if (SameText(name, "DisabledIndex")) return PropInteger(value, disabledIndex_);
    return Glyph.Get(name, value) || TButton::GetPropValue(name, value);
}

void TBitBtn::SetGlyph(HICON icon) {
    glyph_.Reset(icon);
    if (icon)
        Glyph.Bitmap.AssignIcon(icon, kGlyphKey);
    else
        Glyph.Bitmap.Clear();
    UpdateStyle();
}

void TBitBtn::SetImages(TImageList* images, int imageIndex, int disabledIndex) {
    images_ = images;
    imageIndex_ = imageIndex;
    disabledIndex_ = disabledIndex;
    UpdateStyle();
}

void TBitBtn::UpdateStyle() {
    // A picture makes the button draw itself; without one the system draws a push button.
    const bool picture = glyph_.Get() || (images_ && imageIndex_ >= 0);
    LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~LONG_PTR(BS_TYPEMASK);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style | (picture ? BS_OWNERDRAW : BS_PUSHBUTTON));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TBitBtn::WndProc(TMessage& m) {
    if (m.Msg == CN_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    }
    // An owner-drawn button sends a double click where a plain one sends two clicks.
    if (m.Msg == WM_LBUTTONDBLCLK) m.Msg = WM_LBUTTONDOWN;
    TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    RECT r = di.rcItem;
    const bool pushed = (di.itemState & ODS_SELECTED) != 0;
    const bool disabled = (di.itemState & ODS_DISABLED) != 0;
    const bool focused = (di.itemState & ODS_FOCUS) != 0;

    if (focused) {
        // The focused button carries the dark outer frame of the default button.
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
    if (pushed) FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));

    std::wstring text = Text();
    TSelectObject font(dc, Font().Handle());
    RECT tr{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &tr, DT_CALCRECT | DT_SINGLELINE);
    const bool listed = !glyph_.Get() && images_ && imageIndex_ >= 0;
    const int gw = glyph_.Get() ? GetSystemMetrics(SM_CXSMICON) : listed ? images_->Width() : 0;
    const int gh = glyph_.Get() ? GetSystemMetrics(SM_CYSMICON) : listed ? images_->Height() : 0;
    const int spacing = Glyph.Spacing >= 0 ? Glyph.Spacing : 4;
    const int total = gw + (gw && !text.empty() ? spacing : 0) + tr.right;
    int x = (r.left + r.right - total) / 2 + (pushed ? 1 : 0);
    const int cy = (r.top + r.bottom) / 2 + (pushed ? 1 : 0);
    if (glyph_.Get()) {
        DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_.Get()), 0, x, cy - gh / 2, gw, gh,
                  DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
        x += gw + spacing;
    } else if (listed) {
        if (!disabled)
            images_->Draw(dc, x, cy - gh / 2, imageIndex_);
        else if (disabledIndex_ >= 0)
            images_->Draw(dc, x, cy - gh / 2, disabledIndex_);
        else
            images_->Draw(dc, x, cy - gh / 2, imageIndex_, false);
        x += gw + spacing;
    }
    RECT textRect{x, cy - tr.bottom / 2, x + tr.right, cy - tr.bottom / 2 + tr.bottom};
    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        // Engraved text, as the system draws a disabled push button.
        OffsetRect(&textRect, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, text.c_str(), int(text.size()), &textRect, DT_SINGLELINE | DT_NOCLIP);
        OffsetRect(&textRect, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextW(dc, text.c_str(), int(text.size()), &textRect, DT_SINGLELINE | DT_NOCLIP);
    if (focused) {
        RECT fr = r;
        InflateRect(&fr, -4, -4);
        DrawFocusRect(dc, &fr);
    }
}

// ---- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    RegisterControlClass(L"TSpeedButton");
    CreateControl(AParent, L"TSpeedButton", WS_VISIBLE);
}

void TSpeedButton::SetDown(bool value) {
    if (value == down_) return;
    down_ = value;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TSpeedButton::Click() {
    if (OnClick) OnClick(this);
}

bool TSpeedButton::GetPropValue(const std::string& name, TPropValue& value) const {
    if (Glyph.Get(name, value)) return true;
    if (SameText(name, "Flat")) {
        PropBoolean(value, Flat);
        return true;
    }
    if (SameText(name, "Down")) {
        PropBoolean(value, down_);
        return true;
    }
    return TWinControl::GetPropValue(name, value);
}

bool TSpeedButton::SetPropValue(const std::string& name, const std::string& value) {
    if (SameText(name, "Flat") && (SameText(value, "True") || SameText(value, "False"))) {
        Flat = SameText(value, "True");
        InvalidateRect(hwnd_, nullptr, FALSE);
        return true;
    }
    return TWinControl::SetPropValue(name, value);
}

void TSpeedButton::MouseAt(bool inside) {
    if (inside == mouseIn_) return;
    mouseIn_ = inside;
    if (inside) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&t);
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
    Perform(inside ? kMouseEnter : kMouseLeave);
}

void TSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_PAINT: {
        TPaintDC dc(hwnd_, m.WParam);
        Paint(dc.Get());
        return;
    }
    case WM_MOUSEMOVE: {
        RECT r{};
        GetClientRect(hwnd_, &r);
        const POINT p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
        MouseAt(PtInRect(&r, p) != FALSE);
        return;
    }
    case WM_MOUSELEAVE:
        if (GetCapture() != hwnd_) MouseAt(false);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        SetCapture(hwnd_);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    case WM_LBUTTONUP: {
        const bool click = pressed_ && mouseIn_;
        pressed_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        InvalidateRect(hwnd_, nullptr, FALSE);
        if (click) Click();
        return;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    case WM_SETTEXT:
    case WM_ENABLE:
        TWinControl::WndProc(m);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    default:
        TWinControl::WndProc(m);
    }
}

void TSpeedButton::Paint(HDC dc) {
    RECT r{};
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const bool sunk = down_ || (pressed_ && mouseIn_);
    if (sunk)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (!Flat || mouseIn_)
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    const bool enabled = Enabled();
    // Glyph frames: 1 normal, 2 disabled, 3 pressed, 4 latched.
    const int frame = !enabled ? 2 : down_ ? 4 : sunk ? 3 : 1;
    const std::wstring text = Text();
    TSelectObject font(dc, Font().Handle());
    RECT tr{0, 0, 0, 0};
    if (!text.empty()) DrawTextW(dc, text.c_str(), int(text.size()), &tr, DT_CALCRECT | DT_SINGLELINE);
    const int n = Glyph.NumGlyphs > 0 ? Glyph.NumGlyphs : 1;
    const int gw = Glyph.Bitmap.Empty() ? 0 : Glyph.Bitmap.Width() / n, gh = Glyph.Bitmap.Height();
    const int spacing = gw && !text.empty() ? (Glyph.Spacing >= 0 ? Glyph.Spacing : 4) : 0;
    const int shift = sunk ? 1 : 0;
    int x = (r.right - gw - spacing - tr.right) / 2 + shift;
    DrawGlyphFrame(dc, Glyph, frame, x, (r.bottom - gh) / 2 + shift);
    x += gw + spacing;
    RECT textRect{x, (r.bottom - tr.bottom) / 2 + shift, x + tr.right, (r.bottom - tr.bottom) / 2 + shift + tr.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), int(text.size()), &textRect, DT_SINGLELINE | DT_NOCLIP);
}
