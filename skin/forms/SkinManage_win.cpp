#include "skin/forms/SkinManage_win.h"

#include "skin/forms/WinSkinData_win.h"
#include "skin/forms/WinSkinForm.h"

#include "framework/Dpi.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

#include <algorithm>

TSkinManage* SkinManager = nullptr;
TWinSkinPopMenu* WaitingPopMenu = nullptr;

namespace {
std::string ClassNameOf(HWND hwnd) {
    return WideToUtf8(WindowClassName(hwnd));
}
} // namespace

TSkinManage* StartSkinEngine() {
    if (!SkinManager) {
        SkinManager = new TSkinManage;
        SkinManager->InstallHook();
    }
    return SkinManager;
}

void StopSkinEngine() {
    TSkinManage* m = SkinManager;
    delete m;
    SkinManager = nullptr;
}

// ---- Popup menu windows

TWinSkinPopMenu::~TWinSkinPopMenu() {
    UnSubClass();
}

void TWinSkinPopMenu::InitSkin(HWND hwnd, TSkinDataCore* skin, HMENU menu) {
    Handle = hwnd;
    skin_ = skin;
    Menu = menu;
    hook_.Install(hwnd, this);
}

void TWinSkinPopMenu::UnSubClass() {
    if (WaitingPopMenu == this) WaitingPopMenu = nullptr;
    hook_.Remove();
    background_ = TBitmap32();
}

LRESULT TWinSkinPopMenu::HookProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    return NoThrow(0, [&] { return WinWndProc(msg, wParam, lParam); });
}

LRESULT TWinSkinPopMenu::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The procedure replaced stays known after UnSubClass: a call on the stack goes on through it.
    return hook_.Previous() ? hook_.CallPrevious(msg, wParam, lParam) : DefWindowProcW(Handle, msg, wParam, lParam);
}

