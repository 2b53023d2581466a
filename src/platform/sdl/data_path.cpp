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
    if (std::filesystem::is_directory(std::string(VM_INSTALLED_DATA_DIR) + "/Data", Error))
        return VM_INSTALLED_DATA_DIR;
    return Base.empty() ? "." : Base;
}

} // namespace vm
