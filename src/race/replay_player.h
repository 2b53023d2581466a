// Plays a run's recording on the game: the run starts as it started, then gets the recorded calls.
#pragma once

#include "persist/replay.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vm {

class TGame;

// Start puts back what the run started from and starts it as the car page would; each StepFrame
// then hands the game the recorded calls up to and including the next frame. Nothing else may
// reach the game meanwhile: the caller drives no timer and sends no input of its own. The game is
// in playback from Start until the player goes (no files written, no scores kept or sent). Game
// and Replay must outlive the player.
class TReplayPlayer
{
public:
    TReplayPlayer(TGame& Game, const TReplay& Replay);
    ~TReplayPlayer();
    TReplayPlayer(const TReplayPlayer&) = delete;
    TReplayPlayer& operator=(const TReplayPlayer&) = delete;

    // Whether this game plays Replay: only recordings of its own version (any build of it) do,
    // and only with a start it can use. False with the reason, in words for the player.
    static bool CanPlay(const TReplay& Replay, std::string& Error);
    // Leaves the page that is up and starts the recorded run; false (nothing changed) when
    // CanPlay refuses.
    bool Start(std::string& Error);
    // Plays up to and including the next frame (after the last frame: the calls left); false when
    // nothing was left to play.
    bool StepFrame();
    void PlayToEnd();
    bool Done() const { return FNext >= FReplay.Events.size(); }
    std::int32_t Frame() const { return FFrame; }
    std::int32_t FrameCount() const { return FReplay.Frames; }

    // Called once a frame, before its first race-clock step or its frame, where a recording on a
    // manual clock moved that clock on (as the headless runner does); may be empty.
    std::function<void()> AdvanceClock;

private:
    void Apply(const TReplayEvent& Event);

    TGame& FGame;
    const TReplay& FReplay;
    std::size_t FNext = 0;
    std::int32_t FFrame = 0;
    bool FClockMoved = false;
    bool FStarted = false;
};

} // namespace vm
