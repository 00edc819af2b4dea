// Skinners of headers, status bars and the size box of a dialog. Each lets the control paint first
// and paints the skin over it; without the skin's image the control's own drawing stays.
#pragma once

#include "skin/controls/SkinControl_win.h"

class TSkinHeader : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;

private:
    void DrawItem(TDib& target, HIMAGELIST images, const RECT& r, int index);
};

class TSkinStatusBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const RECT& r) override;

private:
    // One panel: bevel is the frame of the three-frame panel strip (1 lowered, 2 raised, 3 none).
    void drawitem(HDC dc, const RECT& r, int bevel, const std::wstring& text, int align);
    void Defaultpaint(HDC dc, const RECT& r, int bevel, const std::wstring& text, int align);
};

class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
};
