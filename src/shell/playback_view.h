// What watches a recording in the window: it takes the window's keys and frames in the game's place.
#pragma once

namespace vm {

// Installed on the game with TGame::Watch. While it is, the window's keys, pad buttons and frame
// ticks go to it and nothing else of the window's reaches the game (the race clock's steps, the
// mouse, typed text, pad sticks and focus changes are dropped); the view hands the game the
// recorded calls itself through TGame::Feed. Each call returns false when the watching is over:
// the game then removes the view.
class IPlaybackView
{
public:
    virtual ~IPlaybackView() = default;
    // Key numbers are virtual keys; a pad's buttons arrive as the page keys they stand for.
    virtual bool KeyDown(int Key) = 0;
    virtual bool KeyUp(int Key) = 0;
    // One tick of the window's frame timer.
    virtual bool Tick() = 0;
    // Drawn over each frame the recording's calls present.
    virtual void DrawOverlay() = 0;
};

} // namespace vm