const TBitmap32& TWinSkinPopMenu::Background() {
    // The popup window is at its owner's DPI.
    const TDataSkinObject* image =
        skin_ && !skin_->Loading ? skin_->AtDpi(WindowDpi(Handle)).MenuBackground.get() : nullptr;
    if (!image || image->Bitmap.Empty()) {
        background_ = TBitmap32();
        return background_;
    }
    RECT r{};
    GetWindowRect(Handle, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // Rendered again only when the window's size changes: every paint asks for it.
    if (background_.Width() != w || background_.Height() != h)
        background_ = GetHMap(Bounds(0, 0, w, h), image->Bitmap, image->Margins, 1, 1, image->Tile != 0, false);
    return background_;
}

int TWinSkinPopMenu::ClientInset() const {
    RECT r{};
    GetWindowRect(Handle, &r);
    POINT p{0, 0};
    ClientToScreen(Handle, &p);
    return p.x - r.left;
}

void TWinSkinPopMenu::PaintRing(HDC dc) {
    const TBitmap32& back = background_;
    const int W = back.Width(), H = back.Height();
    if (back.Empty() || W < 6 || H < 6) return;
    auto piece = [&](const TRect& r) {
        TBitmap32 part(r.Width(), r.Height());
        DrawBitmap(part, -r.Left, -r.Top, back);
        BlitBitmap(dc, r.Left, r.Top, part);
    };
    piece(TRect{0, 0, W, 3});
    piece(TRect{0, H - 3, W, H});
    piece(TRect{0, 3, 3, H - 3});
    piece(TRect{W - 3, 3, W, H - 3});
}

LRESULT TWinSkinPopMenu::WinWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SKIN_QUERY) return 1;
    if (!SkinManager || !SkinManager->Active) return Default(msg, wParam, lParam);
    switch (msg) {
    case WM_DESTROY: {
        const HWND hwnd = Handle;
        const WNDPROC old = hook_.Previous();
        UnSubClass();
        return old ? CallWindowProcW(old, hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_NCPAINT:
        // Where the system keeps a frame outside the items, the skin paints it instead.
        if (ClientInset() == 0 || Background().Empty()) return Default(msg, wParam, lParam);
        if (!Menu) WaitingPopMenu = this;
        if (TWindowDC dc(Handle); dc.Get()) PaintRing(dc.Get());
        return 0;
    case WM_PAINT: {
        // Where the system paints its frame inside the client area (Wine), the ring goes over it.
        // The items drawn in this paint tell a window that waits which menu it shows.
        const bool ring = ClientInset() == 0 && !Background().Empty();
        if (ring && !Menu) WaitingPopMenu = this;
        const LRESULT r = Default(msg, wParam, lParam);
        if (ring) {
            if (TWindowDC dc(Handle); dc.Get()) PaintRing(dc.Get());
        }
        return r;
    }
    case WM_PRINT:
        return WMPrint(wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}

LRESULT TWinSkinPopMenu::WMPrint(WPARAM wParam, LPARAM lParam) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (Background().Empty()) return Default(WM_PRINT, wParam, lParam);
    if (!Menu) WaitingPopMenu = this;
    BlitBitmap(dc, 0, 0, background_);
    const int mode = SetBkMode(dc, TRANSPARENT);
    const int inset = 3;
    LRESULT r = 0;
    {
        TRgn inside(CreateRectRgn(inset, inset, background_.Width() - inset, background_.Height() - inset));
        TSelectClipRgn clip(dc, inside.Get());
        r = Default(WM_PRINT, wParam, lParam);
    }
    SetBkMode(dc, mode);
    return r;
}

// ---- The manager

TSkinManage::TSkinManage() {
    timer_ = std::make_unique<TTimer>(nullptr);
    timer_->SetEnabled(false);
    timer_->SetInterval(250);
    timer_->SetOnTimer([this](TObject*) { OnTimer(); });
    idle_ = std::make_unique<TTimer>(nullptr);
    idle_->SetEnabled(false);
    idle_->SetInterval(300);
    idle_->SetOnTimer([this](TObject*) { SkinHiddenForms(); });
}

TSkinManage::~TSkinManage() {
    ActivationCount = 4;
    timer_.reset();
    idle_.reset();
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    DeleteAllMenus();
    DeleteAllForms();
    skinDatas_.clear();
    if (SkinManager == this) SkinManager = nullptr;
}

void TSkinManage::InstallHook() {
    if (!hook_) hook_ = SetWindowsHookExW(WH_CBT, &SkinHookCBT, nullptr, GetCurrentThreadId());
}

bool TSkinManage::InstallThread(DWORD threadId) {
    // Skinning another thread's windows is refused: its hook would change the manager's lists, and
    // its windows' painting would share the scratch buffers and caches, while this thread uses
    // them, with nothing to order the two. Windows of this thread are skinned by the main hook.
    (void)threadId;
    return false;
}

LRESULT CALLBACK TSkinManage::SkinHookCBT(int code, WPARAM wParam, LPARAM lParam) {
    return NoThrow(0, [&] { return HookCBT(code, wParam, lParam); });
}

LRESULT TSkinManage::HookCBT(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* m = SkinManager;
    if (m && code >= 0) {
        const HWND hwnd = reinterpret_cast<HWND>(wParam);
        switch (code) {
        case HCBT_CREATEWND: {
            const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
            if (!(cbt->lpcs->style & WS_CHILD) && ClassNameOf(hwnd) == "#32768") m->AddMenu(hwnd);
            break;
        }
        case HCBT_DESTROYWND:
            m->DeleteMenu(hwnd);
            break;
        case HCBT_ACTIVATE:
            if (m->ActivationCount == 0) m->ActivationCount = 1;
            m->AddForm(hwnd);
            break;
        default:
            break;
        }
    }
    // Every code goes on to the next hook, whose answer is the answer.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool TSkinManage::NestedForm(HWND hwnd) {
    if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) return false;
    HWND parent = GetParent(hwnd);
    return !parent || LowerCase(ClassNameOf(parent)) != "mdiclient";
}

TForm* TSkinManage::FindTForm(HWND hwnd) {
    return dynamic_cast<TForm*>(TWinControl::FromHandle(hwnd));
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND hwnd) const {
    for (const auto& f : forms_)
        if (f->Handle() == hwnd && f->Lifecycle() != kSkinDestroyed) return f.get();
    return nullptr;
}

TSkinData* TSkinManage::FindSkindata(HWND hwnd) const {
    std::vector<TSkinDataEntry> entries;
    for (TSkinData* s : skinDatas_) {
        TSkinDataEntry e;
        e.Type = s->SkinFormtype;
        if (auto* owner = dynamic_cast<TForm*>(s->Owner()); owner && owner->HandleAllocated())
            e.OwnerWindow = reinterpret_cast<std::uintptr_t>(owner->Handle());
        entries.push_back(e);
    }
    const int i = FindSkindataIndex(entries, reinterpret_cast<std::uintptr_t>(hwnd), ClassNameOf(hwnd));
    return i < 0 ? nullptr : skinDatas_[size_t(i)];
}

bool TSkinManage::OnBeforeSkin(const std::string& className) const {
    for (TSkinData* s : skinDatas_)
        if (s->SkinFormtype == sfMainform) {
            bool doSkin = true;
            s->DoFormSkin(className, doSkin);
            return doSkin;
        }
    return true;
}

bool TSkinManage::AddForm(HWND hwnd) {
    if (!Active || !IsWindow(hwnd)) return false;
    TAddFormFacts f;
    f.SkinningActive = Active;
    f.AnswersQuery = SendMessageW(hwnd, WM_SKIN_QUERY, 0, 0) == 1;
    if (f.AnswersQuery) return false;
    DeleteDeleted();
    f.HasSkinner = FindSkinForm(hwnd) != nullptr;
    TForm* form = FindTForm(hwnd);
    f.Nested = NestedForm(hwnd);
    f.InstallPass = InstallPass;
    RECT r{};
    GetWindowRect(hwnd, &r);
    f.ZeroArea = (r.right - r.left) == 0 || (r.bottom - r.top) == 0;
    f.FormTag = form ? form->Tag : 0;
    f.ClassName = ClassNameOf(hwnd);
    TSkinData* s = FindSkindata(hwnd);
    f.SkinFound = s != nullptr;
    f.SkinLoading = s ? s->Loading : true;
    f.ApplicationAllows = [this, &f] { return OnBeforeSkin(f.ClassName); };
    if (!MayAddForm(f)) return false;

    auto skinner = std::make_unique<TWinSkinForm>(s);
    skinner->DisableTag = s->DisableTag;
    if (form)
        skinner->InitTform(form);
    else
        skinner->InitSkin(hwnd);
    forms_.push_back(std::move(skinner));
    PostMessageW(hwnd, WM_SKIN_ACTIVE, 0, 1000);
    if (form && !hiddenSkinned_ && idle_ && !idle_->Enabled()) idle_->SetEnabled(true);
    return true;
}

bool TSkinManage::ActiveForm(TForm* form) {
    if (!form || !form->HandleAllocated() || !IsWindowVisible(form->Handle())) return false;
    const LONG_PTR ex = GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE);
    if ((GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_CHILD) && !(ex & WS_EX_MDICHILD)) return false;
    return AddForm(form->Handle());
}

