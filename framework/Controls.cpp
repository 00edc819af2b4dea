#include "framework/Controls.h"

#include "framework/Forms.h"
#include "framework/SysUtils.h"

#include <algorithm>

void RegisterControlClass(const wchar_t* className) {
    WNDCLASSW wc{};
    if (GetClassInfoW(GetModuleHandleW(nullptr), className, &wc)) return;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!RegisterClassW(&wc)) throw Exception("Cannot register window class " + WideToUtf8(className));
}

TWinControl::TWinControl(TComponent* AOwner) : TComponent(AOwner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
}

TWinControl::~TWinControl() {
    // Whoever hooked WindowProc must leave it alone from now on.
    ComponentState.Include(TComponentStateFlag::Destroying);
    for (TWinControl* c : children_)
        c->parent_ = nullptr;
    children_.clear();
    if (parent_) {
        auto& list = parent_->children_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        parent_ = nullptr;
    }
    if (hwnd_) DestroyWindow(hwnd_); // WM_NCDESTROY detaches
    if (hwnd_) Detach();
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    return THook::OwnerOf(hwnd);
}

void TWinControl::CreateControl(TWinControl* parent, const wchar_t* className, DWORD style, DWORD exStyle) {
    parent_ = parent;
    if (parent_) parent_->children_.push_back(this);
    // Child ids start above the dialog command ids (IDOK..IDCONTINUE) that IsDialogMessage sends.
    static int nextId = 100;
    HWND hwnd = CreateWindowExW(exStyle, className, L"", style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                parent ? parent->Handle() : nullptr, reinterpret_cast<HMENU>(INT_PTR(nextId++)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw Exception("Cannot create a window of class " + WideToUtf8(className));
    hwnd_ = hwnd;
    hook_.Install(hwnd, this);
    FontChanged();
}

void TWinControl::AttachHandle(HWND hwnd) {
    hwnd_ = hwnd;
    hook_.Link(hwnd, this);
}

void TWinControl::Detach() {
    if (!hwnd_) return;
    hook_.Remove();
    hwnd_ = nullptr;
}

LRESULT TWinControl::Dispatch(TWinControl* self, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    if (msg == WM_NCDESTROY) {
        // The last message: WindowProc (and whoever hooked it) sees it and lets the class finish,
        // then the subclassing is undone.
        try {
            const TWndMethod proc = self->WindowProc; // a hook may put another in place meanwhile
            proc(m);
        } catch (...) {
        }
        self->Detach();
        return m.Result;
    }
    try {
        self->TrackMouse(msg);
        // A copy: whoever hooked WindowProc may put the previous one back while this call runs.
        const TWndMethod proc = self->WindowProc;
        proc(m);
    } catch (...) {
        Application->HandleException(self);
    }
    return m.Result;
}

void TWinControl::TrackMouse(UINT msg) {
    if (msg == WM_MOUSEMOVE && !mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&t);
        Perform(CM_MOUSEENTER);
    } else if (msg == WM_MOUSELEAVE && mouseInside_) {
        mouseInside_ = false;
        Perform(CM_MOUSELEAVE);
    }
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL: // from a scroll bar control (lParam); a window's own bars send 0
    case WM_VSCROLL:
        if (Reflect(m)) return;
        break;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        m.Result = CtlColor(reinterpret_cast<HDC>(m.WParam));
        return;
    default:
        break;
    }
    DefaultHandler(m);
}

bool TWinControl::Reflect(TMessage& m) {
    HWND child = nullptr;
    if (m.Msg == WM_COMMAND)
        child = reinterpret_cast<HWND>(m.LParam);
    else if (m.Msg == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
    else if (m.Msg == WM_DRAWITEM)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
    else
        child = reinterpret_cast<HWND>(m.LParam);
    TWinControl* c = FromHandle(child);
    if (!c || c == this) return false;
    m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return true;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (!hwnd_) return;
    m.Result = hook_.CallPrevious(m.Msg, m.WParam, m.LParam);
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    const TWndMethod proc = WindowProc; // as in Dispatch: a hook may be taken off during the call
    proc(m);
    return m.Result;
}

bool TWinControl::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Caption") || SameText(name, "Text")) return PropString(value, hwnd_ ? Text() : std::wstring());
    if (SameText(name, "Enabled")) return PropBoolean(value, !hwnd_ || Enabled());
    if (SameText(name, "Visible")) return PropBoolean(value, hwnd_ && Visible());
    if (SameText(name, "Color")) return PropInteger(value, Color);
    if (SameText(name, "Font")) return PropObject(value, &Font());
    return TComponent::GetPropValue(name, value);
}

