// The combo box skinner: the skin's sunken edge around the box and its drop-down button. Without
// the skin's image the control keeps the system's own drawing.
#pragma once

#include "skin/controls/SkinControl_win.h"

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
