// A whole game that sends its scores over the real libcurl client: brought to the send page on a
// hand-moved clock, then run by the real frame loop on the wall clock. For the online tests and
// the benchmark of the frames while a score is sent.
#pragma once

#include "engine/clock.h"
#include "engine/frame_loop.h"
#include "engine/game_constants.h"
#include "engine/gui_component.h"
#include "engine/gui_list.h"
#include "engine/message_box.h"
#include "pages/page_rows.h"
#include "platform/sdl/curl_http_client.h"
#include "race/run_start.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vm::test {

using TWall = std::chrono::steady_clock;

inline double SecondsSince(TWall::time_point Start)
{
    return std::chrono::duration<double>(TWall::now() - Start).count();
}

// Game time by hand until GoReal, then the wall clock going on from where it stood.
class TSwitchClock : public IClock
{
public:
    std::int64_t Now() override
    {
        if (!FReal)
            return FTicks;
        const auto Ns = std::chrono::duration_cast<std::chrono::nanoseconds>(TWall::now() - FSince).count();
        return FTicks + Ns * Frequency() / 1'000'000'000;
    }
    std::int64_t Frequency() override { return 1000 * FrameRate; }
    void Advance(std::int64_t Ticks) { FTicks += Ticks; }
    void GoReal()
    {
        FReal = true;
        FSince = TWall::now();
    }

private:
    std::int64_t FTicks = 0;
    bool FReal = false;
    TWall::time_point FSince;
};

// Remembers what the game told the player.
class TToldMessages : public IMessageBox
{
public:
    void Show(const std::string& Text, const std::string&) override { Texts.push_back(Text); }
    std::vector<std::string> Texts;
};

// The game's scores go to Url over the real client, TotalMs its time-out per request. Render and
// Text are not owned and must outlive the rig.
class TSendRig
{
public:
    TSendRig(IRenderDevice& Render, ITextRasterizer* Text, const std::string& Url, long TotalMs)
        : Http(1000, TotalMs),
          Game(std::make_unique<TGame>(
              TGamePlatform{Render, Clock, Sound, Messages, VM_ASSET_DIR, Text, &Http, nullptr, Url},
              GamePages()))
    {}

    // A run with car 0 whose clock runs out; Name's score Score is then on the send page, and the
    // result is true.
    bool ReachSendPage(const std::string& Name, int Score)
    {
        Game->FormCreate(5);
        Game->FormShow();
        Game->LeaveState(ssLogo);
        Game->State.ScreenState = ssChooseCar;
        Game->Catalogues.FCarIndex = 0;
        StartRun(*Game);
        Frames(260);
        Game->State.TimeMinutes = 0;
        Game->State.TimeSeconds = 1;
        Game->State.PlayerName = Name;
        Game->State.Score = Score;
        for (int Frame = 0; Frame < 500 && Game->State.ScreenState != ssYourScore; ++Frame)
            Frames(1);
        Frames(201);
        return Click("bro_next") && Game->State.ScreenState == ssSendScore;
    }

    // Frames on the hand-moved clock.
    void Frames(int Count)
    {
        for (int I = 0; I < Count; ++I)
        {
            Clock.Advance(1000);
            Game->RaceTimer.Poll();
            Game->FrameTimer.Tick();
        }
    }
    // The page's widget named Name, or null.
    TGuiComponent* Widget(const std::string& Name) const
    {
        TGuiList* List = Game->Pages.Parts.FGuiList;
        for (int I = 0; List != nullptr && I < List->Count(); ++I)
            if (List->Widget(I)->Name == Name)
                return List->Widget(I);
        return nullptr;
    }
    // Presses and lets go the mouse on the middle of the button Name, on the hand-moved clock;
    // false when the page has no such button.
    bool Click(const std::string& Name)
    {
        const TGuiComponent* Button = Widget(Name);
        if (Button == nullptr)
            return false;
        const int X = Button->Left + Button->Width / 2, Y = Button->Top + Button->Height / 2;
        Game->MouseMove(X, Y);
        Clock.Advance(2000); // past the GUI's move thinning
        Game->MouseButton(true, X, Y);
        Game->MouseButton(false, X, Y);
        return true;
    }

    // From now on the game runs as in the window: the real loop on the wall clock; each frame's
    // start is kept.
    void GoReal()
    {
        Clock.GoReal();
        Loop = std::make_unique<TFrameLoop>(Clock, Game->FrameTimer, Game->RaceTimer, Sleeper);
        auto Frame = Game->FrameTimer.OnTimer;
        Game->FrameTimer.OnTimer = [this, Frame] {
            FrameStarts.push_back(TWall::now());
            Frame();
        };
    }
    // Runs the loop until Done or Seconds have passed; the seconds it ran.
    double RunUntil(const std::function<bool()>& Done, double Seconds)
    {
        const auto Start = TWall::now();
        while (!Done() && SecondsSince(Start) < Seconds)
            Loop->Pass();
        return SecondsSince(Start);
    }
    double RunFor(double Seconds)
    {
        return RunUntil([] { return false; }, Seconds);
    }
    // Runs the loop while the send page is up, for at most Seconds.
    double RunWhileSending(double Seconds)
    {
        return RunUntil([this] { return Game->State.ScreenState != ssSendScore; }, Seconds);
    }

    TSwitchClock Clock;
    TRecordingAudioDevice Sound;
    TToldMessages Messages;
    TCurlHttpClient Http;
    std::unique_ptr<TGame> Game;
    TThreadSleeper Sleeper;
    std::unique_ptr<TFrameLoop> Loop;
    std::vector<TWall::time_point> FrameStarts;
};

} // namespace vm::test
