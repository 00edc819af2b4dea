// The form skinner's message dispatch and frame: the hook procedure, the messages it answers, the
// frame's sizes, activation and the system commands.
#include "skin/forms/WinSkinForm_win.h"

#include "skin/data/SkinDataCore.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinMenuItem_win.h"

#include "framework/Forms.h"
#include "framework/Menus.h"

#include <windowsx.h>

namespace {
constexpr UINT_PTR kHoverTimer = 0x3517;
bool gMDIMax = false;
} // namespace

bool MDIMaxFlag() {
    return gMDIMax;
}

void StoreMDIMax(bool value) {
    gMDIMax = value;
}

void SetMDIMax(bool value) {
    if (SkinManager)
        SkinManager->SetMDIMax(value);
    else
        gMDIMax = value;
}

void TWinSkinForm::RestoreNormal() {
    state_ = swsNormal;
    RebuildRegion();
    EnableSysbtn(false);
    if (!regionSet_) UpdateNc();
}

const TSkinModel& TWinSkinForm::Model() const {
    return skin_->AtDpi(dpi_);
}

void TWinSkinForm::InitSkinData() {
    if (skin_->Loading) return;
    metrics_ = FrameMetricsOf(Model(), border_, menuBar_ ? MetricForDpi(SM_CYMENU, dpi_) : 0);
    buttons_.clear();
    HotObject = nullptr;
    for (const TDataSkinSysButton& entry : Model().SysButtons) {
        auto b = std::make_unique<TWinSysButton>(this, entry);
        if (ShowsWindowIcon(entry.Action) && b->Entry.Bitmap.Empty()) {
            b->Entry.Bitmap = iconBitmap_;
            b->Entry.FrameCount = 1;
        }
        if (ShowsWindowIcon(entry.Action) && skin_->WorkBitmap.Empty()) skin_->WorkBitmap = iconBitmap_;
        buttons_.push_back(std::move(b));
    }
    faceBrush_.Reset();
}

TSkinWindowState TWinSkinForm::GetWindowstate() const {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(hwnd_, &wp)) return swsNormal;
    switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        return swsMin;
    case SW_SHOWMAXIMIZED:
        return swsMax;
    default:
        return swsNormal;
    }
}

TSkinFormStyle TWinSkinForm::GetFormstyle() {
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (WindowClassName(c) == L"MDIClient") return sfsMDIform;
    if (exStyle_ & WS_EX_MDICHILD) return sfsMDIChild;
    return sfsNormal;
}

HWND TWinSkinForm::MDIClient() const {
    if (formStyle_ == sfsMDIChild) return GetParent(hwnd_);
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (WindowClassName(c) == L"MDIClient") return c;
    return nullptr;
}


void TWinSkinForm::EnableSysbtn(bool enable) {
    if (!IsWindow(hwnd_)) return;
    if (!enable && formStyle_ == sfsMDIChild && MDIMaxFlag()) return;
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    LONG_PTR next = style;
    if (!enable) {
        if (owner_ || formStyle_ == sfsMDIChild) {
            next &= ~LONG_PTR(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
        } else {
            // Only the caption bits the window had come back later: a captionless popup stays so.
            if (style & WS_CAPTION) {
                takenCaption_ = DWORD(style & WS_CAPTION);
                icons_ |= sbicaption;
            }
            next &= ~LONG_PTR(WS_CAPTION);
        }
    } else {
        if (icons_ & sbisystem) next |= WS_SYSMENU;
        if (icons_ & sbiMin) next |= WS_MINIMIZEBOX;
        if (icons_ & sbiMax) next |= WS_MAXIMIZEBOX;
        if (icons_ & sbicaption) next |= LONG_PTR(takenCaption_);
    }
    if (next != style) SetWindowLongPtrW(hwnd_, GWL_STYLE, next);
}

LRESULT TWinSkinForm::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return frameHook_.Previous() ? frameHook_.CallPrevious(msg, wParam, lParam)
                                 : DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT TWinSkinForm::FrameHookProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The call may free the skinner when it ends (Retire): nothing of it is read after.
    TCall call(*this);
    return NoThrow(0, [&] { return WinWndProc(msg, wParam, lParam); });
}

