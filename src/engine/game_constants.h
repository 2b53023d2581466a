// The game's fixed rates and picture size, shared by the game, the platform, the tools and the tests.
#pragma once

namespace vm {

// Frames a second the frame timer aims at; every movement in the game is counted in these frames.
inline constexpr int FrameRate = 90;
// The frame timer's bounds: a longer gap between frames counts as one frame at MinFrameRate, and
// frames never come faster than MaxFrameRate.
inline constexpr int MinFrameRate = 10;
inline constexpr int MaxFrameRate = 120;
// Slow frames in a row before the frame timer raises its warning.
inline constexpr int SlowFramesWarning = 10;

// One step of the race clock, in milliseconds: the clock counts hundredths of a second.
inline constexpr int RaceStepMs = 10;

// The picture the game draws, in pixels, whatever the window's size.
inline constexpr int PictureWidth = 800;
inline constexpr int PictureHeight = 600;

} // namespace vm
