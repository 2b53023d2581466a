// Hands one SDL event to the game: keys, mouse, text, close requests, render resets.
#pragma once

union SDL_Event;

namespace vm {

class TGame;
class TSdlRenderDevice;

// Returns true when the event asks the program to end and the game allows it.
bool HandleEvent(const SDL_Event& Event, TGame& Game, TSdlRenderDevice& Device);

} // namespace vm
