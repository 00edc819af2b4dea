#include "framework/Menus.h"

TMenuItem::TMenuItem(TComponent* AOwner, std::wstring caption) : TComponent(AOwner), Caption(std::move(caption)) {}

TMenuItem* TMenuItem::Add(std::wstring caption, TNotifyEvent onClick) {
    auto* item = new TMenuItem(this, std::move(caption));
    item->OnClick = std::move(onClick);
    items_.push_back(item);
    return item;
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
    // A menu attached to a window goes with the window; only a detached one is ours to destroy.
    if (handle_ && !IsMenu(handle_)) handle_ = nullptr;
}

namespace {
wchar_t Upper(wchar_t c) {
    wchar_t s[2] = {c, 0};
    CharUpperW(s);
    return s[0];
}
} // namespace

std::wstring AddHotkey(const std::wstring& caption, std::wstring& used) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (caption[i + 1] != L'&') {
                used += Upper(caption[i + 1]);
                return caption;
            }
            ++i;
        }
    }
    for (size_t i = 0; i < caption.size(); ++i) {
        wchar_t c = caption[i];
        if (!IsCharAlphaNumericW(c)) continue;
        wchar_t up = Upper(c);
        if (used.find(up) != std::wstring::npos) continue;
        used += up;
        return caption.substr(0, i) + L"&" + caption.substr(i);
    }
    return caption;
}

HMENU TMainMenu::Handle() {
    if (!handle_) handle_ = Build(Items, true);
    return handle_;
}

HMENU TMainMenu::Build(TMenuItem* parent, bool bar) {
    HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
    std::wstring used;
    for (TMenuItem* item : parent->items_) {
        std::wstring text = AutoHotkeys ? AddHotkey(item->Caption, used) : item->Caption;
        if (!item->items_.empty()) {
            AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(Build(item, false)), text.c_str());
        } else {
            // Command ids above the dialog ids and the controls' ids.
            item->command_ = UINT(1000 + commands_.size());
            commands_.push_back(item);
            item->menu_ = menu;
            AppendMenuW(menu, MF_STRING | (item->checked_ ? MF_CHECKED : 0), item->command_, text.c_str());
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
