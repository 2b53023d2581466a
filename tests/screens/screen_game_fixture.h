// A whole game on the null renderer with the real generated data, started as the program starts
// it, in a working folder of its own (so the settings files the pages write stay in the test).
#pragma once

#include "engine/clock.h"
#include "engine/fake_text_rasterizer.h"
#include "engine/gui_component.h"
#include "engine/gui_list.h"
#include "screens/cursor.h"
#include "shell/game.h"
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
    ScreenGameTest() : Folder(Work.Path()), Game(TGamePlatform{Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text}) {}

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

    // One frame of game time: the race clock ticks due, then the frame.
    void RunFrames(int Count)
    {
        for (int I = 0; I < Count; ++I)
        {
            Clock.Advance(1000);
            Game.RaceTimer.Poll();
            Game.FrameTimer.Tick();
        }
    }
    // A key pressed and let go between two frames.
    void Tap(int Key)
    {
        Game.FormKeyDown(Key);
        Game.FormKeyUp(Key);
    }
    // The first widget of the page whose name (its image key) is Name, or null.
    TGuiComponent* Button(const std::string& Name)
    {
        for (int I = 0; Game.FGuiList != nullptr && I < Game.FGuiList->Count(); ++I)
            if (Game.FGuiList->Widget(I)->Name == Name)
                return Game.FGuiList->Widget(I);
        return nullptr;
    }
    // A click on the middle of Widget: press and release on one spot.
    void Click(const TGuiComponent* Widget)
    {
        ASSERT_NE(Widget, nullptr);
        const int X = Widget->Left + Widget->Width / 2, Y = Widget->Top + Widget->Height / 2;
        Game.MouseMove(X, Y);
        Clock.Advance(2000); // past the GUI's move thinning
        Game.MouseButton(true, X, Y);
        Game.MouseButton(false, X, Y);
    }
    // How often the effect Name was started.
    long Plays(const std::string& Name)
    {
        const TSoundListItem* Item = Game.Sound3D.FindSound(Name);
        return Item == nullptr ? -1 : Sound.PlayCount("/" + std::string(Item->FileName));
    }
    int StateId() const { return Game.State.ScreenState; }

    TTempDir Work;
    TWorkingFolder Folder;
    TNullRenderDevice Device;
    TManualClock Clock{90000};
    TRecordingAudioDevice Sound;
    TMessageRecorder Messages;
    TFakeTextRasterizer Text;
    TGame Game;
};

} // namespace vm::test
