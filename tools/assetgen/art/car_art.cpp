// (to be written)
#include "art/art_modules.h"

namespace vm::assetgen {
void AddMenuCars(TArtList& Menu) { (void)Menu; }
void AddRaceCars(TArtList& Race) { (void)Race; }
} // namespace vm::assetgen
