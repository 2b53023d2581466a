// Soft shadows made from the alpha outline of a picture.
#pragma once

#include "engine/picture.h"

namespace vm::assetgen {

// A near-black picture of Source's size whose alpha is Source's alpha blurred (Gaussian, Sigma
// pixels) and scaled by Opacity: only the outline of Source matters, not its colours.
TPixels SoftShadow(const TPixels& Source, double Sigma, double Opacity);

} // namespace vm::assetgen
