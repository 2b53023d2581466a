// The start of a run from the car page.
#include "race/run_start.h"

#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "shell/game.h"

namespace vm {

namespace {

// One frame with the menu picture "loading" while the race pictures load.
void ShowLoadingFrame(TGame& Game)
{
    Game.Screen.Clear(0, 0, 0, 0);
    if (!Game.Screen.BeginScene())
        return;
    if (const TImageListItem* Loading = Game.MenuImageList.Find("loading"))
        DrawPattern(*Loading, 0, 0, 0);
    Game.Screen.EndScene();
}

} // namespace

void StartRun(TGame& Game)
{
    // The recording holds the run from what it starts with.
    Game.Recorder.BeginRun(Game);
    // The run's first mouse move is taken however soon it follows the last, as in its playback.
    Game.Gui.ForgetLastMove();
    TGameState& State = Game.State;
    if (State.MusicOn)
    {
        Game.Sound3D.StopMod("menumusic");
        Game.Sound3D.PlayMod("gamemusic");
    }
    Game.Sound3D.PlaySound("check");
    Game.LeaveState(ssChooseCar);
    Game.FreeMenuLights();
    if (!Game.Race.FGameImagesLoaded)
    {
        ShowLoadingFrame(Game);
        Game.GameImageList.LoadFromFile(Game.DataPath("Data/data2.vil"), &Game.Messages);
        Game.GameImageList.LoadTextures();
        Game.Race.FGameImagesLoaded = true;
    }
    State.RaceNumber = 1;
    State.Lives = 3;
    Game.Difficulty.StartRun();
    State.Score = 0;
    Game.Race.FCarStyle = Game.Rng.Random(3);
    Game.EnterState(ssRace);
}

} // namespace vm
