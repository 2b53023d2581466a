// The game's command line: how this start differs from the stored settings.
#pragma once

#include "common/command_line.h"

#include <memory>
#include <optional>
#include <string>

namespace vm {

struct TGameOptions
{
    std::optional<bool> FullScreen; // --fullscreen (true) or --windowed (false) for this start
    std::string DataDir;            // --data: the folder holding Data/ and Sounds/
    std::string WorkDir;            // --workdir: every file of the player in this one folder
};

// The game's parser; reading it fills Options, which must outlive it.
std::unique_ptr<TCommandLine> GameCommandLine(TGameOptions& Options);

} // namespace vm
