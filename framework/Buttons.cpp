#include "framework/Buttons.h"

TBitBtn::TBitBtn(TComponent* AOwner, TWinControl* AParent) : TButton(AOwner, AParent) {}

void TBitBtn::SetGlyph(HICON icon) {
    glyph_.Reset(icon);
    LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~LONG_PTR(BS_TYPEMASK);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style | (icon ? BS_OWNERDRAW : BS_PUSHBUTTON));
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
    const int gw = glyph_.Get() ? GetSystemMetrics(SM_CXSMICON) : 0;
    const int gh = glyph_.Get() ? GetSystemMetrics(SM_CYSMICON) : 0;
    const int total = gw + (gw && !text.empty() ? Spacing : 0) + tr.right;
    int x = (r.left + r.right - total) / 2 + (pushed ? 1 : 0);
    const int cy = (r.top + r.bottom) / 2 + (pushed ? 1 : 0);
    if (glyph_.Get()) {
        DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_.Get()), 0, x, cy - gh / 2, gw, gh,
                  DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
        x += gw + Spacing;
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
