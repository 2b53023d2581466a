// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddMarkerImages(TArtList& List) { (void)List; }
} // namespace vm::assetgen
