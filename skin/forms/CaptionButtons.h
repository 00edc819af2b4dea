// The faces of a skinned window's caption buttons, free of any window system: which buttons a paint
// draws, and one face drawn from the button's image (or the window's icon) over what lies under it.
// The resting faces painted with the caption, the hot and pressed faces painted on mouse input and
// the resting faces of a maximized MDI child's buttons in the menu bar all come from here.
#pragma once

#include "skin/forms/FrameLayout.h"

// The paints that draw caption button faces.
enum class TFacePass {
    Caption, // the resting faces, with the caption strip
    MenuBar, // the resting faces of a maximized MDI child's buttons (Align 100), with the menu bar
    Mouse,   // one button's face after mouse input, wherever the button sits
};

// Whether a paint draws the button's face: a visible button with an image and a non-empty
// rectangle, in a pass that paints its strip (the menu bar's buttons are not the caption's).
bool SysButtonDrawn(const TDataSkinSysButton& b, bool visible, const TRect& r, TFacePass pass);

// The window's icon as the face of a window-icon button: premultiplied alpha, blended over the
// caption. 0 alpha leaves the caption showing.
// From a picture of the icon drawn over black and the same over white: a pixel that lets through
// the whole difference is transparent, one that lets none is opaque.
TBitmap32 IconFromBlackWhite(const TBitmap32& overBlack, const TBitmap32& overWhite);
// From an image whose `key` pixels are transparent, the others opaque.
TBitmap32 IconFromKeyed(const TBitmap32& image, TColor key);

// Draws the face of button b in `state` into target within r (target's coordinates): back's pixels
// under r first (back is the strip as painted before any button, in target's coordinates, and may
// be target itself), then for a window-icon button the window's icon blended at r's top-left, for
// the others the state's frame of the image stretched over r with its magenta pixels left out, so
// a transparent part shows the strip, never an earlier face. Nothing is drawn outside r or target.
void DrawSysButtonFace(TBitmap32& target, const TBitmap32& back, const TRect& r, const TDataSkinSysButton& b, int state,
                       bool active, const TBitmap32& icon);