LRESULT TWinSkinForm::WinWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return WMEraseBkgnd(wParam, lParam);
    case WM_STYLECHANGED: {
        const auto* ss = reinterpret_cast<const STYLESTRUCT*>(lParam);
        if (wParam == WPARAM(GWL_STYLE)) style_ = ss->styleNew;
        if (wParam == WPARAM(GWL_EXSTYLE)) exStyle_ = ss->styleNew;
        return Default(msg, wParam, lParam);
    }
    case WM_NCDESTROY: {
        lifecycle_ = kSkinDestroying;
        const WNDPROC old = frameHook_.Previous();
        const HWND hwnd = hwnd_;
        UnSubclass3();
        const LRESULT r =
            old ? CallWindowProcW(old, hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
        lifecycle_ = kSkinDestroyed;
        return r;
    }
    case WM_CTLCOLORBTN: {
        const LRESULT r = Default(msg, wParam, lParam);
        if (!form_) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return r;
    }
    case WM_CTLCOLORSTATIC:
        return WMCtlcolor(msg, wParam, lParam);
    case WM_SKIN_QUERY:
        return 1;
    case WM_DPICHANGED:
        return WMDpiChanged(wParam, lParam);
    case WM_MEASUREITEM:
        return WMMeasureItem(wParam, lParam);
    case WM_DRAWITEM:
        return WMDrawItem(wParam, lParam);
    case WM_MENUCHAR:
        return WMMenuChar(wParam, lParam);
    case WM_MENUSELECT:
        // Reaches the owner only: the menu tracking learns the selection here.
        if (menuLoop_) {
            lastMenu_ = reinterpret_cast<HMENU>(lParam);
            lastItemOpens_ = (HIWORD(wParam) & MF_POPUP) != 0 && HIWORD(wParam) != 0xFFFF;
            // A submenu's item comes by position, a command by its id.
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_FTYPE;
            lastItemRtl_ = lastMenu_ && HIWORD(wParam) != 0xFFFF &&
                           GetMenuItemInfoW(lastMenu_, LOWORD(wParam), (HIWORD(wParam) & MF_POPUP) != 0, &mii) &&
                           (mii.fType & MFT_RIGHTORDER) != 0;
        }
        break;
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            OnTimer();
            return 0;
        }
        break;
    default:
        break;
    }
    if (!frameSkinning_ || ((style_ & WS_CHILD) && formStyle_ != sfsMDIChild)) return Default(msg, wParam, lParam);
    bool handled = false;
    const LRESULT r = FrameMessage(msg, wParam, lParam, handled);
    return handled ? r : Default(msg, wParam, lParam);
}

LRESULT TWinSkinForm::FrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (msg) {
    case WM_SIZE:
        return WMSize(wParam, lParam);
    case WM_ACTIVATE:
        // Passed on all the same: the window's own handler moves the focus.
        active_ = LOWORD(wParam) != WA_INACTIVE;
        handled = false;
        return 0;
    case WM_GETMINMAXINFO:
        return WMGetMinMaxInfo(wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        state_ = GetWindowstate();
        handled = false;
        return 0;
    case WM_SYSCOMMAND:
        return WMSysCommand(wParam, lParam);
    case WM_COMMAND:
        return WMCommand(wParam, lParam, handled);
    case WM_SETTEXT:
        return WMSetText(wParam, lParam);
    case WM_SETICON: {
        // The caption buttons that show the window's icon show the new one.
        const LRESULT r = Default(msg, wParam, lParam);
        if (started_) {
            GetIcon();
            UpdateNc();
        }
        return r;
    }
    case WM_SKIN_ACTIVE:
        SkinActive();
        return 0;
    default:
        break;
    }
    if (msg == WM_NCACTIVATE) active_ = wParam != FALSE;
    const bool systemFrame =
        (formStyle_ == sfsMDIChild && state_ != swsNormal) || IsIconic(hwnd_) || lifecycle_ == kSkinCreated;
    if (!systemFrame) {
        switch (msg) {
        case WM_NCCALCSIZE:
            return WMNCCalcSize(wParam, lParam);
        case WM_NCHITTEST:
            return WMNCHitTest(wParam, lParam);
        case WM_NCPAINT:
            return WMNCPaint(wParam);
        case WM_NCACTIVATE:
            return WMNCActive(wParam, lParam);
        case WM_NCMOUSEMOVE:
            return WMNCMouseMove(wParam, lParam);
        case WM_NCLBUTTONDOWN:
            return WMNCLButtonDown(wParam, lParam);
        case WM_NCLBUTTONUP:
            return WMNCLButtonUp(wParam, lParam);
        case WM_NCLBUTTONDBLCLK:
            return WMNCLButtonDblClk(wParam, lParam);
        case WM_NCRBUTTONDOWN:
            return WMNCRButtonUp(wParam, lParam);
        case WM_SKIN_UPDATENC:
            UpdateNc();
            return 0;
        default:
            break;
        }
    }
    handled = false;
    return 0;
}

