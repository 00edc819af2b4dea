// Geometry and state rules of the edit, combo box, up-down, progress bar and track bar skinners,
// free of any window system. Integer halves truncate toward zero.
#pragma once

#include "skin/controls/ButtonRules.h"
#include "skin/data/RasterTypes.h"

// The frame counts a strip really holds: at least 1, and no more than its width in pixels (a
// frame narrower than a pixel does not exist).
int StripFrames(int frameCount, int imageWidth);
// A frame index kept inside [1, frames].
int ClampFrame(int index, int frames);

// An edit has a border of its own to replace when its client area is smaller than its window.
bool EditHasBorder(const TRect& client, int windowW, int windowH);
// The printed frame (WM_PRINT) is drawn only around a client area with at least a pixel to spare.
bool EditPrintFrame(const TRect& client, int windowW, int windowH);

// A combo box or a single button: pressed over hot over focused over normal; disabled first.
// down / mouseIn are the skinner's flags.
int ButtonState(bool enabled, bool focused, bool down, bool mouseIn);

// Where a combo box's parts go, in window coordinates of a window w x h; b is the width of a
// system scroll arrow. The text area is left to the control.
struct TComboLayout {
    TRect TextArea;        // excluded from the skin's drawing
    TRect ButtonCell;      // the drop-down button
    TRect GlyphArea;       // the arrow glyph is centred here
    bool Mirrored = false; // the button image is the left-hand copy
};
TComboLayout ComboLayout(int w, int h, int b, bool buttonLeft);
// The flat style's button: inside a two-pixel frame, thumbW wide at the right.
TRect FlatComboButton(int w, int h, int thumbW);
// A glyph of gw x gh centred in area.
TRect CenterIn(const TRect& area, int gw, int gh);

// The two buttons of an up-down control, with their arrow kinds (0 up, 1 down, 2 left, 3 right),
// states and frames of an eight-frame strip.
struct TUpDownButton {
    TRect Rect;
    int Kind = 0;
    int State = kBtnNormal;
    int Frame = 1;
};
struct TUpDownLayout {
    TUpDownButton First, Second;
};
// client: the client rectangle; inset: the up-down sits inside an edit (buttons one pixel in);
// horizontal: a left/right pair. The cursor (client coordinates) picks the button that is pressed
// or hot. frames: the strip's frame count (frames are clamped to it).
TUpDownLayout UpDownLayout(const TRect& client, bool inset, bool horizontal, TPoint cursor, bool down, bool mouseIn,
                           bool enabled, int frames = 8);
// The frame of a button of the given state and kind: the first button uses frames 1-4, the
// second 5-8, clamped to the strip's frames.
int UpDownFrame(int state, int kind, int frames = 8);

// Pixels of a w-wide progress bar filled at position pos of the range's upper limit hi: rounded
// to the nearest, halves to even (bar style). 0 unless hi > 0 and pos > 0; never more than w.
int ProgressFill(int w, int pos, int hi);
// The same truncated (chunk style).
int ProgressChunkFill(int w, int pos, int hi);
// Chunks of width chunkW laid from 0 to cover fill pixels (the last one cut by the strip).
int ProgressChunks(int fill, int chunkW);

// Which thumb image a track bar uses.
enum TThumbImage { tiNone, tiHorz, tiVert };
TThumbImage TrackThumbImage(bool vertical, bool hasVert, bool hasHorz);
