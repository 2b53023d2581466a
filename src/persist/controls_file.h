// The controls file: the keys and pad controls of the race's actions and rumble, as readable text.
#pragma once

#include "state/control_bindings.h"

#include <string>
#include <vector>

namespace vm {

// The file's text: a comment line, then per action "NAME keys KEY..." and "NAME pad CONTROL...",
// then "rumble on" or "rumble off".
std::string ControlsText(const TControlBindings& Controls);

// Writes ControlsText through WriteFileAtomically. False with the reason in Error; the old file
// then stays whole.
bool SaveControls(const std::string& Path, const TControlBindings& Controls, std::string& Error);

// Reads the controls file into Controls, which starts from the defaults. A missing file gives the
// defaults and reports nothing. A damaged line (unknown action, key or control, Esc bound outside
// leave, a key or control another action already has, anything unreadable) leaves that action's
// keys or pad controls at their defaults and adds one line to Problems. Never throws on bad content.
void LoadControls(const std::string& Path, TControlBindings& Controls, std::vector<std::string>& Problems);

} // namespace vm
