// The headless runner's game controllers: SDL virtual joysticks that a script plugs in, presses
// and pulls out, read back through the game's own controller code (TSdlPads).
#pragma once

#include "input_script.h"
#include "platform/sdl/sdl_pads.h"

#include <map>
#include <string>

namespace vm {

class TGame;

// Made after SDL's video is up; Open before the first event.
class TVirtualPads
{
public:
    TVirtualPads() = default;
    ~TVirtualPads();
    TVirtualPads(const TVirtualPads&) = delete;
    TVirtualPads& operator=(const TVirtualPads&) = delete;

    // Starts SDL's controller support for virtual pads only (a real pad on the machine takes no
    // part in a scripted run); false with the reason in Error.
    bool Open(std::string& Error);
    // Sets the virtual pad as the script event says (connect, disconnect, button, axis).
    void Apply(const TScriptEvent& Event);
    // Hands what SDL made of the changes to Game, in order, as the game's window loop would.
    void Deliver(TGame& Game);
    // The game's controller code, for its rumble.
    TSdlPads& Pads() { return FPads; }
    // Rumbles the game started on the virtual pads (a stop is not counted).
    int Rumbles() const { return FRumbles; }

private:
    TSdlPads FPads;
    std::map<int, SDL_Joystick*> FAttached; // script pad number -> its virtual joystick
    int FRumbles = 0;
};

} // namespace vm
