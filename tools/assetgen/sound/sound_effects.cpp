// (to be written)
#include "sound/sound_effects.h"

namespace vm::assetgen {
const std::vector<std::string>& SoundEffectFiles()
{
    static const std::vector<std::string> Files;
    return Files;
}
bool WriteSoundEffects(const std::filesystem::path&, std::string&) { return true; }
} // namespace vm::assetgen
