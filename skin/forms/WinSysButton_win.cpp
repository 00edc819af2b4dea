// Caption buttons and the non-client mouse input of a skinned window: layout, faces, hit testing,
// the hot-object state machine driven by non-client messages, the buttons' actions and the hover
// timer that un-highlights a button the mouse has left.
#include "skin/forms/WinSkinForm_win.h"


#include "skin/data/SkinDataCore.h"
#include "skin/forms/CaptionButtons.h"
#include "skin/forms/WinSkinForm.h"

#include <windowsx.h>

TWinSysButton::TWinSysButton(TWinSkinForm* form, const TDataSkinSysButton& entry)
    : TNCObject(form), Entry(entry), form_(form) {}

void TWinSysButton::Draw() {
    form_->DrawSysbtn(*this, State);
}

TCaptionState TWinSkinForm::CaptionState() const {
    TCaptionState s;
    s.Icons = icons_;
    s.State = state_;
    s.Border = border_;
    s.Active = active_;
    s.MDIChildMaximized = formStyle_ == sfsMDIform && MDIMaxFlag();
    s.RightToLeft = (exStyle_ & WS_EX_LEFTSCROLLBAR) != 0;
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    s.Width = wr.right - wr.left;
    s.Metrics = metrics_;
    s.TextRect = textRect_;
    s.MenuTileLeft = Model().MenuBar && !Model().MenuBar->Bitmap.Empty() ? Model().MenuBar->Margins.Left : 0;
    return s;
}

void TWinSkinForm::SetSysbtnRect() {
    const TCaptionState s = CaptionState();
    for (auto& b : buttons_) {
        b->Visible = SysButtonVisible(b->Entry, s);
        b->Rect = b->Visible ? SysButtonRect(b->Entry, s) : TRect{};
    }
}

bool TWinSkinForm::Checkvisible(int index) const {
    if (index < 0 || size_t(index) >= buttons_.size()) return false;
    return SysButtonVisible(buttons_[size_t(index)]->Entry, CaptionState());
}

void TWinSkinForm::DrawAllSysbtn() {
    for (auto& b : buttons_)
        if (SysButtonDrawn(b->Entry, b->Visible, b->Rect, TFacePass::Caption))
            DrawSysButtonFace(captionCache_.Bits(), captionBack_, b->Rect, b->Entry, kStateNormal, active_, iconFace_);
}

bool TWinSkinForm::SysButtonFace(TDib& piece, const TWinSysButton& b, int state, HDC windowDC) {
    const TRect r = b.Rect;
    if (!SysButtonDrawn(b.Entry, b.Visible, r, TFacePass::Mouse) || !piece.Resize(r.Width(), r.Height())) return false;
    // The strip under the button as the resting pass has it: the caption before the buttons, or
    // what the window shows outside the caption.
    const bool inCaption =
        r.Top >= 0 && r.Left >= 0 && r.Bottom <= captionBack_.Height() && r.Right <= captionBack_.Width();
    if (inCaption)
        DrawBitmap(piece.Bits(), -r.Left, -r.Top, captionBack_);
    else if (windowDC)
        BitBlt(piece.DC(), 0, 0, r.Width(), r.Height(), windowDC, r.Left, r.Top, SRCCOPY);
    GdiFlush();
    DrawSysButtonFace(piece.Bits(), piece.Bits(), Bounds(0, 0, r.Width(), r.Height()), b.Entry, state, active_,
                      iconFace_);
    return true;
}

void TWinSkinForm::DrawSysbtn(TWinSysButton& b, int state) {
    if ((lifecycle_ != kSkinned && lifecycle_ != kSkinChanging) || b.Rect.IsEmpty() || !IsWindowVisible(hwnd_)) return;
    TWindowDC window(hwnd_);
    HDC dc = window.Get();
    if (!dc) return;
    TDib piece;
    if (SysButtonFace(piece, b, state, dc)) {
        const TRect r = b.Rect;
        if (!captionCache_.Empty()) DrawBitmap(captionCache_.Bits(), r.Left, r.Top, piece.Bits());
        BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), piece.DC(), 0, 0, SRCCOPY);
    }
}

TNCObject* TWinSkinForm::FindBtn(int x, int y) const {
    for (const auto& b : buttons_)
        if (b->Visible && b->Entry.Action >= 0 && b->Rect.Contains(x, y)) return b.get();
    return menuBar_ ? menuBar_->FindBtn(x, y) : nullptr;
}

POINT TWinSkinForm::GetWinXY(int screenX, int screenY) const {
    POINT p{screenX, screenY};
    ScreenToClient(hwnd_, &p);
    if (state_ != swsMin) {
        p.x += metrics_.Left;
        p.y += metrics_.Caption + metrics_.MenuBar;
    }
    return p;
}

