// The first start's page that asks for the first player's name.
#pragma once

namespace vm {

class TGame;
class TGuiEdit;

void EnterAddPlayer(TGame& Game);
void AddPlayerFrame(TGame& Game);
void LeaveAddPlayer(TGame& Game);

// The name edits of the add-player and add-profile pages share these.
// Makes the empty name edit ("e_name") at (Left, Top) in the page's widget list, tints the GUI
// font for it and gives it the keyboard focus. It takes at most MaxNameCharacters characters and
// refuses at typing what a stored name cannot hold (IsStoredNameCharacter).
TGuiEdit* CreateNameEdit(TGame& Game, int Left, int Top);
// One frame of the name edit: its caret blinks, it keeps the focus, and the Backspace latch is
// taken (the edit already deleted on the key going down).
void NameEditFrame(TGame& Game, TGuiEdit* Edit);

} // namespace vm
