// The game's input: keys, mouse and typed text from the window, and the game controllers.
#include "engine/pad_input.h"
#include "engine/pad_rumble.h"
#include "shell/game.h"

namespace vm {

namespace {

// The key a pad control stands for on a page (0: none).
int PageKeyOf(int Control)
{
    switch (Control)
    {
    case pbDPadUp:
    case pcStickUp: return vkUp;
    case pbDPadDown:
    case pcStickDown: return vkDown;
    case pbDPadLeft:
    case pcStickLeft: return vkLeft;
    case pbDPadRight:
    case pcStickRight: return vkRight;
    case pbA:
    case pbStart: return vkReturn;
    case pbB:
    case pbBack: return vkEscape;
    case pbX: return vkBack;
    default: return 0;
    }
}

// Whether an axis value holds a direction, with the gap between switching on and off.
bool PastThreshold(bool WasHeld, int Value, int On, int Off) { return WasHeld ? Value > Off : Value >= On; }

} // namespace

void TGame::KeyDown(int Key, bool FromPad)
{
    State.LastInputPad = FromPad;
    if (Key >= 0 && Key <= 255)
        State.KeyHeld[Key] = 1;
    // A key the GUI took (a focused button's Enter, an arrow that moved the focus) is the GUI's
    // alone: its release is not latched for the page (see KeyUp).
    Gui.KeyDown(Key);
}

void TGame::KeyUp(int Key)
{
    if (Key < 0 || Key > 255)
        return;
    State.KeyHeld[Key] = 0;
    if (!Gui.KeyUp(Key))
        State.KeyReleased[Key] = 1;
}

void TGame::FormKeyDown(int Key)
{
    if (ToView())
    {
        ViewAnswered(FView->KeyDown(Key));
        return;
    }
    Recorder.Add({TReplayEventKind::KeyDown, 0, Key, 0, 0});
    KeyDown(Key, false);
    Recorder.AfterCall(*this);
}

void TGame::FormKeyUp(int Key)
{
    if (ToView())
    {
        ViewAnswered(FView->KeyUp(Key));
        return;
    }
    Recorder.Add({TReplayEventKind::KeyUp, 0, Key, 0, 0});
    KeyUp(Key);
    Recorder.AfterCall(*this);
}

void TGame::MouseMove(int X, int Y)
{
    if (ToView())
        return;
    Recorder.Add({TReplayEventKind::MouseMove, 0, X, Y, 0});
    MoveMouse(X, Y);
    Recorder.AfterCall(*this);
}

void TGame::MoveMouse(int X, int Y)
{
    State.MouseX = X;
    State.MouseY = Y;
    Gui.MouseMove(X, Y);
}

void TGame::MouseButton(bool Down, int X, int Y)
{
    if (ToView())
        return;
    Recorder.Add({TReplayEventKind::MouseButton, 0, X, Y, Down ? 1 : 0});
    MoveMouse(X, Y);
    State.MouseDown = Down;
    Gui.MouseButton(mbLeft, Down);
    Recorder.AfterCall(*this);
}

void TGame::TextInput(const std::string& Utf8)
{
    if (ToView())
        return;
    Recorder.Add({TReplayEventKind::Text, 0, 0, 0, 0}, Utf8);
    // Kept short: a screen without a text field never takes it.
    if (State.TypedText.size() < 256)
        State.TypedText += Utf8;
    Gui.TextInput(Utf8);
    Recorder.AfterCall(*this);
}

void TGame::PadAdded(int Pad)
{
    // The recording's pads stand in for the real ones while it is watched.
    if (ToView())
        return;
    Recorder.Add({TReplayEventKind::PadAdded, 0, Pad, 0, 0});
    if (FPads.emplace(Pad, TPadState{}).second &&
        (State.ScreenState == ssRace || State.ScreenState == ssWrecked))
        State.PauseRequested = true;
    Recorder.AfterCall(*this);
}

void TGame::PadRemoved(int Pad)
{
    if (ToView())
        return;
    Recorder.Add({TReplayEventKind::PadRemoved, 0, Pad, 0, 0});
    RemovePad(Pad);
    Recorder.AfterCall(*this);
}

void TGame::RemovePad(int Pad)
{
    const auto Found = FPads.find(Pad);
    if (Found == FPads.end())
        return;
    // Whatever it held is let go, so the car does not drive on by itself.
    for (int Control = 0; Control < PadControlCount; ++Control)
        SetPadControl(Found->second, Control, false);
    FPads.erase(Found);
    if (State.ScreenState == ssRace || State.ScreenState == ssWrecked)
        State.PauseRequested = true;
}

void TGame::PadButton(int Pad, int Button, bool Down)
{
    if (ToView())
    {
        if (const int Key = PageKeyOf(Button); Key != 0)
            ViewAnswered(Down ? FView->KeyDown(Key) : FView->KeyUp(Key));
        return;
    }
    Recorder.Add({TReplayEventKind::PadButton, 0, Pad, Button, Down ? 1 : 0});
    PressPadButton(Pad, Button, Down);
    Recorder.AfterCall(*this);
}

void TGame::PressPadButton(int Pad, int Button, bool Down)
{
    const auto Found = FPads.find(Pad);
    if (Found == FPads.end() || Button < 0 || Button >= PadButtonCount)
        return;
    if (Down)
        State.LastInputPad = true;
    SetPadControl(Found->second, Button, Down);
}

void TGame::PadAxis(int Pad, int Axis, int Value)
{
    if (ToView())
        return;
    Recorder.Add({TReplayEventKind::PadAxis, 0, Pad, Axis, Value});
    MovePadAxis(Pad, Axis, Value);
    Recorder.AfterCall(*this);
}

void TGame::MovePadAxis(int Pad, int Axis, int Value)
{
    const auto Found = FPads.find(Pad);
    if (Found == FPads.end() || Axis < 0 || Axis >= PadAxisCount)
        return;
    TPadState& S = Found->second;
    S.Axes[static_cast<std::size_t>(Axis)] = Value;
    const auto Switch = [&](int Control, int Signed, int On, int Off) {
        const bool Now = PastThreshold(S.Held[static_cast<std::size_t>(Control)], Signed, On, Off);
        if (Now && !S.Held[static_cast<std::size_t>(Control)])
            State.LastInputPad = true;
        SetPadControl(S, Control, Now);
    };
    switch (Axis)
    {
    case paLeftX:
        Switch(pcStickLeft, -Value, StickOn, StickOff);
        Switch(pcStickRight, Value, StickOn, StickOff);
        break;
    case paLeftY:
        Switch(pcStickUp, -Value, StickOn, StickOff);
        Switch(pcStickDown, Value, StickOn, StickOff);
        break;
    case paLeftTrigger: Switch(pcLeftTrigger, Value, TriggerOn, TriggerOff); break;
    case paRightTrigger: Switch(pcRightTrigger, Value, TriggerOn, TriggerOff); break;
    default: break;
    }
}

void TGame::SetPadControl(TPadState& Pad, int Control, bool Down)
{
    const auto Index = static_cast<std::size_t>(Control);
    if (Pad.Held[Index] == Down)
        return;
    Pad.Held[Index] = Down;
    if (Down)
        State.PadPressed = Control;
    const int Action = State.Controls.ActionOfPad(Control);
    if (Action >= 0)
    {
        // Held while any pad holds any control of the action.
        bool Held = false;
        for (const auto& [Id, Other] : FPads)
            for (int C : State.Controls.Of(Action).Pad)
                Held = Held || Other.Held[static_cast<std::size_t>(C)];
        State.PadHeld[static_cast<std::size_t>(Action)] = Held ? 1 : 0;
        if (!Down)
            State.PadReleased[static_cast<std::size_t>(Action)] = 1;
    }
    // On pages the pad moves and presses like the keys; in a race only the actions count. A key
    // goes up only when this control put it down, so a button held from a race into a page does
    // not press anything there.
    if (Down && State.ScreenState != ssRace)
    {
        if (const int Key = PageKeyOf(Control); Key != 0)
        {
            Pad.PageKey[Index] = Key;
            KeyDown(Key, true);
        }
    }
    else if (!Down && Pad.PageKey[Index] != 0)
    {
        const int Key = Pad.PageKey[Index];
        Pad.PageKey[Index] = 0;
        KeyUp(Key);
    }
}

std::vector<TReplayPad> TGame::PadsForReplay() const
{
    std::vector<TReplayPad> Pads;
    for (const auto& [Id, Pad] : FPads)
    {
        TReplayPad Copy;
        Copy.Pad = Id;
        Copy.Axes = Pad.Axes;
        for (int Control = 0; Control < PadControlCount; ++Control)
        {
            const auto Index = static_cast<std::size_t>(Control);
            if (Pad.Held[Index])
                Copy.Held.push_back(Control);
            if (Pad.PageKey[Index] != 0)
                Copy.PageKeys.emplace_back(Control, Pad.PageKey[Index]);
        }
        Pads.push_back(std::move(Copy));
    }
    return Pads;
}

void TGame::RestorePads(const std::vector<TReplayPad>& Pads)
{
    FPads.clear();
    for (const TReplayPad& Copy : Pads)
    {
        TPadState& Pad = FPads[Copy.Pad];
        Pad.Axes = Copy.Axes;
        for (int Control : Copy.Held)
            if (Control >= 0 && Control < PadControlCount)
                Pad.Held[static_cast<std::size_t>(Control)] = true;
        for (const auto& [Control, Key] : Copy.PageKeys)
            if (Control >= 0 && Control < PadControlCount)
                Pad.PageKey[static_cast<std::size_t>(Control)] = Key;
    }
}

void TGame::Rumble(float Strength, int Milliseconds)
{
    if (FPadRumble != nullptr && State.Controls.Rumble && !FPads.empty())
        FPadRumble->Rumble(Strength, Milliseconds);
}

} // namespace vm
