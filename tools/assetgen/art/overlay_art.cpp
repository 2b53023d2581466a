// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddRaceOverlays(TArtList& Race) { (void)Race; }
} // namespace vm::assetgen
