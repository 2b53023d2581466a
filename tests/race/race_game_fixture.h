// A whole game on the null renderer with the real generated data, for tests of the race screens:
// a run starts as the car page starts it, frames run on a manual clock.
#pragma once

#include "engine/clock.h"
#include "engine/fake_text_rasterizer.h"
#include "engine/game_constants.h"
#include "engine/gui_component.h"
#include "engine/gui_list.h"
#include "pages/page_rows.h"
#include "race/health_bar.h"
#include "race/run_start.h"
#include "shell/cursor.h"
#include "shell/game.h"
#include "support/game_input.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"
#include "world/enemy_car.h"
#include "world/player.h"

#include <gtest/gtest.h>

#include <string>

namespace vm::test {

class RaceGameTest : public ::testing::Test
{
protected:
    RaceGameTest() : Game(TGamePlatform{Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text}, GamePages()) {}

    // Start-up, then a run with car 0 as the car page starts it; Opponents overrides the run's count.
    void StartRun(int Opponents = 3, std::uint64_t Seed = 5)
    {
        Game.FormCreate(Seed);
        Game.FormShow();
        Game.LeaveState(ssLogo);
        Game.State.ScreenState = ssChooseCar;
        Game.Catalogues.FCarIndex = 0;
        vm::StartRun(Game);
        if (Game.Difficulty.FOpponentCount != Opponents)
        {
            // The run's count differs: build the race again with the wanted count.
            Game.LeaveState(ssRace);
            Game.Difficulty.FOpponentCount = Opponents;
            Game.EnterState(ssRace);
        }
    }

    void RunFrames(int Count) { RunGameFrames(Game, Clock, Count); }
    // Runs frames until the start lights have turned green.
    void RunToGreen() { RunFrames(251 - Game.State.StateTicks); }

    // A key pressed and let go between two frames.
    void Tap(int Key) { TapKey(Game, Key); }

    // The first widget of the page whose name is Name, or null.
    TGuiComponent* Button(const std::string& Name) { return FindButton(Game, Name); }
    // A click on the middle of Widget, press and release on one spot.
    void Click(const TGuiComponent* Widget) { ClickWidget(Game, Clock, Widget); }

    // How often the effect Name was started.
    long Plays(const std::string& Name) { return EffectPlays(Game, Sound, Name); }

    TPlayer& Player() { return *Game.World.FPlayer; }
    int StateId() const { return Game.State.ScreenState; }

    TNullRenderDevice Device;
    TManualClock Clock{1000 * FrameRate}; // 1000 ticks a frame
    TRecordingAudioDevice Sound;
    TMessageRecorder Messages;
    TFakeTextRasterizer Text;
    TGame Game;
};

} // namespace vm::test
