// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddPickupImages(TArtList& Race) { (void)Race; }
} // namespace vm::assetgen
