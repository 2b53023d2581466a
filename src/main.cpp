// Velomarch: top-down arcade racing. Starts the game in its window.
#include "common/command_line.h"
#include "platform/sdl/sdl_app.h"

int main(int Argc, char** Argv)
{
    vm::TCommandLine CommandLine(
        "velomarch", "velomarch",
        "A top-down arcade racing game: pick a profile and a car, then drive a run of\n"
        "races against computer drivers on a freshly generated winding road.");
    if (const auto Status = CommandLine.Run(Argc, Argv))
        return *Status;
    return vm::RunGame();
}
