#include "framework/Dpi.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace {
constexpr DWORD kSingleStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

void RegisterFormClass(const wchar_t* className, WNDPROC proc) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(inst, className, &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hIcon = LoadIconW(inst, L"MAINICON");
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) throw Exception("Cannot register window class " + WideToUtf8(className));
}

RECT WorkArea() {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}
} // namespace

TForm::TForm(TComponent* AOwner, const wchar_t* className, TFormStyle style) : TWinControl(AOwner), formStyle_(style) {
    DeclareDpiAwareness();
    RegisterFormClass(className, &TForm::FormWndProc);
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    TForm* main = Application->MainForm();
    HWND hwnd = nullptr;
    if (style == fsMDIChild) {
        if (!main || main == this || !main->mdiClient_)
            throw Exception("Cannot create form. No MDI forms are currently active");
        // Through the client, which gives the child its frame, position and place in the Window menu.
        MDICREATESTRUCTW mcs{className,
                             L"",
                             inst,
                             CW_USEDEFAULT,
                             CW_USEDEFAULT,
                             320,
                             240,
                             WS_CLIPCHILDREN,
                             reinterpret_cast<LPARAM>(this)};
        hwnd = reinterpret_cast<HWND>(SendMessageW(main->mdiClient_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
        // The Window menu (and whoever follows the client's menus, a skin) catches up once the
        // form is complete: posted, so it comes after the constructors.
        if (hwnd) PostMessageW(main->mdiClient_, WM_MDIREFRESHMENU, 0, 0);
    } else {
        HWND owner = main && main != this ? main->Handle() : nullptr;
        DWORD windowStyle = kSingleStyle | WS_MINIMIZEBOX;
        if (style == fsMDIForm) windowStyle |= WS_THICKFRAME | WS_MAXIMIZEBOX;
        hwnd = CreateWindowExW(0, className, L"", windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 320, 240, owner, nullptr,
                               inst, this);
    }
    if (!hwnd) throw Exception("Cannot create a window of class " + WideToUtf8(className));
    if (style == fsMDIForm) {
        CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
        RECT r{};
        GetClientRect(hwnd, &r);
        mdiClient_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                     WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, r.right,
                                     r.bottom, hwnd, nullptr, inst, &ccs);
        if (!mdiClient_) throw Exception("Cannot create the MDI client of " + WideToUtf8(className));
    }
    SetFont(TFont());
}

TForm::~TForm() {
    // Controls first (they live in this window), then the window.
    DestroyComponents();
    // An MDI child goes through its client, which activates the next child and updates its menus.
    if (formStyle_ == fsMDIChild && hwnd_ && IsWindow(GetParent(hwnd_)))
        SendMessageW(GetParent(hwnd_), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd_), 0);
    menu_ = nullptr;
    Application->FormDestroyed(this);
}

LRESULT CALLBACK TForm::FormWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        // An MDI child's creation parameters are the client's MDICREATESTRUCT, which carries ours.
        void* param = cs->dwExStyle & WS_EX_MDICHILD
                          ? reinterpret_cast<void*>(static_cast<MDICREATESTRUCTW*>(cs->lpCreateParams)->lParam)
                          : cs->lpCreateParams;
        static_cast<TForm*>(param)->AttachHandle(hwnd);
    }
    TWinControl* self = TWinControl::FromHandle(hwnd);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return Dispatch(self, hwnd, msg, wParam, lParam);
}

void TForm::UpdateStyle(DWORD style, DWORD exStyle) {
    const int cw = ClientWidth(), ch = ClientHeight();
    SetWindowLongPtrW(hwnd_, GWL_STYLE, LONG_PTR(style | (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE)));
    LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST;
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, LONG_PTR(exStyle) | ex);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetClientSize(cw, ch);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    borderStyle_ = style;
    if (style == TFormBorderStyle::Dialog)
        UpdateStyle(kDialogStyle, kDialogExStyle);
    else
        UpdateStyle(kSingleStyle | WS_MINIMIZEBOX, 0);
}

