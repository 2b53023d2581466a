// (to be written)
#include "art/art_modules.h"
#include "art/pickup_art.h"

namespace vm::assetgen {
void AddPickupImages(TArtList& Race) { (void)Race; }
void DrawPickupIcon(cairo_t*, int, double, double, double) {}
} // namespace vm::assetgen
