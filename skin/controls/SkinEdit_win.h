// Skinners of input and indicator controls: edits (a flat frame in place of the sunken border),
// up-down buttons, combo boxes, progress bars and track bar thumbs. Where the skin lacks the image
// a skinner draws from, the control keeps the system's own drawing.
#pragma once

#include "skin/controls/SkinControl_win.h"

class TSkinUpDown;

// The mouse came onto a skinner's control (the framework sends no enter message of its own): it
// becomes the form skinner's hot control, so the form's timer tells it when the mouse leaves.
// False when it was already in.
bool EnterHover(TSkinControl& s);

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    // The up-down button inside the edit, once one was found.
    TSkinUpDown* UpDown() const { return upDown_; }

private:
    void FindUpDown();
    // WM_PRINT: the flat frame around a printed edit.
    void PaintControl1(HDC dc);
    void DrawControl1(HDC dc, const RECT& r);
    TSkinUpDown* upDown_ = nullptr;
};

class TSkinUpDown : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    // Drawn one pixel inside the client area (inside an edit).
    bool FInset = false;
    // A left/right pair whatever the window style says (a tab set's scroller).
    bool FForceHorz = false;

private:
    void DrawSkinButton(TBitmap32& target, const TRect& r, int frame, bool horizontal);
    void DrawButton(HDC dc, const RECT& r, int state, int kind);
};

class TSkinComBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    DWORD FStyle = 0, FExStyle = 0;

private:
    int State();
    // The flat style: a one-pixel frame and the button image in a thumb-wide cell.
    void DrawControl1(HDC dc, const RECT& r);
};

class TSkinProgress : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    // Whether the skin has what the current style draws from.
    bool Skinned() const;

private:
    void DrawControl1(HDC dc, const RECT& r);
};

class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    // The custom-draw answer for one notification.
    LRESULT CustomDraw(const NMCUSTOMDRAW& cd);

private:
    // The thumb image for the control's orientation; nullptr when the skin has none.
    const TDataSkinObject* ThumbImage() const;
    void Drawthumb(const NMCUSTOMDRAW& cd);
};
