#include "framework/StdCtrls.h"

#include "framework/Forms.h"
#include "framework/SysUtils.h"

#include <algorithm>

#include <windowsx.h>

// ---- TLabel

TLabel::TLabel(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    CreateControl(AParent, L"STATIC", WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX);
}

void TLabel::SetCaption(const std::wstring& text) {
    SetText(text);
    AdjustSize();
}

void TLabel::FontChanged() {
    TWinControl::FontChanged();
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!AutoSize || !hwnd_) return;
    std::wstring text = Text();
    TClientDC dc(hwnd_);
    TSelectObject font(dc.Get(), Font().Handle());
    RECT r{0, 0, 0, 0};
    if (text.empty()) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc.Get(), &tm);
        r.bottom = tm.tmHeight;
    } else {
        DrawTextW(dc.Get(), text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    }
    // Room for a last glyph drawn past its measured advance (seen with substituted fonts).
    const int slack = text.empty() ? 0 : 2;
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right + slack, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- TEdit

TEdit::TEdit(TComponent* AOwner, TWinControl* AParent)
    : TEdit(AOwner, AParent, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL) {}

TEdit::TEdit(TComponent* AOwner, TWinControl* AParent, DWORD style) : TWinControl(AOwner) {
    Color = clWindow;
    ParentColor = false;
    CreateControl(AParent, L"EDIT", style, WS_EX_CLIENTEDGE);
    // The system's default limit (30000) is not the framework's "no limit".
    SendMessageW(hwnd_, EM_LIMITTEXT, 0, 0);
}

int TEdit::MaxLength() const {
    int n = int(SendMessageW(hwnd_, EM_GETLIMITTEXT, 0, 0));
    return n >= 0x7FFFFFFE ? 0 : n;
}

void TEdit::SetMaxLength(int n) {
    SendMessageW(hwnd_, EM_LIMITTEXT, WPARAM(n > 0 ? n : 0), 0);
}

void TEdit::SetPasswordChar(wchar_t c) {
    SendMessageW(hwnd_, EM_SETPASSWORDCHAR, WPARAM(c), 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool TEdit::ReadOnly() const {
    return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & ES_READONLY) != 0;
}

void TEdit::SetReadOnly(bool value) {
    SendMessageW(hwnd_, EM_SETREADONLY, value, 0);
}

void TEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        if (OnChange) OnChange(this);
        return;
    }
    TWinControl::WndProc(m);
}

LRESULT TEdit::CtlColor(HDC dc) {
    // A disabled edit takes the face colour, as the system draws it; read-only ones stay white.
    if (!Enabled()) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return TWinControl::CtlColor(dc);
}

// ---- TMemo

TMemo::TMemo(TComponent* AOwner, TWinControl* AParent, bool vertScrollBar)
    : TEdit(AOwner, AParent,
            WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL |
                (vertScrollBar ? WS_VSCROLL : 0)) {}

void TMemo::SetLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += L"\r\n";
        text += lines[i];
    }
    SetText(text);
}

std::vector<std::wstring> TMemo::Lines() const {
    std::vector<std::wstring> out;
    int n = int(SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        int start = int(SendMessageW(hwnd_, EM_LINEINDEX, WPARAM(i), 0));
        int len = int(SendMessageW(hwnd_, EM_LINELENGTH, WPARAM(start), 0));
        std::wstring line(size_t(len) + 1, L'\0');
        *reinterpret_cast<WORD*>(line.data()) = WORD(len + 1);
        int got = int(SendMessageW(hwnd_, EM_GETLINE, WPARAM(i), reinterpret_cast<LPARAM>(line.data())));
        line.resize(size_t(got));
        out.push_back(line);
    }
    return out;
}

void TMemo::WndProc(TMessage& m) {
    if (m.Msg == WM_SETTEXT) {
        // A multi-line edit sends no change notification for a text set by the program.
        TEdit::WndProc(m);
        if (OnChange) OnChange(this);
        return;
    }
    if (m.Msg == WM_GETDLGCODE) {
        TEdit::WndProc(m);
        // A multi-line edit asks for every key; Tab and Escape go to dialog navigation instead.
        auto* msg = reinterpret_cast<MSG*>(m.LParam);
        if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
            (msg->wParam == VK_TAB || msg->wParam == VK_ESCAPE))
            m.Result &= ~LRESULT(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        return;
    }
    TEdit::WndProc(m);
}

// ---- TButton

TButton::TButton(TComponent* AOwner, TWinControl* AParent)
    : TButton(AOwner, AParent, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON) {}

TButton::TButton(TComponent* AOwner, TWinControl* AParent, DWORD style) : TWinControl(AOwner) {
    CreateControl(AParent, L"BUTTON", style);
}

void TButton::Click() {
    if (OnClick) OnClick(this);
    if (ModalResult != mrNone) {
        if (auto* form = dynamic_cast<TForm*>(TopParent())) form->ModalResult = ModalResult;
    }
}

