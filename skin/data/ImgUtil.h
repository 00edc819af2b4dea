// In-place transforms of skin bitmaps: grey for disabled states, mirrors and quarter turns so that
// one skin image serves several orientations of a control. All of them keep the alpha byte of
// each pixel with its pixel and leave an empty bitmap empty.
#pragma once

#include "skin/data/Bitmap.h"

// Each pixel becomes grey (blue + green + red) div 3: a plain mean, no luminance weights.
void ConvertBitmapToGrayscale(TBitmap32& bmp);
// Mirrors left to right: pixel x of each row takes the old pixel width - 1 - x.
void SpiegelnHorizontal(TBitmap32& bmp);
// Mirrors top to bottom: row y takes the old row height - 1 - y.
void SpiegelnVertikal(TBitmap32& bmp);
// Turns by 180 degrees: (x, y) goes to (width - 1 - x, height - 1 - y).
void Drehen180Grad(TBitmap32& bmp);
// Quarter turn clockwise: the bitmap becomes height x width and (x, y) goes to (old height - 1 - y, x).
void Drehen90Grad(TBitmap32& bmp);
// Quarter turn counter-clockwise: the bitmap becomes height x width and (x, y) goes to (y, old width - 1 - x).
void Drehen270Grad(TBitmap32& bmp);
// The counter-clockwise quarter turn of src as a new bitmap; src is unchanged.
TBitmap32 Rotate90(const TBitmap32& src);
