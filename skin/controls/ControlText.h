// Where the control skinners put captions, images and arrows: the placement arithmetic of their
// text drawing, free of any window system. Text sizes come in measured; integer halves truncate
// toward zero.
#pragma once

#include "skin/data/RasterTypes.h"

#include <vector>

// DrawText alignments as the caption helpers take them.
enum : int { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

// The rectangle a caption of textW x textH is drawn into within rect: one pixel above the
// vertical centre; centred across for kAlignCenter, else the rectangle's full width (the
// alignment flag then places the text).
TRect CaptionRect(const TRect& rect, int textW, int textH, int align);

// The same block centred both ways whatever the alignment.
TRect CenteredCaptionRect(const TRect& rect, int textW, int textH);

// An image of imageW x imageH and a caption of textW x textH (0 x 0 for no text) on one line.
// showImage: the caller has an image to draw; it is drawn only when narrower than rect.
struct TImgCaptionLayout {
    bool ShowImage = false;
    TRect Image; // the image cell
    TRect Text;  // the caption, clipped across to rect
};
TImgCaptionLayout ImgCaptionLayout(const TRect& rect, bool showImage, int imageW, int imageH, int textW, int textH,
                                   int align);

// The pen strokes of a small arrow at (x, y): kind 0 up, 1 down, 2 left, 3 right (none for any
// other). Each stroke is a polyline; as with a pen, a line leaves out its end point.
using TStroke = std::vector<TPoint>;
std::vector<TStroke> ArrowStrokes(int x, int y, int kind);
