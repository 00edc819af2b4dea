// The control skinner base: one object per skinned control. It hooks the control's messages
// (through a framework control's WindowProc, or a raw window's procedure), lets the control do its
// own work, and paints the control's face from the skin over or instead of it. Subclasses decide
// what to paint; this class holds the pipeline, the life cycle and the shared drawing methods.
#pragma once

#include "skin/data/SkinModel.h"
#include "skin/forms/SkinCanvas_win.h"

#include "framework/Controls.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

class TSkinDataCore;
class TWinSkinForm;

// Hover and pressed flags of a skinner.
enum : unsigned { scMouseIn = 1, scDown = 2 };

// Life-cycle statuses of a control skinner.
enum TControlStatus : int {
    kControlCreated = 0,
    kControlSkinned = 1,
    kControlUnsubclassed = 2, // a box skinner gave its control back
    kControlDestroyed = 6,    // the window has had its WM_NCDESTROY
};

class TSkinControl : public TComponent {
public:
    // owner: the control to skin (it frees the skinner); for raw windows whoever found them, or
    // nullptr when the form skinner alone frees it.
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // Skins the framework control that owns this skinner; changeColor: the control takes the
    // skin's face colour until unskinned. Runs once.
    virtual void Init(TWinSkinForm* form, TSkinDataCore* skin, bool changeColor);
    // Skins a raw window.
    virtual void Inithwnd(HWND hwnd, TSkinDataCore* skin, TWinSkinForm* form);
    // Gives the control back its colour; the procedure stays hooked until the skinner goes.
    virtual void Unsubclass();
    // Before the control's own handling; false consumes the message.
    virtual bool BeforeProc(TMessage& m);
    // After the control's own handling.
    virtual void AfterProc(TMessage& m);
    // Paints the skin through dc, or the window DC when dc is null.
    virtual void PaintControl(HDC dc);
    // The subclass's drawing of the face into dc over r (the window at the origin).
    virtual void DrawControl(HDC dc, const RECT& r);
    // DrawControl over the whole window into dc (the window at the origin). False when the face
    // is missing: a buffer it needed could not be made, or drawing it failed.
    bool DrawFace(HDC dc);
    // The face into a DC whose origin is the client area's corner (WM_PRINTCLIENT), clipped to
    // the client area.
    void PrintFace(HDC dc);
    // The skin changed: the new face colour and a repaint.
    virtual void SkinChange();
    virtual int GetState() { return 1; }
    // Whether the skin has what this kind draws its face from. Without it the control keeps the
    // system's look: every message goes straight to the control.
    virtual bool HasFace() const { return true; }

    void NewWndProc(TMessage& m);
    // The one way a skinner is freed besides its owner: the control gets its procedure and colour
    // back at once and leaves the form skinner's list; the skinner itself is freed now, or, while a
    // call into it is on the stack (a click that runs a message loop, a thumb drag), when the
    // outermost call returns. Nothing may use the skinner after Retire.
    void Retire();
    // Retire has been called: a call still on the stack must not touch the control any more.
    bool Retired() const { return retired_; }
    // The control's own handling.
    void Default(TMessage& m);
    // Answers WM_PAINT completely (for skinners that paint the whole face); when the face cannot
    // be drawn, the control's own painting fills the DC instead.
    void WMPaint(TMessage& m);
    // For skinners that paint the whole face: WM_PAINT through WMPaint, WM_ERASEBKGND answered 1
    // (the background is never erased first).
    void PaintWholeFace(TMessage& m);
    // Repaints the whole control at once, without erasing.
    void Invalidate();
    void MouseLeave();

    // Drawing (rectangles right and bottom exclusive; an inverted one draws nothing).
    void FillBG(HDC dc, const RECT& r);
    // Copies the shared buffer from (0, 0) onto r.
    void DrawBuf(HDC dc, const RECT& r);
    // Nine-slice of one frame of a skin object onto dc (magenta transparent when the object says).
    void DrawSkinMap(HDC dc, const RECT& r, const TDataSkinObject* obj, int index, int count);
    // The same into the shared buffer at the origin, over the face colour.
    void DrawSkin(const RECT& r, const TDataSkinObject* obj, int index, int count, int trans);
    // One frame of a strip scaled to r, magenta transparent.
    void DrawSkinMap1(HDC dc, const RECT& r, const TBitmap32& image, int index, int count);
    void DrawSkinMap2(HDC dc, const RECT& r, const TBitmap32& image, int index, int count) {
        DrawSkinMap1(dc, r, image, index, count);
    }
    void DrawSkinMap3(HDC dc, const RECT& r, const TBitmap32& image, int index, int count) {
        DrawSkinMap1(dc, r, image, index, count);
    }
    // Caption one pixel above the vertical centre; align 0 left, 1 centre, 2 right.
    void DrawCaption(HDC dc, const RECT& r, const std::wstring& text, bool enabled, int align);
    // An image of the list and the caption on one line.
    void DrawImgCaption(HDC dc, const RECT& r, HIMAGELIST images, int imageIndex, const std::wstring& text,
                        int align);
    int TextHeight(HDC dc, const std::wstring& text);

