// Push button skinners: the whole face (skin frame, glyph, caption) drawn off-screen and copied in
// one step. The mouse click is the skinner's (press and release over the button); keyboard clicks
// stay the button's own.
#pragma once

#include "skin/controls/SkinControl_win.h"

class TBitmap;
class TImageList;

// Plain push buttons: framework buttons and raw BUTTON windows alike.
class TSkinButton : public TSkinControl {
public:
    explicit TSkinButton(TComponent* owner) : TSkinControl(owner) {}

    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    // A skin without a push-button image leaves buttons of every kind to the system.
    bool HasFace() const override;
    // Caption one pixel above the centre, in the DC's font and colour; align 0 left, 1 centre, 2 right.
    void DrawBtnText(HDC dc, const RECT& r, const std::wstring& text, int align);

protected:
    // Focus, enabled state and caption as the window has them now.
    void Refresh();
    // Sizes FBuffer to w x h; false when it cannot be made.
    bool FitBuffer(int w, int h);
    // The text colour of frame s (ButtonTextColor) as RGB.
    COLORREF TextRGB(int s) const;
    void SetHot();
    // The off-screen surface of every paint.
    TDib FBuffer;

private:
    void Click();
};

// Buttons with a glyph beside the caption; the glyph settings are read by name from the control.
class TSkinBitButton : public TSkinButton {
public:
    using TSkinButton::TSkinButton;
    void DrawControl(HDC dc, const RECT& r) override;
    // Glyph frame `index` (1 normal, 2 disabled and greyed, 3 pressed) of a strip of numGlyphs
    // at (x, y) in target, the strip's bottom-left colour transparent.
    static void DrawGlyph(TBitmap32& target, int x, int y, const TBitmap& glyph, int index, int numGlyphs);
    // Picture `index` of an image list at (x, y) in target, greyed or not; nothing for an index
    // outside the list.
    static void DrawListImage(TBitmap32& target, int x, int y, const TImageList& images, int index, bool greyed);

protected:
    // Glyph, layout and caption over the face already in `target` (whose DC is dc).
    void DrawFace(HDC dc, TBitmap32& target, const RECT& r, int frame, bool speed);
};

// Speed buttons: they take no focus and click by themselves; the skinner follows their mouse
// state and paints their face into the shared buffer.
class TSkinSpeedButton : public TSkinBitButton {
public:
    using TSkinBitButton::TSkinBitButton;
    void Init(TWinSkinForm* form, TSkinDataCore* skin, bool changeColor) override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
};