TColor TWinControl::EffectiveColor() const {
    return ParentColor && parent_ ? parent_->EffectiveColor() : Color;
}

HBRUSH TWinControl::ColorBrush() {
    const TColor color = EffectiveColor();
    if (color & clSystemColor) return GetSysColorBrush(int(color & 0xFF));
    if (!brush_ || brushColor_ != color) {
        brush_.Reset(CreateSolidBrush(ColorToRGB(color)));
        brushColor_ = color;
    }
    return brush_.Get();
}

void TWinControl::EraseWithColor(TMessage& m) {
    RECT r{};
    GetClientRect(hwnd_, &r);
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
    m.Result = 1;
}

LRESULT TWinControl::CtlColor(HDC dc) {
    SetTextColor(dc, GetSysColor(Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, ColorToRGB(EffectiveColor()));
    return reinterpret_cast<LRESULT>(ColorBrush());
}

namespace {
RECT WindowRectIn(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    HWND parent = GetParent(hwnd);
    if (parent && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
} // namespace

int TWinControl::Left() const {
    return WindowRectIn(hwnd_).left;
}
int TWinControl::Top() const {
    return WindowRectIn(hwnd_).top;
}
int TWinControl::Width() const {
    RECT r = WindowRectIn(hwnd_);
    return r.right - r.left;
}
int TWinControl::Height() const {
    RECT r = WindowRectIn(hwnd_);
    return r.bottom - r.top;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TWinControl::ClientWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.right;
}

int TWinControl::ClientHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.bottom;
}

std::wstring TWinControl::Text() const {
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(size_t(n) + 1, L'\0');
    n = GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(size_t(n > 0 ? n : 0));
    return s;
}

void TWinControl::SetText(const std::wstring& text) {
    SetWindowTextW(hwnd_, text.c_str());
}

bool TWinControl::Enabled() const {
    return IsWindowEnabled(hwnd_) != FALSE;
}

void TWinControl::SetEnabled(bool value) {
    if (value == Enabled()) return;
    // A window that loses its enabled state with the focus would keep a focus no key can move.
    if (!value && Focused()) {
        TWinControl* top = TopParent();
        HWND next = GetNextDlgTabItem(top->Handle(), hwnd_, FALSE);
        EnableWindow(hwnd_, FALSE);
        if (next && next != hwnd_) ::SetFocus(next);
        return;
    }
    EnableWindow(hwnd_, value);
}

bool TWinControl::Visible() const {
    return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TWinControl::SetVisible(bool value) {
    ShowWindow(hwnd_, value ? SW_SHOWNA : SW_HIDE);
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    auto& list = parent_->children_;
    return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_) return;
    auto& list = parent_->children_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, int(list.size()));
    list.insert(list.begin() + order, this);
    parent_->ApplyTabOrder();
}

void TWinControl::ApplyTabOrder() {
    // Dialog navigation follows the window order, so the windows are stacked in tab order.
    HWND after = HWND_TOP;
    for (TWinControl* c : children_) {
        if (!c->hwnd_) continue;
        SetWindowPos(c->hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = c->hwnd_;
    }
}

bool TWinControl::TabStop() const {
    return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_TABSTOP) != 0;
}

void TWinControl::SetTabStop(bool value) {
    LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
}

bool TWinControl::CanFocus() const {
    for (HWND w = hwnd_; w; w = (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
    return hwnd_ != nullptr;
}

void TWinControl::SetFocus() {
    ::SetFocus(hwnd_);
}

bool TWinControl::Focused() const {
    return hwnd_ && GetFocus() == hwnd_;
}

const TFont& TWinControl::Font() const {
    if (parentFont_ && parent_) return parent_->Font();
    return font_;
}

void TWinControl::SetFont(const TFont& font) {
    font_ = font;
    font_.SetPixelsPerInch(PixelsPerInch());
    parentFont_ = false;
    FontChanged();
}

void TWinControl::FontChanged() {
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    for (TWinControl* c : children_)
        if (c->parentFont_) c->FontChanged();
}

TWinControl* TWinControl::TopParent() {
    TWinControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return c;
}
