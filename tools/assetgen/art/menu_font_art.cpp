// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddFontSheet(TArtList& Menu) { (void)Menu; }
} // namespace vm::assetgen
