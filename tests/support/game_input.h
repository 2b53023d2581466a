// Driving a whole game object from a test: frames on a manual clock, keys, clicks on named buttons,
// and how often an effect was started. Shared by the fixtures of the race and front-end tests.
#pragma once

#include "engine/clock.h"
#include "engine/gui_component.h"
#include "engine/gui_list.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"

#include <gtest/gtest.h>

#include <string>

namespace vm::test {

// Count frames of game time: the race clock ticks due, then the frame.
inline void RunGameFrames(TGame& Game, TManualClock& Clock, int Count)
{
    for (int I = 0; I < Count; ++I)
    {
        Clock.Advance(1000); // one frame on the fixtures' clocks of 1000 * FrameRate ticks a second
        Game.RaceTimer.Poll();
        Game.FrameTimer.Tick();
    }
}

// A key pressed and let go between two frames.
inline void TapKey(TGame& Game, int Key)
{
    Game.FormKeyDown(Key);
    Game.FormKeyUp(Key);
}

// The first widget of the current page whose name (its image key) is Name, or null.
inline TGuiComponent* FindButton(const TGame& Game, const std::string& Name)
{
    for (int I = 0; Game.Pages.Parts.FGuiList != nullptr && I < Game.Pages.Parts.FGuiList->Count(); ++I)
        if (Game.Pages.Parts.FGuiList->Widget(I)->Name == Name)
            return Game.Pages.Parts.FGuiList->Widget(I);
    return nullptr;
}

// A click on the middle of Widget: press and release on one spot.
inline void ClickWidget(TGame& Game, TManualClock& Clock, const TGuiComponent* Widget)
{
    ASSERT_NE(Widget, nullptr);
    const int X = Widget->Left + Widget->Width / 2, Y = Widget->Top + Widget->Height / 2;
    Game.MouseMove(X, Y);
    Clock.Advance(2000); // past the GUI's move thinning
    Game.MouseButton(true, X, Y);
    Game.MouseButton(false, X, Y);
}

// How often the effect Name was started on Sound.
inline long EffectPlays(TGame& Game, const TRecordingAudioDevice& Sound, const std::string& Name)
{
    const TSoundListItem* Item = Game.Sound3D.FindSound(Name);
    return Item == nullptr ? -1 : Sound.PlayCount("/" + std::string(Item->FileName));
}

} // namespace vm::test
