// The geometry of skinned, owner-drawn menu items: how wide and high an item is measured, where its
// glyph square, caption and shortcut go, which rows of the skin's separator image are drawn, how a
// right-to-left menu mirrors all of it (which item a typed character picks: framework/MenuText.h);
// and the frame a skinned tool bar button shows.
#pragma once

#include "skin/data/Bitmap.h"
#include "skin/data/RasterTypes.h"

// What the skin offers the measuring: its MenuItem element (and that element's left margin) and
// whether the menu has an image list.
struct TMenuMeasureSkin {
    bool HasItemObject = false;
    int ItemLeftMargin = 0;
    bool HasImages = false;
};

// An item of a window's own menu, measured from its text in the menu font.
int MenuTextItemWidth(int textWidth, const TMenuMeasureSkin& s);
// The system's proposed height + 4; 8 for an item without text (a separator).
int MenuTextItemHeight(int systemHeight, bool hasText);
// A framework menu bar item after its own measuring gave ownWidth.
int FrameworkItemWidth(int ownWidth, const TMenuMeasureSkin& s);
// A popup menu's item (also the system menu's) after its own measuring gave ownWidth.
int PopupItemWidth(int ownWidth, const TMenuMeasureSkin& s);

// What the places of an item depend on. Item is the item's rectangle where it is painted.
struct TMenuItemLayoutIn {
    TRect Item;
    int ImageWidth = 0; // the image list's width; 0 without an image list
    int LeftMargin = 0; // the MenuItem element's left margin; 0 without the element
    bool Checked = false;
    bool Separator = false;
    bool RightToLeft = false;
    int CaptionWidth = 0; // the caption as measured (single line, tabs expanded)
    int CaptionHeight = 0;
};

struct TMenuItemLayout {
    TRect Glyph;    // the glyph square; empty (zero width) for a separator
    TRect Text;     // the caption's room: glyph right + 3 to item right - 1
    TRect Caption;  // the measured caption, centred vertically in Text (left-aligned; mirrored: right)
    TRect Shortcut; // from the caption's end to item right - 11, text right-aligned (mirrored: left)
};

// Left-to-right positions; a right-to-left item has every one mirrored inside Item.
TMenuItemLayout LayoutMenuItem(const TMenuItemLayoutIn& in);
// r mirrored horizontally inside within.
TRect MirrorRect(const TRect& r, const TRect& within);
// Where a w x h mark goes when centred in square, one pixel right and down of exact centre.
TRect CentreMark(const TRect& square, int w, int h);

// Paints colour into target at (x, y) wherever mask is dark (a monochrome glyph such as the
// system's check mark: black marks, white leaves alone).
void DrawMask(TBitmap32& target, int x, int y, const TBitmap32& mask, TPixel colour);

// The rows of a separator frame (frame, in the image) drawn into an item itemHeight high: the
// bottom itemHeight rows, or the whole frame when the item is taller.
TRect SeparatorSource(const TRect& frame, int itemHeight);

// The background of an item at item (in the menu window's client coordinates) lies in the
// window's background image at item moved by inset, the width of the frame the system leaves
// outside the client area (3 on Windows; 0 under Wine, whose item rectangles already count it).
inline TRect BackgroundSource(const TRect& item, int inset) {
    return item.Offset(inset, inset);
}

// The frame of the skin's Buttons image (5 frames) under a tool bar button in a state: 2 selected
// (pressed), 4 focused or hot, none (0) greyed or disabled, 1 the default button, else none.
int ToolButtonFrame(bool selected, bool focusedOrHot, bool greyed, bool isDefault);
