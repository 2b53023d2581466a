// (to be written)
#include "music/music_modules.h"

namespace vm::assetgen {
bool WriteMusicModules(const std::filesystem::path&, std::string&) { return true; }
} // namespace vm::assetgen
