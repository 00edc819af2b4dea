// The main menu bar and its items.
#pragma once

#include "framework/Classes.h"
#include "framework/MenuText.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class THiddenWindow;

// Paints an owner-drawn item: the menu's DC, the item's rectangle in it and the system's ODS_*
// state bits (selected, greyed, checked...).
using TMenuDrawItemEvent = std::function<void(TObject* Sender, HDC dc, const RECT& rect, UINT state)>;
// Measures an owner-drawn item: width and height arrive with the item's own measure.
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, HDC dc, int& width, int& height)>;

// A menu item: a command (OnClick) or, with items of its own, a submenu; "-" as caption makes a
// separator. Items are owned by the item (or menu) they were added to.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner, std::wstring caption = L"");

    std::wstring Caption;
    TNotifyEvent OnClick;
    // Read when a popup menu builds its menu (the main menu keeps its items enabled and shown).
    bool Enabled = true;
    bool Visible = true;
    bool Default = false;   // shown bold; the item Enter runs
    int ImageIndex = -1;    // in the menu's image list
    TShortCut ShortCut = 0; // shown after the caption
    // An owner-drawn popup menu's items paint and measure themselves through these; without them
    // the item's own measuring and plain painting are used.
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;
    // Adds a child item (owned by this one) at the end and returns it.
    TMenuItem* Add(std::wstring caption, TNotifyEvent onClick = {});
    // Frees the child item at index.
    void Delete(int index);
    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(size_t(i)); }
    // The command id the item's window sends (0 for a submenu).
    UINT Command() const { return command_; }
    void Click();
    // A check mark before the caption.
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool IsLine() const { return Caption == L"-"; }
    // The item that holds this one (nullptr for a menu's root).
    TMenuItem* Parent() const { return dynamic_cast<TMenuItem*>(Owner()); }
    // The menu the item was last built into (a popup's only while it is shown).
    HMENU MenuHandle() const { return menu_; }
    // The submenu built from this item's children (the bar itself for a main menu's root);
    // nullptr for a command item or before the menu is built.
    HMENU Handle() const { return handle_; }
    // The item's own measuring, in dc's font: caption and shortcut widths with gaps; a separator
    // is half a menu row high.
    void MeasureItem(HDC dc, int& width, int& height) const;
    // Plain painting in the system's menu colours, for owner-drawn items without OnDrawItem.
    void DrawItem(HDC dc, const RECT& rect, UINT state) const;

private:
    friend class TMainMenu;
    friend class TPopupMenu;
    std::vector<TMenuItem*> items_;
    UINT command_ = 0;
    HMENU menu_ = nullptr;   // the menu the item was built into
    HMENU handle_ = nullptr; // the submenu built from the children
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

    // Builds the menu (once the items are in place); the form attaches the result. Hidden items
    // are left out of it and disabled ones greyed.
    HMENU Handle();
    // Items were added, removed or changed (caption, Enabled, Visible): the menu is built anew
    // and the form showing it takes the new one (and tells whoever draws its menu bar).
    void Changed();
    // The item of a command id, or nullptr.
    TMenuItem* FindItem(UINT command) const;
    // Runs the command's OnClick; false when the id is not one of this menu's.
    bool DispatchCommand(UINT command);

private:
    HMENU Build(TMenuItem* parent, bool bar);
    HMENU handle_ = nullptr;
    std::vector<TMenuItem*> commands_;
};

// A menu shown at a point of the screen (a context menu), owned by a form or another component.
// Items and their properties are read each time it pops up.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem* const Items; // the root; its children are the menu's items
    // Items are drawn and measured by their OnDrawItem and OnMeasureItem (or plainly).
    bool OwnerDraw = false;
    // Images of the items (ImageIndex); not owned.
    HIMAGELIST Images = nullptr;
    TNotifyEvent OnPopup;

    // Shows the menu with its top-left corner at the screen point and returns when it closes;
    // the chosen item's OnClick runs after that.
    void Popup(int x, int y);
    // The menu and the window that owns it while the menu is shown; nullptr otherwise.
    HMENU Handle() const { return handle_; }
    HWND Window() const;
    // The item of an owner-drawn menu's item data while the menu is shown, or nullptr.
    TMenuItem* ItemOfData(ULONG_PTR data) const;

private:
    HMENU Build(TMenuItem* parent);
    bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HMENU handle_ = nullptr;
    std::vector<TMenuItem*> shown_; // the items built into handle_, by command id - 1
    std::unique_ptr<THiddenWindow> window_;
};

// The caption as the menu shows it: with an '&' before the first letter whose upper case is not in
// used (which the chosen letter joins). A caption that has an '&' already is kept.
std::wstring AddHotkey(const std::wstring& caption, std::wstring& used);
