// What the main menu, help, options and exit pages keep while they are up (the page table keeps one).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vm {

class TGame;
class TGuiButton;
class TGuiEdit;
class TGuiLetterGrid;
class TGuiScrollBar;

struct TMenuPagesState
{
    // The page's buttons in the order the page makes them; they die with the page's widget list,
    // so every leave routine sets them back to null.
    std::array<TGuiButton*, 8> FButtons{};
    // Options: the online-name edit and the volume bar (null on every other page).
    TGuiEdit* FEdit = nullptr;
    TGuiLetterGrid* FGrid = nullptr; // the letter grid of the edit
    TGuiScrollBar* FBar = nullptr;
    // Help: the page shown, 1..4.
    std::int32_t FHelpPage = 1;
    // Options: the edit was clicked, so its caret blinks.
    bool FEditActive = false;

    // Options: the values on entry, put back by cancel and Esc.
    std::int32_t FKeptVolumeLevel = 0;
    bool FKeptMusicOn = true;
    bool FKeptFullScreenOn = true;
    std::string FKeptOnlineName;
    // Options: the online name as the edit showed it on entry (the part of the stored name that
    // follows the name rule); leaving stores the edit's text only when it differs.
    std::string FShownOnlineName;
    // Options: left for the controls page, so the next entry keeps the values above.
    bool FOptionsKept = false;

    // Forgets the widgets (after the page's widget list was freed).
    void ForgetWidgets()
    {
        FButtons.fill(nullptr);
        FEdit = nullptr;
        FGrid = nullptr;
        FBar = nullptr;
    }
};

// The one the game's page table keeps (made on first use).
TMenuPagesState& MenuPages(TGame& Game);
const TMenuPagesState& MenuPages(const TGame& Game);

} // namespace vm
