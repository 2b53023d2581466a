// A recorded run in memory: what it started from, every call the game object received, its end.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vm {

// The file's first bytes and the layout version this build reads and writes.
inline constexpr char ReplayMagic[8] = {'V', 'M', 'R', 'E', 'P', 'L', 'A', 'Y'};
inline constexpr std::uint16_t ReplayFormatVersion = 1;

// One track's progress as the run found it.
struct TReplayTrack
{
    std::uint8_t Available = 0;
    std::int32_t BestMinutes = 0, BestSeconds = 0, BestHundredths = 0;
};

// One connected game controller as the run found it: its axes, its controls held, and the page
// key each held control stands for.
struct TReplayPad
{
    std::int32_t Pad = 0;
    std::array<std::int32_t, 6> Axes{};
    std::vector<std::int32_t> Held;                              // controls held down
    std::vector<std::pair<std::int32_t, std::int32_t>> PageKeys; // control, key (non-zero only)
};

// One action's bindings.
struct TReplayBinding
{
    std::vector<std::int32_t> Keys;
    std::vector<std::int32_t> Pad;
};

// Everything the run's simulation reads that was decided before the run started.
struct TReplayHeader
{
    std::string GameVersion;  // BuildVersion of the recording build: must match to play
    std::string GameRevision; // BuildRevision: informational only
    std::uint64_t RngState = 0;
    // The catalogues: the choices and the unlock progress.
    std::int32_t CarIndex = 0, TrackIndex = 0, CarMax = 0, TrackMax = 0;
    std::int32_t TracksOpen = 0, CarsOpen = 0, NextUnlockScore = 0, UnlockStep = 0;
    std::vector<std::int32_t> UnlockIncrements;
    std::vector<TReplayTrack> Tracks;
    std::vector<std::uint8_t> CarsAvailable;
    // Options and the player.
    bool SoundOn = true, MusicOn = true;
    std::int32_t VolumeLevel = 0;
    std::string PlayerName, OnlineName;
    std::vector<TReplayBinding> Bindings; // one per action
    bool Rumble = true;
    // The input as it stood when the run started.
    std::vector<std::int32_t> KeysHeld, KeysReleased; // key numbers
    std::vector<std::uint8_t> PadHeld, PadReleased;   // one per action
    std::int32_t MouseX = 0, MouseY = 0;
    bool MouseDown = false, LastInputPad = false;
    std::int32_t PadPressed = -1;
    std::string TypedText;
    std::int32_t StateTicks = 0, PhaseTicks = 0, CaretTicks = 0;
    std::vector<TReplayPad> Pads;
};

// What the game object receives, in order. Frame and RaceInterval are its two clocks.
enum class TReplayEventKind : std::uint8_t
{
    KeyDown,      // A = key
    KeyUp,        // A = key
    MouseMove,    // A, B = x, y
    MouseButton,  // A, B = x, y; C = 1 down, 0 up
    Text,         // A = index into TReplay::Texts
    PadAdded,     // A = pad
    PadRemoved,   // A = pad
    PadButton,    // A = pad, B = button, C = 1 down, 0 up
    PadAxis,      // A = pad, B = axis, C = value
    Focus,        // A = 1 got, 0 lost
    RaceInterval, // one step of the race clock
    Frame,        // one frame
};

struct TReplayEvent
{
    TReplayEventKind Kind = TReplayEventKind::Frame;
    std::int32_t Frame = 0; // frames played before this event
    std::int32_t A = 0, B = 0, C = 0;
};

// The run's outcome, what a verifier compares with its own playback.
struct TReplayEnd
{
    std::int32_t Frames = 0;
    std::int32_t Score = 0, Lives = 0, RaceNumber = 0;
    std::int32_t ScreenState = 0; // the page the run ended on
    std::string PlayerName;
};

struct TReplay
{
    TReplayHeader Header;
    std::vector<TReplayEvent> Events;
    std::vector<std::string> Texts;
    std::int32_t Frames = 0; // frame events
    // False for a recording cut short (a crash, or stopped before its run ended): it holds the
    // run up to its last complete frame and has no End.
    bool Finished = false;
    TReplayEnd End;
};

} // namespace vm