bool TSkinManage::DeleteForm(HWND hwnd) {
    for (auto it = forms_.begin(); it != forms_.end(); ++it) {
        if ((*it)->Handle() != hwnd || !(*it)->Form()) continue;
        std::unique_ptr<TWinSkinForm> f = std::move(*it);
        forms_.erase(it);
        f->UnSubclass();
        TWinSkinForm::Retire(std::move(f));
        return true;
    }
    return false;
}

std::unique_ptr<TWinSkinForm> TSkinManage::DeleteForm2(HWND hwnd) {
    for (auto it = forms_.begin(); it != forms_.end(); ++it)
        if ((*it)->Handle() == hwnd) {
            std::unique_ptr<TWinSkinForm> f = std::move(*it);
            forms_.erase(it);
            return f;
        }
    return nullptr;
}

void TSkinManage::DeleteDeleted() {
    for (size_t i = forms_.size(); i-- > 0;)
        if (forms_[i]->Lifecycle() == kSkinDestroyed) {
            std::unique_ptr<TWinSkinForm> f = std::move(forms_[i]);
            forms_.erase(forms_.begin() + std::ptrdiff_t(i));
            TWinSkinForm::Retire(std::move(f));
        }
}

void TSkinManage::DeleteAllForms() {
    // Taken out of the list before they go, so nothing they do while going finds them there.
    std::vector<std::unique_ptr<TWinSkinForm>> all = std::move(forms_);
    forms_.clear();
    for (auto& f : all) {
        f->UnSubclass3();
        TWinSkinForm::Retire(std::move(f));
    }
}

void TSkinManage::AddMenu(HWND hwnd) {
    if (!Active || SendMessageW(hwnd, WM_SKIN_QUERY, 0, 0) == 1 || FindSkinMenu(hwnd)) return;
    TSkinData* s = FindSkindata(hwnd);
    if (!s || s->Loading || !s->SkinControls.Contains(xcMainMenu)) return;
    auto menu = std::make_unique<TWinSkinPopMenu>();
    menu->InitSkin(hwnd, s, nullptr);
    menu->FrameworkPopup = FrameworkPopup;
    menus_.push_back(std::move(menu));
}

