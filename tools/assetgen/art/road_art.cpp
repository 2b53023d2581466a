// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddRoadImages(TArtList& Race) { (void)Race; }
} // namespace vm::assetgen