void TWinSkinForm::NewWndProc(TMessage& m) {
    TCall call(*this);
    if (m.Msg == CM_MENUCHANGED && !retired_) {
        MenuChanged(m);
        return;
    }
    if (m.Msg == CM_DIALOGCHAR && !retired_) {
        CMDialogChar(m);
        return;
    }
    if (m.Msg == WM_SKIN_CHANGE && !retired_) {
        SkinChange();
        m.Result = 0;
        return;
    }
    if (oldWindowProc_) oldWindowProc_(m);
}

void TWinSkinForm::MenuChanged(TMessage& m) {
    // Passed on without frame painting meanwhile; then the bar follows the form's menu.
    const bool painting = skin_->MainMenuUpdate;
    skin_->MainMenuUpdate = false;
    if (oldWindowProc_) oldWindowProc_(m);
    skin_->MainMenuUpdate = painting;
    if (retired_ || !frameSkinning_ || lifecycle_ >= kSkinDestroying || !form_ || formStyle_ == sfsMDIChild) return;
    if (!skin_->MenuUpdate) {
        // The bar keeps its buttons until it may follow again (a skin change, the last MDI child
        // gone), but the system's own bar never shows on top of the skin's.
        if (menuBar_ && GetMenu(hwnd_)) ::SetMenu(hwnd_, nullptr);
        return;
    }
    if (form_->Menu()) {
        if (!menuBar_) menuBar_ = std::make_unique<TWinSkinMenu>(this);
        menuBar_->UpdataBtn(form_->Menu());
    } else if (menuBar_) {
        HotObject = nullptr;
        menuBar_.reset();
        ::SetMenu(hwnd_, nullptr);
    }
    metrics_ = FrameMetricsOf(Model(), border_, menuBar_ ? MetricForDpi(SM_CYMENU, dpi_) : 0);
    SetSysbtnRect();
    Refresh();
    UpdateNc();
}

LRESULT TWinSkinForm::WMNCCalcSize(WPARAM wParam, LPARAM lParam) {
    // The proposal is read before the saved procedure runs: it may rewrite it, and older Wine
    // passes zeros in lppos when the window neither moves nor changes size.
    RECT* proposed = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const RECT window = *proposed;
    const LRESULT r = Default(WM_NCCALCSIZE, wParam, lParam);
    if ((formStyle_ == sfsMDIChild && state_ != swsNormal) || border_ == sbsNone) return r;
    const TRect c = SkinClientRect(TRect{window.left, window.top, window.right, window.bottom}, metrics_);
    *proposed = RECT{c.Left, c.Top, c.Right, c.Bottom};
    // The redraw answer (for CS_HREDRAW | CS_VREDRAW classes) stands; the valid rectangles the
    // system computed were for its own client area, not the skin's.
    return wParam ? (r & ~LRESULT(WVR_VALIDRECTS)) : 0;
}

