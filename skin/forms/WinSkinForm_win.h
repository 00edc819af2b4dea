// The Windows side of the window skinning's raster work.
#pragma once

#include "skin/data/RasterTypes.h"

#include <windows.h>

#include <vector>

// A region made of the rectangles (as BitmapToRegion gives them), built in chunks of 2,000
// rectangles combined with RGN_OR, so large shapes stay within what ExtCreateRegion takes at once.
// Returns nullptr when there is no rectangle or the system cannot make the region; the caller
// owns the region (DeleteObject, or SetWindowRgn, which takes it over).
HRGN RectsToRegion(const std::vector<TRect>& rects);