void TButton::SetDefault(bool value) {
    default_ = value;
    // Only plain push buttons carry the default style; owner-drawn ones keep their own type.
    const LONG_PTR type = GetWindowLongPtrW(hwnd_, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
        SendMessageW(hwnd_, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Default")) return PropBoolean(value, default_);
    return TWinControl::GetPropValue(name, value);
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        // Some systems click a disabled button on BM_CLICK; a user cannot.
        if (Enabled()) Click();
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    CreateControl(AParent, L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX);
}

bool TCheckBox::Checked() const {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool value) {
    if (value == Checked()) return;
    SendMessageW(hwnd_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick(this);
}

void TCheckBox::WndProc(TMessage& m) {
    // The box is not automatic: a click toggles it through SetChecked, so a click and a program's
    // change of state run OnClick the same way, once.
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        if (Enabled()) SetChecked(!Checked());
        return;
    }
    TWinControl::WndProc(m);
}

bool TCheckBox::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Checked")) return PropBoolean(value, hwnd_ && Checked());
    return TWinControl::GetPropValue(name, value);
}

// ---- TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    // A control parent, so that Tab moves into the controls inside.
    CreateControl(AParent, L"BUTTON", WS_VISIBLE | BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

void TGroupBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        // The system's group box paints only its frame; the inside is the form's colour.
        EraseWithColor(m);
        return;
    case WM_NCHITTEST:
        // Clicks inside the frame reach the group (the system's group box is transparent to them).
        m.Result = HTCLIENT;
        return;
    default:
        TWinControl::WndProc(m);
    }
}

// ---- TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    CreateControl(AParent, L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON);
}

bool TRadioButton::Checked() const {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool value) {
    if (value == Checked()) return;
    SendMessageW(hwnd_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    for (HWND w = GetWindow(GetParent(hwnd_), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (auto* other = dynamic_cast<TRadioButton*>(FromHandle(w)); other && other != this) other->SetChecked(false);
    if (OnClick) OnClick(this);
}

void TRadioButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        if (Enabled()) SetChecked(true);
        return;
    }
    TWinControl::WndProc(m);
}

bool TRadioButton::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Checked")) return PropBoolean(value, hwnd_ && Checked());
    return TWinControl::GetPropValue(name, value);
}

// ---- TListBox

TListBox::TListBox(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    Color = clWindow;
    ParentColor = false;
    CreateControl(AParent, L"LISTBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                  WS_EX_CLIENTEDGE);
}

void TListBox::AddItem(const std::wstring& text) {
    SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TListBox::Clear() {
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
}

int TListBox::Count() const {
    return int(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}

std::wstring TListBox::Item(int index) const {
    const int n = int(SendMessageW(hwnd_, LB_GETTEXTLEN, WPARAM(index), 0));
    if (n < 0) return std::wstring();
    std::wstring s(size_t(n) + 1, L'\0');
    const int got = int(SendMessageW(hwnd_, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(s.data())));
    s.resize(size_t(got > 0 ? got : 0));
    return s;
}

int TListBox::ItemIndex() const {
    return int(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
    SendMessageW(hwnd_, LB_SETCURSEL, WPARAM(index), 0);
}

void TListBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == LBN_SELCHANGE) {
        if (OnClick) OnClick(this);
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TScrollBar

TScrollBar::TScrollBar(TComponent* AOwner, TWinControl* AParent, TScrollBarKind kind)
    : TWinControl(AOwner), kind_(kind) {
    CreateControl(AParent, L"SCROLLBAR", WS_VISIBLE | WS_TABSTOP | (kind == sbVertical ? SBS_VERT : SBS_HORZ));
    Apply();
}

int TScrollBar::Clamped(int position) const {
    const int last = page_ > 0 ? std::max(max_ - page_ + 1, min_) : max_;
    return std::clamp(position, min_, last);
}

void TScrollBar::Apply() {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, min_, max_, UINT(page_), position_, 0};
    SetScrollInfo(hwnd_, SB_CTL, &si, TRUE);
}

void TScrollBar::SetPosition(int value) {
    SetParams(value, min_, max_);
}

void TScrollBar::SetParams(int position, int min, int max) {
    const int old = position_;
    min_ = min;
    max_ = std::max(max, min);
    position_ = Clamped(position);
    Apply();
    if (position_ != old && OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int value) {
    page_ = std::clamp(value, 0, max_ - min_ + 1);
    SetParams(position_, min_, max_);
}

void TScrollBar::WndProc(TMessage& m) {
    if (m.Msg != CN_HSCROLL && m.Msg != CN_VSCROLL) {
        TWinControl::WndProc(m);
        return;
    }
    const int code = LOWORD(m.WParam);
    if (code < SB_LINEUP || code > SB_ENDSCROLL) return;
    int pos = position_;
    switch (code) {
    case SB_LINEUP:
        pos -= SmallChange;
        break;
    case SB_LINEDOWN:
        pos += SmallChange;
        break;
    case SB_PAGEUP:
        pos -= LargeChange;
        break;
    case SB_PAGEDOWN:
        pos += LargeChange;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The 32-bit track position; the message carries only 16 bits.
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        pos = GetScrollInfo(hwnd_, SB_CTL, &si) ? si.nTrackPos : int(HIWORD(m.WParam));
        break;
    }
    case SB_TOP:
        pos = min_;
        break;
    case SB_BOTTOM:
        pos = max_;
        break;
    default:
        break;
    }
    if (OnScroll) OnScroll(this, TScrollCode(code), pos);
    if (code != SB_ENDSCROLL) SetPosition(pos);
}

bool TScrollBar::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Kind")) return PropEnum(value, kind_, {"sbHorizontal", "sbVertical"});
    if (SameText(name, "Position")) return PropInteger(value, position_);
    if (SameText(name, "Min")) return PropInteger(value, min_);
    if (SameText(name, "Max")) return PropInteger(value, max_);
    if (SameText(name, "PageSize")) return PropInteger(value, page_);
    return TWinControl::GetPropValue(name, value);
}
