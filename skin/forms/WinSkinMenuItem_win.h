// Owner-drawn menu items painted from the skin: the face of one item (background from its popup
// window's rendered background, the MenuItem element's frames, glyph or check mark, caption and
// shortcut) and the owner-drawing of a window's menu tree for the time one submenu is tracked.
#pragma once

#include "skin/data/Bitmap.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class TSkinModel;

// What an item shows; taken from a menu handle's item or from a framework item.
struct TMenuItemFace {
    std::wstring Caption; // "&" marks the mnemonic
    std::wstring ShortCut;
    bool Separator = false;
    bool Enabled = true;
    bool Checked = false;
    bool Default = false;
    bool Selected = false;
    bool RightToLeft = false;
    HIMAGELIST Images = nullptr;
    int ImageIndex = -1;
};

// Where an item's background comes from: the rendered background of the popup window showing it
// (nullptr when the skin has none or the window is not known) and the frame width the system keeps
// outside that window's client area.
struct TMenuItemBack {
    const TBitmap32* Image = nullptr;
    int Inset = 0;
};

// Paints one item at rect of dc from skin (the model at the menu's DPI), in font (bold for a
// default item), through a scratch bitmap.
// Every GDI object it makes (check mark, dither brush, bold font) is freed before it returns.
void PaintMenuItem(const TSkinModel& skin, HDC dc, const RECT& rect, const TMenuItemBack& back,
                   const TMenuItemFace& face, HFONT font);

// The background of the popup window showing menu (pairing a waiting popup skinner with it).
TMenuItemBack MenuItemBackground(HMENU menu);

// A caption and its shortcut, from a menu item text "Caption\tShortCut".
void SplitMenuText(const std::wstring& text, std::wstring& caption, std::wstring& shortCut);

// Makes every item of a menu tree owner-drawn, by position, for as long as it lives: the items'
// types and item data are given back when it goes, so the menu draws itself again once the skin
// has let go of the window. The item data of each item points at its record while it lives.
class TOwnerDrawMenu {
public:
    struct Item {
        HMENU Menu;
        UINT Position;
        UINT Id;
        std::wstring Text; // as the menu held it
        UINT Type;         // before owner-drawing
        ULONG_PTR Data;    // before owner-drawing
    };

    explicit TOwnerDrawMenu(HMENU menu);
    ~TOwnerDrawMenu();
    TOwnerDrawMenu(const TOwnerDrawMenu&) = delete;
    TOwnerDrawMenu& operator=(const TOwnerDrawMenu&) = delete;

    // The record of an item's data, or nullptr for an item that is not ours.
    const Item* Find(ULONG_PTR data) const;
    // The records of one menu of the tree in position order (empty for a menu not in it).
    std::vector<const Item*> ItemsOf(HMENU menu) const;
    // The item's face from its record and its current state in the menu.
    static TMenuItemFace FaceOf(const Item& item);

private:
    void Take(HMENU menu, int depth);
    std::vector<std::unique_ptr<Item>> items_;
};

// The answer to WM_MENUCHAR for a menu of the tree (its items matched by their mnemonics or first
// letters), or -1 when the menu is not one of the tree's or no item answers.
LRESULT MenuCharAnswer(const TOwnerDrawMenu& tree, HMENU menu, wchar_t c);

// An image list of 16 x 16 glyphs cut from a strip (white is transparent); the caller destroys it.
HIMAGELIST MakeGlyphImages(const TBitmap32& strip);
