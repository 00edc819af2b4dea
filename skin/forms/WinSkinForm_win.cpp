// The form skinner's life: made, started on a framework form or a plain window, taking the frame
// over, taking up a changed skin, giving the window back, and freed (Retire).
#include "skin/forms/WinSkinForm_win.h"

#include "skin/data/SkinDataCore.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinMenuItem_win.h"

#include "framework/Forms.h"
#include "framework/Menus.h"

TWinSkinForm::TWinSkinForm(TSkinDataCore* skinData) : skin_(skinData) {}

TWinSkinForm::~TWinSkinForm() {
    if (frameHook_.Hooked() && IsWindow(hwnd_) && lifecycle_ < kSkinDestroying) UnSubclass();
    RestoreProcedures();
    FreeParts();
    RestoreAnimation();
}

TWinSkinForm::TCall::~TCall() {
    if (--s_.depth_ == 0 && s_.retired_) delete &s_;
}

void TWinSkinForm::Retire(std::unique_ptr<TWinSkinForm> skinner) {
    if (!skinner || skinner->retired_) return;
    if (!skinner->Busy()) {
        skinner.reset();
        return;
    }
    TWinSkinForm* s = skinner.release();
    s->retired_ = true;
    if (s->frameHook_.Hooked() && IsWindow(s->hwnd_) && s->lifecycle_ < kSkinDestroying) s->UnSubclass();
    s->RestoreProcedures();
    s->StartTimer(false);
}

TWinSkinForm* TWinSkinForm::FromHandle(HWND hwnd) {
    return TFrameHook::OwnerOf(hwnd);
}

std::unique_ptr<TWinSkinForm> SkinWindow(HWND hwnd, TSkinDataCore* skinData) {
    auto skinner = std::make_unique<TWinSkinForm>(skinData);
    if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(hwnd)))
        skinner->InitTform(form);
    else
        skinner->InitSkin(hwnd);
    SendMessageW(hwnd, WM_SKIN_ACTIVE, 0, 1000);
    return skinner;
}

void TWinSkinForm::InitTform(TForm* form) {
    if (started_) return;
    form_ = form;
    if (skin_->SkinControls.Contains(xcMainMenu)) {
        oldWindowProc_ = form->WindowProc;
        form->WindowProc = [this](TMessage& m) { NewWndProc(m); };
        formHooked_ = true;
    }
    InitSkin(form->Handle());
    InitMenu(form, true);
    savedColor_ = form->Color;
    form->Color = skin_->Colors[csButtonFace];
}

