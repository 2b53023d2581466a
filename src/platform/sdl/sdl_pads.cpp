// Game controllers: hot-plugging, events to the game, mappings and rumble.
#include "platform/sdl/sdl_pads.h"

#include "engine/pad_input.h"
#include "shell/game.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace vm {

namespace {

// SDL's own database of every known pad is some 600 KB; a file of the player's far larger is not one.
constexpr std::uintmax_t MaxMappingsBytes = 16 * 1024 * 1024;

// Whether a mappings file has any line other than blanks and comments.
bool HasMappingLines(const std::string& Path)
{
    std::ifstream In(Path);
    std::string Line;
    while (std::getline(In, Line))
    {
        const auto First = Line.find_first_not_of(" \t\r");
        if (First != std::string::npos && Line[First] != '#')
            return true;
    }
    return false;
}

} // namespace

TSdlPads::~TSdlPads()
{
    for (const auto& [Id, Pad] : FPads)
        SDL_GameControllerClose(Pad);
    if (FOpen)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool TSdlPads::Open(const std::string& MappingsFile, std::string& Problem)
{
    Problem.clear();
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    {
        Problem = std::string("game controllers cannot be used: ") + SDL_GetError();
        return false;
    }
    FOpen = true;
    std::error_code Ec;
    if (MappingsFile.empty() || !std::filesystem::exists(MappingsFile, Ec))
        return true;
    // SDL reads the whole file into memory and takes a folder's size for a file's: only a
    // regular file of a sensible size is handed over.
    if (!std::filesystem::is_regular_file(MappingsFile, Ec))
    {
        Problem = "the controller mappings \"" + MappingsFile + "\" cannot be read: it is not a file";
        return false;
    }
    if (std::filesystem::file_size(MappingsFile, Ec) > MaxMappingsBytes)
    {
        Problem = "the controller mappings \"" + MappingsFile + "\" cannot be read: it is larger than " +
                  std::to_string(MaxMappingsBytes / (1024 * 1024)) + " MB";
        return false;
    }
    const int Added = SDL_GameControllerAddMappingsFromFile(MappingsFile.c_str());
    if (Added < 0)
    {
        Problem = "the controller mappings in \"" + MappingsFile + "\" cannot be read: " + SDL_GetError();
        return false;
    }
    // SDL passes over lines it cannot read; a file with lines but not one mapping is told.
    if (Added == 0 && HasMappingLines(MappingsFile))
    {
        Problem = "no line of \"" + MappingsFile + "\" is a controller mapping SDL can use";
        return false;
    }
    return true;
}

void TSdlPads::OpenConnected(TGame& Game)
{
    for (int I = 0; FOpen && I < SDL_NumJoysticks(); ++I)
        OpenDevice(I, Game);
}

void TSdlPads::OpenDevice(int DeviceIndex, TGame& Game)
{
    if (!SDL_IsGameController(DeviceIndex) || (OnlyVirtual && !SDL_JoystickIsVirtual(DeviceIndex)))
        return;
    // Pads plugged in before start-up come both from OpenConnected and as device events.
    const SDL_JoystickID Id = SDL_JoystickGetDeviceInstanceID(DeviceIndex);
    if (Id < 0 || FPads.count(Id) != 0)
        return;
    SDL_GameController* Pad = SDL_GameControllerOpen(DeviceIndex);
    if (Pad == nullptr)
    {
        std::fprintf(stderr, "velomarch: a game controller cannot be opened: %s\n", SDL_GetError());
        return;
    }
    FPads[Id] = Pad;
    Game.PadAdded(Id);
}

bool TSdlPads::HandleEvent(const SDL_Event& Event, TGame& Game)
{
    switch (Event.type)
    {
    case SDL_CONTROLLERDEVICEADDED: OpenDevice(Event.cdevice.which, Game); return true;
    case SDL_CONTROLLERDEVICEREMOVED:
    {
        const auto Found = FPads.find(Event.cdevice.which);
        if (Found != FPads.end())
        {
            SDL_GameControllerClose(Found->second);
            FPads.erase(Found);
            Game.PadRemoved(Event.cdevice.which);
        }
        return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (FPads.count(Event.cbutton.which) != 0)
            Game.PadButton(Event.cbutton.which, Event.cbutton.button, Event.type == SDL_CONTROLLERBUTTONDOWN);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (FPads.count(Event.caxis.which) != 0)
            Game.PadAxis(Event.caxis.which, Event.caxis.axis, Event.caxis.value);
        return true;
    case SDL_CONTROLLERDEVICEREMAPPED:
    case SDL_CONTROLLERTOUCHPADDOWN:
    case SDL_CONTROLLERTOUCHPADMOTION:
    case SDL_CONTROLLERTOUCHPADUP:
    case SDL_CONTROLLERSENSORUPDATE: return true;
    default: return false;
    }
}

void TSdlPads::Rumble(float Strength, int Milliseconds)
{
    const auto Level = static_cast<Uint16>(std::clamp(Strength, 0.0f, 1.0f) * 0xFFFF);
    const auto Length = static_cast<Uint32>(std::max(Milliseconds, 0));
    // The heavy motor carries the strength; the light one a little less, for a rounder shake.
    for (const auto& [Id, Pad] : FPads)
        SDL_GameControllerRumble(Pad, Level, static_cast<Uint16>(Level * 3 / 4), Length);
}

} // namespace vm
