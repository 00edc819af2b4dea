// What the button, check box, radio button and group box skinners draw where, free of any window
// system: the frame of the skin's strips for each state, the text colour, the glyph and caption
// layout of bitmap buttons, the check glyph's place and the group box's frame line. Integer halves
// truncate toward zero.
#pragma once

#include "framework/Colors.h"
#include "skin/data/RasterTypes.h"

#include <string>

class TDataSkinButton;

// Frames of the five-frame button strip.
enum : int { kBtnNormal = 1, kBtnPressed = 2, kBtnDisabled = 3, kBtnHot = 4, kBtnDefault = 5 };

// What a button shows at one paint.
struct TButtonLook {
    bool Focused = false;
    bool Default = false; // BS_DEFPUSHBUTTON, or the "Default" property of a bitmap button
    bool Down = false;    // pressed by the mouse or the space key
    bool MouseIn = false;
    bool Enabled = true;
    bool Latched = false; // a speed button held down (its Down property)
};

// Plain push buttons: the default style wins over focus; disabled wins over everything.
int ButtonFrame(const TButtonLook& look);
// Bitmap buttons: focus wins over the default property.
int BitButtonFrame(const TButtonLook& look);
// Speed buttons: pressed or hot, disabled, and a latched one always pressed.
int SpeedButtonFrame(const TButtonLook& look);

// The glyph of a state frame (pressed 3, disabled 2, else 1), the frame of the glyph strip it
// takes (only four-glyph strips have a frame per state) and whether that glyph is greyed.
int GlyphIndex(int frame);
int GlyphFrame(int index, int numGlyphs);
inline bool GlyphGreyed(int index) {
    return index == 2;
}

// The text colour of a button face. For framework controls a state colour applies only when the
// skin gives its key and clNone means "the font's own colour"; raw windows fall back to
// buttonText. Disabled: the system's button shadow (framework) or grey 0x808080 (raw).
TColor ButtonTextColor(const TDataSkinButton& skin, int frame, bool enabled, bool framework, TColor buttonText);

// Glyph layouts, in the order of the "Layout" property's values.
enum : int { kGlyphLeft = 0, kGlyphRight = 1, kGlyphTop = 2, kGlyphBottom = 3 };

struct TGlyphLayoutInput {
    TPoint Client;
    TPoint Glyph; // 0 x 0 without a glyph
    TPoint Text;  // 0 x 0 without a caption
    int Layout = kGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
    bool AlignCenter = false; // "Alignment" is taCenter (bitmap buttons only)
    bool Speed = false;       // the speed button's variant: no alignment, centred margin one further
};

struct TGlyphLayout {
    TPoint GlyphPos;
    TPoint TextPos;
    unsigned TextFlags = 0; // DT_LEFT 0, DT_CENTER 1, DT_RIGHT 2
    int Margin = 0;
    int Spacing = 0;
};

// Where glyph and caption go inside the client area.
TGlyphLayout LayoutGlyph(const TGlyphLayoutInput& in);
// "Layout" as its identifier ("blGlyphTop"), any case; anything else is kGlyphLeft.
int LayoutFromName(const std::string& name);

// Frame of a check box strip: unchecked 1, checked 2, unchecked disabled 3, checked disabled or
// indeterminate 4; a twelve-frame strip has its own places (5, 4, 8; indeterminate 9, disabled
// 12). A strip shorter than the state's frame drops the disabled look before the state itself,
// then the index is clamped to the strip.
int CheckBoxFrame(bool checked, bool disabled, bool indeterminate, int frameCount);
// Radio buttons: 1 unchecked, 2 checked, 3 and 4 disabled; an eight-frame strip uses 1, 5, 4, 8.
int RadioButtonFrame(bool checked, bool disabled, int frameCount);

// Where the check glyph of frameW x frameH goes in rect (the window at the origin), and the column
// behind it that is filled with the face colour first (menu-check width plus 3).
struct TCheckPlace {
    TRect Glyph;
    TRect Background;
};
TCheckPlace CheckPlace(const TRect& rect, int frameW, int frameH, int menuCheckW, bool boxRight, bool radio);

// A group box's frame for a font of textHeight: the line of the control's own frame that is
// erased, the rounded frame drawn instead and the caption's rectangle.
struct TGroupBoxFrame {
    int LineY = 0;
    TRect Erase;   // framed twice (this and one pixel inside) with the face colour
    TRect Round;   // RoundRect with a 5 x 5 corner
    TRect Caption; // drawn opaque over the line
};
TGroupBoxFrame GroupBoxFrame(const TRect& rect, int textHeight);