    // The skinner of a window hooked by either path, or nullptr.
    static TSkinControl* FromHandle(HWND hwnd);
    // Skinners alive in the process (for leak and lifetime checks).
    static int LiveCount();

    // What the skinner skins, and where it stands.
    HWND Handle() const { return FHandle; }
    TWinControl* Control() const { return FControl; }
    // The framework control a skinner paints without hooking a window of its own, or nullptr.
    TComponent* GraphicControl() const { return FGraphicControl; }
    TControlStatus Status() const { return FStatus; }
    const std::wstring& Caption() const { return FCaption; }
    bool ChangesColor() const { return FChangeColor; }
    // The window's place on screen as last painted or entered: the hover timer compares the
    // cursor with it.
    const RECT& WindowRect() const { return FWindowRect; }
    // Takes the window's place on screen now.
    void NoteWindowRect() { GetWindowRect(FHandle, &FWindowRect); }
    // The flags a face is drawn from; set directly only by the pictures of each state that skin
    // authors make (no mouse or focus involved).
    struct TLook {
        unsigned State;
        bool Focused;
        bool Enabled;
    };
    TLook Look() const { return TLook{FState, FFocused, FEnabled}; }
    void SetLook(const TLook& look) {
        FState = look.State;
        FFocused = look.Focused;
        FEnabled = look.Enabled;
    }
    // The skin at the DPI of the control's form (the skin data must be set): what faces are drawn from.
    const TSkinModel& Skin() const;
    int Dpi() const;

protected:
    // The skin's face colour as RGB.
    COLORREF FaceRGB() const;
    // The mouse came over the control: the hover flag is set, the window's place noted, and the
    // control becomes its form's hot control. False when the flag was set already.
    bool EnterHover();

    unsigned FState = 0;
    bool FEnabled = true;
    bool FFocused = false;
    std::wstring FCaption;
    TSkinDataCore* FSkinData = nullptr;
    HWND FHandle = nullptr;
    TWinControl* FControl = nullptr;
    RECT FWindowRect{};
    TComponent* FGraphicControl = nullptr;
    bool FChangeColor = false;
    TColor FOldColor = 0;
    bool FInitialized = false;
    TControlStatus FStatus = kControlCreated;
    TWinSkinForm* FSkinForm = nullptr;

private:
    // The messages of a raw window (Inithwnd).
    LRESULT RawProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Puts back the procedures this skinner replaced, where they are still ours.
    void Unhook();
    int depth_ = 0; // calls into the skinner on the stack
    bool retired_ = false;
    TWndMethod oldWindowProc_;
    using TRawHook = TWindowHookOf<TSkinControl, &TSkinControl::RawProc>;
    TRawHook rawHook_;
};

// Conversions between the system's rectangles and colours and our raster types.
inline TRect ToTRect(const RECT& r) {
    return TRect{r.left, r.top, r.right, r.bottom};
}
inline RECT ToRECT(const TRect& r) {
    return RECT{r.Left, r.Top, r.Right, r.Bottom};
}
inline TPixel PixelOf(COLORREF c) {
    return PixelRGB(GetRValue(c), GetGValue(c), GetBValue(c));
}
// A skin element with an image to draw from.
inline bool HasImage(const TDataSkinObject* o) {
    return o && !o->Bitmap.Empty();
}

// The process's scratch bitmap for skinners without a buffer of their own: one user at a time.
TDib& SharedBuffer();
// Makes sure the shared buffer holds at least w x h; false when it cannot.
bool SharedBufferFit(int w, int h);

// The caption helpers of the form skinner and the skinners.
void MyDrawCaption(HDC dc, const RECT& r, const std::wstring& text, bool enabled, TAlignment alignment);
// A small arrow in the DC's pen colour: kind 0 up, 1 down, 2 left, 3 right.
void DrawArrow(HDC dc, int x, int y, int kind);
