// Where the game finds its Data/ and Sounds/ folders.
#include "platform/sdl/data_path.h"

#include <SDL2/SDL_filesystem.h>
#include <SDL2/SDL_stdinc.h>

#include <cstdlib>
#include <filesystem>

#ifndef VM_INSTALLED_DATA_DIR
#define VM_INSTALLED_DATA_DIR "/usr/local/share/velomarch"
#endif

namespace vm {

namespace {

bool HoldsData(const std::string& Folder)
{
    std::error_code Error;
    return !Folder.empty() && std::filesystem::is_directory(Folder + "/Data", Error);
}

// A folder the player named: used as given, but only when it holds the data.
std::string Named(const std::string& Folder, const std::string& Source, std::string& Error)
{
    if (HoldsData(Folder))
        return Folder;
    Error = "no game data in \"" + Folder + "\" (" + Source + "): it has no Data folder";
    return {};
}

} // namespace

std::string FindDataDir(const std::string& Given, std::string& Error)
{
    Error.clear();
    if (!Given.empty())
        return Named(Given, "--data", Error);
    if (const char* Variable = std::getenv(DataDirVariable); Variable != nullptr && Variable[0] != '\0')
        return Named(Variable, std::string("$") + DataDirVariable, Error);
    std::string Base;
    if (char* Path = SDL_GetBasePath())
    {
        Base = Path;
        SDL_free(Path);
    }
    while (!Base.empty() && Base.back() == '/')
        Base.pop_back();
    if (HoldsData(Base))
        return Base;
    if (!Base.empty())
    {
        std::error_code Ec;
        const auto Beside = std::filesystem::weakly_canonical(Base + "/../share/velomarch", Ec);
        if (!Ec && HoldsData(Beside.string()))
            return Beside.string();
    }
    if (HoldsData(VM_INSTALLED_DATA_DIR))
        return VM_INSTALLED_DATA_DIR;
    return Base.empty() ? "." : Base;
}

} // namespace vm
