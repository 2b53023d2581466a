// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddMenuBackgrounds(TArtList& Menu) { (void)Menu; }
} // namespace vm::assetgen
