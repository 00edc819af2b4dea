// The bitmap button, a push button that draws a small picture (its glyph) beside its caption, and
// the speed button, a flat tool button that takes no focus.
#pragma once

#include "framework/ImgList.h"
#include "framework/StdCtrls.h"

// Where a button's glyph goes beside its caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The published glyph settings of bitmap and speed buttons, by name: "Glyph" (Bitmap, whose
// bottom-left pixel's colour is transparent, NumGlyphs frames side by side: normal, disabled,
// pressed, latched), "NumGlyphs", "Layout", "Margin" (-1: centred) and "Spacing" (-1: spread).
struct TGlyphSettings {
    TBitmap Bitmap;
    int NumGlyphs = 1;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
    bool Get(const std::string& name, TPropValue& value) const;
};

// Without a glyph it looks like a plain push button; with one, the button draws its face itself
// (owner-drawn): the glyph left of the caption, both centred together. Instead of a glyph it can
// show a picture of an image list: "Images", "ImageIndex" (-1: none) and "DisabledIndex" (the
// picture while disabled; -1: ImageIndex greyed).
class TBitBtn : public TButton {
public:
    TBitBtn(TComponent* AOwner, TWinControl* AParent);
    // Takes ownership of the icon; the published Glyph becomes the icon's picture.
    void SetGlyph(HICON icon);
    HICON GlyphIcon() const { return glyph_.Get(); }
    TGlyphSettings Glyph;
    // The image list is not owned.
    void SetImages(TImageList* images, int imageIndex, int disabledIndex = -1);
    TImageList* Images() const { return images_; }

    void WndProc(TMessage& m) override;
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

private:
    void DrawItem(const DRAWITEMSTRUCT& di);
    void UpdateStyle();
    TIconHandle glyph_;
    TImageList* images_ = nullptr;
    int imageIndex_ = -1;
    int disabledIndex_ = -1;
};

// A button that paints itself in a window of its own class, takes no focus, and clicks on a mouse
// release over it. It tells its WindowProc when the mouse comes onto it and leaves it
// (CM_MOUSEENTER and CM_MOUSELEAVE, 0xB013 and 0xB014), as skinners expect.
class TSpeedButton : public TWinControl {
public:
    TSpeedButton(TComponent* AOwner, TWinControl* AParent);
    TGlyphSettings Glyph;
    // A flat button shows its edge only under the mouse.
    bool Flat = false;
    // A latched button shows pressed until released by the program.
    bool Down() const { return down_; }
    void SetDown(bool value);
    TNotifyEvent OnClick;
    virtual void Click();

    void WndProc(TMessage& m) override;
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
    bool SetPropValue(const std::string& name, const std::string& value) override;

private:
    void Paint(HDC dc);
    void MouseAt(bool inside);
    bool down_ = false;
    bool pressed_ = false; // the left button went down on it and has not come up
    bool mouseIn_ = false;
};
