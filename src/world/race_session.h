// What one run and its current race keep beside the race world: the grid, the HUD sprites the
// race screens reach, the player's finish, and the values of the race-over tally.
#pragma once

#include <array>
#include <cstdint>

namespace vm {

class TBar;
class TBegArrows;
class TFinishLine;

// A start-grid slot relative to the start line.
struct TGridSlot
{
    double X = 0.0;
    double Y = 0.0;
};

struct TRaceSession
{
    static constexpr int GridSlots = 21;

    // Run values, set when a run starts.
    int FCarStyle = 0;              // the paint of the player's car for the whole run
    bool FGameImagesLoaded = false; // the race picture list is loaded once, at the first run start

    // Built by the race setup; the sprites are owned by the engine and die with the race.
    std::array<TGridSlot, GridSlots + 1> FGridSlots{}; // 1-based
    double FStartX = 0.0, FStartY = 0.0;
    double FViewAnchorX = 400.0, FViewAnchorY = 460.0;
    TBegArrows* FBegArrows = nullptr;
    TBar* FHealthBar = nullptr;
    TFinishLine* FFinishLine = nullptr;
    std::int32_t FScoreAtRaceBuild = 0; // Score when the race was built: the base of the unlock check

    // The player's finish: place, the race clock left, and the time driven (race clock ticks from
    // the green light, which time pickups do not shorten).
    int FFinishPlace = 1;
    std::int32_t FFinishMinutes = 0, FFinishSeconds = 0, FFinishHundredths = 0;
    std::int32_t FRaceTicks = 0;
    std::int32_t FFinishTicks = 0;

    // The race-over screen.
    int FResultStage = 0;
    std::int32_t FScoreAtRaceOver = 0;
    std::int32_t FUnlockGain = 0;
    bool FNewCarShown = false, FNewTrackShown = false;
    // The race-over and your-score pages: Replay was clicked, and watching starts once it is let go.
    bool FReplayAsked = false;
};

} // namespace vm
