// The recording's player: the run's start put back, then the recorded calls in their order.
#include "race/replay_player.h"

#include "common/build_info.h"
#include "race/run_start.h"
#include "shell/game.h"

#include <algorithm>

namespace vm {

namespace {

bool IsKey(int Key) { return Key >= 0 && Key <= 255; }
bool IsPadControl(int Control) { return Control >= 0 && Control < PadControlCount; }

// The header's values the game indexes with are in range (a file can be made by hand).
bool UsableStart(const TReplayHeader& H)
{
    if (H.Bindings.size() != ActionCount || H.PadHeld.size() != ActionCount ||
        H.PadReleased.size() != ActionCount || H.Tracks.size() > kTrackSlots ||
        H.CarsAvailable.size() > kCarCount || H.UnlockIncrements.size() > kUnlockSteps)
        return false;
    for (const TReplayBinding& Binding : H.Bindings)
        if (!std::all_of(Binding.Keys.begin(), Binding.Keys.end(), IsKey) ||
            !std::all_of(Binding.Pad.begin(), Binding.Pad.end(), IsPadControl))
            return false;
    return std::all_of(H.KeysHeld.begin(), H.KeysHeld.end(), IsKey) &&
           std::all_of(H.KeysReleased.begin(), H.KeysReleased.end(), IsKey);
}

void RestoreStart(TGame& Game, const TReplayHeader& H)
{
    TCatalogues& C = Game.Catalogues;
    C.FCarMax = std::clamp(H.CarMax, 0, kCarCount - 1);
    C.FTrackMax = std::clamp(H.TrackMax, 0, kTrackSlots - 1);
    C.FCarIndex = H.CarIndex;
    C.FTrackIndex = H.TrackIndex;
    C.FTracksOpen = H.TracksOpen;
    C.FCarsOpen = H.CarsOpen;
    C.NextUnlockScore = H.NextUnlockScore;
    C.FUnlockStep = H.UnlockStep;
    std::copy(H.UnlockIncrements.begin(), H.UnlockIncrements.end(), C.FUnlockIncrements.begin());
    for (std::size_t I = 0; I < H.Tracks.size(); ++I)
    {
        TTrackInfo& Track = C.FTracks[I];
        Track.Available = H.Tracks[I].Available;
        Track.BestMinutes = H.Tracks[I].BestMinutes;
        Track.BestSeconds = H.Tracks[I].BestSeconds;
        Track.BestHundredths = H.Tracks[I].BestHundredths;
    }
    for (std::size_t I = 0; I < H.CarsAvailable.size(); ++I)
        C.FCars[I].Available = H.CarsAvailable[I];
    // What the file brings is brought into range as the progress file's values are.
    C.SanitizeProgress();

    TGameState& S = Game.State;
    S.SoundOn = H.SoundOn;
    S.MusicOn = H.MusicOn;
    S.VolumeLevel = H.VolumeLevel;
    S.PlayerName = H.PlayerName;
    S.OnlineName = H.OnlineName;
    for (int Action = 0; Action < ActionCount; ++Action)
    {
        const TReplayBinding& Binding = H.Bindings[static_cast<std::size_t>(Action)];
        S.Controls.SetKeys(Action, {Binding.Keys.begin(), Binding.Keys.end()});
        S.Controls.SetPad(Action, {Binding.Pad.begin(), Binding.Pad.end()});
    }
    S.Controls.Rumble = H.Rumble;
    S.KeyHeld.fill(0);
    S.KeyReleased.fill(0);
    for (std::int32_t Key : H.KeysHeld)
        S.KeyHeld[static_cast<std::size_t>(Key)] = 1;
    for (std::int32_t Key : H.KeysReleased)
        S.KeyReleased[static_cast<std::size_t>(Key)] = 1;
    std::copy(H.PadHeld.begin(), H.PadHeld.end(), S.PadHeld.begin());
    std::copy(H.PadReleased.begin(), H.PadReleased.end(), S.PadReleased.begin());
    S.MouseX = H.MouseX;
    S.MouseY = H.MouseY;
    S.MouseDown = H.MouseDown;
    S.LastInputPad = H.LastInputPad;
    S.PadPressed = H.PadPressed;
    S.TypedText = H.TypedText;
    S.StateTicks = H.StateTicks;
    S.PhaseTicks = H.PhaseTicks;
    S.CaretTicks = H.CaretTicks;
    Game.RestorePads(H.Pads);
    Game.ApplyVolumeLevel();
    Game.Rng.SetSeed(H.RngState);
}

} // namespace

TReplayPlayer::TReplayPlayer(TGame& Game, const TReplay& Replay) : FGame(Game), FReplay(Replay) {}

TReplayPlayer::~TReplayPlayer()
{
    if (FStarted)
        FGame.SetPlayback(false);
}

bool TReplayPlayer::CanPlay(const TReplay& Replay, std::string& Error)
{
    if (Replay.Header.GameVersion != BuildVersion)
    {
        Error = "this run was recorded with Velomarch " + Replay.Header.GameVersion + "; Velomarch " +
                BuildVersion + " plays only the runs of its own version";
        return false;
    }
    if (!UsableStart(Replay.Header))
    {
        Error = "the recording's start holds values this game cannot use";
        return false;
    }
    return true;
}

bool TReplayPlayer::Start(std::string& Error)
{
    if (FStarted)
    {
        Error = "the recording is already playing";
        return false;
    }
    if (!CanPlay(FReplay, Error))
        return false;
    FStarted = true;
    FGame.SetPlayback(true);
    // A run that is up is left as quitting it does, the race under its page too; then as the car
    // page's start, whose page is what StartRun leaves.
    const int Current = FGame.State.ScreenState;
    FGame.LeaveState(Current);
    if (IsRunPage(Current) && Current != ssRace)
        FGame.LeaveState(ssRace);
    RestoreStart(FGame, FReplay.Header);
    FGame.State.ScreenState = ssChooseCar;
    StartRun(FGame);
    return true;
}

void TReplayPlayer::Apply(const TReplayEvent& Event)
{
    TGame& G = FGame;
    switch (Event.Kind)
    {
    case TReplayEventKind::KeyDown: G.FormKeyDown(Event.A); break;
    case TReplayEventKind::KeyUp: G.FormKeyUp(Event.A); break;
    case TReplayEventKind::MouseMove: G.MouseMove(Event.A, Event.B); break;
    case TReplayEventKind::MouseButton: G.MouseButton(Event.C != 0, Event.A, Event.B); break;
    case TReplayEventKind::Text:
        if (Event.A >= 0 && static_cast<std::size_t>(Event.A) < FReplay.Texts.size())
            G.TextInput(FReplay.Texts[static_cast<std::size_t>(Event.A)]);
        break;
    case TReplayEventKind::PadAdded: G.PadAdded(Event.A); break;
    case TReplayEventKind::PadRemoved: G.PadRemoved(Event.A); break;
    case TReplayEventKind::PadButton: G.PadButton(Event.A, Event.B, Event.C != 0); break;
    case TReplayEventKind::PadAxis: G.PadAxis(Event.A, Event.B, Event.C); break;
    case TReplayEventKind::Focus: G.FocusChanged(Event.A != 0); break;
    case TReplayEventKind::RaceInterval:
    case TReplayEventKind::Frame:
        if (!FClockMoved && AdvanceClock)
            AdvanceClock();
        FClockMoved = true;
        if (Event.Kind == TReplayEventKind::RaceInterval)
            G.RaceTimerTimer();
        else
        {
            G.FrameTimerTick();
            ++FFrame;
            FClockMoved = false;
        }
        break;
    }
}

bool TReplayPlayer::StepFrame()
{
    if (!FStarted || Done())
        return false;
    while (!Done())
    {
        const TReplayEvent& Event = FReplay.Events[FNext++];
        Apply(Event);
        if (Event.Kind == TReplayEventKind::Frame)
            break;
    }
    return true;
}

void TReplayPlayer::PlayToEnd()
{
    while (StepFrame())
    {}
}

} // namespace vm
