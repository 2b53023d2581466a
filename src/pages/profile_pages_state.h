// What the add-player, profile and high-score pages keep while they are up (the page table keeps one).
#pragma once

namespace vm {

class TGame;
class TGuiButton;
class TGuiEdit;
class TGuiLetterGrid;
class TSprite;

// Plain pointers into the page's widget list and the sprite engine: set by a page's enter
// routine and cleared by its leave routine, which frees what they point to.
struct TProfilePagesState
{
    TGuiEdit* FEdit = nullptr;        // the name edit of the add-player and add-profile pages
    TGuiButton* FAddButton = nullptr; // "b_add" of the add pages and the profile list
    TGuiLetterGrid* FGrid = nullptr;  // the add pages' letter grid under the name edit
    TSprite* FChooseLine = nullptr;   // the profile list's selection bar
    // The profile list's other buttons, shown or hidden every frame by what they can do.
    TGuiButton* FUpButton = nullptr;
    TGuiButton* FDownButton = nullptr;
    TGuiButton* FDeleteButton = nullptr;
    TGuiButton* FBackButton = nullptr;
    TGuiButton* FSelectButton = nullptr;
};

// The one the game's page table keeps (made on first use).
TProfilePagesState& ProfilePages(TGame& Game);
const TProfilePagesState& ProfilePages(const TGame& Game);

} // namespace vm
