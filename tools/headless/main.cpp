// velomarch-headless: the game with no window, driven by a script.
#include "headless_runner.h"

#include <cstdio>

int main(int Argc, char** Argv)
{
    vm::THeadlessOptions Options;
    std::string Error;
    if (!vm::ParseHeadlessArgs(Argc, Argv, Options, Error))
    {
        std::fprintf(stderr, "velomarch-headless: %s\n", Error.c_str());
        return 2;
    }
    return vm::RunHeadless(Options);
}
