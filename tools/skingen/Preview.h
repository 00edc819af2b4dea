// A preview picture of a generated skin folder, for people to judge the look.
#pragma once

#include "skin/data/Bitmap.h"

#include <string>

// Windows, controls and a popup menu drawn from the folder's description and images.
TBitmap32 RenderPreview(const std::string& skinDir);
