// Skinners of input controls: edits (a flat frame in place of the sunken border) and up-down
// buttons. Where the skin lacks the image a skinner draws from, the control keeps the system's own
// drawing.
#pragma once

#include "skin/controls/SkinControl_win.h"

class TSkinUpDown;

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
