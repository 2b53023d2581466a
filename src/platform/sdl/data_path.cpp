// Where the game finds its Data/ and Sounds/ folders.
#include "platform/sdl/data_path.h"

#include <SDL2/SDL_filesystem.h>
#include <SDL2/SDL_stdinc.h>

#include <filesystem>

#ifndef VM_INSTALLED_DATA_DIR
#define VM_INSTALLED_DATA_DIR "/usr/local/share/velomarch"
#endif

namespace vm {

std::string FindDataDir()
{
    std::string Base;
    if (char* Path = SDL_GetBasePath())
    {
        Base = Path;
        SDL_free(Path);
    }
    while (!Base.empty() && Base.back() == '/')
        Base.pop_back();
    std::error_code Error;
    if (!Base.empty() && std::filesystem::is_directory(Base + "/Data", Error))
        return Base;
    // An installed program finds its share folder beside its bin folder, wherever the install was
    // unpacked.
    const std::string Beside = Base + "/../share/velomarch";
    if (!Base.empty() && std::filesystem::is_directory(Beside + "/Data", Error))
        return std::filesystem::path(Beside).lexically_normal().string();
    if (std::filesystem::is_directory(std::string(VM_INSTALLED_DATA_DIR) + "/Data", Error))
        return VM_INSTALLED_DATA_DIR;
    return Base.empty() ? "." : Base;
}

} // namespace vm
