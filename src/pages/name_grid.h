// The letter grid under a name edit, for entering the name with a game controller.
#pragma once

#include <functional>

namespace vm {

class TGame;
class TGuiEdit;
class TGuiLetterGrid;

// Makes the grid for Edit at (Left, Top) in the page's widget list, closed. Done runs when the
// player chooses "done" on it. Keys from the keyboard close it and go to the edit.
TGuiLetterGrid* CreateNameGrid(TGame& Game, TGuiEdit* Edit, int Left, int Top, std::function<void()> Done);
// One frame of the grid: up while the last input came from a pad and (unless Always) while the
// edit or the grid has the focus, closed otherwise. Opening moves the focus onto the grid (with
// Always from any widget: the first pad key on a name page goes to the letters).
void NameGridFrame(TGame& Game, TGuiLetterGrid* Grid, bool Always);

} // namespace vm
