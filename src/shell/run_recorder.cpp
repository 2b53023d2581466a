// The run recorder: the header from the game's state, the end of the run, failures told once.
#include "shell/run_recorder.h"

#include "common/build_info.h"
#include "persist/replay_reader.h"
#include "shell/game.h"

#include <cstdio>

namespace vm {

bool IsRunPage(int ScreenState)
{
    switch (ScreenState)
    {
    case ssRace:
    case ssWrecked:
    case ssPause:
    case ssRaceExitQuestion:
    case ssRaceOver:
    case ssTimesUp:
    case ssGameOver:
    case ssGameComplete:
    case ssYourScore:
    case ssSendScore: return true;
    default: return false;
    }
}

TReplayHeader CaptureReplayHeader(const TGame& Game)
{
    const TGameState& S = Game.State;
    const TCatalogues& C = Game.Catalogues;
    TReplayHeader H;
    H.GameVersion = BuildVersion;
    H.GameRevision = BuildRevision;
    H.RngState = Game.Rng.State();
    H.CarIndex = C.FCarIndex;
    H.TrackIndex = C.FTrackIndex;
    H.CarMax = C.FCarMax;
    H.TrackMax = C.FTrackMax;
    H.TracksOpen = C.FTracksOpen;
    H.CarsOpen = C.FCarsOpen;
    H.NextUnlockScore = C.NextUnlockScore;
    H.UnlockStep = C.FUnlockStep;
    H.UnlockIncrements.assign(C.FUnlockIncrements.begin(), C.FUnlockIncrements.end());
    for (const TTrackInfo& Track : C.FTracks)
        H.Tracks.push_back({Track.Available, Track.BestMinutes, Track.BestSeconds, Track.BestHundredths});
    for (const TCarInfo& Car : C.FCars)
        H.CarsAvailable.push_back(Car.Available);
    H.SoundOn = S.SoundOn;
    H.MusicOn = S.MusicOn;
    H.VolumeLevel = S.VolumeLevel;
    H.PlayerName = S.PlayerName;
    H.OnlineName = S.OnlineName;
    for (int Action = 0; Action < ActionCount; ++Action)
    {
        const TActionBinding& Binding = S.Controls.Of(Action);
        H.Bindings.push_back(
            {{Binding.Keys.begin(), Binding.Keys.end()}, {Binding.Pad.begin(), Binding.Pad.end()}});
    }
    H.Rumble = S.Controls.Rumble;
    for (int Key = 0; Key < 256; ++Key)
    {
        if (S.KeyHeld[static_cast<std::size_t>(Key)] != 0)
            H.KeysHeld.push_back(Key);
        if (S.KeyReleased[static_cast<std::size_t>(Key)] != 0)
            H.KeysReleased.push_back(Key);
    }
    H.PadHeld.assign(S.PadHeld.begin(), S.PadHeld.end());
    H.PadReleased.assign(S.PadReleased.begin(), S.PadReleased.end());
    H.MouseX = S.MouseX;
    H.MouseY = S.MouseY;
    H.MouseDown = S.MouseDown;
    H.LastInputPad = S.LastInputPad;
    H.PadPressed = S.PadPressed;
    H.TypedText = S.TypedText;
    H.StateTicks = S.StateTicks;
    H.PhaseTicks = S.PhaseTicks;
    H.CaretTicks = S.CaretTicks;
    H.Pads = Game.PadsForReplay();
    return H;
}

void TRunRecorder::BeginRun(TGame& Game)
{
    if (FHeld)
        return;
    if (FWriter.IsOpen())
        End(Game, false);
    if (Game.Playback() || !NextPath)
        return;
    FPath = NextPath();
    if (FPath.empty())
        return;
    std::string Error;
    if (!FWriter.Open(FPath, CaptureReplayHeader(Game), Error))
    {
        std::fprintf(stderr, "velomarch: this run is not recorded: %s\n", Error.c_str());
        Game.Notices.Post("Your run is not recorded", Error + ".");
    }
}

void TRunRecorder::AfterCall(TGame& Game)
{
    if (FWriter.IsOpen() && !FHeld && !IsRunPage(Game.State.ScreenState))
        End(Game, true);
}

bool TRunRecorder::ReadSoFar(TReplay& Replay, std::string& Error)
{
    if (!FWriter.IsOpen())
    {
        Error = "this run is not recorded";
        return false;
    }
    if (!FWriter.Flush())
    {
        Error = "its recording is not whole: " + FWriter.Error();
        return false;
    }
    if (!ReadReplayFile(FWriter.PartPath(), Replay, Error))
        return false;
    // A frame short would put the run back somewhere else.
    if (Replay.Frames != FWriter.Frames())
    {
        Error = "its recording reads back short";
        return false;
    }
    return true;
}

void TRunRecorder::Stop(TGame& Game)
{
    if (FWriter.IsOpen())
        End(Game, false);
}

void TRunRecorder::End(TGame& Game, bool Finished)
{
    TReplayEnd EndRecord;
    EndRecord.Frames = FWriter.Frames();
    EndRecord.Score = Game.State.Score;
    EndRecord.Lives = Game.State.Lives;
    EndRecord.RaceNumber = Game.State.RaceNumber;
    EndRecord.ScreenState = Game.State.ScreenState;
    EndRecord.PlayerName = Game.State.PlayerName;
    std::string Error;
    const bool Written = FWriter.Finish(Finished ? &EndRecord : nullptr, Error);
    if (!Written)
    {
        std::fprintf(stderr, "velomarch: the run's recording is not complete: %s\n", Error.c_str());
        Game.Notices.Post("Your run's recording is not complete", Error + ".");
    }
    if (OnFinished)
        OnFinished(Written ? FPath : FPath + ".part", Finished && Written ? &EndRecord : nullptr);
    // A whole run's recording follows its score online, when that was stored.
    if (Finished && Written)
        Game.Scores->RunRecorded(FPath, EndRecord);
}

} // namespace vm
