// The run pages' Replay button: asked on a click, started on the frame after the keys are up.
#include "race/run_replay_button.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_list.h"
#include "engine/virtual_keys.h"
#include "race/replay_view.h"
#include "shell/game.h"

namespace vm {

TGuiButton* AddReplayButton(TGame& Game, int X, int Y)
{
    Game.Race.FReplayAsked = false;
    if (!Game.Recorder.Recording() && !Game.Playback())
        return nullptr;
    TGuiButton* Replay = Game.Pages.Parts.FGuiList->CreateButton(Game.GameImageList.Find("bro_replay"), X, Y,
                                                                 [&Game](TGuiComponent*, int) {
                                                                     Game.PlaySoundIfOn("check");
                                                                     Game.Race.FReplayAsked = true;
                                                                 });
    Replay->Visible = false;
    return Replay;
}

bool WatchIfAsked(TGame& Game)
{
    const TGameState& State = Game.State;
    if (!Game.Race.FReplayAsked || State.KeyHeld[vkReturn] != 0 || State.KeyHeld[vkSpace] != 0 ||
        State.MouseDown)
        return false;
    Game.Race.FReplayAsked = false;
    if (Game.Playback())
        return false;
    std::string Error;
    if (StartWatchingRun(Game, Error))
        return true;
    Game.Notices.Post("This run cannot be replayed", Error + ".");
    return false;
}

} // namespace vm
