#include "framework/Menus.h"

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/HiddenWindow.h"
#include "framework/SysUtils.h"

#include <algorithm>

TMenuItem::TMenuItem(TComponent* AOwner, std::wstring caption) : TComponent(AOwner), Caption(std::move(caption)) {}

TMenuItem* TMenuItem::Add(std::wstring caption, TNotifyEvent onClick) {
    auto* item = new TMenuItem(this, std::move(caption));
    item->OnClick = std::move(onClick);
    items_.push_back(item);
    return item;
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = items_.at(size_t(index));
    items_.erase(items_.begin() + index);
    delete item;
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

void TMenuItem::SetChecked(bool value) {
    checked_ = value;
    if (menu_ && command_) CheckMenuItem(menu_, command_, MF_BYCOMMAND | (value ? MF_CHECKED : MF_UNCHECKED));
}

TMainMenu::TMainMenu(TComponent* AOwner) : TComponent(AOwner), Items(new TMenuItem(this)) {}

TMainMenu::~TMainMenu() {
    // A menu attached to a window goes with the window; a detached one (a skin may have taken it
    // off its form) is ours to destroy.
    if (!handle_ || !IsMenu(handle_)) return;
    auto* form = dynamic_cast<TWinControl*>(Owner());
    if (form && form->HandleAllocated() && GetMenu(form->Handle()) == handle_) return;
    DestroyMenu(handle_);
}

std::wstring AddHotkey(const std::wstring& caption, std::wstring& used) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (caption[i + 1] != L'&') {
                used += UpperChar(caption[i + 1]);
                return caption;
            }
            ++i;
        }
    }
    for (size_t i = 0; i < caption.size(); ++i) {
        wchar_t c = caption[i];
        if (!IsCharAlphaNumericW(c)) continue;
        wchar_t up = UpperChar(c);
        if (used.find(up) != std::wstring::npos) continue;
        used += up;
        return caption.substr(0, i) + L"&" + caption.substr(i);
    }
    return caption;
}

HMENU TMainMenu::Handle() {
    if (!handle_) {
        commands_.clear();
        handle_ = Build(Items, true);
    }
    return handle_;
}

void TMainMenu::Changed() {
    const HMENU old = handle_;
    handle_ = nullptr;
    auto* form = dynamic_cast<TForm*>(Owner());
    if (form && form->Menu() == this)
        form->SetMenu(this); // builds the new menu and puts it in the old one's place
    else
        Handle();
    // Replaced, the old menu is no window's any more.
    if (old && IsMenu(old)) DestroyMenu(old);
}

HMENU TMainMenu::Build(TMenuItem* parent, bool bar) {
    HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
    parent->handle_ = menu;
    std::wstring used;
    for (TMenuItem* item : parent->items_) {
        item->handle_ = nullptr;
        item->command_ = 0;
        if (!item->Visible) continue;
        if (item->IsLine() && !bar) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring text = AutoHotkeys ? AddHotkey(item->Caption, used) : item->Caption;
        const UINT grey = item->Enabled ? 0 : MF_GRAYED;
        if (!item->items_.empty()) {
            AppendMenuW(menu, MF_STRING | MF_POPUP | grey, reinterpret_cast<UINT_PTR>(Build(item, false)),
                        text.c_str());
        } else {
            // Command ids above the dialog ids and the controls' ids.
            item->command_ = UINT(1000 + commands_.size());
            commands_.push_back(item);
            item->menu_ = menu;
            AppendMenuW(menu, MF_STRING | grey | (item->checked_ ? MF_CHECKED : 0), item->command_, text.c_str());
        }
    }
    return menu;
}

TMenuItem* TMainMenu::FindItem(UINT command) const {
    for (TMenuItem* item : commands_)
        if (item->command_ == command) return item;
    return nullptr;
}

bool TMainMenu::DispatchCommand(UINT command) {
    TMenuItem* item = FindItem(command);
    if (!item) return false;
    item->Click();
    return true;
}

