// The progress bar skinner and the track bar thumb skinner. Without the skin's image the control
// keeps the system's own drawing.
#pragma once

#include "skin/controls/SkinControl_win.h"

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
