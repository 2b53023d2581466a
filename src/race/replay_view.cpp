// The window's playback of a recording: its keys, its speeds, its panel and the way back.
#include "race/replay_view.h"

#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/system_font.h"
#include "persist/replay_reader.h"
#include "race/replay_player.h"
#include "shell/game.h"
#include "shell/run_recorder.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace vm {

namespace {

// The panel picture lies at (250, 534), 300 x 58; the progress bar runs along its foot.
constexpr int PanelX = 250, PanelY = 534;
constexpr int BarX = 262, BarY = PanelY + 38, BarWidth = 276;
constexpr int MaxSpeed = 4;

// What the playback overwrites, as it was when the watching began.
struct TRealGame
{
    TGameState State;
    TCatalogues Catalogues;
    TRunDifficulty Difficulty;
    TRaceSession Race;
    std::uint64_t Rng = 0;
    std::vector<TReplayPad> Pads;
    bool RaceClockOn = false;
};

class TReplayView : public IPlaybackView
{
public:
    // FromRun: the recording is of the run that is up, whose recorder is held while watching.
    TReplayView(TGame& Game, TReplay Replay, bool FromRun)
        : FGame(Game), FFromRun(FromRun), FReplay(std::make_unique<TReplay>(std::move(Replay))),
          FPlayer(std::make_unique<TReplayPlayer>(Game, *FReplay)), FFont(&Game.Screen, Game.TextRasterizer)
    {
        FReal.State = Game.State;
        FReal.Catalogues = Game.Catalogues;
        FReal.Difficulty = Game.Difficulty;
        FReal.Race = Game.Race;
        FReal.Rng = Game.Rng.State();
        FReal.Pads = Game.PadsForReplay();
        FReal.RaceClockOn = Game.RaceTimer.Enabled();
        FFont.SetLook("Micra", 9, 1, 236, 240, 246);
    }

    bool Start(std::string& Error) { return FPlayer->Start(Error); }

    bool KeyDown(int Key) override
    {
        switch (Key)
        {
        case vkUp:
        case vkAdd: SetSpeed(std::min(FSpeed * 2, MaxSpeed)); break;
        case vkDown:
        case vkSubtract: SetSpeed(std::max(FSpeed / 2, 1)); break;
        case vkReturn:
        case vkSpace:
        case 'P':
            FPaused = !FPaused;
            // The frame that shows the pause on the panel is played before the playback holds.
            FShowFrame = FPaused;
            break;
        case vkRight:
            FPaused = true;
            FShowFrame = true;
            break;
        default: break;
        }
        return true;
    }

    bool KeyUp(int Key) override
    {
        if (Key != vkEscape)
            return true;
        Finish();
        return false;
    }

    bool Tick() override
    {
        int Frames = FPaused ? 0 : FSpeed;
        if (FShowFrame)
            Frames = 1;
        FShowFrame = false;
        FGame.Feed([this, Frames] {
            for (int I = 0; I < Frames; ++I)
            {
                // Only the tick's last frame (or the recording's) is shown: the window would draw
                // the others over unseen, and drawing is most of a frame's time.
                FGame.Screen.SetHidden(I + 1 < Frames && FPlayer->Frame() + 1 < FPlayer->FrameCount());
                if (!FPlayer->StepFrame())
                    break;
            }
            FGame.Screen.SetHidden(false);
        });
        return true;
    }

    void DrawOverlay() override
    {
        const TImageListItem* Panel = FGame.MenuImageList.Find("replay_panel");
        const TImageListItem* Bar = FGame.MenuImageList.Find("bar");
        FGame.Screen.SetBlendMode(0);
        if (Panel != nullptr)
            DrawPattern(*Panel, PanelX, PanelY, 0);
        const TWatchInfo Info = Watching();
        const std::string Speed = Info.Paused ? "Paused" : "x" + std::to_string(Info.Speed);
        FFont.TextOut(BarX + BarWidth - FFont.TextWidth(Speed), PanelY + 16, Speed);
        const std::string Frame = std::to_string(Info.Frame) + " / " + std::to_string(Info.Frames);
        FFont.TextOut(400 - FFont.TextWidth(Frame) / 2, PanelY + 16, Frame);
        if (Bar != nullptr && Info.Frames > 0 && Info.Frame > 0)
        {
            const float Part =
                static_cast<float>(std::min(Info.Frame, Info.Frames)) / static_cast<float>(Info.Frames);
            const float Scale = Part * BarWidth / static_cast<float>(std::max(Bar->TileWidth(), 1));
            DrawImage(*Bar, BarX, BarY, 0, 0, 0, Scale,
                      8.0f / static_cast<float>(std::max(Bar->TileHeight(), 1)), 255, 255, 255, 255, false, 0,
                      0);
        }
    }