void TForm::SetMinimizeBox(bool value) {
    LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, value ? (style | WS_MINIMIZEBOX) : (style & ~LONG_PTR(WS_MINIMIZEBOX)));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetClientSize(int width, int height) {
    RECT r{0, 0, width, height};
    DWORD style = DWORD(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    DWORD ex = DWORD(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    AdjustWindowRectEx(&r, style, GetMenu(hwnd_) != nullptr, ex);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps takes more height than one row; correct by what the window reports.
    const int dw = width - ClientWidth(), dh = height - ClientHeight();
    if (dw || dh) {
        SetWindowPos(hwnd_, nullptr, 0, 0, Width() + dw, Height() + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TForm::SetStayOnTop(bool value) {
    SetWindowPos(hwnd_, value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TForm::StayOnTop() const {
    return (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void TForm::SetMenu(TMainMenu* menu) {
    const int cw = ClientWidth(), ch = ClientHeight();
    menu_ = menu;
    ::SetMenu(hwnd_, menu ? menu->Handle() : nullptr);
    // Whoever draws the menu bar in the system's place (a skin) takes up the new menu.
    Perform(CM_MENUCHANGED, 0, 0);
    SetClientSize(cw, ch);
}

void TForm::ApplyPosition() {
    if (Position == TPosition::Designed) return;
    RECT area = WorkArea();
    RECT around = area;
    TForm* main = Application->MainForm();
    if (Position == TPosition::MainFormCenter && main && main != this && IsWindowVisible(main->Handle()))
        GetWindowRect(main->Handle(), &around);
    const int w = Width(), h = Height();
    int x = (around.left + around.right - w) / 2;
    int y = (around.top + around.bottom - h) / 2;
    // Keep the whole window on the screen.
    if (x + w > area.right) x = area.right - w;
    if (y + h > area.bottom) y = area.bottom - h;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

struct TScaledBounds {
    TWinControl* Control;
    RECT Bounds;
};

// Edges are scaled, not sizes: two controls that meet or line up at 96 DPI still do.
RECT ScaledBoundsOf(const TWinControl* c, int to, int from) {
    const int l = c->Left(), t = c->Top(), r = l + c->Width(), b = t + c->Height();
    return RECT{ScaleByDpi(l, to, from), ScaleByDpi(t, to, from), ScaleByDpi(r, to, from), ScaleByDpi(b, to, from)};
}

} // namespace

void TForm::ScaleTo(int dpi, bool keepSize) {
    const int from = ppi_;
    if (dpi < 1 || dpi == from || !hwnd_) return;
    const int cw = ClientWidth(), ch = ClientHeight();
    // All bounds are read before any font changes: a control that sizes itself to its text would
    // otherwise be scaled twice.
    std::vector<TScaledBounds> bounds;
    std::vector<TWinControl*> level = children_;
    while (!level.empty()) {
        std::vector<TWinControl*> next;
        for (TWinControl* c : level) {
            if (c->HandleAllocated()) bounds.push_back({c, ScaledBoundsOf(c, dpi, from)});
            next.insert(next.end(), c->children_.begin(), c->children_.end());
        }
        level.swap(next);
    }
    ppi_ = dpi;
    font_.SetPixelsPerInch(dpi);
    for (const TScaledBounds& b : bounds)
        b.Control->font_.SetPixelsPerInch(dpi);
    FontChanged();
    for (const TScaledBounds& b : bounds)
        SetWindowPos(b.Control->Handle(), nullptr, b.Bounds.left, b.Bounds.top, b.Bounds.right - b.Bounds.left,
                     b.Bounds.bottom - b.Bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!keepSize) SetClientSize(ScaleByDpi(cw, dpi, from), ScaleByDpi(ch, dpi, from));
}

void TForm::Show() {
    if (!scaledToMonitor_) {
        scaledToMonitor_ = true;
        ScaleTo(WindowDpi(hwnd_));
    }
    if (!IsWindowVisible(hwnd_)) ApplyPosition();
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void TForm::Hide() {
    const bool wasActive = GetActiveWindow() == hwnd_;
    ShowWindow(hwnd_, SW_HIDE);
    // Hand the activation back to the owner, so the keyboard keeps working there.
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (wasActive && owner && IsWindowVisible(owner) && IsWindowEnabled(owner)) SetActiveWindow(owner);
}

namespace {
struct DisabledWindows {
    HWND except;
    std::vector<HWND> list;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM param) {
    auto* d = reinterpret_cast<DisabledWindows*>(param);
    if (hwnd != d->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        d->list.push_back(hwnd);
    }
    return TRUE;
}
} // namespace

int TForm::ShowModal() {
    if (modal_ || IsWindowVisible(hwnd_)) throw Exception("Cannot make a visible window modal");
    if (GetCapture()) ReleaseCapture();
    DisabledWindows disabled{hwnd_, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
    auto enableAll = [&] {
        for (HWND w : disabled.list)
            if (IsWindow(w)) EnableWindow(w, TRUE);
    };
    modal_ = true;
    ModalResult = mrNone;
    try {
        Show();
        for (;;) {
            Application->HandleMessage();
            if (Application->Terminated()) ModalResult = mrCancel;
            if (ModalResult != mrNone && CloseModal()) break;
        }
    } catch (...) {
        enableAll();
        modal_ = false;
        Hide();
        throw;
    }
    // Enabled again before hiding, so that the activation returns to the window below.
    enableAll();
    Hide();
    modal_ = false;
    return ModalResult;
}

bool TForm::CloseModal() {
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone && !Application->Terminated()) {
        ModalResult = mrNone;
        return false;
    }
    return true;
}

void TForm::Close() {
    if (modal_) {
        ModalResult = mrCancel;
        return;
    }
    const bool isMain = Application->MainForm() == this;
    // An MDI child's close box closes the document.
    TCloseAction action = isMain || formStyle_ == fsMDIChild ? caFree : caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (isMain)
        Application->Terminate();
    else if (action == caMinimize)
        ShowWindow(hwnd_, SW_MINIMIZE);
    else if (action == caFree)
        Release();
    else
        Hide();
}

TWinControl* TForm::ActiveControl() const {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) return TWinControl::FromHandle(focus);
    return TWinControl::FromHandle(savedFocus_);
}

void TForm::RestoreFocus() {
    HWND target = savedFocus_;
    if (!target || !IsWindow(target) || !IsChild(hwnd_, target) || !IsWindowEnabled(target) || !IsWindowVisible(target))
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (target) ::SetFocus(target);
}

void TForm::Release() {
    PostMessageW(Application->Handle(), CM_RELEASE, reinterpret_cast<WPARAM>(this), 0);
}

std::vector<TForm*> TForm::MDIChildList() const {
    std::vector<TForm*> list;
    if (!mdiClient_) return list;
    for (HWND c = GetWindow(mdiClient_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (auto* f = dynamic_cast<TForm*>(TWinControl::FromHandle(c)); f && f->formStyle_ == fsMDIChild)
            list.push_back(f);
    return list;
}

int TForm::MDIChildCount() const {
    return int(MDIChildList().size());
}

TForm* TForm::MDIChildren(int index) const {
    const std::vector<TForm*> list = MDIChildList();
    return index >= 0 && size_t(index) < list.size() ? list[size_t(index)] : nullptr;
}

TForm* TForm::ActiveMDIChild() const {
    if (!mdiClient_) return nullptr;
    return dynamic_cast<TForm*>(
        TWinControl::FromHandle(reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0))));
}

void TForm::DefaultHandler(TMessage& m) {
    if (!hwnd_) return;
    if (formStyle_ == fsMDIForm)
        m.Result = DefFrameProcW(hwnd_, mdiClient_, m.Msg, m.WParam, m.LParam);
    else if (formStyle_ == fsMDIChild)
        m.Result = DefMDIChildProcW(hwnd_, m.Msg, m.WParam, m.LParam);
    else
        TWinControl::DefaultHandler(m);
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_DPICHANGED: {
        // Moved to a monitor of another DPI: the system suggests the window's new rectangle.
        scaledToMonitor_ = true;
        ScaleTo(HIWORD(m.WParam), true);
        const RECT* r = reinterpret_cast<const RECT*>(m.LParam);
        if (r)
            SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        m.Result = 0;
        return;
    }
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_COMMAND:
        if (m.LParam == 0) {
            // Menu commands; the dialog commands IsDialogMessage sends (Enter, Escape) have no item.
            m.Result = 0;
            if (menu_ && HIWORD(m.WParam) == 0 && menu_->DispatchCommand(LOWORD(m.WParam))) return;
            // The frame procedure turns the Window menu's commands into child activations.
            if (formStyle_ == fsMDIForm) break;
            return;
        }
        break;
    case WM_ACTIVATE:
        // A form is no dialog: the system does not keep its focused control across activations.
        if (LOWORD(m.WParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
        } else if (!HIWORD(m.WParam)) {
            RestoreFocus();
        }
        m.Result = 0;
        return;
    case WM_SETFOCUS:
        // The child procedure makes a child that gets the focus the active one.
        if (formStyle_ == fsMDIChild) DefaultHandler(m);
        RestoreFocus();
        m.Result = 0;
        return;
    case WM_ERASEBKGND:
        EraseWithColor(m);
        return;
    case WM_SIZE:
        // A status bar keeps to the form's bottom edge only when told that the form's size changed
        // (a resize, a move to a monitor of another DPI).
        for (TWinControl* c : children_) {
            wchar_t cls[32] = {};
            if (c->HandleAllocated() && GetClassNameW(c->Handle(), cls, 32) &&
                lstrcmpiW(cls, L"msctls_statusbar32") == 0)
                SendMessageW(c->Handle(), WM_SIZE, 0, 0);
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
