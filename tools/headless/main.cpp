// velomarch-headless: the game with no window, driven by a script.
#include "headless_runner.h"

int main(int Argc, char** Argv)
{
    vm::THeadlessOptions Options;
    if (const auto Status = vm::HeadlessCommandLine(Options)->Run(Argc, Argv))
        return *Status;
    return vm::RunHeadless(Options);
}
