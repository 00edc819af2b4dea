// Skinners of controls whose face the control mostly paints itself: check boxes and radio buttons
// (the skin's glyph painted over the box), group boxes (a rounded frame and an opaque caption over
// the control's own frame) and containers (only the skin's face colour).
#pragma once

#include "skin/controls/SkinControl_win.h"

class TSkinCheckBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;

protected:
    // The glyph of frame `index` of a strip of frameCount over the box column of r.
    void DrawBox(HDC dc, const RECT& r, const TBitmap32& strip, int frameCount, int index, bool radio);
};

class TSkinRadioButton : public TSkinCheckBox {
public:
    using TSkinCheckBox::TSkinCheckBox;
    void DrawControl(HDC dc, const RECT& r) override;
};

class TSkinGroupBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const RECT& r) override;
    void DefaultDraw(HDC dc, const RECT& r);
};

// Gives a container the skin's face colour; the control's messages are not hooked.
class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void Init(TWinSkinForm* form, TSkinDataCore* skin, bool changeColor) override;
    void Unsubclass() override;
    void AfterProc(TMessage&) override {}
};
