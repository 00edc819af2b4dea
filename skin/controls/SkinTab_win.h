// Skinners of tab controls (tabs on any side, with the page border) and tab sets. Each lets the
// control paint first and paints the skin over it; without the skin's image the control's own
// drawing stays.
#pragma once

#include "skin/controls/SkinControl_win.h"
#include "skin/controls/TabRules.h"

class TSkinUpDown;

class TSkinTab : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void Inithwnd(HWND hwnd, TSkinDataCore* skin, TWinSkinForm* form) override;
    void SkinChange() override;
    void DrawControl(HDC dc, const RECT& r) override;

    TSkinTabPosition FPosition = StTop;
    TBitmap32 FTabImage;    // mirrored for the bottom side
    TBitmap32 FBorderImage; // mirrored or turned for the side
    TSkinUpDown* FUpDown = nullptr;

private:
    void inittab();
    // Skins the control's scroll arrows when first found; whether they are visible.
    bool FindScroll();
    // The strip's tabs: faces, and captions for the top and bottom sides.
    void DrawStrip(TDib& strip, const TRect& window, const TRect& page, int focused);
    // Captions of side tabs, turned with the strip, drawn on the strip after its turn.
    void DrawSideCaptions(TDib& strip, const TRect& stripRect, int focused);
};

// A tab set: a framework control publishing "Tabs", "TabIndex", "FirstIndex", "StartMargin",
// "EndMargin" and "Font"; its first owned component, when windowed, is its scroller.
class TSkinTab31 : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void Init(TWinSkinForm* form, TSkinDataCore* skin, bool changeColor) override;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    void SkinChange() override;

    TBitmap32 FTabImage; // the skin's tab image mirrored: tabs hang from the top edge
    TSkinUpDown* FUpDown = nullptr;
    TWinControl* FScroller = nullptr;

private:
    void inittab();
};
