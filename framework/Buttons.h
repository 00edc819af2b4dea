// The bitmap button: a push button that draws a small picture (its glyph) beside its caption.
#pragma once

#include "framework/StdCtrls.h"

// Owns an icon handle and destroys it.
class TIconHandle {
public:
    TIconHandle() = default;
    explicit TIconHandle(HICON icon) : icon_(icon) {}
    ~TIconHandle() { Reset(); }
    TIconHandle(const TIconHandle&) = delete;
    TIconHandle& operator=(const TIconHandle&) = delete;
    HICON Get() const { return icon_; }
    void Reset(HICON icon = nullptr) {
        if (icon_) DestroyIcon(icon_);
        icon_ = icon;
    }

private:
    HICON icon_ = nullptr;
};

// Without a glyph it looks like a plain push button; with one, the button draws its face itself
// (owner-drawn): the glyph left of the caption, both centred together.
class TBitBtn : public TButton {
public:
    TBitBtn(TComponent* AOwner, TWinControl* AParent);
    // Takes ownership of the icon.
    void SetGlyph(HICON icon);
    HICON Glyph() const { return glyph_.Get(); }
    // Pixels between glyph and caption.
    int Spacing = 4;

    void WndProc(TMessage& m) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& di);
    TIconHandle glyph_;
};