    TWatchInfo Watching() const { return {FSpeed, FPaused, FPlayer->Frame(), FPlayer->FrameCount()}; }

private:
    void SetSpeed(int Speed)
    {
        FSpeed = Speed;
        FPaused = false;
    }

    // Leaves the recording's pages, ends the playback and puts the real game back on its page.
    void Finish()
    {
        TGame& G = FGame;
        if (FFromRun)
        {
            FinishRun();
            return;
        }
        const int Shown = G.State.ScreenState;
        G.LeaveState(Shown);
        if (IsRunPage(Shown) && Shown != ssRace)
            G.LeaveState(ssRace);
        for (const char* Music : {"gamemusic", "losemusic", "menumusic"})
            G.Sound3D.StopMod(Music);
        FPlayer.reset(); // playback off: files and scores are the player's again
        // The menu lights draw their start from the random numbers, which are put back after.
        if (G.Pages.Parts.FMenuLights[0] == nullptr)
            G.CreateMenuLights();
        G.State = FReal.State;
        G.Catalogues = FReal.Catalogues;
        G.Difficulty = FReal.Difficulty;
        G.Race = FReal.Race;
        G.Rng.SetSeed(FReal.Rng);
        G.RestorePads(FReal.Pads);
        G.ApplyVolumeLevel();
        G.RaceTimer.SetEnabled(FReal.RaceClockOn);
        // Keys pressed while watching belonged to the playback.
        G.State.ClearLatches();
        G.State.KeyHeld.fill(0);
        if (G.State.MusicOn)
            G.Sound3D.PlayMod("menumusic");
        G.EnterState(FReal.State.ScreenState);
    }

    // Watching the run that is up: the rest of its recording plays unseen and unheard, which
    // leaves the game as it was when the player asked, and the run's recording goes on.
    void FinishRun()
    {
        TGame& G = FGame;
        G.Screen.SetHidden(true);
        G.Sound3D.SetHushed(true);
        G.Feed([this] { FPlayer->PlayToEnd(); });
        G.Sound3D.SetHushed(false);
        G.Screen.SetHidden(false);
        FPlayer.reset();
        G.Recorder.Hold(false);
    }

    TGame& FGame;
    const bool FFromRun;
    std::unique_ptr<TReplay> FReplay; // the player keeps a reference: its place must not move
    std::unique_ptr<TReplayPlayer> FPlayer;
    TRealGame FReal;
    TSystemFont FFont;
    int FSpeed = 1;
    bool FPaused = false;
    bool FShowFrame = false;
};

// The view the game watches through, when it is this kind.
TReplayView* ViewOf(const TGame& Game) { return dynamic_cast<TReplayView*>(Game.View()); }

} // namespace

namespace {

bool BeginWatching(TGame& Game, TReplay Replay, bool FromRun, std::string& Error)
{
    if (Game.Watching())
    {
        Error = "a recording is already playing";
        return false;
    }
    if (!TReplayPlayer::CanPlay(Replay, Error))
        return false;
    auto View = std::make_unique<TReplayView>(Game, std::move(Replay), FromRun);
    if (FromRun)
        Game.Recorder.Hold(true);
    if (!View->Start(Error))
    {
        Game.Recorder.Hold(false);
        return false;
    }
    Game.Watch(std::move(View));
    return true;
}

} // namespace

bool StartWatching(TGame& Game, TReplay Replay, std::string& Error)
{
    return BeginWatching(Game, std::move(Replay), false, Error);
}

bool StartWatchingRun(TGame& Game, std::string& Error)
{
    TReplay Replay;
    if (!IsRunPage(Game.State.ScreenState) || !Game.Recorder.ReadSoFar(Replay, Error))
    {
        if (Error.empty())
            Error = "no run is up";
        return false;
    }
    return BeginWatching(Game, std::move(Replay), true, Error);
}

bool StartWatchingFile(TGame& Game, const std::string& Path, std::string& Error)
{
    TReplay Replay;
    if (!ReadReplayFile(Path, Replay, Error))
        return false;
    return StartWatching(Game, std::move(Replay), Error);
}

TWatchInfo WatchInfo(const TGame& Game)
{
    const TReplayView* View = ViewOf(Game);
    return View != nullptr ? View->Watching() : TWatchInfo{};
}

} // namespace vm
