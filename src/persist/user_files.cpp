// Moving the player's files from the working folder of an older start to the per-user folders.
#include "persist/user_files.h"

#include "persist/safe_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vm {

namespace fs = std::filesystem;

std::string TUserFiles::ShortcutPath(const std::string& Name) const
{
    return ShortcutFolder.empty() ? Name : (fs::path(ShortcutFolder) / Name).string();
}

namespace {

// Moves From to To; a rename when both are on one file system, else a whole copy and then the
// removal of From. Returns false with the reason in Error, From then still in place.
bool MoveFile(const fs::path& From, const fs::path& To, std::string& Error)
{
    std::error_code Ec;
    fs::rename(From, To, Ec);
    if (!Ec)
        return true;
    if (Ec != std::errc::cross_device_link)
    {
        Error = Ec.message();
        return false;
    }
    std::ifstream In(From, std::ios::binary);
    std::stringstream Content;
    Content << In.rdbuf();
    if (!In)
    {
        Error = std::strerror(errno);
        return false;
    }
    if (!WriteFileAtomically(To.string(), Content.str(), Error))
        return false;
    fs::remove(From, Ec);
    if (Ec)
    {
        // The copy is whole and is the one the game reads from now on; the old one only lingers.
        Error = "copied, but the old file stays: " + Ec.message();
        return false;
    }
    return true;
}

} // namespace

TMoveReport MoveOldFiles(const std::string& OldFolder, const TUserFiles& Files)
{
    TMoveReport Report;
    std::vector<std::pair<std::string, std::string>> Wanted = {{"Config.cfg", Files.SettingsFile},
                                                               {"Configdat.cfg", Files.ProgressFile}};
    for (const char* Name : ShortcutNames)
        Wanted.emplace_back(Name, Files.ShortcutPath(Name));
    for (const auto& [Name, Target] : Wanted)
    {
        const fs::path From = fs::path(OldFolder) / Name;
        std::error_code Ec;
        if (!fs::is_regular_file(From, Ec))
            continue;
        if (fs::exists(Target, Ec))
        {
            if (!fs::equivalent(From, Target, Ec))
                Report.Skipped.push_back(Name);
            continue;
        }
        std::string Error;
        if (MoveFile(From, Target, Error))
            Report.Moved.push_back(Name);
        else
            Report.Failed.push_back(From.string() + " to " + Target + ": " + Error);
    }
    return Report;
}

} // namespace vm
