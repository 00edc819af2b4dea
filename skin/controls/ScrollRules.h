// The arithmetic of skinned scroll bars, free of any window system: where a window's bars lie,
// how long the thumb is and where it sits for a range and position, which part of a bar a point
// falls on, which position a dragged thumb stands for, where the pieces go in a bar's picture, and
// which frame of a skin strip each part shows. Integer halves truncate toward zero.
#pragma once

#include "skin/data/RasterTypes.h"

// a * b / c rounded to the nearest integer, halves away from zero, without overflow; -1 when c is 0
// (as the system's MulDiv answers).
int MulDivRound(int a, int b, int c);

// A bar's range, page and position, as the system's scroll information gives them.
struct TScrollData {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
};

// Where a point along a bar falls.
enum TScrollPart : int {
    spOutside = -1,
    spFirstArrow = 0,  // left or up
    spSecondArrow = 1, // right or down
    spPageBefore = 2,
    spPageAfter = 3,
    spThumb = 5,
};

// One bar along its length: both arrows Arrow long, the track between them, the thumb Thumb long
// at Offset from the track's start.
struct TBarGeometry {
    int Arrow = 0;
    int Track = 0;
    int Thumb = 0;
    int Offset = 0;
    bool ThumbShown = false; // false when there is nothing to scroll (the page shows the whole range)
};

// The system's sizes a thumb is computed with.
struct TThumbMetrics {
    int Arrow = 17;        // arrow size and bar thickness
    int MinThumb = 8;      // the shortest thumb
    int DefaultThumb = 17; // the thumb of a bar without a page
};

// The thumb of a bar barLength long. Track = barLength - 2 arrows (at least 0). Thumb = the page's
// share of the track (at least MinThumb, at most the track), DefaultThumb without a page; a range
// exactly one page long gets a thumb one pixel shorter at offset 0. False, g untouched, when the
// range (Max - Min) is 0 or less.
bool ComputeThumb(int barLength, const TScrollData& si, const TThumbMetrics& m, TBarGeometry& g);

// The part at coordinate p, counted from the bar's start.
TScrollPart PartAt(const TBarGeometry& g, int p);

// A thumb drag: the thumb was at startOffset when the drag began and the mouse has moved delta
// pixels along the bar since. Pos: the position it stands for, between Min and the last position
// a page allows (Max - Page + 1), or Max without a page; Offset: where the thumb is drawn, on the
// track whatever the mouse does.
struct TDragStep {
    int Offset = 0;
    int Pos = 0;
};
TDragStep DragThumbStep(const TBarGeometry& g, int startOffset, int delta, const TScrollData& si);

// A scrollable window's bars in window coordinates (window at the origin). The border width is
// what is left beside the client area and the bar, split evenly; with WS_EX_LEFTSCROLLBAR the
// vertical bar is on the left. Rectangles of absent bars are empty (all zero).
struct TScrollBarRects {
    int Edge = 0;
    TRect Horz, Vert, SizeBox;
};
TScrollBarRects ScrollBarRects(const TRect& window, int clientRight, int clientBottom, int arrow, int cxEdge, bool horz,
                               bool vert, bool leftScrollBar);

// The pieces of a bar's picture, length along the bar and thickness across. A bar shorter than two
// arrows gets two arrows of half its length and no track. Thumb is empty when none is drawn.
struct TBarLayout {
    TRect FirstArrow, SecondArrow, Track, Thumb;
};
TBarLayout BarLayout(int length, int thickness, bool vertical, const TBarGeometry& g, bool drawThumb);

// How a part of a bar is shown.
enum TPartState { psNormal, psPressed, psHot, psDisabled };

// Frame (from 1) of the arrow strip: four faces (normal, pressed, hot, disabled) for each of the
// left, right, up and down arrows in that order; arrow 0 left, 1 right, 2 up, 3 down. Frames of
// the thumb strips: 1 normal, 2 dragged, 3 hot. Both clamp to the strip's frame count, so a strip
// with fewer frames shows its last one.
int ArrowFrame(int arrow, TPartState state, int frameCount);
int ThumbFrame(TPartState state, int frameCount);
