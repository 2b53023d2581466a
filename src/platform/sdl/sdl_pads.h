// Game controllers through SDL's GameController API: pads are opened as they are plugged in and
// closed as they go, their buttons and axes go to the game, and their motors rumble for it.
#pragma once

#include "engine/pad_rumble.h"

#include <SDL2/SDL.h>

#include <map>
#include <string>

namespace vm {

class TGame;

// One per program, made after SDL's video is up and destroyed before SDL_Quit.
class TSdlPads : public IPadRumble
{
public:
    TSdlPads() = default;
    ~TSdlPads() override;
    TSdlPads(const TSdlPads&) = delete;
    TSdlPads& operator=(const TSdlPads&) = delete;

    // Starts SDL's controller support (with the mapping database SDL reads itself) and adds the
    // player's extra mappings from MappingsFile when that file exists. False with a message for
    // the player in Problem when the subsystem does not start or the file cannot be used; the
    // game goes on either way (without pads, or without those mappings).
    bool Open(const std::string& MappingsFile, std::string& Problem);
    // Opens the pads already plugged in and hands them to Game; called once the game exists.
    void OpenConnected(TGame& Game);
    // Hands a controller event to Game; false for events of other kinds.
    bool HandleEvent(const SDL_Event& Event, TGame& Game);
    void Rumble(float Strength, int Milliseconds) override;
    int Count() const { return static_cast<int>(FPads.size()); }

    // Only SDL's virtual joysticks are opened (for scripted runs that must not see real pads).
    bool OnlyVirtual = false;

private:
    void OpenDevice(int DeviceIndex, TGame& Game);

    bool FOpen = false;
    std::map<SDL_JoystickID, SDL_GameController*> FPads;
};

} // namespace vm
