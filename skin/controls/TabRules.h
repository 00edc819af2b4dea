// Geometry rules of the tab, tab set, header and status bar skinners, free of any window system.
#pragma once

#include "skin/data/RasterTypes.h"

#include <vector>

// The side of a tab control's strip.
enum TSkinTabPosition { StTop, Stbottom, Stleft, Stright };

// From the tab control's style: bottom and vertical together mean the right side.
TSkinTabPosition TabPosition(unsigned style);

// The page frame: the display rectangle grown by 4 on every side, then one pixel toward the strip.
TRect TabPageArea(const TRect& display, TSkinTabPosition pos);
// The strip beside the page area within the window rectangle (at the origin).
TRect TabStripRect(const TRect& window, const TRect& page, TSkinTabPosition pos);
// The strip's bitmap as it is composed: lying down (width and height exchanged) for the sides.
TPoint TabStripSize(const TRect& strip, TSkinTabPosition pos);
// A tab's item rectangle (window coordinates) in the composed strip's coordinates; composedW is
// the composed strip's width.
TRect TabToStrip(const TRect& item, TSkinTabPosition pos, const TRect& window, const TRect& page, int composedW);

// The tabs a tab set shows, from the first visible one, each w + 9 wide: a tab is shown when it
// fits before width - endMargin (with 12 more pixels kept free while the scroller is visible); a
// tab that does not fit is skipped and later, narrower ones may still come.
struct TTabSetCell {
    int Index;
    int Left, Right;
};
std::vector<TTabSetCell> TabSetLayout(int width, int startMargin, int endMargin, int firstVisible,
                                      const std::vector<int>& textWidths, bool scrollerVisible);

// A header item's caption alignment from its format bits (0 left, 1 centre, 2 right), and the image
// index it shows (-1 unless the format has an image or is owner-drawn).
int HeaderAlign(unsigned format);
int HeaderImage(unsigned format, int image);

// Status bar panels. Alignment as the framework numbers it (0 left, 1 right, 2 centre) to a
// DrawText alignment; a right-to-left panel exchanges left and right.
int PanelTextAlign(int alignment, bool rightToLeft);
// Bevel (0 lowered, 1 raised, 2 none) to the frame of the three-frame panel strip.
int PanelBevelFrame(int bevel);
// Whether a bevel's frame has the shadow on top (lowered) or the highlight (raised); none has none.
enum TBevelColors { bcNone, bcShadowOverLight, bcLightOverShadow };
TBevelColors AdjustColors(int bevelFrame);
// A status bar shows one item over its whole width in simple mode or without panels.
bool StatusSimple(bool simplePanel, int panelCount);
// The size grip: a frame of fw x fh whose bottom-right corner is (w - 1, h - 1).
TRect SizeGripRect(int w, int h, int fw, int fh);
