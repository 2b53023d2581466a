// The per-user folders of the desktop (XDG base directories) for the player's files.
#include "platform/sdl/user_folders.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm {

namespace fs = std::filesystem;

namespace {

constexpr const char* AppFolder = "velomarch";

std::string HomeFolder()
{
    const char* Home = std::getenv("HOME");
    if (Home != nullptr && Home[0] == '/')
        return Home;
    if (const passwd* Entry = ::getpwuid(::getuid()); Entry != nullptr && Entry->pw_dir != nullptr)
        return Entry->pw_dir;
    return "/tmp";
}

// $Variable when it holds an absolute path, else the home folder's Fallback.
fs::path BaseFolder(const char* Variable, const char* Fallback)
{
    const char* Value = std::getenv(Variable);
    if (Value != nullptr && Value[0] == '/')
        return Value;
    return fs::path(HomeFolder()) / Fallback;
}

// Makes Folder and its missing parents; new folders are the user's alone (0700).
bool MakeFolder(const fs::path& Folder, std::string& Error)
{
    std::error_code Ec;
    if (fs::is_directory(Folder, Ec))
        return true;
    fs::path Built;
    for (const fs::path& Part : Folder)
    {
        Built /= Part;
        if (fs::is_directory(Built, Ec))
            continue;
        if (::mkdir(Built.c_str(), 0700) == 0)
            continue;
        const int Errno = errno;
        if (!fs::is_directory(Built, Ec))
        {
            Error = "cannot make the folder \"" + Built.string() +
                    "\": " + std::error_code(Errno, std::generic_category()).message();
            return false;
        }
    }
    return true;
}

} // namespace

TUserFiles XdgUserFiles(std::string& Error)
{
    Error.clear();
    const fs::path Config = BaseFolder("XDG_CONFIG_HOME", ".config") / AppFolder;
    const fs::path Data = BaseFolder("XDG_DATA_HOME", ".local/share") / AppFolder;
    TUserFiles Files;
    Files.SettingsFile = (Config / "Config.cfg").string();
    Files.ProgressFile = (Data / "Configdat.cfg").string();
    Files.ShortcutFolder = Config.string();
    Files.ControlsFile = (Config / "Controls.cfg").string();
    Files.PadMappingsFile = (Config / "gamecontrollerdb.txt").string();
    // Made with the first recording.
    Files.ReplayFolder = (Data / "replays").string();
    std::string Why;
    if (!MakeFolder(Config, Why))
        Error = Why;
    if (!MakeFolder(Data, Why))
        Error = Error.empty() ? Why : Error + "; " + Why;
    return Files;
}

bool ChooseUserFiles(const std::string& WorkDir, TGamePlatform& Platform, std::string& Error)
{
    Error.clear();
    std::error_code Ec;
    if (!WorkDir.empty())
    {
        fs::current_path(WorkDir, Ec);
        if (Ec)
            Error = "cannot use \"" + WorkDir + "\" as the working folder: " + Ec.message();
        return !Ec;
    }
    std::string Problem;
    Platform.Files = XdgUserFiles(Problem);
    if (!Problem.empty())
        std::fprintf(stderr, "velomarch: %s\n", Problem.c_str());
    Platform.OldFilesFolder = fs::current_path(Ec).string();
    return true;
}

} // namespace vm
