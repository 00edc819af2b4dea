// The MDI client of a skinned MDI main form: its messages are watched so that the frame follows
// the children (the maximized child's buttons in the menu bar row, the menu a child brings, new
// children skinned as they come).
#include "skin/forms/WinSkinForm_win.h"

#include "skin/data/SkinDataCore.h"
#include "skin/forms/SkinManage_win.h"

#include "framework/Forms.h"

void TWinSkinForm::SubclassMDI() {
    if (mdiClient_ || formStyle_ != sfsMDIform) return;
    HWND client = MDIClient();
    if (!client || TMDIHook::OwnerOf(client)) return;
    mdiClient_ = client;
    savedMenuUpdate_ = skin_->MenuUpdate;
    mdiHook_.Install(client, this);
    if (form_) ChangeMDIStyle();
    if (SkinManager) {
        SkinManager->MDIClient = client;
        SkinManager->MDIForm = form_;
    }
}

void TWinSkinForm::UnSubclassMDI() {
    if (!mdiClient_) return;
    mdiHook_.Remove();
    if (SkinManager && SkinManager->MDIClient == mdiClient_) {
        SkinManager->MDIClient = nullptr;
        SkinManager->MDIForm = nullptr;
    }
    mdiClient_ = nullptr;
    pendingChild_ = nullptr;
}

LRESULT TWinSkinForm::MDIHookProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    TCall call(*this);
    return NoThrow(0, [&] { return WinMDIProc(msg, wParam, lParam); });
}

LRESULT TWinSkinForm::DefaultMDI(UINT msg, WPARAM wParam, LPARAM lParam) {
    return mdiHook_.CallPrevious(msg, wParam, lParam);
}

LRESULT TWinSkinForm::WinMDIProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCDESTROY: {
        const LRESULT r = DefaultMDI(msg, wParam, lParam);
        UnSubclassMDI();
        return r;
    }
    case WM_NCCALCSIZE:
        if (frameSkinning_) {
            const LONG_PTR style = GetWindowLongPtrW(mdiClient_, GWL_STYLE);
            if (style & (WS_HSCROLL | WS_VSCROLL))
                SetWindowLongPtrW(mdiClient_, GWL_STYLE, style & ~LONG_PTR(WS_HSCROLL | WS_VSCROLL));
        }
        return DefaultMDI(msg, wParam, lParam);
    case WM_MDICREATE: {
        skin_->MenuUpdate = false;
        const LRESULT r = DefaultMDI(msg, wParam, lParam);
        pendingChild_ = reinterpret_cast<HWND>(r);
        return r;
    }
    case WM_MDIDESTROY: {
        const LRESULT r = DefaultMDI(msg, wParam, lParam);
        if (frameSkinning_) {
            SetMDIMax(MDIChildMax());
            if (menuBar_ && !(SkinManager && SkinManager->GetMDIChildNum() > 0)) {
                skin_->MenuUpdate = savedMenuUpdate_;
                menuBar_->UpdataBtn3();
            }
            UpdateNc();
        }
        return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (frameSkinning_ && MDIMaxFlag()) SetMDIMax(false);
        return DefaultMDI(msg, wParam, lParam);
    case WM_MDISETMENU: {
        const LRESULT r = DefaultMDI(msg, wParam, lParam);
        if (frameSkinning_) {
            HMENU menu = reinterpret_cast<HMENU>(wParam);
            if (menu && menuBar_ && (menu != menuBar_->Menu() || pendingChild_)) menuBar_->UpdataBtn2(GetMenu(hwnd_));
            // The skin draws the bar: the system's goes.
            ::SetMenu(hwnd_, nullptr);
            UpdateNc();
        }
        return r;
    }
    case WM_MDIREFRESHMENU: {
        const LRESULT r = DefaultMDI(msg, wParam, lParam);
        if (pendingChild_ && SkinManager) SkinManager->AddForm(pendingChild_);
        PostMessageW(hwnd_, WM_SKIN_UPDATENC, 0, 0);
        pendingChild_ = nullptr;
        return r;
    }
    default:
        return DefaultMDI(msg, wParam, lParam);
    }
}

bool TWinSkinForm::MDIChildMax() const {
    if (formStyle_ != sfsMDIform) return false;
    HWND client = MDIClient();
    if (!client) return false;
    BOOL maximized = FALSE;
    const HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    return child && maximized;
}

void TWinSkinForm::ChangeMDIStyle() {
    HWND client = MDIClient();
    if (!client) return;
    SetWindowLongPtrW(client, GWL_STYLE, GetWindowLongPtrW(client, GWL_STYLE) & ~LONG_PTR(WS_HSCROLL | WS_VSCROLL));
    SetWindowLongPtrW(client, GWL_EXSTYLE, GetWindowLongPtrW(client, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_CLIENTEDGE));
    SetWindowPos(client, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::MDIChildAction(UINT command) {
    if (formStyle_ != sfsMDIform) return;
    HWND client = MDIClient();
    HWND child = client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    if (!child) return;
    AnimationOff();
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
    RestoreAnimation();
    if (MDIMaxFlag() && !MDIChildMax()) SetMDIMax(false);
    UpdateNc();
}

void TWinSkinForm::RestoreMDI() {
    if (formStyle_ != sfsMDIform || !form_) return;
    HWND client = MDIClient();
    HWND child = client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    if (child) SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
}

void TWinSkinForm::SelectMDIform(HWND child) {
    HWND client = formStyle_ == sfsMDIform ? MDIClient() : nullptr;
    if (!client || !child || GetParent(child) != client) return;
    // The system keeps a maximized state across the switch: the new child comes up maximized.
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
    UpdateNc();
}
