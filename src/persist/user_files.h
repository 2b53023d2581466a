// Where the player's own files live: the settings, the progress and the internet shortcuts.
#pragma once

#include <string>
#include <vector>

namespace vm {

// The paths of the player's files. The defaults are the bare names, i.e. the working folder.
struct TUserFiles
{
    std::string SettingsFile = "Config.cfg";
    std::string ProgressFile = "Configdat.cfg";
    std::string ShortcutFolder; // empty: the working folder
    // The player's controls (keys and pad buttons of the race's actions, rumble), beside the
    // settings; and extra controller mappings in SDL's format, read at start-up when present.
    std::string ControlsFile = "Controls.cfg";
    std::string PadMappingsFile = "gamecontrollerdb.txt";
    // The folder of the player's kept run recordings; empty: runs are not kept.
    std::string ReplayFolder = {};

    // Path of the shortcut file Name ("play.url") in ShortcutFolder.
    std::string ShortcutPath(const std::string& Name) const;
};

// The shortcut files the game opens: from the main menu, and on the way out.
inline const char* const ShortcutNames[] = {"moregames.url", "website.url", "play.url"};

// What MoveOldFiles did, for telling the player.
struct TMoveReport
{
    std::vector<std::string> Moved;   // the names moved, e.g. "Config.cfg"
    std::vector<std::string> Failed;  // one line for each file that could not be moved, with the reason
    std::vector<std::string> Skipped; // old files left where they were because Files already has one
};

// Moves the files an older start of the game left in OldFolder (the settings file, the progress
// file, the shortcuts, under their old names) to where Files keeps them, each only when Files has
// none yet, so a move happens once and never overwrites. Moves across file systems copy, then
// remove the old file only once the copy is whole. A file that is Files' own (OldFolder is the
// per-user folder) is left alone.
TMoveReport MoveOldFiles(const std::string& OldFolder, const TUserFiles& Files);

} // namespace vm
