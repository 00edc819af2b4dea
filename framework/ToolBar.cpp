#include "framework/ToolBar.h"

#include "framework/Menus.h"
#include "framework/SysUtils.h"

TToolButton::TToolButton(TComponent* AOwner, TToolBar* bar, int index)
    : TComponent(AOwner), bar_(bar->Handle()), index_(index) {}

TToolButton::~TToolButton() {
    if (TToolBar* bar = ToolBar()) bar->toolButtons_[size_t(index_)] = nullptr;
}

TToolBar* TToolButton::ToolBar() const {
    // Through the window, so that a tool bar freed first leaves no dangling pointer here.
    return dynamic_cast<TToolBar*>(TWinControl::FromHandle(bar_));
}

bool TToolButton::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "DropdownMenu")) return PropObject(value, DropdownMenu);
    if (SameText(name, "Caption")) {
        const TToolBar* bar = ToolBar();
        return PropString(value, bar ? bar->captions_[size_t(index_)] : std::wstring());
    }
    return TComponent::GetPropValue(name, value);
}

TToolBar::TToolBar(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)loaded;
    CreateControl(AParent, TOOLBARCLASSNAMEW,
                  WS_VISIBLE | CCS_TOP | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS);
    SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(hwnd_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    // Captions only: no room for pictures.
    SendMessageW(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
}

int TToolBar::Add(const std::wstring& caption, TNotifyEvent onClick, BYTE style) {
    clicks_.push_back(std::move(onClick));
    captions_.push_back(caption);
    toolButtons_.push_back(nullptr);
    TBBUTTON b{};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = int(clicks_.size()); // ids from 1, by index
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BYTE(style | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    b.iString = reinterpret_cast<INT_PTR>(captions_.back().c_str());
    SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
    SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0);
    return int(clicks_.size()) - 1;
}

int TToolBar::AddButton(const std::wstring& caption, TNotifyEvent onClick) {
    return Add(caption, std::move(onClick), BTNS_BUTTON);
}

TToolButton* TToolBar::AddDropDownButton(const std::wstring& caption, TPopupMenu* menu, TNotifyEvent onClick) {
    const int index = Add(caption, std::move(onClick), BTNS_DROPDOWN);
    auto* button = new TToolButton(Owner() ? Owner() : this, this, index);
    button->DropdownMenu = menu;
    toolButtons_[size_t(index)] = button;
    return button;
}

RECT TToolBar::ButtonRect(int index) const {
    RECT r{};
    SendMessageW(hwnd_, TB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

void TToolBar::DropDown(int index) {
    if (index < 0 || size_t(index) >= toolButtons_.size() || !toolButtons_[size_t(index)]) return;
    TPopupMenu* menu = toolButtons_[size_t(index)]->DropdownMenu;
    if (!menu) return;
    RECT r = ButtonRect(index);
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    SendMessageW(hwnd_, TB_PRESSBUTTON, WPARAM(index + 1), TRUE);
    menu->Popup(r.left, r.bottom);
    SendMessageW(hwnd_, TB_PRESSBUTTON, WPARAM(index + 1), FALSE);
}

void TToolBar::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        const int id = LOWORD(m.WParam);
        if (id >= 1 && size_t(id) <= clicks_.size() && clicks_[size_t(id - 1)]) clicks_[size_t(id - 1)](this);
        m.Result = 0;
        return;
    }
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == UINT(TBN_DROPDOWN)) {
        DropDown(reinterpret_cast<NMTOOLBARW*>(m.LParam)->iItem - 1);
        m.Result = TBDDRET_DEFAULT;
        return;
    }
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == UINT(NM_CUSTOMDRAW)) {
        auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam);
        m.Result = CDRF_DODEFAULT;
        if (!OnCustomDrawButton) return;
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT)
            m.Result = CDRF_NOTIFYITEMDRAW;
        else if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            m.Result = OnCustomDrawButton(this, *cd);
        return;
    }
    TWinControl::WndProc(m);
}

bool TToolBar::GetPropValue(const std::string& name, TPropValue& value) const {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    if (SameText(name, "Flat")) return PropBoolean(value, (style & TBSTYLE_FLAT) != 0);
    if (SameText(name, "Transparent")) return PropBoolean(value, (style & TBSTYLE_TRANSPARENT) != 0);
    return TWinControl::GetPropValue(name, value);
}

bool TToolBar::SetPropValue(const std::string& name, const std::string& value) {
    const bool on = SameText(value, "True");
    if (!on && !SameText(value, "False")) return TWinControl::SetPropValue(name, value);
    LONG_PTR bit = 0;
    if (SameText(name, "Flat")) bit = TBSTYLE_FLAT;
    if (SameText(name, "Transparent")) bit = TBSTYLE_TRANSPARENT;
    if (!bit) return TWinControl::SetPropValue(name, value);
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, on ? style | bit : style & ~bit);
    InvalidateRect(hwnd_, nullptr, TRUE);
    return true;
}
