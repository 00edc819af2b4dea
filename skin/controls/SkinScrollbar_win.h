// Scroll bar skinners. TSkinScrollbar paints the window scroll bars of a scrollable control (memo,
// list box, any window with WS_HSCROLL or WS_VSCROLL) from the skin over the system's after every
// paint, shows the arrow or thumb the system's tracking has pressed, and drags the thumb itself.
// TSkinScControl paints a stand-alone scroll bar control the same way.
//
// Arrow and page clicks and their auto-repeat stay the system's: its tracking sends the scroll
// notifications, and the skinner repaints with the pressed part shown.
#pragma once

#include "skin/controls/ScrollRules.h"
#include "skin/controls/SkinControl_win.h"

// Pressed or hot part of a skinned bar.
enum : int {
    kPartNone = 0,
    kPartLeft = 1,
    kPartRight = 2,
    kPartUp = 3,
    kPartDown = 4,
    kPartHorzThumb = 5,
    kPartVertThumb = 6,
};

// The system's scroll tracking draws its own bar after it has sent a notification (the moving
// thumb, the released arrow). A skinner asks for one more paint with a posted message, which the
// tracking loop dispatches after its drawing.
UINT ScrollRepaintMessage();
class TScrollRepaint {
public:
    // Posts the request unless one is on its way.
    void Request(HWND hwnd);
    // True (and the request done) for the posted message.
    bool Take(const TMessage& m);

private:
    bool pending_ = false;
};

// Why a thumb drag ended.
enum class TDragEnd { None, Release, CaptureLost, Escape, Destroyed, Quit, Retired };

class TSkinScrollbar : public TSkinControl {
public:
    explicit TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}
    ~TSkinScrollbar() override;

    // Skins the window scroll bars of a framework control; canDrag: the skinner drags the thumb
    // itself instead of the system. Other skinners of scrollable controls override this.
    virtual void InitScrollbar(TWinControl* control, TSkinDataCore* skin, TWinSkinForm* form, bool canDrag);
    // A raw window: the system keeps dragging the thumb.
    void Inithwnd(HWND hwnd, TSkinDataCore* skin, TWinSkinForm* form) override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    // Both bars and the size box over the window (r: the window at the origin).
    void DrawControl(HDC dc, const RECT& r) override;

    // Bars in window coordinates, from the window's style and client area.
    void GetScrollBarRect(const RECT& r);
    // One bar (kind 1 horizontal, 2 vertical) from the skin over barRect.
    void DrawScrollBar(HDC dc, const RECT& barRect, bool drawThumb, int kind);
    // The bar's thumb from the control's scroll information; kept as it is during a drag.
    void GetThumb(const RECT& barRect, int kind);
    // A press on a bar: true when it was on the thumb and the skinner dragged it.
    bool NCLButtonDown(TMessage& m);
    // Drags the thumb of a bar until the button is released, the window loses the capture, Esc is
    // pressed, the window goes, or the thread is asked to quit (the request is posted again). It
    // sleeps until a message comes.
    void DragThumb(int kind, UINT scrollMsg);

    int FActivePart = kPartNone;
    int FHotPart = kPartNone;
    DWORD FStyle = 0, FExStyle = 0;
    RECT FSizeBoxRect{}, FHBarRect{}, FVBarRect{};
    bool FDragging = false;
    bool FCanDrag = false;
    bool FInVScroll = false, FInHScroll = false;
    SCROLLINFO FHScrollInfo{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
    SCROLLINFO FVScrollInfo{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
    TBarGeometry FHBar, FVBar;
    // How the last thumb drag ended.
    TDragEnd LastDragEnd = TDragEnd::None;

private:
    void StartScrolling(bool canDrag);
    void ScrollNotified(TMessage& m, bool vertical);
    // The part (kPart...) under a screen point on a bar, or kPartNone.
    int PartAtScreen(POINT p, WPARAM hit);
    bool captureLost_ = false;
    TScrollRepaint repaint_;
    TDib bar_;
};

class TSkinScControl : public TSkinControl {
public:
    explicit TSkinScControl(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    void GetThumb(const RECT& barRect, int kind);
    void DrawScrollBar(HDC dc, const RECT& barRect, bool drawThumb, int kind);

    int FActivePart = kPartNone;
    TBarGeometry FBar;

private:
    TScrollRepaint repaint_;
    TDib bar_;
};

// The system's sizes for thumbs.
TThumbMetrics SystemThumbMetrics();

// Paints one bar from the skin (scaled to dpi) onto dc over barRect: composed 16 pixels thick at
// 96 DPI (16 * dpi / 96 at dpi) in scratch, then stretched across to the bar's thickness.
// activePart and hotPart use the kPart codes.
void PaintSkinBar(HDC dc, const RECT& barRect, bool vertical, const TBarGeometry& g, bool drawThumb, int activePart,
                  int hotPart, bool enabled, const TSkinModel& skin, TDib& scratch, int dpi = 96);

class TSkinHeader;

// A list view's scroll bars, and its header with a header skinner of its own.
class TSkinListView : public TSkinScrollbar {
public:
    using TSkinScrollbar::TSkinScrollbar;
    void InitScrollbar(TWinControl* control, TSkinDataCore* skin, TWinSkinForm* form, bool canDrag) override;

    TSkinHeader* FHeader = nullptr;
};