LRESULT TWinSkinForm::WMDpiChanged(WPARAM wParam, LPARAM lParam) {
    const int dpi = HIWORD(wParam);
    if (dpi < 1 || dpi == dpi_) return Default(WM_DPICHANGED, wParam, lParam);
    dpi_ = dpi;
    captionFont_.Reset();
    menuFont_.Reset();
    if (menuBar_) menuBar_->DpiChanged();
    // The window's icon at the small-icon size of the new DPI.
    if (started_) GetIcon();
    // Metrics and caption buttons first: the form's handler takes the suggested rectangle next,
    // and the non-client size it computes must be the new one.
    if (started_ && !skin_->Loading) {
        InitSkinData();
        SetSysbtnRect();
    }
    const LRESULT r = Default(WM_DPICHANGED, wParam, lParam);
    // The control skinners' images made from the skin (a tab's turned strip...) at the new DPI.
    controls_.SkinChange();
    if (started_ && !skin_->Loading && lifecycle_ == kSkinned) {
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Cropwindow();
        Refresh();
        UpdateNc();
    }
    return r;
}

LRESULT TWinSkinForm::WMSize(WPARAM wParam, LPARAM lParam) {
    const LRESULT r = Default(WM_SIZE, wParam, lParam);
    if (wParam == SIZE_RESTORED)
        state_ = swsNormal;
    else if (wParam == SIZE_MINIMIZED)
        state_ = swsMin;
    else if (wParam == SIZE_MAXIMIZED)
        state_ = swsMax;
    if (wParam == SIZE_MINIMIZED || (lifecycle_ != kSkinned && lifecycle_ != kSkinChanging)) return r;
    // Back from the minimized state the system caption, given back for the icon, goes again.
    if (formStyle_ != sfsMDIChild) EnableSysbtn(false);
    if (formStyle_ != sfsMDIChild || (!MDIMaxFlag() && state_ == swsNormal)) Cropwindow();
    return r;
}

LRESULT TWinSkinForm::WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
    const LRESULT r = Default(WM_GETMINMAXINFO, wParam, lParam);
    state_ = GetWindowstate();
    if (state_ == swsMin) {
        EnableSysbtn(true);
    } else if (formStyle_ != sfsMDIChild) {
        EnableSysbtn(false);
    } else if (state_ == swsNormal) {
        if (MDIMaxFlag()) SetMDIMax(false);
        EnableSysbtn(false);
    } else {
        if (!MDIMaxFlag()) SetMDIMax(true);
        EnableSysbtn(true);
    }
    if (border_ == sbsSizeable) {
        auto* mm = reinterpret_cast<MINMAXINFO*>(lParam);
        mm->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    }
    return r;
}

LRESULT TWinSkinForm::WMNCActive(WPARAM wParam, LPARAM) {
    SetActive(wParam != FALSE);
    if (!(formStyle_ == sfsMDIChild && state_ != swsNormal)) UpdateNc();
    return 1;
}

void TWinSkinForm::SetActive(bool active) {
    active_ = active;
    StartTimer(active);
}

void TWinSkinForm::StartTimer(bool on) {
    if (on == timerOn_) return;
    if (on)
        timerOn_ = IsWindow(hwnd_) && SetTimer(hwnd_, kHoverTimer, 250, nullptr) != 0;
    else {
        if (IsWindow(hwnd_)) KillTimer(hwnd_, kHoverTimer);
        timerOn_ = false;
        // No timer is left to tell the hovered control that the mouse went: it is told now, if
        // the mouse is not over it, and let go either way.
        controls_.CheckHot(true);
    }
}

LRESULT TWinSkinForm::WMSetText(WPARAM wParam, LPARAM lParam) {
    // The system paints its own caption while it stores the text of a window whose style has the
    // caption bits; without them for the time of the call it only stores it.
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const bool strip = (style & WS_CAPTION) == WS_CAPTION;
    if (strip) SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~LONG_PTR(WS_CAPTION));
    const LRESULT r = Default(WM_SETTEXT, wParam, lParam);
    if (strip) SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    caption_ = GetFormCaption(hwnd_);
    UpdateNc();
    return r;
}

