// The game's shared values: screen state, key arrays, frame counters, run values, race clock.
#pragma once

#include "engine/virtual_keys.h"

#include <array>
#include <cstdint>
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
    // The window lost the focus during a race: the race pauses at its next frame, as with P.
    bool PauseRequested = false;
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

    // True once for a released key: the latch is cleared as it is read.
    bool TakeReleased(int Key)
    {
        std::uint8_t& Latch = KeyReleased[static_cast<std::size_t>(Key & 0xFF)];
        const bool Was = Latch != 0;
        Latch = 0;
        return Was;
    }

    void ClearLatches()
    {
        KeyReleased.fill(0);
        PauseRequested = false;
    }
    void ClearKeys()
    {
        KeyReleased.fill(0);
        KeyHeld.fill(0);
        PauseRequested = false;
    }
};

} // namespace vm