void TSkinManage::DeleteMenu(HWND hwnd) {
    for (auto it = menus_.begin(); it != menus_.end(); ++it)
        if ((*it)->Handle == hwnd) {
            menus_.erase(it);
            break;
        }
    if (menus_.empty()) FrameworkPopup = false;
}

TWinSkinPopMenu* TSkinManage::FindSkinMenu(HWND hwnd) const {
    for (const auto& m : menus_)
        if (m->Handle == hwnd) return m.get();
    return nullptr;
}

void TSkinManage::DeleteAllMenus() {
    menus_.clear();
    WaitingPopMenu = nullptr;
}

void TSkinManage::SetMenu() {
    for (const auto& m : menus_)
        m->FrameworkPopup = true;
}

void TSkinManage::LearnMenu(TWinSkinPopMenu& m, HMENU menu) {
    m.Menu = menu;
    if (WaitingPopMenu == &m) WaitingPopMenu = nullptr;
    // Whether the framework shows it, too.
    FindPopupMenu(menu);
    if (FrameworkPopup) m.FrameworkPopup = true;
}

void TSkinManage::FindPopupMenu(HMENU menu) {
    if (!menu) return;
    // The popup menus of the application's forms, and those the application owns itself.
    std::vector<TComponent*> owners{Application};
    for (TForm* f : ScreenForms())
        owners.push_back(f);
    for (TComponent* owner : owners)
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (auto* p = dynamic_cast<TPopupMenu*>(owner->Components(i)); p && p->Handle() == menu) {
                FrameworkPopup = true;
                return;
            }
}

const TBitmap32* TSkinManage::GetMenuBg(HMENU menu) {
    TWinSkinPopMenu* m = MenuSkinner(menu);
    if (!m) return nullptr;
    const TBitmap32& b = m->Background();
    return b.Empty() ? nullptr : &b;
}

TWinSkinPopMenu* TSkinManage::MenuSkinner(HMENU menu) {
    if (!menu) return nullptr;
    for (const auto& m : menus_)
        if (m->Menu == menu) return m.get();
    for (const auto& m : menus_)
        if (!m->Menu && reinterpret_cast<HMENU>(SendMessageW(m->Handle, MN_GETHMENU, 0, 0)) == menu) {
            LearnMenu(*m, menu);
            return m.get();
        }
    return nullptr;
}

void TSkinManage::AddSkinData(TSkinData* s) {
    for (TSkinData* d : skinDatas_)
        if (d == s) return;
    skinDatas_.push_back(s);
}

void TSkinManage::RemoveSkinData(TSkinData* s) {
    if (PendingSkin == s) {
        PendingAction = saNone;
        PendingSkin = nullptr;
        if (timer_) timer_->SetEnabled(false);
    }
    if (CurrentSkinData == s) CurrentSkinData = nullptr;
    // Nothing may keep drawing from a component that goes.
    Uninstall(s, false);
    for (size_t i = menus_.size(); i-- > 0;)
        if (FindSkindata(menus_[i]->Handle) == s) menus_.erase(menus_.begin() + std::ptrdiff_t(i));
    skinDatas_.erase(std::remove(skinDatas_.begin(), skinDatas_.end(), s), skinDatas_.end());
}

bool TSkinManage::TimerRunning() const {
    return timer_ && timer_->Enabled();
}

void TSkinManage::SetAction(TSkinAction action, TSkinData* s, unsigned interval) {
    // Caption buttons dropped for a skin change are built again if that change will not run.
    auto rebuildButtons = [this](TSkinData* skin) {
        for (const auto& f : forms_)
            if (!skin || f->SkinData() == skin) {
                f->InitSkinData();
                f->UpdateNc();
            }
    };
    if (ActivationCount != 0) {
        // A skin change while an install waits is part of that install: it skins with the new skin.
        if (PendingAction == saInstall && action == saSkinChanged && PendingSkin == s) return;
        if (PendingAction == saSkinChanged && action != saSkinChanged) rebuildButtons(PendingSkin);
        PendingAction = action;
        PendingSkin = s;
        timer_->SetEnabled(false);
        timer_->SetInterval(interval);
        timer_->SetEnabled(true);
        return;
    }
    if (action == saInstall) Active = true;
    if (action == saUninstall) Active = false;
    if (action == saSkinChanged) rebuildButtons(s);
}

