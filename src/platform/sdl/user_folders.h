// The per-user folders of the desktop (XDG base directories) for the player's files.
#pragma once

#include "persist/user_files.h"
#include "shell/game.h"

#include <string>

namespace vm {

// The settings and shortcut files in $XDG_CONFIG_HOME/velomarch (default ~/.config/velomarch),
// the progress file in $XDG_DATA_HOME/velomarch (default ~/.local/share/velomarch); relative
// values of the variables are ignored, as the XDG rules say. Makes the folders (private to the
// user) when missing; when one cannot be made, Error says which and why, and the paths are
// still returned (saving there will then fail and tell the player).
TUserFiles XdgUserFiles(std::string& Error);

// Where the player's files go for this start: all in WorkDir, which becomes the working folder,
// when given; else the per-user folders, and the working folder is where an older start left
// them (Platform.Files and Platform.OldFilesFolder). False with Error when WorkDir cannot be used.
// A per-user folder that cannot be made is reported on stderr; saving will tell the player.
bool ChooseUserFiles(const std::string& WorkDir, TGamePlatform& Platform, std::string& Error);

} // namespace vm