LRESULT TWinSkinForm::WMSysCommand(WPARAM wParam, LPARAM lParam) {
    const UINT command = UINT(wParam & 0xFFF0);
    if (command == SC_KEYMENU && menuBar_ && !menuLoop_ && !GetCapture()) {
        // The system's own menu bar is gone, so it must not enter its menu mode: Alt or F10 alone
        // light the skin's bar, Alt with a letter opens the menu it underlines.
        const wchar_t key = wchar_t(lParam);
        if (key == 0) {
            MenuBarKeys();
            return 0;
        }
        if (key != L' ' && key != L'-') {
            if (TMenuBtn* target = menuBar_->FindButtonFromAccel(key)) {
                target->MouseDown();
                CheckMenu(*target);
                return 0;
            }
        }
    }
    if (command == SC_MINIMIZE) state_ = swsMin;
    if (command == SC_MAXIMIZE) state_ = swsMax;
    if (command == SC_RESTORE) state_ = swsNormal;
    const LRESULT r = Default(WM_SYSCOMMAND, wParam, lParam);
    RestoreAnimation();
    return r;
}

LRESULT TWinSkinForm::WMCommand(WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (LOWORD(wParam) & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        // Only from a menu (no control sends it); menus of ours show system commands as items.
        if (lParam == 0 && HIWORD(wParam) == 0) {
            PostMessageW(hwnd_, WM_SYSCOMMAND, LOWORD(wParam), 0);
            return 0;
        }
        break;
    default:
        break;
    }
    handled = false;
    return 0;
}

LRESULT TWinSkinForm::WMEraseBkgnd(WPARAM wParam, LPARAM lParam) {
    const LRESULT r = Default(WM_ERASEBKGND, wParam, lParam);
    if (form_) return r;
    RECT c{};
    GetClientRect(hwnd_, &c);
    FillRect(reinterpret_cast<HDC>(wParam), &c, FaceBrush());
    return 1;
}

LRESULT TWinSkinForm::WMCtlcolor(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT r = Default(msg, wParam, lParam);
    // Static text stands on the skin's face: it takes the skin's window text colour, so that it
    // reads on a dark skin's face as on a light one's. A disabled control keeps the system's grey.
    if (skin_ && !IsSystemColor(skin_->Colors[csText]) && IsWindowEnabled(reinterpret_cast<HWND>(lParam)))
        SetTextColor(reinterpret_cast<HDC>(wParam), SkinColorRGB(skin_->Colors[csText]));
    if (form_) return r;
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(FaceBrush());
}

HBRUSH TWinSkinForm::FaceBrush() {
    if (!faceBrush_) {
        const TColor c = skin_->FaceBrush.Exists ? skin_->FaceBrush.Color : skin_->Colors[csButtonFace];
        faceBrush_.Reset(CreateSolidBrush(SkinColorRGB(c)));
    }
    return faceBrush_.Get();
}

void TWinSkinForm::Refresh() {
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::RePaint() {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinSkinForm::ResizeForm(bool useCurrent, bool cropFirst) {
    if (IsZoomed(hwnd_)) {
        Refresh();
        return;
    }
    SIZE client = startClient_;
    if (useCurrent) {
        RECT cr{};
        GetClientRect(hwnd_, &cr);
        client = SIZE{cr.right, cr.bottom};
    }
    int width = client.cx + metrics_.Left + metrics_.Right;
    const int height = client.cy + metrics_.Caption + metrics_.Bottom + metrics_.MenuBar;
    if (!useCurrent && IsDialog()) {
        TClientDC screen(nullptr);
        TSelectObject font(screen.Get(), NonClientFont(captionFont_, false, dpi_));
        SIZE blank{};
        GetTextExtentPoint32W(screen.Get(), L" ", 1, &blank);
        const int minWidth = DialogMinWidth(int(caption_.size()), blank.cx, metrics_, Model().Title);
        if (width < minWidth) {
            // The dialog grows to show its caption; its controls stay centred.
            const int shift = (minWidth - width) / 2;
            for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                RECT r{};
                GetWindowRect(c, &r);
                MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
                SetWindowPos(c, nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            width = minWidth;
        }
    }
    if (cropFirst) {
        lifecycle_ = kSkinned;
        CropTo(width, height, false);
    }
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // The size the window took (the system may clamp it), whether or not a WM_SIZE came.
    if (cropFirst) Cropwindow();
}

void TWinSkinForm::KeepClient() {
    ResizeForm(true);
}
