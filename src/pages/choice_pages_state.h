// What the track and car pages keep while they are up (the page table keeps one).
#pragma once

#include <array>
#include <cstdint>

namespace vm {

class TGame;
class TGuiButton;
class TSprite;

// The page picture itself is Pages.Parts.FMenuScreen; these are the page's other parts. The sprites
// belong to the sprite engine and the buttons to the page's widget list: all are plain pointers,
// set by the enter routines and cleared by the leave routines.
struct TChoicePagesState
{
    TSprite* FTrackImage = nullptr;    // "trackimage": the preview, or "tr_notav" for a locked track
    TSprite* FCarImage = nullptr;      // "carimage"
    std::array<TSprite*, 4> FBars{};   // "bar1".."bar4": speed, acceleration, handling, grip
    TGuiButton* FNextButton = nullptr; // "bc_next"
    TGuiButton* FPrevButton = nullptr; // "bc_prev"
    TGuiButton* FBackButton = nullptr; // "b_back"
    TGuiButton* FRaceButton = nullptr; // "bc_race"
    std::int32_t FSlideTicks = 0;      // frames drawn since the page was entered (the buttons' slide-in)
};

// The one the game's page table keeps (made on first use).
TChoicePagesState& ChoicePages(TGame& Game);
const TChoicePagesState& ChoicePages(const TGame& Game);

} // namespace vm
