// Scaling of skin images and lengths for screens of more than 96 pixels per inch.
//
// A skin is drawn at 96 DPI; a window at another DPI draws it multiplied by dpi / 96. Images are
// scaled part by part: an image is a strip of equal frames, each frame cut by its nine-slice
// margins into up to 3 x 3 parts, and every part is scaled on its own, so that no pixel of one part
// or frame bleeds into another. Whole factors (192 DPI: 2) replicate pixels; other factors filter
// by area inside each part, so flat areas keep their exact colour and only the pixels that straddle
// a source pixel's edge are blended. Pixels of the key colour are never blended: whether a scaled
// pixel is key is decided by the nearest source pixel, and the other pixels mix only non-key ones,
// so a region made from the scaled image is as clean as one made from the original.
#pragma once

#include "skin/data/Bitmap.h"

// The DPI skins are drawn for.
constexpr int kBaseDpi = 96;

// v * dpi / 96 rounded to nearest, halves away from zero (as MulDiv rounds). dpi below 1 reads as 96.
int ScaleValue(int v, int dpi);
// The same for each field of a rectangle.
TRect ScaleRect(const TRect& r, int dpi);

// A scaled image with the margins that cut it at the scaled positions of the original cuts.
struct TScaledImage {
    TBitmap32 Bitmap;
    TRect Margins;
};

// Scales `image`, a strip of `frameCount` frames side by side (stacked when `vertical`; a count
// below 1 reads as 1), each cut by `margins` (Left, Top, Right, Bottom widths; negative read as 0,
// and on each axis the far margin gives way when the two together exceed the frame). Each frame
// becomes ScaleValue(frame length) long and the columns or rows left over after the last frame are
// dropped, so FrameRect finds the scaled frames with the same count. Cut positions inside a frame
// are scaled and rounded, so the scaled margins may differ by one pixel from ScaleValue(margin);
// the result's Margins are the ones that match the parts. Margins of 0 give one part per frame.
// Pixels of colour `key` (alpha ignored) stay exact. An empty image, or dpi == 96, gives the image
// with its margins unchanged.
TScaledImage ScaleSkinImage(const TBitmap32& image, int dpi, const TRect& margins, int frameCount, bool vertical,
                            TColor key = clSkinKey);

// The size ScaleSkinImage gives for an image of width x height with that strip layout.
TPoint ScaledSkinImageSize(int width, int height, int dpi, int frameCount, bool vertical);

// Scales the part sr of src into the part dr of dst (both inside their bitmaps, not empty) by area
// filtering, or by replication when dr's size is a whole multiple of sr's; key pixels as above.
void ScalePart(TBitmap32& dst, const TRect& dr, const TBitmap32& src, const TRect& sr, TColor key);
