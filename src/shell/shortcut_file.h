// Internet shortcut files (INI text with a "URL=" line) that the menu's link buttons open.
#pragma once

#include <string>

namespace vm {

class TGame;

// The web address of the shortcut at Path: the value of its first "URL=" line (the key in any
// case, blanks around the value dropped). Empty when the file or the line is missing, or when the
// address is not an http or https one (a shortcut must not make the desktop run a local file).
std::string ShortcutUrl(const std::string& Path);

// Opens the address of the shortcut Name ("website.url") among the player's files in the
// player's browser; nothing happens without a browser opener or without an address.
void OpenShortcut(TGame& Game, const std::string& Name);

} // namespace vm
