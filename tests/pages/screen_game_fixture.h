// A whole game on the null renderer with the real generated data, started as the program starts
// it, in a working folder of its own (so the settings files the pages write stay in the test).
#pragma once

#include "engine/clock.h"
#include "engine/fake_text_rasterizer.h"
#include "engine/game_constants.h"
#include "engine/gui_component.h"
#include "engine/gui_list.h"
#include "pages/page_rows.h"
#include "shell/cursor.h"
#include "shell/game.h"
#include "support/game_input.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vm::test {

// Changes the working folder for the test's lifetime.
class TWorkingFolder
{
public:
    explicit TWorkingFolder(const std::filesystem::path& Folder) : FOld(std::filesystem::current_path())
    {
        std::filesystem::current_path(Folder);
    }
    ~TWorkingFolder() { std::filesystem::current_path(FOld); }
    TWorkingFolder(const TWorkingFolder&) = delete;
    TWorkingFolder& operator=(const TWorkingFolder&) = delete;

private:
    std::filesystem::path FOld;
};

class ScreenGameTest : public ::testing::Test
{
protected:
    ScreenGameTest()
        : Folder(Work.Path()),
          Game(TGamePlatform{Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text}, GamePages())
    {}

    // Start-up as the program does it (files of the working folder read), the logo shown.
    void StartUp(std::uint64_t Seed = 3)
    {
        Game.FormCreate(Seed);
        Game.FormShow();
    }
    // Start-up, then straight to screen Which (leaving the logo unseen).
    void StartAt(int Which)
    {
        StartUp();
        Game.LeaveState(ssLogo);
        Game.EnterState(Which);
    }

    void RunFrames(int Count) { RunGameFrames(Game, Clock, Count); }
    // A key pressed and let go between two frames.
    void Tap(int Key) { TapKey(Game, Key); }
    // The first widget of the page whose name (its image key) is Name, or null.
    TGuiComponent* Button(const std::string& Name) { return FindButton(Game, Name); }
    // A click on the middle of Widget: press and release on one spot.
    void Click(const TGuiComponent* Widget) { ClickWidget(Game, Clock, Widget); }
    // How often the effect Name was started.
    long Plays(const std::string& Name) { return EffectPlays(Game, Sound, Name); }
    int StateId() const { return Game.State.ScreenState; }

    TTempDir Work;
    TWorkingFolder Folder;
    TNullRenderDevice Device;
    TManualClock Clock{1000 * FrameRate}; // 1000 ticks a frame
    TRecordingAudioDevice Sound;
    TMessageRecorder Messages;
    TFakeTextRasterizer Text;
    TGame Game;
};

} // namespace vm::test
