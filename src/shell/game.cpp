// The game object: components, window events, start-up of the engine parts.
#include "shell/game.h"

#include "engine/clock.h"
#include "engine/message_box.h"
#include "engine/sound_player.h"

namespace vm {

TGame::TGame(const TGamePlatform& Platform)
    : Sound(Platform.Sound), Messages(Platform.Messages), Clock(Platform.Clock),
      Screen(Platform.Render, Platform.Messages), MenuImageList(&Screen), GameImageList(&Screen),
      SpriteEngine(&Platform.Messages), FrameTimer(Platform.Clock), RaceTimer(Platform.Clock, 10),
      FDataDir(Platform.DataDir)
{
    Screen.Width = 800;
    Screen.Height = 600;
    Screen.CenterX = 400;
    Screen.CenterY = 300;
    Screen.ShowMouseCursor = false;
    FrameTimer.SetTargetFPS(90);
    FrameTimer.SetMinFPS(10);
    FrameTimer.SetMaxFPS(120);
    FrameTimer.SetFPSWarningFrames(10);
    FrameTimer.OnTimer = [this] { FrameTimerTick(); };
    RaceTimer.OnTimer = [this] { RaceTimerTimer(); };
}

TGame::~TGame() = default;

std::string TGame::DataPath(const std::string& Relative) const
{
    if (FDataDir.empty())
        return Relative;
    return FDataDir + "/" + Relative;
}

void TGame::FormCreate(std::uint64_t Seed)
{
    Rng.SetSeed(Seed);
    State.Score = 0;
    State.KeyReleased.fill(0);
    MenuImageList.LoadFromFile(DataPath("Data/data1.vil"), &Messages);
    Screen.Initialize();
    Screen.SetLinearFilter(true);
}

void TGame::FormShow()
{
    FrameTimer.SetEnabled(true);
    Sound.PlayMod("menumusic");
    if (!State.MusicOn)
        Sound.StopMod("menumusic");
    EnterState(ssLogo);
}

bool TGame::FormCloseQuery() const
{
    // Until the menus offer the way out through the exit question, a close request is accepted
    // in every screen.
    return true;
}

void TGame::FormDestroy()
{
    RaceTimer.SetEnabled(false);
    FrameTimer.SetEnabled(false);
}

void TGame::FormKeyDown(int Key)
{
    if (Key >= 0 && Key <= 255)
        State.KeyHeld[Key] = 1;
}

void TGame::FormKeyUp(int Key)
{
    if (Key < 0 || Key > 255)
        return;
    State.KeyHeld[Key] = 0;
    State.KeyReleased[Key] = 1;
}

void TGame::MouseMove(int X, int Y)
{
    State.MouseX = X;
    State.MouseY = Y;
}

void TGame::MouseButton(bool Down, int X, int Y)
{
    MouseMove(X, Y);
    State.MouseDown = Down;
}

void TGame::TextInput(const std::string& Utf8)
{
    // Kept short: a screen without a text field never takes it.
    if (State.TypedText.size() < 256)
        State.TypedText += Utf8;
}

void TGame::FrameTimerTick()
{
    if (State.MusicOn)
        Sound.UpdateMusic();
    StateFrame(State.ScreenState);
}

void TGame::DeviceReset() { Screen.Reset(); }

void TGame::DrawEmptyFrame()
{
    Screen.Clear(0, 0, 0, 0);
    if (!Screen.BeginScene())
        return;
    SpriteEngine.Draw();
    Screen.EndScene();
}

} // namespace vm
