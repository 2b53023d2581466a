// Records each run as it is played: what it started from and every call the game object receives.
#pragma once

#include "persist/replay.h"
#include "persist/replay_writer.h"

#include <functional>
#include <string>

namespace vm {

class TGame;

// True for the pages that belong to a run (the race, its overlays, the pages up to the final
// score); the run ends when the game is on any other.
bool IsRunPage(int ScreenState);

// The run's start as the game holds it: everything TReplayHeader keeps.
TReplayHeader CaptureReplayHeader(const TGame& Game);

// The game owns one. Nothing is recorded while NextPath is empty or returns "", nor in playback.
// StartRun calls BeginRun before it changes anything; the game hands over every call it receives
// with Add (before acting on it) and calls AfterCall after acting on it, which ends the recording
// once the game has left the run's pages.
class TRunRecorder
{
public:
    // Where the next run is written (called as it starts); "" records nothing.
    std::function<std::string()> NextPath;
    // Called when a recording has ended, after its file is in place (or failed): the path, and the
    // end record, or null for a recording stopped before its run ended.
    std::function<void(const std::string& Path, const TReplayEnd* End)> OnFinished;

    void BeginRun(TGame& Game);
    void Add(const TReplayEvent& Event, const std::string& Text = {})
    {
        if (FWriter.IsOpen() && !FHeld)
            FWriter.Add(Event, Text);
    }
    void AfterCall(TGame& Game);
    // Ends a recording whose run is still going (the program ends): it stays unfinished.
    void Stop(TGame& Game);
    bool Recording() const { return FWriter.IsOpen(); }
    // Held, the recording stays open and takes nothing: the game's calls meanwhile are a playback
    // of the run's own start, not the run. BeginRun and AfterCall leave it alone too.
    void Hold(bool Held) { FHeld = Held; }
    bool Held() const { return FHeld; }
    // The run as recorded so far, up to its last call. False with the reason, in words for the
    // player, when there is no recording or it is not whole.
    bool ReadSoFar(TReplay& Replay, std::string& Error);
    // Frames recorded so far in the current (or last) recording, and its size in bytes.
    std::int32_t Frames() const { return FWriter.Frames(); }
    long long Bytes() const { return FWriter.Bytes(); }

private:
    void End(TGame& Game, bool Finished);

    TReplayWriter FWriter;
    std::string FPath;
    bool FHeld = false;
};

} // namespace vm
