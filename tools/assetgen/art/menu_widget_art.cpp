// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddMenuWidgets(TArtList& Menu) { (void)Menu; }
} // namespace vm::assetgen
