// Velomarch: top-down arcade racing. Starts the game in its window.
#include "platform/sdl/game_options.h"
#include "platform/sdl/sdl_app.h"

int main(int Argc, char** Argv)
{
    vm::TGameOptions Options;
    if (const auto Status = vm::GameCommandLine(Options)->Run(Argc, Argv))
        return *Status;
    return vm::RunGame(Options);
}
