// What every menu page's frame and enter routine share: the background, the sprites, the GUI
// and the cursor on top; and the page buttons built from the menu pictures.
#pragma once

#include "engine/gui_component.h"

#include <string>

namespace vm {

class TGame;
class TGuiButton;

// Clears, begins the scene, draws "mainback" in BackPattern at (0, 0), moves and draws the
// sprites (the cursor follows the mouse with them) and frees the dead. False when no scene began.
bool BeginMenuFrame(TGame& Game, int BackPattern);
// Draws the GUI, the cursor again on top of it, and ends the scene.
void EndMenuFrame(TGame& Game);
// A button of the page's widget list (made when missing) on the menu picture Key, at (X, Y).
TGuiButton* AddMenuButton(TGame& Game, const std::string& Key, int X, int Y, TGuiClickEvent OnClick);
// Shows "b_on" or "b_off" on a toggle button, by On (nothing for a null button).
void ShowToggle(TGame& Game, TGuiButton* Button, bool On);

} // namespace vm
