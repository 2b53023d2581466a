// Time's up and game over: the run is over; 200 frames over the frozen race, then the score.
#include "race/race_screens.h"
#include "race/race_texts.h"
#include "shell/game.h"
#include "world/player.h"

namespace vm {

namespace {

constexpr int RunEndFrames = 200;

void EnterRunEnd(TGame& Game, int Which, const char* PageKey)
{
    TGameState& State = Game.State;
    State.ClearLatches();
    while (!State.PlayerName.empty() && State.PlayerName.back() == '%')
        State.PlayerName.pop_back();
    State.ScreenState = static_cast<std::uint8_t>(Which);
    Game.RaceTimer.SetEnabled(false);
    State.CaretTicks = 0;
    State.StateTicks = 0;
    ShowOverlay(Game, "yourscoreis", PageKey, 160, 159);
    Game.SpriteEngine.Move(0.0f);
}

} // namespace

void EnterTimesUp(TGame& Game)
{
    Game.State.ClearLatches();
    Game.Sound3D.PlaySound("timesup");
    EnterRunEnd(Game, ssTimesUp, "scr_timesup");
    if (Game.World.FPlayer != nullptr)
        Game.World.FPlayer->Visible = true;
}

void EnterGameOver(TGame& Game) { EnterRunEnd(Game, ssGameOver, "scr_gameover"); }

void RunEndFrame(TGame& Game)
{
    TGameState& State = Game.State;
    const int Which = State.ScreenState;
    if (State.StateTicks < RunEndFrames)
        ++State.StateTicks;
    if (State.StateTicks == RunEndFrames)
    {
        Game.ChangeState(Which, ssYourScore);
        return;
    }
    if (BeginFrozenFrame(Game))
    {
        if (Which == ssTimesUp)
            DrawRaceTexts(Game);
        EndOverlayFrame(Game);
    }
}

void LeaveRunEnd(TGame& Game) { FreeOverlay(Game); }

void EnterGameComplete(TGame& Game)
{
    Game.State.ClearLatches();
    Game.State.ScreenState = ssGameComplete;
    Game.State.StateTicks = 0;
    ShowOverlay(Game, "gamecompl", "gamecompl", 160, 159);
}

void GameCompleteFrame(TGame& Game)
{
    constexpr int GameCompleteFrames = 550;
    if (++Game.State.StateTicks >= GameCompleteFrames)
    {
        FreeOverlay(Game);
        Game.EnterState(ssGameOver);
        return;
    }
    if (BeginFrozenFrame(Game))
        EndOverlayFrame(Game);
}

} // namespace vm
