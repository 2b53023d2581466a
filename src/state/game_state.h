// The game's shared values: screen state, key arrays, frame counters, run values, race clock.
#pragma once

#include "engine/virtual_keys.h"
#include "state/control_bindings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace vm {

// Screen states the game uses.
enum TScreenStateId : std::uint8_t
{
    ssRaceExitQuestion = 0,
    ssAddPlayer = 1,
    ssLogo = 3,
    ssMainMenu = 4,
    ssHelp = 6,
    ssOptions = 7,
    ssHighScores = 8,
    ssClearHighScores = 9,
    ssExitQuestion = 10,
    ssRace = 12,
    ssGameOver = 13,
    ssChooseTrack = 14,
    ssChooseCar = 15,
    ssRaceOver = 16,
    ssGameComplete = 19,
    ssPause = 20,
    ssAddProfile = 21,
    ssChooseProfile = 22,
    ssDeleteProfile = 23,
    ssTimesUp = 24,
    ssYourScore = 25,
    ssSendScore = 26,
    ssWrecked = 27,
    ssExit = 28,
    ssControls = 29,
    ssReplays = 30,
};

// The options page's effects volume steps: 0..MaxVolumeLevel.
inline constexpr std::int32_t MaxVolumeLevel = 5;

struct TGameState
{
    std::uint8_t ScreenState = ssLogo;
    // Held keys: 1 while down. Released keys: latched to 1 on release, cleared by the reader.
    std::array<std::uint8_t, 256> KeyHeld{};
    std::array<std::uint8_t, 256> KeyReleased{};
    std::int32_t StateTicks = 0;
    std::int32_t PhaseTicks = 0;
    std::int32_t CaretTicks = 0;

    // Mouse position in picture coordinates and the left button.
    std::int32_t MouseX = 0;
    std::int32_t MouseY = 0;
    bool MouseDown = false;
    // The window lost the focus or a pad went away during a race: the race pauses at its next
    // frame, as with P.
    bool PauseRequested = false;
    // The race's actions and what the pads add to them: an action is held while a key or a pad
    // control bound to it is held, and released (latched until read) when one is let go. The
    // pads' part is kept here by the game; the keys' part is KeyHeld and KeyReleased.
    TControlBindings Controls;
    std::array<std::uint8_t, ActionCount> PadHeld{};
    std::array<std::uint8_t, ActionCount> PadReleased{};
    // The last key, button or stick move came from a pad (pages then offer the letter grid and
    // show pad buttons).
    bool LastInputPad = false;
    // The pad control pressed last (a TPadButton or TPadControl number), latched until a page
    // that binds controls takes it; -1 for none.
    int PadPressed = -1;
    // Text typed since the screen that reads it last took it.
    std::string TypedText;

    bool SoundOn = true;
    bool MusicOn = true;
    // Options: full screen as chosen and as applied to the window, the effects' volume step
    // (0..5), and the name sent with online scores (at most 12 characters).
    bool FullScreenOn = true;
    bool FullScreenApplied = true;
    std::int32_t VolumeLevel = 0;
    std::string OnlineName;

    std::int32_t Score = 0;
    std::int32_t Lives = 0;
    std::int32_t RaceNumber = 1;
    std::string PlayerName;

    // Race clock, counted down by the 10 ms race timer.
    std::int32_t TimeMinutes = 0;
    std::int32_t TimeSeconds = 0;
    std::int32_t TimeHundredths = 0;

    // Adds Points to Score; the score stops at the largest (or smallest) value it can hold instead
    // of wrapping round. Every gain of points goes through here.
    void AddScore(std::int32_t Points)
    {
        using TLimits = std::numeric_limits<std::int32_t>;
        const std::int64_t Sum = static_cast<std::int64_t>(Score) + Points;
        Score = static_cast<std::int32_t>(std::clamp<std::int64_t>(Sum, TLimits::min(), TLimits::max()));
    }

    // True once for a released key: the latch is cleared as it is read.
    bool TakeReleased(int Key)
    {
        std::uint8_t& Latch = KeyReleased[static_cast<std::size_t>(Key & 0xFF)];
        const bool Was = Latch != 0;
        Latch = 0;
        return Was;
    }

    bool Held(int Action) const
    {
        if (PadHeld[static_cast<std::size_t>(Action)] != 0)
            return true;
        for (int Key : Controls.Of(Action).Keys)
            if (KeyHeld[static_cast<std::size_t>(Key & 0xFF)] != 0)
                return true;
        return false;
    }
    // True once for a released action: the latches of its keys and pads are cleared as they are
    // read. With LetGo, a key found released counts as up from now on, as a race's controls
    // want (a press and release within one frame is not read as still held).
    bool TakeAction(int Action, bool LetGo = false)
    {
        std::uint8_t& Pad = PadReleased[static_cast<std::size_t>(Action)];
        bool Was = Pad != 0;
        Pad = 0;
        for (int Key : Controls.Of(Action).Keys)
        {
            const auto Index = static_cast<std::size_t>(Key & 0xFF);
            if (KeyReleased[Index] == 0)
                continue;
            KeyReleased[Index] = 0;
            if (LetGo)
                KeyHeld[Index] = 0;
            Was = true;
        }
        return Was;
    }

    void ClearLatches()
    {
        KeyReleased.fill(0);
        PadReleased.fill(0);
        PauseRequested = false;
    }
    void ClearKeys()
    {
        ClearLatches();
        KeyHeld.fill(0);
        PadHeld.fill(0);
    }
};

} // namespace vm
