// The skin model for windows at another DPI than 96: a copy of a model with every image scaled
// part by part (frames and nine-slice margins as the engine cuts each element) and every length
// the description gives (caption-button positions, caption text offsets and font height, widths
// around the caption text, group-box label shifts) multiplied by dpi / 96.
#pragma once

#include "skin/data/SkinModel.h"

#include <memory>

// A larger image the package carries for exactly this DPI is used in place of the scaled one when
// it is the image's size scaled side by side (width and height each rounded); other sizes are
// ignored (skinpack check reports them). The margins are the scaled ones either way.
std::unique_ptr<TSkinModel> ScaledSkinModel(const TSkinModel& base, int dpi);