// ---- Owner-drawn items and popup menus

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) const {
    if (IsLine()) {
        width = 0;
        height = GetSystemMetrics(SM_CYMENU) / 2;
        return;
    }
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, Caption.c_str(), int(Caption.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    width = r.right - r.left;
    const std::wstring shortCut = ShortCutToText(ShortCut);
    if (!shortCut.empty()) {
        RECT s{0, 0, 0, 0};
        DrawTextW(dc, shortCut.c_str(), int(shortCut.size()), &s, DT_CALCRECT | DT_SINGLELINE);
        width += 20 + s.right - s.left;
    }
    height = std::max<int>(r.bottom - r.top + 4, GetSystemMetrics(SM_CYMENU));
}

void TMenuItem::DrawItem(HDC dc, const RECT& rect, UINT state) const {
    const bool selected = (state & ODS_SELECTED) != 0, greyed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (IsLine()) {
        RECT line = rect;
        line.top += (rect.bottom - rect.top) / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const int mark = GetSystemMetrics(SM_CXMENUCHECK);
    if (checked_) {
        RECT box{rect.left + 2, rect.top + (rect.bottom - rect.top - mark) / 2, 0, 0};
        box.right = box.left + mark;
        box.bottom = box.top + mark;
        DrawFrameControl(dc, &box, DFC_MENU, DFCS_MENUCHECK | DFCS_TRANSPARENT);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(greyed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT text{rect.left + mark + 6, rect.top, rect.right - 8, rect.bottom};
    DrawTextW(dc, Caption.c_str(), int(Caption.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    const std::wstring shortCut = ShortCutToText(ShortCut);
    if (!shortCut.empty())
        DrawTextW(dc, shortCut.c_str(), int(shortCut.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), Items(new TMenuItem(this)) {}

TPopupMenu::~TPopupMenu() {
    if (handle_) EndMenu();
}

HWND TPopupMenu::Window() const {
    return handle_ && window_ ? window_->Handle() : nullptr;
}

TMenuItem* TPopupMenu::ItemOfData(ULONG_PTR data) const {
    for (TMenuItem* item : shown_)
        if (reinterpret_cast<ULONG_PTR>(item) == data) return item;
    return nullptr;
}

HMENU TPopupMenu::Build(TMenuItem* parent) {
    HMENU menu = CreatePopupMenu();
    UINT position = 0;
    for (TMenuItem* item : parent->items_) {
        if (!item->Visible) continue;
        std::wstring text = item->Caption;
        const std::wstring shortCut = ShortCutToText(item->ShortCut);
        if (!shortCut.empty()) text += L"\t" + shortCut;
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
        mii.fType = (item->IsLine() ? MFT_SEPARATOR : MFT_STRING) | (OwnerDraw ? MFT_OWNERDRAW : 0);
        mii.fState =
            (item->Enabled ? 0 : MFS_GRAYED) | (item->checked_ ? MFS_CHECKED : 0) | (item->Default ? MFS_DEFAULT : 0);
        shown_.push_back(item);
        mii.wID = UINT(shown_.size());
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        mii.dwTypeData = text.data();
        if (!item->items_.empty()) {
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = Build(item);
        }
        item->menu_ = menu;
        InsertMenuItemW(menu, position++, TRUE, &mii);
    }
    return menu;
}

void TPopupMenu::Popup(int x, int y) {
    if (handle_) return; // already open
    if (OnPopup) OnPopup(this);
    if (!window_)
        window_ = std::make_unique<THiddenWindow>(L"TPopupList",
                                                  [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                                                      return WindowMessage(msg, wParam, lParam, result);
                                                  });
    shown_.clear();
    handle_ = Build(Items);
    const UINT id = UINT(TrackPopupMenu(handle_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, x, y,
                                        0, window_->Handle(), nullptr));
    const std::vector<TMenuItem*> shown = std::move(shown_);
    shown_.clear();
    DestroyMenu(handle_);
    handle_ = nullptr;
    for (TMenuItem* item : shown)
        item->menu_ = nullptr;
    if (id > 0 && id <= shown.size() && shown[id - 1]->Enabled) shown[id - 1]->Click();
}

bool TPopupMenu::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        TMenuItem* item = mis->CtlType == ODT_MENU ? ItemOfData(mis->itemData) : nullptr;
        if (!item) return false;
        const TClientDC screen(nullptr);
        HDC dc = screen.Get();
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof(ncm);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        int width = int(mis->itemWidth), height = int(mis->itemHeight);
        {
            // Declared in teardown order: the font is deselected before it is deleted.
            const TFontHandle font(CreateFontIndirectW(&ncm.lfMenuFont));
            TSelectObject select(dc, font ? font.Get() : GetStockObject(DEFAULT_GUI_FONT));
            item->MeasureItem(dc, width, height);
            if (item->OnMeasureItem) item->OnMeasureItem(item, dc, width, height);
        }
        mis->itemWidth = UINT(std::max(width, 0));
        mis->itemHeight = UINT(std::max(height, 0));
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        TMenuItem* item = dis->CtlType == ODT_MENU ? ItemOfData(dis->itemData) : nullptr;
        if (!item) return false;
        const int saved = SaveDC(dis->hDC);
        if (item->OnDrawItem)
            item->OnDrawItem(item, dis->hDC, dis->rcItem, dis->itemState);
        else
            item->DrawItem(dis->hDC, dis->rcItem, dis->itemState);
        RestoreDC(dis->hDC, saved);
        result = TRUE;
        return true;
    }
    case WM_MENUCHAR: {
        // Owner-drawn items have no text the system would match a typed character against.
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        const int count = GetMenuItemCount(menu);
        std::vector<TMenuCharItem> items;
        int current = -1;
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_DATA | MIIM_STATE;
            GetMenuItemInfoW(menu, UINT(i), TRUE, &mii);
            if (mii.fState & MFS_HILITE) current = i;
            const TMenuItem* item = ItemOfData(mii.dwItemData);
            items.push_back({item && !item->IsLine() ? item->Caption : std::wstring(), item && item->Enabled});
        }
        const TMenuCharMatch m = MatchMenuChar(items, wchar_t(LOWORD(wParam)), current);
        if (m.Index < 0) return false;
        result = MAKELRESULT(m.Index, m.Execute ? MNC_EXECUTE : MNC_SELECT);
        return true;
    }
    default:
        return false;
    }
}
