// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddMenuPages(TArtList& Menu) { (void)Menu; }
} // namespace vm::assetgen