void TWinSkinForm::InitSkin(HWND hwnd) {
    if (started_ || !IsWindow(hwnd)) return;
    started_ = true;
    hwnd_ = hwnd;
    // A form already laid out for a DPI (told by WM_DPICHANGED) is drawn at it; any other window at
    // its monitor's.
    dpi_ = form_ && form_->PixelsPerInch() != kDesignDpi ? form_->PixelsPerInch() : WindowDpi(hwnd);
    frameSkinning_ = skin_->SkinControls.Contains(xcMainMenu);

    style_ = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
    exStyle_ = DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    const HMENU sysMenu = GetSystemMenu(hwnd, FALSE);
    GetIcon();
    caption_ = GetFormCaption(hwnd);
    className_ = WindowClassName(hwnd);
    owner_ = GetWindow(hwnd, GW_OWNER);
    RECT wr{}, cr{};
    GetWindowRect(hwnd, &wr);
    GetClientRect(hwnd, &cr);
    startClient_ = SIZE{cr.right, cr.bottom};
    systemNonClient_ = SIZE{(wr.right - wr.left) - cr.right, (wr.bottom - wr.top) - cr.bottom};
    active_ = GetActiveWindow() == hwnd;

    if ((style_ & WS_SYSMENU) || sysMenu) icons_ |= sbisystem;
    if (style_ & WS_MINIMIZEBOX) icons_ |= sbiMin;
    if (style_ & WS_MAXIMIZEBOX) icons_ |= sbiMax;
    state_ = GetWindowstate();
    formStyle_ = GetFormstyle();
    if (formStyle_ == sfsMDIChild) {
        // A child never is the active window: it shows active as its client's active child in an
        // active frame.
        HWND client = GetParent(hwnd);
        active_ = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) == hwnd &&
                  GetActiveWindow() == GetAncestor(hwnd, GA_ROOT);
    }

    border_ = sbsSingle;
    if ((style_ & WS_POPUP) && (style_ & WS_CAPTION) != WS_CAPTION)
        border_ = sbsNone;
    else if (style_ & WS_THICKFRAME)
        border_ = sbsSizeable;
    else if (style_ & DS_MODALFRAME)
        border_ = sbsDialog;
    if (IsDialog()) border_ = sbsDialog;
    SubclassMDI();

    if (frameSkinning_) {
        if (HMENU menu = GetMenu(hwnd); menu && formStyle_ != sfsMDIChild) {
            menuBar_ = std::make_unique<TWinSkinMenu>(this);
            if (form_ && form_->Menu() && form_->Menu()->Handle() == menu)
                menuBar_->UpdataBtn(form_->Menu());
            else
                menuBar_->UpdataBtn2(menu);
        }
        if (!((formStyle_ == sfsMDIChild && MDIMaxFlag()) || state_ == swsMin)) EnableSysbtn(false);
        InitSkinData();
    } else {
        lifecycle_ = kSkinned;
    }

    frameHook_.Install(hwnd, this);
    if (formStyle_ == sfsMDIChild && state_ == swsMax && !MDIMaxFlag()) SetMDIMax(true);
    DiscoverControls();
    // A frame taken over later is repainted then (WM_SKIN_ACTIVE).
    if (!frameSkinning_) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::SkinActive() {
    if (lifecycle_ == kSkinCreated) {
        if (formStyle_ == sfsMDIChild && MDIMaxFlag()) {
            EnableSysbtn(true);
            Refresh();
        } else if (!IsIconic(hwnd_) && border_ != sbsNone) {
            lifecycle_ = kSkinResizing;
            ResizeForm(false, true);
            lifecycle_ = kSkinned;
            // The controls show the form's new colour.
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    lifecycle_ = kSkinned;
    StartTimer(true);
}

void TWinSkinForm::DiscoverControls() {
    if (form_)
        controls_.Discover(form_);
    else
        controls_.DiscoverWindows();
}

void TWinSkinForm::SkinChange() {
    if (form_) {
        form_->Color = skin_->Colors[csButtonFace];
        // Its child forms (an MDI form's documents, forms it owns) take the new face too.
        std::vector<TForm*> children;
        for (int i = 0; i < form_->MDIChildCount(); ++i)
            children.push_back(form_->MDIChildren(i));
        for (int i = 0; i < form_->ComponentCount(); ++i)
            if (auto* f = dynamic_cast<TForm*>(form_->Components(i))) children.push_back(f);
        for (TForm* f : children) {
            f->Color = skin_->Colors[csButtonFace];
            if (f->HandleAllocated()) InvalidateRect(f->Handle(), nullptr, TRUE);
        }
    }
    controls_.SkinChange();
    DiscoverControls();
    lifecycle_ = kSkinChanging;
    if (frameSkinning_) {
        InitSkinData();
        captionCache_.Reset();
        ResizeForm(true);
        RECT wr{};
        GetWindowRect(hwnd_, &wr);
        // A height change and back gives the window and its controls a new layout.
        const int w = wr.right - wr.left, h = wr.bottom - wr.top;
        SetWindowPos(hwnd_, nullptr, 0, 0, w, h + 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        // After the resize, which keeps the client area it reads from the window as it was.
        if (menuBar_) menuBar_->UpdataBtn3();
        Cropwindow();
    }
    if (form_)
        if (TWinControl* c = form_->ActiveControl(); c && c->CanFocus()) c->SetFocus();
    lifecycle_ = kSkinned;
    RePaint();
}

void TWinSkinForm::RestoreProcedures() {
    // The form's popup menus no longer call into this skinner.
    if (popupsSkinned_ && form_) {
        InitMenu(form_, false);
        ReleaseToolBars(form_);
    }
    // The saved procedures stay: a call still on the stack goes on through them.
    if (formHooked_ && form_) form_->WindowProc = oldWindowProc_;
    formHooked_ = false;
    // Put back only while the procedure is still ours: a later subclass keeps its place.
    frameHook_.Remove();
}

void TWinSkinForm::FreeParts() {
    StartTimer(false);
    controls_.RetireAll();
    UnSubclassMDI();
    ownerDraw_.reset();
    sysMenu_.reset();
    sysImages_.Reset();
    menuFont_.Reset();
    HotObject = nullptr;
    buttons_.clear();
    menuBar_.reset();
    captionCache_.Reset();
    captionBack_ = TBitmap32();
    captionFont_.Reset();
    faceBrush_.Reset();
    iconBitmap_ = TBitmap32();
    iconFace_ = TBitmap32();
}

void TWinSkinForm::UnSubclass2() {
    StartTimer(false);
    controls_.RetireAll();
    UnSubclassMDI();
    if (form_) form_->Color = savedColor_;
    RestoreProcedures();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::UnSubclass() {
    if (!frameHook_.Hooked() || !IsWindow(hwnd_) || lifecycle_ >= kSkinDestroying) {
        UnSubclass3();
        return;
    }
    if (!frameSkinning_) {
        UnSubclass2();
        return;
    }
    StartTimer(false);
    controls_.RetireAll();
    UnSubclassMDI();
    RestoreProcedures();
    if (form_) form_->Color = savedColor_;
    EnableSysbtn(true);
    if (menuBar_) {
        ::SetMenu(hwnd_, menuBar_->Menu());
        menuBar_.reset();
    }
    HotObject = nullptr;
    buttons_.clear();
    captionCache_.Reset();
    if (formStyle_ == sfsMDIChild || !(style_ & WS_CHILD)) {
        RECT wr{};
        GetWindowRect(hwnd_, &wr);
        if (formStyle_ == sfsMDIChild) MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&wr), 2);
        const int w = wr.right - wr.left + systemNonClient_.cx - (metrics_.Left + metrics_.Right);
        const int h =
            wr.bottom - wr.top + systemNonClient_.cy - (metrics_.Caption + metrics_.MenuBar + metrics_.Bottom);
        SetWindowPos(hwnd_, nullptr, wr.left, wr.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    Uncropwindow();
    lifecycle_ = kSkinDestroyed;
}

void TWinSkinForm::UnSubclass3() {
    StartTimer(false);
    controls_.RetireAll();
    UnSubclassMDI();
    RestoreProcedures();
    HotObject = nullptr;
    buttons_.clear();
    // The menu taken off the window goes back on it, so it goes with the window.
    if (menuBar_ && menuBar_->Menu() && IsWindow(hwnd_) && !GetMenu(hwnd_) && IsMenu(menuBar_->Menu()))
        ::SetMenu(hwnd_, menuBar_->Menu());
    menuBar_.reset();
    captionCache_.Reset();
}