LRESULT TWinSkinForm::WMNCHitTest(WPARAM wParam, LPARAM lParam) {
    const LRESULT code = Default(WM_NCHITTEST, wParam, lParam);
    if (code != HTNOWHERE && code != HTCAPTION) return code;
    const POINT p = GetWinXY(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return RefineHitTest(int(code), p.y, metrics_);
}

LRESULT TWinSkinForm::WMNCMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!active_) return 0;
    const POINT p = GetWinXY(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (TNCObject* o = FindBtn(p.x, p.y)) {
        o->MouseEnter();
        return 0;
    }
    if (HotObject) HotObject->MouseLeave();
    return Default(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT TWinSkinForm::WMNCLButtonDown(WPARAM wParam, LPARAM lParam) {
    const POINT p = GetWinXY(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (TNCObject* o = FindBtn(p.x, p.y)) {
        if (!active_) SetForegroundWindow(hwnd_);
        o->MouseDown();
        if (auto* menuButton = dynamic_cast<TMenuBtn*>(o)) CheckMenu(*menuButton);
        return 0;
    }
    // A maximized window is not dragged by its caption.
    if (state_ == swsMax && active_ && wParam == HTCAPTION) return Default(WM_NCLBUTTONDOWN, HTMENU, lParam);
    return Default(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::WMNCLButtonUp(WPARAM wParam, LPARAM lParam) {
    const POINT p = GetWinXY(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    TNCObject* o = FindBtn(p.x, p.y);
    if (!o) return Default(WM_NCLBUTTONUP, wParam, lParam);
    // A click is a press and a release on the same button.
    if (o == HotObject && o->State == kStatePressed && dynamic_cast<TWinSysButton*>(o)) {
        o->MouseUp();
        SysBtnAction(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    }
    return 0;
}

LRESULT TWinSkinForm::WMNCLButtonDblClk(WPARAM wParam, LPARAM lParam) {
    const POINT p = GetWinXY(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (TNCObject* o = FindBtn(p.x, p.y)) {
        // A double-click on a button is that button's business: the icon closes the window, the
        // others act as for a click.
        auto* b = dynamic_cast<TWinSysButton*>(o);
        if (!b) return 0;
        if (ShowsWindowIcon(b->Entry.Action)) {
            StartTimer(false);
            PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        }
        b->MouseDown();
        b->MouseUp();
        SysBtnAction(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    }
    if (wParam != HTCAPTION) return 0;
    if (state_ != swsNormal)
        Restore();
    else if (icons_ & sbiMax)
        Maximize();
    return 0;
}

LRESULT TWinSkinForm::WMNCRButtonUp(WPARAM wParam, LPARAM lParam) {
    if (wParam == HTCAPTION && formStyle_ != sfsMDIChild) {
        PopSysmenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    }
    return Default(WM_NCRBUTTONDOWN, wParam, lParam);
}

void TWinSkinForm::SysBtnAction(int screenX, int screenY) {
    auto* b = dynamic_cast<TWinSysButton*>(HotObject);
    if (!b) return;
    const int action = b->Entry.Action;
    switch (action) {
    case sbaClose:
        StartTimer(false);
        PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case sbaMaximize:
    case sbaMaximize2:
        if (state_ == swsMax)
            Restore();
        else
            Maximize();
        break;
    case sbaMinimize:
    case sbaMinimize2:
        if (state_ == swsMin)
            Restore();
        else
            Minimize();
        break;
    case sbaIcon:
    case sbaIcon2:
    case sbaSysMenu:
        PopSysmenu(screenX + 1, screenY + 1);
        break;
    case sbaMDIMinimize:
    case sbaMDIMinimize2:
        MDIChildAction(SC_MINIMIZE);
        break;
    case sbaMDIRestore:
    case sbaMDIRestore2:
        MDIChildAction(SC_RESTORE);
        break;
    case sbaMDIClose:
    case sbaMDIClose2:
        MDIChildAction(SC_CLOSE);
        break;
    default:
        PostMessageW(hwnd_, WM_SKIN_BUTTON, WPARAM(action), 0);
        break;
    }
}

void TWinSkinForm::AnimationOff() {
    ANIMATIONINFO ai{};
    ai.cbSize = sizeof(ai);
    if (!animationSaved_ && SystemParametersInfoW(SPI_GETANIMATION, sizeof(ai), &ai, 0)) {
        savedAnimation_ = ai.iMinAnimate;
        animationSaved_ = true;
    }
    ai.iMinAnimate = 0;
    SystemParametersInfoW(SPI_SETANIMATION, sizeof(ai), &ai, 0);
}

void TWinSkinForm::RestoreAnimation() {
    if (!animationSaved_) return;
    ANIMATIONINFO ai{};
    ai.cbSize = sizeof(ai);
    ai.iMinAnimate = savedAnimation_;
    SystemParametersInfoW(SPI_SETANIMATION, sizeof(ai), &ai, 0);
    animationSaved_ = false;
}

void TWinSkinForm::Maximize() {
    if (formStyle_ == sfsMDIChild) SetMDIMax(true);
    AnimationOff();
    state_ = swsMax;
    if (HotObject) {
        HotObject->State = kStateNormal;
        HotObject = nullptr;
    }
    PostMessageW(hwnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TWinSkinForm::Minimize() {
    AnimationOff();
    state_ = swsMin;
    PostMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::Restore() {
    state_ = swsNormal;
    PostMessageW(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::OnTimer() {
    // Controls that draw a hot face hear of the mouse leaving them from here too.
    controls_.CheckHot(false);
    if (menuLoop_ || !HotObject) return;
    POINT c{};
    GetCursorPos(&c);
    const POINT p = GetWinXY(c.x, c.y);
    // The non-client area sends no leave message: the timer notices the mouse has gone.
    if (!HotObject->Rect.Contains(p.x, p.y) || WindowFromPoint(c) != hwnd_) HotObject->MouseLeave();
}

// ---- The menu bar

TMenuBtn::TMenuBtn(TWinSkinForm* form, int index) : TNCObject(form), Index(index), form_(form) {}

void TMenuBtn::Draw() {
    form_->PaintMenuButton(*this);
}

void TWinSkinForm::PaintMenuButton(const TMenuBtn& b) {
    if ((lifecycle_ != kSkinned && lifecycle_ != kSkinChanging) || !menuBar_ || !IsWindowVisible(hwnd_)) return;
    TWindowDC dc(hwnd_);
    if (dc.Get()) menuBar_->DrawButton(dc.Get(), b);
}
