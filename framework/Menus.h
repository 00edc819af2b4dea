// The main menu bar and its items.
#pragma once

#include "framework/Classes.h"

#include <windows.h>

#include <string>
#include <vector>

// A menu item: a command (OnClick) or, with items of its own, a submenu. Items are owned by the
// item (or menu) they were added to.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner, std::wstring caption = L"");

    std::wstring Caption;
    TNotifyEvent OnClick;
    // Adds a child item (owned by this one) at the end and returns it.
    TMenuItem* Add(std::wstring caption, TNotifyEvent onClick = {});
    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(size_t(i)); }
    // The command id the item's window sends (0 for a submenu).
    UINT Command() const { return command_; }
    void Click();
    // A check mark before the caption.
    bool Checked() const { return checked_; }
    void SetChecked(bool value);

private:
    friend class TMainMenu;
    std::vector<TMenuItem*> items_;
    UINT command_ = 0;
    HMENU menu_ = nullptr; // the menu the item was built into
    bool checked_ = false;
};

// The menu bar of a form. Captions without an '&' get one (the first letter not yet taken by a
// sibling), so every item can be reached with the keyboard.
class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;

    TMenuItem* const Items; // the root; its children are the bar's entries
    bool AutoHotkeys = true;

    // Builds the menu (once the items are in place); the form attaches the result.
    HMENU Handle();
    // The item of a command id, or nullptr.
    TMenuItem* FindItem(UINT command) const;
    // Runs the command's OnClick; false when the id is not one of this menu's.
    bool DispatchCommand(UINT command);

private:
    HMENU Build(TMenuItem* parent, bool bar);
    HMENU handle_ = nullptr;
    std::vector<TMenuItem*> commands_;
};

// The caption as the menu shows it: with an '&' before the first letter whose upper case is not in
// used (which the chosen letter joins). A caption that has an '&' already is kept.
std::wstring AddHotkey(const std::wstring& caption, std::wstring& used);
