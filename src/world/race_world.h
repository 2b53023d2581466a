// The race's shared world: what the race sprites read and write while a race runs. The game owns
// one; every race sprite gets a reference at construction instead of reaching into the game.
#pragma once

#include "world/course.h"
#include "world/world_sprite.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vm {

class TCar;
class TImageList;
class TPlayer;
class TRandom;
class TRoadPart;
class TSpriteEngine;
struct TCatalogues;
struct TGameState;

// One row of the opponents' finishing order.
struct TRaceResult
{
    int CarNumber = 0;
    std::int32_t Minutes = 0, Seconds = 0, Hundredths = 0;
};

struct TRaceWorld
{
    // Most checkpoints a course can have (its longest course plus the run-out) and the rows of the
    // results table; tables are 1-based, so each has one more entry. Nothing reads or writes past them.
    static constexpr int MaxCheckpoints = 286;
    static constexpr int MaxResults = 8;
    static constexpr int MaxOpponents = 11;

    TRaceWorld(TSpriteEngine& Engine, TImageList& GameImages, TImageList& MenuImages, TRandom& Rng,
               TGameState& State, TCatalogues& Catalogues)
        : Engine(Engine), GameImages(GameImages), MenuImages(MenuImages), Rng(Rng), State(State),
          Catalogues(Catalogues)
    {}

    // The race frame's step after the sprites have moved: every checkpoint moves with the world by
    // the player's FShiftX then FPushX (and FShiftY, FPushY), as the world sprites did.
    void ShiftCheckpoints();

    // Plays an effect of the game's sound set by its name; set by the race, empty in tests that
    // do not listen. The sprites decide when (on screen, sound on) before they call it.
    std::function<void(const std::string& Name)> PlaySound;
    // Shakes the player's pads: Strength 0..1 for Milliseconds; set by the game, may be empty.
    std::function<void(float Strength, int Milliseconds)> Rumble;

    // Not owned; they outlive the race.
    TSpriteEngine& Engine;
    TImageList& GameImages;
    TImageList& MenuImages;
    TRandom& Rng;
    TGameState& State; // screen state, keys, score, lives, the race clock
    TCatalogues& Catalogues;

    TCourse Course;
    int FNextPiece = 0;                 // course position of the next piece to build
    TRoadPart* FLastRoadPart = nullptr; // the topmost piece built so far
    double FRoadX = 0, FRoadY = 0;      // where the race setup places the next piece

    // Cars are sprites owned by the engine; these are plain references, cleared when the race ends.
    // The opponents are TEnemyCar objects once they exist; their TCar part is what the world needs.
    TPlayer* FPlayer = nullptr;
    std::array<TCar*, MaxOpponents> FEnemies{};
    int FEnemyCount = 0;
    int FCarCount = 0;
    // Race distance of every car: entry 0 the player, entry s + 1 the opponent in FEnemies[s].
    std::array<double, MaxOpponents + 1> FRaceDistance{};

    std::array<TCheckpoint, MaxCheckpoints + 1> FCheckpoints{};
    int FCheckpointCount = 0;
    // Course distance from checkpoint 1 to checkpoint i, in tenths of a pixel; sized for every
    // checkpoint a course can have.
    std::array<double, MaxCheckpoints + 1> FCheckpointDistance{};

    std::array<TRaceResult, MaxResults + 1> FResults{};
    int FNextPlace = 1;
    bool FRaceFinished = false;
    bool FWrecked = false;
    int BonusLeft = 0;
    // The run's split of new pickups out of 600: coins below Low, hazards below High, help above.
    int FBonusSplitLow = 200, FBonusSplitHigh = 400;
};

} // namespace vm