std::vector<TForm*> TSkinManage::ScreenForms() const {
    std::vector<TForm*> forms;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TForm*>(Application->Components(i))) forms.push_back(f);
    return forms;
}

void TSkinManage::Uninstall(TSkinData* s, bool onlyLast) {
    for (size_t i = forms_.size(); i-- > 0;) {
        if (s && forms_[i]->SkinData() != s) continue;
        std::unique_ptr<TWinSkinForm> f = std::move(forms_[i]);
        forms_.erase(forms_.begin() + std::ptrdiff_t(i));
        const HWND hwnd = f->Handle();
        TWinSkinForm::Retire(std::move(f)); // gives the window back
        if (IsWindow(hwnd))
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
        if (onlyLast) break;
    }
}

void TSkinManage::OnTimer() {
    timer_->SetEnabled(false);
    const TSkinAction action = PendingAction;
    TSkinData* s = PendingSkin;
    PendingAction = saNone;
    PendingSkin = nullptr;
    if (!s) {
        if (action == saPurge) DeleteDeleted();
        return;
    }
    const bool onlyThis = s->SkinFormtype == sfOnlyThisForm;
    switch (action) {
    case saInstall:
        Active = true;
        InstallPass = true;
        if (onlyThis) {
            ActiveForm(dynamic_cast<TForm*>(s->Owner()));
        } else {
            DeleteDeleted();
            const std::vector<TForm*> forms = ScreenForms();
            for (size_t i = forms.size(); i-- > 0;)
                ActiveForm(forms[i]);
        }
        InstallPass = false;
        break;
    case saUninstall:
        Active = false;
        DeleteDeleted();
        Uninstall(onlyThis ? s : nullptr, onlyThis);
        break;
    case saSkinChanged: {
        DeleteDeleted();
        // Held while they change: what one does may not free another under the loop.
        std::vector<std::unique_ptr<TWinSkinForm::TCall>> using_;
        std::vector<TWinSkinForm*> list;
        for (const auto& f : forms_)
            if (f->SkinData() == s) {
                using_.push_back(std::make_unique<TWinSkinForm::TCall>(*f));
                list.push_back(f.get());
                if (onlyThis) break;
            }
        for (TWinSkinForm* f : list)
            f->InitSkinData();
        for (TWinSkinForm* f : list)
            if (f->Lifecycle() < kSkinDestroying) f->SkinChange();
        break;
    }
    case saPurge:
        DeleteDeleted();
        break;
    default:
        break;
    }
    s->DoSkinChanged();
}

void TSkinManage::SkinHiddenForms() {
    idle_->SetEnabled(false);
    hiddenSkinned_ = true;
    if (!Active) return;
    for (TForm* f : ScreenForms())
        if (f->HandleAllocated() && !IsWindowVisible(f->Handle()) && !FindSkinForm(f->Handle()) &&
            !(GetWindowLongPtrW(f->Handle(), GWL_STYLE) & WS_CHILD))
            AddForm(f->Handle());
}

void TSkinManage::SetMDIMax(bool value) {
    if (MDIMaxFlag() == value) return;
    StoreMDIMax(value);
    for (const auto& f : forms_) {
        if (f->FormStyle() != sfsMDIChild) continue;
        if (value) {
            f->Uncropwindow();
            f->EnableSysbtn(true);
        } else if (f->WindowState() == swsMin) {
            f->EnableSysbtn(true);
        } else {
            f->RestoreNormal();
        }
    }
}

int TSkinManage::GetMDIChildNum() const {
    int n = 0;
    // Skinners of closed children wait in the list for the purge: they count no more.
    for (const auto& f : forms_)
        n += f->FormStyle() == sfsMDIChild && f->Lifecycle() < kSkinDestroying && IsWindow(f->Handle());
    return n;
}

void TSkinManage::SetCaption() {
    for (const auto& f : forms_)
        if (f->FormStyle() == sfsMDIChild && IsWindow(f->Handle())) {
            const LONG_PTR style = GetWindowLongPtrW(f->Handle(), GWL_STYLE);
            if ((style & WS_CAPTION) != WS_CAPTION) SetWindowLongPtrW(f->Handle(), GWL_STYLE, style | WS_CAPTION);
        }
}

void TSkinManage::DeleteSysbtn(TSkinData* s) {
    for (const auto& f : forms_)
        if (!s || f->SkinData() == s) f->DropSysButtons();
}
