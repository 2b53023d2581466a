// The game's command line: --windowed, --fullscreen, --data, --workdir (and --help, --version).
#include "platform/sdl/game_options.h"

#include "platform/sdl/data_path.h"

#include <CLI/CLI.hpp>

namespace vm {

std::unique_ptr<TCommandLine> GameCommandLine(TGameOptions& Options)
{
    auto CommandLine = std::make_unique<TCommandLine>(
        "velomarch", "velomarch [--windowed | --fullscreen] [--data DIR] [--workdir DIR]",
        "A top-down arcade racing game: pick a profile and a car, then drive a run of\n"
        "races against computer drivers on a freshly generated winding road.");
    CLI::App& App = CommandLine->App();
    CLI::Option* Windowed = App.add_flag_callback(
        "--windowed", [&Options] { Options.FullScreen = false; },
        "start in a window this time (the stored choice stays)");
    CLI::Option* FullScreen = App.add_flag_callback(
        "--fullscreen", [&Options] { Options.FullScreen = true; },
        "start full screen this time (the stored choice stays)");
    App.add_option("--data", Options.DataDir,
                   std::string("the folder holding Data/ and Sounds/ (default: $") + DataDirVariable +
                       ",\nelse the one next to the program, else the installed one)")
        ->type_name("DIR");
    App.add_option("--workdir", Options.WorkDir,
                   "keep the settings, progress and shortcut files in DIR\n"
                   "(default: ~/.config/velomarch and ~/.local/share/velomarch)")
        ->type_name("DIR");
    App.footer("Settings and shortcuts are kept in $XDG_CONFIG_HOME/velomarch, progress in\n"
               "$XDG_DATA_HOME/velomarch; files an older version left in the working folder are\n"
               "moved there once.");
    App.callback([Windowed, FullScreen] {
        if (Windowed->count() > 0 && FullScreen->count() > 0)
            throw CLI::ValidationError("--windowed and --fullscreen cannot go together");
    });
    return CommandLine;
}

} // namespace vm
